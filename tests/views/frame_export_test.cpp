// Frames for the spherical display: names, the RGBA conversion and the
// encoder read back by independent decoders, what a frame shows at a known
// clock, the writer's order and atomic files, and lost frames reported.
#include "views/frame_export.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <filesystem>
#include <png++/png.hpp>
#include <map>
#include <random>
#include <set>

#include "globe_scene.h"
#include "model/geometry.h"
#include "platform/bitmap.h"
#include "platform/message_box.h"
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

TEST(FramePngTest, UnwritablePlaceFailsNamingTheFileAndLeavesNothing) {
    TempDir dir;
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    std::string path = dir.file("missing/frame.png");
    std::string error;
    EXPECT_FALSE(writeFramePng(image, path, &error));
    EXPECT_EQ(error, path + ": No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(writeFramePng(QImage(), dir.file("empty.png")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("empty.png")));
    // A directory standing where the file should go.
    std::filesystem::create_directory(dir.file("taken.png"));
    EXPECT_FALSE(writeFramePng(image, dir.file("taken.png"), &error));
    EXPECT_EQ(error, dir.file("taken.png") + ": Is a directory");
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
        expectFailedCleanly(out);
    }
}

// The image data a PNG decoder must give back for a drawn picture: RGBA
// rows by the conversion table.
std::vector<std::uint8_t> expectedRgba(const QImage& image) {
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(image.width()) * image.height() * 4);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QRgb p = image.pixel(x, y);
            int r = qRed(p), g = qGreen(p), b = qBlue(p);
            bool black = r == 0 && g == 0 && b == 0;
            bool yellow = r == 255 && g == 255 && b == 0;
            out.insert(out.end(), {std::uint8_t(r), std::uint8_t(g), std::uint8_t(b),
                                   std::uint8_t(black ? 0 : yellow ? 178 : 255)});
        }
    return out;
}

// The file through libpng (png++'s reader), with every check it makes.
std::vector<std::uint8_t> decodeWithLibpng(const std::string& path, int& width, int& height) {
    png::image<png::rgba_pixel> png(path);
    width = static_cast<int>(png.get_width());
    height = static_cast<int>(png.get_height());
    std::vector<std::uint8_t> out;
    for (png::uint_32 y = 0; y < png.get_height(); ++y)
        for (png::uint_32 x = 0; x < png.get_width(); ++x) {
            png::rgba_pixel p = png.get_pixel(x, y);
            out.insert(out.end(), {p.red, p.green, p.blue, p.alpha});
        }
    return out;
}

// The file through ImageMagick, a decoder of its own, as raw RGBA bytes;
// its verdict on the file goes to `complaints`.
std::vector<std::uint8_t> decodeWithImageMagick(const std::string& path) {
    std::string command = "convert -quiet 'png:" + path + "' -depth 8 rgba:- 2>/dev/null";
    std::vector<std::uint8_t> out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[1 << 16];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.insert(out.end(), buffer, buffer + n);
    EXPECT_EQ(::pclose(pipe), 0) << "ImageMagick refused " << path;
    return out;
}

bool haveImageMagick() { return std::system("convert -version >/dev/null 2>&1") == 0; }

// The size zlib at level 6 gives the same image data (filter None per row),
// the way frames were compressed before.
std::size_t zlibLevel6Size(const std::vector<std::uint8_t>& rgba, int width) {
    std::vector<std::uint8_t> data;
    const std::size_t row = static_cast<std::size_t>(width) * 4;
    for (std::size_t at = 0; at < rgba.size(); at += row) {
        data.push_back(0);
        data.insert(data.end(), rgba.begin() + static_cast<std::ptrdiff_t>(at),
                    rgba.begin() + static_cast<std::ptrdiff_t>(at + row));
    }
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::vector<Bytef> out(size);
    EXPECT_EQ(compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 6), Z_OK);
    return size;
}

void expectReadBackExactly(const QImage& image, const std::string& path, bool imageMagick) {
    ASSERT_TRUE(writeFramePng(image, path));
    const std::vector<std::uint8_t> expected = expectedRgba(image);
    int width = 0, height = 0;
    EXPECT_TRUE(decodeWithLibpng(path, width, height) == expected) << path;
    EXPECT_EQ(width, image.width());
    EXPECT_EQ(height, image.height());
    if (imageMagick) EXPECT_TRUE(decodeWithImageMagick(path) == expected) << path;
}

