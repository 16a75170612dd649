// orvane-monkey: starts the viewer exactly as its main() does, in a working
// directory, and sends it random real input for a while (see monkey.h).
// It stops by itself when the time is up; a crash or a sanitizer report ends
// the process, and a watchdog ends it when no event has been processed for
// 10 seconds. Each of these prints the seed that replays the run.
//
//   orvane-monkey --dir DIR --seed N --seconds S [--settings-seed M] [--scratch DIR]
//                 [--right-button-restart no]
//
// With --settings-seed the settings that change the windows (MENU BAR, CAN
// EXIT, RIGHT BUTTON RESTART, TUTORIAL, VIEW, SCIENCE ON A SPHERE, SLIDER
// and a few more) are first set at random in DIR/OV.INI; "--right-button-restart
// no" keeps RIGHT BUTTON RESTART off while a known fault there is open.
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "app/my_app.h"
#include "data/settings.h"
#include "tools/monkey/monkey.h"
#include "ui/help.h"

// The replay line is printed when a sanitizer reports, in builds that have one.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVANE_HAS_SANITIZER_HOOKS 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ORVANE_HAS_SANITIZER_HOOKS 1
#endif
#ifdef ORVANE_HAS_SANITIZER_HOOKS
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

using namespace orvane;

struct Options {
    std::string dir = ".";
    std::string scratch;
    std::uint64_t seed = 1;
    std::uint64_t settingsSeed = 0;
    bool changeSettings = false;
    bool rightButtonRestart = true;  // may be chosen by the random settings
    double seconds = 60;
};

Options options;
std::atomic<bool> viewerEnded{false};
pthread_t mainThread;
char replayLine[512];

void printReplay() {
    std::fprintf(stderr, "%s\n", replayLine);
    std::fflush(stderr);
}

// The help viewer is never started: it answers at random.
class RandomHelp : public HelpLauncher {
  public:
    bool startProgram(const std::string&, const std::vector<std::string>&) override { return next(); }
    bool openFile(const std::string&) override { return next(); }

  private:
    bool next() { return (++calls_ % 3) != 0; }
    int calls_ = 0;
};

void randomSettings(std::uint64_t seed) {
    std::mt19937_64 rng(seed);
    auto coin = [&rng](int percent) { return std::uniform_int_distribution<int>(0, 99)(rng) < percent; };
    auto pick = [&rng](std::initializer_list<std::uint32_t> values) {
        return values.begin()[std::uniform_int_distribution<std::size_t>(0, values.size() - 1)(rng)];
    };
    settings.read(kSettingsFileName);
    settings.menuBar = coin(75);
    settings.canExit = coin(60);
    settings.rightButtonRestart = coin(50) && options.rightButtonRestart;
    settings.tutorial = settings.tutorialSaved = coin(30);
    settings.view = static_cast<std::int32_t>(pick({0, 0, 1, 2}));
    settings.scienceOnASphere = coin(20);
    settings.slider = coin(75);
    settings.titleBar = coin(30);
    settings.showWelcomeScreen = coin(70);
    settings.showEventInformation = coin(60);
    settings.selectComponents = coin(60);
    settings.runScript = coin(30);
    settings.exitWhenDone = coin(10);
    settings.initialTimeout = pick({0, 0, 2, 5});
    settings.timeout = pick({0, 0, 3, 10});
    settings.secondsToPauseAtEnd = pick({0, 1, 1, 3});
    settings.labelPhasesOnEarthView = coin(50);
    settings.labelPhasesOnCrossSection = coin(50);
    settings.labelPhasesOnSeismogram = coin(50);
    settings.allPhasesOnCrossSection = coin(40);
    settings.audio = static_cast<std::int32_t>(pick({0, 1, 2, 3}));
    settings.write(kSettingsFileName);
    std::printf("orvane-monkey: settings MENU BAR %s, CAN EXIT %s, RIGHT BUTTON RESTART %s, TUTORIAL %s, "
                "VIEW %s, SCIENCE ON A SPHERE %s, SLIDER %s, WELCOME %s, RUN SCRIPT %s, TIMEOUT %u\n",
                yesNo(settings.menuBar), yesNo(settings.canExit), yesNo(settings.rightButtonRestart),
                yesNo(settings.tutorial), viewName(settings.view), yesNo(settings.scienceOnASphere),
                yesNo(settings.slider), yesNo(settings.showWelcomeScreen), yesNo(settings.runScript),
                settings.timeout);
}

