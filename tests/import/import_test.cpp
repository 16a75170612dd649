// orvane-import end to end: recordings made here (several encodings, record
// lengths, a gap, a pair of horizontals at 30 and 120 degrees, a 40-sample
// channel, a sensor pointing down, a channel without metadata) become an
// event that the viewer's own loader reads, with the recorded P onsets at
// the viewer's P marks.
#include <gtest/gtest.h>

#include <filesystem>

#include "data/event.h"
#include "data/event_loading.h"
#include "data/files.h"
#include "data/sac.h"
#include "data/station.h"
#include "tests/import/recordings.h"
#include "tests/import/run_program.h"
#include "tests/support/temp_dir.h"

namespace orvane::import {
namespace {

namespace fs = std::filesystem;
using namespace testing;

struct Site {
    const char* network;
    const char* code;
    double distance, azimuth;
    const char* stream;  // band and instrument
    double rate;
    const char* horizontals;  // "NE", "12" or "" (vertical only)
    double dip;               // of the vertical
    int encoding, recordLength;
    bool xml;
};

const Site kSites[] = {
    {"IU", "AAA", 22, 30, "BH", 20, "NE", -90, DE_STEIM2, 512, false},
    {"IU", "BBB", 48, 200, "BH", 20, "12", -90, DE_STEIM1, 4096, true},
    {"II", "CCC", 75, 300, "BH", 20, "NE", -90, DE_FLOAT32, 256, false},
    {"IU", "DDD", 95, 100, "HH", 40, "NE", -90, DE_INT16, 1024, true},
    {"IU", "EEE", 88, 160, "BH", 20, "", 90, DE_INT32, 512, false},
};
constexpr double kPairAzimuth = 30;  // BH1; BH2 is 90 degrees clockwise of it

// The motion a station records: vertical, north and east.
struct Motion {
    double start;
    std::vector<float> z, n, e;
};

Motion motionAt(const Site& s, unsigned seed) {
    Motion m;
    // A start off the millisecond grid, as real recordings have.
    m.start = origin() - 60 + 0.0375;
    double onset = pTime(s.distance) + 60 - 0.0375;
    auto count = static_cast<std::size_t>((onset + 200) * s.rate);
    m.z = groundMotion(0, s.rate, count, onset, 1000, seed);
    m.n = groundMotion(0, s.rate, count, onset, 700, seed + 1);
    m.e = groundMotion(0, s.rate, count, onset, -400, seed + 2);
    return m;
}

class ImportProgram : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(data_);
        fs::create_directories(work_);
        std::vector<MetaChannel> text, xml;
        unsigned seed = 1;
        for (const Site& s : kSites) {
            double lat, lon;
            destination(s.distance, s.azimuth, lat, lon);
            Motion m = motionAt(s, seed += 10);
            motions_.push_back(m);
            auto& meta = s.xml ? xml : text;
            auto channel = [&](const std::string& code, double az, double dip, const std::vector<float>& samples) {
                ChannelId id{s.network, s.code, "00", std::string(s.stream) + code};
                meta.push_back({id, lat, lon, az, dip, s.rate, std::string("Site ") + s.code});
                std::string file = (data_ / (id.text() + ".mseed")).string();
                if (std::string(s.code) == "AAA" && code == "Z") {
                    // Two pieces with 2.5 s missing between them.
                    std::size_t cut = samples.size() / 3, resume = cut + static_cast<std::size_t>(2.5 * s.rate);
                    writeBytes(file, miniSeed(id, m.start, s.rate, {samples.begin(), samples.begin() + cut}, s.encoding,
                                              s.recordLength));
                    writeBytes(file,
                               miniSeed(id, m.start + resume / s.rate, s.rate,
                                        {samples.begin() + resume, samples.end()}, s.encoding, s.recordLength),
                               true);
                } else {
                    writeBytes(file, miniSeed(id, m.start, s.rate, samples, s.encoding, s.recordLength));
                }
            };
            std::vector<float> z = m.z;
            if (s.dip > 0)
                for (float& v : z) v = -v;  // a sensor pointing down
            channel("Z", 0, s.dip, z);
            if (std::string(s.horizontals) == "NE") {
                channel("N", 0, 0, m.n);
                channel("E", 90, 0, m.e);
            } else if (std::string(s.horizontals) == "12") {
                double a1 = kPairAzimuth * M_PI / 180, a2 = a1 + M_PI / 2;
                std::vector<float> x1(m.n.size()), x2(m.n.size());
                for (std::size_t i = 0; i < x1.size(); ++i) {
                    x1[i] = static_cast<float>(m.n[i] * std::cos(a1) + m.e[i] * std::sin(a1));
                    x2[i] = static_cast<float>(m.n[i] * std::cos(a2) + m.e[i] * std::sin(a2));
                }
                channel("1", kPairAzimuth, 0, x1);
                channel("2", kPairAzimuth + 90, 0, x2);
            }
        }
        // A recording nobody described.
        writeBytes((data_ / "XX.NOM.mseed").string(),
                   miniSeed({"XX", "NOM", "", "BHZ"}, origin(), 20, std::vector<float>(2000, 1.0f), DE_STEIM2, 512));
        writeText(textMeta_.string(), stationText(text));
        writeText(xmlMeta_.string(), stationXml(xml));
        // A station file made earlier: a line for AAA already, the last line
        // without its line end.
        writeText((work_ / "ZOZERO.STA").string(),
                  "AAA     Kept as it was                  1.0000N 2.0000E\n"
                  "KONO    Kongsberg, Norway               59.6491N 9.5982E");
    }