// Pictures that reach every path of the encoder: empty and full rows, runs
// longer than a deflate match and across row ends, stretches equal to the
// row above, lone pixels of many colours (a code of every literal), rows too
// wide to refer to the row above, and the smallest pictures.
TEST(FramePngTest, IndependentDecodersReadEveryPixelBack) {
    TempDir dir;
    const bool imageMagick = haveImageMagick();
    if (!imageMagick) ADD_FAILURE() << "ImageMagick's convert is missing (scripts/packages.txt)";
    std::mt19937 random(7);
    auto colour = [&](int kind) -> QRgb {
        switch (kind) {
            case 0: return qRgb(0, 0, 0);
            case 1: return qRgb(255, 255, 0);
            case 2: return qRgb(255, 0, 0);
            case 3: return qRgb(0, 255, 255);
            default: return qRgb(int(random() % 256), int(random() % 256), int(random() % 256));
        }
    };
    std::vector<QImage> pictures;
    for (QSize size : {QSize(1, 1), QSize(3, 2), QSize(700, 40), QSize(7000, 4), QSize(8200, 3)}) {
        QImage empty(size, QImage::Format_RGB32);
        empty.fill(Qt::black);
        pictures.push_back(empty);
        QImage noise(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) noise.setPixel(x, y, colour(int(random() % 6)));
        pictures.push_back(noise);
        // Runs of random lengths, some rows a copy of the one above.
        QImage runs(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y) {
            if (y > 0 && random() % 3 == 0) {
                for (int x = 0; x < size.width(); ++x) runs.setPixel(x, y, runs.pixel(x, y - 1));
                continue;
            }
            for (int x = 0; x < size.width();) {
                QRgb c = colour(int(random() % 5));
                int n = 1 + int(random() % (random() % 2 ? 3 : 400));
                for (; n > 0 && x < size.width(); --n, ++x) runs.setPixel(x, y, c);
            }
        }
        pictures.push_back(runs);
    }
    QImage yellow(300, 5, QImage::Format_ARGB32);  // the alpha byte is ignored
    yellow.fill(qRgba(255, 255, 0, 0));
    pictures.push_back(yellow);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        SCOPED_TRACE(i);
        expectReadBackExactly(pictures[i], dir.file("p" + std::to_string(i) + ".png"),
                              imageMagick);
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
    frames.finish();
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
    // The station's "o" (white and opaque) near its map position, the label
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
    frames.finish();
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

TEST_F(FrameExportTest, LostFramesAreReportedOnceAnEventAndTheRunGoesOn) {
    MessageBoxRecorder boxes;
    FrameExport frames;
    EXPECT_FALSE(frames.exportFrame(300));  // not prepared
    frames.prepare();
    std::filesystem::remove_all(loadedEvent().eventDirectory + "/sos");
    testing::internal::CaptureStderr();
    for (float t : {300.0f, 310.0f, 320.0f}) EXPECT_TRUE(frames.exportFrame(t));
    frames.finish();
    std::string printed = testing::internal::GetCapturedStderr();
    QCoreApplication::processEvents();
    // Every lost frame on standard error, named with the system's reason.
    for (const char* name : {"000300.png", "000310.png", "000320.png"})
        EXPECT_NE(printed.find(framePath(name) + ": No such file or directory\n"),
                  std::string::npos)
            << printed;
    // The first one also in a message box, once.
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.calls()[0],
              (MessageBoxCall{"Unable to write frame " + framePath("000300.png") +
                                  ": No such file or directory",
                              "Frame export", MessageIcon::Exclamation}));
    // The run goes on: once the directory is back, frames are written.
    std::filesystem::create_directories(loadedEvent().eventDirectory + "/sos/earth");
    EXPECT_TRUE(frames.exportFrame(330));
    frames.finish();
    EXPECT_TRUE(std::filesystem::exists(framePath("000330.png")));

    // A new event may show it again; nobody is there to close it in script
    // mode or with an idle timeout, so standard error alone tells.
    for (int unattended = 0; unattended < 3; ++unattended) {
        settings.runScript = unattended == 1;
        settings.timeout = unattended == 2 ? 30 : 0;
        frames.prepare();
        std::filesystem::remove_all(loadedEvent().eventDirectory + "/sos");
        testing::internal::CaptureStderr();
        frames.exportFrame(340);
        frames.finish();
        EXPECT_NE(testing::internal::GetCapturedStderr().find(framePath("000340.png")),
                  std::string::npos);
        QCoreApplication::processEvents();
        EXPECT_EQ(boxes.calls().size(), 2u) << unattended;
    }
}