// Runs inside the application object's constructor: the monkey starts with
// the event loop.
void startMonkey() {
    new Monkey(options.seed, options.seconds, options.scratch);  // owned by the application
    setHelpLauncher(std::make_unique<RandomHelp>());
}
Q_COREAPP_STARTUP_FUNCTION(startMonkey)

void watchdog() {
    constexpr std::int64_t kLimitMs = 10000;
    while (!viewerEnded) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        std::int64_t last = monkeyHeartbeat.load();
        std::int64_t finishing = monkeyFinishing.load();
        bool stuck = steadyMs() - last > kLimitMs;
        bool endless = finishing != 0 && steadyMs() - finishing > 3 * kLimitMs;
        if (stuck || endless) {
            if (stuck)
                std::fprintf(stderr, "orvane-monkey: HANG: no event processed for %lld ms\n",
                             static_cast<long long>(steadyMs() - last));
            else
                std::fprintf(stderr, "orvane-monkey: HANG: the viewer has not ended %lld ms after it was asked to\n",
                             static_cast<long long>(steadyMs() - finishing));
            printReplay();
            // The main thread's stack shows where it is stuck.
            pthread_kill(mainThread, SIGSEGV);
            std::this_thread::sleep_for(std::chrono::seconds(5));
            _exit(3);
        }
    }
}

bool parse(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string key = argv[i], value = argv[i + 1];
        if (key == "--dir") options.dir = value;
        else if (key == "--scratch") options.scratch = value;
        else if (key == "--seed") options.seed = std::stoull(value);
        else if (key == "--seconds") options.seconds = std::stod(value);
        else if (key == "--settings-seed") {
            options.settingsSeed = std::stoull(value);
            options.changeSettings = true;
        } else if (key == "--right-button-restart") {
            options.rightButtonRestart = value != "no";
        } else return false;
    }
    return argc % 2 == 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (!parse(argc, argv)) {
        std::fprintf(stderr,
                     "usage: orvane-monkey --dir DIR --seed N --seconds S [--settings-seed M] [--scratch DIR]\n");
        return 2;
    }
    std::filesystem::path dir = std::filesystem::absolute(options.dir);
    if (options.scratch.empty()) options.scratch = (dir / "monkey-scratch").string();
    std::filesystem::create_directories(options.scratch);
    std::filesystem::current_path(dir);
    std::snprintf(replayLine, sizeof replayLine,
                  "orvane-monkey: replay with: %s --dir %s --seed %llu --seconds %g%s%s", argv[0],
                  dir.c_str(), static_cast<unsigned long long>(options.seed), options.seconds,
                  options.changeSettings ? " --settings-seed " : "",
                  options.changeSettings ? std::to_string(options.settingsSeed).c_str() : "");
    if (options.changeSettings) randomSettings(options.settingsSeed);
    std::printf("orvane-monkey: seed %llu, %g s\n", static_cast<unsigned long long>(options.seed),
                options.seconds);
    std::fflush(stdout);
#ifdef ORVANE_HAS_SANITIZER_HOOKS
    __sanitizer_set_death_callback(printReplay);
#endif
    mainThread = pthread_self();
    monkeyHeartbeat = steadyMs();
    std::thread(watchdog).detach();

    char* viewerArgv[] = {argv[0], nullptr};
    int status = runViewer(1, viewerArgv);
    viewerEnded = true;
    std::printf("orvane-monkey: viewer ended with status %d\n", status);
    return status;
}
