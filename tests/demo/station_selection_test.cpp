#include "tools/demo/station_selection.h"

#include <gtest/gtest.h>

#include <set>

#include "tools/demo/demo_events.h"

namespace orvane {
namespace {

TEST(GreatCircle, ArcsAndAzimuthsOfKnownPoints) {
    EXPECT_NEAR(arcDegrees(0, 0, 0, 90), 90, 1e-9);
    EXPECT_NEAR(arcDegrees(10, 20, 10, 20), 0, 1e-9);
    EXPECT_NEAR(arcDegrees(0, 0, 0, 180), 180, 1e-9);
    EXPECT_NEAR(arcDegrees(90, 0, -90, 0), 180, 1e-9);
    EXPECT_NEAR(arcDegrees(0, 179, 0, -179), 2, 1e-9);  // across the date line
    EXPECT_NEAR(azimuthDegrees(0, 0, 10, 0), 0, 1e-9);
    EXPECT_NEAR(azimuthDegrees(0, 0, 0, 10), 90, 1e-9);
    EXPECT_NEAR(azimuthDegrees(0, 0, -10, 0), 180, 1e-9);
    EXPECT_NEAR(azimuthDegrees(0, 0, 0, -10), 270, 1e-9);
    // Albuquerque to Harvard: roughly north-east, about 28 degrees away.
    EXPECT_NEAR(arcDegrees(34.9459, -106.4572, 42.5064, -71.5583), 28.0, 0.5);
    double az = azimuthDegrees(34.9459, -106.4572, 42.5064, -71.5583);
    EXPECT_GT(az, 50);
    EXPECT_LT(az, 75);
}

TEST(StationSelection, EveryDemoEventGetsStationsSpreadInDistanceAndAzimuth) {
    for (const DemoEvent& event : demoEvents()) {
        auto stations = selectStations(event.latitude, event.longitude, 16);
        ASSERT_GE(stations.size(), 12u) << event.name;
        ASSERT_LE(stations.size(), 20u) << event.name;
        std::set<std::string_view> codes;
        std::set<int> quadrants;
        for (std::size_t i = 0; i < stations.size(); ++i) {
            EXPECT_GE(stations[i].distance, 10.0);
            EXPECT_LE(stations[i].distance, 170.0);
            if (i > 0) {
                EXPECT_LE(stations[i - 1].distance, stations[i].distance);
            }
            codes.insert(stations[i].station->code);
            quadrants.insert(static_cast<int>(stations[i].azimuth / 90.0));
        }
        EXPECT_EQ(codes.size(), stations.size()) << "a station chosen twice";
        EXPECT_GE(quadrants.size(), 3u) << event.name;
        // Near and far stations alike: both sides of the core shadow.
        EXPECT_LT(stations.front().distance, 40.0) << event.name;
        EXPECT_GT(stations.back().distance, 120.0) << event.name;
    }
}

TEST(StationSelection, BackAzimuthPointsFromTheStationToTheEvent) {
    auto stations = selectStations(38.297, 142.373, 16);
    for (const auto& s : stations)
        EXPECT_NEAR(s.backAzimuth, azimuthDegrees(s.station->latitude, s.station->longitude, 38.297, 142.373), 1e-9);
}

TEST(StationSelection, DeterministicAndBoundedByTheRequest) {
    auto a = selectStations(-13.841, -67.553, 14);
    auto b = selectStations(-13.841, -67.553, 14);
    ASSERT_EQ(a.size(), 14u);
    for (std::size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i].station, b[i].station);
    EXPECT_TRUE(selectStations(0, 0, 0).empty());
}

TEST(SpreadIndexes, EvenlyFromNearestToFarthest) {
    EXPECT_EQ(spreadIndexes(16, 8), (std::vector<std::size_t>{0, 2, 4, 6, 9, 11, 13, 15}));
    EXPECT_EQ(spreadIndexes(5, 8), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(spreadIndexes(10, 1), (std::vector<std::size_t>{0}));
    EXPECT_EQ(spreadIndexes(10, 2), (std::vector<std::size_t>{0, 9}));
    EXPECT_TRUE(spreadIndexes(0, 8).empty());
    EXPECT_TRUE(spreadIndexes(8, 0).empty());
}

}  // namespace
}  // namespace orvane
