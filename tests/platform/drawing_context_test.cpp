// Pixel checks of the drawing context's geometry rules on small surfaces.
#include "platform/drawing_context.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>

#include "pixel_probe.h"
#include "platform/fonts.h"
#include "platform/memory_surface.h"

namespace orvane {
namespace {

using namespace colours;

using test::Box;
using test::inkBox;

Colour at(const MemorySurface& s, int x, int y) { return test::colourAt(s.bitmap(), x, y); }

class DrawingContextTest : public ::testing::Test {
  protected:
    void SetUp() override { dc.createBitmap(40, 40, kWhite); }
    MemorySurface dc;
};

TEST_F(DrawingContextTest, RectangleExcludesRightAndBottom) {
    dc.selectPen(stock::kBlackPen);
    dc.selectBrush(Brush::solid(kRed));
    dc.rectangle({2, 3, 10, 12});
    Box b = inkBox(dc.bitmap());
    EXPECT_EQ(b.left, 2);
    EXPECT_EQ(b.top, 3);
    EXPECT_EQ(b.right, 9);
    EXPECT_EQ(b.bottom, 11);
    EXPECT_EQ(at(dc, 2, 7), kBlack);  // outline
    EXPECT_EQ(at(dc, 9, 7), kBlack);
    EXPECT_EQ(at(dc, 5, 11), kBlack);
    EXPECT_EQ(at(dc, 5, 7), kRed);  // fill
    EXPECT_EQ(at(dc, 3, 4), kRed);
}

TEST_F(DrawingContextTest, RectangleWithNullPenIsOnePixelSmaller) {
    dc.selectPen(stock::kNullPen);
    dc.selectBrush(stock::kBlackBrush);
    dc.rectangle({2, 3, 10, 12});
    Box b = inkBox(dc.bitmap());
    EXPECT_EQ(b.left, 2);
    EXPECT_EQ(b.top, 3);
    EXPECT_EQ(b.right, 8);
    EXPECT_EQ(b.bottom, 10);
}

TEST_F(DrawingContextTest, FillRectAndPatternFillCoverExactly) {
    dc.fillRect({5, 5, 8, 9}, stock::kBlackBrush);
    Box b = inkBox(dc.bitmap());
    EXPECT_EQ(b.left, 5);
    EXPECT_EQ(b.right, 7);
    EXPECT_EQ(b.top, 5);
    EXPECT_EQ(b.bottom, 8);

    MemorySurface other;
    other.createBitmap(20, 20, kWhite);
    other.selectBrush(Brush::solid(kBlue));
    other.patBlt(10, 10, -4, -2);  // a negative size reaches back from the corner
    Box p = inkBox(other.bitmap());
    EXPECT_EQ(p.left, 6);
    EXPECT_EQ(p.right, 9);
    EXPECT_EQ(p.top, 8);
    EXPECT_EQ(p.bottom, 9);
    other.selectBrush(stock::kNullBrush);
    other.patBlt(0, 0, 5, 5);
    EXPECT_EQ(at(other, 1, 1), kWhite);
}

TEST_F(DrawingContextTest, EllipseStaysInsideItsBox) {
    dc.selectPen(stock::kBlackPen);
    dc.selectBrush(Brush::solid(kRed));
    dc.ellipse({4, 6, 24, 20});
    Box b = inkBox(dc.bitmap());
    EXPECT_EQ(b.left, 4);
    EXPECT_EQ(b.top, 6);
    EXPECT_EQ(b.right, 23);
    EXPECT_EQ(b.bottom, 19);
    EXPECT_EQ(at(dc, 14, 13), kRed);
    EXPECT_EQ(at(dc, 4, 6), kWhite);  // corners are outside the ellipse

    MemorySurface bare;
    bare.createBitmap(40, 40, kWhite);
    bare.selectPen(stock::kNullPen);
    bare.selectBrush(stock::kBlackBrush);
    bare.ellipse({4, 6, 24, 20});
    Box n = inkBox(bare.bitmap());
    EXPECT_GE(n.left, 4);
    EXPECT_GE(n.top, 6);
    EXPECT_LE(n.right, 22);
    EXPECT_LE(n.bottom, 18);
    EXPECT_GE(n.right, 21);
}

TEST_F(DrawingContextTest, LinesLeaveOutTheirEndPoint) {
    dc.moveTo({2, 2});
    dc.lineTo({10, 2});
    EXPECT_EQ(at(dc, 2, 2), kBlack);
    EXPECT_EQ(at(dc, 9, 2), kBlack);
    EXPECT_EQ(at(dc, 10, 2), kWhite);
    EXPECT_EQ(dc.currentPosition(), (Point{10, 2}));
    dc.lineTo({10, 8});  // continues from the current position
    EXPECT_EQ(at(dc, 10, 2), kBlack);
    EXPECT_EQ(at(dc, 10, 7), kBlack);
    EXPECT_EQ(at(dc, 10, 8), kWhite);

    dc.polyline({{20, 20}, {30, 20}, {30, 30}});
    EXPECT_EQ(at(dc, 30, 20), kBlack);  // inner corner drawn
    EXPECT_EQ(at(dc, 30, 29), kBlack);
    EXPECT_EQ(at(dc, 30, 30), kWhite);  // last point not

    dc.selectPen(stock::kNullPen);
    dc.polyline({{0, 35}, {39, 35}});
    EXPECT_TRUE(inkBox(dc.bitmap(), kWhite, {0, 33, 40, 37}).empty());
}

// Clipping a line must not move its pixels: the clipped drawing is the
// unclipped one cut out.
TEST(ThinLineTest, ClippedLinesKeepTheirPixels) {
    const std::vector<std::pair<Point, Point>> lines = {
        {{0, 0}, {37, 11}}, {{37, 11}, {0, 0}},    {{3, 39}, {36, 2}},   {{5, 0}, {12, 39}},
        {{30, 38}, {1, 7}}, {{-20, 13}, {60, 29}}, {{17, -9}, {21, 55}}, {{0, 20}, {39, 20}}};
    for (const auto& [a, b] : lines) {
        MemorySurface whole, clipped;
        whole.createBitmap(40, 40, kWhite);
        clipped.createBitmap(40, 40, kWhite);
        clipped.setClipRect({13, 9, 29, 31});
        whole.moveTo(a);
        whole.lineTo(b);
        clipped.moveTo(a);
        clipped.lineTo(b);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                bool inside = x >= 13 && x < 29 && y >= 9 && y < 31;
                Colour expected = inside ? at(whole, x, y) : kWhite;
                ASSERT_EQ(at(clipped, x, y), expected)
                    << a.x << "," << a.y << " -> " << b.x << "," << b.y << " at " << x << "," << y;
            }
    }
}

TEST(ThinLineTest, FarAwayEndsAreCheapAndExact) {
    MemorySurface s;
    s.createBitmap(40, 40, kWhite);
    s.moveTo({-1000000000, 5});
    s.lineTo({1000000000, 5});  // would take seconds step by step
    EXPECT_EQ(inkBox(s.bitmap()).left, 0);
    EXPECT_EQ(inkBox(s.bitmap()).right, 39);
    s.polyline({{-100000, -100000}, {100000, 100000}});
    for (int i = 0; i < 40; ++i) ASSERT_EQ(at(s, i, i), kBlack) << i;
    EXPECT_EQ(at(s, 1, 0), kWhite);
    s.selectPen(Pen::solid(kRed, 3));
    s.polyline({{-2000000000, 30}, {2000000000, 30}});
    EXPECT_EQ(at(s, 20, 30), kRed);
}

TEST_F(DrawingContextTest, WidePenIsCentredOnTheLine) {
    dc.selectPen(Pen::solid(kBlack, 5));
    dc.moveTo({10, 20});
    dc.lineTo({30, 20});
    Box b = inkBox(dc.bitmap());
    EXPECT_EQ(b.top, 18);
    EXPECT_EQ(b.bottom, 22);
}

TEST_F(DrawingContextTest, PolygonFillKeepsToTheTopLeftRule) {
    dc.selectPen(stock::kNullPen);
    dc.selectBrush(stock::kBlackBrush);
    dc.polygon({{2, 2}, {8, 2}, {8, 8}, {2, 8}});
    Box b = inkBox(dc.bitmap());
    EXPECT_EQ(b.left, 2);
    EXPECT_EQ(b.top, 2);
    EXPECT_EQ(b.right, 7);
    EXPECT_EQ(b.bottom, 7);

    dc.selectPen(Pen::solid(kRed));
    dc.selectBrush(stock::kNullBrush);
    dc.polygon({{20, 20}, {30, 20}, {30, 30}});
    EXPECT_EQ(at(dc, 30, 30), kRed);  // the outline is closed
    EXPECT_EQ(at(dc, 20, 20), kRed);
    EXPECT_EQ(at(dc, 29, 21), kWhite);  // not filled
}

// Arcs run counter-clockwise on the screen from the start ray to the end ray.
TEST_F(DrawingContextTest, ArcRunsCounterClockwise) {
    dc.arc({0, 0, 40, 40}, {40, 20}, {20, 0});  // right to top: upper right quarter
    EXPECT_FALSE(inkBox(dc.bitmap(), kWhite, {24, 0, 40, 16}).empty());
    EXPECT_TRUE(inkBox(dc.bitmap(), kWhite, {0, 24, 40, 40}).empty());
    EXPECT_TRUE(inkBox(dc.bitmap(), kWhite, {0, 0, 16, 40}).empty());

    MemorySurface other;
    other.createBitmap(40, 40, kWhite);
    other.arc({0, 0, 40, 40}, {20, 0}, {40, 20});  // top round to the right: three quarters
    EXPECT_TRUE(inkBox(other.bitmap(), kWhite, {24, 0, 40, 16}).empty());
    EXPECT_FALSE(inkBox(other.bitmap(), kWhite, {24, 24, 40, 40}).empty());
    EXPECT_FALSE(inkBox(other.bitmap(), kWhite, {0, 0, 16, 16}).empty());

    MemorySurface whole;
    whole.createBitmap(40, 40, kWhite);
    whole.arc({0, 0, 40, 40}, {40, 20}, {40, 20});  // equal rays: the whole ellipse
    Box b = inkBox(whole.bitmap());
    EXPECT_EQ(b.left, 0);
    EXPECT_EQ(b.right, 39);
    EXPECT_EQ(b.bottom, 39);
}

TEST_F(DrawingContextTest, ViewportOriginMovesLogicalCoordinates) {
    EXPECT_EQ(dc.setViewportOrigin({20, 20}), (Point{0, 0}));
    dc.fillRect({-5, -5, 5, 5}, stock::kBlackBrush);
    Box b = inkBox(dc.bitmap());
    EXPECT_EQ(b.left, 15);
    EXPECT_EQ(b.right, 24);
    EXPECT_EQ(dc.pixel({0, 0}), kBlack);
    EXPECT_EQ(dc.pixel({-21, 0}), std::nullopt);
    EXPECT_EQ(dc.clipBox(), (Rect{-20, -20, 20, 20}));
}

TEST_F(DrawingContextTest, ClipRectangleLimitsEveryOperation) {
    dc.setClipRect({2, 2, 6, 6});
    dc.fillRect({0, 0, 40, 40}, stock::kBlackBrush);
    dc.moveTo({0, 3});
    dc.selectPen(Pen::solid(kRed));
    dc.lineTo({40, 3});
    dc.selectPen(Pen::solid(kRed, 3));
    dc.ellipse({0, 0, 40, 40});
    Box b = inkBox(dc.bitmap());
    EXPECT_EQ(b.left, 2);
    EXPECT_EQ(b.top, 2);
    EXPECT_EQ(b.right, 5);
    EXPECT_EQ(b.bottom, 5);
    dc.setViewportOrigin({10, 10});
    EXPECT_EQ(dc.clipBox(), (Rect{-8, -8, -4, -4}));  // logical
    dc.clearClip();
    EXPECT_EQ(dc.clipBox(), (Rect{-10, -10, 30, 30}));
}

TEST_F(DrawingContextTest, FontsByNameUseTheLiberationFaces) {
    QFontInfo sans(qtFont(Font::create("Arial", 20)));
    EXPECT_EQ(sans.family(), "Liberation Sans");
    EXPECT_EQ(sans.pixelSize(), 20);
    EXPECT_FALSE(sans.bold());
    QFontInfo serif(qtFont(Font::create("Times Roman", 16, 700)));
    EXPECT_EQ(serif.family(), "Liberation Serif");
    EXPECT_TRUE(serif.bold());
    QFontInfo arialBold(qtFont(Font::create("Arial Bold", 12)));
    EXPECT_EQ(arialBold.family(), "Liberation Sans");
    EXPECT_TRUE(arialBold.bold());
    EXPECT_EQ(QFontInfo(qtFont(Font::create("MS Sans Serif", 13))).family(), "Liberation Sans");

    dc.selectFont(Font::create("Arial", 20));
    TextMetrics m = dc.textMetrics();
    EXPECT_EQ(m.height, m.ascent + m.descent);
    EXPECT_GT(m.averageCharWidth, 0);
    Size n = dc.textExtent("N");
    EXPECT_EQ(n.height, m.height);
    EXPECT_GT(dc.textExtent("NN").width, n.width);
}

TEST(DialogUnitsTest, ConvertWithTheFontsAverageWidthAndHeight) {
    Size units = dialogBaseUnits(Font::create("MS Sans Serif", 13));
    MemorySurface dc;
    dc.selectFont(Font::create("MS Sans Serif", 13));
    EXPECT_EQ(units, (Size{dc.textMetrics().averageCharWidth, dc.textMetrics().height}));
    EXPECT_EQ(dialogToPixels({4, 8, 186, 132}, {6, 13}), (Rect{6, 13, 279, 214}));
    EXPECT_EQ(dialogToPixels({0, 0, 3, 7}, {6, 13}), (Rect{0, 0, 4, 11}));  // truncated
}

class TextAlignTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dc.createBitmap(200, 100, kWhite);
        dc.selectFont(Font::create("Arial", 30));
        dc.setBackgroundMode(BackgroundMode::Transparent);
        metrics = dc.textMetrics();
        extent = dc.textExtent("N");
    }
    MemorySurface dc;
    TextMetrics metrics;
    Size extent;
};

