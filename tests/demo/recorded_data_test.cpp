// The README's path from recorded data to an event: SAC files made by our
// writer stand in for a data centre's recordings. They go to miniSEED with
// sac2mseed, come back with `mseed2sac -f 4` and the station metadata in the
// FDSN text format (vertical bars, SEED dips), are renamed to STATION.CHANNEL
// in the directory of an event saved the way the maintenance program saves a
// new one, and then load as the viewer loads an event.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "data/event.h"
#include "data/event_loading.h"
#include "data/files.h"
#include "data/sac.h"
#include "data/station.h"
#include "model/geometry.h"
#include "tests/support/temp_dir.h"
#include "tools/demo/demo_builder.h"

namespace orvane {
namespace {

int run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

struct Channel {
    const char* code;
    float seedDip;  // degrees down from horizontal, as data centres list it
    char component;
};

TEST(RecordedData, MiniSeedWithStationMetadataBecomesALoadableEvent) {
    ASSERT_EQ(run("command -v sac2mseed && command -v mseed2sac"), 0)
        << "sac2mseed and mseed2sac are installed by scripts/install-deps";
    TempDir dir;
    ScopedCurrentDir cwd(dir.path());

    // Three stations of the Tohoku event; the "recordings" start 84.1 s before
    // the origin (05:45:00.000), as a data centre's request window would.
    const PlannedEvent planned = [] {
        for (PlannedEvent& p : planEvents(defaultDemoOptions()))
            if (p.source == &tutorialEvent()) return p;
        return PlannedEvent{};
    }();
    ASSERT_TRUE(planned.source);
    const std::size_t picks[] = {0, planned.stations.size() / 2, planned.stations.size() - 1};
    const Channel channels[] = {{"BHZ", -90, 'Z'}, {"BHN", 0, 'N'}, {"BHE", 0, 'E'}};

    std::ofstream meta("metadata.txt");
    meta << "#Network | Station | Location | Channel | Latitude | Longitude | Elevation | Depth | Azimuth | Dip | "
            "SensorDescription | Scale | ScaleFreq | ScaleUnits | SampleRate | StartTime | EndTime\n";
    std::map<std::string, std::vector<float>> written;
    for (std::size_t pick : picks) {
        const SelectedStation& s = planned.stations[pick];
        const std::string code(s.station->code);
        ThreeComponents recorded = synthesize(stationRequest(planned, pick));
        const std::vector<float>* samples[] = {&recorded.vertical, &recorded.north, &recorded.east};
        for (int c = 0; c < 3; ++c) {
            SacTrace t;
            t.delta = 0.05f;
            t.begin = 0;
            t.year = 2011;
            t.dayOfYear = dayOfYear(2011, 3, 11);
            t.hour = 5;
            t.minute = 45;
            t.station = code;
            t.component = channels[c].code;
            t.network = std::string(s.station->network);
            // A miniSEED recording knows nothing of where the station is or
            // how the sensor points; only the metadata brings that back.
            t.samples = *samples[c];
            written[code + "." + channels[c].code] = t.samples;
            std::string sacName = code + "." + channels[c].code + ".in";
            ASSERT_TRUE(writeSac(sacName, t));
            ASSERT_EQ(run("sac2mseed -e 4 -l 00 -o " + code + channels[c].code + ".mseed " + sacName), 0);
            meta << s.station->network << "|" << code << "|00|" << channels[c].code << "|" << s.station->latitude
                 << "|" << s.station->longitude << "|1000|100|" << (c == 2 ? 90 : 0) << "|" << channels[c].seedDip
                 << "|Streckeisen STS-1|2.5E9|0.05|M/S|20.0|2000-01-01T00:00:00|2599-12-31T23:59:59\n";
        }
    }
    meta.close();

    // The conversion the README gives.
    ASSERT_EQ(run("mseed2sac -f 4 -m metadata.txt *.mseed"), 0);

    // The event, entered as in the maintenance program's editor and saved as new.
    Event event = toEvent(tutorialEvent());
    for (std::size_t pick : picks) {
        StationFile f;
        f.fileName = std::string(planned.stations[pick].station->code) + ".BHZ";
        event.stationFiles.push_back(f);
    }
    ASSERT_TRUE(event.saveAsNew());
    EXPECT_EQ(event.fileName, "2011031105.evt");
    std::filesystem::create_directory(event.dataDirectory());

    // Rename each converted file to STATION.CHANNEL inside the event's directory.
    for (const auto& [name, samples] : written) {
        std::string code = name.substr(0, name.find('.')), channel = name.substr(name.find('.') + 1);
        std::string network;
        for (const GlobalStation& g : globalStations())
            if (g.code == code) network = std::string(g.network);
        auto converted = listDirectory(".", network + "." + code + ".00." + channel + ".*.SAC");
        ASSERT_TRUE(converted && converted->size() == 1) << name;
        std::string path = event.dataDirectory() + "/" + name;
        std::filesystem::rename(converted->front(), path);
        // Orientation in SAC terms: incidence from the vertical, azimuth from north.
        KSAC header(path, false);
        EXPECT_FLOAT_EQ(header.floatWord(sac::CMPINC), channel == "BHZ" ? 0.0f : 90.0f) << name;
        EXPECT_FLOAT_EQ(header.floatWord(sac::CMPAZ), channel == "BHE" ? 90.0f : 0.0f) << name;
    }

    LoadedEvent loaded;
    ASSERT_TRUE(loadEvent(loaded, event.fileName));
    ASSERT_EQ(loaded.traceList.size(), 3u);
    const double early = epochSeconds(2011, 3, 11, 5, 45, 0, 0) - epochSeconds(2011, 3, 11, 5, 46, 24, 100);
    for (std::size_t i = 0; i < 3; ++i) {
        const KSAC& trace = *loaded.traceList[i];
        const SelectedStation& s = planned.stations[picks[i]];  // sorted by distance, as the picks are
        EXPECT_EQ(trace.stationCode, s.station->code);
        EXPECT_EQ(trace.samples, written[std::string(s.station->code) + ".BHZ"]);
        EXPECT_NEAR(trace.startTime, early, 0.01);
        EXPECT_NEAR(trace.stationLatitude, s.station->latitude, 1e-3);
        EXPECT_NEAR(trace.stationLongitude, s.station->longitude, 1e-3);
        EXPECT_NEAR(trace.floatWord(sac::GCARC), s.distance, 0.05);
    }

    // Select Stations offers all three components of each, told apart by the
    // orientation that mseed2sac took from the metadata.
    std::vector<Station> stations = buildStationList(Event(event.fileName), {});
    ASSERT_EQ(stations.size(), 3u);
    for (const Station& st : stations) {
        EXPECT_TRUE(st.available[kVertical] && st.available[kNorthSouth] && st.available[kEastWest]) << st.stationCode;
        EXPECT_TRUE(st.used[kVertical]);
        EXPECT_FALSE(st.used[kNorthSouth] || st.used[kEastWest]);
        EXPECT_EQ(st.componentFile[kNorthSouth].substr(st.componentFile[kNorthSouth].size() - 3), "BHN");
    }
}

}  // namespace
}  // namespace orvane
