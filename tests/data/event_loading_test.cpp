#include "data/event_loading.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/station.h"
#include "data/text_scan.h"
#include "model/geometry.h"
#include "tests/data/event_files.h"
#include "tests/data/trace_files.h"
#include "tests/support/temp_dir.h"

using namespace orvane;
using namespace orvane::testing;

namespace {

// The Northridge event file up to its origin time.
const std::string kHeader = [] {
    std::string text = kNorthridge;
    return text.substr(0, text.find("TIME ACCELERATION"));
}();

class EventLoadingTest : public ::testing::Test {
protected:
    EventLoadingTest() : cwd(dir.path()) { std::filesystem::create_directory(dir.file("1994011712")); }

    // A trace at `latitude` on the event's meridian, recorded from the origin on.
    void trace(const std::string& name, const std::string& code, float latitude) {
        SacTrace t = typicalTrace(100);
        t.station = code;
        t.stationLatitude = latitude;
        t.stationLongitude = -118.537f;
        ASSERT_TRUE(writeSac(dir.file("1994011712/" + name), t));
    }

    void eventFile(const std::string& text, const std::string& name = "1994011712.evt") {
        std::ofstream(dir.file(name), std::ios::binary) << text;
    }

    // A table whose column c holds (k + 1) * (10 + c) seconds at k degrees.
    void table(const std::string& phase, int lines = 181) {
        std::ofstream out(dir.file(phase + ".JB"));
        for (int k = 0; k < lines; ++k) {
            std::string line = format("%5d", k);
            for (int c = 0; c < 14; ++c) line += format("%7.1f", (k + 1) * (10.0 + c));
            out << line << "\n";
        }
    }

    std::vector<std::string> codes() const {
        std::vector<std::string> out;
        for (const auto& t : event.traceList) out.push_back(t->stationCode);
        return out;
    }

