#include "model/wavefronts.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "model/ray_tracing.h"
#include "model/seismic_phase.h"
#include "model/travel_times.h"

namespace orvane {

namespace {

constexpr double kPi = std::numbers::pi;

// Rays of one phase leaving the focus one way, drawn from leg `firstLeg` on.
// A family with a creeping leg holds the rays that graze the core in that leg
// and creep along it by 0 .. `creepMax` rad before they go on (the take-off
// parameter then measures the creep), drawn from the start of the creep when
// that leg is drawn at all.
struct Family {
    SeismicPhase phase;
    int firstLeg = 0;
    int creepLeg = -1;
    double creepMax = 0;
};

struct FrontSpec {
    std::string name;
    std::vector<Family> families;
    // Diffracted waves are weak: their fronts are drawn as dashes.
    bool dashed = false;
};

Family family(const char* name, int firstLeg) { return {*SeismicPhase::parse(name), firstLeg}; }

Family creeping(const char* name, int creepLeg, int firstLeg) {
    return {*SeismicPhase::parse(name), firstLeg, creepLeg};
}

FrontSpec diffracted(const char* label, Family f) { return {label, {std::move(f)}, true}; }

std::vector<FrontSpec> frontSpecs(bool buried) {
    // Diffracted fronts are named with "diff" after the letter of the leg that
    // creeps, so that a filter on the text before "*" keeps them with the
    // phases they start like (P* keeps Pdiff, PP* keeps PPdiff), while a name
    // given in full (P, PP) still means the geometric wave alone.
    std::vector<FrontSpec> specs = {
        // The direct waves take every ray until it first meets a boundary;
        // beyond the ray grazing the core they go on diffracted.
        {"P", {family("p", 0), family("P", 0)}},
        diffracted("Pdiff", creeping("P", 0, 0)),
        {"S", {family("s", 0), family("S", 0)}},
        diffracted("Sdiff", creeping("S", 0, 0)),
        {"PP", {family("PP", 1)}},
        diffracted("PPdiff", creeping("PP", 1, 1)),
        diffracted("PdiffP", creeping("PP", 0, 1)),
        {"SS", {family("SS", 1)}},
        diffracted("SSdiff", creeping("SS", 1, 1)),
        diffracted("SdiffS", creeping("SS", 0, 1)),
        {"PS", {family("PS", 1)}},
        {"SP", {family("SP", 1)}},
        // Further surface bounces keep fronts in the picture to the last minute.
        {"PPP", {family("PPP", 2)}},
        {"SSS", {family("SSS", 2)}},
        {"PPPP", {family("PPPP", 3)}},
        {"SSSS", {family("SSSS", 3)}},
        {"SSSSS", {family("SSSSS", 4)}},
    };
    if (buried) {
        std::vector<FrontSpec> depth = {
            {"pP", {family("pP", 1)}},
            diffracted("pPdiff", creeping("pP", 1, 1)),
            {"sP", {family("sP", 1)}},
            {"sS", {family("sS", 1)}},
            diffracted("sSdiff", creeping("sS", 1, 1)),
            {"pS", {family("pS", 1)}},
        };
        specs.insert(specs.end(), depth.begin(), depth.end());
    }
    std::vector<FrontSpec> core = {
        {"PcP", {family("PcP", 1)}},
        {"ScS", {family("ScS", 1)}},
        {"PcS", {family("PcS", 1)}},
        {"ScP", {family("ScP", 1)}},
        // PKP takes every ray into the outer core, down to the inner core.
        {"PKP", {family("PKP", 1)}},
        {"PKIKP", {family("PKIKP", 2)}},
        {"PKiKP", {family("PKiKP", 2)}},
        // Reflected under the core-mantle boundary.
        {"PKKP", {family("PKKP", 2)}},
        // PKP and PKIKP reflected at the surface, on their way through the core again.
        {"P'P'", {family("PKPPKP", 3), family("PKIKPPKIKP", 5)}},
        {"SKS", {family("SKS", 1)}},
        {"SKKS", {family("SKKS", 2)}},
        {"S'S'", {family("SKSSKS", 3)}},
        {"ScSScS", {family("ScSScS", 2)}},
        {"ScSScSScS", {family("ScSScSScS", 4)}},
    };
    specs.insert(specs.end(), core.begin(), core.end());
    return specs;
}

struct Position {
    float along = 0;
    float across = 0;
    std::uint8_t wave = 0;  // 0: no point at this step
};

// One ray's points at every step while it is on the drawn legs.
struct Ray {
    int family = 0;
    double u = 0;  // take-off parameter: 0 vertical, 1 horizontal
    int firstStep = 0;
    std::vector<Position> points;

