#pragma once
// Rays through a spherically layered Earth. A ray is fixed by its ray
// parameter p = r sin(i) / v (s/rad); in a shell with v = a r^b and
// eta = r / v the distance and time integrals are closed-form:
//   delta = (acos(p / eta_top) - acos(p / eta_bottom)) / (1 - b)
//   time  = (sqrt(eta_top^2 - p^2) - sqrt(eta_bottom^2 - p^2)) / (1 - b)
// and time is linear in sqrt(eta^2 - p^2), which makes a point at a given
// time along a ray closed-form as well.
// A ray leaving the focus with the slowness of the bottom of the mantle
// grazes the core; it may creep along the core-mantle boundary at that
// boundary's speed before it goes on (the diffracted waves Pdiff, Sdiff).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/earth_model.h"
#include "model/seismic_phase.h"

namespace orvane {

/// One monotonic pass of a ray through one shell (down or up).
struct RaySegment {
    std::uint32_t shell = 0;
    Wave wave = Wave::P;
    std::int16_t leg = 0;
    double sStart = 0, sEnd = 0;          // sqrt(eta^2 - p^2) at entry and exit
    double tStart = 0, tEnd = 0;          // s after the origin
    double thetaStart = 0, thetaEnd = 0;  // rad from the focus
    /// Creeping along the bottom of `shell` (the core-mantle boundary).
    bool creep = false;
};

/// Where a grazing ray creeps: in leg `leg` (a mantle leg that turns), by
/// `angle` rad along the core-mantle boundary.
struct Creep {
    int leg = 0;
    double angle = 0;
};

/// How far a ray got along its phase.
struct RayPath {
    /// Every leg went as the phase names it.
    bool complete = false;
    /// Legs that went as named; the walk stops within the next one.
    int matchedLegs = 0;
    /// Distance (rad, not folded) and time (s) at the end of the walk.
    double delta = 0;
    double time = 0;
};

/// Walks the legs of `phase` for the ray `p` leaving a focus on the top of
/// shell `sourceShell`. Segments of every leg travelled (including a last leg
/// that went otherwise than named, up to where it leaves its region) are
/// appended to `segments` when it is given. With `creep`, the ray must turn
/// at the core-mantle boundary in that leg (p is the grazing slowness) and
/// creeps there; otherwise the leg does not count as travelled.
RayPath tracePath(const EarthModel& model, std::size_t sourceShell, const SeismicPhase& phase,
                  double p, std::vector<RaySegment>* segments = nullptr,
                  const Creep* creep = nullptr);

/// Slowness (s/rad) of a ray grazing the core-mantle boundary, if `wave`
/// has a shadow behind the core there (the core is slower or does not carry
/// it); 0 otherwise, as in an Earth without a slower core.
double grazingSlowness(const EarthModel& model, Wave wave);

/// Position (radius km, angle rad from the focus) of the ray at time `t`
/// within `segment`.
void pointOnSegment(const EarthModel& model, const RaySegment& segment, double p, double t,
                    double& radius, double& theta);

}  // namespace orvane
