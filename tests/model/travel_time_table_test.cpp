#include "model/travel_time_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "model/table_writers.h"
#include "tests/support/temp_dir.h"

namespace orvane {
namespace {

void put16(std::string& out, int v) {
    out.push_back(static_cast<char>(v & 0xff));
    out.push_back(static_cast<char>((v >> 8) & 0xff));
}

void put32(std::string& out, std::int32_t v) {
    put16(out, v & 0xffff);
    put16(out, (v >> 16) & 0xffff);
}

struct Record {
    std::string name;
    int waveType = 1;
    int stepTime = 0;
    std::vector<std::pair<int, int>> points;
    int pointCount = -1;  // the stored count when it differs from points.size()
};

std::string encode(const Record& r) {
    std::string out = r.name.substr(0, 12);
    out.resize(12, '\0');
    put16(out, r.waveType);
    put16(out, r.stepTime);
    put16(out, r.pointCount >= 0 ? r.pointCount : static_cast<int>(r.points.size()));
    put16(out, 0xABCD);  // reserved
    for (auto [along, across] : r.points) {
        put16(out, along);
        put16(out, across);
    }
    return out;
}

struct Seen {
    std::string name;
    int waveType;
    int stepTime;
    std::vector<std::pair<int, int>> points;
};

class WavefrontTable : public ::testing::Test {
  protected:
    void write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir.file(name), std::ios::binary) << bytes;
    }
    // Writes records as the data file and an index entry at the first record
    // of each listed position (or the given raw offsets).
    bool make(const std::vector<Record>& records, const std::vector<std::int32_t>& offsets) {
        std::string data, index;
        for (const Record& r : records) data += encode(r);
        for (std::int32_t o : offsets) put32(index, o);
        write("T.INX", index);
        write("T.BIN", data);
        return table.load(dir.file("T.INX"), dir.file("T.BIN"));
    }
    // Byte offset of record k among records.
    static std::int32_t offsetOf(const std::vector<Record>& records, std::size_t k) {
        std::int32_t o = 0;
        for (std::size_t i = 0; i < k; ++i)
            o += static_cast<std::int32_t>(encode(records[i]).size());
        return o;
    }
    std::vector<Seen> read(int t, TravelTimeTable::WantRecord want = {}) {
        std::vector<Seen> seen;
        table.readTimeStep(t, want, [&](const WavefrontRecord& r) {
            Seen s{std::string(r.phaseName), r.waveType, r.stepTime, {}};
            for (const WavefrontPoint& p : r.points) s.points.emplace_back(p.along, p.across);
            seen.push_back(s);
        });
        return seen;
    }
    std::vector<std::string> names(int t, TravelTimeTable::WantRecord want = {}) {
        std::vector<std::string> out;
        for (const Seen& s : read(t, want)) out.push_back(s.name);
        return out;
    }

    TempDir dir;
    TravelTimeTable table;
};

using Names = std::vector<std::string>;

// Steps 0, 10 and 20 with two records each; index entries at each step.
std::vector<Record> threeSteps() {
    std::vector<Record> r;
    for (int step : {0, 10, 20}) {
        r.push_back({"P" + std::to_string(step), 1, step, {{6000, 10}, {-300, step}}});
        r.push_back({"S" + std::to_string(step), 2, step, {{5000, -20}}});
    }
    return r;
}

TEST(TablePair, ChosenByDepthStrictlyAbove300) {
    EXPECT_EQ(travelTimeTableNames(0).index, "OV0.INX");
    EXPECT_EQ(travelTimeTableNames(300).index, "OV0.INX");
    EXPECT_EQ(travelTimeTableNames(300).data, "OV0.BIN");
    EXPECT_EQ(travelTimeTableNames(300.5f).index, "OV600.INX");
    EXPECT_EQ(travelTimeTableNames(300.5f).data, "OV600.BIN");
}