    std::vector<std::string> eventArguments() const {
        return {"--origin", "2011-03-11T05:46:24.1", "--lat", "38.3", "--lon", "142.4", "--depth", "33",
                "--mag",    "9.1",                   "--name", "Tohoku-oki test"};
    }

    // Copies the viewer's travel-time tables into the working directory.
    void tables() const {
        for (const char* phase : {"P", "S", "PP", "SS"})
            fs::copy_file(fs::path(ORVANE_BINARY_DIR "/tables") / (std::string(phase) + ".JB"),
                          work_ / (std::string(phase) + ".JB"), fs::copy_options::overwrite_existing);
    }

    TempDir dir_;
    fs::path data_ = dir_.path() / "recordings";
    fs::path work_ = dir_.path() / "work";
    fs::path textMeta_ = dir_.path() / "channels.txt";
    fs::path xmlMeta_ = dir_.path() / "stations.xml";
    std::vector<Motion> motions_;
};

// The time of the first sample after `from` whose size passes 50 counts,
// in seconds after the origin.
double onsetOf(const KSAC& trace) {
    for (std::size_t i = 0; i < trace.samples.size(); ++i)
        if (std::fabs(trace.samples[i]) > 50) return trace.startTime + static_cast<float>(i) * trace.floatWord(sac::DELTA);
    return -1;
}

