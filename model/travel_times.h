#pragma once
// Travel times of seismic phases by ray theory: rays sampled by take-off
// angle, their distances and times, and the earliest arrival at a distance
// (triplications take the earliest branch). The direct P and S include the
// up-going rays of a buried focus and continue beyond the core shadow as
// waves diffracted along the core-mantle boundary.

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/earth_model.h"
#include "model/seismic_phase.h"

namespace orvane {

struct Arrival {
    double time = 0;          // s after the origin
    double rayParameter = 0;  // s/deg
};

/// Consecutive rays of one phase that all travel as named.
struct RayBranch {
    std::vector<double> p;      // s/rad
    std::vector<double> delta;  // rad, not folded to 0..pi
    std::vector<double> time;   // s
};

class TravelTimeCalculator {
  public:
    /// A focus `depthKm` deep in `model`; each family of rays (up-going,
    /// down-going) is sampled with `raysPerFamily` take-off angles.
    TravelTimeCalculator(const EarthModel& model, double depthKm, int raysPerFamily = 6000);

    /// Earliest arrival of `phase` at `distanceDegrees` (0 to 180), or nullopt
    /// when no ray of the phase gets there. Safe to call from several threads.
    std::optional<Arrival> arrival(std::string_view phase, double distanceDegrees) const;

    /// arrival() at 0, 1, ..., maxDegree degrees.
    std::vector<std::optional<Arrival>> arrivals(std::string_view phase, int maxDegree = 180) const;

    /// The rays of a phase (nullptr for names that cannot be traced).
    const std::vector<RayBranch>* branches(std::string_view phase) const;

    const EarthModel& model() const { return model_; }
    std::size_t sourceShell() const { return source_; }
    double depth() const { return depth_; }

  private:
    struct PhaseRays {
        std::vector<RayBranch> branches;
        bool diffracts = false;
        double edgeP = 0, edgeDelta = 0, edgeTime = 0;
    };
    const PhaseRays* rays(std::string_view phase) const;
    std::unique_ptr<PhaseRays> computeRays(std::string_view phase) const;

    EarthModel model_;
    double depth_;
    std::size_t source_;
    int raysPerFamily_;
    mutable std::mutex mutex_;
    mutable std::map<std::string, std::unique_ptr<PhaseRays>, std::less<>> cache_;
};

/// Earliest arrival in ak135 of `phase` (P, pP, PP, PcP, S, sS, SS, ScS, SKS,
/// SKKS, PKP, PKIKP, PKiKP, ScP, PcS, PS, SP, ...) at a distance in degrees
/// from a focus `depthKm` deep. Calculators are kept per depth.
std::optional<Arrival> travelTime(std::string_view phase, double distanceDegrees, double depthKm);

/// Largest ray parameter (s/rad) of a wave leaving a focus on top of
/// `sourceShell`, up- or downwards.
double focusSlowness(const EarthModel& model, std::size_t sourceShell, Wave wave, bool upwards);

/// Focal depth (km) of column c (0..13) of the per-phase tables: 0, then 33
/// and every 63.38 km below.
double tableColumnDepth(int column);

/// Travel times of `phase` to 0..180 degrees for the 14 column depths, one
/// vector per column. Nearer than any of its rays (PP and SS close to a
/// buried focus) a phase holds the time of its earliest ray less 0.2 s per
/// degree nearer; beyond its last ray it continues with that ray's slowness.
/// Every column increases with distance.
std::vector<std::vector<double>> tableColumns(const EarthModel& model, std::string_view phase);

}  // namespace orvane
