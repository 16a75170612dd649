#include "model/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orvane {
namespace {

constexpr float kTol = 1e-5f;

TEST(Rotation, QuarterTurnsMoveAxesAsDocumented) {
    SinCos quarter = sinCosOf(90);
    Vector3 x{1, 0, 0}, y{0, 1, 0};
    Vector3 r = rotateAboutZ(x, quarter);  // (x c + y s, y c - x s, z)
    EXPECT_NEAR(r.x, 0, kTol);
    EXPECT_NEAR(r.y, -1, kTol);
    r = rotateAboutX(y, quarter);  // (x, y c + z s, z c - y s)
    EXPECT_NEAR(r.y, 0, kTol);
    EXPECT_NEAR(r.z, -1, kTol);
    r = rotateAboutY(x, quarter);  // (x c - z s, y, x s + z c)
    EXPECT_NEAR(r.x, 0, kTol);
    EXPECT_NEAR(r.z, 1, kTol);
}

TEST(GlobePoint, CornerValues) {
    for (float view : {0.0f, 45.0f, 270.0f}) {
        // Just inside the right rim (exactly on it, z is 0 give or take
        // rounding, like the pole below).
        FloatPoint p = globePoint(0, view + 89.99f, view);
        EXPECT_NEAR(p.x, 1, kTol) << view;
        EXPECT_NEAR(p.y, 0, kTol) << view;
        p = globePoint(0, view - 90 + 1, view);  // just inside the left rim
        EXPECT_LT(p.x, -0.99f) << view;
        // Centre of the disc and a southern point below it (y grows downwards).
        p = globePoint(0, view, view);
        EXPECT_NEAR(p.x, 0, kTol);
        EXPECT_NEAR(p.y, 0, kTol);
        EXPECT_NEAR(globePoint(-30, view, view).y, 0.5f, kTol);
    }
    // The North Pole lies exactly on the rim: hidden.
    EXPECT_EQ(globePoint(90, 0, 0), (FloatPoint{0, 0}));
    // Far side: cos(lon - view) < 0.
    EXPECT_EQ(globePoint(10, 180, 0), (FloatPoint{0, 0}));
    EXPECT_EQ(globePoint(-45, 100, 0), (FloatPoint{0, 0}));
    EXPECT_EQ(globePoint(20, 0, 135), (FloatPoint{0, 0}));
}

TEST(GlobePoint, MatchesClosedForm) {
    for (float lat = -80; lat <= 80; lat += 20)
        for (float lon = -170; lon <= 170; lon += 35) {
            FloatPoint p = globePoint(lat, lon, 45);
            double la = lat * M_PI / 180, dl = (lon - 45) * M_PI / 180;
            if (std::cos(dl) > 0.01) {
                EXPECT_NEAR(p.x, std::cos(la) * std::sin(dl), 1e-5) << lat << " " << lon;
                EXPECT_NEAR(p.y, -std::sin(la), 1e-5) << lat << " " << lon;
            }
        }
}

TEST(MapPoint, CornerValues) {
    float scale = mapScaleFor(2048);
    EXPECT_EQ(mapPoint(90, -180, scale), (FloatPoint{0, 0}));
    FloatPoint p = mapPoint(-90, 180, scale);
    EXPECT_FLOAT_EQ(p.x, 4096);
    EXPECT_FLOAT_EQ(p.y, 2048);
    p = mapPoint(0, 0, mapScaleFor(180));
    EXPECT_FLOAT_EQ(p.x, 180);
    EXPECT_FLOAT_EQ(p.y, 90);
}

TEST(Section, SurfacePointAtEpicentreEqualsFocusAtDepthZero) {
    const int radius = 300;
    for (float lat : {-60.0f, 0.0f, 35.5f, 89.0f}) {
        double s = std::sin(lat * M_PI / 180), c = std::cos(lat * M_PI / 180);
        PixelPoint focus = hypocentrePoint(0, s, c, radius);
        for (int side : {1, 2}) {
            PixelPoint p = sectionSurfacePoint(0, side, lat, radius);
            EXPECT_NEAR(p.x, focus.x, 1) << lat;
            EXPECT_NEAR(p.y, focus.y, 1) << lat;
        }
    }
    // A northern epicentre sits on the left limb above the centre.
    PixelPoint focus = hypocentrePoint(0, 0.5, std::sqrt(0.75), radius);
    EXPECT_EQ(focus, (PixelPoint{-259, -150}));
}

TEST(Section, SidesGoTowardsLowerAndHigherLatitudes) {
    const int radius = 200;
    // From the equator, 90 degrees on side 1 is the South Pole (bottom), on
    // side 2 the North Pole (top).
    PixelPoint south = sectionSurfacePoint(90, 1, 0, radius);
    PixelPoint north = sectionSurfacePoint(90, 2, 0, radius);
    EXPECT_EQ(south, (PixelPoint{0, 200}));
    EXPECT_EQ(north, (PixelPoint{0, -200}));
    for (float delta : {0.0f, 17.0f, 95.5f, 180.0f})
        for (int side : {1, 2}) {
            PixelPoint a = sectionSurfacePoint(delta, side, 40, radius);
            PixelPoint b = sectionStationPoint(delta, side, 40, radius);
            EXPECT_NEAR(a.x, b.x, 1) << delta << " " << side;
            EXPECT_NEAR(a.y, b.y, 1) << delta << " " << side;
        }
}

TEST(Section, FocusDepthAndTruncation) {
    // Half the Earth radius deep at the equator: half the disc radius left.
    PixelPoint p = hypocentrePoint(3185.5f, 0, 1, 401);
    EXPECT_EQ(p, (PixelPoint{-200, 0}));
    // Truncation towards zero, never rounding: 0.99 pixel gives 0.
    EXPECT_EQ(sectionPoint(99, 0, 0, 1, 0.01f), (PixelPoint{0, 0}));
    EXPECT_EQ(sectionPoint(-199, 0, 0, 1, 0.01f), (PixelPoint{1, 0}));
}

TEST(Section, WavefrontPointAndMirror) {
    const float f = 0.05f;  // 318.55 pixel disc
    // At the equator `along` points at the epicentre (left), `across` downwards.
    EXPECT_EQ(sectionPoint(6371, 0, 0, 1, f), (PixelPoint{-318, 0}));
    EXPECT_EQ(sectionPoint(0, 2000, 0, 1, f), (PixelPoint{0, 100}));
    EXPECT_EQ(sectionMirrorPoint(0, 2000, 0, 1, f), (PixelPoint{0, -100}));
    // The mirror of a point is the point with `across` negated.
    double s = std::sin(0.7), c = std::cos(0.7);
    for (int along : {-3000, 0, 1234})
        for (int across : {-2500, 0, 4000})
            EXPECT_EQ(sectionMirrorPoint(along, across, s, c, f),
                      sectionPoint(along, -across, s, c, f));
}

TEST(PixelTruncation, BadValuesStayDefined) {
    EXPECT_EQ(truncateToPixel(-2.9), -2);
    EXPECT_EQ(truncateToPixel(2.9), 2);
    EXPECT_EQ(truncateToPixel(std::nan("")), 0);
    EXPECT_EQ(truncateToPixel(1e30), std::numeric_limits<int>::max());
    EXPECT_EQ(truncateToPixel(-INFINITY), std::numeric_limits<int>::min());
}

TEST(SmallCircle, GlobeCircleOfRadiusZeroIsTheCentre) {
    auto points = globeCircle(0, 30, 50, 45);
    FloatPoint centre = globePoint(30, 50, 45);
    for (const auto& p : points) {
        EXPECT_TRUE(p.visible);
        EXPECT_NEAR(p.x, centre.x, kTol);
        EXPECT_NEAR(p.y, centre.y, kTol);
    }
}

TEST(SmallCircle, GlobeCircleKeepsItsAngularRadius) {
    auto points = globeCircle(20, 10, 0, 0);
    // Azimuths run to 366 degrees: the last point overlaps the second one.
    EXPECT_NEAR(points[1].x, points[kCirclePoints - 1].x, kTol);
    EXPECT_NEAR(points[1].y, points[kCirclePoints - 1].y, kTol);
    float cx = globePoint(10, 0, 0).x, cy = globePoint(10, 0, 0).y;
    double cz = std::sqrt(1.0 - cx * cx - cy * cy);
    for (const auto& p : points) {
        ASSERT_TRUE(p.visible);
        double pz = std::sqrt(std::max(0.0, 1.0 - p.x * p.x - p.y * p.y));
        double cosAngle = p.x * cx + p.y * cy + pz * cz;
        EXPECT_NEAR(std::acos(std::min(1.0, cosAngle)) * 180 / M_PI, 20, 1e-2);
    }
    // A circle around a point near the rim runs partly onto the far side.
    int hidden = 0;
    for (const auto& p : globeCircle(30, 0, 80, 0)) hidden += !p.visible;
    EXPECT_GT(hidden, 0);
    EXPECT_LT(hidden, kCirclePoints);
}

TEST(SmallCircle, MapCircle) {
    float scale = mapScaleFor(2048);
    FloatPoint centre = mapPoint(-20, 170, scale);
    for (const auto& p : mapCircle(0, -20, 170, scale)) {
        EXPECT_NEAR(p.x, centre.x, 0.05f);
        EXPECT_NEAR(p.y, centre.y, 0.05f);
    }
    // Around the equator the circle reaches 10 degrees north and south; at
    // longitude 170 it crosses the date line into negative longitudes.
    auto points = mapCircle(10, 0, 175, mapScaleFor(180));
    EXPECT_NEAR(points[0].y, 80, 0.01f);    // azimuth 0: due north
    EXPECT_NEAR(points[30].y, 100, 0.01f);  // azimuth 180: due south
    EXPECT_NEAR(points[15].x, 5, 0.01f);    // azimuth 90: 185 E, which is -175
    // The poles themselves give finite points (asin stays in range).
    for (const auto& p : mapCircle(0, 90, 0, 1)) EXPECT_TRUE(std::isfinite(p.y));
}

TEST(Calendar, LeapYears) {
    EXPECT_TRUE(isLeapYear(2000));
    EXPECT_FALSE(isLeapYear(1900));
    EXPECT_TRUE(isLeapYear(2004));
    EXPECT_FALSE(isLeapYear(2100));
    EXPECT_FALSE(isLeapYear(2003));
}

TEST(Calendar, DayOfYearAndBack) {
    EXPECT_EQ(dayOfYear(2004, 3, 1), 61);
    EXPECT_EQ(dayOfYear(2003, 3, 1), 60);
    EXPECT_EQ(dayOfYear(2003, 12, 31), 365);
    EXPECT_EQ(monthAndDay(60, 2004), (MonthAndDay{2, 29}));
    EXPECT_EQ(monthAndDay(60, 2003), (MonthAndDay{3, 1}));
    EXPECT_EQ(monthAndDay(1, 2003), (MonthAndDay{1, 1}));
    EXPECT_EQ(monthAndDay(366, 2004), (MonthAndDay{12, 31}));
    for (int year : {2003, 2004})
        for (int n = 1; n <= 366; ++n) {
            MonthAndDay md = monthAndDay(n, year);
            EXPECT_EQ(dayOfYear(year, md.month, md.day), n);
        }
}

TEST(Calendar, OutOfRangeValuesStayDefined) {
    // Day numbers outside the year still round-trip.
    for (int n : {-5, 0, 367, 400}) {
        MonthAndDay md = monthAndDay(n, 2003);
        EXPECT_EQ(dayOfYear(2003, md.month, md.day), n);
    }
    // Months outside 1..12 are clamped rather than read past the table.
    EXPECT_EQ(dayOfYear(2003, 0, 5), 5);
    EXPECT_EQ(dayOfYear(2003, 13, 1), 335);
    EXPECT_EQ(dayOfYear(2003, 1, std::numeric_limits<int>::max()), std::numeric_limits<int>::max());
}

TEST(EpochSeconds, DifferencesAreExact) {
    double a = epochSeconds(2004, 2, 28, 12, 30, 55, 400);
    double b = epochSeconds(2004, 2, 29, 12, 30, 55, 400);
    double c = epochSeconds(2004, 3, 1, 12, 30, 55, 400);
    EXPECT_EQ(b - a, 86400.0);
    EXPECT_EQ(c - b, 86400.0);
    // Across a year end, including the leap day of the year before.
    EXPECT_EQ(epochSeconds(2005, 1, 1, 0, 0, 0, 0) - epochSeconds(2004, 12, 31, 0, 0, 0, 0),
              86400.0);
    EXPECT_EQ(epochSeconds(2005, 1, 1, 0, 0, 0, 0) - epochSeconds(2004, 1, 1, 0, 0, 0, 0),
              366 * 86400.0);
    EXPECT_EQ(epochSeconds(2004, 1, 1, 0, 0, 0, 0) - epochSeconds(2003, 1, 1, 0, 0, 0, 0),
              365 * 86400.0);
    // Hours, minutes and the millisecond part.
    EXPECT_NEAR(epochSeconds(2004, 5, 6, 12, 30, 55, 400) - epochSeconds(2004, 5, 6, 0, 0, 0, 0),
                12 * 3600 + 30 * 60 + 55.4, 1e-6);
    // SAC headers give a day of the year: month 1 with that day is the same instant.
    EXPECT_EQ(epochSeconds(2004, 1, 61, 1, 2, 3, 4), epochSeconds(2004, 3, 1, 1, 2, 3, 4));
}

TEST(EpochSeconds, HugeYearsDoNotOverflow) {
    double far = epochSeconds(std::numeric_limits<int>::max(), 1, 1, 0, 0, 0, 0);
    EXPECT_TRUE(std::isfinite(far));
    EXPECT_GT(far, 6e16);
}

}  // namespace
}  // namespace orvane
