#include "data/event_loading.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <optional>

#include "data/event.h"
#include "data/files.h"
#include "data/station.h"
#include "data/text_scan.h"
#include "model/geometry.h"

namespace orvane {

namespace {

constexpr std::size_t kEventLineChars = 79;
constexpr std::size_t kStationLineChars = 89;
constexpr std::size_t kWordWidth = 15;
constexpr std::int32_t kInt16Max = std::numeric_limits<std::int16_t>::max();

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Calls `visit` with each line of `file` (line end removed), read in pieces
// of at most `maxChars` characters. The rest of an over-long line is dropped:
// it is never a line of its own.
template <typename Visit>
void forEachLine(std::FILE* file, std::size_t maxChars, Visit visit) {
    std::string piece;
    bool continuation = false;
    while (readLinePiece(file, piece, maxChars)) {
        bool ended = !piece.empty() && piece.back() == '\n';
        bool skip = continuation;
        continuation = !ended && piece.size() >= maxChars;
        if (skip) continue;
        while (!piece.empty() && (piece.back() == '\n' || piece.back() == '\r')) piece.pop_back();
        visit(piece);
    }
}

std::optional<std::string_view> expect(std::optional<std::string_view> text, char c) {
    if (!text || text->empty() || text->front() != c) return std::nullopt;
    return text->substr(1);
}

struct OriginInstant {
    int year, month, day, hour, minute;
    float seconds;
};

// "%d/%d/%d" of the date and "%d:%d:%f" of the time, both complete and a
// real calendar instant; anything else leaves the loaded values as they were.
std::optional<OriginInstant> parseOrigin(std::string_view date, std::string_view time) {
    OriginInstant o{};
    std::string_view rest;
    auto year = scanInt(date, &rest);
    auto r = expect(year ? std::optional(rest) : std::nullopt, '/');
    auto month = r ? scanInt(*r, &rest) : std::nullopt;
    r = expect(month ? std::optional(rest) : std::nullopt, '/');
    auto day = r ? scanInt(*r, &rest) : std::nullopt;
    auto hour = scanInt(time, &rest);
    r = expect(hour ? std::optional(rest) : std::nullopt, ':');
    auto minute = r ? scanInt(*r, &rest) : std::nullopt;
    r = expect(minute ? std::optional(rest) : std::nullopt, ':');
    auto seconds = r ? scanFloat(*r) : std::nullopt;
    if (!day || !seconds) return std::nullopt;
    o = {*year, *month, *day, *hour, *minute, *seconds};
    bool valid = o.year >= 1 && o.year <= 9999 && o.month >= 1 && o.month <= 12 && o.day >= 1 &&
                 o.day <= 31 && o.hour >= 0 && o.hour <= 23 && o.minute >= 0 && o.minute <= 59 &&
                 o.seconds >= 0 && o.seconds < 61;
    return valid ? std::optional(o) : std::nullopt;
}

std::int16_t clampTo16(std::int32_t value, std::int32_t low) {
    return static_cast<std::int16_t>(std::clamp(value, low, kInt16Max));
}

// A view angle outside 16 bits is brought back into one turn: the same
// direction on the globe.
std::int16_t viewAngleOf(std::int32_t value) {
    if (value >= std::numeric_limits<std::int16_t>::min() && value <= kInt16Max)
        return static_cast<std::int16_t>(value);
    return static_cast<std::int16_t>(value % 360);
}

void createExportDirectories(const std::string& eventDirectory) {
    namespace fs = std::filesystem;
    fs::path base(resolvePath(eventDirectory));
    std::error_code ec;
    for (const char* sub : {"sos", "sos/earth", "sos/cross_section", "sos/seismograms"})
        fs::create_directory(base / sub, ec);
}

// The station descriptions of "ZOZERO.STA" for every trace whose code
// matches exactly.
void describeTraces(LoadedEvent& event) {
    FilePtr file(openFile("ZOZERO.STA", "r"));
    if (!file) return;
    forEachLine(file.get(), kStationLineChars, [&](const std::string& line) {
        Station station(line);
        if (station.stationCode.empty()) return;
        for (auto& trace : event.traceList)
            if (trace->stationCode == station.stationCode)
                trace->description = cut(station.stationName, Station::kNameWidth);
    });
}

class EventReader {
public:
    explicit EventReader(LoadedEvent& event) : event_(event) {}