TEST_F(TextAlignTest, LeftTopTextHangsBelowAndRightOfThePoint) {
    dc.setTextAlign(kAlignLeft | kAlignTop);
    dc.textOut({40, 20}, "N");
    Box b = inkBox(dc.bitmap());
    ASSERT_FALSE(b.empty());
    EXPECT_GE(b.left, 40);
    EXPECT_LE(b.left, 40 + extent.width / 3);
    EXPECT_GT(b.top, 20);
    // "N" sits on the baseline: its lowest row is just above it.
    EXPECT_NEAR(b.bottom, 20 + metrics.ascent - 1, 1);
}

TEST_F(TextAlignTest, CentreBaselineTextIsCentredOnThePointAndSitsOnIt) {
    dc.setTextAlign(kAlignCentre | kAlignBaseline);
    dc.textOut({100, 60}, "N");
    Box b = inkBox(dc.bitmap());
    ASSERT_FALSE(b.empty());
    EXPECT_NEAR(b.bottom, 59, 1);
    EXPECT_NEAR((b.left + b.right + 1) / 2.0, 100.0, 2.0);
    EXPECT_LT(b.top, 60 - metrics.ascent / 2);
}

TEST_F(TextAlignTest, RightBottomTextEndsLeftOfAndAboveThePoint) {
    dc.setTextAlign(kAlignRight | kAlignBottom);
    dc.textOut({150, 90}, "N");
    Box b = inkBox(dc.bitmap());
    ASSERT_FALSE(b.empty());
    EXPECT_LT(b.right, 150);
    EXPECT_GE(b.right, 150 - extent.width / 3);
    EXPECT_NEAR(b.bottom, 90 - metrics.descent - 1, 1);
}