TEST_F(ImportProgram, RecordingsBecomeAnEventTheViewerLoadsWithPOnTime) {
    std::vector<std::string> args = {"--workdir", work_.string(), "--metadata", textMeta_.string(),
                                     "--metadata", xmlMeta_.string()};
    for (const std::string& a : eventArguments()) args.push_back(a);
    args.push_back(data_.string());
    ProgramRun run = runImportProgram(args, dir_.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("XX.NOM..BHZ: no metadata"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("BH1/BH2 at azimuths 30.0 and 120.0 turned to north and east"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("1 gaps (2.50 s) filled"), std::string::npos) << run.err;

    // Exactly the event, its directory and the station file; nothing temporary.
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(work_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"2011031105", "2011031105.evt", "ZOZERO.STA"}));
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(work_ / "2011031105")) files.push_back(e.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"AAA.BHE", "AAA.BHN", "AAA.BHZ", "BBB.BHE", "BBB.BHN", "BBB.BHZ",
                                               "CCC.BHE", "CCC.BHN", "CCC.BHZ", "DDD.HHE", "DDD.HHN", "DDD.HHZ",
                                               "EEE.BHZ"}));

    // Existing lines kept byte for byte; one line for each new station.
    std::string stations = slurp(work_ / "ZOZERO.STA");
    const std::string kept =
        "AAA     Kept as it was                  1.0000N 2.0000E\n"
        "KONO    Kongsberg, Norway               59.6491N 9.5982E\n";
    EXPECT_EQ(stations.substr(0, kept.size()), kept);
    // Site names come with StationXML; channel-level text has none.
    for (const char* code : {"BBB     Site BBB", "CCC     II.CCC", "DDD     Site DDD", "EEE     IU.EEE"})
        EXPECT_NE(stations.find(code), std::string::npos) << code;
    EXPECT_EQ(std::count(stations.begin(), stations.end(), '\n'), 6);

    ScopedCurrentDir cd(work_);
    Event event("2011031105.evt");
    EXPECT_EQ(event.name, "Tohoku-oki test");
    EXPECT_EQ(event.date, "2011/03/11");
    EXPECT_EQ(event.originTime, "05:46:24.1");
    EXPECT_FLOAT_EQ(event.latitude, 38.3f);
    EXPECT_FLOAT_EQ(event.depth, 33.0f);
    EXPECT_EQ(event.viewAngle, 135);
    EXPECT_EQ(event.timeLimit, 3660);  // 95 degrees at 3 km/s, two minutes more, whole minutes
    std::vector<std::string> shown;
    for (const StationFile& f : event.stationFiles) shown.push_back(f.fileName);
    EXPECT_EQ(shown, (std::vector<std::string>{"AAA.BHZ", "BBB.BHZ", "CCC.BHZ", "EEE.BHZ", "DDD.HHZ"}));

    // The viewer's loader: five traces, nearest first, P where it marks it.
    tables();
    LoadedEvent loaded;
    ASSERT_TRUE(loadEvent(loaded, "2011031105.evt"));
    ASSERT_EQ(loaded.traceList.size(), 5u);
    const char* order[] = {"AAA", "BBB", "CCC", "EEE", "DDD"};
    for (std::size_t i = 0; i < 5; ++i) {
        const KSAC& trace = *loaded.traceList[i];
        EXPECT_EQ(trace.stationCode, order[i]);
        EXPECT_NEAR(trace.startTime, -60 + 0.0375, 0.002) << order[i];
        ASSERT_GT(trace.arrivalP, 0) << order[i];
        // The mark is whole seconds of the table; the onset is the first
        // sample above the noise.
        EXPECT_NEAR(onsetOf(trace), trace.arrivalP, 2.0) << order[i];
    }
    // The sensor pointing down reads as one pointing up.
    const KSAC& down = *loaded.traceList[3];
    double expected = motions_[4].z[static_cast<std::size_t>((onsetOf(down) + 60 - 0.0375) * 20) + 10];
    EXPECT_NEAR(down.samples[static_cast<std::size_t>((onsetOf(down) + 60 - 0.0375) * 20) + 10], expected, 0.5);
    EXPECT_FLOAT_EQ(loaded.traceList[4]->floatWord(sac::DELTA), 0.025f);  // 40 samples a second kept

    // BH1/BH2 turned back into the north and east motion.
    for (auto [name, truth] : {std::pair{"2011031105/BBB.BHN", &motions_[1].n}, {"2011031105/BBB.BHE", &motions_[1].e}}) {
        KSAC rotated(name, true);
        ASSERT_EQ(rotated.samples.size(), truth->size()) << name;
        double worst = 0;
        for (std::size_t i = 0; i < truth->size(); ++i)
            worst = std::max(worst, static_cast<double>(std::fabs(rotated.samples[i] - (*truth)[i])));
        EXPECT_LT(worst, 1.0) << name;  // Steim keeps whole counts: half a count per channel
    }

    // The map's station mode sees three components wherever there were three.
    std::vector<Station> list = buildStationList(event, {});
    ASSERT_EQ(list.size(), 5u);
    for (const Station& s : list) {
        bool all = s.available[kVertical] && s.available[kNorthSouth] && s.available[kEastWest];
        EXPECT_EQ(all, s.stationCode.rfind("EEE", 0) != 0) << s.stationCode;
        EXPECT_TRUE(s.used[kVertical]);
    }
}

