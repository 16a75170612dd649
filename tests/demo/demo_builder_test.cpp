#include "tools/demo/demo_builder.h"

#include <gtest/gtest.h>

#include <QImage>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "app/run_state.h"
#include "data/event.h"
#include "data/files.h"
#include "data/sac.h"
#include "data/settings.h"
#include "data/station.h"
#include "model/geometry.h"
#include "model/travel_time_curve.h"
#include "model/travel_times.h"
#include "model/wavefronts.h"
#include "tools/demo/body_waves.h"
#include "tools/demo/midi_writer.h"
#include "tools/demo/texts.h"
#include "ui/text_windows.h"
#include "tests/support/temp_dir.h"

namespace orvane {
namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// One demonstration directory for every test of this build. CTest runs each
// test in a process of its own, so the first process builds it under a file
// lock and the others reuse it; the stamp names the test program that built
// it, so a rebuilt program builds it again. The tests only read it.
std::string sharedDemoDirectory(std::string& error) {
    namespace fs = std::filesystem;
    const fs::path root = fs::path(ORVANE_BINARY_DIR) / "tests" / "demo-fixture";
    fs::create_directories(root);
    int lock = ::open((root / "lock").c_str(), O_CREAT | O_RDWR, 0644);
    if (lock < 0 || ::flock(lock, LOCK_EX) != 0) {
        error = "cannot lock " + (root / "lock").string();
        if (lock >= 0) ::close(lock);
        return {};
    }
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    std::string stamp = self.string() + " " + std::to_string(fs::file_size(self, ec)) + " " +
                        std::to_string(fs::last_write_time(self, ec).time_since_epoch().count());
    const fs::path directory = root / "demo";
    if (readAll((root / "stamp").string()) != stamp || !fs::is_directory(directory)) {
        fs::remove(root / "stamp", ec);
        fs::remove_all(directory, ec);
        if (buildDemoDirectory(directory.string(), defaultDemoOptions(), error))
            std::ofstream(root / "stamp") << stamp;
    }
    ::close(lock);
    return error.empty() ? directory.string() : std::string();
}

class DemoDirectory : public ::testing::Test {
protected:
    static void SetUpTestSuite() { directory_ = sharedDemoDirectory(error_); }
    void SetUp() override { ASSERT_FALSE(directory_.empty()) << error_; }
    static std::string file(const std::string& name) { return joinPath(directory_, name); }
    static std::string top() { return directory_; }

