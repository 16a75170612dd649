// Timers, commands, activation, input watch, message boxes and window
// surfaces, all offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <fstream>
#include <vector>

#include "../support/temp_dir.h"
#include "../support/write_faults.h"
#include "platform/bitmap.h"
#include "platform/command_ids.h"
#include "platform/message_box.h"
#include "platform/surface_window.h"
#include "platform/system.h"
#include "platform/window.h"

namespace orvane {
namespace {

// Runs the event loop until `done` or `ms` milliseconds have passed.
template <class Pred>
void spin(Pred done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

class Recorder : public Window {
  public:
    using Window::Window;
    void onTimer(int id) override {
        timers.push_back(id);
        if (id == killOnFire) killTimer(id);
    }
    void command(int id) override { commands.push_back(id); }
    void onActivated(bool active) override { activations.push_back(active); }
    std::vector<int> timers, commands;
    std::vector<bool> activations;
    int killOnFire = -1;
};

TEST(WindowTimersTest, TimersFireWithTheirIdsAndStopWhenKilled) {
    Recorder w;
    EXPECT_TRUE(w.setTimer(2, 5));
    EXPECT_TRUE(w.setTimer(7, 5));
    EXPECT_TRUE(w.timerActive(7));
    auto seen = [&](int id) { return std::count(w.timers.begin(), w.timers.end(), id); };
    spin([&] { return seen(2) >= 2 && seen(7) >= 2; }, 2000);
    EXPECT_GE(seen(2), 2);  // periodic
    EXPECT_GE(seen(7), 2);
    EXPECT_TRUE(w.killTimer(7));
    EXPECT_FALSE(w.timerActive(7));
    EXPECT_FALSE(w.killTimer(7));   // already stopped
    EXPECT_FALSE(w.killTimer(99));  // never set
    auto before = seen(7);
    auto before2 = seen(2);
    spin([&] { return seen(2) >= before2 + 3; }, 2000);
    EXPECT_EQ(seen(7), before);  // killed: no more
    EXPECT_GE(seen(2), before2 + 3);
    w.killTimer(2);
}

TEST(WindowTimersTest, AHandlerMayKillItsOwnTimer) {
    Recorder w;
    w.killOnFire = 3;
    w.setTimer(3, 1);
    spin([&] { return !w.timers.empty(); }, 2000);
    spin([] { return false; }, 30);
    EXPECT_EQ(w.timers, std::vector<int>{3});
    EXPECT_FALSE(w.timerActive(3));
    w.setTimer(3, 1);  // and set it again later
    spin([&] { return w.timers.size() >= 2; }, 2000);
    EXPECT_EQ(w.timers.size(), 2u);
}

TEST(WindowTimersTest, TimersDieWithTheirWindow) {
    auto* w = new Recorder;
    w->setTimer(1, 1);
    delete w;
    Recorder alive;  // the loop runs on past the dead window's timer
    alive.setTimer(5, 2);
    spin([&] { return alive.timers.size() >= 3; }, 2000);
    EXPECT_EQ(alive.timers, (std::vector<int>{5, 5, 5}));
}

TEST(CommandTest, SentCommandsArriveAtOnceAtTheNearestHandler) {
    Recorder frame;
    QWidget plain(&frame);
    QWidget inner(&plain);
    EXPECT_TRUE(sendCommand(&inner, kCmdMap));
    EXPECT_EQ(frame.commands, std::vector<int>{kCmdMap});
    QWidget orphan;
    EXPECT_FALSE(sendCommand(&orphan, kCmdMap));
    EXPECT_FALSE(sendCommand(nullptr, kCmdMap));
}

TEST(CommandTest, PostedCommandArrivesAfterTheSenderReturned) {
    Recorder frame;
    bool senderDone = false;
    std::vector<bool> doneWhenArrived;
    struct Watcher : Window {
        bool* flag;
        std::vector<bool>* log;
        void command(int) override { log->push_back(*flag); }
    } watcher;
    watcher.flag = &senderDone;
    watcher.log = &doneWhenArrived;
    postCommand(&watcher, kCmdStartEvent);
    EXPECT_TRUE(doneWhenArrived.empty());  // not yet
    senderDone = true;
    spin([&] { return !doneWhenArrived.empty(); }, 2000);
    ASSERT_EQ(doneWhenArrived.size(), 1u);
    EXPECT_TRUE(doneWhenArrived[0]);
}

TEST(CommandTest, PostedCommandToAWindowThatIsGoneIsDropped) {
    auto* w = new Recorder;
    Recorder alive;
    postCommand(w, kCmdExit);
    postCommand(&alive, kCmdMap);
    delete w;
    spin([&] { return !alive.commands.empty(); }, 2000);
    EXPECT_EQ(alive.commands, std::vector<int>{kCmdMap});
}

TEST(CommandTest, MainWindowReceivesCommandsSentToIt) {
    EXPECT_FALSE(sendToMainWindow(kCmdMap)) << "no main window yet";
    {
        Recorder frame;
        setMainWindow(&frame);
        EXPECT_TRUE(sendToMainWindow(kCmdMap));
        EXPECT_EQ(frame.commands, std::vector<int>{kCmdMap});
    }
    EXPECT_EQ(mainWindow(), nullptr);  // forgotten when destroyed
}

TEST(ActivationTest, FrameHearsActivationAndDeactivation) {
    Recorder frame;
    QEvent activate(QEvent::WindowActivate), deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(&frame, &activate);
    QCoreApplication::sendEvent(&frame, &deactivate);
    EXPECT_EQ(frame.activations, (std::vector<bool>{true, false}));
}

TEST(SystemTest, InputWatchNotesKeysAndButtonsSinceTheLastTick) {
    installInputWatch();
    installInputWatch();  // harmless twice
    QWidget w;
    markInputTick();
    EXPECT_FALSE(inputWaiting());
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(&w, &key);
    EXPECT_TRUE(inputWaiting());
    EXPECT_TRUE(inputWaiting());  // asking does not consume it
    markInputTick();
    EXPECT_FALSE(inputWaiting());
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &press);
    EXPECT_TRUE(inputWaiting());
    markInputTick();
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &move);
    EXPECT_FALSE(inputWaiting());  // moving the mouse is not waiting input
}

TEST(SystemTest, TickCountAdvancesInMilliseconds) {
    std::uint32_t a = tickCount();
    waitDispatching(30);
    std::uint32_t elapsed = tickCount() - a;  // unsigned: right across a wrap too
    EXPECT_GE(elapsed, 25u);
    EXPECT_LT(elapsed, 2000u);
}

TEST(SystemTest, ScreenHasASize) {
    Size s = screenSize();
    EXPECT_GT(s.width, 0);
    EXPECT_GT(s.height, 0);
}

TEST(MessageBoxTest, RecorderSeesTheCallsAndRestoresTheHandler) {
    {
        MessageBoxRecorder outer;
        {
            MessageBoxRecorder inner;
            messageBox("Unknown timer", "????");
            ASSERT_EQ(inner.calls().size(), 1u);
            EXPECT_EQ(inner.calls()[0],
                      (MessageBoxCall{"Unknown timer", "????", MessageIcon::Exclamation}));
        }
        messageBox("Unable to create bitmaps", "Cross-Section View", MessageIcon::Exclamation);
        ASSERT_EQ(outer.calls().size(), 1u);
        EXPECT_EQ(outer.calls()[0].caption, "Cross-Section View");
    }
    // With no recorder left the real dialog would be shown: the handler is empty.
    MessageBoxHandler none = setMessageBoxHandler({});
    EXPECT_FALSE(static_cast<bool>(none));
}

TEST(BitmapTest, FilesAreFoundWithoutRegardToCaseAndWrittenAsBmp) {
    TempDir dir;
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(10, 20, 30));
    image.setPixel(2, 1, qRgb(255, 0, 0));
    std::string name = dir.file("Picture.typed");  // no extension added, BMP anyway
    ASSERT_TRUE(saveBitmap(image, name));
    std::ifstream raw(name, std::ios::binary);
    char magic[2] = {};
    raw.read(magic, 2);
    EXPECT_EQ(std::string(magic, 2), "BM");
    QImage back = loadBitmap(dir.file("PICTURE.TYPED"));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.size(), QSize(3, 2));
    EXPECT_EQ(back.pixel(2, 1) & 0xffffff, 0xff0000u);
    EXPECT_TRUE(loadBitmap(dir.file("missing.bmp")).isNull());
    {
        std::ofstream junk(dir.file("junk.bmp"));
        junk << "BM not really";
    }
    EXPECT_TRUE(loadBitmap(dir.file("junk.bmp")).isNull());
    EXPECT_FALSE(saveBitmap(QImage(), dir.file("empty.bmp")));

    EXPECT_TRUE(bitmapResource(4711).isNull());
    setBitmapResource(4711, image);
    EXPECT_EQ(bitmapResource(4711).size(), QSize(3, 2));
}

