// The tutorial script file: one entry per line piece of at most 39
// characters, fields that do not scan keep the previous entry's values.
#include "app/run_state.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/temp_dir.h"

namespace orvane {
namespace {

std::vector<TutorialEntry> load(const std::string& text, bool* opened = nullptr) {
    TempDir dir;
    std::ofstream(dir.file("tutorial.txt"), std::ios::binary) << text;
    std::vector<TutorialEntry> list{{"stale", 1, 1}};
    bool ok = loadTutorialList(dir.file("tutorial.txt"), list);
    if (opened) *opened = ok;
    return list;
}

TEST(TutorialListTest, ReadsShowAfterWaitLimitAndTopic) {
    auto list = load("0 60 intro.txt\n120 30 pwaves.txt\r\n");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].showAfter, 0u);
    EXPECT_EQ(list[0].waitLimit, 60u);
    EXPECT_EQ(list[0].topic, "intro.txt");
    EXPECT_EQ(list[1].showAfter, 120u);
    EXPECT_EQ(list[1].waitLimit, 30u);
    EXPECT_EQ(list[1].topic, "pwaves.txt");
}

TEST(TutorialListTest, MissingFileLeavesTheListEmpty) {
    std::vector<TutorialEntry> list{{"stale", 1, 1}};
    EXPECT_FALSE(loadTutorialList("/nonexistent/dir/tutorial.txt", list));
    EXPECT_TRUE(list.empty());
}

TEST(TutorialListTest, PartialLinesStillAppendAndKeepEarlierValues) {
    auto list = load("10 20 first\n30\n\nx 5 word\n40 50\n");
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[1].showAfter, 30u);
    EXPECT_EQ(list[1].waitLimit, 20u);
    EXPECT_EQ(list[1].topic, "first");
    // An empty line and an unscannable line repeat the previous entry.
    EXPECT_EQ(list[2].showAfter, 30u);
    EXPECT_EQ(list[3].showAfter, 30u);
    EXPECT_EQ(list[3].topic, "first");
    EXPECT_EQ(list[4].showAfter, 40u);
    EXPECT_EQ(list[4].waitLimit, 50u);
    EXPECT_EQ(list[4].topic, "first");
}

TEST(TutorialListTest, LongLinesAreReadInPiecesAndTopicsAreBounded) {
    // 39 characters make one read; the rest of the line is the next piece.
    std::string line = "1 2 " + std::string(35, 'a') + "7 8 tail\n";
    auto list = load(line);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].topic, std::string(15, 'a'));
    EXPECT_EQ(list[1].showAfter, 7u);
    EXPECT_EQ(list[1].topic, "tail");
}

TEST(TutorialListTest, NegativeAndHugeNumbersDoNotScan) {
    auto list = load("5 6 ok\n-1 9 neg\n99999999999 7 big\n");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1].showAfter, 5u);
    EXPECT_EQ(list[1].topic, "ok");
    EXPECT_EQ(list[2].showAfter, 5u);
}

TEST(TutorialListTest, BinaryGarbageNeverOverrunsAField) {
    std::string junk;
    for (int i = 0; i < 5000; ++i) junk.push_back(static_cast<char>((i * 37) & 0xFF));
    auto list = load(junk);
    for (const auto& e : list) EXPECT_LE(e.topic.size(), TutorialEntry::kTopicWidth);
}

}  // namespace
}  // namespace orvane
