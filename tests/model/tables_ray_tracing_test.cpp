// The closed-form shell integrals against an independent sum over very thin
// shells of constant velocity, in which a ray is a straight chord: a chord
// at distance b = p v from the centre covers acos(b / r) from its nearest
// point and has length sqrt(r^2 - b^2) there.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/ak135.h"
#include "model/ray_tracing.h"
#include "model/seismic_phase.h"

namespace orvane {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

double vpAt(double depth) {
    auto nodes = ak135Nodes();
    for (std::size_t i = 0; i + 1 < nodes.size(); ++i) {
        const ModelNode& a = nodes[i];
        const ModelNode& b = nodes[i + 1];
        if (depth >= a.depth && depth < b.depth)
            return a.vp + (b.vp - a.vp) * (depth - a.depth) / (b.depth - a.depth);
    }
    return nodes.back().vp;
}

struct Sum {
    double delta = 0, time = 0;
    bool turned = false;
};

// Down from depth `from` to the turning point (or `to`) in 0.25 km shells.
Sum chords(double p, double from, double to) {
    Sum s;
    const double step = 0.25;
    for (double d = from; d < to - 1e-9; d += step) {
        double v = vpAt(d + step / 2);
        double r1 = 6371.0 - d, r2 = 6371.0 - d - step;
        double b = p * v;
        if (b >= r1) {
            s.turned = true;
            break;
        }
        if (b >= r2) {
            s.delta += std::acos(b / r1);
            s.time += std::sqrt(r1 * r1 - b * b) / v;
            s.turned = true;
            break;
        }
        s.delta += std::acos(b / r1) - std::acos(b / r2);
        s.time += (std::sqrt(r1 * r1 - b * b) - std::sqrt(r2 * r2 - b * b)) / v;
    }
    return s;
}

TEST(TablesRayTracing, ShellIntegralsAgreeWithThinChords) {
    auto phase = SeismicPhase::parse("P");
    ASSERT_TRUE(phase);
    for (double depth : {0.0, 600.0}) {
        EarthModel model = ak135Model().withBoundaryAt(depth);
        std::size_t source = model.shellAtDepth(depth);
        // Thin constant-velocity shells turn a ray by reflection at their
        // steps, which spoils the distance but hardly the intercept time
        // tau = T - p X; the distance is then -d tau / dp.
        auto tau = [&](double p) {
            Sum above = chords(p, 0.0, depth);
            Sum all = chords(p, 0.0, kAk135CmbDepth);
            EXPECT_TRUE(all.turned);
            return 2 * (all.time - p * all.delta) - (above.time - p * above.delta);
        };
        for (double pDeg : {5.0, 6.5, 8.0, 9.5}) {
            double p = pDeg / kDeg;  // s/rad
            double h = 0.02 / kDeg;
            double delta = -(tau(p + h) - tau(p - h)) / (2 * h);
            RayPath path = tracePath(model, source, *phase, p);
            ASSERT_TRUE(path.complete) << pDeg;
            EXPECT_NEAR(path.time - p * path.delta, tau(p), 0.05) << depth << " km, p " << pDeg;
            EXPECT_NEAR(path.delta / kDeg, delta / kDeg, 0.05) << depth << " km, p " << pDeg;
        }
    }
}

TEST(TablesRayTracing, PointsAlongAPathMatchItsEnds) {
    // Sampled along its segments, a ray starts at the focus and ends on the
    // surface at its distance, and its time only grows.
    auto phase = SeismicPhase::parse("PcP");
    ASSERT_TRUE(phase);
    EarthModel model = ak135Model().withBoundaryAt(100.0);
    std::size_t source = model.shellAtDepth(100.0);
    std::vector<RaySegment> segments;
    double p = 3.0 / kDeg;
    RayPath path = tracePath(model, source, *phase, p, &segments);
    ASSERT_TRUE(path.complete);
    ASSERT_FALSE(segments.empty());
    double r, theta;
    pointOnSegment(model, segments.front(), p, 0.0, r, theta);
    EXPECT_NEAR(r, 6271.0, 1e-6);
    EXPECT_NEAR(theta, 0.0, 1e-12);
    pointOnSegment(model, segments.back(), p, path.time, r, theta);
    EXPECT_NEAR(r, 6371.0, 1e-6);
    EXPECT_NEAR(theta, path.delta, 1e-12);
    double lowest = 1e9;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        EXPECT_GE(segments[i].tEnd, segments[i].tStart);
        if (i > 0) {
            EXPECT_DOUBLE_EQ(segments[i].tStart, segments[i - 1].tEnd);
        }
        double mid = 0.5 * (segments[i].tStart + segments[i].tEnd);
        pointOnSegment(model, segments[i], p, mid, r, theta);
        lowest = std::min(lowest, r);
    }
    // Reflected at the core-mantle boundary, never below it.
    EXPECT_GT(lowest, 6371.0 - kAk135CmbDepth - 1e-6);
    EXPECT_LT(lowest, 6371.0 - kAk135CmbDepth + 30.0);
}

}  // namespace
}  // namespace orvane
