#pragma once
// The content of a wavefront table: per time step, records of front points.

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

/// Drawn as a P wave (P, K and I legs) or an S wave.
inline constexpr std::uint16_t kWaveTypeP = 1;
inline constexpr std::uint16_t kWaveTypeS = 2;

struct FrontPoint {
    std::int16_t along = 0;   // km along the axis from the centre to the epicentre
    std::int16_t across = 0;  // km at right angles, never negative

    bool operator==(const FrontPoint&) const = default;
};

/// One open polyline of one phase at one time.
struct FrontRecord {
    std::string phase;
    std::uint16_t waveType = kWaveTypeP;
    std::vector<FrontPoint> points;
};

struct WavefrontStep {
    int time = 0;  // s after the origin
    std::vector<FrontRecord> records;
};

}  // namespace orvane
