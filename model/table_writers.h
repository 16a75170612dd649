#pragma once
// Writers of the two table layouts the viewer reads: the per-phase text
// tables ("P.JB": a distance label and 14 depth columns per line) and the
// wavefront tables (".INX" step offsets, ".BIN" records of front points).

#include <string>
#include <vector>

#include "model/wavefront_records.h"

namespace orvane {

/// One line per degree: "%5d" distance, then one "%7.1f" per column.
/// `columns[c][d]` is the time of column c at d degrees; every column must
/// have the same length. NaN is written as 0.0.
std::string formatTravelTimeTable(const std::vector<std::vector<double>>& columns);

struct EncodedWavefronts {
    std::string index;  // little-endian int32 byte offsets, one per step
    std::string data;   // 20-byte headers followed by int16 points
};

/// Encodes the steps in order. A step with no record still gets one header
/// (the first phase name, no points) so that its index entry points at its
/// own time. Names are cut to 11 characters.
EncodedWavefronts encodeWavefronts(const std::vector<WavefrontStep>& steps);

}  // namespace orvane