    void line(const std::string& kept) {
        std::string upper = toUpper(kept);
        if (auto v = matchKey(upper, "EVENT LATITUDE:")) {
            if (auto f = scanFloat(*v)) event_.latitude = *f;
        } else if (auto v = matchKey(upper, "EVENT LONGITUDE:")) {
            if (auto f = scanFloat(*v)) event_.longitude = *f;
        } else if (auto v = matchKey(upper, "EVENT DEPTH:")) {
            if (auto f = scanFloat(*v)) loadCurves(*f);
        } else if (auto v = matchKey(upper, "EVENT MAGNITUDE:")) {
            if (auto f = scanFloat(*v)) event_.magnitude = *f;
        } else if (auto v = matchKey(upper, "VIEW ANGLE:")) {
            if (auto i = scanInt(*v)) event_.viewAngle = viewAngleOf(*i);
        } else if (auto v = matchKey(upper, "EVENT DATE:")) {
            if (auto w = scanWord(*v, kWordWidth)) event_.date = *w;
        } else if (auto v = matchKey(upper, "TIME WINDOW:")) {
            // The seismogram view divides by half of it.
            if (auto i = scanInt(*v)) event_.timeWindow = clampTo16(*i, LoadedEvent::kMinimumTimeWindow);
        } else if (auto v = matchKey(upper, "TIME LIMIT:")) {
            if (auto i = scanInt(*v)) event_.timeLimit = clampTo16(*i, 0);
        } else if (auto v = matchKey(upper, "TIME ACCELERATION:")) {
            if (auto f = scanFloat(*v)) event_.timeAcceleration = *f;
        } else if (upper.compare(0, 11, "EVENT NAME:") == 0) {
            event_.name = kept.size() > 12 ? cutUtf8(std::string_view(kept).substr(12), LoadedEvent::kNameWidth)
                                           : std::string();
        } else if (auto v = matchKey(upper, "ORIGIN TIME:")) {
            if (auto w = scanWord(*v, kWordWidth)) origin(*w);
        } else if (auto v = matchKey(upper, "STATION FILE:")) {
            if (auto w = stationFileWord(*v)) addTrace(*w);
        }
    }

private:
    void loadCurves(float depth) {
        event_.depth = depth;
        for (std::size_t i = 0; i < kCurvePhases.size(); ++i)
            event_.curves[i] = loadTravelTimeCurve(kCurvePhases[i], depth, resolvePath);
    }

    void origin(const std::string& text) {
        event_.originTime = text;
        auto o = parseOrigin(event_.date, text);
        if (!o) return;
        event_.year = static_cast<std::uint16_t>(o->year);
        event_.month = static_cast<std::uint16_t>(o->month);
        event_.day = static_cast<std::uint16_t>(o->day);
        event_.hour = static_cast<std::uint16_t>(o->hour);
        event_.minute = static_cast<std::uint16_t>(o->minute);
        event_.second = static_cast<std::uint16_t>(o->seconds);
        float thousandths = o->seconds * 1000.0f;
        event_.millisecond = static_cast<std::uint16_t>(static_cast<std::int32_t>(thousandths) % 1000);
        event_.originEpoch = epochSeconds(event_.year, event_.month, event_.day, event_.hour,
                                          event_.minute, event_.second, event_.millisecond);
    }

    void addTrace(const std::string& word) {
        if (event_.traceList.size() >= LoadedEvent::kMaximumTraces) return;
        auto trace = std::make_unique<KSAC>(joinPath(event_.eventDirectory, word), true,
                                            event_.traceContext());
        if (trace->npts() != 0) event_.traceList.push_back(std::move(trace));
    }

    LoadedEvent& event_;
};

}  // namespace

TraceContext LoadedEvent::traceContext() const {
    TraceContext context;
    context.eventLatitude = latitude;
    context.eventLongitude = longitude;
    context.originEpoch = originEpoch;
    for (std::size_t i = 0; i < curves.size(); ++i) {
        const auto& times = curves[i].times;
        auto count = std::min<std::size_t>(times.size(), static_cast<std::size_t>(std::max(curves[i].count, 0)));
        context.curves[i] = CurveView(times.data(), count);
    }
    return context;
}

LoadedEvent& loadedEvent() {
    static LoadedEvent event;
    return event;
}

void releaseTraces(LoadedEvent& event) { event.traceList.clear(); }

void releaseTraces() { releaseTraces(loadedEvent()); }

bool loadEvent(LoadedEvent& event, const std::string& path) {
    if (!path.empty()) event.eventPath = path;
    FilePtr file(openFile(event.eventPath, "r"));
    if (!file) return false;

    Event named;
    named.fileName = event.eventPath;
    event.eventDirectory = named.dataDirectory();
    createExportDirectories(event.eventDirectory);

    event.latitude = 0;
    event.longitude = 0;
    event.timeAcceleration = 20;
    event.timeWindow = 1800;
    event.timeLimit = 7200;
    releaseTraces(event);

    EventReader reader(event);
    forEachLine(file.get(), kEventLineChars, [&](const std::string& line) { reader.line(line); });
    file.reset();
    event.displayDate = format("%s. %d, %04d", monthAbbreviation(event.month), event.day, event.year);

    describeTraces(event);
    // Ties keep the order of the event file.
    auto distance = [](const std::unique_ptr<KSAC>& t) {
        float g = t->floatWord(sac::GCARC);
        return std::isnan(g) ? std::numeric_limits<float>::infinity() : g;
    };
    std::stable_sort(event.traceList.begin(), event.traceList.end(),
                     [&](const auto& a, const auto& b) { return distance(a) < distance(b); });
    return true;
}

bool loadEvent(const std::string& path) { return loadEvent(loadedEvent(), path); }

}  // namespace orvane
