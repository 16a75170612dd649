// The welcome window: its picture, version line and Start button, and the
// ways it leads on to the map (Start, Enter, the initial timeout).
#include "app/welcome_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <fstream>

#include "../platform/pixel_probe.h"
#include "../support/temp_dir.h"
#include "app/sound.h"
#include "data/settings.h"
#include "platform/bitmap.h"
#include "platform/command_ids.h"
#include "platform/system.h"
#include "platform/window.h"
#include "ui/buttons.h"
#include "ui/kit.h"
#include "ui/text_windows.h"

namespace orvane {
namespace {

using namespace colours;

struct Frame : Window, WelcomeHost {
    std::vector<std::pair<int, int>> deferred;
    std::vector<int> commands;
    void deferCommand(int code, int ms) override { deferred.push_back({code, ms}); }
    void command(int id) override { commands.push_back(id); }
};

class WelcomeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved = settings;
        settings = Settings{};
        setMainWindow(&frame);
        clickHook = [this] { ++clicks; };
    }
    void TearDown() override {
        clickHook = nullptr;
        setMainWindow(nullptr);
        settings = saved;
    }
    using Deferred = std::vector<std::pair<int, int>>;

    Settings saved;
    Frame frame;
    int clicks = 0;
    TempDir dir;
    ScopedCurrentDir cd{dir.path()};
};

TEST_F(WelcomeTest, StartButtonAppearsAtTheFirstPaintAndLeadsToTheMap) {
    welcomeWindow w;
    w.resize(800, 600);
    EXPECT_EQ(w.startButton(), nullptr);
    w.paintPending();
    textButton* start = w.startButton();
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->caption(), "Start");
    EXPECT_EQ(start->commandId(), kCmdWelcomeStart);
    EXPECT_EQ(start->geometry(),
              QRect(800 / 2 - 40, 20, 80, int(letterSize.height * settings.buttonHeight)));
    w.invalidate();
    w.paintPending();
    EXPECT_EQ(w.startButton(), start);  // made once

    // The start-up tune (silent here): a standard MIDI file of one empty track.
    const char tune[] = "MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\4\0\xFF\x2F\0";
    std::ofstream("OV.MID", std::ios::binary).write(tune, sizeof tune - 1);
    ASSERT_EQ(sound().playTune("OV.MID"), 0);
    ASSERT_TRUE(sound().tuneOpen());
    start->click();
    EXPECT_FALSE(sound().tuneOpen());
    EXPECT_EQ(frame.deferred, (Deferred{{5, 50}}));
    EXPECT_EQ(clicks, 1);
}

TEST_F(WelcomeTest, InitialTimeoutLeadsToTheMapByItself) {
    settings.initialTimeout = 1;
    welcomeWindow w;
    EXPECT_TRUE(w.timerActive(welcomeWindow::kTimeoutTimer));
    waitDispatching(1300);
    EXPECT_EQ(frame.deferred, (Deferred{{5, 50}}));
    EXPECT_FALSE(w.timerActive(welcomeWindow::kTimeoutTimer));
    EXPECT_EQ(clicks, 0);
}

TEST_F(WelcomeTest, EnterBeforeTheTimeoutActsAsStartAndTheTimeoutNeverFires) {
    settings.initialTimeout = 30;
    welcomeWindow w;
    EXPECT_TRUE(w.timerActive(welcomeWindow::kTimeoutTimer));
    sendCommand(&w, kCmdEnter);
    EXPECT_EQ(frame.deferred, (Deferred{{5, 50}}));
    EXPECT_FALSE(w.timerActive(welcomeWindow::kTimeoutTimer));
    EXPECT_EQ(clicks, 0);  // a key, not a button
}

