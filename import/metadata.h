#pragma once
// Station metadata as data centres serve it: the FDSN station text format
// (vertical bars, channel or station level) and StationXML.

#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "import/mseed.h"

namespace orvane::import {

/// One channel epoch: where the sensor stands and how it points.
struct ChannelMetadata {
    ChannelId id;
    double latitude = 0, longitude = 0;
    double azimuth = 0;  ///< degrees clockwise from north
    double dip = 0;      ///< SEED dip: degrees down from horizontal, -90 points up
    double sampleRate = 0;
    double start = -std::numeric_limits<double>::infinity();  ///< epoch seconds
    double end = std::numeric_limits<double>::infinity();
    std::string siteName;
};

/// Where a station stands and what it is called (station-level lines).
struct StationSite {
    std::string network, station, siteName;
    double latitude = 0, longitude = 0;
};

struct Metadata {
    std::vector<ChannelMetadata> channels;
    std::vector<StationSite> sites;
    std::vector<std::string> messages;  ///< lines or elements left out, and why

    /// The channel epoch of `id` that holds `time`, else nullptr. A location
    /// written "--" matches the empty one.
    const ChannelMetadata* find(const ChannelId& id, double time) const;
    /// The site name of a station, from its channels or station lines.
    std::string siteName(const std::string& network, const std::string& station) const;
};

/// Adds the lines of an FDSN station text (level=channel or level=station).
/// Returns false when no line could be used.
bool parseStationText(std::string_view text, Metadata& metadata, const std::string& sourceName);

/// Adds the channels and stations of a StationXML document. Returns false,
/// with a message, when it is not one.
bool parseStationXml(std::string_view text, Metadata& metadata, const std::string& sourceName);

/// Reads a metadata file in either format (told apart by its first
/// character). False with `error` when it cannot be read or holds nothing.
bool readMetadataFile(const std::string& path, Metadata& metadata, std::string& error);

/// Reads a whole file, at most `limit` bytes. False when it cannot.
bool readWholeFile(const std::string& path, std::string& content, std::string& error,
                   std::size_t limit = 256u << 20);

}  // namespace orvane::import