    static std::string directory_;
    static std::string error_;
};
std::string DemoDirectory::directory_;
std::string DemoDirectory::error_;

TEST_F(DemoDirectory, EventFilesReadBackAsPlanned) {
    auto planned = planEvents(defaultDemoOptions());
    ASSERT_GE(planned.size(), 6u);
    for (const PlannedEvent& p : planned) {
        Event read(file(p.event.fileName));
        ASSERT_FALSE(read.fileName.empty()) << p.event.fileName;
        EXPECT_EQ(read.name, p.event.name);
        EXPECT_NEAR(read.latitude, p.source->latitude, 1e-4);
        EXPECT_NEAR(read.longitude, p.source->longitude, 1e-4);
        EXPECT_NEAR(read.depth, p.source->depth, 0.05);
        EXPECT_NEAR(read.magnitude, p.source->magnitude, 0.05);
        EXPECT_EQ(read.year, p.source->year);
        EXPECT_EQ(read.month, p.source->month);
        EXPECT_EQ(read.day, p.source->day);
        EXPECT_EQ(read.hour, p.source->hour);
        EXPECT_EQ(read.minute, p.source->minute);
        EXPECT_NEAR(read.second, p.source->second, 0.051);
        EXPECT_EQ(read.timeAcceleration, 20);
        EXPECT_EQ(read.timeWindow, 1800);
        EXPECT_EQ(read.timeLimit, p.event.timeLimit);
        EXPECT_EQ(read.viewAngle % 45, 0);
        // Named by the origin date and hour, the way the maintenance program names new files.
        EXPECT_EQ(p.event.fileName, eventFileName(p.source->year, p.source->month, p.source->day, p.source->hour));
        ASSERT_EQ(read.stationFiles.size(), p.event.stationFiles.size());
        EXPECT_GE(read.stationFiles.size(), 6u);
        for (std::size_t i = 0; i < read.stationFiles.size(); ++i) {
            EXPECT_EQ(read.stationFiles[i].fileName, p.event.stationFiles[i].fileName);
            EXPECT_LE(read.stationFiles[i].fileName.size(), Event::kStationFileWidth);
            EXPECT_EQ(read.stationFiles[i].fileName.substr(read.stationFiles[i].fileName.size() - 4), ".BHZ");
        }
        EXPECT_TRUE(std::filesystem::is_directory(file(p.event.dataDirectory())));
        EXPECT_TRUE(std::filesystem::exists(file(p.event.dataDirectory() + "/EVT.INF")));
    }
}

TEST_F(DemoDirectory, ViewAngleFacesTheEpicentreAndTimeLimitCoversTheSurfaceWaves) {
    for (const PlannedEvent& p : planEvents(defaultDemoOptions())) {
        double off = std::fabs(std::remainder(p.source->longitude - p.event.viewAngle, 360.0));
        EXPECT_LE(off, 22.5) << p.source->name;
        double farthest = 0;
        for (const auto& s : p.stations)
            for (const auto& f : p.event.stationFiles)
                if (f.fileName == std::string(s.station->code) + ".BHZ") farthest = std::max(farthest, s.distance);
        // The viewer's slower surface wave (0.03058 degrees a second), and the
        // slowest surface waves of the traces (3 km/s), reach the farthest shown station in time.
        EXPECT_GT(p.event.timeLimit, farthest / 0.03058) << p.source->name;
        EXPECT_GT(p.event.timeLimit, farthest * kKilometresPerDegree / 3.0) << p.source->name;
        EXPECT_LT(p.event.timeLimit, 32767);
    }
    EXPECT_EQ(facingViewAngle(142.4), 135);
    EXPECT_EQ(facingViewAngle(160), 180);
    EXPECT_EQ(facingViewAngle(-67.5), 270);  // halfway rounds away from zero
    EXPECT_EQ(facingViewAngle(-179), 180);
    EXPECT_EQ(facingViewAngle(-20), 0);
}

TEST_F(DemoDirectory, SettingsKeepTheDefaultsAndNameTheTutorialEvent) {
    Settings read;
    read.read(file("OV.INI"));
    Settings defaults;
    EXPECT_EQ(read.text(), [&] {
        defaults.tutorialEvent = toEvent(tutorialEvent()).fileName;
        return defaults.text();
    }());
    EXPECT_TRUE(std::filesystem::exists(file(read.tutorialEvent)));
}

TEST_F(DemoDirectory, StationDescriptionsReadBackThroughTheStationParser) {
    std::ifstream in(file("ZOZERO.STA"));
    std::string line;
    std::map<std::string, Station> read;
    while (std::getline(in, line)) {
        Station s(line);
        read[s.stationCode] = s;
    }
    for (const PlannedEvent& p : planEvents(defaultDemoOptions()))
        for (const auto& s : p.stations) {
            auto it = read.find(std::string(s.station->code));
            ASSERT_NE(it, read.end()) << s.station->code;
            EXPECT_NEAR(it->second.latitude, s.station->latitude, 1e-4);
            EXPECT_NEAR(it->second.longitude, s.station->longitude, 1e-4);
            EXPECT_EQ(it->second.stationName, std::string(s.station->site.substr(0, 31)));
        }
}

TEST_F(DemoDirectory, StationFileHasFixedColumnsForEveryStationUsed) {
    std::ifstream in(file("ZOZERO.STA"));
    std::string line;
    std::set<std::string> codes;
    std::regex position(R"((\d+\.\d{4})([NS]) (\d+\.\d{4})([EW]))");
    while (std::getline(in, line)) {
        ASSERT_LE(line.size(), 89u);
        ASSERT_GT(line.size(), 41u);
        std::string code = line.substr(0, 8);
        code = code.substr(0, code.find(' '));
        codes.insert(code);
        EXPECT_EQ(line[39], ' ');
        EXPECT_NE(line[40], ' ');
        std::smatch m;
        std::string rest = line.substr(40);
        ASSERT_TRUE(std::regex_match(rest, m, position)) << line;
    }
    for (const PlannedEvent& p : planEvents(defaultDemoOptions()))
        for (const auto& s : p.stations) EXPECT_TRUE(codes.count(std::string(s.station->code))) << s.station->code;
    EXPECT_EQ(stationDescriptionLine("ANMO", "Albuquerque, New Mexico, USA", 34.9459, -106.4572),
              "ANMO    Albuquerque, New Mexico, USA    34.9459N 106.4572W\n");
    // A name longer than its 31 columns is cut, so the position still starts in column 41.
    std::string cut = stationDescriptionLine("BFO", "Black Forest Observatory, Germany", 48.3301, 8.3296);
    EXPECT_EQ(cut.substr(40), "48.3301N 8.3296E\n");
    EXPECT_EQ(stationDescriptionLine("X", "Y", -0.5, -0.25).substr(40), "0.5000S 0.2500W\n");
}

TEST_F(DemoDirectory, TutorialListReadsBackThroughTheViewersLoader) {
    std::vector<TutorialEntry> list;
    ASSERT_TRUE(loadTutorialList(file("tutorial.txt"), list));
    // Every line fits one 39-character read, or the loader would make extra entries.
    std::vector<TutorialStep> read;
    for (const TutorialEntry& e : list) read.push_back({e.showAfter, e.waitLimit, e.topic});
    auto steps = tutorialSteps();
    ASSERT_EQ(read.size(), steps.size());
    ASSERT_GE(read.size(), 8u);
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].showAfter, steps[i].showAfter);
        EXPECT_EQ(read[i].waitLimit, steps[i].waitLimit);
        EXPECT_EQ(read[i].topic, steps[i].topic);
        EXPECT_TRUE(std::filesystem::exists(file(read[i].topic))) << read[i].topic;
        if (i > 1) {
            EXPECT_GT(read[i].showAfter, read[i - 1].showAfter);
        }
    }
    // Guided mode shows entries 1 .. n-2 while the clock runs; the last only
    // ends the tour, which must come before the tutorial event's run ends.
    Event tour(file(toEvent(tutorialEvent()).fileName));
    EXPECT_LT(static_cast<int>(read.back().showAfter), tour.timeLimit);
}

