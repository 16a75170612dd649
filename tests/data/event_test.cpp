#include "data/event.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/data/event_files.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"
#include "tests/support/write_faults.h"

using namespace orvane;

namespace {

Event readText(const TempDir& dir, const std::string& text, const std::string& name = "x.evt") {
    std::ofstream(dir.file(name), std::ios::binary) << text;
    return Event(dir.file(name));
}

using orvane::testing::kNorthridge;
using orvane::testing::slurp;

}  // namespace

TEST(EventDefaults, DefaultEventAndItsDerivedFields) {
    Event e;
    EXPECT_EQ(e.name, "Event Name");
    EXPECT_EQ(e.fileName, "1990010100.EVT");
    EXPECT_EQ(e.date, "1990/01/01");
    EXPECT_EQ(e.displayDate, "Jan. 1, 1990");
    EXPECT_EQ(e.originTime, "00:00:00.0");
    EXPECT_EQ(e.timeWindow, 1800);
    EXPECT_EQ(e.viewAngle, 180);
    EXPECT_EQ(e.timeAcceleration, 20);
    EXPECT_EQ(e.timeLimit, 1800);
    EXPECT_EQ(e.year, 1990);
    EXPECT_EQ(e.dataDirectory(), "1990010100");
}

TEST(EventRead, AFullFileAndItsDerivedDate) {
    TempDir dir;
    Event e = readText(dir, kNorthridge);
    EXPECT_EQ(e.name, "Northridge, California");
    EXPECT_FLOAT_EQ(e.latitude, 34.213f);
    EXPECT_FLOAT_EQ(e.longitude, -118.537f);
    EXPECT_FLOAT_EQ(e.depth, 18.4f);
    EXPECT_FLOAT_EQ(e.magnitude, 6.7f);
    EXPECT_EQ(e.displayDate, "Jan. 17, 1994");
    EXPECT_EQ(e.year, 1994);
    EXPECT_EQ(e.month, 1);
    EXPECT_EQ(e.day, 17);
    EXPECT_EQ(e.hour, 12);
    EXPECT_EQ(e.minute, 30);
    EXPECT_FLOAT_EQ(e.second, 55.4f);
    EXPECT_EQ(e.timeLimit, 3600);
    EXPECT_EQ(e.viewAngle, 240);
    ASSERT_EQ(e.stationFiles.size(), 2u);
    EXPECT_EQ(e.stationFiles[0].fileName, "ANMO.BHZ");
    EXPECT_EQ(e.fileName, dir.file("x.evt"));
    EXPECT_EQ(e.dataDirectory(), dir.file("x"));
}

TEST(EventRead, LowerCaseKeysReadTheSame) {
    TempDir dir;
    std::string lower;
    for (char c : std::string(kNorthridge)) lower.push_back(static_cast<char>(std::tolower(c)));
    Event a = readText(dir, kNorthridge, "a.evt");
    Event b = readText(dir, lower, "b.evt");
    EXPECT_FLOAT_EQ(a.latitude, b.latitude);
    EXPECT_EQ(a.date, b.date);
    EXPECT_EQ(a.originTime, b.originTime);
    EXPECT_EQ(a.timeLimit, b.timeLimit);
    EXPECT_EQ(b.name, "northridge, california");  // the name keeps its case
    ASSERT_EQ(b.stationFiles.size(), 2u);
    EXPECT_EQ(b.stationFiles[0].fileName, "ANMO.BHZ");  // held in upper case
}

TEST(EventRead, TimeLimitDefaultsDifferBetweenReadAndDefaultEvents) {
    TempDir dir;
    EXPECT_EQ(readText(dir, "EVENT NAME: No limit\n").timeLimit, 7200);
    EXPECT_EQ(Event().timeLimit, 1800);
}

