#include "data/sac.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "model/geometry.h"
#include "tests/data/trace_files.h"
#include "tests/support/temp_dir.h"

using namespace orvane;
using namespace orvane::testing;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

class SacTest : public ::testing::Test {
protected:
    std::string path(const std::string& name = "ANMO.BHZ") const { return dir.file(name); }

    KSAC loadBytes(const std::vector<unsigned char>& bytes, bool samples = true,
                   const TraceContext& context = {}) {
        writeBytes(path(), bytes);
        return KSAC(path(), samples, context);
    }

    static TraceContext atOrigin(double origin) {
        TraceContext c;
        c.originEpoch = origin;
        return c;
    }

    TempDir dir;
};

TEST_F(SacTest, WrittenTraceReadsBackWithHeaderAndStatistics) {
    SacTrace t = typicalTrace();
    t.samples[3] = -2500.0f;
    t.samples[7] = 4000.0f;
    ASSERT_TRUE(writeSac(path(), t));

    KSAC trace(path(), true);
    ASSERT_EQ(trace.npts(), 200);
    EXPECT_TRUE(trace.dataLoaded);
    EXPECT_EQ(trace.samples, t.samples);
    EXPECT_EQ(trace.plotOffsets.size(), 200u);
    EXPECT_EQ(trace.soundBytes.size(), 200u);
    EXPECT_FLOAT_EQ(trace.floatWord(sac::DELTA), 0.05f);
    EXPECT_FLOAT_EQ(trace.floatWord(sac::DEPMIN), -2500.0f);
    EXPECT_FLOAT_EQ(trace.floatWord(sac::DEPMAX), 4000.0f);
    double sum = 0;
    for (float v : t.samples) sum += v;
    EXPECT_NEAR(trace.floatWord(sac::DEPMEN), sum / 200, 1e-3);
    EXPECT_EQ(trace.stationCode, "ANMO");
    EXPECT_EQ(trace.charField(sac::KSTNM), "ANMO    ");
    EXPECT_EQ(trace.charField(sac::KCMPNM), "BHZ     ");
    EXPECT_EQ(trace.charField(sac::KNETWK), "IU      ");
    EXPECT_EQ(trace.charField(sac::KEVNM), "-12345          ");
    EXPECT_EQ(trace.fileName, "ANMO.BHZ");
    EXPECT_FLOAT_EQ(trace.stationLatitude, 34.9459f);
    EXPECT_FLOAT_EQ(trace.stationLongitude, -106.4572f);
    EXPECT_EQ(trace.month, 1);
    EXPECT_EQ(trace.day, 17);
}

TEST_F(SacTest, WriterFillsTheWordsOtherToolsNeed) {
    SacTrace t = typicalTrace(10);
    t.begin = 2.0f;
    std::vector<unsigned char> bytes = encodeSac(t);
    ASSERT_EQ(bytes.size(), 632u + 40u);
    // DELTA 0.05 is 0x3D4CCCCD, stored big-endian.
    EXPECT_EQ(bytes[0], 0x3D);
    EXPECT_EQ(bytes[3], 0xCD);

    KSAC trace = loadBytes(bytes, false);
    EXPECT_FALSE(trace.dataLoaded);
    EXPECT_TRUE(trace.samples.empty());
    EXPECT_EQ(trace.npts(), 10);
    EXPECT_EQ(trace.intWord(sac::NVHDR), 6);
    EXPECT_EQ(trace.intWord(sac::IFTYPE), sac::kTimeSeries);
    EXPECT_EQ(trace.intWord(sac::LEVEN), 1);
    EXPECT_EQ(trace.intWord(sac::CHECK_WORD), -12345);
    EXPECT_EQ(trace.intWord(sac::NZYEAR), 1994);
    EXPECT_EQ(trace.intWord(sac::NZJDAY), 17);
    EXPECT_EQ(trace.intWord(sac::NZMSEC), 400);
    EXPECT_FLOAT_EQ(trace.floatWord(sac::B), 2.0f);
    EXPECT_FLOAT_EQ(trace.floatWord(sac::E), 2.0f + 9 * 0.05f);
    EXPECT_FLOAT_EQ(trace.floatWord(sac::CMPINC), 0.0f);
    EXPECT_FLOAT_EQ(trace.floatWord(sac::EVDP), sac::kUndefinedFloat);
}

