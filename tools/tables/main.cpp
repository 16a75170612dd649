// orvane-tables OUTDIR
// orvane-tables --preview OUTDIR SECONDS...
// Computes the seismic tables of the viewer from the ak135 Earth model and
// writes them into OUTDIR; with --preview also one PNG per given time and
// focus ("OV0-600s.png").
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/command_line.h"
#include "data/files.h"
#include "tools/tables/preview.h"
#include "tools/tables/table_files.h"

namespace {

const orvane::ProgramInfo kProgram{
    "orvane-tables", "[--preview] OUTDIR [SECONDS...]",
    "Computes the travel-time tables P.JB, S.JB, PP.JB, SS.JB and the wavefront tables OV0 and OV600\n"
    "(.INX, .BIN) of the Orvane viewer from the ak135 Earth model and writes them into OUTDIR.",
    {{"--preview", "also draw the wavefronts at each time SECONDS into OUTDIR/OV0-600s.png, ..."}},
    1, orvane::kAnyOperands};

}  // namespace

int main(int argc, char** argv) {
    const orvane::CommandLine line = orvane::readCommandLine(kProgram, argc, argv);
    if (line.exit) return line.status;
    const bool preview = line.has("--preview");
    const std::vector<std::string>& args = line.operands;
    if (!preview && args.size() != 1) return orvane::usageError(kProgram, "times are given with --preview only");
    std::vector<int> times;
    for (std::size_t i = 1; i < args.size(); ++i) {
        char* end = nullptr;
        long t = std::strtol(args[i].c_str(), &end, 10);
        if (end == args[i].c_str() || *end != '\0' || t < 0 || t > 32767)
            return orvane::usageError(kProgram, "not a time in seconds: " + args[i]);
        times.push_back(static_cast<int>(t));
    }

    auto start = std::chrono::steady_clock::now();
    std::string error;
    std::vector<orvane::WavefrontTableSet> fronts;
    if (!orvane::writeSeismicTables(args[0], error, &fronts)) {
        std::fprintf(stderr, "orvane-tables: %s\n", error.c_str());
        return 1;
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("tables written to %s in %.1f s\n", args[0].c_str(), seconds);

    for (int t : times) {
        for (const auto& set : fronts) {
            std::string name = set.stem + "-" + std::to_string(t) + "s.png";
            std::string path = orvane::joinPath(args[0], name);
            if (!orvane::writeWavefrontPreview(set.steps, t, path)) {
                std::fprintf(stderr, "orvane-tables: cannot write %s\n", path.c_str());
                return 1;
            }
        }
    }
    return 0;
}
