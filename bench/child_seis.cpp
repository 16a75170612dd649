// The seismogram view's work per tick against a full redraw and a layout:
// eight 20-samples-per-second traces of two hours in a 1100 x 420 view, a
// 30-minute window, ticks of 10 simulated seconds.
#include "views/child_seis.h"

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <filesystem>
#include <fstream>
#include <memory>

#include "data/event_loading.h"
#include "data/sac.h"

namespace orvane {
namespace {

QApplication& application() {
    static int argc = 1;
    static char name[] = "bench_child_seis";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QApplication app(argc, argv);
    return app;
}

// The event, written once into a temporary directory and loaded.
LoadedEvent& benchEvent() {
    static LoadedEvent event;
    static bool loaded = false;
    if (loaded) return event;
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "orvane-bench-child-seis";
    fs::create_directories(dir / "ev");
    std::ofstream evt(dir / "ev.evt");
    evt << "EVENT LATITUDE: 0\nEVENT LONGITUDE: 0\nEVENT DATE: 2020/01/01\n"
        << "ORIGIN TIME: 00:00:00.0\nTIME WINDOW: 1800\n";
    for (int i = 0; i < 8; ++i) {
        SacTrace t;
        t.delta = 0.05f;
        t.year = 2020;
        t.station = "S" + std::to_string(i);
        t.stationLatitude = 10.0f * float(i + 1);
        t.stationLongitude = 0;
        t.samples.resize(7200 * 20);
        for (std::size_t k = 0; k < t.samples.size(); ++k)
            t.samples[k] = float(((k * 7919 + std::size_t(i) * 104729) % 2001)) - 1000.0f;
        std::string name = t.station + ".BHZ";
        writeSac((dir / "ev" / name).string(), t);
        evt << "STATION FILE: " << name << "\n";
    }
    evt.close();
    fs::current_path(dir);
    loadEvent(event, "ev.evt");
    for (auto& trace : event.traceList) trace->arrivalP = 1000;
    loaded = true;
    return event;
}

std::unique_ptr<childSeis> makeView() {
    application();
    auto view = std::make_unique<childSeis>(nullptr, benchEvent());
    view->resize(1100, 420);
    view->paintPending();
    view->layoutTraces(0);
    return view;
}

void BM_Tick(benchmark::State& state) {
    auto view = makeView();
    float t = 10;
    view->advanceTo(t);
    for (auto _ : state) {
        t += 10;
        if (t > 1700) {  // stay inside the first page
            state.PauseTiming();
            view->layoutTraces(0);
            t = 20;
            view->advanceTo(10);
            state.ResumeTiming();
        }
        view->advanceTo(t);
    }
}
BENCHMARK(BM_Tick)->Unit(benchmark::kMicrosecond);

void BM_FullRedraw(benchmark::State& state) {
    auto view = makeView();
    DrawingContext dc = view->surface();
    for (auto _ : state) view->redrawAll(1790, dc);
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

void BM_Layout(benchmark::State& state) {
    auto view = makeView();
    for (auto _ : state) view->layoutTraces(0);
}
BENCHMARK(BM_Layout)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvane
