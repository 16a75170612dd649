// The rectangles of the three view layouts and the sizes they are made from.
#include "app/layout_window.h"

#include <gtest/gtest.h>

#include "app/run_state.h"
#include "app/side_panel.h"
#include "data/settings.h"

namespace orvane {
namespace {

constexpr Size kScreen{1920, 1080};

TEST(LayoutSizesTest, ViewPercentAndMarginOfAWideScreen) {
    // Panel 72 wide beside a client 1000 high: p = 5, 95 -> 71 -> 35.
    EXPECT_EQ(computeViewPercent(72, 1000, kScreen), 35);
    EXPECT_EQ(allViewsMargin(kScreen), 12);
    EXPECT_EQ(singleViewMargin(kScreen), 21);
}

TEST(LayoutSizesTest, FourByThreeScreenIsNotNarrowed) {
    EXPECT_EQ(computeViewPercent(72, 700, {1024, 768}), (100 - 72 * 100 / 933) / 2);
    EXPECT_EQ(allViewsMargin({1024, 768}), 0);
    // A screen taller than wide puts the single view's margin below zero.
    EXPECT_LT(singleViewMargin({768, 1024}), 0);
    EXPECT_EQ(allViewsMargin({768, 1024}), 0);
}

TEST(LayoutSizesTest, EmptyScreenOrClientDividesByNothing) {
    EXPECT_EQ(computeViewPercent(72, 0, {0, 0}), 50);
    EXPECT_EQ(allViewsMargin({0, 0}), 0);
    EXPECT_EQ(singleViewMargin({0, 0}), 0);
    LayoutRects r = computeLayout(kViewAll, {0, 0}, {0, 0}, 72, 35);
    EXPECT_TRUE(r.globe.empty());
}

TEST(LayoutSizesTest, SliderRectangleFromPanelAndLetter) {
    EXPECT_EQ(computeSliderRect({72, 1000}, {8, 13}), (Rect{2, 600, 24, 1000}));
}

TEST(LayoutRectsTest, AllViewsLayout) {
    LayoutRects r = computeLayout(kViewAll, {1920, 1000}, kScreen, 72, 35);
    // Two squares of 672 pixels side by side at the bottom, 12 % in.
    EXPECT_EQ(r.globe, (Rect{230, 328, 902, 1000}));
    EXPECT_EQ(r.crossSection, (Rect{902, 328, 1574, 1000}));
    EXPECT_EQ(r.slider, (Rect{1574, 0, 1646, 1000}));
    EXPECT_EQ(r.station, (Rect{230, 0, 277, 328}));
    EXPECT_EQ(r.seismograms, (Rect{277, 0, 1574, 328}));
    EXPECT_TRUE(r.leftPanel.empty());
    EXPECT_TRUE(r.rightPanel.empty());
}

TEST(LayoutRectsTest, SingleViewLayouts) {
    LayoutRects globe = computeLayout(kView3d, {1920, 1000}, kScreen, 72, 35);
    // 21 % of 1920 = 403; the view is as wide as the layout is high.
    EXPECT_EQ(globe.globe, (Rect{403, 0, 1403, 1000}));
    EXPECT_TRUE(globe.crossSection.empty());
    EXPECT_EQ(globe.slider, (Rect{1403, 0, 1475, 1000}));
    EXPECT_EQ(globe.leftPanel, (Rect{0, 0, 403, 1000}));
    EXPECT_EQ(globe.rightPanel, (Rect{1475, 0, 1920, 1000}));
    EXPECT_TRUE(globe.seismograms.empty());
    EXPECT_TRUE(globe.station.empty());

    LayoutRects section = computeLayout(kViewXs, {1920, 1000}, kScreen, 72, 35);
    EXPECT_EQ(section.crossSection, globe.globe);
    EXPECT_TRUE(section.globe.empty());
}

class LayoutWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.applyDefaults();
        screenWidth = 1920;
        screenHeight = 1080;
        panelSize = {72, 1000};
        viewPercent = 35;
        sliderRect = computeSliderRect(panelSize, {8, 13});
    }
};

TEST_F(LayoutWindowTest, AllViewsLayoutHasPanelAndStationColumnButNoFillers) {
    myLayoutWindow layout(nullptr, kViewAll, {1920, 1000});
    ASSERT_NE(layout.slider(), nullptr);
    EXPECT_EQ(layout.slider()->geometry(), QRect(1574, 0, 72, 1000));
    ASSERT_NE(layout.station(), nullptr);
    EXPECT_EQ(layout.station()->geometry(), QRect(230, 0, 47, 328));
    EXPECT_EQ(layout.leftPanel(), nullptr);
    EXPECT_EQ(layout.rightPanel(), nullptr);
}

TEST_F(LayoutWindowTest, SingleViewLayoutHasTwoFillers) {
    myLayoutWindow layout(nullptr, kViewXs, {1920, 1000});
    ASSERT_NE(layout.leftPanel(), nullptr);
    ASSERT_NE(layout.rightPanel(), nullptr);
    EXPECT_EQ(layout.leftPanel()->geometry(), QRect(0, 0, 403, 1000));
    EXPECT_EQ(layout.rightPanel()->geometry(), QRect(1475, 0, 445, 1000));
    EXPECT_EQ(layout.station(), nullptr);
    // Resizing the layout moves the children with it.
    layout.show();
    layout.resize(1920, 800);
    EXPECT_EQ(layout.slider()->geometry().height(), 800);
}

TEST_F(LayoutWindowTest, StationColumnWritesNamesRightAlignedOnTheirBaselines) {
    childStation station;
    station.resize(47, 200);
    station.setNames({{"ANMO", 60}, {"KIP", 140}});
    station.paintPending();
    const QImage& picture = station.picture();
    auto darkInRow = [&](int top, int bottom) {
        int dark = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 4; x < 43; ++x) dark += qGray(picture.pixel(x, y)) < 80;
        return dark;
    };
    // Text sits just above each baseline, nothing far from them.
    EXPECT_GT(darkInRow(45, 61), 0);
    EXPECT_GT(darkInRow(125, 141), 0);
    EXPECT_EQ(darkInRow(80, 120), 0);
    EXPECT_EQ(darkInRow(160, 196), 0);
}

}  // namespace
}  // namespace orvane
