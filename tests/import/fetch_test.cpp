// --fetch against a stand-in data centre on 127.0.0.1 (fdsn_server.py, started
// and stopped here): the requests it receives, the event made from its
// answers, and failures (no event, server errors, dropped connections) that
// leave nothing behind.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "data/event.h"
#include "import/time_text.h"
#include "tests/import/recordings.h"
#include "tests/import/run_program.h"
#include "tests/support/temp_dir.h"

extern char** environ;

namespace orvane::import {
namespace {

namespace fs = std::filesystem;
using namespace testing;

// The server process: started on a free port, killed when the test ends (it
// also stops by itself after a minute).
class FdsnServer {
public:
    explicit FdsnServer(const fs::path& directory) {
        int pipeFds[2];
        if (::pipe(pipeFds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        std::string script = ORVANE_IMPORT_TEST_DIR "/fdsn_server.py", dir = directory.string();
        const char* argv[] = {"python3", script.c_str(), dir.c_str(), "60", nullptr};
        if (posix_spawnp(&pid_, "python3", &actions, nullptr, const_cast<char**>(argv), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[1]);
        std::string line;
        char c;
        while (line.size() < 16 && ::read(pipeFds[0], &c, 1) == 1 && c != '\n') line += c;
        ::close(pipeFds[0]);
        port_ = std::atoi(line.c_str());
    }
    ~FdsnServer() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    bool running() const { return pid_ > 0 && port_ > 0; }

private:
    pid_t pid_ = -1;
    int port_ = 0;
};

class Fetch : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(served_);
        fs::create_directories(work_);
        writeText((served_ / "event.txt").string(),
                  "#EventID|Time|Latitude|Longitude|Depth/km|Author|Catalog|Contributor|ContributorID|MagType|"
                  "Magnitude|MagAuthor|EventLocationName\n"
                  "4711|2011-03-11T05:46:24.12|38.3|142.4|33.0|A|C|C|1|MW|9.1|A|NEAR EAST COAST OF HONSHU, JAPAN\n");
        std::vector<MetaChannel> channels;
        const struct {
            const char* code;
            double distance, azimuth;
            bool pair;
        } sites[] = {{"AAA", 30, 10, false}, {"BBB", 60, 100, true}, {"CCC", 90, 200, false}};
        for (const auto& s : sites) {
            double lat, lon;
            destination(s.distance, s.azimuth, lat, lon);
            double start = origin() - 60 + 0.02;
            std::size_t count = static_cast<std::size_t>((pTime(s.distance) + 260) * 20);
            double onset = pTime(s.distance) + 60 - 0.02;
            std::vector<char> bytes;
            const char* codes[] = {"BHZ", s.pair ? "BH1" : "BHN", s.pair ? "BH2" : "BHE"};
            const double az[] = {0, s.pair ? 45.0 : 0.0, s.pair ? 135.0 : 90.0}, dip[] = {-90, 0, 0};
            for (int c = 0; c < 3; ++c) {
                ChannelId id{"IU", s.code, "00", codes[c]};
                channels.push_back({id, lat, lon, az[c], dip[c], 20, ""});
                auto part = miniSeed(id, start, 20, groundMotion(0, 20, count, onset, 900, c + 1), DE_STEIM2, 512);
                bytes.insert(bytes.end(), part.begin(), part.end());
            }
            writeBytes((served_ / (std::string("IU.") + s.code + ".mseed")).string(), bytes);
        }
        writeText((served_ / "channels.txt").string(), stationText(channels));
        writeText((served_ / "stations.txt").string(),
                  "#Network|Station|Latitude|Longitude|Elevation|SiteName|StartTime|EndTime\n"
                  "IU|AAA|0|0|0|Station A, Somewhere|2000-01-01T00:00:00|\n");
    }

    void rules(const std::string& text) { writeText((served_ / "rules.txt").string(), text); }

    ProgramRun fetch(const FdsnServer& server, std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"--fetch",     "--workdir",     work_.string(), "--event-id", "4711",
                                         "--service",   server.url(),    "--retries",    "3",          "--retry-delay",
                                         "0.05",        "--timeout",     "5"};
        args.insert(args.end(), extra.begin(), extra.end());
        return runImportProgram(args, dir_.path());
    }

    std::vector<std::string> requests() const {
        std::vector<std::string> lines;
        std::string all = slurp(served_ / "requests.log");
        for (std::size_t at = 0, end; (end = all.find('\n', at)) != std::string::npos; at = end + 1)
            lines.push_back(all.substr(at, end - at));
        return lines;
    }

