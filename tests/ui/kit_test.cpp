// Pixel checks of the drawing kit: bevel, panel, frames, base line and text.
#include "ui/kit.h"

#include <gtest/gtest.h>

#include <QImage>

#include "../platform/pixel_probe.h"
#include "platform/memory_surface.h"

namespace orvane {
namespace {

using namespace colours;
using test::Box;

Colour at(const DrawingContext& dc, int x, int y) { return *dc.pixel({x, y}); }

Box boxOf(const DrawingContext& dc, Colour c) { return test::boxOf(*dc.pixels(), c); }

class KitTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dc.createBitmap(60, 60, kBlue);
        dc.selectPen(Pen::solid(kYellow, 3));
        dc.selectBrush(Brush::solid(kCyan));
        dc.setBrushOrigin({7, 9});
    }
    // Every kit function leaves pen, brush and brush origin as it found them.
    void TearDown() override {
        EXPECT_EQ(dc.pen(), Pen::solid(kYellow, 3));
        EXPECT_EQ(dc.brush(), Brush::solid(kCyan));
        EXPECT_EQ(dc.brushOrigin(), (Point{7, 9}));
    }
    MemorySurface dc;
};

TEST_F(KitTest, RaisedBevelIsWhiteUpperLeftAndGreyLowerRight) {
    drawBevel(dc, {10, 10, 50, 50}, std::nullopt, false, 4, 0);
    EXPECT_EQ(at(dc, 10, 30), kWhite);  // left band
    EXPECT_EQ(at(dc, 30, 13), kWhite);  // top band
    EXPECT_EQ(at(dc, 49, 30), kGrey);   // right band
    EXPECT_EQ(at(dc, 30, 49), kGrey);   // bottom band
    EXPECT_EQ(at(dc, 30, 14), kBlue);   // inside untouched without fill
    EXPECT_EQ(at(dc, 50, 30), kBlue);   // right edge excluded
    EXPECT_EQ(at(dc, 30, 50), kBlue);
}

TEST_F(KitTest, SunkenBevelExchangesTheColours) {
    drawBevel(dc, {10, 10, 50, 50}, kLightGrey, true, 4, 0);
    EXPECT_EQ(at(dc, 10, 30), kGrey);
    EXPECT_EQ(at(dc, 30, 10), kGrey);
    EXPECT_EQ(at(dc, 49, 30), kWhite);
    EXPECT_EQ(at(dc, 30, 49), kWhite);
    EXPECT_EQ(at(dc, 30, 30), kLightGrey);  // filled
}

TEST_F(KitTest, BevelWithAFramePaintsOnlyABandInside) {
    drawBevel(dc, {10, 10, 50, 50}, kRed, false, 2, 3);
    EXPECT_EQ(at(dc, 12, 30), kRed);  // band starts at the inner edge
    EXPECT_EQ(at(dc, 14, 30), kRed);
    EXPECT_EQ(at(dc, 15, 30), kBlue);  // middle left as it was
    EXPECT_EQ(at(dc, 30, 30), kBlue);
    EXPECT_EQ(at(dc, 47, 30), kRed);
    EXPECT_EQ(at(dc, 30, 47), kRed);
    EXPECT_EQ(at(dc, 30, 44), kBlue);
    EXPECT_EQ(at(dc, 30, 45), kRed);

    MemorySurface bare;
    bare.createBitmap(20, 20, kBlue);
    drawBevel(bare, {0, 0, 20, 20}, kRed, false, 0, 0);  // no bevel: just the fill
    EXPECT_EQ(at(bare, 0, 0), kRed);
    EXPECT_EQ(at(bare, 19, 19), kRed);
}

TEST_F(KitTest, PanelHasOutlineHighlightAndShadow) {
    drawPanel(dc, {10, 10, 40, 30}, kLightGrey, 0);
    EXPECT_EQ(at(dc, 10, 10), kBlack);  // outline
    EXPECT_EQ(at(dc, 40, 20), kBlack);  // drawn on the right and bottom lines
    EXPECT_EQ(at(dc, 25, 30), kBlack);
    EXPECT_EQ(at(dc, 11, 11), kWhite);  // highlight
    EXPECT_EQ(at(dc, 25, 12), kWhite);
    EXPECT_EQ(at(dc, 12, 20), kWhite);
    EXPECT_EQ(at(dc, 25, 28), kBlack);  // shadow
    EXPECT_EQ(at(dc, 39, 20), kBlack);
    EXPECT_EQ(at(dc, 25, 20), kLightGrey);

    MemorySurface banded;
    banded.createBitmap(60, 60, kBlue);
    drawPanel(banded, {10, 10, 50, 50}, kRed, 6);
    EXPECT_EQ(at(banded, 15, 30), kRed);
    EXPECT_EQ(at(banded, 30, 30), kBlue);
}

