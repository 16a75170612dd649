// The viewer in frame-export mode, started as the program starts: every
// frame of a run is on disk when the user leaves the event or the run ends,
// and a frame that cannot be written is reported while the run goes on.
#include <filesystem>
#include <set>

#include "app/layout_window.h"
#include "app/side_panel.h"
#include "platform/command_ids.h"
#include "tests/e2e/viewer_session.h"
#include "views/child_3d.h"
#include "views/frame_export.h"

namespace orvane::e2e {
namespace {

namespace fs = std::filesystem;

// Five seconds of clock a frame (40 / 8): frames 000010, 000015, ...
constexpr float kStep = 5;

class FrameExportRun : public ::testing::Test {
  protected:
    void start(const std::string& settingsLines, const std::string& eventLines = "") {
        s.settingsFile("SHOW WELCOME SCREEN: NO\nSHOW EVENT INFORMATION: NO\n"
                       "SELECT COMPONENTS: NO\nSCIENCE ON A SPHERE: YES\nLABEL PHASES ON EARTH VIEW: YES\n" +
                       settingsLines);
        s.addEvent(3000, "TIME ACCELERATION: 40\n" + eventLines);
        s.start();
        // A press on the event's label on the map starts it.
        ASSERT_TRUE(waitUntil([&] {
            return s.mapShown() && !catalogue.empty() && !catalogue[0].labelBox.empty();
        }));
        const Rect& box = catalogue[0].labelBox;
        press(s.frame().mapWindow(), {(box.left + box.right) / 2, (box.top + box.bottom) / 2});
        ASSERT_TRUE(waitUntil([&] { return s.layoutShown(); })) << "the event did not start";
    }

    std::string earth() const {
        return s.path(std::string(ViewerSession::kEventDirectory) + "/sos/earth");
    }

    std::set<std::string> written() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(earth()))
            names.insert(entry.path().filename().string());
        return names;
    }

    // Every frame from the run's second to clock `last` is there, complete,
    // and nothing else is. (The first tick may draw nothing: the press on
    // the map is input it leaves to be handled first.)
    void expectFramesUpTo(float last) const {
        const std::set<std::string> names = written();
        for (float t = 10 + kStep; t <= last; t += kStep)
            EXPECT_TRUE(names.count(frameName(t))) << t;
        for (const std::string& name : names)
            EXPECT_EQ(fs::path(name).extension(), ".png") << name;
    }

    ViewerSession s;
};

TEST_F(FrameExportRun, WorldMenuLeavesEveryFrameOfTheRunOnDisk) {
    ASSERT_NO_FATAL_FAILURE(start(""));
    ASSERT_TRUE(waitUntil([&] { return s.run().clock >= 120; }, 60000));
    // The ticks up to here had no input waiting, so each wrote its frame.
    const float pressedAt = s.run().clock;
    textButton* worldMenu = buttonNamed(s.frame().layoutWindow(), "World Menu");
    ASSERT_NE(worldMenu, nullptr);
    pressMiddle(worldMenu);
    ASSERT_TRUE(waitUntil([&] { return s.mapShown(); })) << "the map did not come back";
    expectFramesUpTo(pressedAt - kStep);
    EXPECT_TRUE(s.messages.calls().empty());
}

TEST_F(FrameExportRun, TheEndOfTheRunWaitsForItsFrames) {
    // The run ends past 150 s and the program exits a second later.
    ASSERT_NO_FATAL_FAILURE(start("EXIT WHEN DONE: YES\n", "TIME LIMIT: 150\n"));
    ASSERT_TRUE(waitUntil([&] { return !s.frame().isVisible(); }, 60000))
        << "the program did not end";
    expectFramesUpTo(150);
}

TEST_F(FrameExportRun, AnUnwritableFrameIsReportedOnceAndTheRunGoesOn) {
    ASSERT_NO_FATAL_FAILURE(start(""));
    ASSERT_TRUE(waitUntil([&] { return s.run().clock >= 20; }));
    // Event loading made the directories; they go away under the running viewer.
    fs::remove_all(s.path(std::string(ViewerSession::kEventDirectory) + "/sos"));
    const float from = s.run().clock;
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(waitUntil([&] { return s.run().clock >= from + 4 * kStep; }, 60000));
    s.frame().layoutWindow()->globe()->finishExport();
    const std::string printed = ::testing::internal::GetCapturedStderr();
    // Each lost frame on standard error, named with the system's reason.
    for (float t = from + kStep; t <= from + 3 * kStep; t += kStep)
        EXPECT_NE(printed.find(std::string(ViewerSession::kEventDirectory) + "/sos/earth/" +
                               frameName(t) + ": No such file or directory\n"),
                  std::string::npos)
            << t << "\n"
            << printed;
    // One message box, with the exclamation icon, once the tick is over.
    ASSERT_TRUE(waitUntil([&] { return !s.messages.calls().empty(); }));
    EXPECT_EQ(s.messages.calls()[0].icon, MessageIcon::Exclamation);
    EXPECT_NE(s.messages.calls()[0].text.find("No such file or directory"), std::string::npos);
    // The run goes on; frames land again once the directory is back.
    fs::create_directories(earth());
    const float back = s.run().clock;
    ASSERT_TRUE(waitUntil([&] { return s.run().clock >= back + 4 * kStep; }, 60000));
    s.frame().layoutWindow()->globe()->finishExport();
    EXPECT_FALSE(written().empty());
    EXPECT_EQ(s.messages.calls().size(), 1u);
}

}  // namespace
}  // namespace orvane::e2e
