// The program's output as the viewer reads it: the eight table files read
// back through the viewer's own readers, and the same bytes on every run.
#include "tools/tables/table_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "data/files.h"
#include "model/travel_time_curve.h"
#include "model/travel_time_table.h"
#include "model/travel_times.h"
#include "model/wavefronts.h"
#include "tests/support/temp_dir.h"
#include "tools/tables/preview.h"

namespace orvane {
namespace {

const char* const kFiles[] = {"P.JB",    "S.JB",    "PP.JB",     "SS.JB",
                              "OV0.INX", "OV0.BIN", "OV600.INX", "OV600.BIN"};

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// One run of the program shared by the tests (it takes a few seconds).
class TableFiles : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        fronts_ = new std::vector<WavefrontTableSet>;
        std::string error;
        ok_ = writeSeismicTables(dir_->path().string(), error, fronts_);
        error_ = error;
    }
    static void TearDownTestSuite() {
        delete fronts_;
        delete dir_;
    }
    void SetUp() override { ASSERT_TRUE(ok_) << error_; }

    static std::string file(const char* name) { return dir_->file(name); }
    static PathResolver inDir() {
        return [](const std::string& name) { return dir_->file(name); };
    }

    static inline TempDir* dir_ = nullptr;
    static inline std::vector<WavefrontTableSet>* fronts_ = nullptr;
    static inline bool ok_ = false;
    static inline std::string error_;
};

TEST_F(TableFiles, WritesAllEightFiles) {
    for (const char* name : kFiles) EXPECT_GT(std::filesystem::file_size(file(name)), 0u) << name;
}

TEST_F(TableFiles, TravelTimeTablesReadBackAsCurves) {
    // Whole seconds as the viewer rounds them: P 30, 60, 90 deg and S 30, 60
    // deg of the published surface-focus figures.
    TravelTimeCurve p = loadTravelTimeCurve("P", 0.0f, inDir());
    TravelTimeCurve s = loadTravelTimeCurve("S", 10.0f, inDir());
    TravelTimeCurve pp = loadTravelTimeCurve("PP", 0.0f, inDir());
    ASSERT_EQ(p.count, kCurveEntries);
    ASSERT_EQ(s.count, kCurveEntries);
    ASSERT_EQ(pp.count, kCurveEntries);
    EXPECT_EQ(p.times[30], 370.0f);
    EXPECT_EQ(p.times[60], 608.0f);
    EXPECT_EQ(p.times[90], 781.0f);
    EXPECT_EQ(s.times[30], 669.0f);
    EXPECT_EQ(s.times[60], 1102.0f);
    EXPECT_NEAR(pp.times[60], 2 * 370.3f, 1.0f);
    // Distances looked up by time: P reaches 30 deg at 370.3 s.
    EXPECT_NEAR(interpolateTable(p.keys(), curveDistances(), p.count, 370.0f), 30.0f, 0.01f);

    for (const std::string& phase : travelTimeTablePhases()) {
        for (float depth : {0.0f, 33.0f, 300.0f, 600.0f, 800.0f}) {
            TravelTimeCurve c = loadTravelTimeCurve(phase, depth, inDir());
            ASSERT_EQ(c.count, kCurveEntries) << phase;
            for (int d = 1; d < kCurveEntries; ++d)
                ASSERT_GE(c.times[d], c.times[d - 1]) << phase << " " << depth << " km, " << d;
        }
        // Deeper foci arrive earlier far away.
        TravelTimeCurve shallow = loadTravelTimeCurve(phase, 0.0f, inDir());
        TravelTimeCurve deep = loadTravelTimeCurve(phase, 600.0f, inDir());
        EXPECT_LT(deep.times[90], shallow.times[90]) << phase;
    }
    // Every line: a 5-character label and 14 columns of 7.
    std::istringstream lines(contents(file("P.JB")));
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        EXPECT_EQ(line.size(), 5u + 14 * 7) << count;
        EXPECT_EQ(std::stoi(line.substr(0, 5)), count);
        ++count;
    }
    EXPECT_EQ(count, kCurveEntries);
}