TEST_F(KitTest, InsetOutlineFillsInsideAndOutlinesInWhite) {
    drawInsetOutline(dc, {10, 10, 30, 30}, kRed, 3);
    EXPECT_EQ(at(dc, 10, 10), kWhite);
    EXPECT_EQ(at(dc, 29, 29), kWhite);
    EXPECT_EQ(at(dc, 30, 30), kBlue);
    EXPECT_EQ(at(dc, 11, 11), kBlue);  // the margin
    EXPECT_EQ(at(dc, 13, 13), kRed);
    EXPECT_EQ(at(dc, 26, 26), kRed);
    EXPECT_EQ(at(dc, 27, 27), kBlue);
}

TEST_F(KitTest, RecessedFrameHasItsEdgesOutside) {
    drawRecessedFrame(dc, {20, 20, 40, 40});
    EXPECT_EQ(at(dc, 20, 20), kBlack);
    EXPECT_EQ(at(dc, 40, 30), kBlack);
    EXPECT_EQ(at(dc, 18, 18), kGrey);
    EXPECT_EQ(at(dc, 19, 30), kGrey);
    EXPECT_EQ(at(dc, 30, 41), kLightGrey);
    EXPECT_EQ(at(dc, 42, 30), kLightGrey);
    EXPECT_EQ(at(dc, 30, 30), kBlue);
}

TEST_F(KitTest, BaseLineRunsThreePixelsAboveTheBottom) {
    drawBaseLine(dc, {10, 10, 50, 50});
    EXPECT_EQ(at(dc, 50, 47), kWhite);
    EXPECT_EQ(at(dc, 11, 47), kWhite);
    EXPECT_EQ(at(dc, 10, 47), kBlue);  // the line stops short of its end point
    EXPECT_EQ(at(dc, 30, 48), kBlue);
    EXPECT_EQ(at(dc, 30, 46), kBlue);
}

TEST_F(KitTest, DrawTextSetsAlignmentAndColourButNotTheBackgroundMode) {
    dc.setBackgroundMode(BackgroundMode::Opaque);
    dc.setBackgroundColour(kGreen);
    drawText(dc, {30, 30}, "N", kRed, kAlignCentre | kAlignBaseline);
    EXPECT_EQ(dc.textAlign(), kAlignCentre | kAlignBaseline);
    EXPECT_EQ(dc.textColour(), kRed);
    EXPECT_EQ(dc.backgroundMode(), BackgroundMode::Opaque);
    EXPECT_FALSE(boxOf(dc, kGreen).empty());  // opaque cell as the caller asked
}

class ShadowTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved = letterSize;
        letterSize = {};
    }
    void TearDown() override { letterSize = saved; }
    Size saved;
};

TEST_F(ShadowTextTest, MeasuresTheLetterWhenUnknownAndCentresOnIt) {
    MemorySurface plain, centred;
    for (MemorySurface* s : {&plain, &centred}) {
        s->createBitmap(120, 80, kBlue);
        s->selectFont(Font::create("Arial", 24));
    }
    drawShadowText(plain, {60, 40}, "N", kWhite, kAlignCentre | kAlignTop, false);
    Size measured = plain.textExtent("N");
    EXPECT_EQ(letterSize, measured);
    EXPECT_EQ(plain.backgroundMode(), BackgroundMode::Transparent);
    letterSize = {};
    drawShadowText(centred, {60, 40}, "N", kWhite, kAlignCentre | kAlignTop, true);
    EXPECT_EQ(letterSize, measured);
    Box p = boxOf(plain, kWhite), c = boxOf(centred, kWhite);
    ASSERT_FALSE(p.empty());
    EXPECT_EQ(c.top, p.top - measured.height / 2);
    EXPECT_EQ(c.left, p.left);
    // Top-aligned, moved up by half the letter: the letter straddles the point.
    int cellTop = 40 - measured.height / 2;
    EXPECT_GT(c.top, cellTop);
    EXPECT_LT(c.top, 40);
    EXPECT_GT(c.bottom, 40);
    // Two black shadows, the farthest two pixels right and down.
    Box shadow = boxOf(plain, kBlack);
    EXPECT_EQ(shadow.right, p.right + 2);
    EXPECT_EQ(shadow.bottom, p.bottom + 2);
    EXPECT_EQ(shadow.left, p.left + 1);
}

TEST_F(ShadowTextTest, KnownLetterSizeIsUsedAsItIs) {
    letterSize = {10, 40};
    MemorySurface s;
    s.createBitmap(120, 120, kBlue);
    s.selectFont(Font::create("Arial", 24));
    drawShadowText(s, {60, 60}, "N", kWhite, kAlignLeft | kAlignTop, true);
    EXPECT_EQ(letterSize, (Size{10, 40}));
    Box b = boxOf(s, kWhite);
    ASSERT_FALSE(b.empty());
    EXPECT_LT(b.top, 60 - 20 + s.textMetrics().ascent);
    EXPECT_GT(b.top, 40);
}

}  // namespace
}  // namespace orvane