TEST_F(TextAlignTest, OpaqueModeFillsTheTextCell) {
    dc.setBackgroundMode(BackgroundMode::Opaque);
    dc.setBackgroundColour(kYellow);
    dc.setTextAlign(kAlignLeft | kAlignTop);
    dc.textOut({10, 10}, "N");
    EXPECT_EQ(at(dc, 10, 10), kYellow);
    EXPECT_EQ(at(dc, 10 + extent.width - 1, 10 + metrics.height - 1), kYellow);
    EXPECT_EQ(at(dc, 10 + extent.width, 10), kWhite);
    EXPECT_EQ(at(dc, 10, 10 + metrics.height), kWhite);

    dc.setBackgroundMode(BackgroundMode::Transparent);
    dc.textOut({100, 10}, "N");
    EXPECT_EQ(at(dc, 100, 10), kWhite);
}

TEST_F(TextAlignTest, TextColourIsUsed) {
    dc.setTextColour(kRed);
    dc.textOut({10, 10}, "N");
    Box b = inkBox(dc.bitmap());
    ASSERT_FALSE(b.empty());
    bool red = false;
    for (int x = b.left; x <= b.right; ++x)
        for (int y = b.top; y <= b.bottom; ++y) red = red || at(dc, x, y) == kRed;
    EXPECT_TRUE(red);
}