// Text as the information windows read it: not empty, no line of the file
// longer than their 99-character read, and a more-tag naming an existing file
// of at most 16 characters.
void expectInformationText(const std::string& path, const std::string& directory) {
    std::string raw = readAll(path);
    std::istringstream lines(raw);
    std::string line;
    while (std::getline(lines, line)) EXPECT_LT(line.size(), 99u) << path << ": " << line;
    std::string text = readInfoText(path);
    ASSERT_FALSE(text.empty()) << path;
    std::string more = extractMoreTag(text);
    EXPECT_EQ(text.find("<more"), std::string::npos) << path << ": a more-tag the reader did not take";
    if (!more.empty()) {
        EXPECT_LE(more.size(), 16u) << more;
        EXPECT_TRUE(std::filesystem::exists(joinPath(directory, more))) << path << " names " << more;
    }
}

TEST_F(DemoDirectory, InformationTextsAreInTheViewerFormat) {
    const std::string top = DemoDirectory::top();
    for (const char* name : {"MAP_EV.INF", "MAP_ST.INF", "3D.INF", "XS.INF", "SEIS.INF"}) {
        EXPECT_TRUE(std::filesystem::exists(file(name))) << name;
        expectInformationText(file(name), top);
    }
    for (const TextFile& t : informationTexts()) expectInformationText(file(t.name), top);
    for (const TextFile& t : tutorialTopics()) expectInformationText(file(t.name), top);
    for (const PlannedEvent& p : planEvents(defaultDemoOptions())) {
        std::string path = file(p.event.dataDirectory() + "/EVT.INF");
        // "More..." files are opened from the working directory, not the event's.
        expectInformationText(path, top);
        std::string text = readAll(path);
        EXPECT_NE(text.find("synthetic"), std::string::npos);
        EXPECT_NE(text.find("mseed2sac"), std::string::npos);
        EXPECT_EQ(text.find("The " + std::string(p.source->name) + " earthquake\n"), 0u);
    }
}

