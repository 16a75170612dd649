#include "import/metadata.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "import/time_text.h"
#include "import/xml_nodes.h"

namespace orvane::import {

namespace {

std::string_view trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::vector<std::string_view> split(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    while (true) {
        std::size_t at = line.find(separator);
        fields.push_back(trim(line.substr(0, at)));
        if (at == std::string_view::npos) break;
        line.remove_prefix(at + 1);
    }
    return fields;
}

std::string location(std::string_view code) { return code == "--" ? std::string() : std::string(code); }

// An empty or missing time means open-ended.
bool parseEpochBound(std::string_view text, double& value) {
    if (trim(text).empty()) return true;
    auto t = parseIsoTime(text);
    if (!t) return false;
    value = *t;
    return true;
}

bool validPosition(double latitude, double longitude) {
    return std::fabs(latitude) <= 90 && std::fabs(longitude) <= 360;
}

template <typename Visit>
void children(const pugi::xml_node& node, std::string_view name, Visit visit) {
    for (pugi::xml_node c : node.children())
        if (c.type() == pugi::node_element && localName(c) == name) visit(c);
}

std::optional<double> number(const pugi::xml_node& node, std::string_view name) {
    pugi::xml_node c = child(node, name);
    if (!c) return std::nullopt;
    return parseNumber(c.child_value());
}

}  // namespace

const ChannelMetadata* Metadata::find(const ChannelId& id, double time) const {
    for (const ChannelMetadata& c : channels) {
        if (c.id.network != id.network || c.id.station != id.station || location(c.id.location) != location(id.location) ||
            c.id.channel != id.channel)
            continue;
        if (time >= c.start && time <= c.end) return &c;
    }
    // Outside every epoch the sensor may have stood elsewhere or pointed
    // another way: no metadata.
    return nullptr;
}

std::string Metadata::siteName(const std::string& network, const std::string& station) const {
    for (const StationSite& s : sites)
        if (s.network == network && s.station == station && !s.siteName.empty()) return s.siteName;
    for (const ChannelMetadata& c : channels)
        if (c.id.network == network && c.id.station == station && !c.siteName.empty()) return c.siteName;
    return {};
}

bool parseStationText(std::string_view text, Metadata& metadata, const std::string& sourceName) {
    // Column positions come from the header line when there is one.
    static const char* const kChannelColumns[] = {"network",  "station", "location",          "channel",
                                                  "latitude", "longitude", "elevation",       "depth",
                                                  "azimuth",  "dip",     "sensordescription", "scale",
                                                  "scalefreq", "scaleunits", "samplerate",   "starttime",
                                                  "endtime"};
    static const char* const kStationColumns[] = {"network", "station", "latitude", "longitude",
                                                  "elevation", "sitename", "starttime", "endtime"};
    std::vector<std::string> header;
    std::size_t used = 0, bad = 0;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty()) continue;
        if (line.front() == '#') {
            header.clear();
            for (std::string_view f : split(line.substr(1), '|')) header.push_back(lower(f));
            continue;
        }
        std::vector<std::string_view> fields = split(line, '|');
        std::vector<std::string> names = header;
        if (names.empty() || names.size() != fields.size()) {
            names.clear();
            if (fields.size() == 17)
                names.assign(std::begin(kChannelColumns), std::end(kChannelColumns));
            else if (fields.size() == 8)
                names.assign(std::begin(kStationColumns), std::end(kStationColumns));
        }
        auto field = [&](std::string_view name) -> std::optional<std::string_view> {
            for (std::size_t i = 0; i < names.size() && i < fields.size(); ++i)
                if (names[i] == name) return fields[i];
            return std::nullopt;
        };
        auto numberField = [&](std::string_view name) -> std::optional<double> {
            auto f = field(name);
            return f ? parseNumber(*f) : std::nullopt;
        };
        auto net = field("network"), sta = field("station");
        auto lat = numberField("latitude"), lon = numberField("longitude");
        if (!net || !sta || sta->empty() || !lat || !lon || !validPosition(*lat, *lon)) {
            ++bad;
            continue;
        }
        if (auto cha = field("channel")) {
            ChannelMetadata c;
            c.id = {std::string(*net), std::string(*sta), location(field("location").value_or("")), std::string(*cha)};
            c.latitude = *lat;
            c.longitude = *lon;
            auto az = numberField("azimuth"), dip = numberField("dip");
            if (cha->empty() || !az || !dip || std::fabs(*dip) > 90) {
                ++bad;
                continue;
            }
            c.azimuth = *az;
            c.dip = *dip;
            c.sampleRate = numberField("samplerate").value_or(0);
            if (!parseEpochBound(field("starttime").value_or(""), c.start) ||
                !parseEpochBound(field("endtime").value_or(""), c.end)) {
                ++bad;
                continue;
            }
            metadata.channels.push_back(std::move(c));
        } else {
            StationSite s{std::string(*net), std::string(*sta), std::string(field("sitename").value_or("")), *lat, *lon};
            metadata.sites.push_back(std::move(s));
        }
        ++used;
    }
    if (bad > 0)
        metadata.messages.push_back(sourceName + ": " + std::to_string(bad) +
                                    " lines without a usable station, position or orientation left out");
    return used > 0;
}

