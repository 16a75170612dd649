#pragma once
// A spherically symmetric Earth: P and S velocities linear in depth between
// listed depths, cut into thin shells. Within a shell the velocity is taken as
// v = a r^b (exact at both ends), which makes the ray integrals closed-form.

#include <array>
#include <cstddef>
#include <vector>

namespace orvane {

enum class Wave : int { P = 0, S = 1 };
enum class Region : int { Mantle = 0, OuterCore = 1, InnerCore = 2 };

inline int index(Wave w) { return static_cast<int>(w); }

/// One listed depth of a model; a repeated depth is a discontinuity.
struct ModelNode {
    double depth;  // km
    double vp;     // km/s
    double vs;     // km/s, 0 where shear waves do not travel
};

/// The layer between two radii. eta = r / v (s/rad) is the largest ray
/// parameter that still travels at that radius.
struct Shell {
    double rTop = 0;
    double rBottom = 0;
    Region region = Region::Mantle;
    std::array<double, 2> vTop{};
    std::array<double, 2> vBottom{};
    std::array<double, 2> etaTop{};
    std::array<double, 2> etaBottom{};
    /// 1 - b for v = a r^b; 1 for constant velocity.
    std::array<double, 2> k{};

    bool carries(Wave w) const { return vTop[index(w)] > 0 && vBottom[index(w)] > 0; }
};

class EarthModel {
  public:
    /// `nodes` from the surface down, depths not decreasing; shells are at most
    /// `maxShellKm` thick. Depths above `cmbDepth` are mantle (crust
    /// included), those below `icbDepth` inner core.
    EarthModel(std::vector<ModelNode> nodes, double radius, double cmbDepth, double icbDepth,
               double maxShellKm = 25.0);

    double radius() const { return radius_; }
    double cmbRadius() const { return radius_ - cmbDepth_; }
    double icbRadius() const { return radius_ - icbDepth_; }
    const std::vector<Shell>& shells() const { return shells_; }

    /// Shells of a region: [first, end).
    std::size_t firstShell(Region r) const { return regionBegin_[static_cast<int>(r)]; }
    std::size_t endShell(Region r) const { return regionBegin_[static_cast<int>(r) + 1]; }

    /// Velocity at a depth (the value below a discontinuity).
    double velocity(Wave w, double depth) const;

    /// The same model with a shell boundary at `depth`, so that a focus there
    /// sits on a boundary.
    EarthModel withBoundaryAt(double depth) const;

    /// Index of the shell whose top lies at `depth` (the number of shells above
    /// it); the nearest boundary when none lies exactly there.
    std::size_t shellAtDepth(double depth) const;

  private:
    void build();

    std::vector<ModelNode> nodes_;
    double radius_;
    double cmbDepth_;
    double icbDepth_;
    double maxShellKm_;
    std::vector<Shell> shells_;
    std::array<std::size_t, 4> regionBegin_{};
};

/// An Earth of constant velocities with the core boundaries at the given
/// depths (velocity does not change across them). Rays are straight chords.
EarthModel uniformEarth(double vp, double vs, double radius = 6371.0, double cmbDepth = 2891.5,
                        double icbDepth = 5153.5);

}  // namespace orvane
