// Frames for the spherical display: names, the RGBA conversion, what a
// frame shows at a known clock and unwritable directories.
#include "views/frame_export.h"

#include <gtest/gtest.h>

#include <QDir>
#include <filesystem>
#include <png++/png.hpp>

#include "globe_scene.h"
#include "model/geometry.h"
#include "platform/bitmap.h"
#include "../support/write_faults.h"

namespace orvane {
namespace {

using test::GlobeScene;

png::rgba_pixel pngAt(const png::image<png::rgba_pixel>& image, int x, int y) {
    return image.get_pixel(static_cast<png::uint_32>(x), static_cast<png::uint_32>(y));
}

void expectPixel(const png::rgba_pixel& p, int r, int g, int b, int a) {
    EXPECT_EQ(p.red, r);
    EXPECT_EQ(p.green, g);
    EXPECT_EQ(p.blue, b);
    EXPECT_EQ(p.alpha, a);
}

TEST(FrameNameTest, WholeSecondsInSixDigits) {
    EXPECT_EQ(frameName(10.9f), "000010.png");
    EXPECT_EQ(frameName(0), "000000.png");
    EXPECT_EQ(frameName(123456.7f), "123456.png");
    EXPECT_EQ(frameName(std::nanf("")), "000000.png");
}

TEST(FramePngTest, ConvertsColoursToTransparency) {
    TempDir dir;
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(0, 0, 0));
    image.setPixel(1, 0, qRgb(255, 255, 0));
    image.setPixel(2, 0, qRgb(255, 0, 0));
    image.setPixel(0, 1, qRgb(0, 255, 255));
    image.setPixel(1, 1, qRgb(1, 0, 0));
    image.setPixel(2, 1, qRgb(255, 255, 1));
    std::string path = dir.file("frame.png");
    ASSERT_TRUE(writeFramePng(image, path));

    png::image<png::rgba_pixel> png(path);
    ASSERT_EQ(png.get_width(), 3u);
    ASSERT_EQ(png.get_height(), 2u);
    expectPixel(pngAt(png, 0, 0), 0, 0, 0, 0);
    expectPixel(pngAt(png, 1, 0), 255, 255, 0, 178);
    expectPixel(pngAt(png, 2, 0), 255, 0, 0, 255);
    // Rows from the top of the picture to its bottom.
    expectPixel(pngAt(png, 0, 1), 0, 255, 255, 255);
    expectPixel(pngAt(png, 1, 1), 1, 0, 0, 255);
    expectPixel(pngAt(png, 2, 1), 255, 255, 1, 255);
}

TEST(FramePngTest, UnwritablePlaceFailsQuietlyAndLeavesNoFile) {
    TempDir dir;
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    std::string path = dir.file("missing/frame.png");
    EXPECT_FALSE(writeFramePng(image, path));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(writeFramePng(QImage(), dir.file("empty.png")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("empty.png")));
    // A directory standing where the file should go.
    std::filesystem::create_directory(dir.file("taken.png"));
    EXPECT_FALSE(writeFramePng(image, dir.file("taken.png")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("taken.png")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("taken.png.part")));
}

// A display reads the frames while they are written: a frame that cannot be
// written leaves the one of the same name as it was, and no part file.
TEST(FramePngTest, EveryFaultFailsCleanlyAndKeepsThePreviousFrame) {
    QImage image(256, 128, QImage::Format_RGB32);
    image.fill(Qt::red);
    for (WriteFault fault : kWriteFaults) {
        SCOPED_TRACE(faultName(fault));
        TempDir dir;
        const std::string path = dir.file("000010.png");
        FaultOutcome out = writeUnderFault(fault, path, "the previous frame",
                                           [&] { return writeFramePng(image, path); });
        EXPECT_EQ(out.result, false);
        EXPECT_TRUE(out.previousIntact);
        EXPECT_TRUE(out.nothingElse);
    }
}

// Red pixels among the 3 x 3 around p (the line may have one-pixel gaps
// where its segments join).
int redAround(const DrawingContext& dc, Point p) {
    int n = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) n += dc.pixel({p.x + dx, p.y + dy}) == colours::kRed;
    return n;
}