    const Position* at(int step) const {
        int i = step - firstStep;
        if (i < 0 || i >= static_cast<int>(points.size()) || points[i].wave == 0) return nullptr;
        return &points[i];
    }
};

double distance(const Position& a, const Position& b) {
    return std::hypot(double(a.along) - b.along, double(a.across) - b.across);
}

class FrontBuilder {
  public:
    FrontBuilder(const EarthModel& model, std::size_t source, const WavefrontOptions& options)
        : model_(model), source_(source), options_(options) {
        steps_ = options.lastTime / options.timeStep + 1;
    }

    int steps() const { return steps_; }

    Ray trace(const Family& fam, int familyIndex, double u) {
        Ray ray;
        ray.family = familyIndex;
        ray.u = u;
        const bool creeps = fam.creepLeg >= 0;
        // A creeping ray has the grazing slowness; u measures its creep.
        double scale = creeps ? grazingSlowness(model_, fam.phase.legs[fam.creepLeg].wave)
                              : focusSlowness(model_, source_, fam.phase.legs.front().wave,
                                              fam.phase.upTakeoff);
        if (!(scale > 0) || !std::isfinite(scale)) return ray;
        double p = creeps ? scale : scale * std::sin(0.5 * kPi * u);
        Creep creep{fam.creepLeg, u * fam.creepMax};
        segments_.clear();
        RayPath path =
            tracePath(model_, source_, fam.phase, p, &segments_, creeps ? &creep : nullptr);
        if (path.matchedLegs < fam.firstLeg) return ray;
        if (creeps && path.matchedLegs <= fam.creepLeg) return ray;
        auto first = std::find_if(segments_.begin(), segments_.end(), [&](const RaySegment& s) {
            return creeps && fam.creepLeg >= fam.firstLeg ? s.creep : s.leg >= fam.firstLeg;
        });
        if (first == segments_.end()) return ray;
        auto last = segments_.end() - 1;
        if (creeps) {
            // Where the ray grazes the core again it meets the rays that
            // creep there (PdiffP becomes PPdiff): it ends at that point.
            std::uint32_t deepest = static_cast<std::uint32_t>(model_.endShell(Region::Mantle) - 1);
            auto again = std::find_if(first + 1, segments_.end(), [&](const RaySegment& s) {
                return s.shell == deepest && s.leg > fam.creepLeg;
            });
            if (again != segments_.end()) last = again;
        }
        double step = options_.timeStep;
        int s0 = static_cast<int>(std::ceil(first->tStart / step));
        int s1 = static_cast<int>(std::floor(last->tEnd / step));
        s1 = std::min(s1, steps_ - 1);
        if (s1 < s0) return ray;
        ray.firstStep = s0;
        ray.points.resize(s1 - s0 + 1);
        auto seg = first;
        for (int n = s0; n <= s1; ++n) {
            double t = n * step;
            while (seg != last && t > seg->tEnd) ++seg;
            double r, theta;
            pointOnSegment(model_, *seg, p, t, r, theta);
            // The far half of the section is the mirror of this one.
            theta = std::fmod(theta, 2 * kPi);
            if (theta > kPi) theta = 2 * kPi - theta;
            Position& pos = ray.points[n - s0];
            pos.along = static_cast<float>(r * std::cos(theta));
            pos.across = static_cast<float>(std::max(0.0, r * std::sin(theta)));
            pos.wave = seg->wave == Wave::S ? kWaveTypeS : kWaveTypeP;
        }
        return ray;
    }

    // A grazing ray creeps until it reaches the axis of the section, where it
    // meets its own mirror image coming round the other side of the core.
    void setCreepLimit(Family& fam) {
        fam.creepMax = 0;
        if (fam.creepLeg < 0) return;
        double p = grazingSlowness(model_, fam.phase.legs[fam.creepLeg].wave);
        if (!(p > 0)) return;
        Creep none{fam.creepLeg, 0.0};
        segments_.clear();
        RayPath path = tracePath(model_, source_, fam.phase, p, &segments_, &none);
        if (path.matchedLegs <= fam.creepLeg) return;
        for (const RaySegment& s : segments_) {
            if (!s.creep) continue;
            fam.creepMax = (std::floor(s.thetaStart / kPi) + 1) * kPi - s.thetaStart;
            return;
        }
    }

