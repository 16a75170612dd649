// Travel times by ray theory: against published ak135 figures, identities of
// surface reflections, and a constant-velocity Earth where rays are chords.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <numbers>

#include "model/ak135.h"
#include "model/seismic_phase.h"
#include "model/travel_times.h"

namespace orvane {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

double timeOf(const TravelTimeCalculator& c, const char* phase, double degrees) {
    auto a = c.arrival(phase, degrees);
    EXPECT_TRUE(a.has_value()) << phase << " at " << degrees;
    return a ? a->time : NAN;
}

// Published ak135 surface-focus times (s). The tables promise 1 s; the ray
// integrals here are exact per shell, so hold them to 0.15 s.
TEST(TablesTravelTimes, MatchesPublishedSurfaceFocusFigures) {
    TravelTimeCalculator c(ak135Model(), 0.0);
    EXPECT_NEAR(timeOf(c, "P", 30), 370.3, 0.15);
    EXPECT_NEAR(timeOf(c, "P", 60), 608.3, 0.15);
    EXPECT_NEAR(timeOf(c, "P", 90), 781.4, 0.15);
    EXPECT_NEAR(timeOf(c, "S", 30), 669.1, 0.15);
    EXPECT_NEAR(timeOf(c, "S", 60), 1101.9, 0.15);
    // Core phases, from the same published tables (looser: read off minutes).
    EXPECT_NEAR(timeOf(c, "PcP", 0), 511.7, 1.0);
    EXPECT_NEAR(timeOf(c, "PKIKP", 180), 1212.5, 1.0);
}

TEST(TablesTravelTimes, SurfaceReflectionsAreTwoHalfDistancePaths) {
    TravelTimeCalculator c(ak135Model(), 0.0);
    for (double d = 2; d <= 180; d += 7) {
        EXPECT_NEAR(timeOf(c, "PP", d), 2 * timeOf(c, "P", d / 2), 0.05) << d;
        EXPECT_NEAR(timeOf(c, "SS", d), 2 * timeOf(c, "S", d / 2), 0.05) << d;
    }
}

TEST(TablesTravelTimes, DirectWaveOfBuriedFocusStartsWithVerticalTime) {
    // At 0 degrees the time is that of the ray straight up; a depth phase
    // comes later than the direct wave by about the two extra legs.
    TravelTimeCalculator c(ak135Model(), 600.0);
    double up = timeOf(c, "P", 0);
    EXPECT_GT(up, 60.0);
    EXPECT_LT(up, 80.0);
    double p60 = timeOf(c, "P", 60);
    double pP60 = timeOf(c, "pP", 60);
    EXPECT_GT(pP60 - p60, 100.0);
    EXPECT_LT(pP60 - p60, 160.0);
}

TEST(TablesTravelTimes, DiffractedWaveContinuesBeyondTheShadow) {
    TravelTimeCalculator c(ak135Model(), 0.0);
    auto a = c.arrival("P", 130);
    auto b = c.arrival("P", 140);
    ASSERT_TRUE(a && b);
    // Slowness of the core-mantle boundary: 3479.5 km / 13.6602 km/s per radian.
    double slowness = 3479.5 / 13.6602 * kDeg;
    EXPECT_NEAR(b->time - a->time, 10 * slowness, 0.01);
    EXPECT_NEAR(a->rayParameter, slowness, 1e-6);
    // S beyond its shadow likewise; SKS overtakes it there but is another phase.
    auto s = c.arrival("S", 120);
    auto sks = c.arrival("SKS", 120);
    ASSERT_TRUE(s && sks);
    EXPECT_LT(sks->time, s->time);
}

TEST(TablesTravelTimes, PhasesThatCannotArriveGiveNothing) {
    TravelTimeCalculator c(ak135Model(), 0.0);
    EXPECT_FALSE(c.arrival("PKIKP", 90).has_value());  // core phases start far out
    EXPECT_FALSE(c.arrival("SKS", 30).has_value());
    EXPECT_FALSE(c.arrival("pP", 40).has_value());  // no up-going ray from the surface
    EXPECT_FALSE(c.arrival("P", -1).has_value());
    EXPECT_FALSE(c.arrival("P", 180.5).has_value());
    EXPECT_FALSE(c.arrival("P", NAN).has_value());
    EXPECT_FALSE(c.arrival("XYZ", 10).has_value());
    EXPECT_FALSE(travelTime("P", 30, -5).has_value());
    EXPECT_FALSE(travelTime("P", 30, NAN).has_value());
    auto viaApi = travelTime("P", 30, 0);
    ASSERT_TRUE(viaApi);
    EXPECT_NEAR(viaApi->time, 370.3, 0.15);
}

// Straight chords at speed v: from a focus at radius rs to the surface point
// at distance d the path is sqrt(R^2 + rs^2 - 2 R rs cos d).
TEST(TablesTravelTimes, ConstantVelocityEarthGivesChordTimes) {
    const double v = 8.0;
    EarthModel uniform = uniformEarth(v, 4.5);
    for (double depth : {0.0, 250.0, 600.0}) {
        TravelTimeCalculator c(uniform, depth);
        double rs = 6371.0 - depth;
        for (double d : {0.0, 5.0, 20.0, 45.0, 70.0, 95.0}) {
            double chord =
                std::sqrt(6371.0 * 6371.0 + rs * rs - 2 * 6371.0 * rs * std::cos(d * kDeg));
            EXPECT_NEAR(timeOf(c, "P", d), chord / v, 0.02) << depth << " km, " << d << " deg";
        }
        // A reflection at the core boundary of radius rc at distance 0: 2 (rs - rc) / v
        // from the surface focus, (rs - rc + R - rc) / v in general.
        double rc = 6371.0 - 2891.5;
        EXPECT_NEAR(timeOf(c, "PcP", 0), (rs - rc + 6371.0 - rc) / v, 0.02);
    }
}

// The table columns of a phase, computed once for the tests that read them.
const std::vector<std::vector<double>>& columnsOf(const std::string& phase) {
    static std::map<std::string, std::vector<std::vector<double>>> cache;
    auto it = cache.find(phase);
    if (it == cache.end()) it = cache.emplace(phase, tableColumns(ak135Model(), phase)).first;
    return it->second;
}

TEST(TablesTravelTimes, ColumnsIncreaseStrictlyAtTheTablesResolution) {
    for (const char* phase : {"P", "S", "PP", "SS"}) {
        const auto& columns = columnsOf(phase);
        ASSERT_EQ(columns.size(), 14u);
        for (std::size_t c = 0; c < columns.size(); ++c) {
            ASSERT_EQ(columns[c].size(), 181u);
            for (std::size_t d = 1; d < columns[c].size(); ++d) {
                ASSERT_TRUE(std::isfinite(columns[c][d]));
                // Written with one decimal: consecutive values at least 0.1 apart.
                EXPECT_GE(std::round(columns[c][d] * 10) - std::round(columns[c][d - 1] * 10), 1)
                    << phase << " column " << c << " at " << d;
            }
        }
        // Column 0 is the surface focus: nothing to travel at 0 degrees.
        EXPECT_NEAR(columns[0][0], 0.0, 1e-3) << phase;
    }
}

// From a buried focus both legs of PP must turn below the focus, so PP
// first reaches the surface some way out, where it is born. Nearer, the
// column holds that moment less 0.2 s per degree nearer, never a time before
// the direct wave; from its first ray on, the earliest PP arrival. SS alike.
TEST(TablesTravelTimes, ReflectionsNearABuriedFocusStartWhereTheyAreBorn) {
    for (auto [directName, name] : {std::pair{"P", "PP"}, std::pair{"S", "SS"}}) {
        const auto& direct = columnsOf(directName);
        const auto& reflected = columnsOf(name);
        for (int c = 0; c < 14; ++c) {
            for (int d = 0; d <= 180; ++d)
                ASSERT_GE(reflected[c][d], direct[c][d]) << name << " column " << c << " at " << d;
            TravelTimeCalculator calc(ak135Model(), tableColumnDepth(c));
            int first = 0;
            while (first <= 180 && !calc.arrival(name, first)) ++first;
            ASSERT_LE(first, 180) << name << " column " << c;
            if (c >= 4) {
                EXPECT_GT(first, 15) << name << " column " << c;
            }
            if (first == 0) continue;
            // The moment of birth, looked for in hundredths of a degree.
            double born = INFINITY, bornAt = 0;
            for (int k = 0; k <= 600; ++k) {
                double x = first - 1 + k / 100.0;
                auto a = calc.arrival(name, x);
                if (a && a->time < born) {
                    born = a->time;
                    bornAt = x;
                }
            }
            ASSERT_TRUE(std::isfinite(born)) << name << " column " << c;
            // (A hundredth of a degree is up to 0.3 s of a slow wave.)
            for (int d = 0; d < bornAt; ++d)
                EXPECT_NEAR(reflected[c][d], born - 0.2 * (bornAt - d), 0.35)
                    << name << " column " << c << " at " << d;
            // Further out the first arrival, lowered only where a faster
            // branch begins within the next degree.
            for (int d = static_cast<int>(bornAt) + 1; d < 180; ++d) {
                auto a = calc.arrival(name, d);
                ASSERT_TRUE(a) << name << " column " << c << " at " << d;
                EXPECT_NEAR(reflected[c][d], std::min(a->time, reflected[c][d + 1] - 0.2), 1e-9)
                    << name << " column " << c << " at " << d;
            }
        }
    }
}

TEST(TablesTravelTimes, ColumnDepthsFollowTheTableLayout) {
    EXPECT_EQ(tableColumnDepth(0), 0.0);
    EXPECT_EQ(tableColumnDepth(1), 33.0);
    EXPECT_NEAR(tableColumnDepth(2), 96.38, 1e-9);
    EXPECT_NEAR(tableColumnDepth(13), 33.0 + 12 * 63.38, 1e-9);
}

TEST(TablesSeismicPhase, ParsesLegSequences) {
    auto pkikp = SeismicPhase::parse("PKIKP");
    ASSERT_TRUE(pkikp);
    ASSERT_EQ(pkikp->legs.size(), 5u);
    EXPECT_EQ(pkikp->legs[0], (Leg{Wave::P, Region::Mantle, LegKind::Down}));
    EXPECT_EQ(pkikp->legs[1], (Leg{Wave::P, Region::OuterCore, LegKind::Down}));
    EXPECT_EQ(pkikp->legs[2], (Leg{Wave::P, Region::InnerCore, LegKind::Turn}));
    EXPECT_EQ(pkikp->legs[3], (Leg{Wave::P, Region::OuterCore, LegKind::Up}));
    EXPECT_EQ(pkikp->legs[4], (Leg{Wave::P, Region::Mantle, LegKind::Up}));

    auto sp = SeismicPhase::parse("sP");
    ASSERT_TRUE(sp);
    EXPECT_TRUE(sp->upTakeoff);
    EXPECT_EQ(sp->legs[0], (Leg{Wave::S, Region::Mantle, LegKind::Up}));
    EXPECT_EQ(sp->legs[1], (Leg{Wave::P, Region::Mantle, LegKind::Turn}));

    auto skks = SeismicPhase::parse("SKKS");
    ASSERT_TRUE(skks);
    EXPECT_EQ(skks->legs[1].kind, LegKind::Turn);
    EXPECT_EQ(skks->legs[2].kind, LegKind::Turn);

    auto scp = SeismicPhase::parse("ScP");
    ASSERT_TRUE(scp);
    EXPECT_EQ(scp->legs[0], (Leg{Wave::S, Region::Mantle, LegKind::Down}));
    EXPECT_EQ(scp->legs[1], (Leg{Wave::P, Region::Mantle, LegKind::Up}));

    for (const char* bad : {"", "K", "PK", "Pc", "cP", "PI", "PKIP", "PiP", "Px", "PKPc"})
        EXPECT_FALSE(SeismicPhase::parse(bad).has_value()) << bad;
}

}  // namespace
}  // namespace orvane
