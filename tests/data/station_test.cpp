#include "data/station.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data/event.h"
#include "data/sac.h"
#include "tests/data/trace_files.h"
#include "tests/support/temp_dir.h"

using namespace orvane;
using namespace orvane::testing;

namespace {

// A "ZOZERO.STA" line: the code and name padded to column 41, then the rest.
std::string stationLine(std::string codeAndName, const std::string& position) {
    codeAndName.resize(40, ' ');
    return codeAndName + position;
}

// The component of a file written with the given orientation and name.
char componentOf(const TempDir& dir, float incidence, float azimuth, const std::string& name) {
    SacTrace t = typicalTrace(5);
    t.componentIncidence = incidence;
    t.componentAzimuth = azimuth;
    writeSac(dir.file(name), t);
    return StationFile(KSAC(dir.file(name), false)).component;
}

TEST(StationFileTest, ComponentFromOrientationElseFromTheFileName) {
    TempDir dir;
    const float undef = sac::kUndefinedFloat;
    EXPECT_EQ(componentOf(dir, 0, 90, "A.BHE"), 'Z');  // vertical whatever the azimuth
    EXPECT_EQ(componentOf(dir, 90, 90, "A.BHZ"), 'E');
    EXPECT_EQ(componentOf(dir, 90, 0, "A.BHZ"), 'N');
    EXPECT_EQ(componentOf(dir, 90, 45, "A.BHN"), 'Z');
    EXPECT_EQ(componentOf(dir, undef, undef, "a.bhn"), 'N');
    EXPECT_EQ(componentOf(dir, undef, 90, "b.bhe"), 'E');  // both words are needed
    EXPECT_EQ(componentOf(dir, 90, undef, "c.BHZ"), 'Z');
    EXPECT_EQ(componentOf(dir, undef, undef, "d.bh1"), 'Z');
}

TEST(StationFileTest, CodeAndPositionFromTheHeader) {
    TempDir dir;
    writeSac(dir.file("ANMO.BHZ"), typicalTrace(5));
    StationFile file(KSAC(dir.file("ANMO.BHZ"), false));
    EXPECT_EQ(file.stationCode, "ANMO    ");  // padding kept
    EXPECT_FLOAT_EQ(file.latitude, 34.9459f);
    EXPECT_FLOAT_EQ(file.longitude, -106.4572f);
    EXPECT_EQ(file.stationName, "");

    Station station(file);
    EXPECT_EQ(station.stationCode, "ANMO    ");
    EXPECT_EQ(station.available, (std::array<bool, 3>{true, false, false}));
    EXPECT_EQ(station.used, (std::array<bool, 3>{false, false, false}));
    EXPECT_EQ(station.componentFile[kVertical], "ANMO.BHZ");
}

TEST(StationTest, FromAFileComponentUpperCasesTheName) {
    StationFile file;
    file.stationCode = "XYZ";
    file.component = 'E';
    file.fileName = "xyz.bhe";
    Station station(file);
    EXPECT_EQ(station.available, (std::array<bool, 3>{false, false, true}));
    EXPECT_EQ(station.componentFile[kEastWest], "XYZ.BHE");
    EXPECT_EQ(station.componentFile[kVertical], "");
    EXPECT_EQ(componentIndex('N'), kNorthSouth);
    EXPECT_EQ(componentIndex('x'), kVertical);
}

TEST(StationLineTest, FixedColumnsWithHemisphereLetters) {
    //                  1       9                                41
    std::string line = "ANMO    Albuquerque, New Mexico, USA    34.9462N 106.4567W\n";
    ASSERT_EQ(line.find("34.9462"), 40u);
    Station s(line);
    EXPECT_EQ(s.stationCode, "ANMO");
    EXPECT_EQ(s.stationName, "Albuquerque, New Mexico, USA");
    EXPECT_FLOAT_EQ(s.latitude, 34.9462f);
    EXPECT_FLOAT_EQ(s.longitude, -106.4567f);
    EXPECT_EQ(s.available, (std::array<bool, 3>{}));
    EXPECT_TRUE(s.markBox.empty());

    Station south(stationLine("SNZO    Wellington, New Zealand", "41.3087s 174.7043e\r\n"));
    EXPECT_FLOAT_EQ(south.latitude, -41.3087f);
    EXPECT_FLOAT_EQ(south.longitude, 174.7043f);
    EXPECT_EQ(south.stationName, "Wellington, New Zealand");
}

TEST(StationLineTest, ColumnFortyIsNotPartOfTheName) {
    std::string name(32, 'x');  // columns 9..40
    Station s("AB      " + name + "1.0N 2.0E");
    EXPECT_EQ(s.stationName, std::string(31, 'x'));
}

TEST(StationLineTest, ShortAndMalformedLinesGiveDefinedValues) {
    Station empty("");
    EXPECT_EQ(empty.stationCode, "");
    EXPECT_EQ(empty.stationName, "");

    Station codeOnly("KONO\n");
    EXPECT_EQ(codeOnly.stationCode, "KONO");
    EXPECT_EQ(codeOnly.stationName, "");
    EXPECT_EQ(codeOnly.latitude, 0);

    Station noPosition("KONO    Kongsberg, Norway");
    EXPECT_EQ(noPosition.stationName, "Kongsberg, Norway");
    EXPECT_EQ(noPosition.latitude, 0);
    EXPECT_EQ(noPosition.longitude, 0);

    // Without hemisphere letters the signs stay as written.
    Station bare(stationLine("KONO    Kongsberg, Norway", "59.6491 9.5982"));
    EXPECT_FLOAT_EQ(bare.latitude, 59.6491f);
    EXPECT_FLOAT_EQ(bare.longitude, 9.5982f);
    Station latitudeOnly(stationLine("KONO    Kongsberg, Norway", "59.6491S"));
    EXPECT_FLOAT_EQ(latitudeOnly.latitude, -59.6491f);
    EXPECT_EQ(latitudeOnly.longitude, 0);
    Station garbage(stationLine("KONO    Kongsberg, Norway", "nanN infW"));
    EXPECT_EQ(garbage.latitude, 0);
    EXPECT_EQ(garbage.longitude, 0);
}

TEST(StationLineTest, EightCharacterCodeKeepsSeven) {
    Station s(stationLine("ABCDEFGHStation right after the code", "10.0N 20.0W"));
    EXPECT_EQ(s.stationCode, "ABCDEFG");
    EXPECT_EQ(s.stationName, "Station right after the code");
    EXPECT_FLOAT_EQ(s.longitude, -20.0f);
}

TEST(GreatCircleTest, ArcAtTheEnds) {
    GreatCircle same = greatCircle(34.9462f, -106.4567f, 34.9462f, -106.4567f);
    EXPECT_NEAR(same.arc, 0.0f, 1e-3);
    EXPECT_FALSE(std::isnan(same.backAzimuth));
    // Here the cosine of the arc comes out a hair above 1.
    GreatCircle rounding = greatCircle(-87.3f, 20, -87.3f, 20);
    EXPECT_EQ(rounding.arc, 0.0f);
    EXPECT_FALSE(std::isnan(rounding.backAzimuth));
    GreatCircle pole = greatCircle(90, 0, 90, 0);
    EXPECT_NEAR(pole.arc, 0.0f, 1e-3);
    EXPECT_FALSE(std::isnan(pole.backAzimuth));

    EXPECT_NEAR(greatCircle(10, 20, -10, -160).arc, 180.0f, 1e-3);
    EXPECT_NEAR(greatCircle(90, 0, -90, 0).arc, 180.0f, 1e-3);
    EXPECT_FALSE(std::isnan(greatCircle(10, 20, -10, -160).backAzimuth));
    EXPECT_NEAR(greatCircle(0, 0, 0, 90).arc, 90.0f, 1e-3);
}

TEST(GreatCircleTest, BackAzimuthPointsToTheEvent) {
    EXPECT_NEAR(greatCircle(0, 0, 0, 10).backAzimuth, 90.0f, 1e-3);   // event east
    EXPECT_NEAR(greatCircle(0, 0, 0, -10).backAzimuth, 270.0f, 1e-3); // event west
    EXPECT_NEAR(greatCircle(0, 0, 10, 0).backAzimuth, 0.0f, 1e-3);    // event north
    EXPECT_NEAR(greatCircle(0, 0, -10, 0).backAzimuth, 180.0f, 1e-3); // event south
    // Across the date line the event east of the station is still east.
    EXPECT_NEAR(greatCircle(0, 175, 0, -175).backAzimuth, 90.0f, 1e-3);
    GreatCircle ne = greatCircle(34.9462f, -106.4567f, 35.0f, -100.0f);
    EXPECT_GT(ne.backAzimuth, 45.0f);
    EXPECT_LT(ne.backAzimuth, 90.0f);
}

class StationListTest : public ::testing::Test {
protected:
    void SetUp() override {
        event.fileName = dir.file("1994011712.evt");
        data = dir.file("1994011712");
        std::filesystem::create_directory(data);
    }

