#pragma once
// A picture of the wavefronts of one time: the Earth's disc with the cores,
// P fronts red and S fronts cyan, each record with its mirror image, the
// epicentre at the top.

#include <string>
#include <vector>

#include "model/wavefront_records.h"

namespace orvane {

/// Writes a square PNG of `size` pixels for the step holding `seconds`
/// (rounded down to a whole step). Returns false when it cannot be written.
bool writeWavefrontPreview(const std::vector<WavefrontStep>& steps, int seconds,
                           const std::string& path, int size = 800);

}  // namespace orvane