TEST_F(TableFiles, WavefrontTablesReadBackStepByStep) {
    for (float depth : {0.0f, 600.0f}) {
        TravelTimeTable table;
        ASSERT_TRUE(table.loadTravelTimeTables(depth, inDir())) << depth;
        EXPECT_EQ(table.timeStep(), 10);
        EXPECT_EQ(table.entryCount(), 361u);
        bool buried = depth > 0;
        auto names = wavefrontPhases(buried);
        std::set<std::string> seen;
        for (int t = 1; t <= 3600; t += 7) {
            std::set<std::string> phases;
            table.readTimeStep(
                t, [](std::string_view) { return true; },
                [&](const WavefrontRecord& r) {
                    // The clock rounds down to the step: 10 s steps.
                    EXPECT_EQ(r.stepTime, t / 10 * 10);
                    EXPECT_TRUE(r.waveType == 1 || r.waveType == 2);
                    EXPECT_FALSE(r.points.empty());
                    seen.insert(std::string(r.phaseName));
                    phases.insert(std::string(r.phaseName));
                });
            // Waves are still travelling in the last minute of the hour.
            if (t >= 300) {
                EXPECT_GE(phases.size(), 3u) << t << " s, depth " << depth;
            } else if (t >= 20) {
                EXPECT_FALSE(phases.empty()) << t;
            }
        }
        for (const std::string& name : names) EXPECT_TRUE(seen.count(name)) << name << " " << depth;
        // Nothing before the first step, nothing after the last.
        int any = 0;
        table.readTimeStep(
            0, [](std::string_view) { return true; }, [&](auto&) { ++any; });
        table.readTimeStep(
            3610, [](std::string_view) { return true; }, [&](auto&) { ++any; });
        EXPECT_EQ(any, 0);
    }
}

// PP from a deep focus is born some 28 degrees out, when both its legs can
// turn below the focus; the globe shows its circle from then on, not before.
TEST_F(TableFiles, GlobeShowsPPFromADeepFocusOnlyOnceItIsBorn) {
    TravelTimeCurve p = loadTravelTimeCurve("P", 600.0f, inDir());
    TravelTimeCurve pp = loadTravelTimeCurve("PP", 600.0f, inDir());
    ASSERT_EQ(pp.count, kCurveEntries);
    float born = pp.times[kCurveEntries - 1];
    double bornAt = 0;
    for (double d = 0; d < 60; d += 0.05) {
        auto a = travelTime("PP", d, tableColumnDepth(depthColumn(600.0f)));
        if (a && a->time < born) {
            born = static_cast<float>(a->time);
            bornAt = d;
        }
    }
    EXPECT_GT(bornAt, 20);
    // The globe draws PP beyond 15 degrees.
    for (float t = 0; t < born - 5; t += 1)
        ASSERT_LE(interpolateTable(pp.keys(), curveDistances(), pp.count, t), 15.0f) << t;
    EXPECT_NEAR(interpolateTable(pp.keys(), curveDistances(), pp.count, born), bornAt, 1.5f);
    // Nearer, a station's PP mark comes after its P.
    for (int d = 0; d < bornAt; ++d) EXPECT_GT(pp.times[d], p.times[d] + 100) << d;
}

TEST_F(TableFiles, IndexEntriesPointAtTheirOwnStep) {
    for (const char* stem : {"OV0", "OV600"}) {
        std::string index = contents(file((std::string(stem) + ".INX").c_str()));
        std::string data = contents(file((std::string(stem) + ".BIN").c_str()));
        ASSERT_EQ(index.size(), 361u * 4);
        auto u16 = [&](std::size_t at) {
            return unsigned(std::uint8_t(data[at])) | unsigned(std::uint8_t(data[at + 1])) << 8;
        };
        std::int32_t previous = -1;
        for (int i = 0; i < 361; ++i) {
            std::uint32_t offset = 0;
            for (int b = 0; b < 4; ++b)
                offset |= unsigned(std::uint8_t(index[4 * i + b])) << (8 * b);
            ASSERT_GT(std::int32_t(offset), previous);
            ASSERT_LE(offset + 20, data.size());
            EXPECT_EQ(u16(offset + 14), unsigned(i * 10)) << stem << " entry " << i;
            previous = std::int32_t(offset);
        }
        // The first step (time 0) is a single empty record; the viewer takes the
        // step length from the first nonzero stepTime, which is 10.
        EXPECT_EQ(u16(14), 0u);
        EXPECT_EQ(u16(16), 0u);
        EXPECT_EQ(u16(20 + 14), 10u);
    }
}

TEST_F(TableFiles, SameBytesOnEveryRun) {
    TempDir again;
    std::string error;
    ASSERT_TRUE(writeSeismicTables(again.path().string(), error)) << error;
    for (const char* name : kFiles)
        EXPECT_EQ(contents(file(name)), contents(again.file(name))) << name;
}

TEST_F(TableFiles, PreviewIsAPngPerTime) {
    ASSERT_EQ(fronts_->size(), 2u);
    std::string path = dir_->file("preview.png");
    ASSERT_TRUE(writeWavefrontPreview((*fronts_)[0].steps, 600, path, 200));
    std::string png = contents(path);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_FALSE(writeWavefrontPreview((*fronts_)[0].steps, 600, dir_->file("no/such/dir.png")));
}

TEST(TableFilesErrors, UnwritableDirectoryIsReported) {
    TempDir dir;
    std::string blocker = dir.file("file");
    std::ofstream(blocker) << "x";
    std::string error;
    EXPECT_FALSE(writeSeismicTables(blocker + "/tables", error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace orvane
