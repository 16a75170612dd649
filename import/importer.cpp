#include "import/importer.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdlib.h>

#include "data/event.h"
#include "data/files.h"
#include "data/sac.h"
#include "data/station.h"
#include "data/text_scan.h"
#include "import/time_text.h"

namespace orvane::import {

namespace fs = std::filesystem;

namespace {

constexpr double kKilometresPerDegree = 111.19;
// Recordings are cut to this window around the origin.
constexpr double kBefore = 3600, kAfter = 4 * 3600.0;

// The origin time as the event file keeps it: a tenth of a second.
double roundedOrigin(double origin) { return std::round(origin * 10.0) / 10.0; }

// Calendar fields of the origin counted in whole tenths, so that rounding
// never gives a second of 60.
CivilTime originFields(double origin) {
    long long tenths = std::llround(origin * 10.0);
    long long whole = tenths >= 0 ? tenths / 10 : -((-tenths + 9) / 10);
    CivilTime t = civilFromEpoch(static_cast<double>(whole));
    t.second = std::round(t.second) + static_cast<double>(tenths - whole * 10) / 10.0;
    return t;
}

// A temporary directory beside the target, removed with what it holds unless
// released.
class ScratchDirectory {
public:
    explicit ScratchDirectory(const fs::path& parent, const char* prefix) {
        std::string pattern = (parent / (std::string(prefix) + "XXXXXX")).string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (::mkdtemp(name.data())) path_ = name.data();
    }
    ~ScratchDirectory() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

bool cancelled(const std::atomic<bool>* cancel) { return cancel && cancel->load(); }

SacTrace sacTraceOf(const ImportStation& station, const Component& c, const EventParameters& event) {
    SacTrace t;
    t.delta = static_cast<float>(1.0 / c.sampleRate);
    // The reference time is the first sample cut to a millisecond; B holds
    // the rest.
    long long ms = static_cast<long long>(std::floor(c.start * 1000.0));
    CivilTime civil = civilFromEpoch(static_cast<double>(ms - ((ms % 1000) + 1000) % 1000) / 1000.0);
    t.year = civil.year;
    t.dayOfYear = static_cast<std::int32_t>(daysFromCivil(civil.year, civil.month, civil.day) -
                                            daysFromCivil(civil.year, 1, 1) + 1);
    t.hour = civil.hour;
    t.minute = civil.minute;
    t.second = static_cast<std::int32_t>(std::lround(civil.second));
    t.millisecond = static_cast<std::int32_t>(((ms % 1000) + 1000) % 1000);
    t.begin = static_cast<float>(c.start - static_cast<double>(ms) / 1000.0);
    t.station = station.station;
    t.component = c.channel;
    t.network = station.network;
    t.stationLatitude = static_cast<float>(station.latitude);
    t.stationLongitude = static_cast<float>(station.longitude);
    t.eventLatitude = static_cast<float>(event.latitude);
    t.eventLongitude = static_cast<float>(event.longitude);
    t.eventDepth = static_cast<float>(event.depth);
    t.componentAzimuth = c.letter == 'E' ? 90.0f : 0.0f;
    t.componentIncidence = c.letter == 'Z' ? 0.0f : 90.0f;
    t.samples = c.samples;
    return t;
}

int facingViewAngle(double longitude) {
    int angle = static_cast<int>(std::lround(longitude / 45.0)) * 45;
    return ((angle % 360) + 360) % 360;
}

}  // namespace

int timeLimitFor(double distance) {
    double seconds = distance * kKilometresPerDegree / 3.0 + 120.0;
    int minutes = static_cast<int>(std::ceil(seconds / 60.0));
    return std::clamp(minutes, 10, 180) * 60;
}

std::string eventStem(double origin) {
    CivilTime t = originFields(origin);
    std::string name = eventFileName(t.year, t.month, t.day, t.hour);
    return name.substr(0, name.find('.'));
}

bool expandInputs(const std::vector<std::string>& inputs, std::vector<std::string>& files, std::string& error) {
    for (const std::string& input : inputs) {
        std::error_code ec;
        auto status = fs::status(input, ec);
        if (ec || !fs::exists(status)) {
            error = "cannot read " + input + ": no such file or directory";
            return false;
        }
        if (fs::is_directory(status)) {
            std::vector<std::string> found;
            for (fs::directory_iterator it(input, ec), end; !ec && it != end; it.increment(ec)) {
                std::string name = it->path().filename().string();
                if (!name.empty() && name.front() != '.' && it->is_regular_file(ec)) found.push_back(it->path().string());
            }
            if (ec) {
                error = "cannot list " + input + ": " + ec.message();
                return false;
            }
            std::sort(found.begin(), found.end());
            files.insert(files.end(), found.begin(), found.end());
        } else {
            files.push_back(input);
        }
    }
    if (files.empty()) {
        error = "no recordings given";
        return false;
    }
    return true;
}

bool resolveEvent(const ImportOptions& options, EventParameters& event, std::string& error) {
    if (options.event) {
        event = *options.event;
    } else if (!options.quakemlFile.empty()) {
        std::string text;
        if (!readWholeFile(options.quakemlFile, text, error)) return false;
        if (!parseQuakeMl(text, event, error)) {
            error = options.quakemlFile + ": " + error;
            return false;
        }
    } else if (!options.eventTextFile.empty()) {
        std::string text;
        if (!readWholeFile(options.eventTextFile, text, error)) return false;
        auto events = parseEventText(text);
        if (events.empty()) {
            error = options.eventTextFile + ": no event line (EventID|Time|Latitude|Longitude|Depth|...|Magnitude)";
            return false;
        }
        event = events.front();
    } else {
        error = "no event given: use --origin, --lat, --lon, --depth, --mag and --name, or --quakeml";
        return false;
    }
    if (event.name.empty()) event.name = defaultEventName(event);
    std::string problem = event.problem();
    if (!problem.empty()) {
        error = "event: " + problem;
        return false;
    }
    event.origin = roundedOrigin(event.origin);
    return true;
}

bool runImport(const ImportOptions& options, ImportReport& report, std::string& error, const Progress& progress,
               const std::atomic<bool>* cancel) {
    auto say = [&](const std::string& what, std::size_t done, std::size_t total) {
        if (progress) progress(what, done, total);
    };
    report = {};
    EventParameters event;
    if (!resolveEvent(options, event, error)) return false;
    report.event = event;

    std::error_code ec;
    fs::path workdir = options.workdir.empty() ? fs::path(".") : fs::path(options.workdir);
    if (!fs::is_directory(workdir, ec)) {
        error = "the working directory " + workdir.string() + " does not exist";
        return false;
    }
    const std::string stem = eventStem(event.origin);
    const std::string eventName = stem + ".evt";
    for (const std::string& name : {eventName, stem}) {
        std::string existing = resolvePath((workdir / name).string());
        if (fs::exists(existing, ec)) {
            error = existing + " already exists (an event of the same hour); move it away first";
            return false;
        }
    }

    // Metadata.
    Metadata metadata;
    if (options.metadataFiles.empty()) {
        error = "no station metadata given: use --metadata FILE (FDSN station text or StationXML)";
        return false;
    }
    for (const std::string& file : options.metadataFiles) {
        say("Reading metadata " + file, 0, 0);
        if (!readMetadataFile(file, metadata, error)) return false;
    }

    // Recordings.
    std::vector<std::string> files;
    if (!expandInputs(options.inputs, files, error)) return false;
    MiniSeedCollector collector;
    collector.setWindow(event.origin - kBefore, event.origin + kAfter);
    std::size_t records = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (cancelled(cancel)) {
            error = "interrupted";
            return false;
        }
        say("Reading " + files[i], i, files.size());
        std::size_t n = 0;
        if (!collector.addFile(files[i], n, error)) return false;
        records += n;
    }
    if (records == 0) {
        error = "no miniSEED data records in the recordings given";
        return false;
    }
    std::vector<Recording> recordings = collector.merge();
    report.notes = collector.messages;
    if (recordings.empty()) {
        error = "no recording covers the time around the origin (" + isoTime(event.origin, 1) + ")";
        return false;
    }

