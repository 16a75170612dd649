#include "model/travel_times.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "model/ak135.h"
#include "model/ray_tracing.h"

namespace orvane {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDegree = kPi / 180.0;
// Smallest rise per degree kept in a table column (twice its resolution).
constexpr double kMinimumStep = 0.2;

// Splits the sampled rays into runs of rays that travel as named.
void addFamily(const EarthModel& model, std::size_t source, const SeismicPhase& phase, int count,
               std::vector<RayBranch>& out) {
    double pMax = focusSlowness(model, source, phase.legs.front().wave, phase.upTakeoff);
    if (!(pMax > 0) || !std::isfinite(pMax)) return;
    RayBranch run;
    auto flush = [&] {
        if (run.p.size() >= 2) out.push_back(std::move(run));
        run = RayBranch{};
    };
    for (int i = 0; i <= count; ++i) {
        double p = pMax * std::sin(0.5 * kPi * i / count);
        RayPath path = tracePath(model, source, phase, p);
        if (!path.complete) {
            flush();
            continue;
        }
        run.p.push_back(p);
        run.delta.push_back(path.delta);
        run.time.push_back(path.time);
    }
    flush();
}

// Earliest time at distance d (rad) along one pair of rays, if they bracket it.
void bracket(double p0, double d0, double t0, double p1, double d1, double t1, double d,
             double& best, double& bestP) {
    double mid = 0.5 * (d0 + d1);
    double sheet = std::floor(mid / kPi);
    // Rays beyond pi arrive at 2 pi - delta on the far side of the Earth.
    bool odd = static_cast<long long>(sheet) % 2 != 0;
    double f0 = odd ? (sheet + 1) * kPi - d0 : d0 - sheet * kPi;
    double f1 = odd ? (sheet + 1) * kPi - d1 : d1 - sheet * kPi;
    if (d < std::min(f0, f1) || d > std::max(f0, f1)) return;
    double t, p;
    if (f1 == f0) {
        t = std::min(t0, t1);
        p = t0 <= t1 ? p0 : p1;
    } else {
        // dT/d(delta) = p; p taken as linear in distance over the pair.
        double u = (d - f0) / (f1 - f0);
        p = p0 + (p1 - p0) * u;
        double along = odd ? (f0 - d) : (d - f0);
        t = t0 + along * 0.5 * (p0 + p);
    }
    if (t < best) {
        best = t;
        bestP = p;
    }
}

// Distance (degrees, folded to 0..180) and time of the phase's earliest ray.
void earliestRay(const TravelTimeCalculator& calc, std::string_view phase, double& degrees,
                 double& time) {
    const std::vector<RayBranch>* branches = calc.branches(phase);
    if (!branches) return;
    double best = std::numeric_limits<double>::infinity();
    for (const RayBranch& b : *branches) {
        for (std::size_t i = 0; i < b.time.size(); ++i) {
            if (!(b.time[i] < best)) continue;
            double d = std::fmod(b.delta[i], 2 * kPi);
            if (d > kPi) d = 2 * kPi - d;
            best = b.time[i];
            degrees = d / kDegree;
            time = best;
        }
    }
}

}  // namespace

double focusSlowness(const EarthModel& model, std::size_t sourceShell, Wave wave, bool upwards) {
    const auto& shells = model.shells();
    int w = index(wave);
    if (upwards) {
        if (sourceShell == 0 || sourceShell > shells.size()) return 0.0;
        return shells[sourceShell - 1].etaBottom[w];
    }
    if (sourceShell >= shells.size()) return 0.0;
    return shells[sourceShell].etaTop[w];
}

TravelTimeCalculator::TravelTimeCalculator(const EarthModel& model, double depthKm,
                                           int raysPerFamily)
    : model_(model.withBoundaryAt(depthKm)),
      depth_(depthKm),
      source_(model_.shellAtDepth(depthKm)),
      raysPerFamily_(raysPerFamily > 8 ? raysPerFamily : 8) {}

std::unique_ptr<TravelTimeCalculator::PhaseRays> TravelTimeCalculator::computeRays(
    std::string_view name) const {
    auto phase = SeismicPhase::parse(name);
    if (!phase) return nullptr;
    auto rays = std::make_unique<PhaseRays>();
    bool direct = phase->legs.size() == 1 && !phase->upTakeoff;
    if (direct) {
        // The direct wave of a buried focus arrives close in by the up-going rays.
        auto upward = SeismicPhase::parse(name == "P" ? "p" : "s");
        if (upward) addFamily(model_, source_, *upward, raysPerFamily_, rays->branches);
    }
    addFamily(model_, source_, *phase, raysPerFamily_, rays->branches);
    if (direct) {
        // The ray grazing the core: beyond it the wave diffracts along the
        // boundary with that boundary's slowness.
        std::size_t last = model_.endShell(Region::Mantle);
        if (last > source_) {
            double edgeP = model_.shells()[last - 1].etaBottom[index(phase->legs[0].wave)];
            RayPath edge = tracePath(model_, source_, *phase, edgeP);
            if (edge.complete) {
                rays->diffracts = true;
                rays->edgeP = edgeP;
                rays->edgeDelta = edge.delta;
                rays->edgeTime = edge.time;
            }
        }
    }
    return rays;
}

const TravelTimeCalculator::PhaseRays* TravelTimeCalculator::rays(std::string_view phase) const {
    std::lock_guard lock(mutex_);
    auto it = cache_.find(phase);
    if (it == cache_.end()) it = cache_.emplace(std::string(phase), computeRays(phase)).first;
    return it->second.get();
}

