#pragma once
// Broadband stations of the global seismic networks that the demonstration
// events are "recorded" at: published positions rounded to 0.0001 degree.

#include <span>
#include <string_view>

namespace orvane {

struct GlobalStation {
    std::string_view network;
    std::string_view code;
    double latitude;   ///< degrees, north positive
    double longitude;  ///< degrees, east positive
    std::string_view site;
};

/// Every station the demonstration may use.
std::span<const GlobalStation> globalStations();

}  // namespace orvane