    // Rays of every family in front order, refined where neighbours drift apart.
    std::vector<Ray> rays(FrontSpec& plan) {
        std::vector<Ray> rays;
        int n = std::max(2, options_.initialRays);
        for (int f = 0; f < static_cast<int>(plan.families.size()); ++f) {
            Family& fam = plan.families[f];
            setCreepLimit(fam);
            for (int i = 0; i <= n; ++i) {
                // Up-going rays run from vertical to horizontal, down-going
                // back; creeping rays from the grazing ray on.
                bool forward = fam.phase.upTakeoff || fam.creepLeg >= 0;
                double u = forward ? double(i) / n : double(n - i) / n;
                rays.push_back(trace(fam, f, u));
            }
        }
        for (int pass = 0; pass < 10 && static_cast<int>(rays.size()) < options_.maxRays; ++pass) {
            std::vector<Ray> refined;
            refined.reserve(rays.size() * 2);
            bool any = false;
            for (std::size_t i = 0; i < rays.size(); ++i) {
                refined.push_back(std::move(rays[i]));
                if (i + 1 == rays.size()) break;
                const Ray& a = refined.back();
                const Ray& b = rays[i + 1];
                if (a.family != b.family || !apart(a, b)) continue;
                if (static_cast<int>(refined.size() + rays.size() - i) >= options_.maxRays)
                    continue;
                refined.push_back(trace(plan.families[a.family], a.family, 0.5 * (a.u + b.u)));
                any = true;
            }
            rays = std::move(refined);
            if (!any) break;
        }
        return rays;
    }

    // The front of one step as pieces of consecutive rays.
    std::vector<FrontRecord> front(const FrontSpec& plan, const std::vector<Ray>& rays, int step) {
        std::vector<FrontRecord> records;
        std::vector<Position> piece;
        auto close = [&] {
            if (plan.dashed)
                addDashes(plan.name, piece, records);
            else
                addPiece(plan.name, piece, records);
            piece.clear();
        };
        for (const Ray& ray : rays) {
            const Position* pos = ray.at(step);
            if (!pos) {
                close();
                continue;
            }
            if (!piece.empty() &&
                (piece.back().wave != pos->wave || distance(piece.back(), *pos) > options_.breakKm))
                close();
            piece.push_back(*pos);
        }
        close();
        return records;
    }

  private:
    bool apart(const Ray& a, const Ray& b) const {
        int from = std::max(a.firstStep, b.firstStep);
        int to = std::min(a.firstStep + int(a.points.size()), b.firstStep + int(b.points.size()));
        for (int n = from; n < to; ++n) {
            const Position* pa = a.at(n);
            const Position* pb = b.at(n);
            if (pa && pb && distance(*pa, *pb) > options_.refineKm) return true;
        }
        return false;
    }

    // The piece's points at least `spacing` apart, its two ends kept.
    static std::vector<FrontPoint> thin(const std::vector<Position>& piece, double spacing) {
        std::vector<FrontPoint> kept;
        if (piece.empty()) return kept;
        auto toPoint = [](const Position& p) {
            return FrontPoint{static_cast<std::int16_t>(std::lround(p.along)),
                              static_cast<std::int16_t>(std::lround(p.across))};
        };
        std::size_t lastKept = 0;
        kept.push_back(toPoint(piece[0]));
        for (std::size_t i = 1; i < piece.size(); ++i) {
            bool last = i + 1 == piece.size();
            double gap = distance(piece[lastKept], piece[i]);
            if (gap < spacing && !last) continue;
            if (last && gap < spacing / 3 && kept.size() > 1) kept.pop_back();
            FrontPoint fp = toPoint(piece[i]);
            if (!(fp == kept.back())) kept.push_back(fp);
            lastKept = i;
        }
        return kept;
    }

    // `count` points evenly spaced along the line (its length given).
    static std::vector<FrontPoint> resample(const std::vector<Position>& line, double length,
                                            int count) {
        std::vector<FrontPoint> out;
        if (line.size() < 2 || !(length > 0)) return out;
        std::size_t i = 1;
        double before = 0;  // length up to line[i - 1]
        for (int k = 0; k < count; ++k) {
            double at = length * k / (count - 1);
            while (i + 1 < line.size() && before + distance(line[i - 1], line[i]) < at) {
                before += distance(line[i - 1], line[i]);
                ++i;
            }
            const Position& a = line[i - 1];
            const Position& b = line[i];
            double span = distance(a, b);
            double f = span > 0 ? std::clamp((at - before) / span, 0.0, 1.0) : 0.0;
            FrontPoint p{static_cast<std::int16_t>(std::lround(a.along + (b.along - a.along) * f)),
                         static_cast<std::int16_t>(std::lround(a.across + (b.across - a.across) * f))};
            if (out.empty() || !(p == out.back())) out.push_back(p);
        }
        return out;
    }

