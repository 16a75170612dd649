#include "map/map_projection.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orvane;

namespace {

// The Mercator ordinate in degrees, straight from the formula.
double exactMercator(double latitude) {
    double phi = latitude * M_PI / 180;
    return std::log(std::tan(phi / 2 + M_PI / 4)) * 180 / M_PI;
}

}  // namespace

TEST(MercatorTest, FollowsTheFormulaAndIsOddInLatitude) {
    EXPECT_NEAR(mercator(0), 0, 1e-6);
    for (double lat : {1.0, 10.005, 35.05, 45.0, 60.5, 75.0, 88.0})
        EXPECT_NEAR(mercator(static_cast<float>(lat)), exactMercator(lat), 2e-3) << lat;
    EXPECT_FLOAT_EQ(mercator(-35.05f), -mercator(35.05f));
    EXPECT_FLOAT_EQ(mercator(-70), -mercator(70));
}

TEST(MercatorTest, LatitudesFrom89OnAreDrawnAt88) {
    EXPECT_FLOAT_EQ(mercator(89.5f), mercator(88));
    EXPECT_FLOAT_EQ(mercator(89), mercator(88));
    EXPECT_FLOAT_EQ(mercator(-90), -mercator(88));
    EXPECT_FLOAT_EQ(mercator(1e30f), mercator(88));
    EXPECT_GT(mercator(88.99f), mercator(89));  // just below 89 still counts
    EXPECT_FLOAT_EQ(mercator(NAN), 0);
}

TEST(MapProjectionTest, SmallerScaleServesBothAxesAndTheMapIsCentred) {
    const double span = exactMercator(75) + exactMercator(70);
    // Wide area: the vertical scale limits, the map is centred horizontally.
    MapProjection wide(Rect{10, 20, 1010, 420});
    EXPECT_NEAR(wide.scale(), 400 / span, 1e-3);
    const Rect& m = wide.mapRect();
    EXPECT_EQ(m.top, 20);
    EXPECT_NEAR(width(m), 360 * 400 / span, 1);
    EXPECT_NEAR((m.left - 10) - (1010 - m.right), 0, 1);
    // Tall area: the horizontal scale limits, centred vertically.
    MapProjection tall(Rect{0, 0, 720, 1000});
    EXPECT_FLOAT_EQ(tall.scale(), 2);
    EXPECT_EQ(tall.mapRect().left, 0);
    EXPECT_EQ(width(tall.mapRect()), 720);
    EXPECT_NEAR(tall.mapRect().top, (1000 - 2 * span) / 2, 1);
}

TEST(MapProjectionTest, LeftEdgeAt65EastAndLongitudeMinus115InTheMiddle) {
    MapProjection p(Rect{0, 0, 720, 1000});  // scale 2
    EXPECT_FLOAT_EQ(p.mapLongitudeToX(65), 0);
    EXPECT_FLOAT_EQ(p.mapLongitudeToX(-115), 360);
    EXPECT_FLOAT_EQ(p.mapLongitudeToX(245), 360);
    EXPECT_FLOAT_EQ(p.mapLongitudeToX(64), 718);
    EXPECT_FLOAT_EQ(p.mapLongitudeToX(-180), 230);
    EXPECT_FLOAT_EQ(p.mapLongitudeToX(605), 360);  // once round the Earth more
    EXPECT_FLOAT_EQ(p.mapLongitudeToX(-475), 360);
    EXPECT_FLOAT_EQ(p.mapLatitudeToY(-70), static_cast<float>(height(p.mapRect())));
    EXPECT_NEAR(p.mapLatitudeToY(75), 0, 1);
    EXPECT_FLOAT_EQ(p.mapLatitudeToY(89.5f), p.mapLatitudeToY(88));
}

TEST(MapProjectionTest, KnownEpicentreLandsWhereTheFormulaPutsIt) {
    // Albuquerque, 35.05 N 106.62 W, on a map in an 1000 x 500 area.
    Rect area{15, 15, 1015, 515};
    MapProjection p(area);
    double scale = p.scale();
    const Rect& m = p.mapRect();
    double x = scale * (360 - 106.62 - 65);
    double y = height(m) - (exactMercator(35.05) + exactMercator(70)) * scale;
    Point at = p.point(35.05f, -106.62f);
    EXPECT_NEAR(at.x, m.left + x, 1);
    EXPECT_NEAR(at.y, m.top + y, 1);
}

TEST(MapAreaTest, ShrunkBy15AndRaisedBy2AndAHalfLetters) {
    EXPECT_EQ(mapArea(Rect{0, 0, 800, 600}, 12), (Rect{15, 15, 785, 555}));
    EXPECT_EQ(mapArea(Rect{0, 0, 800, 600}, 13), (Rect{15, 15, 785, 553}));
}

TEST(PlaceLabelsTest, LaterLabelOfANearbyEventGoesBelowTheEarlierOne) {
    Rect map{100, 100, 900, 500};
    std::vector<Rect> labels =
        placeLabels({{400, 300}, {410, 305}, {700, 200}}, {{80, 30}, {60, 30}, {50, 30}}, map);
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[0], (Rect{360, 285, 440, 315}));
    EXPECT_EQ(labels[1], (Rect{380, 315, 440, 345}));  // top at the first one's bottom
    EXPECT_EQ(labels[2], (Rect{675, 185, 725, 215}));  // far away: centred
}

TEST(PlaceLabelsTest, MovesBelowEachOverlappingEarlierLabelInTurn) {
    Rect map{0, 0, 1000, 1000};
    // Three at one place stack up; a fourth placed further down meets the
    // stack only after it moved below the first.
    std::vector<Rect> labels = placeLabels({{500, 500}, {500, 500}, {500, 500}, {500, 530}},
                                           {{40, 20}, {40, 20}, {40, 20}, {40, 20}}, map);
    EXPECT_EQ(labels[1].top, 510);
    EXPECT_EQ(labels[2].top, 530);
    EXPECT_EQ(labels[3].top, 550);
    EXPECT_EQ(height(labels[3]), 20);
}

TEST(PlaceLabelsTest, LabelsNearTheEdgesStart10PixelsInside) {
    Rect map{100, 100, 900, 500};
    std::vector<Rect> labels = placeLabels({{110, 300}, {136, 400}, {137, 200}, {880, 300}},
                                           {{60, 30}, {60, 30}, {60, 30}, {60, 30}}, map);
    EXPECT_EQ(labels[0].left, 110);  // was beyond the edge
    EXPECT_EQ(labels[1].left, 110);  // left edge 106: within 6 pixels
    EXPECT_EQ(labels[2].left, 107);  // 7 pixels inside: stays
    EXPECT_EQ(labels[3].right, 890);
    EXPECT_EQ(width(labels[3]), 60);
}

TEST(MapProjectionTest, HostilePositionsAndAreasStayFinite) {
    MapProjection p(Rect{0, 0, 720, 1000});
    for (float lon : {1e30f, -1e30f, INFINITY, NAN, 3.4e38f}) {
        float x = p.mapLongitudeToX(lon);
        EXPECT_TRUE(x >= 0 && x < 720) << lon;
    }
    EXPECT_TRUE(std::isfinite(p.mapLatitudeToY(-1e30f)));
    // An area too small for a map gives an empty map, not a crash.
    MapProjection none(Rect{10, 10, 5, 5});
    EXPECT_FLOAT_EQ(none.scale(), 0);
    EXPECT_TRUE(none.mapRect().empty());
    EXPECT_EQ(none.point(35, -106), (Point{10, 10}));
}
