// One frame of the spherical display export per tick: drawing the 4096 x
// 2048 picture, and converting and compressing it into a PNG file (the size
// of the file is reported as a counter); and the viewer itself in
// frame-export mode, end to end, in frames written a second.
#include "views/frame_export.h"

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <png++/png.hpp>
#include <string>
#include <vector>

#include "app/my_frame.h"
#include "app/run_state.h"
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
    for (auto _ : state) {
        if (!writeFramePng(frames.buffer().bitmap(), path)) state.SkipWithError("not written");
    }
    state.counters["kB"] = static_cast<double>(std::filesystem::file_size(path)) / 1024.0;
}
BENCHMARK(BM_WriteFramePng)->Unit(benchmark::kMillisecond);

// The same frame through png++ and zlib at `level` (filter None), the way
// frames were written before: the yardstick for time and size.
void BM_WriteFramePngZlib(benchmark::State& state) {
    Scene scene;
    FrameExport frames;
    frames.prepare();
    frames.render(1200);
    const QImage& bitmap = frames.buffer().bitmap();
    std::string path = scene.dir + "/frame.png";
    for (auto _ : state) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        png::writer<std::ostream> writer(out);
        png::image_info info = png::make_image_info<png::rgba_pixel>();
        info.set_width(static_cast<png::uint_32>(bitmap.width()));
        info.set_height(static_cast<png::uint_32>(bitmap.height()));
        writer.set_image_info(info);
        png_set_compression_level(writer.get_png_struct(), static_cast<int>(state.range(0)));
        png_set_filter(writer.get_png_struct(), PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
        writer.write_info();
        std::vector<png::byte> row(static_cast<std::size_t>(bitmap.width()) * 4);
        for (int y = 0; y < bitmap.height(); ++y) {
            auto source = reinterpret_cast<const std::uint32_t*>(bitmap.constScanLine(y));
            for (int x = 0; x < bitmap.width(); ++x) {
                std::uint32_t rgb = source[x] & 0xffffffu;
                png::byte* p = &row[static_cast<std::size_t>(x) * 4];
                p[0] = static_cast<png::byte>(rgb >> 16);
                p[1] = static_cast<png::byte>(rgb >> 8);
                p[2] = static_cast<png::byte>(rgb);
                p[3] = rgb == 0 ? 0 : rgb == 0xffff00u ? kSurfaceWaveAlpha : 255;
            }
            writer.write_row(row.data());
        }
        writer.write_end_info();
    }
    state.counters["kB"] = static_cast<double>(std::filesystem::file_size(path)) / 1024.0;
}
BENCHMARK(BM_WriteFramePngZlib)->Arg(1)->Arg(6)->Unit(benchmark::kMillisecond);

// A frame drawn, converted, compressed and written, waiting for the writer.
void BM_ExportFrame(benchmark::State& state) {
    Scene scene;
    FrameExport frames;
    frames.prepare();
    int i = 0;
    for (auto _ : state) {
        if (!frames.exportFrame(kClocks[i++ % 4])) state.SkipWithError("not written");
        frames.finish();
    }
}
BENCHMARK(BM_ExportFrame)->Unit(benchmark::kMillisecond);

// The viewer in frame-export mode: the real frame with all three views, its
// tick timer and the export path, over kViewerFrames frames. The figure is
// the median interval between the frames' files appearing (their times of
// last change, which the file system keeps in steps of a few milliseconds),
// as frames a second; mean_fps is the rate from the first file to the last;
// kB is the median file size.
constexpr int kViewerFrames = 240;

struct ViewerRun {
    double intervalMs = 0;
    double meanFps = 0;
    double kB = 0;
    int frames = 0;
};

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

