// The first start from a desktop launcher: the per-user working directory is
// made by the demonstration maker while a progress window shows its steps.
#include "app/user_directory.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <csignal>
#include <fstream>
#include <functional>

#include "data/files.h"
#include "platform/message_box.h"
#include "tests/support/temp_dir.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

// Watches the progress window while the maker runs: what it says at each
// change, and a chance to act on it.
class ProgressWatch {
  public:
    explicit ProgressWatch(std::function<void(QProgressDialog*)> act = {}) : act_(std::move(act)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(2);
    }
    const std::vector<std::string>& seen() const { return seen_; }
    int lastValue() const { return value_; }
    int lastMaximum() const { return maximum_; }

  private:
    void poll() {
        auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        const std::string text = dialog->labelText().toStdString();
        if (seen_.empty() || seen_.back() != text) seen_.push_back(text);
        value_ = dialog->value();
        maximum_ = dialog->maximum();
        if (act_) act_(dialog);
    }
    std::function<void(QProgressDialog*)> act_;
    std::vector<std::string> seen_;
    int value_ = -1, maximum_ = -1;
    QTimer timer_;
};

// A left click on whatever lies at the middle of `target`.
void clickOn(QWidget* target) {
    const QPoint global = target->mapToGlobal(target->rect().center());
    QWidget* under = QApplication::widgetAt(global);
    if (!under) under = target;
    const QPointF local = under->mapFromGlobal(QPointF(global));
    QMouseEvent press(QEvent::MouseButtonPress, local, QPointF(global), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(under, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, QPointF(global), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(under, &release);
}

class UserDirectoryTest : public ::testing::Test {
  protected:
    void SetUp() override { start_ = fs::current_path(); }
    void TearDown() override { fs::current_path(start_); }

    // A stand-in for orvane-demo: a shell script with the given body; "$1"
    // is the directory to fill.
    std::string maker(const std::string& body) {
        const std::string path = tools_.file("maker.sh");
        std::ofstream(path) << "#!/bin/sh\n" << body;
        fs::permissions(path, fs::perms::owner_all);
        return path;
    }
    // Names in the parent directory, hidden ones included.
    std::vector<std::string> parentEntries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(home_.path())) names.push_back(e.path().filename().string());
        return names;
    }
    fs::path target() const { return home_.path() / "orvane"; }

    fs::path start_;
    TempDir tools_, home_;
};

TEST_F(UserDirectoryTest, FirstStartFillsTheDirectoryWhileTheProgressWindowCountsTheSteps) {
    const std::string m = maker(
        "echo 'orvane-demo: step 1 of 3: tables'; sleep 0.3\n"
        "echo 'orvane-demo: step 2 of 3: pictures'; sleep 0.3\n"
        "echo 'orvane-demo: step 3 of 3: seismograms of Chile'; sleep 0.3\n"
        "echo 'WORKING DIRECTORY: ' > \"$1/OV.INI\"; echo x > \"$1/2010022706.evt\"\n");
    MessageBoxRecorder messages;
    ProgressWatch watch;
    EXPECT_EQ(enterUserDirectory(target(), m), UserDirectory::Ready);

    EXPECT_EQ(fs::current_path(), target());
    EXPECT_TRUE(fs::exists(target() / "OV.INI"));
    EXPECT_TRUE(fs::exists(target() / "2010022706.evt"));
    EXPECT_EQ(parentEntries(), std::vector<std::string>{"orvane"});  // no staging left
    EXPECT_TRUE(messages.calls().empty());
    ASSERT_GE(watch.seen().size(), 3u);
    EXPECT_NE(watch.seen().back().find("Step 3 of 3: seismograms of Chile"), std::string::npos);
    EXPECT_EQ(watch.lastMaximum(), 3);
}

TEST_F(UserDirectoryTest, ADirectoryWithDataIsUsedAsItIsAndAnEmptyOneIsFilled) {
    fs::create_directories(target());
    std::ofstream(target() / "OV.INI") << "MENU BAR: NO\n";
    // The maker would fail: it must not run.
    EXPECT_EQ(enterUserDirectory(target(), maker("exit 1\n")), UserDirectory::Ready);
    EXPECT_EQ(fs::current_path(), target());
    std::ifstream in(target() / "OV.INI");
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "MENU BAR: NO");

    fs::current_path(start_);
    fs::remove(target() / "OV.INI");
    EXPECT_EQ(enterUserDirectory(target(), maker("echo 1 > \"$1/a.evt\"\n")), UserDirectory::Ready);
    EXPECT_TRUE(fs::exists(target() / "a.evt"));
}

