#pragma once
// Per-phase travel-time curves: one depth column of a "%s.JB" text table,
// giving the travel time in whole seconds to every degree from 0 to 180.
// Used both ways through interpolateTable: distance reached at a time (globe
// circles) and arrival time at a distance (seismogram marks).

#include <array>
#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

/// Entries of a full curve: 0 to 180 degrees.
inline constexpr int kCurveEntries = 181;
/// Depth columns of a table.
inline constexpr int kDepthColumns = 14;
/// Characters read of one table line.
inline constexpr int kCurveLineLength = 127;

/// Maps a file name to the path to open (for example a case-insensitive
/// lookup in the working directory). An empty function opens the name as given.
using PathResolver = std::function<std::string(const std::string&)>;

struct TravelTimeCurve {
    /// kCurveEntries entries when the table was read, empty when it was missing.
    std::vector<float> times;
    /// Entries actually read; 0 when the table was missing.
    int count = 0;

    std::span<const float> keys() const { return {times.data(), times.size()}; }
};

/// The distances 0, 1, ..., 180 that pair with every curve.
const std::array<float, kCurveEntries>& curveDistances();

/// The column of a table for a focal depth in km: column 0 below 33 km, then
/// one column every 63.38 km, at most 13.
int depthColumn(float depth);

/// "P.JB" for phase "P".
std::string travelTimeFileName(std::string_view phase);

/// Reads the column for `depth` from an open table (up to kCurveEntries
/// lines). A line whose column holds no finite number gives 0.
TravelTimeCurve readTravelTimeCurve(std::FILE* file, float depth);

/// Reads the curve of `phase` from its table; a missing table gives count 0.
TravelTimeCurve loadTravelTimeCurve(std::string_view phase, float depth,
                                    const PathResolver& resolve = {});

/// Piecewise-linear lookup of x among the first `count` keys (which should
/// increase). Outside the keys, and for NaN, the result is 0. `count` is
/// limited to the shorter of the two spans.
float interpolateTable(std::span<const float> keys, std::span<const float> values, int count,
                       float x);

}  // namespace orvane