class Painted : public SurfaceWindow {
  public:
    using SurfaceWindow::SurfaceWindow;
    int paints = 0;

  protected:
    void paint(DrawingContext& dc, const Rect& area) override {
        ++paints;
        dc.fillRect({0, 0, 2, 2}, stock::kBlackBrush);
        lastArea = area;
    }

  public:
    Rect lastArea;
};

// "Make bitmap" may be pointed at any name: a full disk, a read-only
// directory or a directory of that name fails and keeps what was there.
TEST(BitmapTest, EveryFaultFailsCleanlyAndKeepsThePreviousFile) {
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(qRgb(200, 10, 10));
    for (WriteFault fault : kWriteFaults) {
        SCOPED_TRACE(faultName(fault));
        TempDir dir;
        const std::string path = dir.file("saved.bmp");
        FaultOutcome out = writeUnderFault(fault, path, "the previous picture",
                                           [&] { return saveBitmap(image, path); });
        expectFailedCleanly(out);
    }
}

TEST(SurfaceWindowTest, DrawingKeepsThePictureAndPaintingRunsOnlyWhenAsked) {
    Painted w;
    w.setBackground(colours::kBlue);
    w.resize(20, 10);
    w.paintPending();
    EXPECT_EQ(w.paints, 1);
    EXPECT_EQ(w.lastArea, (Rect{0, 0, 20, 10}));
    DrawingContext dc = w.surface();
    dc.setViewportOrigin({10, 5});
    dc.fillRect({0, 0, 1, 1}, Brush::solid(colours::kRed));
    EXPECT_EQ(w.picture().pixel(10, 5) & 0xffffff, 0xff0000u);
    w.paintPending();  // nothing pending: the drawing stays
    EXPECT_EQ(w.paints, 1);
    EXPECT_EQ(w.picture().pixel(10, 5) & 0xffffff, 0xff0000u);
    w.invalidate();  // erase and paint again
    w.paintPending();
    EXPECT_EQ(w.paints, 2);
    EXPECT_EQ(w.picture().pixel(10, 5) & 0xffffff, 0x0000ffu);
    EXPECT_EQ(w.picture().pixel(0, 0) & 0xffffff, 0x000000u);
}

TEST(SurfaceWindowTest, ShownWindowPresentsItsPicture) {
    Painted w;
    w.setBackground(colours::kWhite);
    w.resize(16, 16);
    w.show();
    spin([&] { return w.paints > 0; }, 2000);
    DrawingContext dc = w.surface();
    dc.fillRect({4, 4, 12, 12}, Brush::solid(colours::kRed));
    QImage shown = windowPicture(&w);
    EXPECT_EQ(shown.pixel(8, 8) & 0xffffff, 0xff0000u);
    EXPECT_EQ(shown.pixel(0, 0) & 0xffffff, 0x000000u);
    EXPECT_EQ(w.paints, 1);  // showing the picture did not repaint it
}

}  // namespace
}  // namespace orvane
