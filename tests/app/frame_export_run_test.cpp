// The viewer in frame-export mode, through its real windows and timers:
// the frames of a run are all on disk when the user leaves the event, and a
// frame that cannot be written is reported while the run goes on.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <filesystem>
#include <fstream>
#include <set>

#include "app/layout_window.h"
#include "app/my_frame.h"
#include "app/side_panel.h"
#include "data/event_loading.h"
#include "data/settings.h"
#include "platform/command_ids.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "tests/app/run_host_fake.h"
#include "tests/support/temp_dir.h"
#include "ui/kit.h"
#include "ui/buttons.h"
#include "views/frame_export.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

class FrameExportRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::freshProgramState();
        settings.showEventInformation = false;
        settings.scienceOnASphere = true;
        settings.labelPhasesOnEarthView = true;
        screenWidth = 1920;
        screenHeight = 1080;
        // Five seconds of clock a frame: 10, 15, 20, ...
        std::ofstream(dir.file("quake.evt")) << "EVENT NAME: Test quake\n"
                                                "EVENT DEPTH: 18\n"
                                                "EVENT MAGNITUDE: 2.0\n"
                                                "TIME ACCELERATION: 40\n";
        fs::create_directory(dir.file("quake"));
        QImage earth(64, 64, QImage::Format_RGB32);
        earth.fill(QColor(0, 0, 160));
        earth.save(QString::fromStdString(dir.file("earth180.bmp")), "BMP");
        frame = std::make_unique<myFrame>(nullptr);
        setMainWindow(frame.get());  // as the application does
        frame->resize(1280, 800);
        frame->show();
        frame->startEventNamed("quake.evt");
        // No tables here: curves with a plausible slope, so frames hold circles.
        const float slopes[] = {8, 14, 10, 17};
        for (std::size_t c = 0; c < 4; ++c) {
            TravelTimeCurve& curve = loadedEvent().curves[c];
            for (int k = 0; k < kCurveEntries; ++k) curve.times.push_back(float(k) * slopes[c]);
            curve.count = kCurveEntries;
        }
    }
    void TearDown() override {
        setMainWindow(nullptr);
        frame.reset();
        test::freshProgramState();
    }

    std::string earthDir() const { return dir.file("quake/sos/earth"); }

    // Lets the timers run until `done` or a generous bound.
    template <typename Done>
    bool runUntil(Done done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 60000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        return done();
    }

    // A left click where a person would press the widget.
    static void click(QWidget* widget) {
        QPointF at(widget->width() / 2.0, widget->height() / 2.0);
        QPointF global = widget->mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &release);
    }

    std::set<std::string> filesWritten() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(earthDir()))
            names.insert(entry.path().filename().string());
        return names;
    }

    MessageBoxRecorder boxes;
    TempDir dir;
    ScopedCurrentDir inDir{dir.path()};
    std::unique_ptr<myFrame> frame;
};

TEST_F(FrameExportRunTest, WorldMenuLeavesEveryFrameOfTheRunOnDisk) {
    ASSERT_TRUE(runUntil([&] { return frame->run().clock >= 100; }));
    const float ranTo = frame->run().clock;
    ASSERT_NE(frame->layoutWindow(), nullptr);
    childSlider* panel = frame->layoutWindow()->slider();
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(panel->button(kCmdPanelWorldMenu), nullptr);
    click(panel->button(kCmdPanelWorldMenu));
    ASSERT_TRUE(runUntil([&] { return frame->mapWindow() != nullptr; }));
    EXPECT_EQ(frame->layoutWindow(), nullptr);

    // Every tick before the click wrote its frame, complete, under its own name.
    const std::set<std::string> written = filesWritten();
    for (float t = 10; t <= ranTo; t += 5) EXPECT_TRUE(written.count(frameName(t))) << t;
    for (const std::string& name : written)
        EXPECT_EQ(name.substr(name.size() - 4), ".png") << name;
    EXPECT_TRUE(boxes.calls().empty());
}

TEST_F(FrameExportRunTest, AnUnwritableFrameIsReportedOnceAndTheRunGoesOn) {
    // Event loading made the directory; it goes away under the running viewer.
    fs::remove_all(dir.file("quake/sos"));
    testing::internal::CaptureStderr();
    ASSERT_TRUE(runUntil([&] { return frame->run().clock >= 40 && !boxes.calls().empty(); }));
    frame->layoutWindow()->globe()->finishExport();
    const std::string printed = testing::internal::GetCapturedStderr();
    for (float t = 10; t <= 30; t += 5)
        EXPECT_NE(printed.find("quake/sos/earth/" + frameName(t) + ": No such file or directory"),
                  std::string::npos)
            << t << "\n" << printed;
    ASSERT_EQ(boxes.calls().size(), 1u);
    // Named as the program knows it, under the working directory.
    EXPECT_EQ(boxes.calls()[0].text,
              "Unable to write frame quake/sos/earth/000010.png: No such file or directory");
    EXPECT_EQ(boxes.calls()[0].icon, MessageIcon::Exclamation);
    // The run goes on; frames land again once the directory is back.
    fs::create_directories(earthDir());
    const float from = frame->run().clock;
    ASSERT_TRUE(runUntil([&] { return frame->run().clock >= from + 20; }));
    frame->layoutWindow()->globe()->finishExport();
    EXPECT_FALSE(filesWritten().empty());
    EXPECT_EQ(boxes.calls().size(), 1u);
}

}  // namespace
}  // namespace orvane
