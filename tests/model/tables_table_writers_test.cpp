// Byte layout of the table writers: fixed-width text lines, little-endian
// headers and points, and every step present in the index.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "model/table_writers.h"

namespace orvane {
namespace {

unsigned u16(const std::string& s, std::size_t at) {
    return unsigned(std::uint8_t(s[at])) | unsigned(std::uint8_t(s[at + 1])) << 8;
}

std::int32_t i32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (int b = 0; b < 4; ++b) v |= std::uint32_t(std::uint8_t(s[at + b])) << (8 * b);
    return static_cast<std::int32_t>(v);
}

TEST(TablesTableWriters, TextTableHasFixedColumns) {
    std::vector<std::vector<double>> columns(14, std::vector<double>(3, 0.0));
    columns[0] = {0.0, 19.24, 1234.56};
    columns[13] = {88.25, NAN, 2870.84};
    std::string text = formatTravelTimeTable(columns);
    std::string expectedFirst = "    0    0.0" + std::string(12 * 7, ' ');
    for (int c = 1; c < 13; ++c) expectedFirst.replace(5 + 7 * c, 7, "    0.0");
    expectedFirst += "   88.2\n";  // %7.1f rounds to even on the binary value of 88.25
    EXPECT_EQ(text.substr(0, expectedFirst.size()), expectedFirst);
    auto second = text.substr(expectedFirst.size(), 5 + 14 * 7 + 1);
    EXPECT_EQ(second.substr(0, 12), "    1   19.2");
    EXPECT_EQ(second.substr(5 + 13 * 7), "    0.0\n");  // NaN has no place in the text
    EXPECT_NE(text.find("    2 1234.6"), std::string::npos);
    EXPECT_EQ(text.size(), 3u * (5 + 14 * 7 + 1));
    EXPECT_EQ(formatTravelTimeTable({}), "");
}

TEST(TablesTableWriters, WavefrontRecordsAreLittleEndianWithAnIndexPerStep) {
    std::vector<WavefrontStep> steps(3);
    steps[0].time = 0;  // no records: still one empty header
    steps[1].time = 10;
    steps[1].records.push_back({"PKIKPPKIKPXYZ", kWaveTypeP, {{-300, 7}, {6371, 0}}});
    steps[1].records.push_back({"S", kWaveTypeS, {{1, 2}}});
    steps[2].time = 40000;  // beyond the 16-bit field: clamped
    EncodedWavefronts out = encodeWavefronts(steps);

    ASSERT_EQ(out.index.size(), 12u);
    EXPECT_EQ(i32(out.index, 0), 0);
    EXPECT_EQ(i32(out.index, 4), 20);
    EXPECT_EQ(i32(out.index, 8), 20 + 20 + 8 + 20 + 4);
    ASSERT_EQ(out.data.size(), 20u + 28 + 24 + 20);

    // Step 0: the first phase name, no points.
    EXPECT_EQ(out.data.substr(0, 2), std::string("P\0", 2));
    EXPECT_EQ(u16(out.data, 12), 1u);
    EXPECT_EQ(u16(out.data, 14), 0u);
    EXPECT_EQ(u16(out.data, 16), 0u);

    // A long name is cut to 11 characters and NUL-terminated.
    std::string header = out.data.substr(20, 20);
    EXPECT_EQ(header.substr(0, 12), std::string("PKIKPPKIKPX\0", 12));
    EXPECT_EQ(u16(header, 12), 1u);
    EXPECT_EQ(u16(header, 14), 10u);
    EXPECT_EQ(u16(header, 16), 2u);
    EXPECT_EQ(u16(header, 18), 0u);
    EXPECT_EQ(std::int16_t(u16(out.data, 40)), -300);
    EXPECT_EQ(u16(out.data, 42), 7u);
    EXPECT_EQ(u16(out.data, 44), 6371u);
    EXPECT_EQ(u16(out.data, 48 + 12), 2u);  // S record's wave type

    EXPECT_EQ(u16(out.data, 72 + 14), 32767u);
}

}  // namespace
}  // namespace orvane
