// One tick of the cross-section view on a 500-pixel view with the ak135
// fronts of a 33 km deep event: reset the frame buffer, draw the fronts of
// the clock, present (at clock 0 only the two copies). Beside it, the static
// picture the tick does not redraw.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "data/event_loading.h"
#include "data/settings.h"
#include "model/ak135.h"
#include "model/table_writers.h"
#include "model/wavefronts.h"
#include "views/child_xs.h"

namespace {

using namespace orvane;

struct Scene {
    std::unique_ptr<QApplication> app;
    std::unique_ptr<childXS> view;

    Scene() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "bench";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);

        char pattern[] = "/tmp/orvane-bench-xs-XXXXXX";
        std::filesystem::path dir = ::mkdtemp(pattern) ? pattern : "/tmp";
        WavefrontOptions options;
        options.lastTime = 1800;
        EncodedWavefronts tables = encodeWavefronts(computeWavefronts(ak135Model(), 33.0, options));
        std::ofstream(dir / "OV0.INX", std::ios::binary) << tables.index;
        std::ofstream(dir / "OV0.BIN", std::ios::binary) << tables.data;
        std::filesystem::current_path(dir);

        LoadedEvent& e = loadedEvent();
        e.latitude = 38.3f;
        e.longitude = 142.4f;
        e.depth = 33;
        view = std::make_unique<childXS>();
        view->resize(500, 500);
        view->setUpSurfaces();
        view->createBitmaps();
        view->drawBackground();
        view->loadTravelTimeTables();
    }
};

Scene& scene() {
    static Scene s;
    return s;
}

void BM_Tick(benchmark::State& state) {
    childXS& view = *scene().view;
    settings.labelPhasesOnCrossSection = state.range(1) != 0;
    const int t = static_cast<int>(state.range(0));
    for (auto _ : state) {
        view.reset();
        benchmark::DoNotOptimize(view.drawWaves(t));
        view.present();
    }
}
BENCHMARK(BM_Tick)->Args({0, 0})->Args({400, 0})->Args({1200, 0})->Args({1200, 1})->Unit(
    benchmark::kMicrosecond);

void BM_StaticPicture(benchmark::State& state) {
    childXS& view = *scene().view;
    for (auto _ : state) view.drawBackground();
}
BENCHMARK(BM_StaticPicture)->Unit(benchmark::kMicrosecond);

}  // namespace
