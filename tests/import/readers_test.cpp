// The import's readers meet hostile input: damaged miniSEED, metadata and
// QuakeML give clear results, never a crash; records merge on time.
#include <gtest/gtest.h>

#include <random>

#include "import/event_source.h"
#include "import/metadata.h"
#include "import/mseed.h"
#include "import/stations.h"
#include "tests/import/recordings.h"

namespace orvane::import {
namespace {

using namespace testing;

std::span<const unsigned char> bytesOf(const std::vector<char>& v) {
    return {reinterpret_cast<const unsigned char*>(v.data()), v.size()};
}

TEST(MiniSeedMerge, GapsAreFilledOnTimeAndOverlapsDropped) {
    const ChannelId id{"IU", "ANMO", "00", "BHZ"};
    const double t0 = origin();
    std::vector<float> first(400), second(400);
    for (std::size_t i = 0; i < 400; ++i) first[i] = static_cast<float>(i), second[i] = 1000.0f + static_cast<float>(i);
    MiniSeedCollector c;
    // The second piece starts 2.5 s (50 samples) after the first ends, and
    // arrives first; the first piece is then given twice.
    c.add(bytesOf(miniSeed(id, t0 + 20 + 2.5, 20, second, DE_STEIM1, 512)), "b");
    c.add(bytesOf(miniSeed(id, t0, 20, first, DE_INT32, 256)), "a");
    c.add(bytesOf(miniSeed(id, t0, 20, first, DE_STEIM2, 4096)), "a again");
    std::vector<Recording> merged = c.merge();
    ASSERT_EQ(merged.size(), 1u);
    const Recording& r = merged[0];
    EXPECT_DOUBLE_EQ(r.start, t0);
    ASSERT_EQ(r.samples.size(), 850u);
    EXPECT_EQ(r.gaps, 1u);
    EXPECT_NEAR(r.gapSeconds, 2.5, 1e-9);
    EXPECT_GE(r.overlaps, 1u);
    EXPECT_EQ(r.samples[399], 399.0f);
    EXPECT_EQ(r.samples[450], 1000.0f);  // the second piece where its time says
    EXPECT_GT(r.samples[425], 399.0f);   // the gap bridges the two
    EXPECT_LT(r.samples[425], 1000.0f);
}

TEST(MiniSeedMerge, DamagedBytesAreSkippedNeverACrash) {
    std::vector<char> good = miniSeed({"IU", "ANMO", "00", "BHZ"}, origin(), 20,
                                      groundMotion(0, 20, 6000, 100, 900, 3), DE_STEIM2, 512);
    std::mt19937 random(7);
    std::size_t withData = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<char> bytes = good;
        int flips = 1 + static_cast<int>(random() % 40);
        for (int f = 0; f < flips; ++f) bytes[random() % bytes.size()] = static_cast<char>(random());
        if (round % 3 == 0) bytes.resize(random() % bytes.size());  // cut short
        MiniSeedCollector c;
        c.setWindow(origin() - 10, origin() + 1000);
        c.add(bytesOf(bytes), "mutated");
        for (const Recording& r : c.merge()) {
            ASSERT_LE(r.samples.size(), MiniSeedCollector::kMaxSamples);
            for (float v : r.samples) ASSERT_TRUE(std::isfinite(v));
            withData += !r.samples.empty();
        }
    }
    EXPECT_GT(withData, 0u);  // most records survive a few flipped bytes elsewhere
    MiniSeedCollector none;
    std::vector<char> text(5000, 'x');
    EXPECT_EQ(none.add(bytesOf(text), "text"), 0u);
    EXPECT_FALSE(none.messages.empty());
}

TEST(StationMetadata, TextAndXmlKeepWhatIsUsableAndSayWhatIsNot) {
    Metadata m;
    std::string text =
        "#Network|Station|Location|Channel|Latitude|Longitude|Elevation|Depth|Azimuth|Dip|SensorDescription|Scale|"
        "ScaleFreq|ScaleUnits|SampleRate|StartTime|EndTime\n"
        "IU|ANMO|--|BH1|34.9459|-106.4572|1820|100|-23.5|0|S|1|1|M/S|20|2010-01-01T00:00:00|\n"
        "IU|ANMO|00|BHZ|nan|-106.4572|1820|100|0|-90|S|1|1|M/S|20|2010-01-01T00:00:00|\n"
        "IU|ANMO|00|BHZ|34.9|-106.4|1820|100|0|-91|S|1|1|M/S|20||\n"
        "IU|TOO|00|BHZ|34.9|-106.4\n" +
        std::string(100000, 'y') + "\n";
    EXPECT_TRUE(parseStationText(text, m, "text"));
    ASSERT_EQ(m.channels.size(), 1u);
    EXPECT_EQ(m.channels[0].id.location, "");
    EXPECT_DOUBLE_EQ(m.channels[0].azimuth, -23.5);
    EXPECT_NE(m.find({"IU", "ANMO", "--", "BH1"}, origin()), nullptr);
    EXPECT_EQ(m.find({"IU", "ANMO", "", "BH1"}, *parseIsoTime("2009-12-31")), nullptr);  // before the epoch
    ASSERT_EQ(m.messages.size(), 1u);
    EXPECT_NE(m.messages[0].find("4 lines"), std::string::npos);

    Metadata x;
    EXPECT_TRUE(parseStationXml(stationXml({{{"IU", "XYZ", "10", "BHZ"}, 1.5, 2.5, 0, -90, 40, "Site &amp; Co"}}), x, "xml"));
    const ChannelMetadata* c = x.find({"IU", "XYZ", "10", "BHZ"}, origin());
    ASSERT_NE(c, nullptr);
    EXPECT_DOUBLE_EQ(c->latitude, 1.5);  // the current epoch, not the old one at 0, 0
    EXPECT_DOUBLE_EQ(c->sampleRate, 40);
    EXPECT_EQ(x.siteName("IU", "XYZ"), "Site & Co");
    for (const char* bad : {"", "<a>", "<FDSNStationXML><Network>", "not xml at all", "<?xml?><q:quakeml/>"}) {
        Metadata b;
        EXPECT_FALSE(parseStationXml(bad, b, "bad")) << bad;
        EXPECT_FALSE(b.messages.empty()) << bad;
    }
}

TEST(EventSources, QuakeMlPreferredOriginAndEventText) {
    const std::string quakeml =
        "<?xml version=\"1.0\"?><q:quakeml xmlns:q=\"http://quakeml.org/xmlns/quakeml/1.2\" "
        "xmlns=\"http://quakeml.org/xmlns/bed/1.2\"><eventParameters><event publicID=\"smi:ev/1\">"
        "<preferredOriginID>smi:o/2</preferredOriginID><preferredMagnitudeID>smi:m/2</preferredMagnitudeID>"
        "<description><text>Honshu</text><type>Flinn-Engdahl region</type></description>"
        "<description><text>NEAR EAST COAST OF HONSHU</text><type>region name</type></description>"
        "<origin publicID=\"smi:o/1\"><time><value>2011-03-11T05:46:00Z</value></time><latitude><value>1</value>"
        "</latitude><longitude><value>2</value></longitude></origin>"
        "<origin publicID=\"smi:o/2\"><time><value>2011-03-11T05:46:24.12Z</value></time><latitude><value>38.297"
        "</value></latitude><longitude><value>142.373</value></longitude><depth><value>29000</value></depth></origin>"
        "<magnitude publicID=\"smi:m/1\"><mag><value>8.9</value></mag></magnitude>"
        "<magnitude publicID=\"smi:m/2\"><mag><value>9.1</value></mag></magnitude></event></eventParameters>"
        "</q:quakeml>";
    EventParameters e;
    std::string error;
    ASSERT_TRUE(parseQuakeMl(quakeml, e, error)) << error;
    EXPECT_NEAR(e.origin, origin() + 0.02, 1e-6);
    EXPECT_DOUBLE_EQ(e.latitude, 38.297);
    EXPECT_DOUBLE_EQ(e.depth, 29);  // metres in QuakeML
    EXPECT_DOUBLE_EQ(e.magnitude, 9.1);
    EXPECT_EQ(e.name, "NEAR EAST COAST OF HONSHU");
    EXPECT_TRUE(e.problem().empty());
    for (const char* bad : {"", "<q:quakeml/>", "<quakeml><eventParameters><event/></eventParameters></quakeml>"}) {
        EXPECT_FALSE(parseQuakeMl(bad, e, error)) << bad;
        EXPECT_FALSE(error.empty());
    }
    auto events = parseEventText("#EventID|Time|...\nbroken line\n"
                                 "7|2004-12-26T00:58:53|3.3|95.9|30|a|b|c|d|MW|9.1|x|\n");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].name, "M 9.1 2004-12-26");
    events[0].magnitude = 12;
    EXPECT_FALSE(events[0].problem().empty());
}

TEST(Resampling, AntiAliasKeepsTheSlowWaveAndItsTime) {
    // 2 Hz kept, 30 Hz (above the new Nyquist frequency of 10 Hz) removed.
    std::vector<float> samples(10000);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        double t = static_cast<double>(i) / 100.0;
        samples[i] = static_cast<float>(std::sin(2 * M_PI * 2 * t) + std::sin(2 * M_PI * 30 * t));
    }
    std::vector<float> out = resample(samples, 100, 20);
    ASSERT_EQ(out.size(), 2000u);
    double worst = 0;
    for (std::size_t k = 100; k < 1900; ++k)
        worst = std::max(worst, std::fabs(out[k] - std::sin(2 * M_PI * 2 * static_cast<double>(k) / 20.0)));
    EXPECT_LT(worst, 0.03);
}

}  // namespace
}  // namespace orvane::import
