#pragma once
// An event file as the programs write it, and reading a file back whole, for
// the data tests.

#include <fstream>
#include <sstream>
#include <string>

namespace orvane::testing {

inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

/// The 1994 Northridge earthquake with two chosen seismogram files.
inline constexpr const char* kNorthridge =
    "EVENT NAME: Northridge, California\n"
    "EVENT LATITUDE:    34.2130\n"
    "EVENT LONGITUDE:  -118.5370\n"
    "EVENT DEPTH:       18.4\n"
    "EVENT MAGNITUDE:    6.7\n"
    "EVENT DATE: 1994/01/17\n"
    "ORIGIN TIME: 12:30:55.4\n"
    "TIME ACCELERATION: 20\n"
    "TIME WINDOW: 1800\n"
    "TIME LIMIT: 3600\n"
    "VIEW ANGLE: 240\n"
    "STATION FILE: ANMO.BHZ\n"
    "STATION FILE: HRV.BHZ\n";

}  // namespace orvane::testing
