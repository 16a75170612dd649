// Our SAC writer and reader against independent tools: a trace goes through
// sac2mseed (float miniSEED) and back through mseed2sac (big-endian SAC) with
// the station metadata supplied from outside, and must read back unchanged.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "data/files.h"
#include "data/sac.h"
#include "data/station.h"
#include "tests/data/trace_files.h"
#include "tests/support/temp_dir.h"

using namespace orvane;
using namespace orvane::testing;

namespace {

struct Channel {
    const char* code;
    float azimuth;
    float incidence;
    char component;
};

int run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

TEST(SacInteropTest, RoundTripThroughMiniSeed) {
    ASSERT_EQ(run("command -v sac2mseed && command -v mseed2sac"), 0)
        << "sac2mseed and mseed2sac are installed by scripts/install-deps";
    TempDir dir;
    ScopedCurrentDir cwd(dir.path());

    const Channel channels[] = {{"BHZ", 0, 0, 'Z'}, {"BHN", 0, 90, 'N'}, {"BHE", 90, 90, 'E'}};
    std::ofstream meta("meta.txt");
    for (const Channel& c : channels) {
        // net,sta,loc,chan,lat,lon,elev,depth,azimuth,SAC incidence
        meta << "IU,ANMO,--," << c.code << ",34.9459,-106.4572,1671,145," << c.azimuth << ","
             << c.incidence << "\n";
        SacTrace t = typicalTrace(1500);
        t.component = c.code;
        t.samples[10] = -1.5e-7f;  // values beyond integer precision survive as floats
        // Written without position or orientation: they come back from the metadata.
        t.stationLatitude = t.stationLongitude = sac::kUndefinedFloat;
        t.componentAzimuth = t.componentIncidence = sac::kUndefinedFloat;
        ASSERT_TRUE(writeSac(std::string("in.") + c.code, t));
        ASSERT_EQ(run(std::string("sac2mseed -e 4 -o ") + c.code + ".mseed in." + c.code), 0);
    }
    meta.close();
    ASSERT_EQ(run("mseed2sac -f 4 -m meta.txt BHZ.mseed BHN.mseed BHE.mseed"), 0);

    auto produced = listDirectory(".", "IU.ANMO..BH?.*.SAC");
    ASSERT_TRUE(produced);
    ASSERT_EQ(produced->size(), 3u);

    SacTrace original = typicalTrace(1500);
    original.samples[10] = -1.5e-7f;
    TraceContext context;
    context.originEpoch = typicalReference();
    for (const Channel& c : channels) {
        auto name = listDirectory(".", std::string("IU.ANMO..") + c.code + ".*.SAC");
        ASSERT_TRUE(name && name->size() == 1) << c.code;
        KSAC trace(name->front(), true, context);
        ASSERT_EQ(trace.npts(), 1500) << c.code;
        EXPECT_EQ(trace.samples, original.samples) << c.code;
        EXPECT_FLOAT_EQ(trace.floatWord(sac::DELTA), 0.05f);
        EXPECT_NEAR(trace.startTime, 0.0f, 1e-4) << c.code;
        EXPECT_NEAR(trace.endTime, 1499 * 0.05f, 1e-3) << c.code;
        EXPECT_EQ(trace.stationCode, "ANMO");
        EXPECT_EQ(trace.charField(sac::KCMPNM), std::string(c.code) + "     ");
        EXPECT_NEAR(trace.stationLatitude, 34.9459f, 1e-4);
        EXPECT_NEAR(trace.stationLongitude, -106.4572f, 1e-4);

        // The component comes from the orientation, not from the name.
        std::string renamed = std::string("renamed.") + c.code + "X";
        std::filesystem::rename(name->front(), renamed);
        EXPECT_EQ(StationFile(KSAC(renamed, false)).component, c.component) << c.code;
    }
}

}  // namespace
