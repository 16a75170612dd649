// Writes a picture of a painted drawing view under the build folder
// (gallery/view.png): bevel, and inside it the last presented frame.
#include <gtest/gtest.h>

#include <QDir>

#include "../platform/pixel_probe.h"
#include "ui/kit.h"
#include "views/child_view.h"

namespace orvane {
namespace {

TEST(ViewGalleryTest, PaintedViewWithItsFrameBuffer) {
    bool saved = viewsReady;
    childView view;
    view.setBackground(colours::kBlack);
    view.resize(240, 240);
    view.setUpSurfaces();
    view.makeBufferBitmaps(colours::kBlack);
    MemorySurface& frame = view.frameBuffer();
    frame.selectPen(Pen::solid(colours::kWhite, 2));
    frame.selectBrush(stock::kGreyBrush);
    frame.ellipse(shrink(view.diskRect(), 1));
    letterSize = {};
    drawShadowText(frame, {0, 0}, "Mantle", colours::kWhite, kAlignCentre, true);
    viewsReady = true;
    view.invalidate();
    view.paintPending();
    viewsReady = saved;
    QDir().mkpath(ORVANE_BINARY_DIR "/gallery");
    ASSERT_TRUE(view.picture().save(ORVANE_BINARY_DIR "/gallery/view.png", "PNG"));
    // The disc of radius trunc(0.42 x 240) = 100 sits in the middle.
    test::Box disc = test::boxOf(view.picture(), colours::kWhite, {20, 20, 220, 220});
    EXPECT_EQ(disc.left, 120 - 100 + 1);
    EXPECT_EQ(disc.right, 120 + 100 - 2);
}

}  // namespace
}  // namespace orvane
