// Every reader meets files it did not write. These tests start from valid
// files, damage them at random (a fixed seed, so a failure repeats) and check
// that each reader still gives a bounded, finite result instead of crashing,
// hanging or reading out of bounds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <random>
#include <span>
#include <string>

#include "data/event.h"
#include "data/sac.h"
#include "data/settings.h"
#include "data/station.h"
#include "model/table_writers.h"
#include "model/travel_time_curve.h"
#include "model/travel_time_table.h"
#include "tests/data/trace_files.h"
#include "tests/support/temp_dir.h"

using namespace orvane;

namespace {

constexpr int kRounds = 150;

// One random kind of damage: flipped bytes, a cut, inserted junk, a repeated
// stretch, or a 32-bit word set to a value readers tend to trust.
std::string mutate(std::string bytes, std::mt19937& rng) {
    auto pick = [&rng](std::size_t n) {
        return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
    };
    switch (pick(5)) {
        case 0:
            for (int i = 0, n = 1 + static_cast<int>(pick(8)); i < n && !bytes.empty(); ++i)
                bytes[pick(bytes.size())] = static_cast<char>(pick(256));
            break;
        case 1:
            bytes.resize(pick(bytes.size() + 1));
            break;
        case 2: {
            std::string junk(1 + pick(300), '\0');
            for (char& c : junk) c = static_cast<char>(pick(256));
            bytes.insert(pick(bytes.size() + 1), junk);
            break;
        }
        case 3: {
            std::size_t from = pick(bytes.size() + 1);
            std::size_t length = pick(bytes.size() - from + 1);
            bytes.insert(pick(bytes.size() + 1), bytes.substr(from, length));
            break;
        }
        default: {
            static const std::uint32_t kWords[] = {0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x7FC00000,
                                                   0x7F800000, 0, 0xC6E6E400};
            if (bytes.size() < 4) break;
            std::size_t at = pick(bytes.size() / 4) * 4;
            std::uint32_t word = kWords[pick(std::size(kWords))];
            for (int b = 0; b < 4; ++b) bytes[at + b] = static_cast<char>(word >> (24 - 8 * b));
        }
    }
    return bytes;
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string validSac() {
    auto image = encodeSac(orvane::testing::typicalTrace());
    return std::string(image.begin(), image.end());
}

}  // namespace

TEST(MutatedFiles, SeismogramsStayWithinTheFile) {
    TempDir dir;
    std::mt19937 rng(20261208);
    const std::string valid = validSac();
    for (int round = 0; round < kRounds; ++round) {
        std::string bytes = mutate(valid, rng);
        writeBytes(dir.file("X.BHZ"), bytes);
        KSAC trace(dir.file("X.BHZ"), true);
        if (trace.npts() <= 0) continue;
        ASSERT_LE(trace.samples.size() * 4, bytes.size()) << round;
        for (float s : trace.samples) ASSERT_TRUE(std::isfinite(s)) << round;
        EXPECT_TRUE(std::isfinite(trace.startTime)) << round;
        EXPECT_TRUE(std::isfinite(trace.endTime)) << round;
        EXPECT_LE(trace.stationCode.size(), 8u);
    }
}

TEST(MutatedFiles, SettingsKeepTheirFieldWidths) {
    TempDir dir;
    std::mt19937 rng(7);
    Settings defaults;
    defaults.exitLabel = "Leave the exhibition";
    defaults.phases = {"PKP", "SKS"};
    const std::string valid = defaults.text();
    for (int round = 0; round < kRounds; ++round) {
        writeBytes(dir.file("OV.INI"), mutate(valid, rng));
        Settings s;
        s.read(dir.file("OV.INI"));
        EXPECT_LE(s.workingDirectory.size(), Settings::kWorkingDirectoryWidth);
        EXPECT_LE(s.exitLabel.size(), Settings::kExitLabelWidth);
        EXPECT_LE(s.tutorialEvent.size(), Settings::kTutorialEventWidth);
        for (const auto& phase : s.phases) EXPECT_LE(phase.size(), Settings::kPhaseNameWidth);
        EXPECT_TRUE(std::isfinite(s.buttonHeight) && s.buttonHeight > 0) << round;
        EXPECT_TRUE(s.audio >= 0 && s.audio <= 3);
        EXPECT_TRUE(s.view >= 0 && s.view <= 2);
    }
}

TEST(MutatedFiles, EventsKeepTheirFieldWidthsAndFiniteNumbers) {
    TempDir dir;
    std::mt19937 rng(11);
    Event source;
    source.name = "Tohoku, Japan";
    source.latitude = 38.297f;
    source.longitude = 142.373f;
    source.stationFiles.resize(3);
    source.stationFiles[0].fileName = "INCN.BHZ";
    source.stationFiles[1].fileName = "KIP.BHZ";
    source.stationFiles[2].fileName = "HOPE.BHE";
    const std::string valid = source.text({"INCN.BHZ", "KIP.BHZ", "HOPE.BHE"});
    for (int round = 0; round < kRounds; ++round) {
        writeBytes(dir.file("x.evt"), mutate(valid, rng));
        Event e(dir.file("x.evt"));
        EXPECT_LE(e.name.size(), Event::kNameWidth);
        EXPECT_LE(e.date.size(), Event::kTextWidth);
        EXPECT_LE(e.originTime.size(), Event::kTextWidth);
        EXPECT_LE(e.displayDate.size(), Event::kTextWidth);
        for (const auto& f : e.stationFiles) EXPECT_LE(f.fileName.size(), Event::kStationFileWidth);
        for (float v : {e.latitude, e.longitude, e.depth, e.magnitude, e.second})
            EXPECT_TRUE(std::isfinite(v)) << round;
    }
}

TEST(MutatedFiles, StationLinesGiveBoundedFields) {
    std::mt19937 rng(13);
    const std::string valid =
        "ANMO    Albuquerque, New Mexico, USA             34.9462N 106.4567W";
    for (int round = 0; round < kRounds; ++round) {
        std::string line = mutate(valid, rng);
        Station s{std::string_view(line)};
        EXPECT_LE(s.stationCode.size(), 8u);
        EXPECT_LE(s.stationName.size(), Station::kNameWidth);
        EXPECT_TRUE(std::isfinite(s.latitude) && std::isfinite(s.longitude)) << round;
    }
}

TEST(MutatedFiles, TravelTimeCurvesStayFiniteAndLookUpsStayInBounds) {
    TempDir dir;
    std::mt19937 rng(17);
    std::vector<std::vector<double>> columns(14, std::vector<double>(181));
    for (int c = 0; c < 14; ++c)
        for (int d = 0; d < 181; ++d) columns[c][d] = 10.0 * d + c;
    const std::string valid = formatTravelTimeTable(columns);
    for (int round = 0; round < kRounds; ++round) {
        writeBytes(dir.file("P.JB"), mutate(valid, rng));
        std::FILE* file = std::fopen(dir.file("P.JB").c_str(), "rb");
        ASSERT_NE(file, nullptr);
        TravelTimeCurve curve = readTravelTimeCurve(file, 100.0f);
        std::fclose(file);
        ASSERT_LE(curve.count, kCurveEntries);
        ASSERT_LE(static_cast<std::size_t>(curve.count), curve.times.size());
        for (int i = 0; i < curve.count; ++i) ASSERT_TRUE(std::isfinite(curve.times[i]));
        std::span<const float> times(curve.times.data(), curve.times.size());
        std::span<const float> degrees(curveDistances().data(), curveDistances().size());
        for (float x : {-5.0f, 0.0f, 37.5f, 180.0f, 900.0f}) {
            EXPECT_TRUE(std::isfinite(interpolateTable(degrees, times, curve.count, x)));
            EXPECT_TRUE(std::isfinite(interpolateTable(times, degrees, curve.count, x * 10)));
        }
    }
}

TEST(MutatedFiles, WavefrontStepsNeverReadPastTheData) {
    TempDir dir;
    std::mt19937 rng(19);
    std::vector<WavefrontStep> steps;
    for (int t = 0; t <= 100; t += 10) {
        WavefrontStep step{t, {}};
        for (const char* phase : {"P", "S", "PcP"}) {
            FrontRecord record{phase, 1, {}};
            for (int i = 0; i < 20; ++i)
                record.points.push_back({static_cast<std::int16_t>(6000 - t - i), static_cast<std::int16_t>(i * 50)});
            step.records.push_back(record);
        }
        steps.push_back(step);
    }
    const EncodedWavefronts valid = encodeWavefronts(steps);
    for (int round = 0; round < kRounds; ++round) {
        const bool damageIndex = round % 2 == 0;
        std::string index = damageIndex ? mutate(valid.index, rng) : valid.index;
        std::string data = damageIndex ? valid.data : mutate(valid.data, rng);
        writeBytes(dir.file("OV0.INX"), index);
        writeBytes(dir.file("OV0.BIN"), data);
        TravelTimeTable table;
        if (!table.load(dir.file("OV0.INX"), dir.file("OV0.BIN"))) continue;
        for (int t : {0, 5, 10, 55, 100, 1000, 32767}) {
            std::size_t points = 0;
            table.readTimeStep(t, {}, [&](const WavefrontRecord& r) { points += r.points.size(); });
            ASSERT_LE(points * 4, data.size()) << round << " t " << t;
        }
    }
}