TEST_F(WavefrontTable, LoadsThePairOfTheDepthThroughTheResolver) {
    for (const char* base : {"ov0", "ov600"}) {
        std::string index;
        put32(index, 0);
        write(std::string(base) + ".inx", index);
        write(std::string(base) + ".bin", encode({base, 1, 5, {{1, 2}}}));
    }
    auto lower = [this](const std::string& name) {
        std::string n = name;
        for (char& c : n) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return dir.file(n);
    };
    ASSERT_TRUE(table.loadTravelTimeTables(300, lower));
    EXPECT_EQ(names(3), Names{"ov0"});
    ASSERT_TRUE(table.loadTravelTimeTables(300.5f, lower));
    EXPECT_EQ(names(3), Names{"ov600"});
    // Without the deep data file the table is unavailable, quietly.
    std::filesystem::remove(dir.file("ov600.bin"));
    EXPECT_FALSE(table.loadTravelTimeTables(650, lower));
    EXPECT_FALSE(table.available());
    EXPECT_TRUE(names(3).empty());
}

TEST_F(WavefrontTable, TenByteIndexHasTwoEntries) {
    std::vector<Record> records = threeSteps();
    std::string index;
    put32(index, 0);
    put32(index, offsetOf(records, 2));
    index += "\x01\x02";
    write("T.INX", index);
    std::string data;
    for (const Record& r : records) data += encode(r);
    write("T.BIN", data);
    ASSERT_TRUE(table.load(dir.file("T.INX"), dir.file("T.BIN")));
    EXPECT_EQ(table.entryCount(), 2u);
    EXPECT_EQ(table.timeStep(), 10);
    EXPECT_EQ(names(15), (Names{"P10", "S10"}));
    EXPECT_TRUE(names(20).empty());  // entry 2 is beyond the index
}

TEST_F(WavefrontTable, ClockRoundsDownToAWholeStep) {
    std::vector<Record> r = threeSteps();
    ASSERT_TRUE(make(r, {0, offsetOf(r, 2), offsetOf(r, 4)}));
    EXPECT_EQ(table.timeStep(), 10);
    EXPECT_TRUE(names(0).empty());
    EXPECT_TRUE(names(-7).empty());
    for (int t = 1; t <= 9; ++t) EXPECT_EQ(names(t), (Names{"P0", "S0"})) << t;
    for (int t = 10; t <= 19; ++t) EXPECT_EQ(names(t), (Names{"P10", "S10"})) << t;
    EXPECT_EQ(names(29), (Names{"P20", "S20"}));  // last step runs to the end of file
    EXPECT_TRUE(names(30).empty());
    EXPECT_TRUE(names(32767).empty());
    // Ticks may go backwards: every read seeks afresh.
    EXPECT_EQ(names(5), (Names{"P0", "S0"}));
}

TEST_F(WavefrontTable, RecordsArriveWithTheirValues) {
    std::vector<Record> r = threeSteps();
    r[2].points = {{-32768, 32767}, {0, -1}, {1234, -4321}};
    ASSERT_TRUE(make(r, {0, offsetOf(r, 2)}));
    std::vector<Seen> seen = read(10);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].name, "P10");
    EXPECT_EQ(seen[0].waveType, 1);
    EXPECT_EQ(seen[0].stepTime, 10);
    EXPECT_EQ(seen[0].points,
              (std::vector<std::pair<int, int>>{{-32768, 32767}, {0, -1}, {1234, -4321}}));
    EXPECT_EQ(seen[1].waveType, 2);
    EXPECT_EQ(seen[1].points, (std::vector<std::pair<int, int>>{{5000, -20}}));
}

TEST_F(WavefrontTable, StepTimeZeroRecordsAreSkippedForTheStepButReadAtEntryZero) {
    std::vector<Record> r = {
        {"A", 1, 0, {{1, 1}}}, {"B", 2, 0, {{2, 2}, {3, 3}}}, {"C", 1, 30, {{4, 4}}}};
    ASSERT_TRUE(make(r, {0, offsetOf(r, 2)}));
    EXPECT_EQ(table.timeStep(), 30);
    EXPECT_EQ(names(29), (Names{"A", "B"}));
    EXPECT_EQ(names(30), Names{"C"});
}