TEST_F(SacTest, HeaderAccessByIndexStaysInBounds) {
    ASSERT_TRUE(writeSac(path(), typicalTrace(5)));
    KSAC trace(path(), true);
    EXPECT_EQ(trace.floatWord(-1), sac::kUndefinedFloat);
    EXPECT_EQ(trace.floatWord(70), sac::kUndefinedFloat);
    EXPECT_EQ(trace.intWord(40), sac::kUndefinedInt);
    EXPECT_EQ(trace.charField(23), "");
    trace.setFloatWord(70, 1.0f);
    trace.setFloatWord(40, 7.5f);
    EXPECT_FLOAT_EQ(trace.floatWord(40), 7.5f);
    trace.setIntWord(7, 42);
    EXPECT_EQ(trace.intWord(7), 42);
    // NPTS describes the buffers and cannot be changed from outside.
    trace.setIntWord(sac::NPTS, 1000000);
    EXPECT_EQ(trace.npts(), 5);
}

TEST_F(SacTest, StartTimesAreRelativeToTheOrigin) {
    double reference = typicalReference();
    ASSERT_TRUE(writeSac(path(), typicalTrace()));
    // Reference 120 s after the origin, B = 0.
    KSAC late(path(), true, atOrigin(reference - 120));
    EXPECT_FLOAT_EQ(late.startTime, 120.0f);
    EXPECT_FLOAT_EQ(late.endTime, 120.0f + 199 * 0.05f);

    // Reference 30.5 s after the origin (the origin at 12:30:24.900).
    KSAC close(path(), true, atOrigin(epochSeconds(1994, 1, 17, 12, 30, 24, 900)));
    EXPECT_FLOAT_EQ(close.startTime, 30.5f);

    // B shifts the start.
    SacTrace shifted = typicalTrace();
    shifted.begin = -10.0f;
    ASSERT_TRUE(writeSac(path(), shifted));
    KSAC early(path(), true, atOrigin(reference));
    EXPECT_FLOAT_EQ(early.startTime, -10.0f);
}

TEST_F(SacTest, UndefinedEndTakesTheSampleSpan) {
    auto bytes = encodeSac(typicalTrace());
    patchFloat(bytes, sac::E, sac::kUndefinedFloat);
    KSAC trace = loadBytes(bytes, true, atOrigin(typicalReference() - 60));
    EXPECT_FLOAT_EQ(trace.endTime, 60.0f + 200 * 0.05f);
}

TEST_F(SacTest, DistanceAndArrivalTimesComeFromTheLoadedEvent) {
    std::vector<float> curve(181);
    for (std::size_t k = 0; k < curve.size(); ++k) curve[k] = 10.0f * static_cast<float>(k);
    std::vector<float> shortCurve(curve.begin(), curve.begin() + 31);  // 0..30 degrees

    SacTrace t = typicalTrace();
    t.stationLatitude = 0;
    t.stationLongitude = 0;
    t.eventLatitude = 5;
    t.eventLongitude = 5;
    ASSERT_TRUE(writeSac(path(), t));

    TraceContext context;
    context.eventLatitude = 0;
    context.eventLongitude = 45.55f;
    context.curves = {CurveView(curve), CurveView(shortCurve), CurveView(), CurveView(curve)};
    KSAC trace(path(), true, context);
    EXPECT_NEAR(trace.floatWord(sac::GCARC), 45.55f, 1e-3);
    EXPECT_FLOAT_EQ(trace.floatWord(sac::EVLO), 45.55f);
    EXPECT_FLOAT_EQ(trace.eventLongitude, 5.0f);  // as read from the file
    EXPECT_EQ(trace.arrivalP, 455);
    EXPECT_EQ(trace.arrivalS, 0);   // beyond the last distance of the curve
    EXPECT_EQ(trace.arrivalPP, 0);  // no curve
    EXPECT_EQ(trace.arrivalSS, 455);
}