TEST(EventRead, UnreadableFileLeavesOnlyTheFirstStep) {
    TempDir dir;
    Event e(dir.file("absent.evt"));
    EXPECT_TRUE(e.fileName.empty());
    EXPECT_EQ(e.timeLimit, 7200);
    EXPECT_TRUE(e.stationFiles.empty());
    EXPECT_TRUE(e.labelBox.empty());
    Event none(static_cast<const char*>(nullptr));
    EXPECT_TRUE(none.fileName.empty());
    EXPECT_FALSE(none.writeOwn());  // nowhere to write
    Event directory(dir.path().string());
    EXPECT_TRUE(directory.fileName.empty());
}

TEST(EventRead, FieldsAreCutAndMalformedNumbersIgnored) {
    TempDir dir;
    Event e = readText(dir,
                       "EVENT NAME: " + std::string(60, 'n') + "\n"
                       "EVENT LATITUDE: north\n"
                       "EVENT DEPTH: nan\n"
                       "EVENT MAGNITUDE: 1e999\n"
                       "TIME WINDOW: 99999999999\n"
                       "STATION FILE: averyveryverylongfilename.bhz\n"
                       "EVENT DATE: 2004/0x/17\n");
    EXPECT_EQ(e.name, std::string(39, 'n'));
    EXPECT_FLOAT_EQ(e.latitude, 0.0f);
    EXPECT_FLOAT_EQ(e.depth, 0.0f);
    EXPECT_FLOAT_EQ(e.magnitude, 0.0f);
    EXPECT_EQ(e.timeWindow, 1800);
    ASSERT_EQ(e.stationFiles.size(), 1u);
    EXPECT_EQ(e.stationFiles[0].fileName, "AVERYVERYVERYLONGFILENAME.BHZ");
    EXPECT_EQ(e.year, 2004);
    EXPECT_EQ(e.month, 0);  // scanned up to the malformed part
    EXPECT_EQ(e.day, 1);    // left as it was
    EXPECT_EQ(e.displayDate, ". 1, 2004");
}

TEST(EventRead, StationFileNamesAsLongAsTheStationRecordsHold) {
    TempDir dir;
    const std::string longest = "IU.ANMO.00.BHZ.M.2011.070.05452";  // 31 characters
    ASSERT_EQ(longest.size(), 31u);
    Event e = readText(dir, "STATION FILE: iu.anmo.00.bhz.m.2011.070.05452\n"
                            "STATION FILE: " + longest + "4\n"  // 32: would name another file
                            "STATION FILE: KIP.BHZ\n");
    ASSERT_EQ(e.stationFiles.size(), 2u);
    EXPECT_EQ(e.stationFiles[0].fileName, longest);
    EXPECT_EQ(e.stationFiles[1].fileName, "KIP.BHZ");
    e.fileName = dir.file("out.evt");
    ASSERT_TRUE(e.writeOwn());
    EXPECT_NE(slurp(e.fileName).find("STATION FILE: " + longest + "\nSTATION FILE: KIP.BHZ\n"),
              std::string::npos);
    EXPECT_EQ(Event(e.fileName).stationFiles.size(), 2u);
}

TEST(EventRead, NamesAreCutBetweenUtf8Characters) {
    TempDir dir;
    const std::string tohoku = "Землетрясение у Тохоку, Япония";  // 43 bytes
    const std::string fits = "Землетрясение у Тохо";              // 38: "к" would end at 40
    ASSERT_EQ(fits.size(), 38u);
    EXPECT_EQ(readText(dir, "EVENT NAME: " + tohoku + "\n").name, fits);
    // A name an earlier writer cut inside "к" loses the broken half.
    EXPECT_EQ(readText(dir, "EVENT NAME: " + tohoku.substr(0, 39) + "\n").name, fits);
    const std::string faces = "😀😀😀😀😀😀😀😀😀😀";  // four bytes each
    EXPECT_EQ(readText(dir, "EVENT NAME: " + faces + "\n").name, faces.substr(0, 36));
    // Windows text (Latin-1 "é") is not UTF-8: cut at 39 bytes.
    EXPECT_EQ(readText(dir, "EVENT NAME: " + std::string(45, '\xE9') + "\n").name,
              std::string(39, '\xE9'));
    EXPECT_EQ(readText(dir, "EVENT NAME: Caf\xE9 \xB0\n").name, "Caf\xE9 \xB0");

    // The writer keeps whole characters too.
    Event e;
    e.name = tohoku;
    e.fileName = dir.file("out.evt");
    ASSERT_TRUE(e.writeOwn());
    EXPECT_EQ(slurp(e.fileName).substr(0, 13 + fits.size()), "EVENT NAME: " + fits + "\n");
}