TEST_F(WavefrontTable, UnwantedAndEmptyRecordsAreSkippedUnread) {
    std::vector<Record> r = {{"P", 1, 10, {{1, 1}}},
                             {"PKP", 1, 10, {}},
                             {"S", 2, 10, {{2, 2}}},
                             {"PcP", 1, 10, {{3, 3}}}};
    ASSERT_TRUE(make(r, {0}));
    std::vector<std::string> asked;
    auto onlyP = [&](std::string_view name) {
        asked.emplace_back(name);
        return name.starts_with("P");
    };
    EXPECT_EQ(names(5, onlyP), (Names{"P", "PcP"}));
    // The record without points never reaches the visitor, wanted or not.
    EXPECT_EQ(names(5), (Names{"P", "S", "PcP"}));
    EXPECT_EQ(std::count(asked.begin(), asked.end(), "S"), 1);
}

TEST_F(WavefrontTable, StepEndsAtADifferentTimeWhateverTheIndexSays) {
    // Entry 1 points into the middle of step 10; reading goes on only while
    // the step time stays that of the first header read.
    std::vector<Record> r = {{"A", 1, 10, {{1, 1}}},
                             {"B", 1, 10, {{1, 1}}},
                             {"C", 1, 10, {{1, 1}}},
                             {"D", 1, 7, {{1, 1}}},
                             {"E", 1, 10, {{1, 1}}}};
    ASSERT_TRUE(make(r, {0, offsetOf(r, 1), offsetOf(r, 3)}));
    EXPECT_EQ(names(1), (Names{"A", "B", "C"}));
    EXPECT_EQ(names(10), (Names{"B", "C"}));
    EXPECT_EQ(names(20), Names{"D"});
}

TEST_F(WavefrontTable, IndexEntriesOutsideTheDataFileReadNothing) {
    std::vector<Record> r = threeSteps();
    r[2].points.clear();  // reading step 0 then stops just before the header of S10
    std::int32_t size = offsetOf(r, r.size());
    ASSERT_TRUE(make(r, {offsetOf(r, 0), -20, size, size - 10, 2000000000, offsetOf(r, 4)}));
    for (int t : {15, 25, 35, 45}) {
        // A bad entry must not continue from where the previous read stopped.
        EXPECT_EQ(names(5), (Names{"P0", "S0"}));
        EXPECT_TRUE(names(t).empty()) << t;
        EXPECT_EQ(names(55), (Names{"P20", "S20"})) << t;
    }
}

TEST_F(WavefrontTable, PointCountBeyondTheFileEndsTheStep) {
    std::vector<Record> r = {
        {"A", 1, 10, {{1, 1}}}, {"B", 1, 10, {{2, 2}}, 65535}, {"C", 1, 10, {{3, 3}}}};
    ASSERT_TRUE(make(r, {0}));
    EXPECT_EQ(names(5), Names{"A"});
    // Also when the record is not wanted (skipping past the end).
    EXPECT_TRUE(names(5, [](std::string_view n) { return n != "A"; }).empty());
    // A step cut inside its last record's points keeps what was read before.
    std::string data = encode(r[0]) + encode({"Z", 2, 10, {{5, 5}, {6, 6}}});
    data.resize(data.size() - 2);
    write("T.BIN", data);
    ASSERT_TRUE(table.load(dir.file("T.INX"), dir.file("T.BIN")));
    EXPECT_EQ(names(5), Names{"A"});
}

TEST_F(WavefrontTable, DataFileWithoutAPositiveStepIsUnavailable) {
    // Only step-0 records: the search stops at the end of the file.
    EXPECT_FALSE(make({{"A", 1, 0, {{1, 1}}}, {"B", 1, 0, {}}}, {0}));
    EXPECT_FALSE(table.available());
    EXPECT_EQ(table.timeStep(), 0);
    EXPECT_TRUE(names(5).empty());
    // A step-0 record whose points run past the end.
    EXPECT_FALSE(make({{"A", 1, 0, {{1, 1}}, 9000}, {"B", 1, 10, {}}}, {0}));
    // A negative step time would give negative entry numbers.
    EXPECT_FALSE(make({{"A", 1, 0, {}}, {"B", 1, -10, {{1, 1}}}, {"C", 1, 10, {}}}, {0}));
    // Empty data file, and one shorter than a header.
    EXPECT_FALSE(make({}, {0}));
    write("T.BIN", std::string(19, '\x05'));
    EXPECT_FALSE(table.load(dir.file("T.INX"), dir.file("T.BIN")));
}