TEST_F(SacTest, LittleEndianFileIsRejected) {
    KSAC trace = loadBytes(swappedWords(encodeSac(typicalTrace())));
    EXPECT_EQ(trace.npts(), 0);
    EXPECT_TRUE(trace.samples.empty());
    EXPECT_FALSE(trace.dataLoaded);
}

TEST_F(SacTest, FilesThatAreNotSeismogramsGiveNoTrace) {
    EXPECT_EQ(KSAC(path("missing.BHZ"), true).npts(), 0);

    auto bytes = encodeSac(typicalTrace());
    for (std::size_t size : {0u, 100u, 631u}) {
        KSAC trace = loadBytes(std::vector<unsigned char>(bytes.begin(), bytes.begin() + size));
        EXPECT_EQ(trace.npts(), 0) << size << " bytes";
    }

    std::filesystem::create_directory(path("SUBDIR.BHZ"));
    EXPECT_EQ(KSAC(path("SUBDIR.BHZ"), true).npts(), 0);

    // A FIFO would block an open for reading: it is refused unopened.
    ASSERT_EQ(::mkfifo(path("PIPE.BHZ").c_str(), 0600), 0);
    EXPECT_EQ(KSAC(path("PIPE.BHZ"), true).npts(), 0);
}

TEST_F(SacTest, SampleCountIsBoundedByTheFile) {
    auto bytes = encodeSac(typicalTrace(10));

    patchInt(bytes, sac::NPTS, -5);
    EXPECT_EQ(loadBytes(bytes).npts(), 0);

    patchInt(bytes, sac::NPTS, 0);
    KSAC empty = loadBytes(bytes);
    EXPECT_EQ(empty.npts(), 0);
    EXPECT_TRUE(empty.samples.empty());

    // A huge count reads only the ten samples there are.
    patchInt(bytes, sac::NPTS, std::numeric_limits<std::int32_t>::max());
    bytes.push_back(0x42);  // a trailing partial sample is not a sample
    KSAC big = loadBytes(bytes);
    EXPECT_EQ(big.npts(), 10);
    EXPECT_EQ(big.samples.size(), 10u);
    EXPECT_EQ(big.samples, typicalTrace(10).samples);
    EXPECT_EQ(loadBytes(bytes, false).npts(), 10);

    // A header claiming samples with none behind it gives no trace.
    std::vector<unsigned char> bare(bytes.begin(), bytes.begin() + 632);
    EXPECT_EQ(loadBytes(bare).npts(), 0);
}

TEST_F(SacTest, UnusableSampleIntervalDropsTheTrace) {
    for (float delta : {0.0f, -0.05f, kNaN, kInf, -kInf, sac::kUndefinedFloat}) {
        auto bytes = encodeSac(typicalTrace());
        patchFloat(bytes, sac::DELTA, delta);
        EXPECT_EQ(loadBytes(bytes).npts(), 0) << delta;
        EXPECT_EQ(loadBytes(bytes, false).npts(), 0) << delta;
    }
}

TEST_F(SacTest, UnplaceableTraceIsDropped) {
    // Without a calendar reference time or a finite station position the
    // trace has no place on the time axis or the globe.
    for (auto [word, value] : {std::pair{int(sac::NZJDAY), -12345}, {int(sac::NZJDAY), 0},
                               {int(sac::NZJDAY), 366}, {int(sac::NZYEAR), -12345},
                               {int(sac::NZHOUR), 24}, {int(sac::NZMSEC), 1000}}) {
        auto bytes = encodeSac(typicalTrace());
        patchInt(bytes, word, value);
        EXPECT_EQ(loadBytes(bytes).npts(), 0) << word << " = " << value;
    }
    auto bytes = encodeSac(typicalTrace());
    patchFloat(bytes, sac::STLA, kNaN);
    EXPECT_EQ(loadBytes(bytes).npts(), 0);

    // Day 366 is fine in a leap year.
    SacTrace leap = typicalTrace();
    leap.year = 1996;
    leap.dayOfYear = 366;
    ASSERT_TRUE(writeSac(path(), leap));
    KSAC trace(path(), true);
    EXPECT_EQ(trace.npts(), 200);
    EXPECT_EQ(trace.month, 12);
    EXPECT_EQ(trace.day, 31);
}

