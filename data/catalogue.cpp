#include "data/catalogue.h"

#include <filesystem>

#include "data/files.h"

namespace orvane {

std::vector<Event> catalogue;
std::vector<Station> stationList;

std::vector<Event> readCatalogue(const std::string& directory) {
    std::vector<Event> events;
    auto names = listDirectory(directory.empty() ? "." : directory, "*.evt");
    if (!names) return events;
    events.reserve(names->size());
    for (const std::string& name : *names) {
        std::string path = joinPath(directory, name);
        // A directory whose name ends in ".evt" is not an event file.
        std::error_code ec;
        if (std::filesystem::is_directory(path, ec)) continue;
        events.emplace_back(path);
    }
    return events;
}

void scanCatalogue() { catalogue = readCatalogue(""); }

int findCatalogueEvent(const std::vector<Event>& events, const std::string& fileName) {
    for (std::size_t i = 0; i < events.size(); ++i)
        if (!events[i].fileName.empty() && equalsNoCase(events[i].fileName, fileName))
            return static_cast<int>(i);
    return -1;
}

}  // namespace orvane
