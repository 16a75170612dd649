#include "data/station.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <set>

#include "data/event.h"
#include "data/files.h"
#include "data/sac.h"
#include "data/text_scan.h"

namespace orvane {

namespace {

constexpr double kRadians = 0.017453292;
constexpr std::size_t kFileCodeWidth = 7;  // the code field of "ZOZERO.STA"
constexpr std::size_t kNameColumn = 8;
constexpr std::size_t kNameColumns = 31;
constexpr std::size_t kPositionColumn = 40;

std::string_view trimRight(std::string_view text) {
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// One "%f%c" of the position columns: the number and the letter right after
// it. A missing number leaves `value` as it was.
bool scanCoordinate(std::string_view& text, float& value, char negative) {
    std::string_view rest;
    auto number = scanFloat(text, &rest);
    if (!number) return false;
    value = *number;
    if (rest.empty()) {
        text = rest;
        return true;
    }
    if (toUpper(rest.front()) == negative) value = -value;
    text = rest.substr(1);
    return true;
}

bool listedIn(const Event& event, std::string_view fileName) {
    return std::any_of(event.stationFiles.begin(), event.stationFiles.end(),
                       [&](const StationFile& f) { return equalsNoCase(f.fileName, fileName); });
}

}  // namespace

StationFile::StationFile(const KSAC& trace)
    : stationCode(trace.charField(sac::KSTNM)),
      latitude(trace.floatWord(sac::STLA)),
      longitude(trace.floatWord(sac::STLO)),
      fileName(trace.fileName) {
    float inc = trace.floatWord(sac::CMPINC);
    float az = trace.floatWord(sac::CMPAZ);
    if (!sac::undefined(inc) && !sac::undefined(az)) {
        if (inc == 0) component = 'Z';
        else if (az == 90) component = 'E';
        else if (az == 0) component = 'N';
        else component = 'Z';
    } else {
        char last = trace.fileName.empty() ? 'Z' : toUpper(trace.fileName.back());
        component = (last == 'N' || last == 'E') ? last : 'Z';
    }
}

Station::Station(std::string_view line) {
    line = trimRight(line);
    std::size_t start = 0;
    while (start < line.size() && isBlank(line[start])) ++start;
    std::size_t end = start;
    while (end < line.size() && !isBlank(line[end])) ++end;
    stationCode = std::string(line.substr(start, std::min(end - start, kFileCodeWidth)));

    if (line.size() > kNameColumn)
        stationName = std::string(trimRight(line.substr(kNameColumn, kNameColumns)));
    if (line.size() > kPositionColumn) {
        std::string_view position = line.substr(kPositionColumn);
        if (scanCoordinate(position, latitude, 'S')) {
            while (!position.empty() && isBlank(position.front())) position.remove_prefix(1);
            scanCoordinate(position, longitude, 'W');
        }
    }
}

Station::Station(const StationFile& file)
    : stationCode(file.stationCode),
      stationName(file.stationName),
      latitude(file.latitude),
      longitude(file.longitude) {
    int index = componentIndex(file.component);
    available[index] = true;
    componentFile[index] = toUpper(file.fileName);
}

int componentIndex(char component) {
    switch (component) {
        case 'E': return kEastWest;
        case 'N': return kNorthSouth;
        default: return kVertical;
    }
}

GreatCircle greatCircle(float stationLatitude, float stationLongitude, float eventLatitude,
                        float eventLongitude) {
    double ts = (90.0 - stationLatitude) * kRadians;
    double te = (90.0 - eventLatitude) * kRadians;
    double dl = (static_cast<double>(stationLongitude) - eventLongitude) * kRadians;
    // Rounding can carry the cosine just past +-1, where arccos has no value.
    double cosArc = std::clamp(std::sin(ts) * std::sin(te) * std::cos(dl) + std::cos(ts) * std::cos(te),
                               -1.0, 1.0);
    GreatCircle result;
    if (!std::isfinite(cosArc)) return result;
    result.arc = static_cast<float>(std::acos(cosArc) / kRadians);

    double denominator = std::sin(ts) * std::sqrt(1.0 - cosArc * cosArc);
    double angle = 0;
    if (denominator != 0) {
        double c = (std::cos(te) - std::cos(ts) * cosArc) / denominator;
        if (c >= 1) angle = 0;
        else if (c <= -1) angle = 180;
        else angle = std::acos(c) / kRadians;
    }
    // Seen from the station the angle runs clockwise when the event lies to
    // the east, that is when sin(station - event longitude) < 0.
    double azimuth = std::sin(dl) > 0 ? 360.0 - angle : angle;
    if (azimuth < 0) azimuth += 360;
    if (azimuth >= 360) azimuth -= 360;
    result.backAzimuth = static_cast<float>(azimuth);
    return result;
}

std::vector<Station> buildStationList(const Event& event, const MessageReporter& report) {
    std::vector<Station> stations;
    std::string directory = event.dataDirectory();
    auto entries = listDirectory(directory);
    if (entries) {
        // A name the event file cannot hold could be chosen but never loaded.
        entries->erase(std::remove_if(entries->begin(), entries->end(),
                                      [](const std::string& name) {
                                          return name.front() == '.' ||
                                                 name.size() > Event::kStationFileWidth;
                                      }),
                       entries->end());
    }
    if (!entries || entries->empty()) {
        if (report) report("No files found");
        return stations;
    }

    for (const std::string& entry : *entries) {
        KSAC trace(joinPath(directory, entry), false);
        if (trace.npts() == 0) continue;
        StationFile file(trace);
        file.fileName = toUpper(entry);
        Station station(file);
        int index = componentIndex(file.component);

        auto same = std::find_if(stations.begin(), stations.end(), [&](const Station& s) {
            return equalsNoCase(s.stationCode, station.stationCode);
        });
        if (same != stations.end()) {
            same->available[index] = true;
            same->componentFile[index] = station.componentFile[index];
            if (listedIn(event, file.fileName)) same->used[index] = true;
        } else {
            for (int c = 0; c < 3; ++c)
                station.used[c] = station.available[c] && listedIn(event, station.componentFile[c]);
            stations.push_back(std::move(station));
        }
    }
    return stations;
}

namespace {

// "%.4f" followed by the hemisphere letter, without the C library's locale.
std::string coordinateText(double value, char positive, char negative) {
    double magnitude = std::isfinite(value) ? std::fabs(value) : 0.0;
    char digits[64];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, magnitude, std::chars_format::fixed, 4);
    std::string text = ec == std::errc() ? std::string(digits, end) : std::string("0.0000");
    text.push_back(value < 0 ? negative : positive);
    return text;
}

}  // namespace

std::string stationDescriptionLine(std::string_view code, std::string_view name, double latitude,
                                   double longitude) {
    std::string line(code.substr(0, kFileCodeWidth));
    line.resize(kNameColumn, ' ');
    // Line ends inside a name would split the line.
    std::string shortName(trimRight(name.substr(0, kNameColumns)));
    for (char& c : shortName)
        if (c == '\n' || c == '\r' || c == '\0') c = ' ';
    line += shortName;
    line.resize(kPositionColumn, ' ');
    line += coordinateText(latitude, 'N', 'S') + " " + coordinateText(longitude, 'E', 'W') + "\n";
    return line;
}

int addStationDescriptions(const std::string& path, const std::vector<Station>& stations) {
    std::string old;
    std::set<std::string> known;
    std::error_code ec;
    std::string resolved = resolvePath(path);
    if (std::FILE* file = openFile(resolved, "rb")) {
        char buffer[65536];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) old.append(buffer, n);
        bool failed = std::ferror(file) != 0;
        std::fclose(file);
        if (failed) return -1;
    } else if (std::filesystem::exists(resolved, ec)) {
        return -1;
    }
    std::string_view rest = old;
    while (!rest.empty()) {
        std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        known.insert(Station(line).stationCode);
    }
    std::string added;
    int count = 0;
    for (const Station& station : stations) {
        std::string code = station.stationCode.substr(0, kFileCodeWidth);
        if (code.empty() || !known.insert(code).second) continue;
        added += stationDescriptionLine(code, station.stationName, station.latitude, station.longitude);
        ++count;
    }
    if (count == 0) return 0;
    if (!old.empty() && old.back() != '\n') old.push_back('\n');
    return writeFileAtomically(resolved, old + added) ? count : -1;
}

}  // namespace orvane
