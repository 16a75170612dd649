#include "model/travel_time_curve.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <memory>

namespace orvane {

namespace {

constexpr int kFirstColumn = 5;
constexpr int kColumnWidth = 7;

// One table line, at most kCurveLineLength characters without the line end.
// The rest of a longer line is dropped so that it cannot shift every later
// line to the wrong distance. Returns false at end of file.
bool readTableLine(std::FILE* file, std::string& line) {
    line.clear();
    int ch;
    bool any = false;
    while ((ch = std::fgetc(file)) != EOF) {
        any = true;
        if (ch == '\n') return true;
        if (line.size() < static_cast<std::size_t>(kCurveLineLength))
            line.push_back(static_cast<char>(ch));
    }
    return any;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The number in `column` of `line`. It must begin inside the column: a blank
// column must not borrow the next column's number. Anything else gives 0.
float columnValue(const std::string& line, int column) {
    std::size_t pos = static_cast<std::size_t>(kFirstColumn + kColumnWidth * column);
    std::size_t end = std::min(line.size(), pos + kColumnWidth);
    while (pos < end && isBlank(line[pos])) ++pos;
    if (pos >= end) return 0;
    if (line[pos] == '+') ++pos;
    // from_chars, unlike strtof, ignores the locale the GUI toolkit sets.
    float value = 0;
    auto [ptr, ec] = std::from_chars(line.data() + pos, line.data() + line.size(), value);
    if (ec != std::errc() || ptr == line.data() + pos || !std::isfinite(value)) return 0;
    return value;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

const std::array<float, kCurveEntries>& curveDistances() {
    static const std::array<float, kCurveEntries> distances = [] {
        std::array<float, kCurveEntries> d{};
        for (int k = 0; k < kCurveEntries; ++k) d[k] = static_cast<float>(k);
        return d;
    }();
    return distances;
}

int depthColumn(float depth) {
    // The float depth is widened as stored, so 96.38 km lands just below
    // column 2 and stays in column 1.
    double c = (static_cast<double>(depth) - 33.0) / 63.38 + 1.0;
    if (!(c >= 0)) return 0;
    if (c >= kDepthColumns - 1) return kDepthColumns - 1;
    return static_cast<int>(c);
}

std::string travelTimeFileName(std::string_view phase) { return std::string(phase) + ".JB"; }

TravelTimeCurve readTravelTimeCurve(std::FILE* file, float depth) {
    TravelTimeCurve curve;
    if (!file) return curve;
    int column = depthColumn(depth);
    curve.times.assign(kCurveEntries, 0.0f);
    std::string line;
    while (curve.count < kCurveEntries && readTableLine(file, line)) {
        double value = columnValue(line, column);
        curve.times[curve.count++] = static_cast<float>(std::floor(value + 0.5));
    }
    return curve;
}

TravelTimeCurve loadTravelTimeCurve(std::string_view phase, float depth,
                                    const PathResolver& resolve) {
    std::string name = travelTimeFileName(phase);
    std::string path = resolve ? resolve(name) : name;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return {};
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "r"));
    return readTravelTimeCurve(file.get(), depth);
}

float interpolateTable(std::span<const float> keys, std::span<const float> values, int count,
                       float x) {
    int n = static_cast<int>(std::min(keys.size(), values.size()));
    n = std::clamp(count, 0, n);
    if (n == 0 || std::isnan(x)) return 0;
    if (x < keys[0] || x > keys[n - 1]) return 0;
    if (x == keys[n - 1]) return values[n - 1];
    // keys[0] <= x < keys[n - 1], so the search stops inside the table with
    // keys[i - 1] <= x < keys[i] even when the keys do not increase.
    for (int i = 1; i < n; ++i) {
        if (x < keys[i]) {
            float result =
                values[i] - (values[i] - values[i - 1]) * (keys[i] - x) / (keys[i] - keys[i - 1]);
            return std::isfinite(result) ? result : 0;
        }
    }
    return 0;
}

}  // namespace orvane
