// One animation tick of the whole viewer: the main frame at 1920 x 1080 with
// all three views of a demonstration event (cross-section fronts, globe
// circles drawn twice, seismograms advanced by one tick's worth of clock).
// Needs ORVANE_DEMO_DIR, a directory made by orvane-demo.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/my_frame.h"
#include "app/run_state.h"
#include "data/files.h"
#include "data/settings.h"
#include "platform/startup.h"

namespace {

using namespace orvane;

struct Viewer {
    std::unique_ptr<QApplication> app;
    std::unique_ptr<myFrame> frame;
    bool ready = false;

    Viewer() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "bench";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
        initialiseWindowing();
        const char* demo = std::getenv("ORVANE_DEMO_DIR");
        if (!demo || !std::filesystem::exists(demo)) return;
        std::filesystem::current_path(demo);
        settings.read("OV.INI");
        settings.showEventInformation = false;
        settings.audio = kAudioNone;
        screenWidth = 1920;
        screenHeight = 1080;
        frame = std::make_unique<myFrame>(nullptr);
        frame->setGeometry(0, 0, 1920, 1080);
        frame->show();
        frame->startEventNamed("2011031105.evt");
        for (int i = 0; i < 40 && frame->run().timerActive(kOpeningTimer); ++i)
            frame->onTimer(kOpeningTimer);
        ready = frame->layoutWindow() != nullptr;
    }
};

Viewer& viewer() {
    static Viewer v;
    return v;
}

// Ticks of 10 simulated seconds each from the origin; the run restarts
// whenever it reaches 40 minutes so every tick draws.
void BM_FrameTick(benchmark::State& state) {
    Viewer& v = viewer();
    if (!v.ready) {
        state.SkipWithError("ORVANE_DEMO_DIR not set");
        return;
    }
    RunController& run = v.frame->run();
    for (auto _ : state) {
        lastTickCount = 0;  // no period adaptation: 500 ms x 20 = 10 s a tick
        run.tickPeriod = 500;
        if (run.clock > 2400) run.clock = 10;
        run.setTimer(kTickTimer, 500);
        v.frame->onTimer(kTickTimer);
        benchmark::DoNotOptimize(run.clock);
    }
}
BENCHMARK(BM_FrameTick)->Unit(benchmark::kMillisecond);

}  // namespace