TEST(EventRead, BinaryJunkNulsAndLongLinesAreHarmless) {
    TempDir dir;
    std::string junk;
    for (int i = 0; i < 10000; ++i) junk.push_back(static_cast<char>((i * 131 + 7) % 256));
    Event e = readText(dir, junk + "\n" + std::string("EVENT DEPTH: \0 99\n", 18) +
                                std::string(300, 'z') + "\nEVENT MAGNITUDE: 7.5\r\n");
    EXPECT_FLOAT_EQ(e.depth, 0.0f);
    EXPECT_FLOAT_EQ(e.magnitude, 7.5f);
}

TEST(EventRead, ManyStationFilesAreAllKept) {
    TempDir dir;
    std::string text = "EVENT NAME: Busy\n";
    for (int i = 0; i < 500; ++i) text += "STATION FILE: S" + std::to_string(i) + ".BHZ\n";
    EXPECT_EQ(readText(dir, text).stationFiles.size(), 500u);
}

TEST(EventWrite, FormatOfEveryLine) {
    TempDir dir;
    Event e = readText(dir, kNorthridge);
    e.fileName = dir.file("out.evt");
    ASSERT_TRUE(e.writeOwn());
    EXPECT_EQ(slurp(dir.file("out.evt")), kNorthridge);
}

TEST(EventWrite, StationListGivesUsedComponentsZFirst) {
    TempDir dir;
    Event e;
    e.fileName = dir.file("s.evt");
    Station a;
    a.stationCode = "XYZ";
    a.componentFile = {"XYZ.BHZ", "XYZ.BHN", "XYZ.BHE"};
    a.available = {true, true, true};
    a.used = {true, false, true};
    Station b;
    b.componentFile = {"B.BHZ", "B.BHN", "B.BHE"};
    b.used = {false, true, false};
    ASSERT_TRUE(e.write({a, b}));
    Event back(dir.file("s.evt"));
    ASSERT_EQ(back.stationFiles.size(), 3u);
    EXPECT_EQ(back.stationFiles[0].fileName, "XYZ.BHZ");
    EXPECT_EQ(back.stationFiles[1].fileName, "XYZ.BHE");
    EXPECT_EQ(back.stationFiles[2].fileName, "B.BHN");
}

TEST(EventWrite, RoundTripOfEveryStoredField) {
    TempDir dir;
    Event e;
    e.name = "Bolivia, deep focus";
    e.latitude = -13.841f;
    e.longitude = -67.553f;
    e.depth = 631.3f;
    e.magnitude = 8.2f;
    e.year = 1994;
    e.month = 6;
    e.day = 9;
    e.hour = 0;
    e.minute = 33;
    e.second = 16.2f;
    e.timeAcceleration = 40;
    e.timeWindow = 900;
    e.timeLimit = 5000;
    e.viewAngle = 90;
    e.refreshTexts();
    EXPECT_EQ(e.fileName, "1994060900.evt");
    EXPECT_EQ(e.date, "1994/06/09");
    EXPECT_EQ(e.originTime, "00:33:16.2");
    EXPECT_EQ(e.displayDate, "Jun. 9, 1994");
    e.fileName = dir.file(e.fileName);
    e.stationFiles.resize(1);
    e.stationFiles[0].fileName = "LPAZ.BHZ";
    ASSERT_TRUE(e.writeOwn());
    Event r(e.fileName);
    EXPECT_EQ(r.name, e.name);
    EXPECT_NEAR(r.latitude, e.latitude, 1e-4);
    EXPECT_NEAR(r.longitude, e.longitude, 1e-4);
    EXPECT_NEAR(r.depth, e.depth, 0.05);
    EXPECT_NEAR(r.magnitude, e.magnitude, 0.05);
    EXPECT_EQ(r.date, e.date);
    EXPECT_EQ(r.displayDate, e.displayDate);
    EXPECT_EQ(r.originTime, e.originTime);
    EXPECT_EQ(r.minute, 33);
    EXPECT_FLOAT_EQ(r.second, 16.2f);
    EXPECT_EQ(r.timeAcceleration, 40);
    EXPECT_EQ(r.timeWindow, 900);
    EXPECT_EQ(r.timeLimit, 5000);
    EXPECT_EQ(r.viewAngle, 90);
    ASSERT_EQ(r.stationFiles.size(), 1u);
    EXPECT_EQ(r.stationFiles[0].fileName, "LPAZ.BHZ");
}