    say("Orienting components", 0, 0);
    Assembly assembly =
        assembleStations(std::move(recordings), metadata, event.origin, event.latitude, event.longitude, options.decimate);
    report.notes.insert(report.notes.end(), metadata.messages.begin(), metadata.messages.end());
    report.notes.insert(report.notes.end(), assembly.notes.begin(), assembly.notes.end());
    report.notes.insert(report.notes.end(), assembly.leftOut.begin(), assembly.leftOut.end());
    if (assembly.stations.empty()) {
        bool anyMeta = std::any_of(assembly.leftOut.begin(), assembly.leftOut.end(), [](const std::string& s) {
            return s.find("no metadata") == std::string::npos;
        });
        error = anyMeta ? "no station left: no channel could be turned into a vertical, north or east component"
                        : "no metadata for any channel of the recordings";
        return false;
    }
    std::vector<std::size_t> chosen;
    if (!chooseStations(assembly.stations, options.stations, chosen, error)) return false;
    if (chosen.empty()) {
        error = "no station left to show";
        return false;
    }

    // Everything is written into a scratch directory beside the target first.
    ScratchDirectory scratch(workdir, ".orvane-import-");
    if (scratch.path().empty()) {
        error = "cannot create a temporary directory in " + workdir.string();
        return false;
    }
    fs::path scratchEvent = scratch.path() / eventName;
    fs::path scratchData = scratch.path() / stem;
    fs::create_directory(scratchData, ec);
    if (ec) {
        error = "cannot create " + scratchData.string() + ": " + ec.message();
        return false;
    }
    std::size_t total = 0, done = 0;
    for (const ImportStation& s : assembly.stations) total += s.components.size();
    for (const ImportStation& s : assembly.stations) {
        for (const Component& c : s.components) {
            if (cancelled(cancel)) {
                error = "interrupted";
                return false;
            }
            std::string name = s.station + "." + c.channel;
            say("Writing " + name, done++, total);
            if (name.size() > Event::kStationFileWidth) {
                report.notes.push_back(name + ": name longer than an event file keeps; left out");
                continue;
            }
            if (!writeSac((scratchData / name).string(), sacTraceOf(s, c, event))) {
                error = "cannot write " + (scratchData / name).string();
                return false;
            }
            report.written.push_back(name);
        }
    }