const std::vector<RayBranch>* TravelTimeCalculator::branches(std::string_view phase) const {
    const PhaseRays* r = rays(phase);
    return r ? &r->branches : nullptr;
}

std::optional<Arrival> TravelTimeCalculator::arrival(std::string_view phase,
                                                     double distanceDegrees) const {
    const PhaseRays* r = rays(phase);
    if (!r || !(distanceDegrees >= 0.0 && distanceDegrees <= 180.0)) return std::nullopt;
    double d = distanceDegrees * kDegree;
    double best = std::numeric_limits<double>::infinity();
    double bestP = 0;
    for (const RayBranch& b : r->branches) {
        for (std::size_t i = 0; i + 1 < b.p.size(); ++i) {
            bracket(b.p[i], b.delta[i], b.time[i], b.p[i + 1], b.delta[i + 1], b.time[i + 1], d,
                    best, bestP);
        }
    }
    if (r->diffracts && d > r->edgeDelta) {
        double t = r->edgeTime + r->edgeP * (d - r->edgeDelta);
        if (t < best) {
            best = t;
            bestP = r->edgeP;
        }
    }
    if (!std::isfinite(best)) return std::nullopt;
    return Arrival{best, bestP * kDegree};
}

std::vector<std::optional<Arrival>> TravelTimeCalculator::arrivals(std::string_view phase,
                                                                   int maxDegree) const {
    std::vector<std::optional<Arrival>> out;
    for (int d = 0; d <= maxDegree; ++d) out.push_back(arrival(phase, d));
    return out;
}

std::optional<Arrival> travelTime(std::string_view phase, double distanceDegrees, double depthKm) {
    // Calculators by depth; a caller asking for many depths only costs a
    // bounded amount of memory (the oldest are dropped all at once).
    constexpr std::size_t kKeptDepths = 64;
    static std::mutex mutex;
    static std::map<double, std::shared_ptr<const TravelTimeCalculator>> calculators;
    if (!(depthKm >= 0.0 && depthKm < kAk135CmbDepth)) return std::nullopt;
    std::shared_ptr<const TravelTimeCalculator> calc;
    {
        std::lock_guard lock(mutex);
        auto it = calculators.find(depthKm);
        if (it == calculators.end()) {
            if (calculators.size() >= kKeptDepths) calculators.clear();
            it =
                calculators
                    .emplace(depthKm, std::make_shared<TravelTimeCalculator>(ak135Model(), depthKm))
                    .first;
        }
        calc = it->second;
    }
    return calc->arrival(phase, distanceDegrees);
}

double tableColumnDepth(int column) { return column <= 0 ? 0.0 : 33.0 + 63.38 * (column - 1); }

std::vector<std::vector<double>> tableColumns(const EarthModel& model, std::string_view phase) {
    std::vector<std::vector<double>> columns;
    for (int c = 0; c < 14; ++c) {
        TravelTimeCalculator calc(model, tableColumnDepth(c));
        auto found = calc.arrivals(phase);
        std::vector<double> times(found.size(), std::numeric_limits<double>::quiet_NaN());
        int firstKnown = -1, lastKnown = -1;
        for (std::size_t d = 0; d < found.size(); ++d) {
            if (!found[d]) continue;
            times[d] = found[d]->time;
            if (firstKnown < 0) firstKnown = static_cast<int>(d);
            lastKnown = static_cast<int>(d);
        }
        std::vector<double> slopes(found.size(), 0.0);
        for (std::size_t d = 0; d < found.size(); ++d)
            if (found[d]) slopes[d] = found[d]->rayParameter;
        if (firstKnown >= 0) {
            // Beyond the last ray: continue with its slowness. Gaps inside are
            // bridged linearly.
            for (int d = lastKnown + 1; d < static_cast<int>(times.size()); ++d) {
                times[d] = times[lastKnown] + slopes[lastKnown] * (d - lastKnown);
                slopes[d] = slopes[lastKnown];
            }
            int prev = firstKnown;
            for (int d = firstKnown + 1; d <= lastKnown; ++d) {
                if (!found[d]) continue;
                for (int g = prev + 1; g < d; ++g) {
                    times[g] = times[prev] + (times[d] - times[prev]) * (g - prev) / (d - prev);
                    slopes[g] = (times[d] - times[prev]) / (d - prev);
                }
                prev = d;
            }
            // Nearer than where it first reaches the surface (PP and SS close
            // to a buried focus: both legs must turn below the focus) a phase
            // has not been born. Its column holds there the moment of birth,
            // the time of its earliest ray, less the least rise per degree for
            // each degree nearer. So the globe's circle appears where and when
            // the phase is born, and a near station's mark comes when the
            // phase is first seen anywhere: after the direct wave, which is
            // faster than any reflected one.
            double bornAt = firstKnown, bornTime = times[firstKnown];
            earliestRay(calc, phase, bornAt, bornTime);
            int born = std::clamp(static_cast<int>(std::ceil(bornAt)), firstKnown, lastKnown);
            for (int d = born - 1; d >= 0; --d) times[d] = bornTime - kMinimumStep * (bornAt - d);
            // Where the earliest time drops further out because a faster
            // branch begins, the time before the drop is lowered just enough
            // for the column to rise: the viewer also looks distances up by
            // time.
            for (int d = lastKnown - 1; d >= born; --d)
                times[d] = std::min(times[d], times[d + 1] - kMinimumStep);
        }
        columns.push_back(std::move(times));
    }
    return columns;
}

}  // namespace orvane
