// The owner-drawn buttons: faces, captions, picture placement, commands and
// the right button.
#include "ui/buttons.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <vector>

#include "../platform/pixel_probe.h"
#include "data/settings.h"
#include "platform/bitmap.h"
#include "platform/command_ids.h"
#include "platform/memory_surface.h"
#include "platform/window.h"
#include "ui/kit.h"

namespace orvane {
namespace {

using namespace colours;

using test::Box;
using test::boxOf;

// A press and release of one mouse button in the middle of a widget.
void click(QWidget* w, Qt::MouseButton button) {
    QPointF p(w->width() / 2.0, w->height() / 2.0);
    QPointF g = w->mapToGlobal(p);
    QMouseEvent press(QEvent::MouseButtonPress, p, g, button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, p, g, button, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
}

Colour at(const QImage& image, int x, int y) { return test::colourAt(image, x, y); }

// Width of the white band at the left edge of a face, along its middle row.
int leftBand(const QImage& face) {
    int y = face.height() / 2, n = 0;
    for (int x = 0; x < face.width() && (x == 0 || at(face, x, y) == kWhite); ++x)
        if (at(face, x, y) == kWhite) ++n;
    return n;
}

QImage pictureFace(int w, int h, bool pressed, const QImage& picture = {}) {
    MemorySurface s;
    s.createBitmap(w, h, kBlue);
    drawPictureButtonFace(s, w, h, kLightGrey, pressed, picture);
    return s.bitmap();
}

TEST(ButtonFaceTest, BevelIsThreeBelowFortyPixelsAndFourFromThere) {
    EXPECT_EQ(buttonBevelWidth(20), 3);
    EXPECT_EQ(buttonBevelWidth(39), 3);
    EXPECT_EQ(buttonBevelWidth(40), 4);
    EXPECT_EQ(buttonBevelWidth(100), 4);
    // The upper-left polygon runs from x = 1 to the bevel: b - 1 white columns.
    EXPECT_EQ(leftBand(pictureFace(80, 39, false)), 2);
    EXPECT_EQ(leftBand(pictureFace(80, 40, false)), 3);
    EXPECT_EQ(leftBand(pictureFace(80, 100, false)), 3);
}

TEST(ButtonFaceTest, PressedFaceExchangesTheBevelColours) {
    QImage up = pictureFace(60, 30, false), down = pictureFace(60, 30, true);
    EXPECT_EQ(at(up, 1, 15), kWhite);
    EXPECT_EQ(at(up, 30, 1), kWhite);
    EXPECT_EQ(at(up, 58, 15), kGrey);
    EXPECT_EQ(at(up, 30, 28), kGrey);
    EXPECT_EQ(at(down, 1, 15), kGrey);
    EXPECT_EQ(at(down, 30, 1), kGrey);
    EXPECT_EQ(at(down, 58, 15), kWhite);
    EXPECT_EQ(at(down, 30, 28), kWhite);
    EXPECT_EQ(at(up, 30, 15), kLightGrey);
    EXPECT_EQ(at(up, 0, 0), kLightGrey);  // the polygons start one pixel in

    MemorySurface s;
    s.createBitmap(60, 30, kBlue);
    drawTextButtonFace(s, {0, 0, 60, 30}, kLightGrey, false);
    EXPECT_EQ(at(s.bitmap(), 0, 0), kBlack);  // outline
    EXPECT_EQ(at(s.bitmap(), 59, 29), kBlack);
    EXPECT_EQ(at(s.bitmap(), 1, 15), kWhite);
    EXPECT_EQ(at(s.bitmap(), 58, 15), kGrey);
    drawTextButtonFace(s, {0, 0, 60, 30}, std::nullopt, true);
    EXPECT_EQ(at(s.bitmap(), 1, 15), kGrey);
    EXPECT_EQ(at(s.bitmap(), 58, 15), kWhite);
}

TEST(ButtonFaceTest, PictureIsCentredAndStaysWhenPressed) {
    QImage picture(10, 7, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 0));
    Box up = boxOf(pictureFace(41, 30, false, picture), kRed);
    Box down = boxOf(pictureFace(41, 30, true, picture), kRed);
    EXPECT_EQ(up.left, (41 - 10) / 2);
    EXPECT_EQ(up.top, (30 - 7 + 1) / 2);
    EXPECT_EQ(up.right, up.left + 9);
    EXPECT_EQ(down.left, up.left);
    EXPECT_EQ(down.top, up.top);
}

class CaptionTest : public ::testing::Test {
  protected:
    QImage caption(int h, std::string_view text, bool pressed) {
        MemorySurface s;
        s.createBitmap(160, h, kBlue);
        s.selectFont(Font::create("Arial", 14));
        drawTextButtonCaption(s, {0, 0, 160, h}, text, pressed);
        return s.bitmap();
    }
    int textHeight() {
        MemorySurface s;
        s.selectFont(Font::create("Arial", 14));
        return s.textMetrics().height;
    }
};

TEST_F(CaptionTest, TwoWordsMeetAtTheCentreWhenThereIsRoomForTwoLines) {
    int h = 2 * textHeight() + 11;  // shrunk by 5 on each side: just above two lines
    QImage two = caption(h, "Event Info", false);
    int cy = 5 + (h - 10) / 2;
    Box above = boxOf(two, kRed, {0, 0, 160, cy});
    Box below = boxOf(two, kRed, {0, cy, 160, h});
    ASSERT_FALSE(above.empty());
    ASSERT_FALSE(below.empty());
    EXPECT_LT(above.bottom, cy);
    EXPECT_GT(below.top, cy);
    EXPECT_GT(above.right - above.left, below.right - below.left);  // "Event" over "Info"
    EXPECT_NEAR((above.left + above.right) / 2.0, 80.0, 2.0);
    EXPECT_NEAR((below.left + below.right) / 2.0, 80.0, 2.0);
}

TEST_F(CaptionTest, LowButtonWritesTheCaptionOnOneLine) {
    int h = 2 * textHeight() + 10;  // exactly two lines is not enough
    QImage one = caption(h, "Event Info", false);
    int cy = 5 + (h - 10) / 2;
    Box ink = boxOf(one, kRed);
    ASSERT_FALSE(ink.empty());
    EXPECT_LT(ink.top, cy);
    EXPECT_GT(ink.bottom, cy);
    EXPECT_GT(ink.right - ink.left,
              boxOf(caption(2 * textHeight() + 11, "Event Info", false), kRed).right -
                  boxOf(caption(2 * textHeight() + 11, "Event Info", false), kRed).left);
    // A single word stays on one line however tall the button.
    Box single = boxOf(caption(120, "Information", false), kRed);
    EXPECT_LT(single.top, 60);
    EXPECT_GT(single.bottom, 60 - 5);
}

TEST_F(CaptionTest, PressedCaptionMovesOnePixelRightAndDown) {
    for (int h : {30, 80}) {
        Box up = boxOf(caption(h, "Event Info", false), kRed);
        Box down = boxOf(caption(h, "Event Info", true), kRed);
        EXPECT_EQ(down.left, up.left + 1) << h;
        EXPECT_EQ(down.top, up.top + 1) << h;
        EXPECT_EQ(down.right, up.right + 1) << h;
        EXPECT_EQ(down.bottom, up.bottom + 1) << h;
    }
}

TEST_F(CaptionTest, CaptionsOfMoreWordsKeepEveryWord) {
    int h = 2 * textHeight() + 20;
    QImage three = caption(h, "Exit the Show", false);
    QImage two = caption(h, "Exit the", false);
    int cy = 5 + (h - 10) / 2;
    Box lower3 = boxOf(three, kRed, {0, cy, 160, h});
    Box lower2 = boxOf(two, kRed, {0, cy, 160, h});
    EXPECT_GT(lower3.right - lower3.left, lower2.right - lower2.left);
}

class Parent : public Window {
  public:
    void command(int id) override { log.push_back("command " + std::to_string(id)); }
    void mousePressEvent(QMouseEvent*) override { log.push_back("press"); }
    std::vector<std::string> log;
};

TEST(TextButtonTest, CaptionIsCutAtThirtyCharacters) {
    Parent parent;
    std::string longCaption(40, 'x');
    longCaption.replace(0, 5, "Start");
    textButton b(&parent, 1030, longCaption, 0, 0, 80, 30);
    EXPECT_EQ(b.caption().size(), 30u);
    EXPECT_EQ(b.caption(), longCaption.substr(0, 30));
    b.setCaption("Resume");
    EXPECT_EQ(b.caption(), "Resume");
    b.setCaption(std::string(31, 'y'));
    EXPECT_EQ(b.caption(), std::string(30, 'y'));
    textButton exact(&parent, 1030, std::string(30, 'z'), 0, 0, 80, 30);
    EXPECT_EQ(exact.caption().size(), 30u);
}

TEST(TextButtonTest, PaintIntoDrawsAtTheStoredRectangleEvenAfterAMove) {
    Parent parent;
    textButton b(&parent, 1036, "Info", 20, 10, 50, 30);
    b.move(0, 0);
    EXPECT_EQ(b.storedRect(), (Rect{20, 10, 70, 40}));
    MemorySurface s;
    s.createBitmap(100, 60, kBlue);
    s.setViewportOrigin({50, 30});  // views paint with their origin put back to 0
    s.setViewportOrigin({0, 0});
    b.paintInto(s, false);
    QImage img = s.bitmap();
    Box outline = boxOf(img, kBlack);
    EXPECT_EQ(outline.left, 20);
    EXPECT_EQ(outline.top, 10);
    EXPECT_EQ(outline.right, 69);
    EXPECT_EQ(outline.bottom, 39);
    Box red = boxOf(img, kRed);
    ASSERT_FALSE(red.empty());
    EXPECT_GT(red.left, 25);
    EXPECT_LT(red.right, 64);
    // The button's own face is the same picture at (0, 0).
    QImage own = b.render();
    EXPECT_EQ(own.copy(0, 0, 50, 30), img.copy(20, 10, 50, 30));
}

TEST(TextButtonTest, LeftClickSendsTheCommandToTheParentAfterTheClick) {
    Parent parent;
    parent.resize(200, 100);
    textButton b(&parent, 1027, "World Menu", 10, 10, 100, 40);
    clickHook = [&] { parent.log.push_back("click"); };
    click(&b, Qt::LeftButton);
    EXPECT_EQ(parent.log, std::vector<std::string>{"command 1027"});  // silent by default
    b.setClicks(true);
    click(&b, Qt::LeftButton);
    EXPECT_EQ(parent.log, (std::vector<std::string>{"command 1027", "click", "command 1027"}));
    clickHook = nullptr;
    playClick();  // without a hook: silence, no failure
}

// The exit button of a window may end that window, button and all, from
// inside its own click.
TEST(TextButtonTest, ParentMayDestroyTheButtonFromItsCommand) {
    struct Closer : Window {
        textButton* button = nullptr;
        int commands = 0;
        void command(int) override {
            ++commands;
            delete button;
            button = nullptr;
        }
    } parent;
    parent.resize(100, 60);
    parent.button = new textButton(&parent, 1047, "Exit", 0, 0, 80, 30);
    click(parent.button, Qt::LeftButton);
    EXPECT_EQ(parent.commands, 1);
    EXPECT_EQ(parent.button, nullptr);
    EXPECT_TRUE(parent.findChildren<textButton*>().isEmpty());
}

TEST(TextButtonTest, RightButtonAsksTheMainWindowForTheMapOnlyWhenSet) {
    Parent frame, parent;
    setMainWindow(&frame);
    textButton b(&parent, 1036, "Info", 0, 0, 60, 30);
    Settings saved = settings;
    settings.rightButtonRestart = false;
    click(&b, Qt::RightButton);
    EXPECT_TRUE(frame.log.empty());
    settings.rightButtonRestart = true;
    click(&b, Qt::RightButton);
    // Posted: the map may destroy the button's window.
    EXPECT_TRUE(frame.log.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.log, std::vector<std::string>{"command 202"});
    EXPECT_TRUE(parent.log.empty());  // not a click of the button
    settings = saved;
    setMainWindow(nullptr);
}

TEST(MyButtonTest, ShowsItsRegisteredPictureAndHasNoRightButton) {
    QImage picture(12, 9, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 0));
    setBitmapResource(9, picture);
    Parent frame, parent;
    setMainWindow(&frame);
    myButton b(&parent, 2, 9, 5, 5, 60, 40);
    EXPECT_EQ(b.bitmap().size(), QSize(12, 9));
    Box red = boxOf(b.render(), kRed);
    EXPECT_EQ(red.left, 24);
    EXPECT_EQ(red.top, 16);
    Settings saved = settings;
    settings.rightButtonRestart = true;
    click(&b, Qt::RightButton);
    EXPECT_TRUE(frame.log.empty());
    EXPECT_TRUE(parent.log.empty());  // the press ends at the button
    click(&b, Qt::LeftButton);
    EXPECT_EQ(parent.log, std::vector<std::string>{"command 2"});
    settings = saved;
    setMainWindow(nullptr);

    myButton none(&parent, 556, 12345, 0, 0, 60, 40);  // unknown picture: face only
    EXPECT_TRUE(none.bitmap().isNull());
    EXPECT_TRUE(boxOf(none.render(), kRed).empty());
}

}  // namespace
}  // namespace orvane
