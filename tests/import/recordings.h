#pragma once
// Test recordings: ground motion with a P onset at its ak135 time, written
// as miniSEED with libmseed in any encoding and record length, and station
// metadata in the FDSN text format and as StationXML.

#include <libmseed.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "import/mseed.h"
#include "import/time_text.h"
#include "model/travel_times.h"

namespace orvane::import::testing {

/// The test event: 2011-03-11T05:46:24.1, 38.3 N 142.4 E, 33 km (a depth column of the viewer's tables).
inline constexpr double kLatitude = 38.3, kLongitude = 142.4, kDepth = 33;
inline double origin() { return *parseIsoTime("2011-03-11T05:46:24.1"); }

/// A small deterministic noise below 5 counts, then a pulse from `onset`
/// seconds after `start` on, of amplitude `amplitude`.
inline std::vector<float> groundMotion(double start, double rate, std::size_t count, double onset, double amplitude,
                                       unsigned seed) {
    std::vector<float> out(count);
    unsigned state = seed * 2654435761u + 1;
    for (std::size_t i = 0; i < count; ++i) {
        state = state * 1664525u + 1013904223u;
        double noise = (static_cast<double>(state >> 8) / 16777216.0 - 0.5) * 8.0;
        double t = start + static_cast<double>(i) / rate - onset;
        double pulse = t >= 0 ? amplitude * std::exp(-t / 8.0) * std::sin(2 * M_PI * 0.4 * t + 0.3) : 0.0;
        out[i] = static_cast<float>(std::round(noise + pulse));
    }
    return out;
}

/// ak135 P time (seconds after the origin) at `distance` degrees.
inline double pTime(double distance) { return travelTime("P", distance, kDepth)->time; }

/// A point `distance` degrees from the epicentre at azimuth `azimuth`.
inline void destination(double distance, double azimuth, double& latitude, double& longitude) {
    const double r = M_PI / 180;
    double la1 = kLatitude * r, lo1 = kLongitude * r, d = distance * r, az = azimuth * r;
    double la2 = std::asin(std::sin(la1) * std::cos(d) + std::cos(la1) * std::sin(d) * std::cos(az));
    double lo2 = lo1 + std::atan2(std::sin(az) * std::sin(d) * std::cos(la1), std::cos(d) - std::sin(la1) * std::sin(la2));
    latitude = la2 / r;
    longitude = std::remainder(lo2 / r, 360.0);
}

inline void collectRecord(char* record, int length, void* out) {
    static_cast<std::vector<char>*>(out)->insert(static_cast<std::vector<char>*>(out)->end(), record, record + length);
}

/// miniSEED records of one channel. `encoding` is a SEED data encoding
/// (DE_STEIM1, DE_STEIM2, DE_INT16, DE_INT32, DE_FLOAT32); integer
/// encodings take the samples rounded.
inline std::vector<char> miniSeed(const ChannelId& id, double start, double rate, const std::vector<float>& samples,
                                  int encoding, int recordLength) {
    MSTrace* trace = mst_init(nullptr);
    std::snprintf(trace->network, sizeof trace->network, "%s", id.network.c_str());
    std::snprintf(trace->station, sizeof trace->station, "%s", id.station.c_str());
    std::snprintf(trace->location, sizeof trace->location, "%s", id.location.c_str());
    std::snprintf(trace->channel, sizeof trace->channel, "%s", id.channel.c_str());
    trace->dataquality = 'D';
    trace->starttime = static_cast<hptime_t>(std::llround(start * HPTMODULUS));
    trace->samprate = rate;
    bool floats = encoding == DE_FLOAT32;
    trace->sampletype = floats ? 'f' : 'i';
    trace->numsamples = trace->samplecnt = static_cast<int64_t>(samples.size());
    trace->datasamples = std::malloc(samples.size() * 4);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (floats) static_cast<float*>(trace->datasamples)[i] = samples[i];
        else static_cast<std::int32_t*>(trace->datasamples)[i] = static_cast<std::int32_t>(std::lround(samples[i]));
    }
    std::vector<char> out;
    int64_t packed = 0;
    mst_pack(trace, collectRecord, &out, recordLength, static_cast<flag>(encoding), 1, &packed, 1, 0, nullptr);
    mst_free(&trace);
    return out;
}

inline void writeBytes(const std::string& path, const std::vector<char>& bytes, bool append = false) {
    std::ofstream out(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

/// One channel of the metadata files.
struct MetaChannel {
    ChannelId id;
    double latitude, longitude, azimuth, dip, rate;
    std::string site;
};

inline std::string stationText(const std::vector<MetaChannel>& channels) {
    std::string text =
        "#Network | Station | Location | Channel | Latitude | Longitude | Elevation | Depth | Azimuth | Dip | "
        "SensorDescription | Scale | ScaleFreq | ScaleUnits | SampleRate | StartTime | EndTime\n";
    for (const MetaChannel& c : channels)
        text += c.id.network + "|" + c.id.station + "|" + c.id.location + "|" + c.id.channel + "|" +
                fixed(c.latitude, 4) + "|" + fixed(c.longitude, 4) + "|1000|0|" + fixed(c.azimuth, 1) + "|" +
                fixed(c.dip, 1) + "|Sensor|1E9|1.0|M/S|" + fixed(c.rate, 1) + "|2000-01-01T00:00:00|\n";
    return text;
}

inline std::string stationXml(const std::vector<MetaChannel>& channels) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<FDSNStationXML xmlns=\"http://www.fdsn.org/xml/station/1\" schemaVersion=\"1.1\">\n"
        "<Source>test</Source><Created>2020-01-01T00:00:00</Created>\n";
    for (const MetaChannel& c : channels) {
        xml += "<Network code=\"" + c.id.network + "\"><Station code=\"" + c.id.station + "\">" +
               "<Latitude>" + fixed(c.latitude, 4) + "</Latitude><Longitude>" + fixed(c.longitude, 4) +
               "</Longitude><Elevation>10</Elevation><Site><Name>" + c.site + "</Name></Site>" +
               // An older epoch somewhere else, pointing another way: never used.
               "<Channel code=\"" + c.id.channel + "\" locationCode=\"" + c.id.location +
               "\" startDate=\"1990-01-01T00:00:00\" endDate=\"1999-12-31T00:00:00\"><Latitude>0</Latitude>"
               "<Longitude>0</Longitude><Elevation>0</Elevation><Depth>0</Depth><Azimuth>45</Azimuth>"
               "<Dip>0</Dip><SampleRate>1</SampleRate></Channel>"
               "<Channel code=\"" + c.id.channel + "\" locationCode=\"" + c.id.location +
               "\" startDate=\"2005-01-01T00:00:00\"><Latitude>" + fixed(c.latitude, 4) + "</Latitude><Longitude>" +
               fixed(c.longitude, 4) + "</Longitude><Elevation>10</Elevation><Depth>0</Depth><Azimuth>" +
               fixed(c.azimuth, 1) + "</Azimuth><Dip>" + fixed(c.dip, 1) + "</Dip><SampleRate>" + fixed(c.rate, 1) +
               "</SampleRate></Channel></Station></Network>\n";
    }
    return xml + "</FDSNStationXML>\n";
}

inline void writeText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

}  // namespace orvane::import::testing