bool parseStationXml(std::string_view text, Metadata& metadata, const std::string& sourceName) {
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_auto);
    if (!parsed) {
        metadata.messages.push_back(sourceName + ": not readable as XML (" + parsed.description() + ")");
        return false;
    }
    pugi::xml_node root = doc.document_element();
    if (localName(root) != "FDSNStationXML") {
        metadata.messages.push_back(sourceName + ": not a StationXML document");
        return false;
    }
    std::size_t used = 0, bad = 0;
    children(root, "Network", [&](const pugi::xml_node& network) {
        std::string net = network.attribute("code").value();
        children(network, "Station", [&](const pugi::xml_node& station) {
            std::string sta = station.attribute("code").value();
            std::string site = child(child(station, "Site"), "Name").child_value();
            auto slat = number(station, "Latitude"), slon = number(station, "Longitude");
            if (!sta.empty() && slat && slon && validPosition(*slat, *slon))
                metadata.sites.push_back({net, sta, std::string(trim(site)), *slat, *slon});
            children(station, "Channel", [&](const pugi::xml_node& channel) {
                ChannelMetadata c;
                c.id = {net, sta, location(trim(channel.attribute("locationCode").value())),
                        channel.attribute("code").value()};
                auto lat = number(channel, "Latitude"), lon = number(channel, "Longitude");
                auto az = number(channel, "Azimuth"), dip = number(channel, "Dip");
                if (!lat) lat = slat;
                if (!lon) lon = slon;
                if (sta.empty() || c.id.channel.empty() || !lat || !lon || !validPosition(*lat, *lon) || !az ||
                    !dip || std::fabs(*dip) > 90 ||
                    !parseEpochBound(channel.attribute("startDate").value(), c.start) ||
                    !parseEpochBound(channel.attribute("endDate").value(), c.end)) {
                    ++bad;
                    return;
                }
                c.latitude = *lat;
                c.longitude = *lon;
                c.azimuth = *az;
                c.dip = *dip;
                c.sampleRate = number(channel, "SampleRate").value_or(0);
                c.siteName = std::string(trim(site));
                metadata.channels.push_back(std::move(c));
                ++used;
            });
        });
    });
    if (bad > 0)
        metadata.messages.push_back(sourceName + ": " + std::to_string(bad) +
                                    " channels without a usable position or orientation left out");
    if (used == 0 && metadata.sites.empty()) {
        metadata.messages.push_back(sourceName + ": no channels in this StationXML document");
        return false;
    }
    return true;
}

bool readWholeFile(const std::string& path, std::string& content, std::string& error, std::size_t limit) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = path + " is a directory, not a file";
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    content.clear();
    char buffer[65536];
    std::size_t n;
    bool tooBig = false;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (content.size() + n > limit) {
            tooBig = true;
            break;
        }
        content.append(buffer, n);
    }
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (tooBig) error = path + " is too large";
    else if (failed) error = "cannot read " + path;
    return !tooBig && !failed;
}

bool readMetadataFile(const std::string& path, Metadata& metadata, std::string& error) {
    std::string content;
    if (!readWholeFile(path, content, error)) return false;
    std::string_view body = trim(content);
    if (body.size() >= 3 && static_cast<unsigned char>(body[0]) == 0xEF) body.remove_prefix(3);  // UTF-8 mark
    bool ok = !body.empty() && body.front() == '<' ? parseStationXml(body, metadata, path)
                                                   : parseStationText(body, metadata, path);
    if (!ok) error = path + " holds no station metadata (FDSN station text or StationXML)";
    return ok;
}

}  // namespace orvane::import
