// What one animation tick asks of the drawing layer: copies between view
// surfaces, polylines of the seismograms and circles, and shadowed labels.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/memory_surface.h"

namespace {

using namespace orvane;

void ensureApplication() {
    static std::unique_ptr<QGuiApplication> app;
    if (app) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QGuiApplication>(argc, argv);
}

// Present and reset of a 500-pixel view: two copies of the inner picture.
void BM_PresentAndReset(benchmark::State& state) {
    ensureApplication();
    MemorySurface window, frame, background;
    window.createBitmap(500, 500);
    frame.createBitmap(488, 488, colours::kGrey);
    background.createBitmap(488, 488, colours::kBlue);
    for (auto _ : state) {
        window.bitBlt(6, 6, 488, 488, frame, 0, 0);
        frame.bitBlt(0, 0, 488, 488, background, 0, 0);
        benchmark::DoNotOptimize(window.pixels()->constBits());
    }
}
BENCHMARK(BM_PresentAndReset);

// One seismogram stretch per trace: a one-pixel polyline of `n` points.
void BM_ThinPolyline(benchmark::State& state) {
    ensureApplication();
    MemorySurface s;
    s.createBitmap(1200, 300, colours::kWhite);
    std::vector<Point> points;
    for (int i = 0; i < state.range(0); ++i)
        points.push_back({i * 1200 / int(state.range(0)), 150 + int(100 * std::sin(i * 0.3))});
    for (auto _ : state) s.polyline(points);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ThinPolyline)->Arg(64)->Arg(1024);

// A wave circle of the globe: 62 points with a 3-pixel pen.
void BM_WidePolyline(benchmark::State& state) {
    ensureApplication();
    MemorySurface s;
    s.createBitmap(500, 500);
    s.selectPen(Pen::solid(colours::kRed, 3));
    std::vector<Point> points;
    for (int i = 0; i < 62; ++i)
        points.push_back({250 + int(200 * std::cos(i * 0.1)), 250 + int(200 * std::sin(i * 0.1))});
    for (auto _ : state) s.polyline(points);
}
BENCHMARK(BM_WidePolyline);

// A phase label: text written three times (two shadows and the text).
void BM_ShadowedLabel(benchmark::State& state) {
    ensureApplication();
    MemorySurface s;
    s.createBitmap(500, 500);
    s.setBackgroundMode(BackgroundMode::Transparent);
    s.setTextAlign(kAlignCentre);
    for (auto _ : state) {
        s.setTextColour(colours::kBlack);
        s.textOut({101, 101}, "PKIKP");
        s.textOut({102, 102}, "PKIKP");
        s.setTextColour(colours::kRed);
        s.textOut({100, 100}, "PKIKP");
    }
}
BENCHMARK(BM_ShadowedLabel);

}  // namespace