    void write(const std::string& name, const std::string& code, float inc, float az,
               std::size_t samples = 5) {
        SacTrace t = typicalTrace(samples);
        t.station = code;
        t.componentIncidence = inc;
        t.componentAzimuth = az;
        ASSERT_TRUE(writeSac(data + "/" + name, t));
    }

    void list(const std::string& name) {
        StationFile f;
        f.fileName = name;
        event.stationFiles.push_back(f);
    }

    std::vector<Station> build() {
        return buildStationList(event, [this](std::string_view m) { messages.emplace_back(m); });
    }

    TempDir dir;
    Event event;
    std::string data;
    std::vector<std::string> messages;
};

TEST_F(StationListTest, OneStationPerCodeWithChosenComponentsUsed) {
    write("XYZ.BHZ", "XYZ", 0, 0);
    write("xyz.bhe", "XYZ", 90, 90);
    write("ABC.BHN", "ABC", 90, 0);
    write("ABC.BHZ", "abc", 0, 0);       // codes compare without case
    write("EMPTY.BHZ", "EMP", 0, 0, 0);  // NPTS 0
    std::ofstream(data + "/notes.txt") << "not a seismogram\n";
    std::ofstream(data + "/.hidden") << "x";
    std::filesystem::create_directory(data + "/sub");
    list("xyz.bhz");

    std::vector<Station> stations = build();
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(stations.size(), 2u);
    // Listing order: ABC.BHN, ABC.BHZ, ..., xyz.bhe, XYZ.BHZ.
    EXPECT_EQ(stations[0].stationCode, "ABC     ");
    EXPECT_EQ(stations[0].available, (std::array<bool, 3>{true, true, false}));
    EXPECT_EQ(stations[0].used, (std::array<bool, 3>{false, false, false}));
    EXPECT_EQ(stations[1].stationCode, "XYZ     ");
    EXPECT_EQ(stations[1].available, (std::array<bool, 3>{true, false, true}));
    EXPECT_EQ(stations[1].used, (std::array<bool, 3>{true, false, false}));
    EXPECT_EQ(stations[1].componentFile[kVertical], "XYZ.BHZ");
    EXPECT_EQ(stations[1].componentFile[kEastWest], "XYZ.BHE");
}

TEST_F(StationListTest, NulPaddedCodeIsTheSameStationWithoutNuls) {
    write("ANMO.BHZ", std::string("ANMO\0\0\0\0", 8), 0, 0);
    write("ANMO.BHE", "ANMO", 90, 90);
    std::vector<Station> stations = build();
    ASSERT_EQ(stations.size(), 1u);
    EXPECT_EQ(stations[0].stationCode, "ANMO    ");
    EXPECT_EQ(stations[0].available, (std::array<bool, 3>{true, false, true}));
}

TEST_F(StationListTest, OnlyFilesTheEventFileCanNameAreOffered) {
    const std::string longest = "iu.anmo.00.bhz.m.2011.070.05452";  // 31 characters
    write(longest, "ANMO", 0, 0);
    write(longest + "4", "KIP", 0, 0);
    list(longest);
    std::vector<Station> stations = build();
    ASSERT_EQ(stations.size(), 1u);
    EXPECT_EQ(stations[0].stationCode, "ANMO    ");
    EXPECT_EQ(stations[0].componentFile[kVertical], "IU.ANMO.00.BHZ.M.2011.070.05452");
    EXPECT_TRUE(stations[0].used[kVertical]);
}

TEST_F(StationListTest, ChosenComponentOfTheFirstFileIsUsedToo) {
    write("XYZ.BHE", "XYZ", 90, 90);
    write("XYZ.BHZ", "XYZ", 0, 0);
    list("XYZ.BHE");
    list("XYZ.BHZ");
    std::vector<Station> stations = build();
    ASSERT_EQ(stations.size(), 1u);
    EXPECT_EQ(stations[0].used, (std::array<bool, 3>{true, false, true}));
}

TEST_F(StationListTest, MissingOrEmptyDirectoryIsReportedOnce) {
    EXPECT_TRUE(build().empty());
    EXPECT_EQ(messages, std::vector<std::string>{"No files found"});

    messages.clear();
    std::filesystem::remove(data);
    EXPECT_TRUE(build().empty());
    EXPECT_EQ(messages, std::vector<std::string>{"No files found"});

    // A plain file where the directory should be.
    messages.clear();
    std::ofstream(data) << "x";
    EXPECT_TRUE(build().empty());
    EXPECT_EQ(messages, std::vector<std::string>{"No files found"});
}

TEST_F(StationListTest, UnreadableFilesAreNoStationsAndNotReported) {
    std::ofstream(data + "/JUNK.BHZ") << "short";
    auto bytes = swappedWords(encodeSac(typicalTrace()));
    writeBytes(data + "/LITTLE.BHZ", bytes);
    EXPECT_TRUE(build().empty());
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(buildStationList(event, nullptr).empty());  // no reporter: still quiet
}

}  // namespace
