#pragma once
// Seismogram files for the data tests: a typical trace, raw byte patches and
// little-endian copies.

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "data/sac.h"
#include "model/geometry.h"

namespace orvane::testing {

/// A short trace at a station in New Mexico, recorded from 12:30:55.400 on
/// 17 January 1994 (day 17), 20 samples a second.
inline SacTrace typicalTrace(std::size_t samples = 200) {
    SacTrace t;
    t.delta = 0.05f;
    t.year = 1994;
    t.dayOfYear = 17;
    t.hour = 12;
    t.minute = 30;
    t.second = 55;
    t.millisecond = 400;
    t.station = "ANMO";
    t.component = "BHZ";
    t.network = "IU";
    t.stationLatitude = 34.9459f;
    t.stationLongitude = -106.4572f;
    t.componentAzimuth = 0;
    t.componentIncidence = 0;
    for (std::size_t k = 0; k < samples; ++k)
        t.samples.push_back(1000.0f * std::sin(0.1f * static_cast<float>(k)));
    return t;
}

/// Epoch seconds of the typical trace's reference time.
inline double typicalReference() { return epochSeconds(1994, 1, 17, 12, 30, 55, 400); }

inline void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

/// Overwrites big-endian word `byteOffset` of an encoded file.
inline void patchWord(std::vector<unsigned char>& bytes, std::size_t byteOffset, std::uint32_t value) {
    bytes[byteOffset] = static_cast<unsigned char>(value >> 24);
    bytes[byteOffset + 1] = static_cast<unsigned char>(value >> 16);
    bytes[byteOffset + 2] = static_cast<unsigned char>(value >> 8);
    bytes[byteOffset + 3] = static_cast<unsigned char>(value);
}
inline void patchFloat(std::vector<unsigned char>& bytes, int word, float value) {
    patchWord(bytes, static_cast<std::size_t>(word) * 4, std::bit_cast<std::uint32_t>(value));
}
inline void patchInt(std::vector<unsigned char>& bytes, int word, std::int32_t value) {
    patchWord(bytes, 280 + static_cast<std::size_t>(word) * 4, static_cast<std::uint32_t>(value));
}
inline void patchSample(std::vector<unsigned char>& bytes, std::size_t k, float value) {
    patchWord(bytes, 632 + k * 4, std::bit_cast<std::uint32_t>(value));
}

/// The same file with every 4-byte word in the other byte order (character
/// fields untouched), as a little-endian writer would have made it.
inline std::vector<unsigned char> swappedWords(std::vector<unsigned char> bytes) {
    for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
        if (at >= 440 && at < 632) continue;
        std::swap(bytes[at], bytes[at + 3]);
        std::swap(bytes[at + 1], bytes[at + 2]);
    }
    return bytes;
}

}  // namespace orvane::testing
