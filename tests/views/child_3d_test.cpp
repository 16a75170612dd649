// The globe view drawn offscreen: picture choice, marks, wave circles,
// labels, the hidden back side and the opening pulse.
#include "views/child_3d.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "../platform/pixel_probe.h"
#include "data/files.h"
#include "globe_scene.h"
#include "model/geometry.h"
#include "platform/bitmap.h"
#include "platform/command_ids.h"
#include "platform/window.h"
#include "ui/buttons.h"
#include "views/frame_export.h"

namespace orvane {
namespace {

using test::GlobeScene;

constexpr Colour kOcean{0, 0, 120};
constexpr int kSize = 400;  // view size: radius trunc(0.42 x 400) = 168

void writePicture(int angle, Colour c) {
    QImage picture(64, 64, QImage::Format_RGB32);
    picture.fill(QColor(c.red, c.green, c.blue));
    ASSERT_TRUE(saveBitmap(picture, "earth" + std::to_string(angle) + ".bmp"));
}

class GlobeViewTest : public ::testing::Test {
  protected:
    GlobeViewTest() {
        view.resize(kSize, kSize);
        view.setUpSurfaces();
        writePicture(90, kOcean);
        // The epicentre faces the viewer: circles are centred on the view.
        loadedEvent().latitude = 0;
        loadedEvent().longitude = 90;
        loadedEvent().viewAngle = 90;
    }

    void build() {
        ASSERT_TRUE(view.loadGlobePicture(view.globePictureName()));
        view.drawBackground();
    }

    // Frame buffer pixel at a point relative to the centre.
    Colour frameAt(Point p) { return view.frameBuffer().pixel(p).value_or(Colour{1, 2, 3}); }

    // Distances from the centre, to the right along the middle row, at which
    // a run of colour `c` starts.
    std::vector<int> runsRight(Colour c) {
        std::vector<int> starts;
        bool inside = false;
        for (int x = 20; x <= view.radius(); ++x) {
            bool hit = frameAt({x, 0}) == c;
            if (hit && !inside) starts.push_back(x);
            inside = hit;
        }
        return starts;
    }

    static int pixelsFor(float delta) {
        return static_cast<int>(168 * std::sin(delta * kDegreesToRadians));
    }

    // Bounding box (relative to the centre) of colour `c` in the frame
    // buffer within the disc, where only the globe is drawn.
    test::Box frameBox(Colour c) {
        test::Box b;
        int r = view.radius() - 2;
        for (int y = -r; y <= r; ++y)
            for (int x = -r; x <= r; ++x)
                if (x * x + y * y <= r * r && frameAt({x, y}) == c) {
                    b.left = std::min(b.left, x);
                    b.top = std::min(b.top, y);
                    b.right = std::max(b.right, x);
                    b.bottom = std::max(b.bottom, y);
                }
        return b;
    }

