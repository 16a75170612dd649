#include "tools/demo/demo_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>

#include "data/files.h"
#include "data/sac.h"
#include "data/settings.h"
#include "model/geometry.h"
#include "tools/demo/body_waves.h"
#include "tools/demo/pictures.h"
#include "tools/demo/texts.h"
#include "tools/demo/tunes.h"
#include "tools/tables/table_files.h"

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

// The three components of one station: vertical, north and east, with the
// orientation in the header so the viewer tells them apart.
bool writeStationTraces(const std::string& eventDirectory, const PlannedEvent& planned, std::size_t index,
                        std::string& error) {
    const SelectedStation& s = planned.stations[index];
    const DemoEvent& source = *planned.source;
    SeismogramRequest request = stationRequest(planned, index);
    ThreeComponents traces = synthesize(request);

    SacTrace trace;
    trace.delta = static_cast<float>(request.delta);
    trace.begin = static_cast<float>(request.begin);
    trace.year = source.year;
    trace.dayOfYear = dayOfYear(source.year, source.month, source.day);
    trace.hour = source.hour;
    trace.minute = source.minute;
    trace.second = static_cast<std::int32_t>(source.second);
    trace.millisecond = static_cast<std::int32_t>(std::lround((source.second - trace.second) * 1000.0));
    trace.station = std::string(s.station->code);
    trace.network = std::string(s.station->network);
    trace.stationLatitude = static_cast<float>(s.station->latitude);
    trace.stationLongitude = static_cast<float>(s.station->longitude);
    trace.eventLatitude = static_cast<float>(source.latitude);
    trace.eventLongitude = static_cast<float>(source.longitude);
    trace.eventDepth = static_cast<float>(source.depth);
    struct Component {
        const char* channel;
        float azimuth, incidence;
        std::vector<float>* samples;
    };
    for (const Component& c : {Component{"BHZ", 0, 0, &traces.vertical}, Component{"BHN", 0, 90, &traces.north},
                               Component{"BHE", 90, 90, &traces.east}}) {
        trace.component = c.channel;
        trace.componentAzimuth = c.azimuth;
        trace.componentIncidence = c.incidence;
        trace.samples = std::move(*c.samples);
        std::string path = joinPath(eventDirectory, std::string(s.station->code) + "." + c.channel);
        if (!writeSac(path, trace)) {
            error = "cannot write " + path;
            return false;
        }
    }
    return true;
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
        for (std::size_t i = 0; i < planned.stations.size(); ++i)
            if (!writeStationTraces(event.dataDirectory(), planned, i, error)) return false;
        if (!writeText(event.dataDirectory(), "EVT.INF", eventInformationText(*planned.source, planned.stations),
                       error))
            return false;
    }
    return true;
}

}  // namespace

SeismogramRequest stationRequest(const PlannedEvent& planned, std::size_t index) {
    const SelectedStation& s = planned.stations.at(index);
    const DemoEvent& source = *planned.source;
    // A seed per event and station: the same noise every run.
    std::uint64_t seed = (static_cast<std::uint64_t>(source.year) << 32) ^
                         (static_cast<std::uint64_t>(source.month * 100 + source.day) << 16) ^ (index + 1);
    return stationRequest(s.distance, s.backAzimuth, source.depth, source.magnitude, seed);
}

DemoOptions defaultDemoOptions() {
    DemoOptions options;
    options.texturePath = kEarthTexturePath;
    return options;
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
        // Long enough for the slowest surface waves of the traces (3 km/s)
        // to pass the farthest station shown, rounded up to whole minutes.
        double seconds = farthest * kKilometresPerDegree / 3.0 + 120.0;
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
    const int steps = 3 + static_cast<int>(events.size());
    int step = 0;
    auto next = [&](const std::string& what) {
        if (options.progress) options.progress(++step, steps, what);
        return true;
    };
    if (!(next("travel-time and wavefront tables") && writeSeismicTables(directory, error) &&
          next("pictures of the Earth") && writePictures(directory, options, error) &&
          next("tunes, texts, settings and stations") && writeText(directory, "OV.MID", openingTune(), error) &&
          writeText(directory, "EQ.MID", earthquakeRumble(), error) && writeTexts(directory, error) &&
          writeSettingsFile(directory, error) && writeStationDescriptions(directory, events, error)))
        return false;
    for (const PlannedEvent& planned : events) {
        next("seismograms of " + std::string(planned.source->name));
        if (!writeEvents(directory, {planned}, error)) return false;
    }
    return true;
}

}  // namespace orvane
