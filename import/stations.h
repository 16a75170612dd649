#pragma once
// From channel recordings to stations as the viewer shows them: every trace
// told apart as vertical, north or east (horizontal pairs at other azimuths
// rotated), one stream per station, and the choice of stations to show.

#include <cstddef>
#include <string>
#include <vector>

#include "import/metadata.h"
#include "import/mseed.h"

namespace orvane::import {

/// One component ready to be written: 'Z', 'N' or 'E'.
struct Component {
    char letter = 'Z';
    std::string channel;  ///< band and instrument code + letter, e.g. "BHN"
    double start = 0;     ///< seconds of the Unix epoch
    double sampleRate = 0;
    std::vector<float> samples;
    std::vector<std::string> sources;  ///< the channels it was made from
};

struct ImportStation {
    std::string network, station, location;
    std::string stream;  ///< band and instrument code, e.g. "BH"
    double latitude = 0, longitude = 0;
    std::string siteName;
    std::vector<Component> components;  ///< Z, N, E order, each at most once
    double distance = 0;  ///< degrees from the epicentre
    double azimuth = 0;   ///< from the epicentre towards the station

    bool has(char letter) const;
    bool complete() const { return has('Z') && has('N') && has('E'); }
};

struct Assembly {
    std::vector<ImportStation> stations;  ///< sorted by distance
    std::vector<std::string> leftOut;     ///< channels not used, and why
    std::vector<std::string> notes;       ///< what was changed (rotations, decimation)
};

/// Builds the stations of `recordings` with the metadata valid at `origin`.
/// With `decimate`, channels faster than 20 samples a second are
/// low-pass filtered and resampled to 20.
Assembly assembleStations(std::vector<Recording> recordings, const Metadata& metadata, double origin,
                          double eventLatitude, double eventLongitude, bool decimate);

/// `samples` at `rate` resampled to `targetRate` after an anti-alias
/// low-pass filter (zero phase, so arrivals keep their times). The first
/// output sample has the time of the first input sample.
std::vector<float> resample(const std::vector<float>& samples, double rate, double targetRate);

/// Which stations to show.
struct StationChoice {
    enum class Kind { Spread, All, Named } kind = Kind::Spread;
    std::size_t count = 12;          ///< Spread: how many
    std::vector<std::string> names;  ///< Named: "STA" or "NET.STA"
};

/// Parses "all", a number or "STA,STA,...". False for an empty list or 0.
bool parseStationChoice(const std::string& text, StationChoice& choice);

/// The order in which stations are worth showing: first those with all three
/// components between 10 and 170 degrees, then the other ones in that range,
/// then the rest; within each group, one by one the station farthest (in
/// distance, then azimuth) from those already taken.
std::vector<std::size_t> spreadOrder(const std::vector<ImportStation>& stations);

/// Indexes of the chosen stations, sorted by distance. False with `error`
/// when a named station is missing.
bool chooseStations(const std::vector<ImportStation>& stations, const StationChoice& choice,
                    std::vector<std::size_t>& chosen, std::string& error);

}  // namespace orvane::import