TEST_F(WelcomeTest, NoTimeoutMeansNoTimer) {
    settings.initialTimeout = 0;
    welcomeWindow w;
    EXPECT_FALSE(w.timerActive(welcomeWindow::kTimeoutTimer));
    // A timeout of more seconds than a timer can count still waits.
    settings.initialTimeout = 4000000000u;
    welcomeWindow late;
    EXPECT_TRUE(late.timerActive(welcomeWindow::kTimeoutTimer));
    EXPECT_TRUE(frame.deferred.empty());
}

TEST_F(WelcomeTest, WithoutAHostTheMapCommandIsPosted) {
    struct Recorder : Window {
        std::vector<int> commands;
        void command(int id) override { commands.push_back(id); }
    } recorder;
    setMainWindow(&recorder);
    welcomeWindow w;
    w.start();
    QCoreApplication::processEvents();
    EXPECT_EQ(recorder.commands, std::vector<int>{kCmdMap});
    setMainWindow(&frame);
}

QImage saveBmp(int w, int h, QColor colour, const std::string& name) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    EXPECT_TRUE(image.save(QString::fromStdString(name), "BMP"));
    return image;
}

TEST_F(WelcomeTest, PictureIsCentredAndVersionLineWrittenBelowIt) {
    saveBmp(200, 100, Qt::red, "ovinit.bmp");  // found without regard to case
    welcomeWindow w;
    w.resize(640, 480);
    w.paintPending();
    const QImage& p = w.picture();
    test::Box red = test::boxOf(p, kRed);
    EXPECT_EQ(red.left, (640 - 200) / 2);
    EXPECT_EQ(red.top, (480 - 100) / 2);
    EXPECT_EQ(red.right, red.left + 199);
    EXPECT_EQ(red.bottom, red.top + 99);
    EXPECT_EQ(test::colourAt(p, 5, 5), kBlack);
    // The version line and the date, right-aligned one letter from the edge,
    // ending 7 and 6 letters above the bottom.
    int lh = letterSize.height, lw = letterSize.width;
    Rect lines{320, 480 - 9 * lh, 640, 480 - 6 * lh};
    test::Box text = test::inkBox(p, kBlack, lines);
    ASSERT_FALSE(text.empty());
    EXPECT_LE(text.right, 640 - lw);
    EXPECT_GT(text.right, 640 - 2 * lw);
    EXPECT_LT(text.bottom, 480 - 6 * lh);
    EXPECT_GT(text.bottom, 480 - 7 * lh);
}

TEST_F(WelcomeTest, MissingPictureOrWelcomeScreenOffLeavesItBlack) {
    {
        welcomeWindow w;
        w.resize(400, 300);
        w.paintPending();
        EXPECT_TRUE(
            test::inkBox(w.picture(), kBlack, {0, 60, 400, 300 - 9 * letterSize.height}).empty());
        EXPECT_NE(w.startButton(), nullptr);
    }
    saveBmp(50, 50, Qt::red, "OVINIT.BMP");
    settings.showWelcomeScreen = false;
    welcomeWindow w;
    w.resize(400, 300);
    w.paintPending();
    EXPECT_TRUE(test::inkBox(w.picture(), kBlack).empty());
    EXPECT_EQ(w.startButton(), nullptr);
}

TEST_F(WelcomeTest, PictureForTheGallery) {
    // The real opening picture when ORVANE_DEMO_DIR names a demo directory.
    if (const char* demo = std::getenv("ORVANE_DEMO_DIR"))
        std::filesystem::copy_file(std::string(demo) + "/OVINIT.BMP", "OVINIT.BMP");
    else
        saveBmp(480, 320, QColor(20, 60, 120), "OVINIT.BMP");
    welcomeWindow w;
    w.resize(1280, 800);
    w.show();
    w.paintPending();
    QImage p = windowPicture(&w);
    QDir().mkpath(ORVANE_BINARY_DIR "/gallery");
    EXPECT_TRUE(p.save(ORVANE_BINARY_DIR "/gallery/welcome-window.png"));
    EXPECT_FALSE(test::boxOf(p, kRed).empty());  // the Start caption
}

}  // namespace
}  // namespace orvane