    void addPiece(const std::string& name, const std::vector<Position>& piece,
                  std::vector<FrontRecord>& records) const {
        if (piece.size() < 2) return;
        std::vector<FrontPoint> kept = thin(piece, options_.spacingKm);
        if (kept.size() < 2) return;
        std::size_t limit = std::max<std::size_t>(2, options_.maxPoints);
        for (std::size_t begin = 0; begin + 1 < kept.size(); begin += limit - 1) {
            std::size_t end = std::min(kept.size(), begin + limit);
            FrontRecord record;
            record.phase = name;
            record.waveType = piece[0].wave;
            record.points.assign(kept.begin() + begin, kept.begin() + end);
            records.push_back(std::move(record));
        }
    }

    // The piece cut into dashes of dashKm with gaps of gapKm, measured along
    // it from its first point, one record each. The viewer labels only
    // records of more than five points: the first dash is sampled finely
    // enough to carry the label, the others too coarsely to repeat it.
    void addDashes(const std::string& name, const std::vector<Position>& piece,
                   std::vector<FrontRecord>& records) const {
        if (piece.size() < 2) return;
        const double dashKm = std::max(1.0, options_.dashKm);
        const double gapKm = std::max(1.0, options_.gapKm);
        std::vector<Position> dash = {piece[0]};
        bool first = true;
        auto flush = [&] {
            double length = 0;
            for (std::size_t i = 1; i < dash.size(); ++i) length += distance(dash[i - 1], dash[i]);
            // Six points on a whole first dash; at most five on the others.
            int count = first && length > 0.75 * dashKm
                            ? 6
                            : std::clamp(static_cast<int>(std::lround(length / (dashKm / 4))) + 1,
                                         2, 5);
            std::vector<FrontPoint> kept = resample(dash, length, count);
            if (kept.size() >= 2) {
                records.push_back({name, piece[0].wave, std::move(kept)});
                first = false;
            }
            dash.clear();
        };
        bool drawing = true;
        double next = dashKm;  // arc length of the next end of a dash or gap
        double at = 0;
        for (std::size_t i = 1; i < piece.size(); ++i) {
            const Position& a = piece[i - 1];
            const Position& b = piece[i];
            double length = distance(a, b);
            while (next < at + length) {
                double f = (next - at) / length;
                Position cut = a;
                cut.along = static_cast<float>(a.along + (b.along - a.along) * f);
                cut.across = static_cast<float>(a.across + (b.across - a.across) * f);
                dash.push_back(cut);
                if (drawing) flush();
                drawing = !drawing;
                next += drawing ? dashKm : gapKm;
            }
            if (drawing) dash.push_back(b);
            at += length;
        }
        if (drawing) flush();
    }

    const EarthModel& model_;
    std::size_t source_;
    WavefrontOptions options_;
    int steps_ = 0;
    std::vector<RaySegment> segments_;
};

}  // namespace

std::vector<std::string> wavefrontPhases(bool buriedFocus) {
    std::vector<std::string> names;
    for (const FrontSpec& plan : frontSpecs(buriedFocus)) names.push_back(plan.name);
    return names;
}

std::vector<WavefrontStep> computeWavefronts(const EarthModel& base, double depthKm,
                                             const WavefrontOptions& requested) {
    // Step times are 16-bit in the table; steps must move forward.
    WavefrontOptions options = requested;
    options.timeStep = std::clamp(options.timeStep, 1, 32767);
    options.lastTime = std::clamp(options.lastTime, 0, 32767);
    options.initialRays = std::clamp(options.initialRays, 2, 1 << 16);
    EarthModel model = base.withBoundaryAt(depthKm);
    std::size_t source = model.shellAtDepth(depthKm);
    FrontBuilder builder(model, source, options);
    std::vector<WavefrontStep> steps(builder.steps());
    for (int n = 0; n < builder.steps(); ++n) steps[n].time = n * options.timeStep;
    for (FrontSpec& plan : frontSpecs(source > 0)) {
        std::vector<Ray> rays = builder.rays(plan);
        for (int n = 0; n < builder.steps(); ++n) {
            auto records = builder.front(plan, rays, n);
            for (auto& r : records) steps[n].records.push_back(std::move(r));
        }
    }
    return steps;
}

}  // namespace orvane
