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
struct Family {
    SeismicPhase phase;
    int firstLeg = 0;
};

struct FrontSpec {
    std::string name;
    std::vector<Family> families;
};

Family family(const char* name, int firstLeg) { return {*SeismicPhase::parse(name), firstLeg}; }

std::vector<FrontSpec> frontSpecs(bool buried) {
    std::vector<FrontSpec> specs = {
        // The direct waves take every ray until it first meets a boundary.
        {"P", {family("p", 0), family("P", 0)}},
        {"S", {family("s", 0), family("S", 0)}},
        {"PP", {family("PP", 1)}},
        {"SS", {family("SS", 1)}},
        {"PS", {family("PS", 1)}},
        {"SP", {family("SP", 1)}},
        // Second surface bounces keep fronts in the picture in the last minutes.
        {"PPP", {family("PPP", 2)}},
        {"SSS", {family("SSS", 2)}},
    };
    if (buried) {
        specs.push_back({"pP", {family("pP", 1)}});
        specs.push_back({"sP", {family("sP", 1)}});
        specs.push_back({"sS", {family("sS", 1)}});
        specs.push_back({"pS", {family("pS", 1)}});
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
        {"SKS", {family("SKS", 1)}},
        {"SKKS", {family("SKKS", 2)}},
        {"ScSScS", {family("ScSScS", 2)}},
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
        double pMax =
            focusSlowness(model_, source_, fam.phase.legs.front().wave, fam.phase.upTakeoff);
        if (!(pMax > 0) || !std::isfinite(pMax)) return ray;
        double p = pMax * std::sin(0.5 * kPi * u);
        segments_.clear();
        RayPath path = tracePath(model_, source_, fam.phase, p, &segments_);
        if (path.matchedLegs < fam.firstLeg) return ray;
        auto first = std::find_if(segments_.begin(), segments_.end(),
                                  [&](const RaySegment& s) { return s.leg >= fam.firstLeg; });
        if (first == segments_.end()) return ray;
        double step = options_.timeStep;
        int s0 = static_cast<int>(std::ceil(first->tStart / step));
        int s1 = static_cast<int>(std::floor(segments_.back().tEnd / step));
        s1 = std::min(s1, steps_ - 1);
        if (s1 < s0) return ray;
        ray.firstStep = s0;
        ray.points.resize(s1 - s0 + 1);
        auto seg = first;
        for (int n = s0; n <= s1; ++n) {
            double t = n * step;
            while (seg + 1 != segments_.end() && t > seg->tEnd) ++seg;
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

    // Rays of every family in front order, refined where neighbours drift apart.
    std::vector<Ray> rays(const FrontSpec& plan) {
        std::vector<Ray> rays;
        int n = std::max(2, options_.initialRays);
        for (int f = 0; f < static_cast<int>(plan.families.size()); ++f) {
            const Family& fam = plan.families[f];
            for (int i = 0; i <= n; ++i) {
                // Up-going rays run from vertical to horizontal, down-going back.
                double u = fam.phase.upTakeoff ? double(i) / n : double(n - i) / n;
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

    void addPiece(const std::string& name, const std::vector<Position>& piece,
                  std::vector<FrontRecord>& records) const {
        if (piece.size() < 2) return;
        std::vector<FrontPoint> kept;
        auto toPoint = [](const Position& p) {
            return FrontPoint{static_cast<std::int16_t>(std::lround(p.along)),
                              static_cast<std::int16_t>(std::lround(p.across))};
        };
        std::size_t lastKept = 0;
        kept.push_back(toPoint(piece[0]));
        for (std::size_t i = 1; i < piece.size(); ++i) {
            bool last = i + 1 == piece.size();
            double gap = distance(piece[lastKept], piece[i]);
            if (gap < options_.spacingKm && !last) continue;
            if (last && gap < options_.spacingKm / 3 && kept.size() > 1) kept.pop_back();
            FrontPoint fp = toPoint(piece[i]);
            if (!(fp == kept.back())) kept.push_back(fp);
            lastKept = i;
        }
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
    for (const FrontSpec& plan : frontSpecs(source > 0)) {
        std::vector<Ray> rays = builder.rays(plan);
        for (int n = 0; n < builder.steps(); ++n) {
            auto records = builder.front(plan, rays, n);
            for (auto& r : records) steps[n].records.push_back(std::move(r));
        }
    }
    return steps;
}

}  // namespace orvane