    GlobeScene scene;
    child3D view;
};

TEST(GlobeViewAngleTest, SnapsToThePictureSet) {
    EXPECT_EQ(snapViewAngle(100), 90);
    EXPECT_EQ(snapViewAngle(44), 0);
    EXPECT_EQ(snapViewAngle(-100), 270);
    EXPECT_EQ(snapViewAngle(400), 0);
    EXPECT_EQ(snapViewAngle(359), 315);
    EXPECT_EQ(snapViewAngle(-44), 0);
    EXPECT_EQ(snapViewAngle(-45), 315);
    EXPECT_EQ(snapViewAngle(-360), 0);
    EXPECT_EQ(snapViewAngle(1000), 270);
    EXPECT_EQ(snapViewAngle(-1000), 90);
    EXPECT_EQ(snapViewAngle(-32768), 0);
}

TEST_F(GlobeViewTest, PictureNameStoresTheSnappedAngle) {
    loadedEvent().viewAngle = -100;
    EXPECT_EQ(view.globePictureName(), "earth270.bmp");
    EXPECT_EQ(loadedEvent().viewAngle, 270);
}

TEST_F(GlobeViewTest, LoadsThePictureForTheViewAngleIntoTheDisc) {
    for (int a = 0; a < 360; a += 45) writePicture(a, Colour{std::uint8_t(a / 2), 50, 200});
    loadedEvent().viewAngle = -100;
    ASSERT_TRUE(view.loadGlobePicture(view.globePictureName()));
    EXPECT_EQ(frameAt({0, 0}), (Colour{135, 50, 200}));
    EXPECT_EQ(view.backgroundBuffer().pixel({0, 0}), (Colour{135, 50, 200}));
    // The picture fills the disc rectangle and nothing beyond it.
    EXPECT_EQ(frameAt({167, 0}), (Colour{135, 50, 200}));
    EXPECT_EQ(frameAt({169, 0}), colours::kBlack);
    EXPECT_EQ(frameAt({0, -170}), colours::kBlack);
    // Buffers have the size inside the bevel.
    EXPECT_EQ(view.frameBuffer().bitmap().width(), kSize - 12);
}

TEST_F(GlobeViewTest, MissingPictureFails) {
    loadedEvent().viewAngle = 180;
    EXPECT_FALSE(view.loadGlobePicture(view.globePictureName()));
}

TEST_F(GlobeViewTest, StationAndEpicentreMarksAtTheirProjectedPositions) {
    loadedEvent().latitude = 20;
    loadedEvent().longitude = 100;
    scene.addStation("NEAR", 30, 60);
    build();
    const QImage& window = view.picture();
    for (FloatPoint f : {globePoint(30, 60, 90), globePoint(20, 100, 90)}) {
        Point p{200 + truncateToPixel(f.x * 168), 200 + truncateToPixel(f.y * 168)};
        test::Box mark =
            test::boxOf(window, colours::kWhite, {p.x - 8, p.y - 14, p.x + 9, p.y + 9});
        ASSERT_FALSE(mark.empty()) << p.x << "," << p.y;
        EXPECT_LE(std::abs((mark.left + mark.right) / 2 - p.x), 2);
    }
    // The station label is written to the right of its mark.
    Point s{200 + truncateToPixel(globePoint(30, 60, 90).x * 168),
            200 + truncateToPixel(globePoint(30, 60, 90).y * 168)};
    EXPECT_FALSE(
        test::boxOf(window, colours::kWhite, {s.x + 10, s.y - 14, s.x + 60, s.y + 9}).empty());
    // Background, frame buffer and window hold the same picture.
    EXPECT_EQ(view.backgroundBuffer().pixel({s.x - 200, s.y - 200}),
              view.frameBuffer().pixel({s.x - 200, s.y - 200}));
}

TEST_F(GlobeViewTest, FarSideStationAndHiddenEpicentreAreNotMarked) {
    loadedEvent().longitude = -90;  // epicentre straight behind the globe
    scene.addStation("FAR", 0, -80);
    build();
    test::Box white = test::boxOf(view.picture(), colours::kWhite, {150, 150, 250, 250});
    EXPECT_TRUE(white.empty());
}

TEST_F(GlobeViewTest, EventDetailsInTheCorner) {
    build();
    test::Box text = test::boxOf(view.picture(), colours::kWhite, {5, 5, 200, 130});
    ASSERT_FALSE(text.empty());
    EXPECT_LE(text.top, 12);
    // Five lines of client height / 20 pixels.
    EXPECT_GE(text.bottom, 5 + 4 * 20);
}

TEST_F(GlobeViewTest, InfoButtonAndPenWidthFollowTheMode) {
    build();
    ASSERT_NE(view.infoButton(), nullptr);
    Rect r = view.infoButton()->storedRect();
    EXPECT_GT(r.left, kSize / 2);
    EXPECT_LT(r.bottom, kSize);
    EXPECT_EQ(view.wavePenWidth(), 1);  // 168 / 120

    settings.scienceOnASphere = true;
    child3D exporting;
    exporting.resize(1200, 1200);
    exporting.setUpSurfaces();
    ASSERT_TRUE(exporting.loadGlobePicture(exporting.globePictureName()));
    exporting.drawBackground();
    EXPECT_EQ(exporting.infoButton(), nullptr);
    EXPECT_EQ(exporting.wavePenWidth(), 5);  // 504 / 60, at most 5
}

TEST_F(GlobeViewTest, CirclesHaveThePhaseColoursAndRadii) {
    build();
    view.drawWaves(300);  // P 30, PP 25, S 16.7, SS exactly 15 (not shown)
    std::vector<int> red = runsRight(colours::kRed);
    std::vector<int> cyan = runsRight(colours::kCyan);
    ASSERT_EQ(red.size(), 2u);
    EXPECT_NEAR(red[0], pixelsFor(25), 2);
    EXPECT_NEAR(red[1], pixelsFor(30), 2);
    ASSERT_EQ(cyan.size(), 1u);
    EXPECT_NEAR(cyan[0], pixelsFor(300.0f / 18), 2);
    EXPECT_TRUE(frameBox(colours::kYellow).empty());  // 150 km deep

    view.reset();
    view.drawWaves(302);  // SS 15.1
    cyan = runsRight(colours::kCyan);
    ASSERT_EQ(cyan.size(), 2u);
    EXPECT_NEAR(cyan[0], pixelsFor(15.1f), 2);
}

TEST_F(GlobeViewTest, ClockZeroAndMissingCurvesDrawNothing) {
    build();
    view.drawWaves(0);
    EXPECT_TRUE(frameBox(colours::kRed).empty());
    for (int c = 0; c < 4; ++c) GlobeScene::setCurve(c, 0);
    view.drawWaves(300);
    EXPECT_TRUE(frameBox(colours::kRed).empty());
    EXPECT_TRUE(frameBox(colours::kCyan).empty());
}

TEST_F(GlobeViewTest, SurfaceWaveBandOnlyForShallowEvents) {
    loadedEvent().depth = 33;
    build();
    view.drawWaves(1000);  // band around 32.4 degrees
    std::vector<int> yellow = runsRight(colours::kYellow);
    ASSERT_FALSE(yellow.empty());
    EXPECT_NEAR(yellow[0], pixelsFor(30.6f), 3);

    loadedEvent().depth = 100;
    view.reset();
    view.drawWaves(1000);
    EXPECT_TRUE(frameBox(colours::kYellow).empty());
}

TEST_F(GlobeViewTest, BackOfTheGlobeIsHidden) {
    GlobeScene::setCurve(test::kCurveS, 0);
    GlobeScene::setCurve(test::kCurvePP, 0);
    GlobeScene::setCurve(test::kCurveSS, 0);
    build();
    view.drawWaves(1200);  // P at 120 degrees: wholly behind the globe
    EXPECT_TRUE(frameBox(colours::kRed).empty());
}

class GlobeLabelTest : public GlobeViewTest {
  protected:
    GlobeLabelTest() {
        GlobeScene::setCurve(test::kCurveS, 0);
        GlobeScene::setCurve(test::kCurvePP, 0);
        GlobeScene::setCurve(test::kCurveSS, 0);
        // Near the eastern rim: a 30-degree circle goes round the back and
        // comes into view again.
        loadedEvent().longitude = 165;
    }
};

TEST_F(GlobeLabelTest, CircleLeavingTheFaceIsLabelledOnce) {
    settings.labelPhasesOnEarthView = true;
    build();
    view.drawWaves(300);
    ASSERT_FALSE(frameBox(colours::kRed).empty());
    // Only the label casts black shadows on the picture.
    test::Box shadow = frameBox(colours::kBlack);
    ASSERT_FALSE(shadow.empty());
    EXPECT_LT(shadow.right - shadow.left, 25);
    EXPECT_LT(shadow.bottom - shadow.top, 25);
    // Drawn as separate runs: the western edge (45 degrees from the view
    // centre) is on the middle row, and no chord bridges the hidden eastern
    // part, which would cross that row near the rim.
    const QImage& image = view.frameBuffer().bitmap();
    Point o = view.frameBuffer().viewportOrigin();
    EXPECT_EQ(test::colourAt(image, o.x + pixelsFor(45), o.y), colours::kRed);
    EXPECT_TRUE(
        test::boxOf(image, colours::kRed, {o.x + 135, o.y - 3, o.x + 169, o.y + 4}).empty());
}

TEST_F(GlobeLabelTest, NoLabelsWhenSwitchedOffOrWithinFifteenDegrees) {
    build();
    view.drawWaves(300);
    EXPECT_TRUE(frameBox(colours::kBlack).empty());

    settings.labelPhasesOnEarthView = true;
    view.reset();
    view.drawWaves(150);  // 15 degrees exactly
    ASSERT_FALSE(frameBox(colours::kRed).empty());
    EXPECT_TRUE(frameBox(colours::kBlack).empty());
}

TEST_F(GlobeViewTest, PulseAtTheEpicentreAndItsErasure) {
    loadedEvent().latitude = 20;
    loadedEvent().longitude = 100;
    build();
    FloatPoint e = view.epicentrePosition();
    Point p{200 + truncateToPixel(e.x * 168), 200 + truncateToPixel(e.y * 168)};
    Colour before = test::colourAt(view.picture(), p.x + 12, p.y + 12);
    view.drawEpicentrePulse(2.0f);  // radius 20
    EXPECT_EQ(test::colourAt(view.picture(), p.x + 12, p.y + 12), colours::kWhite);
    EXPECT_EQ(test::colourAt(view.picture(), p.x + 22, p.y), before);
    // The next step replaces the circle by a smaller one.
    view.drawEpicentrePulse(1.0f);  // radius 10
    EXPECT_EQ(test::colourAt(view.picture(), p.x + 12, p.y + 12), before);
    EXPECT_EQ(test::colourAt(view.picture(), p.x + 5, p.y + 5), colours::kWhite);
    view.erasePulse();
    EXPECT_EQ(test::colourAt(view.picture(), p.x + 5, p.y + 5), before);

    // Hidden epicentre: no pulse.
    loadedEvent().longitude = -90;
    view.drawEpicentrePulse(2.0f);
    EXPECT_TRUE(test::boxOf(view.picture(), colours::kWhite, {150, 150, 250, 250}).empty());
}

TEST_F(GlobeViewTest, InfoButtonAndRightButtonReachTheFrame) {
    struct Recorder : Window {
        std::vector<int> commands;
        void command(int id) override { commands.push_back(id); }
    } frame;
    QObject* previous = mainWindow();
    setMainWindow(&frame);
    build();
    ASSERT_NE(view.infoButton(), nullptr);
    EXPECT_TRUE(sendCommand(view.infoButton(), kCmdViewInfoButton));
    auto rightClick = [&] {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(50, 50), QPointF(50, 50),
                          Qt::RightButton, Qt::RightButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &press);
    };
    settings.rightButtonRestart = false;
    rightClick();
    settings.rightButtonRestart = true;
    rightClick();
    QCoreApplication::processEvents();  // the Map command is posted
    setMainWindow(previous);
    EXPECT_EQ(frame.commands, (std::vector<int>{kCmdEarthInfo, kCmdMap}));
}

TEST_F(GlobeViewTest, StationsWithoutUsablePositionsAreSkipped) {
    scene.addStation("NAN", 0, 90);
    scene.addStation("INF", 0, 90);
    loadedEvent().traceList[0]->stationLatitude = std::nanf("");
    loadedEvent().traceList[1]->stationLongitude = INFINITY;
    loadedEvent().latitude = std::nanf("");  // and no epicentre star either
    build();                                 // nothing drawn for them where the view centre is
    EXPECT_TRUE(test::boxOf(view.picture(), colours::kWhite, {150, 150, 250, 250}).empty());
    view.drawWaves(300);
    EXPECT_TRUE(frameBox(colours::kRed).empty());
}

TEST(WaveCircleTest, SurfaceBandNarrowsTowardsItsEdges) {
    GlobeScene scene;
    loadedEvent().depth = 33;
    for (int c = 0; c < 4; ++c) GlobeScene::setCurve(c, 0);

    auto at50 = waveCircles(loadedEvent(), 50, 5);
    ASSERT_EQ(at50.size(), 1u);
    EXPECT_EQ(at50[0].label, "Surface");
    EXPECT_NEAR(at50[0].delta, 1.619f, 1e-4);

    auto at100 = waveCircles(loadedEvent(), 100, 5);
    ASSERT_EQ(at100.size(), 3u);
    EXPECT_NEAR(at100[1].delta - at100[0].delta, 0.1f, 1e-4);
    EXPECT_NEAR(at100[0].delta - at100[2].delta, 0.1f, 1e-4);
    EXPECT_EQ(at100[1].label, "Surface");

    auto at1000 = waveCircles(loadedEvent(), 1000, 5);
    ASSERT_EQ(at1000.size(), 5u);
    EXPECT_EQ(at1000[0].width, 5);
    EXPECT_EQ(at1000[1].width, 5);  // (1.8^2 - 0.1^2) x 5 / 1.8^2 = 4.98 -> 4 + 1
    EXPECT_EQ(at1000[3].width, 2);  // (1.8^2 - 1.6^2) x 5 / 1.8^2 = 1.05 -> 1 + 1
    EXPECT_NEAR(at1000[3].delta - at1000[0].delta, 1.6f, 1e-3);
    EXPECT_EQ(at1000[3].label, "");
    EXPECT_EQ(at1000[4].colour, colours::kYellow);

    loadedEvent().depth = 100;
    EXPECT_TRUE(waveCircles(loadedEvent(), 1000, 5).empty());
    loadedEvent().depth = 99.9f;
    EXPECT_FALSE(waveCircles(loadedEvent(), 1000, 5).empty());
}

TEST(WaveCircleTest, ImpossibleClocksGiveFewOrNoCircles) {
    GlobeScene scene;
    loadedEvent().depth = 10;
    EXPECT_TRUE(waveCircles(loadedEvent(), 0, 5).empty());
    EXPECT_TRUE(waveCircles(loadedEvent(), -500, 5).empty());
    EXPECT_TRUE(waveCircles(loadedEvent(), std::nanf(""), 5).empty());
    EXPECT_TRUE(waveCircles(loadedEvent(), INFINITY, 5).empty());
    // A clock far beyond any run ends at a bounded number of circles.
    EXPECT_LE(waveCircles(loadedEvent(), 1e30f, 5).size(), 4u + 1u + 2u * 120u);
}

TEST(WaveCircleTest, PhasesInDrawingOrder) {
    GlobeScene scene;
    auto circles = waveCircles(loadedEvent(), 400, 3);
    ASSERT_EQ(circles.size(), 4u);
    EXPECT_EQ(circles[0].label, "P");
    EXPECT_NEAR(circles[0].delta, 40, 1e-4);
    EXPECT_EQ(circles[1].label, "PP");
    EXPECT_EQ(circles[1].colour, colours::kRed);
    EXPECT_EQ(circles[2].label, "S");
    EXPECT_EQ(circles[2].colour, colours::kCyan);
    EXPECT_EQ(circles[3].label, "SS");
    EXPECT_EQ(circles[3].width, 3);
}

// Pictures for looking at: the globe at a few clock values.
TEST_F(GlobeViewTest, GalleryPictures) {
    QImage earth(256, 256, QImage::Format_RGB32);
    earth.fill(QColor(0, 0, 0));
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            int dx = x - 128, dy = y - 128;
            if (dx * dx + dy * dy < 128 * 128)
                earth.setPixel(x, y, qRgb(20, 60 + (x / 32 + y / 32) % 2 * 40, 140));
        }
    ASSERT_TRUE(saveBitmap(earth, "earth225.bmp"));
    loadedEvent().latitude = 34.2f;
    loadedEvent().longitude = -118.5f;
    loadedEvent().depth = 18;
    loadedEvent().viewAngle = -150;  // 225: the epicentre faces the viewer
    scene.addStation("ANMO", 34.9f, -106.5f);
    scene.addStation("HRV", 42.5f, -71.6f);
    scene.addStation("KIP", 21.4f, -158.0f);
    scene.addStation("MAJO", 36.5f, 138.2f);
    settings.labelPhasesOnEarthView = true;
    child3D big;
    big.resize(600, 600);
    big.setUpSurfaces();
    ASSERT_TRUE(big.loadGlobePicture(big.globePictureName()));
    big.drawBackground();
    QDir().mkpath(ORVANE_BINARY_DIR "/gallery");
    for (int t : {120, 600, 1500}) {
        big.reset();
        big.drawWaves(static_cast<float>(t));
        big.present();
        std::string name = ORVANE_BINARY_DIR "/gallery/globe_" + std::to_string(t) + ".png";
        ASSERT_TRUE(big.picture().save(QString::fromStdString(name), "PNG"));
    }
    EXPECT_FALSE(test::boxOf(big.picture(), colours::kRed).empty());
}

