#include "import/event_source.h"

#include <pugixml.hpp>

#include <cmath>

#include "import/time_text.h"
#include "import/xml_nodes.h"

namespace orvane::import {

namespace {

// The element `name` whose publicID is `id`, else the first one.
pugi::xml_node preferred(const pugi::xml_node& event, std::string_view name, std::string_view id) {
    pugi::xml_node first;
    for (pugi::xml_node c : event.children()) {
        if (c.type() != pugi::node_element || localName(c) != name) continue;
        if (!first) first = c;
        if (!id.empty() && c.attribute("publicID").value() == id) return c;
    }
    return first;
}

std::optional<double> value(const pugi::xml_node& node, std::string_view name) {
    return parseNumber(child(child(node, name), "value").child_value());
}

std::string trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return std::string(text);
}

}  // namespace

std::string EventParameters::problem() const {
    if (!std::isfinite(origin)) return "the origin time is not a time";
    if (!(std::fabs(latitude) <= 90)) return "the latitude must lie between -90 and 90 degrees";
    if (!(std::fabs(longitude) <= 360)) return "the longitude must lie between -360 and 360 degrees";
    if (!(depth >= -10 && depth <= 800)) return "the depth must lie between -10 and 800 km";
    if (!(magnitude >= -2 && magnitude <= 10.5)) return "the magnitude must lie between -2 and 10.5";
    CivilTime t = civilFromEpoch(origin);
    if (t.year < 1900 || t.year > 2100) return "the origin time must lie between the years 1900 and 2100";
    return {};
}

bool parseQuakeMl(std::string_view text, EventParameters& event, std::string& error) {
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_buffer(text.data(), text.size());
    if (!parsed) {
        error = std::string("not readable as XML (") + parsed.description() + ")";
        return false;
    }
    pugi::xml_node root = doc.document_element();
    pugi::xml_node parameters = localName(root) == "eventParameters" ? root : child(root, "eventParameters");
    pugi::xml_node e = child(parameters, "event");
    if (!e) {
        error = "no event in this QuakeML document";
        return false;
    }
    pugi::xml_node origin = preferred(e, "origin", trimmed(child(e, "preferredOriginID").child_value()));
    pugi::xml_node magnitude = preferred(e, "magnitude", trimmed(child(e, "preferredMagnitudeID").child_value()));
    auto time = parseIsoTime(child(child(origin, "time"), "value").child_value());
    auto latitude = value(origin, "latitude"), longitude = value(origin, "longitude");
    auto depth = value(origin, "depth");  // metres
    auto mag = value(magnitude, "mag");
    if (!origin || !time || !latitude || !longitude) {
        error = "the QuakeML event has no origin with time, latitude and longitude";
        return false;
    }
    if (!mag) {
        error = "the QuakeML event has no magnitude";
        return false;
    }
    event.origin = *time;
    event.latitude = *latitude;
    event.longitude = *longitude;
    event.depth = depth ? *depth / 1000.0 : 0.0;
    event.magnitude = *mag;
    event.id = e.attribute("publicID").value();
    event.name.clear();
    for (pugi::xml_node d : e.children()) {
        if (localName(d) != "description") continue;
        std::string type = trimmed(child(d, "type").child_value());
        std::string name = trimmed(child(d, "text").child_value());
        if (!name.empty() && (event.name.empty() || type == "region name")) event.name = name;
    }
    if (event.name.empty()) event.name = defaultEventName(event);
    return true;
}

std::vector<EventParameters> parseEventText(std::string_view text) {
    std::vector<EventParameters> events;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == '#') continue;
        std::vector<std::string> fields;
        while (true) {
            std::size_t bar = line.find('|');
            fields.push_back(trimmed(line.substr(0, bar)));
            if (bar == std::string_view::npos) break;
            line.remove_prefix(bar + 1);
        }
        if (fields.size() < 11) continue;
        auto time = parseIsoTime(fields[1]);
        auto lat = parseNumber(fields[2]), lon = parseNumber(fields[3]), depth = parseNumber(fields[4]);
        auto mag = parseNumber(fields[10]);
        if (!time || !lat || !lon || !depth || !mag) continue;
        EventParameters e;
        e.id = fields[0];
        e.origin = *time;
        e.latitude = *lat;
        e.longitude = *lon;
        e.depth = *depth;
        e.magnitude = *mag;
        e.name = fields.size() > 12 && !fields[12].empty() ? fields[12] : defaultEventName(e);
        events.push_back(std::move(e));
    }
    return events;
}

std::string defaultEventName(const EventParameters& event) {
    return "M " + fixed(event.magnitude, 1) + " " + isoTime(event.origin).substr(0, 10);
}

}  // namespace orvane::import
