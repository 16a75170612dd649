#include "tools/demo/demo_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>

#include "data/files.h"
#include "data/settings.h"
#include "model/geometry.h"
#include "tools/demo/pictures.h"
#include "tools/demo/texts.h"
#include "tools/demo/tunes.h"

namespace orvane {
namespace {

bool writeText(const std::string& directory, const std::string& name, std::string_view content,
               std::string& error) {
    std::string path = joinPath(directory, name);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (!writeFileAtomically(path, content)) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

std::string verticalFileName(const SelectedStation& s) { return std::string(s.station->code) + ".BHZ"; }

bool writePictures(const std::string& directory, const DemoOptions& options, std::string& error) {
    QImage image(QString::fromStdString(options.texturePath));
    if (image.isNull()) {
        error = "cannot read the Earth texture " + options.texturePath;
        return false;
    }
    EarthTexture texture(image);
    auto save = [&](const QImage& picture, const std::string& name) {
        if (writeBmp(picture, QString::fromStdString(joinPath(directory, name)))) return true;
        error = "cannot write " + joinPath(directory, name);
        return false;
    };
    for (int angle = 0; angle < 360; angle += 45) {
        if (!save(renderGlobe(texture, angle, options.globeSize), "earth" + std::to_string(angle) + ".bmp"))
            return false;
    }
    return save(renderWorldMap(texture, options.mapWidth), "world.bmp") &&
           save(renderWelcomePicture(texture), "OVINIT.BMP");
}

bool writeTexts(const std::string& directory, std::string& error) {
    for (const TextFile& file : informationTexts())
        if (!writeText(directory, file.name, file.content, error)) return false;
    for (const TextFile& file : tutorialTopics())
        if (!writeText(directory, file.name, file.content, error)) return false;
    for (const TextFile& file : helpPages())
        if (!writeText(directory, file.name, file.content, error)) return false;
    return writeText(directory, "tutorial.txt", tutorialListText(tutorialSteps()), error);
}

bool writeSettingsFile(const std::string& directory, std::string& error) {
    Settings demo;
    demo.tutorialEvent = toEvent(tutorialEvent()).fileName;
    if (demo.write(joinPath(directory, kSettingsFileName))) return true;
    error = "cannot write " + joinPath(directory, kSettingsFileName);
    return false;
}

bool writeStationDescriptions(const std::string& directory, const std::vector<PlannedEvent>& events,
                              std::string& error) {
    std::map<std::string_view, const GlobalStation*> used;
    for (const PlannedEvent& planned : events)
        for (const SelectedStation& s : planned.stations) used[s.station->code] = s.station;
    std::string text;
    for (const auto& [code, station] : used)
        text += stationDescriptionLine(code, station->site, station->latitude, station->longitude);
    return writeText(directory, "ZOZERO.STA", text, error);
}

bool writeEvents(const std::string& directory, const std::vector<PlannedEvent>& events, std::string& error) {
    for (const PlannedEvent& planned : events) {
        Event event = planned.event;
        event.fileName = joinPath(directory, planned.event.fileName);
        std::error_code ec;
        std::filesystem::create_directories(event.dataDirectory(), ec);
        if (!event.writeOwn()) {
            error = "cannot write " + event.fileName;
            return false;
        }
        if (!writeText(event.dataDirectory(), "EVT.INF", eventInformationText(*planned.source, planned.stations),
                       error))
            return false;
    }
    return true;
}

}  // namespace

DemoOptions defaultDemoOptions() {
    DemoOptions options;
    options.texturePath = kEarthTexturePath;
    return options;
}

std::string stationDescriptionLine(std::string_view code, std::string_view name, double latitude,
                                   double longitude) {
    char line[128];
    std::string shortName(name.substr(0, 31));
    while (!shortName.empty() && shortName.back() == ' ') shortName.pop_back();
    std::snprintf(line, sizeof line, "%-8.7s%-31s %.4f%c %.4f%c\n", std::string(code).c_str(), shortName.c_str(),
                  std::fabs(latitude), latitude < 0 ? 'S' : 'N', std::fabs(longitude), longitude < 0 ? 'W' : 'E');
    return line;
}

std::vector<PlannedEvent> planEvents(const DemoOptions& options) {
    std::vector<PlannedEvent> planned;
    for (const DemoEvent& source : demoEvents()) {
        PlannedEvent p;
        p.source = &source;
        p.event = toEvent(source);
        p.stations = selectStations(source.latitude, source.longitude, options.stationsPerEvent);
        double farthest = 0;
        for (std::size_t index : spreadIndexes(p.stations.size(), options.shownStations)) {
            StationFile file;
            file.fileName = verticalFileName(p.stations[index]);
            p.event.stationFiles.push_back(file);
            farthest = std::max(farthest, p.stations[index].distance);
        }
        // Long enough for the slower surface wave to pass the farthest station
        // shown, rounded up to whole minutes.
        double seconds = farthest / kSlowSurfaceWaveDegreesPerSecond + 300.0;
        p.event.timeLimit = static_cast<std::int32_t>(std::ceil(seconds / 60.0) * 60.0);
        planned.push_back(std::move(p));
    }
    return planned;
}

bool buildDemoDirectory(const std::string& directory, const DemoOptions& options, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (ec) {
        error = "cannot create " + directory + ": " + ec.message();
        return false;
    }
    const std::vector<PlannedEvent> events = planEvents(options);
    return writePictures(directory, options, error) && writeText(directory, "OV.MID", openingTune(), error) &&
           writeText(directory, "EQ.MID", earthquakeRumble(), error) && writeTexts(directory, error) &&
           writeSettingsFile(directory, error) && writeStationDescriptions(directory, events, error) &&
           writeEvents(directory, events, error);
}

}  // namespace orvane
