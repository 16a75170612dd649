#include "tools/tables/table_files.h"

#include <filesystem>
#include <thread>

#include "data/files.h"
#include "model/ak135.h"
#include "model/table_writers.h"
#include "model/travel_times.h"
#include "model/wavefronts.h"

namespace orvane {

const std::vector<std::string>& travelTimeTablePhases() {
    static const std::vector<std::string> phases = {"P", "S", "PP", "SS"};
    return phases;
}

bool writeSeismicTables(const std::string& directory, std::string& error,
                        std::vector<WavefrontTableSet>* fronts) {
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (!std::filesystem::is_directory(directory)) {
        error = "cannot create directory " + directory;
        return false;
    }
    std::vector<WavefrontTableSet> sets = {{"OV0", 0.0, {}}, {"OV600", 600.0, {}}};
    // The deep focus takes longest: give it its own thread.
    std::thread deep([&] { sets[1].steps = computeWavefronts(ak135Model(), sets[1].depthKm); });
    sets[0].steps = computeWavefronts(ak135Model(), sets[0].depthKm);
    std::vector<std::string> tables;
    for (const std::string& phase : travelTimeTablePhases())
        tables.push_back(formatTravelTimeTable(tableColumns(ak135Model(), phase)));
    deep.join();

    auto write = [&](const std::string& name, const std::string& content) {
        std::string path = joinPath(directory, name);
        if (writeFileAtomically(path, content)) return true;
        error = "cannot write " + path;
        return false;
    };
    for (std::size_t i = 0; i < tables.size(); ++i)
        if (!write(travelTimeTablePhases()[i] + ".JB", tables[i])) return false;
    for (const WavefrontTableSet& set : sets) {
        EncodedWavefronts encoded = encodeWavefronts(set.steps);
        if (!write(set.stem + ".INX", encoded.index) || !write(set.stem + ".BIN", encoded.data))
            return false;
    }
    if (fronts) *fronts = std::move(sets);
    return true;
}

}  // namespace orvane
