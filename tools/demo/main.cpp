// orvane-demo OUTDIR: writes the demonstration working directory the viewer
// reads (pictures, events with their seismograms, stations, tables, texts,
// tunes and help pages).
#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "data/command_line.h"
#include "tools/demo/demo_builder.h"

namespace {

const orvane::ProgramInfo kProgram{
    "orvane-demo", "OUTDIR",
    "Writes the demonstration working directory of the Orvane viewer into OUTDIR: seven earthquakes\n"
    "with synthetic seismograms, stations, tables, pictures, texts, tunes and help pages. Each step\n"
    "is announced on standard output as \"orvane-demo: step N of M: ...\".",
    {}, 1, 1};

}  // namespace

int main(int argc, char** argv) {
    const orvane::CommandLine line = orvane::readCommandLine(kProgram, argc, argv);
    if (line.exit) return line.status;
    const std::string directory = line.operands[0];
    // Text in the opening picture needs a font database, not a display.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    const auto start = std::chrono::steady_clock::now();
    orvane::DemoOptions options = orvane::defaultDemoOptions();
    // Whoever waits for the data (the viewer's first start) reads these lines.
    options.progress = [](int step, int steps, const std::string& what) {
        std::printf("orvane-demo: step %d of %d: %s\n", step, steps, what.c_str());
        std::fflush(stdout);
    };
    std::string error;
    if (!orvane::buildDemoDirectory(directory, options, error)) {
        std::fprintf(stderr, "orvane-demo: %s\n", error.c_str());
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("orvane-demo: wrote %s in %.1f s\n", directory.c_str(), seconds);
    return 0;
}
