// orvane-import: recorded earthquakes into events the viewer reads.
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "data/command_line.h"
#include "import/command_line.h"
#include "import/fetch.h"
#include "import/importer.h"

namespace {

std::atomic<bool> interrupted{false};

void onSignal(int) { interrupted = true; }

}  // namespace

int main(int argc, char** argv) {
    using namespace orvane::import;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && arguments[0] == "--version") {
        std::printf("orvane-import %s\n", std::string(orvane::programVersion()).c_str());
        return 0;
    }
    CommandLine line;
    std::string error;
    if (!parseCommandLine(arguments, line, error)) {
        std::fprintf(stderr, "orvane-import: %s\n(orvane-import --help shows the usage)\n", error.c_str());
        return 2;
    }
    if (line.help) {
        std::fputs(usage().c_str(), stdout);
        return 0;
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);

    const bool terminal = ::isatty(STDERR_FILENO) != 0;
    bool lineOpen = false;
    auto progress = [&](const std::string& what, std::size_t done, std::size_t total) {
        if (line.quiet) return;
        if (terminal) {
            std::string text = total > 0 ? "[" + std::to_string(done) + "/" + std::to_string(total) + "] " + what : what;
            if (text.size() > 78) text = text.substr(0, 75) + "...";
            std::fprintf(stderr, "\r%-79s", text.c_str());
            lineOpen = true;
        } else {
            std::fprintf(stderr, "%s\n", what.c_str());
        }
    };
    std::size_t lastBytes = 0;
    auto bytes = [&](const std::string&, std::size_t received) {
        if (line.quiet || !terminal) return;
        if (received < lastBytes || received - lastBytes >= 65536) {
            std::fprintf(stderr, "\r  %zu kB received%-50s", received / 1024, "");
            lastBytes = received;
            lineOpen = true;
        }
    };

    ImportReport report;
    bool ok = line.fetchMode ? runFetch(line.fetch, line.import, report, error, progress, bytes, &interrupted)
                             : runImport(line.import, report, error, progress, &interrupted);
    if (lineOpen) std::fputc('\n', stderr);
    if (!line.quiet)
        for (const std::string& note : report.notes) std::fprintf(stderr, "note: %s\n", note.c_str());
    if (!ok) {
        std::fprintf(stderr, "orvane-import: %s\n", error.c_str());
        return interrupted ? 130 : 1;
    }
    std::printf("%s: %s, %zu seismograms, %zu shown, %d new station lines\n", report.eventFile.c_str(),
                report.event.name.c_str(), report.written.size(), report.shown.size(), report.newStationLines);
    return 0;
}