// What the loader hands each trace of a planned event: its epicentre and origin time.
TraceContext contextFor(const PlannedEvent& p) {
    TraceContext context;
    context.eventLatitude = p.event.latitude;
    context.eventLongitude = p.event.longitude;
    context.originEpoch = epochSeconds(p.source->year, p.source->month, p.source->day, p.source->hour,
                                       p.source->minute, static_cast<int>(p.source->second),
                                       static_cast<int>(std::lround(std::fmod(p.source->second, 1.0) * 1000)));
    return context;
}

TEST_F(DemoDirectory, SeismogramsReadBackWithoutLossAndTheirComponentsAreKnown) {
    for (const PlannedEvent& p : planEvents(defaultDemoOptions())) {
        TraceContext context = contextFor(p);
        const std::string directory = file(p.event.dataDirectory());
        for (std::size_t i = 0; i < p.stations.size(); ++i) {
            const auto& s = p.stations[i];
            ThreeComponents expected = synthesize(stationRequest(p, i));
            const std::pair<const char*, std::vector<float>*> components[] = {
                {"BHZ", &expected.vertical}, {"BHN", &expected.north}, {"BHE", &expected.east}};
            for (const auto& [channel, samples] : components) {
                std::string path = directory + "/" + std::string(s.station->code) + "." + channel;
                KSAC trace(path, true, context);
                ASSERT_GT(trace.npts(), 0) << path;
                EXPECT_EQ(trace.samples, *samples) << path;
                EXPECT_EQ(trace.stationCode, s.station->code);
                EXPECT_FLOAT_EQ(trace.floatWord(sac::DELTA), 0.05f);
                EXPECT_NEAR(trace.startTime, -60.0, 0.01) << path;  // the reference time is the origin
                EXPECT_NEAR(trace.stationLatitude, s.station->latitude, 1e-4);
                EXPECT_NEAR(trace.stationLongitude, s.station->longitude, 1e-4);
                EXPECT_NEAR(trace.floatWord(sac::GCARC), s.distance, 0.05);
                EXPECT_GT(trace.endTime, s.distance * kKilometresPerDegree / 3.0) << "surface waves cut";
                StationFile component(trace);
                EXPECT_EQ(component.component, channel[2]) << path;
            }
        }
        // The map's station mode offers every station with three components,
        // the shown verticals marked used.
        Event event(file(p.event.fileName));
        std::vector<std::string> messages;
        auto stations = buildStationList(event, [&](std::string_view m) { messages.emplace_back(m); });
        EXPECT_TRUE(messages.empty());
        ASSERT_EQ(stations.size(), p.stations.size());
        std::size_t used = 0;
        for (const Station& st : stations) {
            EXPECT_TRUE(st.available[0] && st.available[1] && st.available[2]) << st.stationCode;
            used += st.used[0];
            EXPECT_FALSE(st.used[1] || st.used[2]);
        }
        EXPECT_EQ(used, p.event.stationFiles.size());
    }
}