TEST(EventWrite, NameCutJustAfterAStrayCarriageReturnReadsBackAsWritten) {
    TempDir dir;
    Event e = readText(dir, "EVENT NAME: " + std::string(38, 'n') + "\rest of the line\n");
    EXPECT_EQ(e.name, std::string(38, 'n'));
    e.fileName = dir.file("again.evt");
    ASSERT_TRUE(e.writeOwn());
    EXPECT_EQ(Event(e.fileName).name, e.name);
}

TEST(EventWrite, SaveAsNewNamesTheFileAfterDateAndHour) {
    TempDir dir;
    Event e = readText(dir, kNorthridge);
    ScopedCurrentDir here(dir.path());
    ASSERT_TRUE(e.saveAsNew());
    EXPECT_EQ(e.fileName, "1994011712.evt");
    EXPECT_EQ(Event("1994011712.evt").name, "Northridge, California");
}

TEST(EventWrite, FailureKeepsTheOldFile) {
    TempDir dir;
    Event e = readText(dir, kNorthridge, "keep.evt");
    const std::string before = slurp(dir.file("keep.evt"));
    e.name = "Changed";
    EXPECT_EQ(resultUnderFileSizeLimit([&] { return e.writeOwn(); }, 100), false);
    EXPECT_EQ(slurp(dir.file("keep.evt")), before);
}

// The viewer rewrites an event after a station choice; the maintenance
// program saves one under its date. Neither may lose the file it replaces.
TEST(EventWrite, EveryFaultFailsCleanlyAndKeepsTheOldFile) {
    for (WriteFault fault : kWriteFaults) {
        SCOPED_TRACE(faultName(fault));
        TempDir dir;
        Event e = readText(dir, kNorthridge, "source.evt");
        std::filesystem::remove(dir.file("source.evt"));
        Station station;
        station.used[kVertical] = true;
        station.componentFile[kVertical] = "ANMO.BHZ";

        e.fileName = dir.file("1994011712.evt");
        FaultOutcome out = writeUnderFault(fault, e.fileName, kNorthridge, [&] { return e.write({station}); });
        expectFailedCleanly(out);

        ScopedCurrentDir here(dir.path());
        std::filesystem::remove_all(e.fileName);
        out = writeUnderFault(fault, dir.file("1994011712.evt"), kNorthridge, [&] { return e.saveAsNew(); });
        expectFailedCleanly(out);
    }
}

TEST(EventTexts, MonthsOutsideTheYearHaveNoAbbreviation) {
    EXPECT_STREQ(monthAbbreviation(0), "");
    EXPECT_STREQ(monthAbbreviation(12), "Dec");
    EXPECT_STREQ(monthAbbreviation(13), "");
    EXPECT_STREQ(monthAbbreviation(-5), "");
    Event e;
    e.month = 99;
    e.refreshTexts();
    EXPECT_EQ(e.displayDate, ". 1, 1990");
    EXPECT_EQ(e.date, "1990/99/01");
}

TEST(EventTexts, HugeNumbersStayWithinTheTextWidths) {
    Event e;
    e.year = -1;
    e.hour = 2000000000;
    e.refreshTexts();
    EXPECT_LE(e.date.size(), Event::kTextWidth);
    EXPECT_LE(e.originTime.size(), Event::kTextWidth);
    EXPECT_LE(e.displayDate.size(), Event::kTextWidth);
}