TEST_F(UserDirectoryTest, AFailingMakerIsReportedAndLeavesNothingBehind) {
    MessageBoxRecorder messages;
    const std::string m = maker(
        "echo 'orvane-demo: step 1 of 2: pictures'; echo half > \"$1/world.bmp\"\n"
        "echo 'orvane-demo: cannot read the Earth texture /usr/share/xplanet/images/earth.jpg' >&2; exit 1\n");
    EXPECT_EQ(enterUserDirectory(target(), m), UserDirectory::Failed);
    EXPECT_EQ(fs::current_path(), start_);
    EXPECT_TRUE(parentEntries().empty());
    ASSERT_EQ(messages.calls().size(), 1u);
    EXPECT_NE(messages.calls()[0].text.find("cannot read the Earth texture"), std::string::npos)
        << messages.calls()[0].text;

    // No maker installed at all, or one that cannot be started.
    EXPECT_EQ(enterUserDirectory(target(), ""), UserDirectory::Failed);
    EXPECT_EQ(enterUserDirectory(target(), tools_.file("missing")), UserDirectory::Failed);
    EXPECT_EQ(messages.calls().size(), 3u);
    EXPECT_TRUE(parentEntries().empty());
}

TEST_F(UserDirectoryTest, CancelStopsTheMakerAndLeavesNothingBehind) {
    const std::string pidFile = tools_.file("pid");
    const std::string m = maker("echo $$ > " + pidFile +
                                "\necho 'orvane-demo: step 1 of 9: tables'; echo t > \"$1/P.JB\"\n"
                                "exec sleep 60\n");
    bool clicked = false;
    ProgressWatch watch([&](QProgressDialog* dialog) {
        if (clicked || dialog->maximum() != 9) return;
        clicked = true;
        clickOn(dialog->findChild<QPushButton*>());
    });
    MessageBoxRecorder messages;
    EXPECT_EQ(enterUserDirectory(target(), m), UserDirectory::Cancelled);
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(messages.calls().empty());
    EXPECT_EQ(fs::current_path(), start_);
    EXPECT_TRUE(parentEntries().empty());
    std::ifstream in(pidFile);
    pid_t pid = 0;
    in >> pid;
    ASSERT_GT(pid, 0);
    EXPECT_NE(::kill(pid, 0), 0) << "the maker still runs";
}

TEST_F(UserDirectoryTest, TheDirectoryFollowsXdgDataHome) {
    const char* oldData = std::getenv("XDG_DATA_HOME");
    const char* oldHome = std::getenv("HOME");
    const std::string savedData = oldData ? oldData : "", savedHome = oldHome ? oldHome : "";
    setenv("HOME", "/home/teacher", 1);
    setenv("XDG_DATA_HOME", "/srv/data", 1);
    EXPECT_EQ(userWorkingDirectory(), fs::path("/srv/data/orvane"));
    // A relative value is not valid and is ignored, as is an empty one.
    setenv("XDG_DATA_HOME", "data", 1);
    EXPECT_EQ(userWorkingDirectory(), fs::path("/home/teacher/.local/share/orvane"));
    setenv("XDG_DATA_HOME", "", 1);
    EXPECT_EQ(userWorkingDirectory(), fs::path("/home/teacher/.local/share/orvane"));
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(userWorkingDirectory(), fs::path("/home/teacher/.local/share/orvane"));
    oldData ? setenv("XDG_DATA_HOME", savedData.c_str(), 1) : unsetenv("XDG_DATA_HOME");
    oldHome ? setenv("HOME", savedHome.c_str(), 1) : unsetenv("HOME");
}

// The real orvane-demo: its step lines drive the progress window to the end
// and the directory holds the seven events the viewer's map shows.
TEST_F(UserDirectoryTest, TheRealDemoMakerFillsTheDirectory) {
    ProgressWatch watch;
    MessageBoxRecorder messages;
    ASSERT_EQ(enterUserDirectory(target(), std::string(ORVANE_BINARY_DIR) + "/tools/orvane-demo"),
              UserDirectory::Ready)
        << (messages.calls().empty() ? "" : messages.calls()[0].text);
    EXPECT_EQ(listDirectory(target().string(), "*.evt").value_or(std::vector<std::string>{}).size(), 7u);
    EXPECT_TRUE(fs::exists(target() / "OV.INI"));
    EXPECT_TRUE(fs::exists(target() / "OV0.BIN"));
    EXPECT_EQ(watch.lastMaximum(), 10);
    ASSERT_FALSE(watch.seen().empty());
    EXPECT_NE(watch.seen().back().find("Step 10 of 10: seismograms of "), std::string::npos)
        << watch.seen().back();
    EXPECT_EQ(parentEntries(), std::vector<std::string>{"orvane"});
}

}  // namespace
}  // namespace orvane
