#include "model/travel_time_curve.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "model/table_writers.h"
#include "tests/support/comma_locale.h"
#include "tests/support/temp_dir.h"

namespace orvane {
namespace {

// A table line: 5 characters of distance, then one 7-character column per value.
// Written with to_chars: the same text in every locale.
std::string tableLine(int distance, const std::vector<double>& columns) {
    auto cell = [](std::to_chars_result r, char* buf, std::size_t width) {
        std::string text(buf, r.ptr);
        return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
    };
    char buf[64];
    std::string line = cell(std::to_chars(buf, buf + sizeof buf, distance), buf, 5);
    for (double v : columns)
        line += cell(std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2), buf, 7);
    return line;
}

// Column c at k degrees holds 100 c + 5 k (+ 0.25, which rounds away).
std::string fullTable(int lines = kCurveEntries) {
    std::string text;
    for (int k = 0; k < lines; ++k) {
        std::vector<double> columns;
        for (int c = 0; c < kDepthColumns; ++c) columns.push_back(100.0 * c + 5 * k + 0.25);
        text += tableLine(k, columns) + "\n";
    }
    return text;
}

class TravelTimeCurveFile : public ::testing::Test {
  protected:
    TravelTimeCurve load(const std::string& text, float depth, const std::string& phase = "P") {
        {
            std::ofstream out(dir.file(phase + ".JB"), std::ios::binary);
            out << text;
        }
        return loadTravelTimeCurve(phase, depth,
                                   [this](const std::string& name) { return dir.file(name); });
    }
    TempDir dir;
};

TEST(DepthColumn, FollowsTheTableLayout) {
    EXPECT_EQ(depthColumn(10), 0);
    EXPECT_EQ(depthColumn(32.9f), 0);
    EXPECT_EQ(depthColumn(33), 1);
    EXPECT_EQ(depthColumn(100), 2);
    EXPECT_EQ(depthColumn(700), 11);
    EXPECT_EQ(depthColumn(800), 13);
    EXPECT_EQ(depthColumn(1000), 13);
    // As a float 96.38 is a little below 96.38, so the quotient lands just
    // below 2.
    float depth = 96.38f;
    EXPECT_EQ(depthColumn(depth), 1);
    EXPECT_EQ(depthColumn(96.39f), 2);
}

TEST(DepthColumn, BadDepthsClampToTheTable) {
    EXPECT_EQ(depthColumn(-50), 0);
    EXPECT_EQ(depthColumn(NAN), 0);
    EXPECT_EQ(depthColumn(INFINITY), 13);
    EXPECT_EQ(depthColumn(-INFINITY), 0);
    EXPECT_EQ(depthColumn(1e30f), 13);
}

TEST_F(TravelTimeCurveFile, ReadsTheColumnOfTheDepthRounded) {
    for (auto [depth, column] :
         {std::pair{10.0f, 0}, std::pair{100.0f, 2}, std::pair{900.0f, 13}}) {
        TravelTimeCurve curve = load(fullTable(), depth);
        ASSERT_EQ(curve.count, kCurveEntries);
        ASSERT_EQ(curve.times.size(), static_cast<std::size_t>(kCurveEntries));
        EXPECT_EQ(curve.times[0], 100.0f * column);
        EXPECT_EQ(curve.times[180], 100.0f * column + 900);
    }
}

TEST_F(TravelTimeCurveFile, RoundsHalvesUpwards) {
    std::string text = tableLine(0, {107.5}) + "\n" + tableLine(1, {107.49}) + "\n" +
                       tableLine(2, {0.5}) + "\n" + tableLine(3, {-0.25}) + "\n";
    TravelTimeCurve curve = load(text, 0);
    ASSERT_EQ(curve.count, 4);
    EXPECT_EQ(curve.times[0], 108);
    EXPECT_EQ(curve.times[1], 107);
    EXPECT_EQ(curve.times[2], 1);
    EXPECT_EQ(curve.times[3], 0);
    EXPECT_EQ(curve.times[4], 0);  // the rest of the array stays 0
}

TEST_F(TravelTimeCurveFile, MissingTableGivesNoCurve) {
    TravelTimeCurve curve =
        loadTravelTimeCurve("SS", 10, [this](const std::string& name) { return dir.file(name); });
    EXPECT_EQ(curve.count, 0);
    EXPECT_TRUE(curve.times.empty());
    EXPECT_EQ(interpolateTable(curve.keys(), curveDistances(), curve.count, 100), 0);
    // A directory in place of the table is missing too.
    std::filesystem::create_directory(dir.path() / "S.JB");
    curve = loadTravelTimeCurve("S", 10, [this](const std::string& n) { return dir.file(n); });
    EXPECT_EQ(curve.count, 0);
}

TEST_F(TravelTimeCurveFile, ResolverChoosesThePath) {
    {
        std::ofstream out(dir.file("pp.jb"));
        out << tableLine(0, {42});
    }
    std::string asked;
    TravelTimeCurve curve = loadTravelTimeCurve("PP", 0, [&](const std::string& name) {
        asked = name;
        return dir.file("pp.jb");
    });
    EXPECT_EQ(asked, "PP.JB");
    ASSERT_EQ(curve.count, 1);  // last line without a line end still counts
    EXPECT_EQ(curve.times[0], 42);
}

TEST_F(TravelTimeCurveFile, ShortTableEndsEarly) {
    TravelTimeCurve curve = load(fullTable(3), 10);
    ASSERT_EQ(curve.count, 3);
    // Times 0, 5, 10 at 0, 1, 2 degrees.
    EXPECT_FLOAT_EQ(interpolateTable(curve.keys(), curveDistances(), curve.count, 7.5f), 1.5f);
    EXPECT_EQ(interpolateTable(curve.keys(), curveDistances(), curve.count, 11), 0);
    EXPECT_EQ(interpolateTable(curveDistances(), curve.keys(), curve.count, 2.5f), 0);
}

TEST_F(TravelTimeCurveFile, UnreadableLinesGiveZeroAndStillCount) {
    std::string text = tableLine(0, {10}) + "\n" +  // 0: fine
                       "\n" +                       // 1: blank
                       "  2\n" +                    // 2: short
                       "    3    abc\n" +           // 3: not a number
                       "    4    nan\n" +           // 4: NaN is no time
                       "    5    inf\n" +           // 5: nor is infinity
                       "    6  1e999\n" +           // 6: out of range
                       tableLine(7, {80}) + "\n";   // 7: fine again
    TravelTimeCurve curve = load(text, 10);
    ASSERT_EQ(curve.count, 8);
    EXPECT_EQ(curve.times[0], 10);
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(curve.times[k], 0) << k;
    EXPECT_EQ(curve.times[7], 80);
    // The curve stays usable both ways, with non-increasing keys.
    for (float x = -1; x <= 90; x += 0.25f) {
        float d = interpolateTable(curve.keys(), curveDistances(), curve.count, x);
        EXPECT_TRUE(std::isfinite(d));
        EXPECT_GE(d, 0);
        EXPECT_LE(d, 7);
    }
    EXPECT_EQ(interpolateTable(curveDistances(), curve.keys(), curve.count, 7), 80);
    EXPECT_FLOAT_EQ(interpolateTable(curveDistances(), curve.keys(), curve.count, 6.5f), 40);
}

TEST_F(TravelTimeCurveFile, BlankColumnDoesNotBorrowTheNextOne) {
    std::string line = tableLine(0, {11, 22});
    line.replace(5, 7, std::string(7, ' '));  // column 0 blank, column 1 holds 22
    TravelTimeCurve curve = load(line + "\n", 10);
    ASSERT_EQ(curve.count, 1);
    EXPECT_EQ(curve.times[0], 0);
    curve = load(line + "\n", 40);
    EXPECT_EQ(curve.times[0], 22);
}

TEST_F(TravelTimeCurveFile, AtMost181Lines) {
    std::string text = fullTable() + tableLine(181, std::vector<double>(kDepthColumns, 7777));
    TravelTimeCurve curve = load(text + "\n" + text, 10);
    EXPECT_EQ(curve.count, kCurveEntries);
    EXPECT_EQ(curve.times.size(), static_cast<std::size_t>(kCurveEntries));
    EXPECT_EQ(curve.times[180], 900);
}

TEST_F(TravelTimeCurveFile, OverlongLineStaysOneDistance) {
    std::string longLine = tableLine(0, {5}) + std::string(500, '9');
    TravelTimeCurve curve = load(longLine + "\n" + tableLine(1, {15}) + "\n", 10);
    ASSERT_EQ(curve.count, 2);
    EXPECT_EQ(curve.times[0], 5);
    EXPECT_EQ(curve.times[1], 15);
}

TEST_F(TravelTimeCurveFile, WindowsLineEndsAndBinaryJunk) {
    std::string text = tableLine(0, {3}) + "\r\n" + std::string("\0\0\xff\x01", 4) + "\r\n" +
                       tableLine(2, {9}) + "\r\n";
    TravelTimeCurve curve = load(text, 10);
    ASSERT_EQ(curve.count, 3);
    EXPECT_EQ(curve.times[0], 3);
    EXPECT_EQ(curve.times[1], 0);
    EXPECT_EQ(curve.times[2], 9);
}

TEST_F(TravelTimeCurveFile, ReadsWhatTheTableWriterFormats) {
    std::vector<std::vector<double>> columns(kDepthColumns);
    for (int c = 0; c < kDepthColumns; ++c)
        for (int k = 0; k < kCurveEntries; ++k) columns[c].push_back(k * 10.25 + c * 0.5);
    columns[2][7] = 107.5;
    columns[2][8] = 107.44;
    TravelTimeCurve curve = load(formatTravelTimeTable(columns), 100);
    ASSERT_EQ(curve.count, kCurveEntries);
    EXPECT_EQ(curve.times[0], 1);       // 1.0
    EXPECT_EQ(curve.times[7], 108);     // 107.5
    EXPECT_EQ(curve.times[8], 107);     // written as 107.4
    EXPECT_EQ(curve.times[180], 1846);  // 1845.0 + 1.0
    curve = load(formatTravelTimeTable(columns), 1000);
    EXPECT_EQ(curve.times[1], 17);  // 10.25 + 6.5, written as 16.8
}

TEST_F(TravelTimeCurveFile, TableWrittenAndReadUnderACommaLocale) {
    orvane::testing::ScopedCommaLocale comma;
    ORVANE_REQUIRE_COMMA_LOCALE(comma);
    std::vector<std::vector<double>> columns(kDepthColumns, std::vector<double>(3, 0.0));
    columns[0] = {0.0, 107.5, 1234.56};
    std::string text = formatTravelTimeTable(columns);
    EXPECT_EQ(text.substr(0, 12), "    0    0.0");
    EXPECT_NE(text.find("\n    1  107.5    0.0"), std::string::npos);
    EXPECT_EQ(text.find(','), std::string::npos);
    TravelTimeCurve curve = load(text, 10);
    ASSERT_EQ(curve.count, 3);
    EXPECT_EQ(curve.times[1], 108);
    EXPECT_EQ(curve.times[2], 1235);
}

TEST(InterpolateTable, BothDirections) {
    std::vector<float> times;
    for (int k = 0; k < kCurveEntries; ++k) times.push_back(10.0f * k);
    const auto& distances = curveDistances();
    // Distance reached at a time.
    EXPECT_FLOAT_EQ(interpolateTable(times, distances, kCurveEntries, 15), 1.5f);
    EXPECT_EQ(interpolateTable(times, distances, kCurveEntries, 0), 0);  // the first key
    EXPECT_EQ(interpolateTable(times, distances, kCurveEntries, 1800), 180);
    EXPECT_EQ(interpolateTable(times, distances, kCurveEntries, 1800.5f), 0);
    EXPECT_EQ(interpolateTable(times, distances, kCurveEntries, -0.5f), 0);
    // Time at a distance, up to and including the last key.
    EXPECT_EQ(interpolateTable(distances, times, kCurveEntries, 180), 1800);
    EXPECT_FLOAT_EQ(interpolateTable(distances, times, kCurveEntries, 179.5f), 1795);
    EXPECT_FLOAT_EQ(interpolateTable(distances, times, kCurveEntries, 0.25f), 2.5f);
    EXPECT_EQ(interpolateTable(distances, times, kCurveEntries, 180.01f), 0);
    // Fewer entries than the arrays hold: the count decides.
    EXPECT_EQ(interpolateTable(distances, times, 100, 100), 0);
    EXPECT_EQ(interpolateTable(distances, times, 100, 99), 990);
}

TEST(InterpolateTable, BadArgumentsStayInBounds) {
    std::vector<float> keys = {0, 10, 20};
    std::vector<float> values = {0, 1, 2};
    EXPECT_EQ(interpolateTable(keys, values, 0, 0), 0);
    EXPECT_EQ(interpolateTable(keys, values, -3, 0), 0);
    EXPECT_EQ(interpolateTable(keys, values, 3, NAN), 0);
    EXPECT_EQ(interpolateTable(keys, values, 3, INFINITY), 0);
    // A count beyond the arrays is limited to them.
    EXPECT_EQ(interpolateTable(keys, values, 1000, 20), 2);
    EXPECT_EQ(interpolateTable(keys, std::span<const float>(values).first(2), 1000, 15), 0);
    EXPECT_FLOAT_EQ(interpolateTable(keys, std::span<const float>(values).first(2), 1000, 5), 0.5f);
    EXPECT_EQ(interpolateTable({}, {}, 5, 1), 0);
}

TEST(InterpolateTable, KeysThatDoNotIncrease) {
    // Decreasing, repeated and NaN keys: the lookup ends and stays finite.
    std::vector<std::vector<float>> tables = {
        {50, 40, 30, 60}, {5, 5, 5, 5}, {0, 10, 0, 30}, {0, NAN, 20, 30}, {30, 20, 10, 0}};
    std::vector<float> values = {0, 1, 2, 3};
    for (const auto& keys : tables)
        for (float x = -5; x <= 65; x += 0.5f) {
            float v = interpolateTable(keys, values, 4, x);
            EXPECT_TRUE(std::isfinite(v));
            EXPECT_GE(v, 0);
            EXPECT_LE(v, 3);
        }
    EXPECT_EQ(interpolateTable(tables[1], values, 4, 5), 3);
    EXPECT_EQ(interpolateTable(tables[4], values, 4, 10), 0);  // above the last key
}

}  // namespace
}  // namespace orvane
