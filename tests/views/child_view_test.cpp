// The drawing views' three surfaces: geometry, copies and the paint handler.
#include "views/child_view.h"

#include <gtest/gtest.h>

#include "../platform/pixel_probe.h"

namespace orvane {
namespace {

using namespace colours;

Colour shown(const childView& v, int x, int y) { return test::colourAt(v.picture(), x, y); }

class ViewReady {
  public:
    explicit ViewReady(bool on) : saved_(viewsReady) { viewsReady = on; }
    ~ViewReady() { viewsReady = saved_; }

  private:
    bool saved_;
};

TEST(ChildViewTest, FiveHundredPixelViewHasRadius210AndInner488) {
    childView v;
    v.resize(500, 500);
    v.setUpSurfaces();
    EXPECT_EQ(v.radius(), 210);
    EXPECT_EQ(width(v.innerRect()), 488);
    EXPECT_EQ(v.innerRect(), (Rect{6, 6, 494, 494}));
    EXPECT_EQ(v.clientRect(), (Rect{0, 0, 500, 500}));
    EXPECT_EQ(v.centre(), (Point{250, 250}));
    EXPECT_EQ(v.diskRect(), (Rect{-210, -210, 210, 210}));
    EXPECT_EQ(v.windowSurface().viewportOrigin(), (Point{250, 250}));
    EXPECT_EQ(v.windowSurface().backgroundMode(), BackgroundMode::Transparent);
    EXPECT_EQ(v.frameBuffer().backgroundMode(), BackgroundMode::Transparent);
    EXPECT_FALSE(v.frameBuffer().hasBitmap());  // made by the derived view
}

TEST(ChildViewTest, RadiusIsTheTruncatedFortyTwoHundredthsOfTheWidth) {
    childView v;
    for (int w : {1, 49, 50, 99, 100, 333, 501, 1000, 1999}) {
        v.resize(w, w);
        v.setUpSurfaces();
        EXPECT_EQ(v.radius(), 42 * w / 100) << w;
        EXPECT_EQ(v.centre(), (Point{w / 2, w / 2})) << w;
    }
}

class ChildViewSurfaces : public ::testing::Test {
  protected:
    void SetUp() override {
        view.setBackground(kBlack);
        view.resize(60, 40);
        view.setUpSurfaces();
        view.makeBufferBitmaps(kBlue);
        view.paintPending();
    }
    childView view;
};

TEST_F(ChildViewSurfaces, SurfacesShareTheirLogicalCoordinates) {
    EXPECT_EQ(view.frameBuffer().surfaceSize(), (Size{48, 28}));
    view.frameBuffer().fillRect({0, 0, 1, 1}, Brush::solid(kRed));
    EXPECT_EQ(test::colourAt(view.frameBuffer().bitmap(), 24, 14), kRed);
    view.present();
    EXPECT_EQ(shown(view, 30, 20), kRed);  // the centre of the view
    EXPECT_EQ(shown(view, 6, 6), kBlue);   // buffers cover the inner rectangle
    EXPECT_EQ(shown(view, 53, 33), kBlue);
    EXPECT_EQ(shown(view, 54, 34), colours::kGrey);  // the bevel outside it stays
}

TEST_F(ChildViewSurfaces, CopiesGoTheRightWayAndKeepToTheirClip) {
    view.backgroundBuffer().fillRect({-30, -20, 30, 20}, Brush::solid(kGreen));
    view.frameBuffer().fillRect({-30, -20, 30, 20}, Brush::solid(kRed));
    view.clear(Rect{-5, -5, 5, 5});
    EXPECT_EQ(shown(view, 30, 20), kGreen);
    EXPECT_EQ(shown(view, 24, 14), kBlack);  // outside the clip: untouched
    view.present();
    EXPECT_EQ(shown(view, 30, 20), kRed);
    EXPECT_EQ(shown(view, 10, 10), kRed);
    view.reset();
    EXPECT_EQ(test::colourAt(view.frameBuffer().bitmap(), 0, 0), kGreen);
    view.present(Rect{0, 0, 2, 2});
    EXPECT_EQ(shown(view, 30, 20), kGreen);
    EXPECT_EQ(shown(view, 29, 19), kRed);
}

TEST_F(ChildViewSurfaces, PaintingWithoutReadyViewsDrawsOnlyTheBevel) {
    ViewReady ready(false);
    view.frameBuffer().fillRect({-30, -20, 30, 20}, Brush::solid(kRed));
    view.present();
    view.invalidate();
    view.paintPending();
    EXPECT_EQ(shown(view, 0, 20), kWhite);  // raised bevel
    EXPECT_EQ(shown(view, 30, 0), kWhite);
    EXPECT_EQ(shown(view, 59, 20), kGrey);
    EXPECT_EQ(shown(view, 30, 39), kGrey);
    EXPECT_EQ(shown(view, 30, 20), kBlack);  // the background colour, no picture
    EXPECT_EQ(shown(view, 6, 6), kBlack);
}

TEST_F(ChildViewSurfaces, PaintingWithReadyViewsBringsBackTheLastPicture) {
    ViewReady ready(true);
    view.frameBuffer().fillRect({-30, -20, 30, 20}, Brush::solid(kRed));
    view.frameBuffer().fillRect({-2, -2, 2, 2}, Brush::solid(kYellow));
    view.present();
    view.invalidate();  // uncovered: erased, then painted
    view.paintPending();
    EXPECT_EQ(shown(view, 30, 20), kYellow);
    EXPECT_EQ(shown(view, 10, 10), kRed);
    EXPECT_EQ(shown(view, 0, 20), kWhite);  // and the bevel around it
    EXPECT_EQ(shown(view, 59, 20), kGrey);
}

TEST_F(ChildViewSurfaces, SettingUpAgainFollowsTheNewSizeAndDropsTheFrameBuffer) {
    view.resize(100, 100);
    view.setUpSurfaces();
    EXPECT_EQ(view.radius(), 42);
    EXPECT_EQ(view.innerRect(), (Rect{6, 6, 94, 94}));
    EXPECT_FALSE(view.frameBuffer().hasBitmap());
    ViewReady ready(true);
    view.present();  // nothing to show yet: the window stays as it was
    view.invalidate();
    view.paintPending();
    EXPECT_EQ(shown(view, 50, 50), kBlack);
    view.makeBufferBitmaps(kCyan);
    view.present();
    EXPECT_EQ(shown(view, 50, 50), kCyan);
    EXPECT_EQ(shown(view, 93, 93), kCyan);
}

}  // namespace
}  // namespace orvane
