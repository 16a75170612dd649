#include "data/event.h"

#include <cstdio>

#include "data/files.h"
#include "data/text_scan.h"

namespace orvane {

namespace {

constexpr const char* kMonths[] = {"",    "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

void stripLineEnd(std::string& line) {
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (!line.empty() && line.back() == '\r') line.pop_back();
}

template <typename T>
bool scanInto(std::optional<T> value, T& field) {
    if (value) field = *value;
    return value.has_value();
}

}  // namespace

std::optional<std::string> stationFileWord(std::string_view value) {
    auto word = scanWord(value, Event::kStationFileWidth + 1);
    if (!word || word->size() > Event::kStationFileWidth) return std::nullopt;
    return word;
}

const char* monthAbbreviation(std::int32_t month) {
    return month >= 1 && month <= 12 ? kMonths[month] : "";
}

std::string eventFileName(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour) {
    return format("%04u%02u%02u%02u.evt", static_cast<unsigned>(year), static_cast<unsigned>(month),
                  static_cast<unsigned>(day), static_cast<unsigned>(hour));
}

Event::Event() { deriveFromTexts(); }

Event::Event(const char* path) {
    deriveFromTexts();
    timeLimit = 7200;
    fileName.clear();
    std::FILE* file = path ? openFile(path, "r") : nullptr;
    if (!file) return;
    fileName = path;

    std::string line;
    while (readLinePiece(file, line, 79)) {
        stripLineEnd(line);
        const std::string kept = line;
        const std::string upper = toUpper(line);
        const std::string_view u = upper;

        const std::pair<const char*, float*> reals[] = {
            {"EVENT LATITUDE: ", &latitude},
            {"EVENT LONGITUDE: ", &longitude},
            {"EVENT DEPTH: ", &depth},
            {"EVENT MAGNITUDE: ", &magnitude},
        };
        bool done = false;
        for (const auto& [key, field] : reals) {
            if (auto rest = matchKey(u, key); rest && scanInto(scanFloat(*rest), *field)) {
                done = true;
                break;
            }
        }
        if (done) continue;
        if (auto rest = matchKey(u, "EVENT DATE: ")) {
            if (auto w = scanWord(*rest, kTextWidth)) {
                date = *w;
                continue;
            }
        }
        if (u.substr(0, 11) == "EVENT NAME:") {
            name = kept.size() > 12 ? cutUtf8(std::string_view(kept).substr(12), kNameWidth) : "";
            // A carriage return that the cut leaves at the end would be taken
            // for the line end once the name is written and read again.
            while (!name.empty() && name.back() == '\r') name.pop_back();
            continue;
        }
        if (auto rest = matchKey(u, "ORIGIN TIME: ")) {
            if (auto w = scanWord(*rest, kTextWidth)) {
                originTime = *w;
                continue;
            }
        }
        const std::pair<const char*, std::int32_t*> integers[] = {
            {"TIME ACCELERATION: ", &timeAcceleration},
            {"TIME WINDOW: ", &timeWindow},
            {"TIME LIMIT: ", &timeLimit},
            {"VIEW ANGLE: ", &viewAngle},
        };
        for (const auto& [key, field] : integers) {
            if (auto rest = matchKey(u, key); rest && scanInto(scanInt(*rest), *field)) {
                done = true;
                break;
            }
        }
        if (done) continue;
        if (auto rest = matchKey(u, "STATION FILE: ")) {
            if (auto w = stationFileWord(*rest)) {
                StationFile entry;
                entry.fileName = *w;
                stationFiles.push_back(std::move(entry));
            }
        }
    }
    std::fclose(file);
    deriveFromTexts();
}

void Event::deriveFromTexts() {
    // Each number that scans replaces its field; a malformed one leaves it.
    std::string_view rest = date;
    if (scanInto(scanInt(rest, &rest), year) && matchKey(rest, "/") &&
        scanInto(scanInt(rest.substr(1), &rest), month) && matchKey(rest, "/"))
        scanInto(scanInt(rest.substr(1), &rest), day);
    rest = originTime;
    if (scanInto(scanInt(rest, &rest), hour) && matchKey(rest, ":") &&
        scanInto(scanInt(rest.substr(1), &rest), minute) && matchKey(rest, ":"))
        scanInto(scanFloat(rest.substr(1)), second);
    displayDate = cut(format("%s. %d, %04d", monthAbbreviation(month), day, year), kTextWidth);
}

void Event::refreshTexts() {
    fileName = eventFileName(year, month, day, hour);
    date = cut(format("%04u/%02u/%02u", static_cast<unsigned>(year), static_cast<unsigned>(month),
                      static_cast<unsigned>(day)),
               kTextWidth);
    originTime = cut(format("%02u:%02u:%04.1f", static_cast<unsigned>(hour),
                            static_cast<unsigned>(minute), static_cast<double>(second)),
                     kTextWidth);
    displayDate = cut(format("%s. %d, %04d", monthAbbreviation(month), day, year), kTextWidth);
}

std::string Event::dataDirectory() const {
    std::size_t slash = fileName.rfind('/');
    std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = fileName.find('.', start);
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

std::string Event::text(const std::vector<std::string>& stationFileNames) const {
    std::string out;
    out += "EVENT NAME: " + cutUtf8(name, kNameWidth) + "\n";
    out += format("EVENT LATITUDE: %10.4f\n", static_cast<double>(latitude));
    out += format("EVENT LONGITUDE: %10.4f\n", static_cast<double>(longitude));
    out += format("EVENT DEPTH: %10.1f\n", static_cast<double>(depth));
    out += format("EVENT MAGNITUDE: %6.1f\n", static_cast<double>(magnitude));
    out += "EVENT DATE: " + date + "\n";
    out += "ORIGIN TIME: " + originTime + "\n";
    out += format("TIME ACCELERATION: %d\n", timeAcceleration);
    out += format("TIME WINDOW: %d\n", timeWindow);
    out += format("TIME LIMIT: %d\n", timeLimit);
    out += format("VIEW ANGLE: %d\n", viewAngle);
    for (const std::string& file : stationFileNames) out += "STATION FILE: " + file + "\n";
    return out;
}

bool Event::write(const std::vector<Station>& stations) const {
    std::vector<std::string> names;
    for (const Station& station : stations)
        for (int c = kVertical; c <= kEastWest; ++c)
            if (station.used[c]) names.push_back(station.componentFile[c]);
    return writeFileAtomically(fileName, text(names));
}

bool Event::writeOwn() const {
    std::vector<std::string> names;
    for (const StationFile& entry : stationFiles) names.push_back(entry.fileName);
    return writeFileAtomically(fileName, text(names));
}

bool Event::saveAsNew() {
    fileName = eventFileName(year, month, day, hour);
    return writeOwn();
}

}  // namespace orvane
