// Writes pictures of the kit under the build folder (gallery/), to be looked
// at: raised and pressed buttons, bevels, panels, frames and shadowed text.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>

#include "platform/bitmap.h"
#include "platform/memory_surface.h"
#include "ui/buttons.h"
#include "ui/kit.h"

namespace orvane {
namespace {

using namespace colours;

std::string galleryPath(const std::string& name) {
    QDir().mkpath(ORVANE_BINARY_DIR "/gallery");
    return std::string(ORVANE_BINARY_DIR "/gallery/") + name;
}

// Saves the picture and a three times enlarged copy for close looking.
void save(const QImage& image, const std::string& name) {
    ASSERT_TRUE(image.save(QString::fromStdString(galleryPath(name + ".png")), "PNG"));
    QImage big = image.scaled(image.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    ASSERT_TRUE(big.save(QString::fromStdString(galleryPath(name + "-x3.png")), "PNG"));
    EXPECT_FALSE(QImage(QString::fromStdString(galleryPath(name + ".png"))).isNull());
}

TEST(GalleryTest, Buttons) {
    MemorySurface s;
    s.createBitmap(420, 200, kGrey);
    s.selectFont(Font::create("MS Sans Serif", 14, 700));
    int x = 10;
    for (bool pressed : {false, true}) {
        drawTextButtonFace(s, rectAt(x, 10, 120, 30), kLightGrey, pressed);
        drawTextButtonCaption(s, rectAt(x, 10, 120, 30), "World Menu", pressed);
        drawTextButtonFace(s, rectAt(x, 50, 120, 60), kLightGrey, pressed);
        drawTextButtonCaption(s, rectAt(x, 50, 120, 60), "Event Info", pressed);
        x += 130;
    }
    // A picture button, raised and pressed: the picture must not move.
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::black);
    {
        QPainter p(&picture);
        p.setPen(QPen(Qt::red, 4));
        p.drawLine(5, 5, 35, 25);
        p.drawLine(35, 5, 5, 25);
    }
    for (int i = 0; i < 2; ++i) {
        MemorySurface face;
        face.createBitmap(70, 50, kBlue);
        drawPictureButtonFace(face, 70, 50, kLightGrey, i == 1, picture);
        s.drawImage({270 + 0, 10 + i * 60}, face.bitmap());
    }
    // Heights around the bevel step: 39 (bevel 3) and 40 (bevel 4).
    drawTextButtonFace(s, rectAt(10, 130, 60, 39), kLightGrey, false);
    drawTextButtonFace(s, rectAt(80, 130, 60, 40), kLightGrey, false);
    drawTextButtonFace(s, rectAt(150, 130, 60, 60), kLightGrey, true);
    save(s.bitmap(), "buttons");
}

TEST(GalleryTest, BevelsPanelsFramesAndText) {
    MemorySurface s;
    s.createBitmap(420, 260, kBlack);
    drawBevel(s, {10, 10, 110, 70}, kLightGrey, false, 4, 0);
    drawBevel(s, {120, 10, 220, 70}, kLightGrey, true, 4, 0);
    drawBevel(s, {230, 10, 330, 70}, kYellow, true, 2, 3);
    drawBevel(s, {340, 10, 410, 70}, std::nullopt, false, 6, 0);
    s.fillRect({10, 80, 200, 160}, stock::kLightGreyBrush);
    drawPanel(s, {20, 90, 100, 150}, kLightGrey, 0);
    drawRecessedFrame(s, {120, 100, 180, 140});
    s.fillRect({125, 105, 175, 135}, stock::kWhiteBrush);
    drawInsetOutline(s, {220, 80, 320, 160}, kGrey, 6);
    drawBaseLine(s, {330, 80, 410, 160});
    s.selectFont(Font::create("Arial Bold", 20));
    s.setBackgroundMode(BackgroundMode::Transparent);
    letterSize = {};
    s.fillRect({10, 170, 410, 250}, Brush::solid(kGrey));
    drawShadowText(s, {100, 210}, "Mantle", kWhite, kAlignCentre, true);
    drawShadowText(s, {300, 210}, "P", kRed, kAlignCentre, true);
    drawText(s, {350, 245}, "S", kCyan, kAlignLeft | kAlignBaseline);
    s.selectPen(stock::kWhitePen);
    s.moveTo({10, 210});
    s.lineTo({410, 210});  // the centring line of the shadowed texts
    save(s.bitmap(), "kit");
}

TEST(GalleryTest, Shapes) {
    MemorySurface s;
    s.createBitmap(240, 120, kBlack);
    s.selectPen(Pen::solid(kWhite, 2));
    s.selectBrush(stock::kGreyBrush);
    s.ellipse({10, 10, 110, 110});
    s.selectPen(Pen::solid(kBlack, 2));
    s.ellipse({35, 35, 85, 85});
    s.selectPen(Pen::solid(kYellow, 5));
    s.arc({130, 10, 230, 110}, {230, 60}, {180, 10});  // upper right quarter
    s.selectPen(Pen::solid(kRed));
    s.polyline({{130, 100}, {150, 80}, {170, 100}, {190, 80}});
    save(s.bitmap(), "shapes");
}

}  // namespace
}  // namespace orvane
