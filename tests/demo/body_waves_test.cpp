#include "tools/demo/body_waves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "model/travel_time_curve.h"
#include "model/travel_times.h"

namespace orvane {
namespace {

std::map<std::string, PhaseArrival> byPhase(const std::vector<PhaseArrival>& arrivals) {
    std::map<std::string, PhaseArrival> m;
    for (const auto& a : arrivals) m[a.phase] = a;
    return m;
}

TEST(BodyWaves, ArrivalDepthIsTheViewersTableColumn) {
    EXPECT_EQ(arrivalDepth(10), 0.0);
    EXPECT_EQ(arrivalDepth(29), 0.0);
    EXPECT_EQ(arrivalDepth(33), 33.0);
    EXPECT_NEAR(arrivalDepth(47.4), 33.0, 1e-9);
    EXPECT_NEAR(arrivalDepth(631.3), 33.0 + 9 * 63.38, 1e-9);
    // The column is never deeper than the focus, and never a column away.
    for (double depth : {0.0, 8.2, 22.9, 96.38, 300.0, 631.3, 700.0})
        EXPECT_LE(depth - arrivalDepth(depth), 63.38) << depth;
}

TEST(BodyWaves, PhasesAppearWhereTheyExist) {
    auto near = byPhase(bodyWaveArrivals(30, 0, 8));
    EXPECT_TRUE(near.count("P") && near.count("S") && near.count("PP") && near.count("PcP") && near.count("ScS"));
    EXPECT_FALSE(near.count("PKIKP"));
    EXPECT_FALSE(near.count("SKS"));
    auto shadow = byPhase(bodyWaveArrivals(125, 0, 8));
    ASSERT_TRUE(shadow.count("P"));  // diffracted, weak
    ASSERT_TRUE(shadow.count("PKIKP"));
    EXPECT_LT(shadow["P"].amplitude, 0.1 * near["P"].amplitude);
    EXPECT_LT(shadow["PKIKP"].time, shadow["PP"].time);
    auto far = byPhase(bodyWaveArrivals(90, 0, 8));
    EXPECT_TRUE(far.count("SKS"));
    // Order of the main phases at every distance: P before PP before S before SS.
    for (double d : {20.0, 45.0, 70.0, 95.0, 130.0, 165.0}) {
        auto a = byPhase(bodyWaveArrivals(d, 33, 8));
        ASSERT_TRUE(a.count("P") && a.count("S")) << d;
        EXPECT_LT(a["P"].time, a["S"].time) << d;
        if (a.count("PP")) {
            EXPECT_LT(a["P"].time, a["PP"].time) << d;
        }
        if (a.count("SS")) {
            EXPECT_LT(a["S"].time, a["SS"].time) << d;
        }
    }
}

TEST(BodyWaves, TimesAreTheModelsAndAnglesSteepenWithDistance) {
    auto a30 = byPhase(bodyWaveArrivals(30, 0, 8));
    auto a80 = byPhase(bodyWaveArrivals(80, 0, 8));
    // Published ak135 surface-focus P at 30 degrees: 370.3 s.
    EXPECT_NEAR(a30["P"].time, 370.3, 1.0);
    EXPECT_NEAR(a30["P"].time, travelTime("P", 30, 0)->time, 1e-9);
    EXPECT_LT(a80["P"].incidence, a30["P"].incidence);
    EXPECT_GT(a30["P"].incidence, 15);
    EXPECT_LT(a30["P"].incidence, 45);
}

TEST(BodyWaves, DeepFociHaveClearDepthPhasesAndAmplitudesScaleWithMagnitude) {
    auto deep = byPhase(bodyWaveArrivals(60, arrivalDepth(631.3), 8.2));
    ASSERT_TRUE(deep.count("pP") && deep.count("sS"));
    // pP follows P by about two minutes for a focus 600 km deep.
    EXPECT_GT(deep["pP"].time - deep["P"].time, 100);
    EXPECT_LT(deep["pP"].time - deep["P"].time, 170);
    auto small = byPhase(bodyWaveArrivals(60, 0, 6.5)), big = byPhase(bodyWaveArrivals(60, 0, 7.5));
    EXPECT_NEAR(big["P"].amplitude / small["P"].amplitude, 10.0, 1e-6);
    EXPECT_EQ(bodyWaveScale(9.1), bodyWaveScale(8.0));
}

TEST(BodyWaves, StationRequestCoversTheSurfaceWaves) {
    SeismogramRequest r = stationRequest(150, 10, 29, 9.1, 7);
    EXPECT_EQ(r.begin, -60.0);
    EXPECT_EQ(r.delta, 0.05);
    EXPECT_GT(r.begin + r.duration, 150 * kKilometresPerDegree / 3.0);
    EXPECT_TRUE(r.surfaceWaves);
    EXPECT_FALSE(stationRequest(60, 10, 631.3, 8.2, 7).surfaceWaves);
}

// Onset of the first arrival on a synthesized vertical: the first sample above
// eight times the noise RMS of the minute before the origin.
double onset(const SeismogramRequest& r, const ThreeComponents& c) {
    double sum = 0;
    std::size_t quiet = static_cast<std::size_t>(-r.begin / r.delta);
    for (std::size_t i = 0; i < quiet; ++i) sum += double(c.vertical[i]) * c.vertical[i];
    double level = 8 * std::sqrt(sum / quiet);
    for (std::size_t i = quiet; i < c.vertical.size(); ++i)
        if (std::fabs(c.vertical[i]) > level) return r.begin + i * r.delta;
    return 1e9;
}

TEST(BodyWaves, SynthesizedPOnsetIsAtTheModelTime) {
    for (double distance : {12.0, 35.0, 61.5, 88.0, 97.0}) {
        for (double depth : {10.0, 631.3}) {
            SeismogramRequest r = stationRequest(distance, 45, depth, 7.8, 3);
            r.surfaceWaves = false;
            r.duration = 1500;
            ThreeComponents c = synthesize(r);
            double p = travelTime("P", distance, arrivalDepth(depth))->time;
            EXPECT_NEAR(onset(r, c), p + 0.3, 0.7) << distance << " " << depth;
        }
    }
}

}  // namespace
}  // namespace orvane