ViewerRun runViewer() {
    namespace fs = std::filesystem;
    ensureApplication();
    char pattern[] = "/tmp/orvane-bench-XXXXXX";
    const fs::path dir = ::mkdtemp(pattern) ? pattern : "/tmp/orvane-bench";
    const fs::path previous = fs::current_path();
    fs::current_path(dir);
    fs::create_directories("quake");
    // Five seconds of clock a frame, so every frame has a name of its own.
    std::ofstream evt("quake.evt");
    evt << "EVENT NAME: Bench quake\nEVENT LATITUDE: 34.2\nEVENT LONGITUDE: -118.5\n"
           "EVENT DEPTH: 18\nEVENT MAGNITUDE: 2.0\nTIME ACCELERATION: 40\n";
    for (int i = 0; i < 12; ++i) {
        SacTrace t;
        t.station = "ST" + std::to_string(i);
        t.stationLatitude = -60.0f + 10.0f * i;
        t.stationLongitude = -170.0f + 29.0f * i;
        t.samples.assign(4000, 0.0f);
        writeSac((dir / "quake" / t.station).string(), t);
        evt << "STATION FILE: " << t.station << "\n";
    }
    evt.close();
    QImage earth(512, 512, QImage::Format_RGB32);
    earth.fill(QColor(0, 0, 160));
    earth.save("earth180.bmp", "BMP");
    earth.save("earth270.bmp", "BMP");

    settings.applyDefaults();
    settings.scienceOnASphere = true;
    settings.showEventInformation = false;
    settings.labelPhasesOnEarthView = true;
    settings.tutorial = false;
    screenWidth = 1920;
    screenHeight = 1080;
    ViewerRun result;
    {
        auto frame = std::make_unique<myFrame>(nullptr);
        frame->resize(1920, 1040);
        frame->show();
        frame->startEventNamed("quake.evt");
        // No tables in this directory: curves with a plausible slope.
        const float slopes[] = {8, 14, 10, 17};
        for (int c = 0; c < 4; ++c) {
            TravelTimeCurve& curve = loadedEvent().curves[static_cast<std::size_t>(c)];
            curve.times.clear();
            for (int k = 0; k < kCurveEntries; ++k) curve.times.push_back(k * slopes[c]);
            curve.count = kCurveEntries;
        }
        const float last = 10 + (kViewerFrames - 1) * 5.0f;
        QEventLoop loop;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (frame->run().clock >= last) loop.quit();
        });
        watch.start(20);
        QTimer::singleShot(300000, &loop, &QEventLoop::quit);
        loop.exec();
        frame.reset();  // the end of the run: every frame handed over is on disk
    }
    std::vector<std::pair<std::string, fs::file_time_type>> files;
    std::vector<double> sizes;
    for (const auto& entry : fs::directory_iterator(dir / "quake/sos/earth")) {
        if (entry.path().extension() != ".png") continue;
        files.emplace_back(entry.path().filename().string(), entry.last_write_time());
        sizes.push_back(static_cast<double>(entry.file_size()) / 1024.0);
    }
    std::sort(files.begin(), files.end());
    std::vector<double> intervals;
    for (std::size_t i = 1; i < files.size(); ++i)
        intervals.push_back(
            std::chrono::duration<double, std::milli>(files[i].second - files[i - 1].second)
                .count());
    result.intervalMs = median(intervals);
    if (files.size() > 1)
        result.meanFps = static_cast<double>(files.size() - 1) /
                         std::chrono::duration<double>(files.back().second - files.front().second)
                             .count();
    result.kB = median(sizes);
    result.frames = static_cast<int>(files.size());
    releaseTraces(loadedEvent());
    fs::current_path(previous);
    std::error_code ec;
    fs::remove_all(dir, ec);
    return result;
}

void BM_ViewerFrameExport(benchmark::State& state) {
    for (auto _ : state) {
        ViewerRun run = runViewer();
        if (run.frames < kViewerFrames) state.SkipWithError("frames missing");
        state.SetIterationTime(run.intervalMs / 1000.0);
        state.counters["frames_per_s"] = run.intervalMs > 0 ? 1000.0 / run.intervalMs : 0;
        state.counters["mean_fps"] = run.meanFps;
        state.counters["kB"] = run.kB;
        state.counters["frames"] = run.frames;
    }
}
BENCHMARK(BM_ViewerFrameExport)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
