// The help launcher: the Windows help viewer when WINDIR is set, else the
// topic's HTML page; the message when neither can be opened.
#include "ui/help.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "../support/temp_dir.h"
#include "platform/message_box.h"

namespace orvane {
namespace {

struct Recorder : HelpLauncher {
    struct Calls {
        std::vector<std::pair<std::string, std::vector<std::string>>> programs;
        std::vector<std::string> files;
        bool succeed = true;
    };
    explicit Recorder(Calls& c) : calls(c) {}
    bool startProgram(const std::string& p, const std::vector<std::string>& a) override {
        calls.programs.push_back({p, a});
        return calls.succeed;
    }
    bool openFile(const std::string& path) override {
        calls.files.push_back(path);
        return calls.succeed;
    }
    Calls& calls;
};

// Runs each test in an empty directory with a recording launcher and a
// chosen WINDIR, and puts everything back afterwards.
class HelpTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* w = std::getenv("WINDIR");
        if (w) oldWindir = w;
        previous = setHelpLauncher(std::make_unique<Recorder>(calls));
    }
    void TearDown() override {
        setHelpLauncher(std::move(previous));
        if (oldWindir)
            setenv("WINDIR", oldWindir->c_str(), 1);
        else
            unsetenv("WINDIR");
    }
    std::string here() const { return std::filesystem::current_path().string(); }

    TempDir dir;
    ScopedCurrentDir cd{dir.path()};
    Recorder::Calls calls;
    std::unique_ptr<HelpLauncher> previous;
    std::optional<std::string> oldWindir;
    MessageBoxRecorder boxes;
};

TEST_F(HelpTest, WindirStartsHhWithTheTopic) {
    setenv("WINDIR", "/win", 1);
    EXPECT_TRUE(openHelp(1005));
    ASSERT_EQ(calls.programs.size(), 1u);
    EXPECT_EQ(calls.programs[0].first, "/win/hh.exe");
    EXPECT_EQ(calls.programs[0].second,
              (std::vector<std::string>{"-mapid", "1005", here() + "/ov.chm"}));
    // Topic 0: the whole help file without "-mapid".
    EXPECT_TRUE(openHelp(0));
    EXPECT_EQ(calls.programs[1].second, std::vector<std::string>{here() + "/ov.chm"});
    EXPECT_TRUE(calls.files.empty());
    EXPECT_TRUE(boxes.calls().empty());
}

TEST_F(HelpTest, ViewerThatCannotStartIsReportedWithTheHelpFile) {
    setenv("WINDIR", "/win", 1);
    calls.succeed = false;
    EXPECT_FALSE(openHelp(1020));
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.calls()[0].text, "Problem opening " + here() + "/ov.chm or MS hh.exe");
    EXPECT_EQ(boxes.calls()[0].icon, MessageIcon::Exclamation);
}

TEST_F(HelpTest, WithoutWindirTheTopicPageOpensInTheBrowser) {
    unsetenv("WINDIR");
    std::filesystem::create_directory("help");
    std::ofstream("help/1002.html") << "<html></html>";
    std::ofstream("help/INDEX.HTML") << "<html></html>";  // found without regard to case
    EXPECT_TRUE(openHelp(1002));
    EXPECT_TRUE(openHelp(0));
    EXPECT_EQ(calls.files,
              (std::vector<std::string>{here() + "/help/1002.html", here() + "/help/INDEX.HTML"}));
    EXPECT_TRUE(calls.programs.empty());
    EXPECT_TRUE(boxes.calls().empty());
}

TEST_F(HelpTest, MissingPageOrFailedBrowserShowsTheMessage) {
    setenv("WINDIR", "", 1);  // empty counts as unset
    EXPECT_FALSE(openHelp(1029));
    EXPECT_TRUE(calls.files.empty());  // nothing to open
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.calls()[0].text, "Problem opening " + here() + "/help/1029.html or MS hh.exe");

    std::filesystem::create_directory("help");
    std::ofstream("help/1029.html") << "x";
    calls.succeed = false;
    EXPECT_FALSE(openHelp(1029));
    EXPECT_EQ(calls.files.size(), 1u);
    EXPECT_EQ(boxes.calls().size(), 2u);
}

}  // namespace
}  // namespace orvane
