#include "model/ray_tracing.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

// A ray going down through one shell from its top: crosses it or turns in it.
struct Crossing {
    double delta = 0;
    double time = 0;
    double sTop = 0;
    double sBottom = 0;
    bool turns = false;
};

Crossing cross(const Shell& shell, int w, double p) {
    Crossing c;
    double eTop = shell.etaTop[w];
    double eBottom = shell.etaBottom[w];
    double k = shell.k[w];
    c.sTop = std::sqrt(std::max(0.0, eTop * eTop - p * p));
    double aTop = std::acos(std::min(1.0, p / eTop));
    if (p < eBottom) {
        c.sBottom = std::sqrt(eBottom * eBottom - p * p);
        c.delta = (aTop - std::acos(p / eBottom)) / k;
        c.time = (c.sTop - c.sBottom) / k;
    } else {
        c.turns = true;
        c.delta = aTop / k;
        c.time = c.sTop / k;
    }
    return c;
}

class Walker {
  public:
    Walker(const EarthModel& model, double p, std::vector<RaySegment>* segments)
        : shells_(model.shells()), p_(p), segments_(segments) {}

    void creepAlong(std::size_t shell, Wave w, int leg, double angle) {
        if (segments_) {
            RaySegment s;
            s.shell = static_cast<std::uint32_t>(shell);
            s.wave = w;
            s.leg = static_cast<std::int16_t>(leg);
            s.tStart = time;
            s.tEnd = time + angle * p_;
            s.thetaStart = theta;
            s.thetaEnd = theta + angle;
            s.creep = true;
            segments_->push_back(s);
        }
        time += angle * p_;
        theta += angle;
    }

    void emit(std::size_t shell, Wave w, int leg, bool down, const Crossing& c) {
        if (segments_) {
            RaySegment s;
            s.shell = static_cast<std::uint32_t>(shell);
            s.wave = w;
            s.leg = static_cast<std::int16_t>(leg);
            s.sStart = down ? c.sTop : c.sBottom;
            s.sEnd = down ? c.sBottom : c.sTop;
            s.tStart = time;
            s.tEnd = time + c.time;
            s.thetaStart = theta;
            s.thetaEnd = theta + c.delta;
            segments_->push_back(s);
        }
        time += c.time;
        theta += c.delta;
    }

    // Up through shells [first, from] from the bottom of `from`; false where
    // the ray cannot travel (it would turn or the wave does not exist there).
    bool up(std::size_t from, std::size_t first, Wave w, int leg) {
        int wi = index(w);
        for (std::size_t i = from + 1; i-- > first;) {
            const Shell& s = shells_[i];
            if (!s.carries(w) || p_ > s.etaBottom[wi] || p_ > s.etaTop[wi]) return false;
            emit(i, w, leg, false, cross(s, wi, p_));
        }
        return true;
    }

    const std::vector<Shell>& shells_;
    double p_;
    std::vector<RaySegment>* segments_;
    double time = 0;
    double theta = 0;
};

}  // namespace

RayPath tracePath(const EarthModel& model, std::size_t sourceShell, const SeismicPhase& phase,
                  double p, std::vector<RaySegment>* segments, const Creep* creep) {
    RayPath result;
    Walker walk(model, p, segments);
    const auto& shells = model.shells();
    auto finish = [&] {
        result.complete = result.matchedLegs == static_cast<int>(phase.legs.size());
        result.delta = walk.theta;
        result.time = walk.time;
        return result;
    };
    if (phase.legs.empty() || sourceShell >= model.endShell(Region::Mantle)) return finish();
    if (phase.upTakeoff && sourceShell == 0) return finish();  // no up-going ray from the surface

    for (std::size_t j = 0; j < phase.legs.size(); ++j) {
        const Leg& leg = phase.legs[j];
        const int legIndex = static_cast<int>(j);
        const int wi = index(leg.wave);
        const std::size_t first = model.firstShell(leg.region);
        const std::size_t end = model.endShell(leg.region);
        if (first >= end) return finish();

        if (leg.kind == LegKind::Up) {
            std::size_t from = j == 0 ? sourceShell : end;
            if (from == 0) return finish();
            if (!walk.up(from - 1, first, leg.wave, legIndex)) return finish();
            ++result.matchedLegs;
            continue;
        }

        // Turn or Down: from the top of the region, or from the focus.
        const std::size_t start = j == 0 ? sourceShell : first;
        std::size_t crossed = 0;
        bool turned = false;
        Crossing last;
        for (std::size_t i = start; i < end; ++i) {
            const Shell& s = shells[i];
            if (!s.carries(leg.wave) || p > s.etaTop[wi]) {
                if (i == start) return finish();  // cannot enter the region
                turned = true;                    // reflected at the boundary
                break;
            }
            last = cross(s, wi, p);
            walk.emit(i, leg.wave, legIndex, true, last);
            ++crossed;
            if (last.turns) {
                turned = true;
                break;
            }
        }
        if (creep && creep->leg == legIndex) {
            // Only a ray turning in the deepest mantle shell grazes the core.
            bool grazes = leg.region == Region::Mantle && last.turns && start + crossed == end;
            if (!grazes) return finish();
            walk.creepAlong(end - 1, leg.wave, legIndex, std::max(0.0, creep->angle));
        }
        if (turned) {
            std::size_t above = start + crossed;  // shells [first, above) lead back up
            if (last.turns) walk.emit(--above, leg.wave, legIndex, false, last);
            if (above > first && !walk.up(above - 1, first, leg.wave, legIndex)) return finish();
        }
        LegKind went = turned ? LegKind::Turn : LegKind::Down;
        if (went != leg.kind) return finish();
        ++result.matchedLegs;
    }
    return finish();
}

double grazingSlowness(const EarthModel& model, Wave wave) {
    std::size_t end = model.endShell(Region::Mantle);
    if (end == 0 || end >= model.shells().size()) return 0.0;
    const Shell& above = model.shells()[end - 1];
    const Shell& below = model.shells()[end];
    int w = index(wave);
    if (!above.carries(wave)) return 0.0;
    if (below.carries(wave) && below.vTop[w] >= above.vBottom[w]) return 0.0;
    return above.etaBottom[w];
}

void pointOnSegment(const EarthModel& model, const RaySegment& segment, double p, double t,
                    double& radius, double& theta) {
    const Shell& shell = model.shells()[segment.shell];
    int w = index(segment.wave);
    double span = segment.tEnd - segment.tStart;
    double f = span > 0 ? std::clamp((t - segment.tStart) / span, 0.0, 1.0) : 0.0;
    if (segment.creep) {
        radius = shell.rBottom;
        theta = segment.thetaStart + (segment.thetaEnd - segment.thetaStart) * f;
        return;
    }
    double s = segment.sStart + (segment.sEnd - segment.sStart) * f;
    double eta = std::sqrt(s * s + p * p);
    double etaStart = std::sqrt(segment.sStart * segment.sStart + p * p);
    double k = shell.k[w];
    double a0 = etaStart > 0 ? std::acos(std::min(1.0, p / etaStart)) : 0.0;
    double a1 = eta > 0 ? std::acos(std::min(1.0, p / eta)) : 0.0;
    theta = segment.thetaStart + std::abs(a0 - a1) / std::abs(k);
    radius = shell.etaTop[w] > 0 ? shell.rTop * std::pow(eta / shell.etaTop[w], 1.0 / k) : 0.0;
}

}  // namespace orvane
