// The files under a user locale whose decimal mark is a comma: what one user
// writes every other reads, byte for byte as in the "C" locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <locale.h>
#include <sstream>

#include "data/event.h"
#include "data/event_loading.h"
#include "data/settings.h"
#include "data/station.h"
#include "data/text_scan.h"
#include "tests/data/event_files.h"
#include "tests/support/comma_locale.h"
#include "tests/support/temp_dir.h"

using namespace orvane;

namespace {

using orvane::testing::slurp;

// printf in the "C" locale for this thread only, whatever the process's.
template <typename... Args>
std::string cPrintf(const char* fmt, Args... args) {
    locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    locale_t old = uselocale(c);
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, fmt, args...);
    uselocale(old);
    freelocale(c);
    return buffer;
}

class CommaLocale : public ::testing::Test {
  protected:
    void SetUp() override {
        ORVANE_REQUIRE_COMMA_LOCALE(locale_);
        // The locale is in force: the C library itself now prints a comma.
        ASSERT_EQ(std::string(cPrintf("%.1f", 2.5)), "2.5");
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%.1f", 2.5);
        ASSERT_STREQ(buffer, "2,5");
    }

    orvane::testing::ScopedCommaLocale locale_;
    TempDir dir_;
};

TEST_F(CommaLocale, FormatPrintsWhatPrintfPrintsInTheCLocale) {
    const char* reals[] = {"%10.4f", "%10.1f", "%6.1f", "%-8.3f", "%-8.0f", "%-8.1f deg", "%-4.1f",
                           "%04.1f", "%g",     "%7.1f", "%e",     "%.3E",   "%+.2f",      "% .1f",
                           "%#.0f",  "%G",     "%.0f",  "%.10g",  "%012.3f", "%-12g|",    "%.0e"};
    const double values[] = {0.0,     -0.0,     34.213,   -118.537, 0.05,    0.15,
                             2.5,     0.125,    1e-5,     123456789.0, 1e20, -1e-300,
                             59.95,   55.4,     1.0 / 3,  99999.95, 2.0,     -7.25,
                             std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
    for (const char* f : reals)
        for (double v : values) EXPECT_EQ(format(f, v), cPrintf(f, v)) << f << " of " << v;

    const char* signedInts[] = {"%d", "%5d", "%-5d|", "%05d", "%+d", "% d", "%.3d", "%.0d", "%i"};
    const int ints[] = {0, 7, -7, 2147483647, -2147483647 - 1};
    for (const char* f : signedInts)
        for (int v : ints) EXPECT_EQ(format(f, v), cPrintf(f, v)) << f << " of " << v;
    const char* unsignedInts[] = {"%u", "%04u", "%02u", "%x", "%X", "%#x", "%o", "%#o", "%8.3u"};
    const unsigned uints[] = {0u, 9u, 255u, 4294967295u};
    for (const char* f : unsignedInts)
        for (unsigned v : uints) EXPECT_EQ(format(f, v), cPrintf(f, v)) << f << " of " << v;
    EXPECT_EQ(format("%lld|%zu|%hd|%ld", -5LL, std::size_t{12}, short{-3}, 40L),
              cPrintf("%lld|%zu|%hd|%ld", -5LL, std::size_t{12}, short{-3}, 40L));
    for (const char* s : {"", "abc", "Землетрясение"})
        for (const char* f : {"%s", "%10s", "%-10s|", "%.3s"})
            EXPECT_EQ(format(f, s), cPrintf(f, s)) << f << " of " << s;
    EXPECT_EQ(format("%c%3c%-3c|%%%*d%-*.*f", 'a', 'b', 'c', 5, 42, 8, 2, 1.5),
              cPrintf("%c%3c%-3c|%%%*d%-*.*f", 'a', 'b', 'c', 5, 42, 8, 2, 1.5));
}

TEST_F(CommaLocale, ScannersTakeAPointAndStopAtAComma) {
    EXPECT_EQ(scanFloat("34.2130"), 34.213f);
    EXPECT_EQ(scanFloat("  -118.5370 "), -118.537f);
    EXPECT_EQ(scanFloat("+2.5"), 2.5f);
    EXPECT_EQ(scanFloat("1.5e3"), 1500.0f);
    EXPECT_EQ(scanFloat(".5"), 0.5f);
    std::string_view rest;
    EXPECT_EQ(scanFloat("3,5", &rest), 3.0f);
    EXPECT_EQ(rest, ",5");
    EXPECT_EQ(scanFloat("+-2"), std::nullopt);
    EXPECT_EQ(scanFloat(",5"), std::nullopt);
    EXPECT_EQ(scanFloat("nan"), std::nullopt);
    EXPECT_EQ(scanFloat("1e39"), std::nullopt);  // beyond a float
    EXPECT_EQ(scanInt(" +42x", &rest), 42);
    EXPECT_EQ(rest, "x");
    EXPECT_EQ(scanInt("2147483648"), std::nullopt);
    EXPECT_EQ(scanUnsigned("4294967295"), 4294967295u);
    EXPECT_EQ(scanUnsigned("4294967296"), std::nullopt);
}

TEST_F(CommaLocale, EventFileIsReadAndWrittenBackByteForByte) {
    const std::string path = dir_.file("1994011712.evt");
    std::ofstream(path, std::ios::binary) << orvane::testing::kNorthridge;
    Event e(path);
    EXPECT_EQ(e.latitude, 34.213f);
    EXPECT_EQ(e.longitude, -118.537f);
    EXPECT_EQ(e.depth, 18.4f);
    EXPECT_EQ(e.magnitude, 6.7f);
    EXPECT_EQ(e.second, 55.4f);
    // The editor's path: the texts made again from the numbers.
    e.refreshTexts();
    EXPECT_EQ(e.originTime, "12:30:55.4");
    ASSERT_TRUE(e.writeOwn());
    EXPECT_EQ(slurp(path), orvane::testing::kNorthridge);
}

TEST_F(CommaLocale, LoadedEventTablesAndStationFileReadPoints) {
    ScopedCurrentDir here(dir_.path());
    std::ofstream("1994011712.evt") << "EVENT LATITUDE:    34.2130\n"
                                       "EVENT LONGITUDE:  -118.5370\n"
                                       "EVENT DEPTH:       18.4\n"
                                       "EVENT MAGNITUDE:    6.7\n"
                                       "EVENT DATE: 1994/01/17\n"
                                       "ORIGIN TIME: 12:30:55.4\n"
                                       "TIME ACCELERATION: 2.5\n";
    // Column 0 holds 107.5 s at every distance: rounds up to 108.
    std::ofstream table("P.JB");
    for (int k = 0; k < 181; ++k) table << format("%5d%7.1f%7.1f\n", k, 107.5, 200.0);
    table.close();

    LoadedEvent event;
    ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
    EXPECT_EQ(event.latitude, 34.213f);
    EXPECT_EQ(event.longitude, -118.537f);
    EXPECT_EQ(event.depth, 18.4f);
    EXPECT_EQ(event.magnitude, 6.7f);
    EXPECT_EQ(event.timeAcceleration, 2.5f);
    EXPECT_EQ(event.second, 55);
    EXPECT_EQ(event.millisecond, 400);
    ASSERT_EQ(event.curves[0].count, 181);
    EXPECT_EQ(event.curves[0].times[90], 108.0f);

    Station anmo("ANMO    Albuquerque, New Mexico, USA    34.9462N 106.4567W");
    EXPECT_EQ(anmo.latitude, 34.9462f);
    EXPECT_EQ(anmo.longitude, -106.4567f);
}

TEST_F(CommaLocale, SettingsKeepTheButtonHeightWithAPoint) {
    std::ofstream(dir_.file("OV.INI")) << "BUTTON HEIGHT: 1.75\n";
    Settings s;
    s.read(dir_.file("OV.INI"));
    EXPECT_EQ(s.buttonHeight, 1.75f);
    s.buttonHeight = 2.5f;
    ASSERT_TRUE(s.write(dir_.file("OV.INI")));
    EXPECT_NE(slurp(dir_.file("OV.INI")).find("\nBUTTON HEIGHT: 2.5\n"), std::string::npos);
    Settings again;
    again.read(dir_.file("OV.INI"));
    EXPECT_EQ(again.buttonHeight, 2.5f);
}

}  // namespace
