#pragma once
// Writes the viewer's seismic tables into a directory: "P.JB", "S.JB",
// "PP.JB", "SS.JB" and the wavefront pairs "OV0.INX"/"OV0.BIN" (focus at
// the surface) and "OV600.INX"/"OV600.BIN" (focus 600 km deep).

#include <string>
#include <vector>

#include "model/wavefront_records.h"

namespace orvane {

/// Phases of the per-phase tables, in the order they are written.
const std::vector<std::string>& travelTimeTablePhases();

struct WavefrontTableSet {
    std::string stem;  // "OV0" or "OV600"
    double depthKm = 0;
    std::vector<WavefrontStep> steps;
};

/// Computes everything (two threads) and writes the eight files into
/// `directory`, which is created when missing. Returns false, with a message
/// in `error`, when a file cannot be written. The computed fronts are left in
/// `fronts` when it is given (for previews).
bool writeSeismicTables(const std::string& directory, std::string& error,
                        std::vector<WavefrontTableSet>* fronts = nullptr);

}  // namespace orvane