TEST_F(ImportProgram, NamedStationsAllComponentsAndDecimation) {
    std::vector<std::string> args = {"--workdir",  work_.string(), "--metadata", textMeta_.string(),
                                     "--metadata", xmlMeta_.string(), "--stations", "ddd,IU.BBB",
                                     "--components", "ZNE", "--decimate"};
    for (const std::string& a : eventArguments()) args.push_back(a);
    for (const auto& e : fs::directory_iterator(data_)) args.push_back(e.path().string());
    ProgramRun run = runImportProgram(args, dir_.path());
    ASSERT_EQ(run.status, 0) << run.err;
    ScopedCurrentDir cd(work_);
    Event event("2011031105.evt");
    std::vector<std::string> shown;
    for (const StationFile& f : event.stationFiles) shown.push_back(f.fileName);
    EXPECT_EQ(shown, (std::vector<std::string>{"BBB.BHZ", "BBB.BHN", "BBB.BHE", "DDD.HHZ", "DDD.HHN", "DDD.HHE"}));
    tables();
    LoadedEvent loaded;
    ASSERT_TRUE(loadEvent(loaded, "2011031105.evt"));
    ASSERT_EQ(loaded.traceList.size(), 6u);
    for (const auto& trace : loaded.traceList) {
        EXPECT_FLOAT_EQ(trace->floatWord(sac::DELTA), 0.05f) << trace->fileName;
        EXPECT_NEAR(onsetOf(*trace), trace->arrivalP, 2.0) << trace->fileName;
    }
}

TEST_F(ImportProgram, FailuresSayWhyAndLeaveTheWorkingDirectoryAsItWas) {
    writeText((dir_.path() / "other.txt").string(),
              stationText({{{"ZZ", "ZZZ", "", "BHZ"}, 0, 0, 0, -90, 20, ""}}));
    writeText((dir_.path() / "garbage.xml").string(), "<FDSNStationXML><Network code=\"IU\">");
    writeText((work_ / "2011031105.evt").string(), "EVENT NAME: made before\n");
    const auto before = snapshot(work_);
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    auto with = [&](std::vector<std::string> head, const std::string& workdir, bool event = true) {
        std::vector<std::string> args = {"--workdir", workdir};
        args.insert(args.end(), head.begin(), head.end());
        if (event)
            for (const std::string& a : eventArguments()) args.push_back(a);
        return args;
    };
    fs::path fresh = dir_.path() / "fresh";
    fs::create_directory(fresh);
    const Case cases[] = {
        {with({"--metadata", textMeta_.string(), data_.string()}, work_.string()), 1, "already exists"},
        {with({"--metadata", (dir_.path() / "other.txt").string(), data_.string()}, fresh.string()), 1,
         "no metadata for any channel"},
        {with({"--metadata", textMeta_.string(), (dir_.path() / "missing.mseed").string()}, fresh.string()), 1,
         "missing.mseed"},
        {with({"--metadata", (dir_.path() / "garbage.xml").string(), data_.string()}, fresh.string()), 1,
         "holds no station metadata"},
        {with({"--metadata", textMeta_.string(), "--stations", "QQQ", data_.string()}, fresh.string()), 1, "QQQ"},
        {with({"--metadata", textMeta_.string(), textMeta_.string()}, fresh.string()), 1, "no miniSEED data records"},
        {{"--workdir", fresh.string(), "--metadata", textMeta_.string(), "--origin", "2015-01-01T00:00:00", "--lat",
          "1", "--lon", "2", "--depth", "3", "--mag", "5", "--name", "x", data_.string()},
         1,
         "no recording covers"},
        {{"--workdir", fresh.string(), "--origin", "2011-03-11 05:46", "--lat", "1", data_.string()}, 2, "--origin"},
        {with({"--metadata", textMeta_.string(), "--stations", "0", data_.string()}, fresh.string()), 2,
         "--stations"},
        {with({"--metadata", textMeta_.string(), "--bogus", "1", data_.string()}, fresh.string()), 2,
         "unknown option --bogus"},
    };
    for (const Case& c : cases) {
        ProgramRun run = runImportProgram(c.args, dir_.path());
        EXPECT_EQ(run.status, c.status) << c.message << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(snapshot(work_), before) << c.message;
        EXPECT_TRUE(fs::is_empty(fresh)) << c.message;
    }
}

}  // namespace
}  // namespace orvane::import