TEST(WrappedTextTest, BreaksBetweenWordsAndKeepsLineBreaks) {
    MemorySurface dc;
    dc.selectFont(Font::create("Arial", 16));
    int word = dc.textExtent("word").width;
    int two = dc.textExtent("word word").width;
    auto lines = dc.wrapText("word word word", two + 1);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "word word");
    EXPECT_EQ(lines[1], "word");
    // A word wider than the box stands alone on its line.
    EXPECT_EQ(dc.wrapText("a verylongword b", word).size(), 3u);
    // Paragraph breaks give an empty line between the paragraphs.
    lines = dc.wrapText("one\r\n\r\ntwo", 1000);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "two");

    Rect need = dc.measureTextBox({10, 20, 10 + two + 1, 20}, "word word word");
    EXPECT_EQ(need.left, 10);
    EXPECT_EQ(need.right, 10 + two);
    EXPECT_EQ(need.bottom - need.top, 2 * dc.textMetrics().height);
}

TEST(WrappedTextTest, DrawsInsideItsRectangleOnly) {
    MemorySurface dc;
    dc.createBitmap(100, 60, kWhite);
    dc.setBackgroundMode(BackgroundMode::Transparent);
    dc.selectFont(Font::create("Arial", 14));
    int used = dc.drawTextBox({10, 10, 60, 30}, "many words that need more than one line here");
    EXPECT_GT(used, 20);
    Box b = inkBox(dc.bitmap());
    ASSERT_FALSE(b.empty());
    EXPECT_GE(b.left, 10);
    EXPECT_LE(b.right, 59);
    EXPECT_LE(b.bottom, 29);
}