    Event record;
    record.name = cutUtf8(event.name, Event::kNameWidth);
    for (char& c : record.name)
        if (c == '\n' || c == '\r') c = ' ';
    CivilTime t = originFields(event.origin);
    record.year = t.year;
    record.month = t.month;
    record.day = t.day;
    record.hour = t.hour;
    record.minute = t.minute;
    record.second = static_cast<float>(t.second);
    record.latitude = static_cast<float>(event.latitude);
    record.longitude = static_cast<float>(event.longitude);
    record.depth = static_cast<float>(event.depth);
    record.magnitude = static_cast<float>(event.magnitude);
    record.viewAngle = facingViewAngle(event.longitude);
    record.refreshTexts();
    double farthest = 0;
    std::vector<Station> descriptions;
    for (std::size_t index : chosen) {
        const ImportStation& s = assembly.stations[index];
        farthest = std::max(farthest, s.distance);
        bool listed = false;
        for (const Component& c : s.components) {
            std::string name = s.station + "." + c.channel;
            if (options.components.find(c.letter) == std::string::npos ||
                std::find(report.written.begin(), report.written.end(), name) == report.written.end())
                continue;
            StationFile file;
            file.fileName = toUpper(name);
            record.stationFiles.push_back(file);
            report.shown.push_back(file.fileName);
            listed = true;
        }
        if (!listed && !s.components.empty()) {
            // A station without the components asked for shows what it has.
            StationFile file;
            file.fileName = toUpper(s.station + "." + s.components.front().channel);
            record.stationFiles.push_back(file);
            report.shown.push_back(file.fileName);
        }
    }
    for (const ImportStation& s : assembly.stations) {
        Station d;
        d.stationCode = s.station;
        d.stationName = s.siteName.empty() ? s.network + "." + s.station : s.siteName;
        d.latitude = static_cast<float>(s.latitude);
        d.longitude = static_cast<float>(s.longitude);
        descriptions.push_back(d);
    }
    record.timeLimit = timeLimitFor(farthest);
    record.fileName = scratchEvent.string();
    if (!record.writeOwn()) {
        error = "cannot write " + scratchEvent.string();
        return false;
    }
    if (cancelled(cancel)) {
        error = "interrupted";
        return false;
    }

    // Into place: the data directory, the station descriptions, and last the
    // event file, so the viewer never lists an event without its data.
    say("Moving the event into " + workdir.string(), total, total);
    fs::path finalData = workdir / stem, finalEvent = workdir / eventName;
    fs::rename(scratchData, finalData, ec);
    if (ec) {
        error = "cannot move the event directory into " + workdir.string() + ": " + ec.message();
        return false;
    }
    std::string stationFile = resolvePath((workdir / "ZOZERO.STA").string());
    std::string oldStations;
    bool hadStations = fs::exists(stationFile, ec);
    if (hadStations && !readWholeFile(stationFile, oldStations, error)) {
        fs::rename(finalData, scratchData, ec);
        return false;
    }
    int added = addStationDescriptions(stationFile, descriptions);
    if (added < 0) {
        fs::rename(finalData, scratchData, ec);
        error = "cannot write " + stationFile;
        return false;
    }
    fs::rename(scratchEvent, finalEvent, ec);
    if (ec) {
        error = "cannot move the event file into " + workdir.string() + ": " + ec.message();
        fs::rename(finalData, scratchData, ec);
        if (hadStations) writeFileAtomically(stationFile, oldStations);
        else fs::remove(stationFile, ec);
        return false;
    }
    report.newStationLines = added;
    report.eventFile = finalEvent.string();
    return true;
}

}  // namespace orvane::import
