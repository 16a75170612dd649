#include "tools/demo/synthetic_seismogram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace orvane {
namespace {

double rms(const std::vector<float>& x, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += double(x[i]) * x[i];
    return std::sqrt(sum / double(to - from));
}

std::size_t firstAbove(const std::vector<float>& x, double level, std::size_t from = 0) {
    for (std::size_t i = from; i < x.size(); ++i)
        if (std::fabs(x[i]) > level) return i;
    return x.size();
}

TEST(Rotation, RadialAndTransverseBecomeNorthAndEast) {
    double n, e;
    // Event due north of the station: radial (away from the event) points south,
    // transverse (clockwise from radial) points west.
    rotateToNorthEast(1, 0, 0, n, e);
    EXPECT_NEAR(n, -1, 1e-12);
    EXPECT_NEAR(e, 0, 1e-12);
    rotateToNorthEast(0, 1, 0, n, e);
    EXPECT_NEAR(n, 0, 1e-12);
    EXPECT_NEAR(e, -1, 1e-12);
    // Event due east: radial points west, transverse north.
    rotateToNorthEast(1, 0, 90, n, e);
    EXPECT_NEAR(e, -1, 1e-12);
    EXPECT_NEAR(n, 0, 1e-12);
    rotateToNorthEast(0, 1, 90, n, e);
    EXPECT_NEAR(n, 1, 1e-12);
    // Any back azimuth keeps the length of the motion.
    for (double b : {13.0, 137.0, 222.0, 359.0}) {
        rotateToNorthEast(0.6, 0.8, b, n, e);
        EXPECT_NEAR(n * n + e * e, 1.0, 1e-12);
    }
}

SeismogramRequest quiet(double distance) {
    SeismogramRequest r;
    r.distance = distance;
    r.begin = -60;
    r.duration = distance * kKilometresPerDegree / 2.9 + 200;
    r.noise = 0;
    r.surfaceWaves = false;
    r.magnitude = 8;
    r.depth = 20;
    return r;
}

TEST(Synthetic, PulseStartsAtItsArrivalTime) {
    for (double time : {312.4, 600.0, 1187.75}) {
        SeismogramRequest r = quiet(60);
        r.noise = 1.0;
        r.arrivals.push_back({"P", time, 100.0, WaveKind::compressional, 20});
        ThreeComponents c = synthesize(r);
        ASSERT_EQ(c.vertical.size(), static_cast<std::size_t>(r.duration / r.delta));
        std::size_t before = static_cast<std::size_t>((time - 10 - r.begin) / r.delta);
        double noise = rms(c.vertical, 0, before);
        EXPECT_GT(noise, 0.3);
        EXPECT_LT(noise, 3.0);
        std::size_t onset = firstAbove(c.vertical, 6 * noise, 0);
        double onsetTime = r.begin + onset * r.delta;
        EXPECT_GE(onsetTime, time - 0.05) << time;
        EXPECT_LT(onsetTime, time + 1.0) << time;
        // The event lies due north: P moves the ground up and along the north
        // axis (radial), nothing of it reaches the east (transverse) axis.
        EXPECT_GT(rms(c.north, onset, onset + 200), 4 * noise);
        EXPECT_LT(rms(c.east, onset, onset + 200), 2 * noise);
    }
}

TEST(Synthetic, ArrivalsOutsideTheTraceOrWithoutAmplitudeAreIgnored) {
    SeismogramRequest r = quiet(30);
    r.arrivals.push_back({"P", -500, 10, WaveKind::compressional, 20});
    r.arrivals.push_back({"S", r.duration + 1000, 10, WaveKind::shear, 20});
    r.arrivals.push_back({"PP", 100, 0, WaveKind::compressional, 20});
    r.arrivals.push_back({"X", std::nan(""), 10, WaveKind::compressional, 20});
    ThreeComponents c = synthesize(r);
    EXPECT_EQ(rms(c.vertical, 0, c.vertical.size()), 0.0);
    // Degenerate sampling gives no trace at all rather than a hang.
    r.delta = 0;
    EXPECT_TRUE(synthesize(r).vertical.empty());
    r.delta = std::nan("");
    EXPECT_TRUE(synthesize(r).vertical.empty());
    r.delta = 0.05;
    r.duration = -1;
    EXPECT_TRUE(synthesize(r).vertical.empty());
}

TEST(Synthetic, ShearWavesShakeTheGroundSideways) {
    SeismogramRequest r = quiet(50);
    r.backAzimuth = 90;  // event to the east: transverse is north-south
    r.arrivals.push_back({"S", 900, 100, WaveKind::shear, 20});
    ThreeComponents c = synthesize(r);
    std::size_t from = static_cast<std::size_t>((900 - r.begin) / r.delta), to = from + 400;
    EXPECT_GT(rms(c.north, from, to), 2 * rms(c.vertical, from, to));
    EXPECT_GT(rms(c.east, from, to), rms(c.vertical, from, to));
}

TEST(Synthetic, SurfaceWavesAreDispersedLongPeriodsFirst) {
    SeismogramRequest r = quiet(60);
    r.surfaceWaves = true;
    r.backAzimuth = 0;  // event to the north: radial is north-south, transverse east-west
    ThreeComponents c = synthesize(r);
    const double km = 60 * kKilometresPerDegree;
    auto index = [&](double t) { return static_cast<std::size_t>((t - r.begin) / r.delta); };
    // Nothing before the fastest group velocity of the Love wave, and the train
    // has passed once the slowest Rayleigh wave (3 km/s) has gone by.
    EXPECT_EQ(rms(c.east, 0, index(km / 4.45)), 0.0);
    EXPECT_EQ(rms(c.vertical, 0, index(km / 4.05)), 0.0);
    EXPECT_EQ(rms(c.vertical, index(km / 2.99), c.vertical.size()), 0.0);
    EXPECT_GT(rms(c.vertical, index(km / 3.6), index(km / 3.3)), 0.0);
    // Love waves (transverse = east here) arrive before the Rayleigh waves on the vertical.
    std::size_t love = firstAbove(c.east, 1e-3), rayleigh = firstAbove(c.vertical, 1e-3);
    EXPECT_LT(love, rayleigh);
    // Periods: count zero crossings in an early and a late window of the vertical.
    auto period = [&](double t0, double t1) {
        int crossings = 0;
        for (std::size_t i = index(t0) + 1; i < index(t1); ++i)
            crossings += (c.vertical[i - 1] < 0) != (c.vertical[i] < 0);
        return crossings > 0 ? 2.0 * (t1 - t0) / crossings : 1e9;
    };
    double early = period(km / 3.95, km / 3.85), late = period(km / 3.15, km / 3.05);
    EXPECT_GT(early, 2 * late);
    EXPECT_NEAR(late, 12.5, 4.0);  // short periods, near the 12 s end of the band
    EXPECT_GT(rayleighGroupVelocity(60), rayleighGroupVelocity(20));
    EXPECT_NEAR(rayleighGroupVelocity(kShortestSurfacePeriod), 3.07, 0.05);
    EXPECT_GT(loveGroupVelocity(40), rayleighGroupVelocity(40));
    EXPECT_LT(loveGroupVelocity(kLongestSurfacePeriod), 4.5);
}

TEST(Synthetic, SurfaceWavesGrowWithMagnitudeAndFadeWithDepthAndDistance) {
    auto peak = [](double magnitude, double depth, double distance) {
        SeismogramRequest r = quiet(distance);
        r.surfaceWaves = true;
        r.magnitude = magnitude;
        r.depth = depth;
        ThreeComponents c = synthesize(r);
        float m = 0;
        for (float v : c.vertical) m = std::max(m, std::fabs(v));
        return m;
    };
    EXPECT_GT(peak(8, 20, 40), 5 * peak(7, 20, 40));
    EXPECT_GT(peak(8, 20, 40), 20 * peak(8, 600, 40));
    EXPECT_GT(peak(8, 20, 40), peak(8, 20, 120));
}

TEST(Synthetic, DeterministicForOneSeed) {
    SeismogramRequest r = quiet(40);
    r.noise = 1;
    r.duration = 300;
    ThreeComponents a = synthesize(r), b = synthesize(r);
    EXPECT_EQ(a.vertical, b.vertical);
    EXPECT_EQ(a.east, b.east);
    r.seed = 2;
    EXPECT_NE(synthesize(r).vertical, a.vertical);
}

TEST(Synthetic, LargerEarthquakesHaveLongerPulses) {
    EXPECT_LT(bodyWavePeriod(6.5), bodyWavePeriod(8.0));
    EXPECT_LE(bodyWavePeriod(9.5), 8.0);
    EXPECT_GE(bodyWavePeriod(4.0), 1.5);
}

}  // namespace
}  // namespace orvane