// The writer runs behind the tick: at any moment the frames on disk are
// complete files, and they are the first of those handed over.
TEST_F(FrameExportTest, FramesAppearCompleteAndInOrder) {
    scene.addStation("ANMO", 34.9f, -106.5f);
    auto frames = std::make_unique<FrameExport>();
    frames->prepare();
    const std::string earth = loadedEvent().eventDirectory + "/sos/earth";
    std::vector<std::string> handedOver;
    for (int i = 0; i < 24; ++i) {
        const float t = 10.0f + 20.0f * static_cast<float>(i);
        ASSERT_TRUE(frames->exportFrame(t));
        handedOver.push_back(frameName(t));
        std::set<std::string> present;
        for (const auto& entry : std::filesystem::directory_iterator(earth)) {
            std::string name = entry.path().filename().string();
            if (name.size() > 5 && name.substr(name.size() - 5) == ".part") continue;
            present.insert(name);
        }
        for (std::size_t k = 0; k < present.size(); ++k)
            ASSERT_TRUE(present.count(handedOver[k])) << handedOver[k] << " missing after frame " << i;
    }
    // More frames at once than the writer can keep up with; the end of the
    // view (the user leaves the event) waits for those still being written.
    for (int i = 0; i < kFramesInFlight; ++i) {
        handedOver.push_back(frameName(1000.0f + static_cast<float>(i)));
        ASSERT_TRUE(frames->exportFrame(1000.0f + static_cast<float>(i)));
    }
    const QImage last = frames->buffer().bitmap();
    frames.reset();
    for (const std::string& name : handedOver) {
        ASSERT_TRUE(std::filesystem::exists(earth + "/" + name)) << name;
        EXPECT_FALSE(std::filesystem::exists(earth + "/" + name + ".part")) << name;
    }
    int width = 0, height = 0;
    EXPECT_TRUE(decodeWithLibpng(earth + "/" + handedOver.back(), width, height) ==
                expectedRgba(last));
}

// A whole frame as a display gets it: labels on, every kind of circle.
// Its pixels are only the transparent background, the wave colours and
// white (no blended text fringes, no shadows); two decoders read it back
// exactly; it is at most 3 times the size zlib at level 6 gives.
TEST_F(FrameExportTest, AFrameHoldsOnlyItsColoursAndReadsBackExactly) {
    scene.addStation("ANMO", 34.9f, -106.5f);
    scene.addStation("KIP", 21.4f, -158.0f);
    scene.addStation("PAB", 39.5f, -4.3f);
    loadedEvent().depth = 18;
    settings.labelPhasesOnEarthView = true;
    FrameExport frames;
    frames.prepare();
    ASSERT_TRUE(frames.exportFrame(1500));
    frames.finish();
    const std::string path = framePath("001500.png");
    const std::vector<std::uint8_t> expected = expectedRgba(frames.buffer().bitmap());
    int width = 0, height = 0;
    const std::vector<std::uint8_t> decoded = decodeWithLibpng(path, width, height);
    ASSERT_EQ(decoded.size(), std::size_t{kFrameWidth} * kFrameHeight * 4);
    EXPECT_TRUE(decoded == expected);
    if (haveImageMagick()) EXPECT_TRUE(decodeWithImageMagick(path) == expected);

    std::map<std::uint32_t, int> colours;
    for (std::size_t i = 0; i < decoded.size(); i += 4)
        ++colours[std::uint32_t(decoded[i]) << 24 | std::uint32_t(decoded[i + 1]) << 16 |
                  std::uint32_t(decoded[i + 2]) << 8 | decoded[i + 3]];
    const std::map<std::uint32_t, const char*> allowed = {
        {0x00000000u, "transparent"}, {0xff0000ffu, "red"},   {0x00ffffffu, "cyan"},
        {0xffffffffu, "white"},       {0xffff00b2u, "yellow"}};
    for (const auto& [rgba, count] : colours)
        EXPECT_TRUE(allowed.count(rgba)) << std::hex << rgba << " in " << std::dec << count
                                         << " pixels";
    for (const auto& [rgba, name] : allowed) EXPECT_GT(colours[rgba], 0) << name;

    EXPECT_LE(std::filesystem::file_size(path), 3 * zlibLevel6Size(expected, kFrameWidth));
}

TEST_F(FrameExportTest, GlobeViewExportsThroughItsBuffer) {
    child3D view;
    EXPECT_FALSE(view.exportFrame(100));
    view.prepareExportBuffer();
    ASSERT_NE(view.frameExport(), nullptr);
    view.drawExportStations();
    EXPECT_TRUE(view.exportFrame(100));
    view.finishExport();
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
    frames.finish();
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
