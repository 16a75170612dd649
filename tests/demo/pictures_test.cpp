#include "tools/demo/pictures.h"

#include <gtest/gtest.h>

#include <QFile>
#include <cmath>

#include "model/geometry.h"
#include "tools/demo/demo_builder.h"

namespace orvane {
namespace {

constexpr double kRadians = 3.14159265358979323846 / 180.0;

// A dark texture with one bright red square of `half` degrees around (lat, lon).
QImage markedTexture(double latitude, double longitude, double half = 1.5) {
    QImage texture(1440, 720, QImage::Format_RGB32);
    texture.fill(qRgb(0, 0, 80));
    for (int y = 0; y < texture.height(); ++y) {
        double lat = 90.0 - (y + 0.5) / 4.0;
        for (int x = 0; x < texture.width(); ++x) {
            double lon = -180.0 + (x + 0.5) / 4.0;
            double dl = std::remainder(lon - longitude, 360.0);
            if (std::fabs(lat - latitude) <= half && std::fabs(dl) <= half) texture.setPixel(x, y, qRgb(255, 0, 0));
        }
    }
    return texture;
}

bool isRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 80; }

// The picture pixel under the unit-disc point (x, y), as the globe view
// stretches a size x size picture over its disc.
QPoint pictureCell(float x, float y, int size) {
    return QPoint(static_cast<int>(std::floor((x + 1.0) / 2.0 * size)),
                  static_cast<int>(std::floor((y + 1.0) / 2.0 * size)));
}

TEST(GlobePictures, AMarkedPointAppearsWhereGlobePointPutsIt) {
    struct Case {
        double latitude, longitude;
        int viewAngle;
    };
    // Centre, off-centre in every quadrant, across the date line, and near the rim.
    for (const Case& c : {Case{0, 0, 0}, Case{35, 139.7, 135}, Case{-33.9, 18.4, 45}, Case{64, -150, 180},
                          Case{-41, 174.8, 180}, Case{51.5, -0.1, 315}, Case{10, 60, 0}, Case{-60, -70, 270}}) {
        EarthTexture texture(markedTexture(c.latitude, c.longitude));
        QImage globe = renderGlobe(texture, c.viewAngle, 600);
        FloatPoint p = globePoint(static_cast<float>(c.latitude), static_cast<float>(c.longitude),
                                  static_cast<float>(c.viewAngle));
        ASSERT_FALSE(p.x == 0 && p.y == 0) << c.latitude << " " << c.longitude;
        QPoint cell = pictureCell(p.x, p.y, 600);
        EXPECT_TRUE(isRed(globe.pixel(cell))) << c.latitude << " " << c.longitude << " at " << cell.x() << ","
                                              << cell.y();
        // And the mark is small: 10 degrees away along the equator direction it is gone.
        FloatPoint q = globePoint(static_cast<float>(c.latitude), static_cast<float>(c.longitude + 10),
                                  static_cast<float>(c.viewAngle));
        if (!(q.x == 0 && q.y == 0)) {
            EXPECT_FALSE(isRed(globe.pixel(pictureCell(q.x, q.y, 600))));
        }
    }
}

TEST(GlobePictures, BlackOutsideTheDiscAndNothingFromTheFarSide) {
    // The mark is on the far side of the earth90 picture: no red anywhere.
    EarthTexture texture(markedTexture(0, -90, 5));
    QImage globe = renderGlobe(texture, 90, 300);
    EXPECT_EQ(globe.size(), QSize(300, 300));
    int red = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x) red += isRed(globe.pixel(x, y));
    EXPECT_EQ(red, 0);
    for (QPoint corner : {QPoint(0, 0), QPoint(299, 0), QPoint(0, 299), QPoint(299, 299), QPoint(40, 40)})
        EXPECT_EQ(globe.pixel(corner), qRgb(0, 0, 0));
    EXPECT_NE(globe.pixel(150, 150), qRgb(0, 0, 0));
}