TEST(CopyTest, PlainCopyHonoursBothOriginsAndKeepsUncoveredPixels) {
    MemorySurface src;
    src.createBitmap(4, 4, kRed);
    src.setViewportOrigin({2, 2});
    MemorySurface dst;
    dst.createBitmap(10, 10, kWhite);
    dst.setViewportOrigin({5, 5});
    // Logical (-2..5) of the source holds pixels only for -2..1.
    dst.bitBlt(-2, -2, 8, 8, src, -2, -2);
    Box b = inkBox(dst.bitmap());
    EXPECT_EQ(b.left, 3);
    EXPECT_EQ(b.top, 3);
    EXPECT_EQ(b.right, 6);
    EXPECT_EQ(b.bottom, 6);
    EXPECT_EQ(at(dst, 3, 3), kRed);
}

TEST(CopyTest, StretchedCopyScalesEachSourcePixel) {
    MemorySurface src;
    src.createBitmap(2, 2, kWhite);
    src.fillRect({0, 0, 1, 1}, stock::kBlackBrush);
    src.fillRect({1, 1, 2, 2}, Brush::solid(kRed));
    MemorySurface dst;
    dst.createBitmap(10, 10, kBlue);
    dst.stretchBlt({1, 1, 9, 9}, src, {0, 0, 2, 2});
    EXPECT_EQ(at(dst, 1, 1), kBlack);
    EXPECT_EQ(at(dst, 4, 4), kBlack);
    EXPECT_EQ(at(dst, 5, 4), kWhite);
    EXPECT_EQ(at(dst, 5, 5), kRed);
    EXPECT_EQ(at(dst, 8, 8), kRed);
    EXPECT_EQ(at(dst, 9, 9), kBlue);
    EXPECT_EQ(at(dst, 0, 0), kBlue);
}

TEST(CopyTest, CopyWithinOneSurfaceUsesTheOldPixels) {
    MemorySurface s;
    s.createBitmap(10, 1, kWhite);
    s.fillRect({0, 0, 2, 1}, stock::kBlackBrush);
    s.bitBlt(1, 0, 4, 1, s, 0, 0);  // overlapping source and destination
    EXPECT_EQ(at(s, 1, 0), kBlack);
    EXPECT_EQ(at(s, 2, 0), kBlack);
    EXPECT_EQ(at(s, 3, 0), kWhite);
}

TEST(CopyTest, PicturesAreCopiedPlainAndIconsBlended) {
    QImage icon(4, 4, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    icon.setPixel(1, 1, qRgba(255, 0, 0, 255));
    MemorySurface s;
    s.createBitmap(10, 10, kBlue);
    s.drawIcon({3, 3}, icon);
    EXPECT_EQ(at(s, 4, 4), kRed);
    EXPECT_EQ(at(s, 3, 3), kBlue);  // transparent parts show what was there
    s.drawImage({3, 3}, icon.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(at(s, 3, 3), kBlack);  // a plain copy replaces
    EXPECT_EQ(at(s, 4, 4), kRed);
}

TEST(SurfaceTest, WithoutPixelsNothingIsDrawnButTextIsMeasured) {
    MemorySurface s;
    EXPECT_FALSE(s.hasBitmap());
    s.fillRect({0, 0, 10, 10}, stock::kBlackBrush);
    s.ellipse({0, 0, 10, 10});
    s.textOut({0, 0}, "text");
    EXPECT_EQ(s.surfaceSize(), (Size{0, 0}));
    EXPECT_GT(s.textExtent("text").width, 0);
    MemorySurface target;
    target.createBitmap(4, 4, kWhite);
    target.bitBlt(0, 0, 4, 4, s, 0, 0);
    EXPECT_TRUE(inkBox(target.bitmap()).empty());
    s.createBitmap(0, 5);
    EXPECT_FALSE(s.hasBitmap());
}

}  // namespace
}  // namespace orvane