TEST_F(WavefrontTable, EmptyOrTruncatedIndex) {
    std::vector<Record> r = threeSteps();
    EXPECT_FALSE(make(r, {}));  // empty index: nothing could ever be drawn
    EXPECT_FALSE(table.available());
    EXPECT_TRUE(names(5).empty());
    // Three bytes: not one whole entry.
    write("T.INX", std::string("\0\0\0", 3));
    EXPECT_FALSE(table.load(dir.file("T.INX"), dir.file("T.BIN")));
    // Six bytes: one entry, the rest ignored.
    write("T.INX", std::string("\0\0\0\0\x7f\x7f", 6));
    ASSERT_TRUE(table.load(dir.file("T.INX"), dir.file("T.BIN")));
    EXPECT_EQ(table.entryCount(), 1u);
    EXPECT_EQ(names(9), (Names{"P0", "S0"}));
    EXPECT_TRUE(names(10).empty());
}

TEST_F(WavefrontTable, MissingFilesOrDirectoriesLeaveItUnavailable) {
    std::vector<Record> r = threeSteps();
    ASSERT_TRUE(make(r, {0}));
    EXPECT_FALSE(table.load(dir.file("none.inx"), dir.file("T.BIN")));
    EXPECT_FALSE(table.available());
    EXPECT_EQ(table.entryCount(), 0u);
    std::filesystem::create_directory(dir.path() / "D.BIN");
    EXPECT_FALSE(table.load(dir.file("T.INX"), dir.file("D.BIN")));
    EXPECT_FALSE(table.load(dir.path().string(), dir.file("T.BIN")));
    // Reloading a good pair after failures works.
    EXPECT_TRUE(table.load(dir.file("T.INX"), dir.file("T.BIN")));
}

TEST_F(WavefrontTable, HugeIndexKeepsOnlyReachableEntries) {
    std::vector<Record> r = {{"A", 1, 1, {{1, 1}}}};
    ASSERT_TRUE(make(r, std::vector<std::int32_t>(40000, 0)));
    EXPECT_EQ(table.entryCount(), 32768u);
    EXPECT_EQ(names(32767), Names{"A"});
}

TEST_F(WavefrontTable, LongNameWithoutTerminatorIsCut) {
    std::string data = encode({"ABCDEFGHIJKL", 1, 10, {{1, 1}}});
    ASSERT_EQ(data.substr(0, 12), "ABCDEFGHIJKL");
    std::string index;
    put32(index, 0);
    write("T.INX", index);
    write("T.BIN", data);
    ASSERT_TRUE(table.load(dir.file("T.INX"), dir.file("T.BIN")));
    EXPECT_EQ(names(1), Names{"ABCDEFGHIJK"});
}

TEST_F(WavefrontTable, ReadsWhatTheTableWriterEncodes) {
    std::vector<WavefrontStep> steps = {
        {0, {}},
        {10,
         {{"P", kWaveTypeP, {{6000, 0}, {5990, 120}, {-6371, 32767}}},
          {"S", kWaveTypeS, {{10, 20}}}}},
        {20, {}},
        {30, {{"PKIKP", kWaveTypeP, {{-1, -2}}}}}};
    EncodedWavefronts encoded = encodeWavefronts(steps);
    write("W.INX", encoded.index);
    write("W.BIN", encoded.data);
    ASSERT_TRUE(table.load(dir.file("W.INX"), dir.file("W.BIN")));
    EXPECT_EQ(table.timeStep(), 10);
    EXPECT_EQ(table.entryCount(), 4u);
    std::vector<Seen> seen = read(19);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].name, "P");
    EXPECT_EQ(seen[0].waveType, kWaveTypeP);
    EXPECT_EQ(seen[0].points,
              (std::vector<std::pair<int, int>>{{6000, 0}, {5990, 120}, {-6371, 32767}}));
    EXPECT_EQ(seen[1].name, "S");
    EXPECT_EQ(seen[1].waveType, kWaveTypeS);
    EXPECT_TRUE(read(5).empty());
    EXPECT_TRUE(read(25).empty());
    EXPECT_EQ(names(30), Names{"PKIKP"});
    EXPECT_TRUE(read(40).empty());
}

}  // namespace
}  // namespace orvane
