#pragma once
// Wavefronts: where the rays of each phase are at every time step, as
// polylines in the section plane. Each phase's record starts where its path
// leaves the path of a phase drawn before it (PcP at the core-mantle
// boundary, PP at the surface bounce, Pdiff where the ray grazing the core
// starts to creep along it), so no curve is drawn twice.

#include <string>
#include <vector>

#include "model/earth_model.h"
#include "model/wavefront_records.h"

namespace orvane {

struct WavefrontOptions {
    int timeStep = 10;            // s between steps
    int lastTime = 3600;          // s, the last step
    int initialRays = 512;        // take-off angles per family before refinement
    int maxRays = 20000;          // per phase, refinement included
    double refineKm = 40.0;       // neighbouring rays further apart get a ray between
    double spacingKm = 60.0;      // least distance between kept points
    double breakKm = 200.0;       // neighbouring rays further apart break the front
    std::size_t maxPoints = 400;  // longer fronts continue in another record
    double dashKm = 200.0;        // dashes of diffracted fronts
    double gapKm = 120.0;         // and the gaps between them
};

/// Names of the phases drawn, in record order; the depth phases (pP, sP, sS,
/// pS and their diffracted fronts) only for a focus below the surface.
/// Diffracted fronts (Pdiff, PPdiff, ...) are drawn as dashes.
std::vector<std::string> wavefrontPhases(bool buriedFocus);

/// The fronts of a focus `depthKm` deep at 0, timeStep, ..., lastTime s.
std::vector<WavefrontStep> computeWavefronts(const EarthModel& model, double depthKm,
                                             const WavefrontOptions& options = {});

}  // namespace orvane