// Onset of the first arrival on a vertical trace: the first sample above eight
// times the noise RMS of the minute before the origin.
double onsetTime(const KSAC& trace) {
    double sum = 0;
    const double delta = trace.floatWord(sac::DELTA);
    std::size_t quiet = static_cast<std::size_t>((0 - trace.startTime) / delta);
    for (std::size_t i = 0; i < quiet; ++i) sum += double(trace.samples[i]) * trace.samples[i];
    double level = 8 * std::sqrt(sum / quiet);
    for (std::size_t i = quiet; i < trace.samples.size(); ++i)
        if (std::fabs(trace.samples[i]) > level) return trace.startTime + i * delta;
    return 1e9;
}

// The viewer marks P at `arrivalP`: its table time interpolated at the
// station's distance and truncated to whole seconds. Every trace's onset lies
// within a second of that time before the truncation, and within half a
// second after the exact ak135 time.
TEST_F(DemoDirectory, POnsetsLieAtTheViewersPArrival) {
    int checked = 0;
    for (const PlannedEvent& p : planEvents(defaultDemoOptions())) {
        // The P curve for the event's depth, from the directory's own table.
        TravelTimeCurve curve = loadTravelTimeCurve("P", p.event.depth, [](const std::string& name) { return file(name); });
        ASSERT_EQ(curve.count, kCurveEntries);
        TraceContext context = contextFor(p);
        context.curves[0] = curve.keys();
        for (const auto& s : p.stations) {
            if (s.distance > 97.0) continue;  // beyond, P is only the weak diffracted wave
            KSAC trace(file(p.event.dataDirectory()) + "/" + std::string(s.station->code) + ".BHZ", true, context);
            ASSERT_GT(trace.npts(), 0);
            float gcarc = trace.floatWord(sac::GCARC);
            float marked = interpolateTable(curveDistances(), curve.keys(), curve.count, gcarc);
            ASSERT_EQ(trace.arrivalP, static_cast<std::int32_t>(marked));
            double onset = onsetTime(trace);
            std::string where = std::string(p.source->name) + " " + std::string(s.station->code);
            EXPECT_NEAR(onset, marked, 1.0) << where;
            EXPECT_NEAR(onset, trace.arrivalP, 1.6) << where;  // half a second of table rounding, then the truncation
            double exact = travelTime("P", s.distance, arrivalDepth(p.source->depth))->time;
            EXPECT_GE(onset, exact - 0.05) << where;
            EXPECT_LT(onset, exact + 0.5) << where;
            ++checked;
        }
    }
    EXPECT_GT(checked, 40);
}

TEST(WrapText, KeepsParagraphsAndPreformattedBlocks) {
    std::string longLine(30, 'a');
    std::string text = longLine + " " + longLine + " " + longLine + "\n\n<PRE>\n" + std::string(90, 'b') + "\n</PRE>\n";
    std::string wrapped = wrapText(text, 76);
    EXPECT_EQ(wrapped, longLine + " " + longLine + "\n" + longLine + "\n\n<PRE>\n" + std::string(90, 'b') + "\n</PRE>\n");
    // A word longer than the width stands alone rather than being lost.
    EXPECT_EQ(wrapText(std::string(100, 'c') + " d", 76), std::string(100, 'c') + "\nd\n");
}

// The texts send the student to the dashed diffracted fronts by name: each
// name they use must be one the cross-section draws.
TEST(DemoTexts, DiffractedWavesTheTextsNameAreDrawn) {
    std::vector<TextFile> texts = informationTexts();
    for (TextFile& t : tutorialTopics()) texts.push_back(std::move(t));
    const auto drawn = wavefrontPhases(true);
    const std::regex diffracted("[PSps]+diff[PS]*");
    std::set<std::string> named;
    for (const TextFile& t : texts) {
        for (std::sregex_iterator it(t.content.begin(), t.content.end(), diffracted), end; it != end; ++it) {
            named.insert(it->str());
            EXPECT_NE(std::find(drawn.begin(), drawn.end(), it->str()), drawn.end()) << t.name << ": " << it->str();
        }
    }
    EXPECT_TRUE(named.count("Pdiff"));
}