TEST(GlobePictures, TheRealTextureShowsLandAndSeaWhereTheyAre) {
    QImage image(kEarthTexturePath);
    if (image.isNull()) GTEST_SKIP() << "no texture";
    EarthTexture texture(image);
    QImage globe = renderGlobe(texture, 0, 600);
    auto at = [&](double lat, double lon) {
        FloatPoint p = globePoint(static_cast<float>(lat), static_cast<float>(lon), 0.0f);
        return globe.pixel(pictureCell(p.x, p.y, 600));
    };
    // Central Sahara is bright sand; the mid-Atlantic is dark blue sea.
    QRgb sahara = at(23, 10), atlantic = at(-20, -20);
    EXPECT_GT(qRed(sahara), 150);
    EXPECT_GT(qRed(sahara), qBlue(sahara));
    EXPECT_LT(qRed(atlantic), 60);
    EXPECT_GT(qBlue(atlantic), qRed(atlantic));
}

// The map window's projection: Mercator ordinates between 70 S and 75 N over
// the picture's height, longitude from 65 E over its width.
QPointF mapPosition(double latitude, double longitude, int width, int height) {
    auto m = [](double lat) { return std::log(std::tan(lat * kRadians / 2 + 3.14159265358979323846 / 4)) / kRadians; };
    double scale = width / 360.0;
    double d = (longitude < 0 ? longitude + 360 : longitude) - 65;
    if (d < 0) d += 360;
    return QPointF(scale * d, height - (m(latitude) - m(-70)) * scale);
}

TEST(WorldMap, AMarkedPointLandsWhereTheMapProjectionPutsIt) {
    const int width = 1800;
    const int height = worldMapHeight(width);
    // The aspect ratio is the projection's, so the map window's single scale fits both axes.
    EXPECT_NEAR(height, width * (mercatorOrdinate(75) - mercatorOrdinate(-70)) / 360.0, 0.5);
    struct Case {
        double latitude, longitude;
    };
    // -115 lies at the middle (left edge 65 E); near both edges and both poles of the map.
    for (const Case& c : {Case{0, -115}, Case{35.7, 139.7}, Case{-36.1, -72.9}, Case{60, 67}, Case{-65, 62},
                          Case{72, 0}, Case{-13.8, -67.6}}) {
        EarthTexture texture(markedTexture(c.latitude, c.longitude, 1.0));
        QImage map = renderWorldMap(texture, width);
        ASSERT_EQ(map.size(), QSize(width, height));
        QPointF p = mapPosition(c.latitude, c.longitude, width, height);
        EXPECT_TRUE(isRed(map.pixel(static_cast<int>(p.x()), static_cast<int>(p.y()))))
            << c.latitude << " " << c.longitude << " at " << p.x() << "," << p.y();
    }
    QPointF middle = mapPosition(0, -115, width, height);
    EXPECT_NEAR(middle.x(), width / 2.0, 1e-9);
}

TEST(WelcomePicture, GlobeAndNameOnBlack) {
    QImage image(kEarthTexturePath);
    if (image.isNull()) GTEST_SKIP() << "no texture";
    QImage welcome = renderWelcomePicture(EarthTexture(image));
    EXPECT_EQ(welcome.size(), QSize(960, 640));
    // The globe's centre is coloured; the name's yellow letters are there.
    EXPECT_NE(welcome.pixel(310, 320), qRgb(0, 0, 0));
    int yellow = 0;
    for (int y = 170; y < 310; ++y)
        for (int x = 590; x < 950; ++x) {
            QRgb c = welcome.pixel(x, y);
            yellow += qRed(c) > 200 && qGreen(c) > 180 && qBlue(c) < 120;
        }
    EXPECT_GT(yellow, 2000);
}

TEST(Bitmaps, WrittenPicturesReadBackUnchanged) {
    QImage picture(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) picture.setPixel(x, y, qRgb(x * 4, y * 5, (x + y) % 256));
    QString path = QString::fromStdString(std::string(ORVANE_BINARY_DIR) + "/demo-bitmap-test.bmp");
    ASSERT_TRUE(writeBmp(picture, path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray head = file.read(30);
    EXPECT_EQ(head.left(2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(head[28]), 24);  // 24 bits a pixel: any reader takes it
    file.close();
    QImage back(path, "BMP");
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), picture);
    QFile::remove(path);
}

}  // namespace
}  // namespace orvane