class FrameExportTest : public ::testing::Test {
  protected:
    FrameExportTest() {
        LoadedEvent& e = loadedEvent();
        e.eventDirectory = scene.dir.file("1994011712");
        std::filesystem::create_directories(e.eventDirectory + "/sos/earth");
        e.latitude = 10;
        e.longitude = 20;
        settings.scienceOnASphere = true;
    }

    std::string framePath(const std::string& name) {
        return loadedEvent().eventDirectory + "/sos/earth/" + name;
    }

    static Point mapPixel(float lat, float lon) {
        FloatPoint p = mapPoint(lat, lon, mapScaleFor(kFrameHeight));
        return {truncateToPixel(p.x), truncateToPixel(p.y)};
    }

    GlobeScene scene;
};

TEST_F(FrameExportTest, WritesTheFrameForTheClock) {
    scene.addStation("ANMO", -30, -100);
    FrameExport frames;
    frames.prepare();
    EXPECT_EQ(frames.buffer().bitmap().width(), kFrameWidth);
    EXPECT_EQ(frames.buffer().bitmap().height(), kFrameHeight);
    ASSERT_TRUE(frames.exportFrame(300.7f));  // P 30.07 degrees
    EXPECT_EQ(settings.frameFileName, "000300.png");
    ASSERT_TRUE(std::filesystem::exists(framePath("000300.png")));
    EXPECT_FALSE(std::filesystem::exists(framePath("000300.png.part")));

    png::image<png::rgba_pixel> png(framePath("000300.png"));
    ASSERT_EQ(png.get_width(), 4096u);
    ASSERT_EQ(png.get_height(), 2048u);
    // The P circle passes 30 degrees north of the epicentre, 8 pixels wide.
    Point north = mapPixel(40.07f, 20);
    bool red = false;
    for (int dy = -3; dy <= 3; ++dy) {
        png::rgba_pixel p = pngAt(png, north.x, north.y + dy);
        red = red || (p.red == 255 && p.green == 0 && p.blue == 0 && p.alpha == 255);
    }
    EXPECT_TRUE(red);
    // Far from every mark: transparent.
    expectPixel(pngAt(png, 100, 2000), 0, 0, 0, 0);
    // The station's "o" is white and opaque near its map position.
    // The station's "o" (light and opaque) near its map position, the label
    // to its right.
    Point s = mapPixel(-30, -100);
    auto inked = [&](int left, int right) {
        int n = 0;
        for (int y = s.y - 20; y <= s.y + 10; ++y)
            for (int x = left; x <= right; ++x) {
                png::rgba_pixel p = pngAt(png, x, y);
                n += p.alpha == 255 && p.red > 100 && p.red == p.green && p.green == p.blue;
            }
        return n;
    };
    EXPECT_GT(inked(s.x - 5, s.x + 5), 0);
    EXPECT_GT(inked(s.x + 6, s.x + 40), 0);
    EXPECT_EQ(inked(s.x - 60, s.x - 20), 0);
}

TEST_F(FrameExportTest, SurfaceWavesArePartlyTransparent) {
    loadedEvent().depth = 10;
    for (int c = 0; c < 4; ++c) GlobeScene::setCurve(c, 0);
    FrameExport frames;
    frames.prepare();
    ASSERT_TRUE(frames.exportFrame(1000));
    png::image<png::rgba_pixel> png(framePath("001000.png"));
    // The band's middle circle, 32.38 degrees south of the epicentre.
    Point south = mapPixel(10 - 32.38f, 20);
    bool yellow = false;
    for (int dy = -3; dy <= 3; ++dy) {
        png::rgba_pixel p = pngAt(png, south.x, south.y + dy);
        yellow = yellow || (p.red == 255 && p.green == 255 && p.blue == 0 && p.alpha == 178);
    }
    EXPECT_TRUE(yellow);
}