    TempDir dir_;
    fs::path served_ = dir_.path() / "served";
    fs::path work_ = dir_.path() / "work";
};

TEST_F(Fetch, EventStationsAndWaveformsFromTheServicesBecomeAnEvent) {
    rules("dataselect:CCC 204\ndataselect:BBB drop-once\n");
    FdsnServer server(served_);
    ASSERT_TRUE(server.running());
    ProgramRun run = fetch(server);
    ASSERT_EQ(run.status, 0) << run.err;

    std::vector<std::string> asked = requests();
    ASSERT_GE(asked.size(), 6u);
    EXPECT_EQ(asked[0], "/fdsnws/event/1/query?eventid=4711&format=text");
    // Stations of the default networks and channels around the epicentre,
    // operating from a minute before the origin until the waves have passed.
    const std::string window = "&starttime=2011-03-11T05:45:24&endtime=2011-03-11T07:34:24";
    EXPECT_EQ(asked[1], "/fdsnws/station/1/query?network=IU,II&channel=BH?&latitude=38.3000&longitude=142.4000"
                        "&minradius=10.00&maxradius=170.00" + window + "&level=channel&format=text");
    EXPECT_EQ(asked[2].find("/fdsnws/station/1/query?") , 0u);
    EXPECT_NE(asked[2].find("level=station"), std::string::npos);
    std::vector<std::string> data(asked.begin() + 3, asked.end());
    // One request a station, BBB twice (the first was dropped), CCC without data.
    std::map<std::string, int> perStation;
    for (const std::string& d : data) {
        EXPECT_EQ(d.find("/fdsnws/dataselect/1/query?network=IU&station="), 0u) << d;
        EXPECT_NE(d.find("&location=*&channel=BH?" + window), std::string::npos) << d;
        perStation[d.substr(d.find("station=") + 8, 3)]++;
    }
    EXPECT_EQ(perStation, (std::map<std::string, int>{{"AAA", 1}, {"BBB", 2}, {"CCC", 1}}));

    ScopedCurrentDir cd(work_);
    Event event("2011031105.evt");
    EXPECT_EQ(event.name, "NEAR EAST COAST OF HONSHU, JAPAN");
    EXPECT_EQ(event.originTime, "05:46:24.1");
    std::vector<std::string> shown;
    for (const StationFile& f : event.stationFiles) shown.push_back(f.fileName);
    EXPECT_EQ(shown, (std::vector<std::string>{"AAA.BHZ", "BBB.BHZ"}));
    EXPECT_TRUE(fs::exists("2011031105/BBB.BHN") && fs::exists("2011031105/BBB.BHE"));
    EXPECT_NE(slurp("ZOZERO.STA").find("AAA     Station A, Somewhere"), std::string::npos);
    EXPECT_NE(run.err.find("IU.CCC: the data centre has no data"), std::string::npos) << run.err;
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(work_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"2011031105", "2011031105.evt", "ZOZERO.STA"}));
}

TEST_F(Fetch, FailuresAreNamedAndLeaveNothingBehind) {
    const struct {
        std::string rules;
        std::string message;
        std::size_t channelRequests;  // tries of the channel-level station request
    } cases[] = {
        {"event 204\n", "no event found", 0},
        {"event 400\n", "refused the request as malformed (Error 400: as the test asked)", 0},
        {"station-channel 503\n", "the data centre failed (HTTP 503)", 3},
        {"station-channel drop\n", "stations: ", 3},
        {"dataselect drop\n", "no station had data (3 asked)", 1},
    };
    for (const auto& c : cases) {
        fs::remove(served_ / "requests.log");
        rules(c.rules);
        FdsnServer server(served_);
        ASSERT_TRUE(server.running());
        ProgramRun run = fetch(server);
        EXPECT_EQ(run.status, 1) << c.rules;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.rules << run.err;
        EXPECT_TRUE(fs::is_empty(work_)) << c.rules;
        std::size_t channelRequests = 0;
        for (const std::string& r : requests()) channelRequests += r.find("level=channel") != std::string::npos;
        EXPECT_EQ(channelRequests, c.channelRequests) << c.rules;
    }
    // Nobody listening: a clear message, nothing written.
    ProgramRun run = runImportProgram({"--fetch", "--workdir", work_.string(), "--event-id", "1", "--service",
                                       "http://127.0.0.1:9", "--retries", "1", "--timeout", "2"},
                                      dir_.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("event: "), std::string::npos) << run.err;
    EXPECT_TRUE(fs::is_empty(work_));
}

}  // namespace
}  // namespace orvane::import