TEST_F(DemoDirectory, HelpPagesForEveryTopicWithWorkingLinks) {
    for (int topic : {1002, 1005, 1015, 1016, 1019, 1020, 1024, 1026, 1029}) {
        std::string page = readAll(file(std::string(kHelpFolder) + "/" + std::to_string(topic) + ".html"));
        EXPECT_NE(page.find("<title>"), std::string::npos) << topic;
        EXPECT_NE(page.find("</html>"), std::string::npos) << topic;
    }
    std::string index = readAll(file(std::string(kHelpFolder) + "/index.html"));
    for (int topic : helpTopics()) EXPECT_NE(index.find(std::to_string(topic) + ".html"), std::string::npos);
    // Every link of every page leads to a page that exists.
    std::regex link(R"re(href="([^"]+)")re");
    for (const auto& entry : std::filesystem::directory_iterator(file(std::string(kHelpFolder)))) {
        std::string page = readAll(entry.path().string());
        for (std::sregex_iterator it(page.begin(), page.end(), link), end; it != end; ++it)
            EXPECT_TRUE(std::filesystem::exists(entry.path().parent_path() / (*it)[1].str()))
                << entry.path() << " links " << (*it)[1];
    }
}

TEST_F(DemoDirectory, SeismicTablesAreThere) {
    for (const char* name : {"P.JB", "S.JB", "PP.JB", "SS.JB", "OV0.INX", "OV0.BIN", "OV600.INX", "OV600.BIN"})
        EXPECT_GT(std::filesystem::file_size(file(name)), 1000u) << name;
}

TEST_F(DemoDirectory, TunesAndPicturesAreThere) {
    for (const char* name : {"OV.MID", "EQ.MID"}) {
        auto summary = readMidiSummary(readAll(file(name)));
        ASSERT_TRUE(summary) << name;
        EXPECT_EQ(summary->unmatchedNotes, 0);
    }
    for (int angle = 0; angle < 360; angle += 45) {
        QImage globe(QString::fromStdString(file("earth" + std::to_string(angle) + ".bmp")));
        ASSERT_FALSE(globe.isNull()) << angle;
        EXPECT_GE(globe.width(), 600);
        EXPECT_EQ(globe.width(), globe.height());
    }
    QImage world(QString::fromStdString(file("world.bmp")));
    EXPECT_EQ(world.width(), 1800);
    EXPECT_FALSE(QImage(QString::fromStdString(file("OVINIT.BMP"))).isNull());
}

TEST(DemoBuilder, ReportsAnOutputDirectoryThatCannotBeMade) {
    TempDir dir;
    std::string blocker = dir.file("file");
    std::ofstream(blocker) << "x";
    std::string error;
    EXPECT_FALSE(buildDemoDirectory(blocker + "/demo", defaultDemoOptions(), error));
    EXPECT_FALSE(error.empty());
}

TEST(DemoBuilder, ReportsAMissingTexture) {
    TempDir dir;
    DemoOptions options = defaultDemoOptions();
    options.texturePath = dir.file("no-such-texture.jpg");
    std::string error;
    EXPECT_FALSE(buildDemoDirectory(dir.file("demo"), options, error));
    EXPECT_NE(error.find("texture"), std::string::npos);
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

// The program's contract with scripts/run-viewer: one argument, the output
// directory; a non-zero status when it cannot be made.
TEST(DemoProgram, ExitStatusTellsSuccessFromFailure) {
    const std::string program = std::string(ORVANE_BINARY_DIR) + "/tools/orvane-demo";
    if (!std::filesystem::exists(program)) GTEST_SKIP() << "program not built";
    auto status = [](const std::string& command) {
        int raw = std::system((command + " >/dev/null 2>&1").c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    EXPECT_EQ(status(program), 2);
    EXPECT_EQ(status(program + " a b"), 2);
    TempDir dir;
    std::ofstream(dir.file("file")) << "x";
    EXPECT_EQ(status(program + " " + dir.file("file") + "/demo"), 1);
}

}  // namespace
}  // namespace orvane
