#pragma once
// Seismic phases as sequences of legs. Names follow the usual code: P and S
// in the mantle, K in the outer core, I (J) for P (S) in the inner core, c a
// reflection at the core-mantle boundary, i at the inner-core boundary, a
// leading p or s a leg that leaves the focus upwards; a repeated mantle letter
// is a reflection at the surface (PP), KK one under the core-mantle boundary.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/earth_model.h"

namespace orvane {

enum class LegKind {
    Turn,  // enters its region from above, turns inside, leaves upwards
    Down,  // crosses its region from top to bottom
    Up,    // crosses its region from bottom to top (or the focus to the surface)
};

struct Leg {
    Wave wave;
    Region region;
    LegKind kind;

    bool operator==(const Leg&) const = default;
};

struct SeismicPhase {
    std::string name;
    /// The first leg leaves the focus upwards (p, s); otherwise downwards.
    bool upTakeoff = false;
    std::vector<Leg> legs;

    /// Parses a phase name; nullopt for names this model cannot trace.
    static std::optional<SeismicPhase> parse(std::string_view name);
};

}  // namespace orvane