TEST_F(FrameExportTest, CircleAcrossTheDateLineWrapsWithoutAStripeAcrossTheMap) {
    loadedEvent().longitude = 170;
    for (int c = 1; c < 4; ++c) GlobeScene::setCurve(c, 0);
    FrameExport frames;
    frames.prepare();
    frames.render(300);  // P 30 degrees: from 140 E to 160 W
    MemorySurface& b = frames.buffer();
    int y = mapPixel(10, 0).y;
    // Seen on both edges of the map along the epicentre's latitude...
    // (30.5 degrees of longitude either side at the epicentre's latitude)
    EXPECT_GE(redAround(b, mapPixel(10, 139.5f)), 7);
    EXPECT_GE(redAround(b, mapPixel(10, -159.5f)), 7);
    // ...and nowhere in between.
    for (int x = 200; x < 3000; x += 50) ASSERT_EQ(b.pixel({x, y}), colours::kBlack) << x;
    // Every point of the circle lies on the 8-pixel line, also the first
    // point after each crossing.
    auto points = mapCircle(30, 10, 170, mapScaleFor(kFrameHeight));
    for (const FloatPoint& f : points) {
        Point p{truncateToPixel(f.x), truncateToPixel(f.y)};
        if (p.x < 0 || p.x >= kFrameWidth || p.y < 0 || p.y >= kFrameHeight) continue;
        EXPECT_GE(redAround(b, p), 7) << p.x << "," << p.y;
    }
}

TEST_F(FrameExportTest, CircleAroundThePoleCrossesTheEdgeOnce) {
    // A circle enclosing the pole crosses the map's edge once; the points on
    // both sides of the crossing are drawn.
    loadedEvent().latitude = 70;
    loadedEvent().longitude = 175;
    for (int c = 1; c < 4; ++c) GlobeScene::setCurve(c, 0);
    FrameExport frames;
    frames.prepare();
    frames.render(400);  // P 40 degrees
    auto points = mapCircle(40, 70, 175, mapScaleFor(kFrameHeight));
    int crossings = 0;
    for (int i = 1; i < kCirclePoints; ++i) {
        Point p{truncateToPixel(points[i].x), truncateToPixel(points[i].y)};
        Point q{truncateToPixel(points[i - 1].x), truncateToPixel(points[i - 1].y)};
        if (std::abs(p.x - q.x) <= kFrameWidth / 2) continue;
        ++crossings;
        EXPECT_GE(redAround(frames.buffer(), p), 7) << i;
        EXPECT_GE(redAround(frames.buffer(), q), 7) << i;
    }
    EXPECT_EQ(crossings, 1);
}

TEST_F(FrameExportTest, MissingDirectoryOrBufferReportsFailure) {
    FrameExport frames;
    EXPECT_FALSE(frames.exportFrame(300));  // not prepared
    frames.prepare();
    std::filesystem::remove_all(loadedEvent().eventDirectory + "/sos");
    EXPECT_FALSE(frames.exportFrame(300));
    EXPECT_FALSE(std::filesystem::exists(framePath("000300.png")));
}

TEST_F(FrameExportTest, GlobeViewExportsThroughItsBuffer) {
    child3D view;
    EXPECT_FALSE(view.exportFrame(100));
    view.prepareExportBuffer();
    ASSERT_NE(view.frameExport(), nullptr);
    view.drawExportStations();
    EXPECT_TRUE(view.exportFrame(100));
    EXPECT_TRUE(std::filesystem::exists(framePath("000100.png")));
}

TEST_F(FrameExportTest, GalleryFrame) {
    scene.addStation("ANMO", 34.9f, -106.5f);
    scene.addStation("KIP", 21.4f, -158.0f);
    loadedEvent().latitude = 34.2f;
    loadedEvent().longitude = -118.5f;
    loadedEvent().depth = 18;
    settings.labelPhasesOnEarthView = true;
    FrameExport frames;
    frames.prepare();
    ASSERT_TRUE(frames.exportFrame(1500));
    QDir().mkpath(ORVANE_BINARY_DIR "/gallery");
    std::filesystem::copy_file(framePath("001500.png"),
                               ORVANE_BINARY_DIR "/gallery/frame_001500.png",
                               std::filesystem::copy_options::overwrite_existing);
    QImage small =
        frames.buffer().bitmap().scaled(1024, 512, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_TRUE(small.save(ORVANE_BINARY_DIR "/gallery/frame_001500_small.png", "PNG"));
    // Full size around the epicentre, where the marks are.
    Point e = mapPixel(34.2f, -118.5f);
    EXPECT_TRUE(frames.buffer()
                    .bitmap()
                    .copy(e.x - 200, e.y - 100, 500, 200)
                    .save(ORVANE_BINARY_DIR "/gallery/frame_001500_marks.png", "PNG"));
}

}  // namespace
}  // namespace orvane
