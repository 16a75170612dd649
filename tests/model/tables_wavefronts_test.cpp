// Wavefronts: closed-form fronts of a constant-velocity Earth, where fronts
// are born, and the rules the viewer relies on (steps, order, half plane).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "model/ak135.h"
#include "model/table_writers.h"
#include "model/travel_times.h"
#include "model/wavefronts.h"

namespace orvane {
namespace {

double radiusOf(const FrontPoint& p) { return std::hypot(double(p.along), double(p.across)); }

// Angle from the epicentre (degrees) seen from the centre.
double angleOf(const FrontPoint& p) {
    return std::atan2(double(p.across), double(p.along)) * 180.0 / M_PI;
}

std::vector<const FrontRecord*> recordsOf(const WavefrontStep& step, const std::string& phase) {
    std::vector<const FrontRecord*> out;
    for (const FrontRecord& r : step.records)
        if (r.phase == phase) out.push_back(&r);
    return out;
}

// The fronts of the surface focus in ak135, computed once for several tests.
const std::vector<WavefrontStep>& surfaceFronts() {
    static const std::vector<WavefrontStep> steps = computeWavefronts(ak135Model(), 0.0);
    return steps;
}

// In a constant-velocity Earth every ray is a straight line, also through the
// (equally fast) core, so the direct front at time t is the circle of radius
// v t around the focus, whichever record carries its pieces.
TEST(TablesWavefronts, ConstantVelocityEarthGivesCircularFronts) {
    const double vp = 10.0, vs = 5.5;
    WavefrontOptions options;
    options.lastTime = 400;
    for (double depth : {0.0, 600.0}) {
        auto steps = computeWavefronts(uniformEarth(vp, vs), depth, options);
        ASSERT_EQ(steps.size(), 41u);
        const double focus = 6371.0 - depth;
        for (const WavefrontStep& step : steps) {
            std::size_t checked = 0;
            for (const char* phase : {"P", "PKP", "PKIKP", "S"}) {
                double v = phase[0] == 'S' ? vs : vp;
                for (const FrontRecord* r : recordsOf(step, phase)) {
                    for (const FrontPoint& p : r->points) {
                        double d = std::hypot(p.along - focus, double(p.across));
                        // Points are whole kilometres: at most 0.71 km off.
                        ASSERT_NEAR(d, v * step.time, 0.8)
                            << phase << " at " << step.time << " s, depth " << depth;
                        ++checked;
                    }
                }
            }
            if (step.time >= 20) {
                EXPECT_GT(checked, 0u) << step.time;
            }
        }
        // No slower core, no shadow: nothing diffracts.
        for (const WavefrontStep& step : steps)
            for (const FrontRecord& r : step.records)
                ASSERT_EQ(r.phase.find("diff"), std::string::npos) << r.phase << " " << depth;
        // At 100 s the P circle (1000 km) reaches from the axis below the focus
        // to the surface, in one piece.
        auto p = recordsOf(steps[10], "P");
        ASSERT_EQ(p.size(), 1u) << depth;
        const auto& pts = p[0]->points;
        if (depth > 0) {
            // Up-going rays first: the front starts at the surface (up to the
            // spacing of the rays that have just arrived there).
            EXPECT_NEAR(radiusOf(pts.front()), 6371.0, 5.0);
        }
        EXPECT_LE(pts.back().across, 1);
        EXPECT_NEAR(pts.back().along, focus - 1000.0, 1.0);
    }
}

TEST(TablesWavefronts, PointsStayInTheHalfPlaneAndTheEarth) {
    for (const WavefrontStep& step : surfaceFronts()) {
        for (const FrontRecord& r : step.records) {
            ASSERT_GE(r.points.size(), 2u);
            ASSERT_LE(r.points.size(), 400u);
            ASSERT_TRUE(r.waveType == kWaveTypeP || r.waveType == kWaveTypeS) << r.phase;
            for (const FrontPoint& p : r.points) {
                ASSERT_GE(p.across, 0) << r.phase << " at " << step.time;
                ASSERT_LE(radiusOf(p), 6372.0) << r.phase << " at " << step.time;
            }
        }
    }
}

TEST(TablesWavefronts, PointsAreSpacedAlongTheFront) {
    std::vector<double> gaps;
    for (const WavefrontStep& step : surfaceFronts()) {
        for (const FrontRecord& r : step.records) {
            for (std::size_t i = 1; i < r.points.size(); ++i) {
                double gap = std::hypot(double(r.points[i].along - r.points[i - 1].along),
                                        double(r.points[i].across - r.points[i - 1].across));
                // Fronts break where neighbouring rays lie further apart.
                ASSERT_LE(gap, 201.0) << r.phase << " at " << step.time;
                gaps.push_back(gap);
            }
        }
    }
    ASSERT_GT(gaps.size(), 1000u);
    std::sort(gaps.begin(), gaps.end());
    double median = gaps[gaps.size() / 2];
    EXPECT_GE(median, 50.0);
    EXPECT_LE(median, 100.0);
}

TEST(TablesWavefronts, WavesStayWhereTheyCanTravel) {
    const double cmb = 6371.0 - kAk135CmbDepth;
    for (const WavefrontStep& step : surfaceFronts()) {
        for (const FrontRecord& r : step.records) {
            for (const FrontPoint& p : r.points) {
                if (r.waveType == kWaveTypeS) {
                    // Shear waves stop at the liquid outer core.
                    ASSERT_GE(radiusOf(p), cmb - 1.5) << r.phase << " at " << step.time;
                }
                if (r.phase == "P" || r.phase == "PP" || r.phase == "PcP") {
                    ASSERT_GE(radiusOf(p), cmb - 1.5) << r.phase << " at " << step.time;
                }
            }
        }
    }
}

// A reflected or converted phase appears where its path leaves the path of
// the phase drawn before it: PcP and PKP at the core-mantle boundary, PP at
// the surface; and no two records of one step share a stretch of curve.
TEST(TablesWavefronts, NewFrontsAreBornAtBoundariesAndNeverRepeatACurve) {
    const double cmb = 6371.0 - kAk135CmbDepth;
    auto touches = [](const std::vector<const FrontRecord*>& records, double radius) {
        for (const FrontRecord* r : records)
            for (const FrontPoint& p : r->points)
                if (std::abs(radiusOf(p) - radius) < 25.0) return true;
        return false;
    };
    const auto& steps = surfaceFronts();
    EXPECT_TRUE(recordsOf(steps[20], "PcP").empty());  // 200 s: P has not reached the core
    EXPECT_TRUE(touches(recordsOf(steps[30], "PcP"), cmb));
    EXPECT_TRUE(touches(recordsOf(steps[30], "PKP"), cmb));
    EXPECT_TRUE(touches(recordsOf(steps[50], "ScS"), cmb));
    EXPECT_TRUE(touches(recordsOf(steps[50], "PP"), 6371.0));
    EXPECT_TRUE(touches(recordsOf(steps[90], "SS"), 6371.0));
    EXPECT_FALSE(recordsOf(steps[120], "PKIKP").empty());
    // Depth phases only for a buried focus.
    for (const WavefrontStep& step : steps) EXPECT_TRUE(recordsOf(step, "pP").empty());

    // Rays grazing the surface are the common limit of PP, PPP, ...: fronts
    // may touch there, in a single segment, but never run along each other.
    for (const WavefrontStep& step : steps) {
        std::map<std::pair<int, int>, std::size_t> owner;
        std::map<std::pair<std::size_t, std::size_t>, int> shared;
        for (std::size_t i = 0; i < step.records.size(); ++i) {
            const auto& pts = step.records[i].points;
            for (std::size_t j = 1; j < pts.size(); ++j) {
                int a = pts[j - 1].along * 65536 + pts[j - 1].across;
                int b = pts[j].along * 65536 + pts[j].across;
                auto [it, fresh] = owner.emplace(std::minmax(a, b), i);
                if (!fresh && it->second != i) ++shared[{it->second, i}];
            }
        }
        for (const auto& [pair, count] : shared)
            EXPECT_LE(count, 1) << step.records[pair.second].phase << " repeats "
                                << step.records[pair.first].phase << " at " << step.time;
    }
}

// The direct P and S fronts end at the ray grazing the core, short of the
// shadow; beyond it the diffracted fronts go on, dashed, and reach the surface
// when the travel times (computed apart, from the grazing ray's distance and
// the boundary's slowness) say the diffracted wave arrives.
TEST(TablesWavefronts, DiffractedFrontsCarryTheWavesIntoTheShadowAsDashes) {
    TravelTimeCalculator times(ak135Model(), 0.0);
    const double cmb = 6371.0 - kAk135CmbDepth;
    const auto& steps = surfaceFronts();
    for (const char* wave : {"P", "S"}) {
        const std::string diff = std::string(wave) + "diff";
        const double antipode = times.arrival(wave, 180)->time;
        int surfaceChecks = 0, creeping = 0, dashedSteps = 0;
        for (const WavefrontStep& step : steps) {
            for (const FrontRecord* r : recordsOf(step, wave))
                for (const FrontPoint& p : r->points)
                    ASSERT_LT(angleOf(p), 101.0) << wave << " in the shadow at " << step.time;
            auto dashes = recordsOf(step, diff);
            for (const FrontRecord* r : dashes) {
                ASSERT_EQ(r->waveType, wave[0] == 'P' ? kWaveTypeP : kWaveTypeS);
                for (const FrontPoint& p : r->points) {
                    if (std::abs(radiusOf(p) - cmb) < 2.0 && angleOf(p) > 104.0) ++creeping;
                    if (6371.0 - radiusOf(p) > 3.0 || step.time > antipode) continue;
                    auto arrival = times.arrival(wave, angleOf(p));
                    ASSERT_TRUE(arrival);
                    EXPECT_NEAR(arrival->time, step.time, 1.0) << diff << " at " << angleOf(p);
                    ++surfaceChecks;
                }
            }
            // Dashes: the viewer labels records of more than five points, so
            // the first dash alone carries the name.
            if (dashes.size() >= 3) {
                ++dashedSteps;
                EXPECT_EQ(dashes[0]->points.size(), 6u) << diff << " at " << step.time;
                for (std::size_t i = 1; i < dashes.size(); ++i)
                    EXPECT_LE(dashes[i]->points.size(), 5u) << diff << " at " << step.time;
            }
        }
        EXPECT_GT(surfaceChecks, 10) << diff;
        EXPECT_GT(creeping, 5) << diff;
        EXPECT_GT(dashedSteps, 20) << diff;
    }
}

TEST(TablesWavefronts, RecordsOfAStepFollowTheFixedPhaseOrder) {
    auto order = wavefrontPhases(false);
    for (const WavefrontStep& step : surfaceFronts()) {
        std::size_t last = 0;
        for (const FrontRecord& r : step.records) {
            auto at = std::find(order.begin(), order.end(), r.phase);
            ASSERT_NE(at, order.end()) << r.phase;
            std::size_t pos = static_cast<std::size_t>(at - order.begin());
            EXPECT_GE(pos, last) << r.phase << " at " << step.time;
            last = pos;
        }
    }
    auto deep = wavefrontPhases(true);
    for (const char* phase :
         {"pP", "sP", "P", "S", "PP", "SS", "PcP", "ScS", "PKP", "PKIKP", "PKiKP", "SKS", "SKKS",
          "ScP", "PcS", "PS", "SP", "Pdiff", "Sdiff", "PPdiff", "PdiffP", "SSdiff", "SdiffS",
          "pPdiff", "sSdiff", "PPPP", "SSSS", "PKKP", "P'P'", "S'S'", "ScSScSScS"})
        EXPECT_NE(std::find(deep.begin(), deep.end(), phase), deep.end()) << phase;
    // The names fit the record and tell the phases apart.
    std::set<std::string> unique(deep.begin(), deep.end());
    EXPECT_EQ(unique.size(), deep.size());
    for (const std::string& name : deep) EXPECT_LE(name.size(), 11u) << name;
}

TEST(TablesWavefronts, UnusableStepsAreBroughtIntoRange) {
    WavefrontOptions options;
    options.timeStep = 0;
    options.lastTime = 3;
    options.initialRays = 4;
    auto steps = computeWavefronts(uniformEarth(10, 5), 0.0, options);
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[3].time, 3);
    options.timeStep = -10;
    options.lastTime = -1;
    steps = computeWavefronts(uniformEarth(10, 5), 0.0, options);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].time, 0);
    EXPECT_TRUE(steps[0].records.empty());
    // A focus in the core has no mantle rays to draw.
    options = WavefrontOptions{};
    options.lastTime = 100;
    steps = computeWavefronts(ak135Model(), 4000.0, options);
    for (const auto& step : steps) EXPECT_TRUE(step.records.empty());
}

TEST(TablesWavefronts, SameInputGivesTheSameBytes) {
    WavefrontOptions options;
    options.lastTime = 600;
    auto a = encodeWavefronts(computeWavefronts(ak135Model(), 600.0, options));
    auto b = encodeWavefronts(computeWavefronts(ak135Model(), 600.0, options));
    EXPECT_EQ(a.index, b.index);
    EXPECT_EQ(a.data, b.data);
    EXPECT_GT(a.data.size(), 1000u);
}

}  // namespace
}  // namespace orvane
