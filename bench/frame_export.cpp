// One frame of the spherical display export per tick: drawing the 4096 x
// 2048 picture, and converting and compressing it into a PNG file, at a few
// zlib levels (the size of the file is reported as a counter).
#include "views/frame_export.h"

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <filesystem>
#include <memory>
#include <string>

#include "data/event_loading.h"
#include "data/sac.h"
#include "data/settings.h"

namespace {

using namespace orvane;

void ensureApplication() {
    static std::unique_ptr<QApplication> app;
    if (app) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QApplication>(argc, argv);
}

// A shallow event with a dozen stations, curves with a plausible slope and
// labels on: every kind of mark a frame can hold.
struct Scene {
    std::string dir;

    Scene() {
        ensureApplication();
        char pattern[] = "/tmp/orvane-bench-XXXXXX";
        dir = ::mkdtemp(pattern) ? pattern : "/tmp";
        LoadedEvent& e = loadedEvent();
        e = LoadedEvent{};
        e.eventDirectory = dir + "/event";
        std::filesystem::create_directories(e.eventDirectory + "/sos/earth");
        e.latitude = 34.2f;
        e.longitude = -118.5f;
        e.depth = 18;
        const float slopes[] = {8, 14, 10, 17};  // P, S, PP, SS seconds per degree
        for (int c = 0; c < 4; ++c) {
            TravelTimeCurve& curve = e.curves[static_cast<std::size_t>(c)];
            for (int k = 0; k < kCurveEntries; ++k) curve.times.push_back(k * slopes[c]);
            curve.count = kCurveEntries;
        }
        for (int i = 0; i < 12; ++i) {
            SacTrace t;
            t.station = "ST" + std::to_string(i);
            t.stationLatitude = -60.0f + 10.0f * i;
            t.stationLongitude = -170.0f + 29.0f * i;
            t.samples.assign(4, 0.0f);
            std::string path = dir + "/" + t.station + ".sac";
            writeSac(path, t);
            e.traceList.push_back(std::make_unique<KSAC>(path, false, e.traceContext()));
        }
        settings.labelPhasesOnEarthView = true;
    }
    ~Scene() {
        releaseTraces(loadedEvent());
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

// Clock values through a run: early, the band and the far circles.
constexpr float kClocks[] = {120, 600, 1200, 2400};

void BM_RenderFrame(benchmark::State& state) {
    Scene scene;
    FrameExport frames;
    frames.prepare();
    int i = 0;
    for (auto _ : state) {
        frames.render(kClocks[i++ % 4]);
        benchmark::DoNotOptimize(frames.buffer().bitmap().constBits());
    }
}
BENCHMARK(BM_RenderFrame)->Unit(benchmark::kMillisecond);

void BM_WriteFramePng(benchmark::State& state) {
    Scene scene;
    FrameExport frames;
    frames.prepare();
    frames.render(1200);
    std::string path = scene.dir + "/frame.png";
    int level = static_cast<int>(state.range(0));
    for (auto _ : state) {
        if (!writeFramePng(frames.buffer().bitmap(), path, level))
            state.SkipWithError("not written");
    }
    state.counters["kB"] = static_cast<double>(std::filesystem::file_size(path)) / 1024.0;
}
BENCHMARK(BM_WriteFramePng)->Arg(0)->Arg(1)->Arg(3)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);

// What one tick costs in frame-export mode: draw, convert, compress, write.
void BM_ExportFrame(benchmark::State& state) {
    Scene scene;
    FrameExport frames;
    frames.prepare();
    int i = 0;
    for (auto _ : state) {
        if (!frames.exportFrame(kClocks[i++ % 4])) state.SkipWithError("not written");
    }
}
BENCHMARK(BM_ExportFrame)->Unit(benchmark::kMillisecond);

}  // namespace
