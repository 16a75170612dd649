#pragma once
// Stations and their components as seen in an event's seismogram files.

#include <array>
#include <string>

#include "data/rect.h"

namespace orvane {

/// Component indexes used by `Station`.
enum Component : int { kVertical = 0, kNorthSouth = 1, kEastWest = 2 };

/// One seismogram file seen as a station component. The entries of an
/// event's station list have this type; for them only `fileName` is filled.
struct StationFile {
    static constexpr std::size_t kCodeWidth = 8;
    static constexpr std::size_t kFileNameWidth = 31;
    static constexpr std::size_t kNameWidth = 63;

    std::string stationCode;  ///< KSTNM as stored, blank padding kept
    char component = 'Z';     ///< 'Z', 'N' or 'E'
    float latitude = 0;
    float longitude = 0;
    std::string fileName;     ///< file name inside the event directory
    std::string stationName;  ///< empty when built from a seismogram file
};

/// A recording site with up to three components (Z, N-S, E-W).
struct Station {
    static constexpr std::size_t kNameWidth = 63;
    static constexpr std::size_t kComponentFileWidth = 31;

    std::string stationCode;  ///< up to 8 characters
    std::string stationName;
    float latitude = 0;
    float longitude = 0;
    std::array<bool, 3> used{};       ///< indexed by Component
    std::array<bool, 3> available{};  ///< indexed by Component
    std::array<std::string, 3> componentFile;  ///< upper-case file names
    Rect markBox;
};

}  // namespace orvane
