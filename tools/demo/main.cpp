// orvane-demo OUTDIR: writes the demonstration working directory the viewer
// reads (pictures, events with their seismograms, stations, tables, texts,
// tunes and help pages).
#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "tools/demo/demo_builder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    // Text in the opening picture needs a font database, not a display.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    const auto start = std::chrono::steady_clock::now();
    std::string error;
    if (!orvane::buildDemoDirectory(argv[1], orvane::defaultDemoOptions(), error)) {
        std::fprintf(stderr, "orvane-demo: %s\n", error.c_str());
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("orvane-demo: wrote %s in %.1f s\n", argv[1], seconds);
    return 0;
}