// The demonstration events with their real pictures and tables, when a
// demonstration directory is given (orvane-demo DIR).
TEST(GlobeGallery, DemoEvents) {
    const char* demo = std::getenv("ORVANE_DEMO_DIR");
    if (!demo || !std::filesystem::exists(demo)) GTEST_SKIP() << "ORVANE_DEMO_DIR not set";
    ScopedCurrentDir cd(demo);
    Settings saved = settings;
    settings.labelPhasesOnEarthView = true;
    settings.scienceOnASphere = false;
    QDir().mkpath(ORVANE_BINARY_DIR "/gallery");
    for (const auto& entry : listDirectory(".", "*.evt").value_or(std::vector<std::string>{})) {
        ASSERT_TRUE(loadEvent(entry));
        child3D view;
        view.resize(600, 600);
        view.setUpSurfaces();
        ASSERT_TRUE(view.loadGlobePicture(view.globePictureName()));
        view.drawBackground();
        for (int t : {300, 900, 1800}) {
            view.reset();
            view.drawWaves(static_cast<float>(t));
            view.present();
            std::string name = ORVANE_BINARY_DIR "/gallery/globe_" +
                               entry.substr(0, entry.find('.')) + "_" + std::to_string(t) + ".png";
            EXPECT_TRUE(view.picture().save(QString::fromStdString(name), "PNG"));
        }
    }
    releaseTraces();
    settings = saved;
}

}  // namespace
}  // namespace orvane
