#include "data/files.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using namespace orvane;

namespace {

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(CaseInsensitiveFiles, FindsNamesWhateverTheirCase) {
    TempDir dir;
    fs::create_directories(dir.path() / "1994011712");
    writeFile(dir.path() / "1994011712" / "ANMO.BHZ", "z");
    std::string asked = (dir.path() / "1994011712" / "anmo.bhz").string();
    EXPECT_EQ(resolvePath(asked), (dir.path() / "1994011712" / "ANMO.BHZ").string());
    // Directory components are matched too.
    std::string upperDir = (dir.path() / "1994011712" / "Anmo.Bhz").string();
    std::FILE* f = openFile(upperDir, "rb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(std::fgetc(f), 'z');
    std::fclose(f);
}

TEST(CaseInsensitiveFiles, ExactNameWinsAndMissingNamesStayAsGiven) {
    TempDir dir;
    writeFile(dir.path() / "ov.ini", "lower");
    writeFile(dir.path() / "OV.INI", "upper");
    EXPECT_EQ(resolvePath((dir.path() / "OV.INI").string()), (dir.path() / "OV.INI").string());
    // Two candidates that differ only in case: no guess is made.
    std::string ambiguous = (dir.path() / "Ov.Ini").string();
    EXPECT_EQ(resolvePath(ambiguous), ambiguous);
    std::string missing = (dir.path() / "nothere.txt").string();
    EXPECT_EQ(resolvePath(missing), missing);
    EXPECT_EQ(openFile(missing, "r"), nullptr);
}

TEST(CaseInsensitiveFiles, DirectoryIsNotOpenedAsFile) {
    TempDir dir;
    fs::create_directories(dir.path() / "sub");
    EXPECT_EQ(openFile((dir.path() / "sub").string(), "rb"), nullptr);
}

TEST(DirectoryListing, MatchesPatternWithoutCaseAndSortsLikeWindows) {
    TempDir dir;
    for (const char* n : {"b.evt", "A.EVT", "c.Evt", "notes.txt", "a2.evt"})
        writeFile(dir.path() / n, "");
    auto names = listDirectory(dir.path().string(), "*.evt");
    ASSERT_TRUE(names.has_value());
    std::vector<std::string> expected{"A.EVT", "a2.evt", "b.evt", "c.Evt"};
    EXPECT_EQ(*names, expected);
    EXPECT_FALSE(listDirectory((dir.path() / "none").string()).has_value());
}

TEST(DirectoryListing, WildcardEdgeCases) {
    EXPECT_TRUE(wildcardMatch("*", ""));
    EXPECT_TRUE(wildcardMatch("*", ".hidden"));
    EXPECT_TRUE(wildcardMatch("a?c", "ABC"));
    EXPECT_FALSE(wildcardMatch("a?c", "ac"));
    EXPECT_TRUE(wildcardMatch("*.*", "x.y.z"));
    EXPECT_FALSE(wildcardMatch("*.evt", "x.evt.bak"));
    // Many stars against a long name must not take exponential time.
    EXPECT_FALSE(wildcardMatch("*a*a*a*a*a*a*a*a*b", std::string(5000, 'a')));
}

TEST(LinePieces, ReadLikeABoundedLineBuffer) {
    TempDir dir;
    std::string longLine(200, 'x');
    writeFile(dir.path() / "t.txt", "short\n" + longLine + "\nlast");
    std::FILE* f = std::fopen((dir.path() / "t.txt").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::string piece;
    ASSERT_TRUE(readLinePiece(f, piece));
    EXPECT_EQ(piece, "short\n");
    ASSERT_TRUE(readLinePiece(f, piece));
    EXPECT_EQ(piece, std::string(79, 'x'));
    ASSERT_TRUE(readLinePiece(f, piece));
    EXPECT_EQ(piece, std::string(79, 'x'));
    ASSERT_TRUE(readLinePiece(f, piece));
    EXPECT_EQ(piece, std::string(42, 'x') + "\n");
    ASSERT_TRUE(readLinePiece(f, piece));
    EXPECT_EQ(piece, "last");
    EXPECT_FALSE(readLinePiece(f, piece));
    std::fclose(f);
}

TEST(LinePieces, NulBytesCutThePieceButNotTheFile) {
    TempDir dir;
    writeFile(dir.path() / "n.txt", std::string("ab\0cd\nnext\n", 11));
    std::FILE* f = std::fopen((dir.path() / "n.txt").c_str(), "rb");
    std::string piece;
    ASSERT_TRUE(readLinePiece(f, piece));
    EXPECT_EQ(piece, "ab");
    ASSERT_TRUE(readLinePiece(f, piece));
    EXPECT_EQ(piece, "next\n");
    std::fclose(f);
}

TEST(AtomicWrite, ReplacesTheFileAndKeepsItsPermissions) {
    TempDir dir;
    fs::path file = dir.path() / "OV.INI";
    writeFile(file, "old");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(writeFileAtomically(file.string(), "new content"));
    EXPECT_EQ(slurp(file), "new content");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(AtomicWrite, MissingDirectoryFails) {
    TempDir dir;
    EXPECT_FALSE(writeFileAtomically((dir.path() / "no" / "OV.INI").string(), "x"));
}

TEST(AtomicWrite, FullDiskLeavesTheOldFileUntouched) {
    TempDir dir;
    fs::path file = dir.path() / "data.evt";
    writeFile(file, "precious");
    std::string big(1 << 16, 'y');
    EXPECT_EQ(resultUnderFileSizeLimit([&] { return writeFileAtomically(file.string(), big); }, 1024),
              false);
    EXPECT_EQ(slurp(file), "precious");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}