TEST_F(SacTest, NonFiniteBeginAndEndFallBackToTheSamples) {
    for (float bad : {kNaN, kInf}) {
        auto bytes = encodeSac(typicalTrace());
        patchFloat(bytes, sac::B, bad);
        patchFloat(bytes, sac::E, bad);
        KSAC trace = loadBytes(bytes, true, atOrigin(typicalReference() - 100));
        ASSERT_EQ(trace.npts(), 200);
        EXPECT_FLOAT_EQ(trace.startTime, 100.0f);
        EXPECT_FLOAT_EQ(trace.endTime, 100.0f + 200 * 0.05f);
    }
}

TEST_F(SacTest, NonFiniteSamplesCountAsZero) {
    SacTrace t = typicalTrace(4);
    t.samples = {5.0f, 1.0f, 2.0f, 3.0f};
    auto bytes = encodeSac(t);
    patchSample(bytes, 0, kNaN);
    patchSample(bytes, 2, -kInf);
    KSAC trace = loadBytes(bytes);
    EXPECT_EQ(trace.samples, (std::vector<float>{0.0f, 1.0f, 0.0f, 3.0f}));
    EXPECT_FLOAT_EQ(trace.floatWord(sac::DEPMIN), 0.0f);
    EXPECT_FLOAT_EQ(trace.floatWord(sac::DEPMAX), 3.0f);
    EXPECT_FLOAT_EQ(trace.floatWord(sac::DEPMEN), 1.0f);
}

TEST_F(SacTest, ConstantTraceHasEqualExtremes) {
    SacTrace t = typicalTrace(50);
    std::fill(t.samples.begin(), t.samples.end(), -7.25f);
    ASSERT_TRUE(writeSac(path(), t));
    KSAC trace(path(), true);
    EXPECT_EQ(trace.floatWord(sac::DEPMIN), -7.25f);
    EXPECT_EQ(trace.floatWord(sac::DEPMAX), -7.25f);
    EXPECT_EQ(trace.floatWord(sac::DEPMEN), -7.25f);
}

TEST_F(SacTest, StationCodeIsTheFirstWordAndFileNameTheLastPart) {
    SacTrace t = typicalTrace(3);
    t.station = " AB CD";
    ASSERT_TRUE(writeSac(path("x.bhn"), t));
    KSAC trace(path("x.bhn"), false);
    EXPECT_EQ(trace.stationCode, "AB");
    EXPECT_EQ(trace.charField(sac::KSTNM), " AB CD  ");
    EXPECT_EQ(trace.fileName, "x.bhn");

    // A long station name is cut to its field.
    t.station = "ABCDEFGHIJ";
    ASSERT_TRUE(writeSac(path("y"), t));
    EXPECT_EQ(KSAC(path("y"), false).stationCode, "ABCDEFGH");
}

TEST_F(SacTest, StationCodePaddedWithNulsIsItsFirstWord) {
    SacTrace t = typicalTrace(3);
    t.station = std::string("ANMO\0\0\0\0", 8);
    ASSERT_TRUE(writeSac(path(), t));
    KSAC trace(path(), false);
    EXPECT_EQ(trace.stationCode, "ANMO");
    EXPECT_EQ(trace.charField(sac::KSTNM), "ANMO    ");
    // A NUL ends the text: what follows it is not part of the code.
    t.station = std::string("AB\0CD\0\0\0", 8);
    ASSERT_TRUE(writeSac(path(), t));
    EXPECT_EQ(KSAC(path(), false).stationCode, "AB");
}

}  // namespace
