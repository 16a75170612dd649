// The control panel: its buttons and what each does, the Pause caption, the
// speed slider and the acceleration, the minutes display; the filler panel.
#include "app/side_panel.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <QSlider>
#include <cmath>
#include <limits>

#include "../platform/pixel_probe.h"
#include "data/event_loading.h"
#include "data/settings.h"
#include "platform/bitmap.h"
#include "platform/command_ids.h"
#include "platform/window.h"
#include "ui/buttons.h"
#include "ui/kit.h"
#include "ui/text_windows.h"

namespace orvane {
namespace {

using namespace colours;

struct Frame : Window, ControlPanelHost {
    std::vector<int> commands;
    std::vector<int> deferred;
    bool isPaused = false;
    float resumeTime = -1;
    int tutorialStops = 0;

    void command(int id) override { commands.push_back(id); }
    bool paused() const override { return isPaused; }
    void setPaused(bool p) override { isPaused = p; }
    void setResumeTime(float t) override { resumeTime = t; }
    void stopTutorial() override { ++tutorialStops; }
    void postDeferred(int code) override { deferred.push_back(code); }
};

// Buttons are pressed through their own click; the panel sees a press.
void click(textButton* b) { b->click(); }

void rightPress(QWidget* w) {
    QPointF p(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
}

class PanelTest : public ::testing::Test {
  protected:
    static constexpr int kPanelWidth = 90;
    static constexpr int kHeight = 700;

    void SetUp() override {
        savedSettings = settings;
        savedAcceleration = loadedEvent().timeAcceleration;
        settings = Settings{};
        loadedEvent().timeAcceleration = 20;
        setMainWindow(&frame);
        clickHook = [this] { ++clicks; };
    }
    void TearDown() override {
        clickHook = nullptr;
        setMainWindow(nullptr);
        settings = savedSettings;
        loadedEvent().timeAcceleration = savedAcceleration;
    }
    // A panel as a layout makes it; the host is found through the main window.
    std::unique_ptr<childSlider> makePanel() {
        sliderRect = {kPanelWidth * 3 / 100, kHeight * 60 / 100, 30, kHeight};
        auto panel = std::make_unique<childSlider>(nullptr, kPanelWidth, sliderRect);
        panel->resize(kPanelWidth, kHeight);
        return panel;
    }
    std::vector<std::string> captions(const childSlider& panel) {
        QList<textButton*> found = panel.findChildren<textButton*>();
        std::vector<textButton*> list(found.begin(), found.end());
        std::sort(list.begin(), list.end(), [](auto* a, auto* b) { return a->y() < b->y(); });
        std::vector<std::string> out;
        for (textButton* b : list) out.push_back(b->caption());
        return out;
    }

    Frame frame;
    Settings savedSettings;
    float savedAcceleration = 0;
    Rect sliderRect;
    int clicks = 0;
};

// ----------------------------------------------------------------- buttons ---

TEST_F(PanelTest, ButtonsStackFromTheTopWithoutGaps) {
    settings.exitLabel = "Quit";
    settings.buttonHeight = 2.5f;
    auto panel = makePanel();
    EXPECT_EQ(captions(*panel), (std::vector<std::string>{"Quit", "World Menu", "Repeat", "Pause",
                                                          "Views", "Event Info"}));
    int h = int(letterSize.height * 2.5f);
    int y = 1;
    for (int id : {kCmdPanelExit, kCmdPanelWorldMenu, kCmdPanelRepeat, kCmdPanelPause,
                   kCmdPanelViews, kCmdPanelEventInfo}) {
        textButton* b = panel->button(id);
        ASSERT_NE(b, nullptr) << id;
        EXPECT_EQ(b->geometry(), QRect(0, y, kPanelWidth - 1, h)) << id;
        y += h;
    }
    EXPECT_EQ(panel->button(kCmdPanelTutorial), nullptr);
    // The slider starts five letters below the last button; the layout's
    // rectangle moves with it.
    EXPECT_EQ(panel->sliderTop(), y + 5 * letterSize.height);
    EXPECT_EQ(sliderRect.top, panel->sliderTop());
    EXPECT_EQ(panel->sliderArea(), sliderRect);
    ASSERT_NE(panel->slider(), nullptr);
    EXPECT_EQ(panel->slider()->geometry(),
              QRect(sliderRect.left, sliderRect.top, width(sliderRect), height(sliderRect)));
}

TEST_F(PanelTest, OptionalButtonsFollowTheSettings) {
    settings.canExit = false;
    settings.selectView = false;
    settings.tutorialSaved = false;
    auto panel = makePanel();
    EXPECT_EQ(captions(*panel),
              (std::vector<std::string>{"World Menu", "Repeat", "Pause", "Event Info"}));
    EXPECT_EQ(panel->button(kCmdPanelWorldMenu)->y(), 1);

    settings.tutorialSaved = true;
    auto withTutorial = makePanel();
    EXPECT_EQ(captions(*withTutorial), (std::vector<std::string>{"World Menu", "Repeat", "Pause",
                                                                 "Tutorial", "Event Info"}));
}

TEST_F(PanelTest, EachButtonTellsTheFrame) {
    settings.tutorialSaved = true;
    auto panel = makePanel();
    click(panel->button(kCmdPanelExit));
    click(panel->button(kCmdPanelTutorial));
    click(panel->button(kCmdPanelEventInfo));
    EXPECT_EQ(frame.commands, (std::vector<int>{kCmdExit, kCmdBrowseTutorial, kCmdEventInfo}));
    EXPECT_EQ(clicks, 2);  // Event Info makes no click

    click(panel->button(kCmdPanelWorldMenu));
    EXPECT_EQ(frame.tutorialStops, 1);
    click(panel->button(kCmdPanelViews));
    EXPECT_EQ(frame.deferred, (std::vector<int>{3, 2}));
    EXPECT_EQ(clicks, 4);
}

TEST_F(PanelTest, PauseTogglesAndRepeatResumes) {
    auto panel = makePanel();
    textButton* pause = panel->button(kCmdPanelPause);
    click(pause);
    EXPECT_TRUE(frame.isPaused);
    EXPECT_EQ(pause->caption(), "Resume");
    click(pause);
    EXPECT_FALSE(frame.isPaused);
    EXPECT_EQ(pause->caption(), "Pause");
    EXPECT_TRUE(frame.deferred.empty());

    click(pause);
    click(panel->button(kCmdPanelRepeat));
    EXPECT_FALSE(frame.isPaused);
    EXPECT_EQ(pause->caption(), "Pause");
    EXPECT_EQ(frame.deferred, std::vector<int>{1});
    EXPECT_EQ(frame.resumeTime, 0.0f);
    EXPECT_EQ(clicks, 4);
}

TEST_F(PanelTest, PauseCaptionFollowsPausedWhoeverChangesIt) {
    auto panel = makePanel();
    frame.isPaused = true;  // for example a new event with paused left over
    panel->readSpeed();
    EXPECT_EQ(panel->button(kCmdPanelPause)->caption(), "Resume");
    frame.isPaused = false;  // the idle countdown clears it
    panel->readSpeed();
    EXPECT_EQ(panel->button(kCmdPanelPause)->caption(), "Pause");
}

TEST_F(PanelTest, RightButtonActsAsWorldMenuOnlyWhenSet) {
    auto panel = makePanel();
    rightPress(panel.get());
    EXPECT_TRUE(frame.deferred.empty());
    settings.rightButtonRestart = true;
    rightPress(panel.get());
    EXPECT_EQ(frame.deferred, std::vector<int>{3});
    EXPECT_EQ(frame.tutorialStops, 1);
    EXPECT_EQ(clicks, 1);
}

TEST_F(PanelTest, ExplicitHostIsUsedBeforeTheMainWindow) {
    Frame other;
    sliderRect = {2, 400, 30, kHeight};
    childSlider panel(nullptr, kPanelWidth, sliderRect, &other);
    click(panel.button(kCmdPanelWorldMenu));
    EXPECT_EQ(other.deferred, std::vector<int>{3});
    EXPECT_TRUE(frame.deferred.empty());
}

// ------------------------------------------------------------------ slider ---

TEST_F(PanelTest, SliderTopIsPlusHundredAndBottomMinusHundred) {
    auto panel = makePanel();
    QSlider* s = panel->slider();
    EXPECT_EQ(s->minimum(), 0);
    EXPECT_EQ(s->maximum(), 200);
    EXPECT_EQ(s->pageStep(), 20);
    EXPECT_EQ(s->value(), 80);  // acceleration 20
    float acceleration = 20;
    s->setValue(0);  // dragged to the top
    panel->readSpeed(acceleration);
    EXPECT_EQ(acceleration, 100);
    s->setValue(200);
    panel->readSpeed(acceleration);
    EXPECT_EQ(acceleration, -100);
    s->setValue(130);
    panel->readSpeed(acceleration);
    EXPECT_EQ(acceleration, -30);
    EXPECT_EQ(panel->lastSpeed(), -30);
}

TEST_F(PanelTest, OutsideChangeMovesTheSliderToAWholeNumber) {
    loadedEvent().timeAcceleration = 20.5f;
    auto panel = makePanel();
    EXPECT_EQ(panel->lastSpeed(), 20);
    panel->readSpeed();
    EXPECT_EQ(panel->slider()->value(), 80);
    EXPECT_EQ(loadedEvent().timeAcceleration, 20.0f);  // shows 20 and runs at 20

    loadedEvent().timeAcceleration = -35.7f;  // the speed dialog
    panel->readSpeed();
    EXPECT_EQ(loadedEvent().timeAcceleration, -35.0f);
    EXPECT_EQ(panel->slider()->value(), 135);

    loadedEvent().timeAcceleration = 500;  // beyond the slider: its end
    panel->readSpeed();
    EXPECT_EQ(loadedEvent().timeAcceleration, 100.0f);
    EXPECT_EQ(panel->slider()->value(), 0);

    loadedEvent().timeAcceleration = std::numeric_limits<float>::quiet_NaN();
    panel->readSpeed();
    EXPECT_EQ(loadedEvent().timeAcceleration, 100.0f);  // the slider's value stands
}

TEST_F(PanelTest, WithoutSliderTheAccelerationIsLeftAlone) {
    settings.slider = false;
    loadedEvent().timeAcceleration = 20.5f;
    auto panel = makePanel();
    EXPECT_EQ(panel->slider(), nullptr);
    panel->readSpeed();
    EXPECT_EQ(loadedEvent().timeAcceleration, 20.5f);
    EXPECT_EQ(sliderPositionFor(20.5f), 80);
    EXPECT_EQ(sliderPositionFor(-1e9f), 200);
    EXPECT_EQ(sliderPositionFor(std::numeric_limits<float>::infinity()), 0);
}

// ---------------------------------------------------------------- minutes ---

TEST(MinutesTest, WholeMinutesOfTheClock) {
    EXPECT_EQ(minutesText(3599.9f), "  59 ");
    EXPECT_EQ(minutesText(3600.0f), "  60 ");
    EXPECT_EQ(minutesText(0.0f), "   0 ");
    EXPECT_EQ(minutesText(59.99f), "   0 ");
    EXPECT_EQ(minutesText(600000.0f), "10000 ");
    EXPECT_EQ(minutesText(-30.0f), "   0 ");
    EXPECT_EQ(minutesText(std::numeric_limits<float>::quiet_NaN()), "   0 ");
    EXPECT_EQ(minutesText(1e30f), "   0 ");
}

QImage minutesPicture(childSlider& panel) {
    Rect b = panel.minutesBox();
    return panel.picture().copy(b.left, b.top, width(b), height(b));
}

TEST_F(PanelTest, MinutesAreDrawnInTheirBoxAndKeptOverARepaint) {
    auto panel = makePanel();
    panel->paintPending();
    Rect box = panel->minutesBox();
    ASSERT_FALSE(box.empty());
    EXPECT_EQ(box.top, panel->sliderTop() - int(3.5 * letterSize.height));
    EXPECT_LE(std::abs(box.left - (kPanelWidth - box.right)), 1);  // centred
    QImage empty = minutesPicture(*panel);
    EXPECT_TRUE(test::inkBox(empty, kWhite).empty());

    panel->showMinutes(3599.9f);
    QImage m59 = minutesPicture(*panel);
    EXPECT_FALSE(test::boxOf(m59, kBlack).empty());
    panel->showMinutes(3600.0f);
    QImage m60 = minutesPicture(*panel);
    EXPECT_NE(m59, m60);
    panel->showMinutes(3540.0f);  // the previous value is overwritten
    EXPECT_EQ(minutesPicture(*panel), m59);

    panel->invalidate();
    panel->paintPending();
    EXPECT_EQ(minutesPicture(*panel), m59);
}

// ------------------------------------------------------------------ paint ---

std::string galleryPath(const std::string& name) {
    QDir().mkpath(ORVANE_BINARY_DIR "/gallery");
    return std::string(ORVANE_BINARY_DIR "/gallery/") + name;
}

TEST_F(PanelTest, SpeedScaleOnlyWithTheSlider) {
    auto panel = makePanel();
    panel->show();
    panel->paintPending();
    panel->showMinutes(754);
    QImage with = windowPicture(panel.get());
    EXPECT_TRUE(with.save(QString::fromStdString(galleryPath("control-panel.png"))));
    int top = panel->sliderTop();
    // "SPEED" above the slider, the labels at the right from top to bottom.
    Rect speed{0, top - 2 * letterSize.height, kPanelWidth, top - letterSize.height};
    Rect scale{kPanelWidth - 4 * letterSize.width, top, kPanelWidth - letterSize.width, kHeight};
    EXPECT_FALSE(test::boxOf(with, kBlack, speed).empty());
    test::Box labels = test::boxOf(panel->picture(), kBlack, scale);
    ASSERT_FALSE(labels.empty());
    EXPECT_LT(labels.top, top + 5);
    EXPECT_GT(labels.bottom, kHeight - 10 - letterSize.height);
    // The panel's bevel: white at the top left, grey at the bottom right.
    EXPECT_EQ(test::colourAt(with, 0, kHeight / 2), kWhite);
    EXPECT_EQ(test::colourAt(with, kPanelWidth - 1, kHeight / 2), kGrey);

    settings.slider = false;
    auto plain = makePanel();
    plain->paintPending();
    EXPECT_TRUE(test::boxOf(plain->picture(), kBlack, speed).empty());
    EXPECT_TRUE(test::boxOf(plain->picture(), kBlack, scale).empty());
}

TEST(SidePanelTest, GreyWithABevel) {
    sidePanel panel;
    panel.resize(60, 100);
    panel.paintPending();
    const QImage& p = panel.picture();
    EXPECT_EQ(test::colourAt(p, 30, 50), kGrey);
    EXPECT_EQ(test::colourAt(p, 0, 50), kWhite);
    EXPECT_EQ(test::colourAt(p, 30, 0), kWhite);
    EXPECT_EQ(test::colourAt(p, 2, 50), kGrey);  // two pixels wide
}

}  // namespace
}  // namespace orvane