    TempDir dir;
    ScopedCurrentDir cwd;
    LoadedEvent event;
};

TEST_F(EventLoadingTest, ReadsTheEventValues) {
    eventFile(std::string(kHeader) +
              "TIME ACCELERATION: 2.5\nTIME WINDOW: 600\nTIME LIMIT: 3600\nVIEW ANGLE: 240\n");
    ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
    EXPECT_EQ(event.eventPath, "1994011712.evt");
    EXPECT_EQ(event.eventDirectory, "1994011712");
    EXPECT_EQ(event.name, "Northridge, California");
    EXPECT_FLOAT_EQ(event.latitude, 34.213f);
    EXPECT_FLOAT_EQ(event.longitude, -118.537f);
    EXPECT_FLOAT_EQ(event.depth, 18.4f);
    EXPECT_FLOAT_EQ(event.magnitude, 6.7f);
    EXPECT_FLOAT_EQ(event.timeAcceleration, 2.5f);
    EXPECT_EQ(event.timeWindow, 600);
    EXPECT_EQ(event.timeLimit, 3600);
    EXPECT_EQ(event.viewAngle, 240);
    EXPECT_EQ(event.date, "1994/01/17");
    EXPECT_EQ(event.originTime, "12:30:55.4");
    EXPECT_EQ(event.displayDate, "Jan. 17, 1994");
    EXPECT_EQ(event.year, 1994);
    EXPECT_EQ(event.month, 1);
    EXPECT_EQ(event.day, 17);
    EXPECT_EQ(event.hour, 12);
    EXPECT_EQ(event.minute, 30);
    EXPECT_EQ(event.second, 55);
    EXPECT_EQ(event.millisecond, 400);
    EXPECT_DOUBLE_EQ(event.originEpoch, epochSeconds(1994, 1, 17, 12, 30, 55, 400));
    // The frame-export directories.
    for (const char* sub : {"sos", "sos/earth", "sos/cross_section", "sos/seismograms"})
        EXPECT_TRUE(std::filesystem::is_directory(dir.file(std::string("1994011712/") + sub))) << sub;
}

TEST_F(EventLoadingTest, MissingLinesGiveTheDefaults) {
    event.timeWindow = 300;
    event.timeLimit = 10;
    event.timeAcceleration = 7;
    event.latitude = 12;
    event.name = "Earlier";
    eventFile("EVENT DATE: 2004/03/01\n");
    ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
    EXPECT_EQ(event.timeWindow, 1800);
    EXPECT_EQ(event.timeLimit, 7200);
    EXPECT_FLOAT_EQ(event.timeAcceleration, 20.0f);
    EXPECT_EQ(event.latitude, 0);
    EXPECT_EQ(event.name, "Earlier");  // the previous event's value stays
    EXPECT_TRUE(event.traceList.empty());
}

TEST_F(EventLoadingTest, MissingEventFileChangesOnlyThePath) {
    trace("A.BHZ", "AAA", 40);
    eventFile(std::string(kHeader) + "STATION FILE: A.BHZ\n");
    ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
    ASSERT_EQ(event.traceList.size(), 1u);
    EXPECT_FALSE(loadEvent(event, "nothing.evt"));
    EXPECT_EQ(event.eventPath, "nothing.evt");
    EXPECT_EQ(event.eventDirectory, "1994011712");
    EXPECT_EQ(event.traceList.size(), 1u);
    // An empty path means the current one again.
    EXPECT_FALSE(loadEvent(event, ""));
    EXPECT_EQ(event.eventPath, "nothing.evt");
}

TEST_F(EventLoadingTest, TracesAreSortedByDistanceAndMissingOnesDropped) {
    trace("FAR.BHZ", "FAR", -30);   // about 64 degrees
    trace("near.bhz", "NEAR", 40);  // about 6 degrees; named in lower case on disk
    // A missing file and a directory are no traces.
    eventFile(std::string(kHeader) +
              "STATION FILE: far.bhz\nSTATION FILE: GONE.BHZ\nSTATION FILE: SOS\n"
              "STATION FILE: NEAR.BHZ\n");
    ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
    EXPECT_EQ(codes(), (std::vector<std::string>{"NEAR", "FAR"}));
    EXPECT_LT(event.traceList[0]->floatWord(sac::GCARC), event.traceList[1]->floatWord(sac::GCARC));
    EXPECT_NEAR(event.traceList[0]->floatWord(sac::GCARC), 40 - 34.213f, 1e-3);
    // The traces are placed against this event's origin.
    EXPECT_NEAR(event.traceList[0]->startTime, 0.0f, 1e-3);
    EXPECT_EQ(event.traceList[0]->fileName, "NEAR.BHZ");

    // Loading again replaces the traces; nothing is duplicated.
    ASSERT_TRUE(loadEvent(event, ""));
    EXPECT_EQ(codes(), (std::vector<std::string>{"NEAR", "FAR"}));
}

TEST_F(EventLoadingTest, ArrivalTimesFromTheCurvesOfTheEventDepth) {
    table("P");
    table("S", 20);  // ends at 19 degrees
    trace("NEAR.BHZ", "NEAR", 40);
    eventFile(std::string(kHeader) + "STATION FILE: NEAR.BHZ\n");
    ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
    EXPECT_EQ(event.curves[0].count, 181);
    EXPECT_EQ(event.curves[1].count, 20);
    EXPECT_EQ(event.curves[2].count, 0);
    ASSERT_EQ(event.traceList.size(), 1u);
    const KSAC& t = *event.traceList[0];
    // Depth 18.4 km reads column 0: (k + 1) * 10 s at k degrees.
    float gcarc = t.floatWord(sac::GCARC);
    EXPECT_EQ(t.arrivalP, static_cast<int>((gcarc + 1) * 10));
    EXPECT_GT(t.arrivalS, 0);
    EXPECT_EQ(t.arrivalPP, 0);

    // A trace beyond the S table's last distance has no S arrival.
    trace("FAR.BHZ", "FAR", -30);
    eventFile(std::string(kHeader) + "STATION FILE: FAR.BHZ\n");
    ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
    EXPECT_GT(event.traceList[0]->arrivalP, 0);
    EXPECT_EQ(event.traceList[0]->arrivalS, 0);

    // Without a depth line the previous curves stay in force.
    std::filesystem::remove(dir.file("P.JB"));
    eventFile("EVENT DATE: 1994/01/17\n");
    ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
    EXPECT_EQ(event.curves[0].count, 181);
}

TEST_F(EventLoadingTest, StationDescriptionsFromTheStationFile) {
    trace("A.BHZ", "ANMO", 35);
    trace("B.BHZ", "KONO", 45);
    std::ofstream(dir.file("ZOZERO.STA"))
        << "ANMO    Albuquerque, New Mexico, USA    34.9462N 106.4567W\n"
        << std::string(200, 'K') << "\n"  // over-long line: ignored whole
        << "KON     Not this one                    59.6491N   9.5982E\n"
        << "\n";
    eventFile(std::string(kHeader) + "STATION FILE: A.BHZ\nSTATION FILE: B.BHZ\n");
    ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
    ASSERT_EQ(event.traceList.size(), 2u);
    EXPECT_EQ(event.traceList[0]->description, "Albuquerque, New Mexico, USA");
    EXPECT_EQ(event.traceList[1]->description, "");
}

TEST_F(EventLoadingTest, NulPaddedStationCodeFindsItsDescription) {
    trace("A.BHZ", std::string("ANMO\0\0\0\0", 8), 35);
    std::ofstream(dir.file("ZOZERO.STA")) << "ANMO    Albuquerque, New Mexico, USA    34.9462N 106.4567W\n";
    eventFile(std::string(kHeader) + "STATION FILE: A.BHZ\n");
    ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
    ASSERT_EQ(event.traceList.size(), 1u);
    EXPECT_EQ(event.traceList[0]->stationCode, "ANMO");
    EXPECT_EQ(event.traceList[0]->description, "Albuquerque, New Mexico, USA");
}

TEST_F(EventLoadingTest, LongStationFileNamesAndUtf8Names) {
    trace("IU.ANMO.00.BHZ.M.2011.070.05452", "ANMO", 35);
    eventFile("EVENT NAME: Землетрясение у Тохоку, Япония\n" + std::string(kHeader).substr(35) +
              "STATION FILE: IU.ANMO.00.BHZ.M.2011.070.05452\n");
    ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
    EXPECT_EQ(event.name, "Землетрясение у Тохо");
    ASSERT_EQ(event.traceList.size(), 1u);
    EXPECT_EQ(event.traceList[0]->fileName, "IU.ANMO.00.BHZ.M.2011.070.05452");
}

TEST_F(EventLoadingTest, OriginTimeParts) {
    eventFile("EVENT DATE: 2004/02/29\nORIGIN TIME: 23:59:07.95\n");
    ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
    EXPECT_EQ(event.second, 7);
    EXPECT_EQ(event.millisecond, 950);
    EXPECT_EQ(event.displayDate, "Feb. 29, 2004");
    EXPECT_DOUBLE_EQ(event.originEpoch, epochSeconds(2004, 2, 29, 23, 59, 7, 950));

    // A malformed or impossible time leaves the previous instant.
    for (const char* bad : {"ORIGIN TIME: 12:30\n", "ORIGIN TIME: 25:00:00.0\n",
                            "ORIGIN TIME: 12:61:00.0\n", "ORIGIN TIME: 12:30:-1.0\n"}) {
        eventFile(std::string("EVENT DATE: 2004/02/29\n") + bad);
        ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
        EXPECT_EQ(event.hour, 23) << bad;
        EXPECT_DOUBLE_EQ(event.originEpoch, epochSeconds(2004, 2, 29, 23, 59, 7, 950)) << bad;
    }
    eventFile("EVENT DATE: 2004/13/01\nORIGIN TIME: 01:00:00.0\n");
    ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
    EXPECT_EQ(event.month, 2);
}

TEST_F(EventLoadingTest, TimeWindowIsAtLeastTwoSeconds) {
    for (auto [text, expected] : {std::pair{"0", 2}, {"-600", 2}, {"1", 2}, {"2", 2}, {"300", 300},
                                  {"99999", 32767}}) {
        eventFile(std::string("TIME WINDOW: ") + text + "\n");
        ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
        EXPECT_EQ(event.timeWindow, expected) << text;
    }
}

TEST_F(EventLoadingTest, ValuesBeyondSixteenBits) {
    eventFile("TIME LIMIT: 40000\nVIEW ANGLE: 40000\n");
    ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
    EXPECT_EQ(event.timeLimit, 32767);
    EXPECT_EQ(event.viewAngle, 40);  // 40000 degrees is 111 turns and 40 degrees

    eventFile("TIME LIMIT: -5\nVIEW ANGLE: -40010\n");
    ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
    EXPECT_EQ(event.timeLimit, 0);
    EXPECT_EQ(event.viewAngle, -50);

    // Numbers beyond 32 bits do not scan: the default and the previous value stay.
    eventFile("TIME LIMIT: 99999999999\nVIEW ANGLE: 99999999999\n");
    ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
    EXPECT_EQ(event.timeLimit, 7200);
    EXPECT_EQ(event.viewAngle, -50);
}

TEST_F(EventLoadingTest, OverLongLinesAreReadInPiecesAndTheRestDropped) {
    trace("A.BHZ", "AAA", 40);
    // The continuation of the long name line would read as a station line.
    std::string name = "EVENT NAME: " + std::string(67, 'N') + "STATION FILE: A.BHZ\r\n";
    ASSERT_EQ(name.find("STATION"), 79u);
    eventFile(name + "EVENT LATITUDE: " + std::string(200, '1') + "\n" +
              "TIME ACCELERATION: 3.5\r\n");
    ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
    EXPECT_EQ(event.name, std::string(39, 'N'));
    EXPECT_TRUE(event.traceList.empty());
    EXPECT_FLOAT_EQ(event.timeAcceleration, 3.5f);
    EXPECT_EQ(event.latitude, 0);  // a number too large for a float does not scan
}

TEST_F(EventLoadingTest, HundredsOfStationFiles) {
    trace("A.BHZ", "AAA", 60);
    trace("B.BHZ", "BBB", 50);
    trace("C.BHZ", "CCC", 40);
    std::string text = kHeader;
    for (int i = 0; i < 300; ++i) text += std::string("STATION FILE: ") + "ABCD"[i % 4] + ".BHZ\n";
    eventFile(text);
    ASSERT_TRUE(loadEvent(event, "1994011712.evt"));
    ASSERT_EQ(event.traceList.size(), 225u);  // every fourth names a missing file
    EXPECT_EQ(event.traceList.front()->stationCode, "CCC");
    EXPECT_EQ(event.traceList[74]->stationCode, "CCC");
    EXPECT_EQ(event.traceList[75]->stationCode, "BBB");
    EXPECT_EQ(event.traceList.back()->stationCode, "AAA");
}

TEST_F(EventLoadingTest, ProgramWideEventAndRelease) {
    trace("A.BHZ", "AAA", 40);
    eventFile(std::string(kHeader) + "STATION FILE: A.BHZ\n");
    ASSERT_TRUE(loadEvent(dir.file("1994011712.evt")));
    EXPECT_EQ(loadedEvent().traceList.size(), 1u);
    EXPECT_EQ(loadedEvent().eventDirectory, dir.file("1994011712"));
    releaseTraces();
    EXPECT_TRUE(loadedEvent().traceList.empty());
}

}  // namespace
