#pragma once
// The ak135 Earth model (Kennett, Engdahl and Buland 1995).

#include <vector>

#include "model/earth_model.h"

namespace orvane {

inline constexpr double kAk135Radius = 6371.0;
inline constexpr double kAk135CmbDepth = 2891.5;
inline constexpr double kAk135IcbDepth = 5153.5;

/// The listed depths and velocities, surface first.
std::vector<ModelNode> ak135Nodes();

/// The model built once from ak135Nodes().
const EarthModel& ak135Model();

}  // namespace orvane
