#pragma once
// The earthquake of an import: from the command line, a QuakeML file or a
// line of the FDSN event text format.

#include <string>
#include <string_view>
#include <vector>

namespace orvane::import {

struct EventParameters {
    double origin = 0;  ///< origin time, seconds of the Unix epoch
    double latitude = 0, longitude = 0;
    double depth = 0;  ///< kilometres
    double magnitude = 0;
    std::string name;
    std::string id;  ///< catalogue id when known

    /// Empty when every value is in range, else what is wrong.
    std::string problem() const;
};

/// The preferred origin and magnitude of the first event of a QuakeML
/// document (else its first origin and magnitude); the name from its region
/// description. False with `error` when there is none.
bool parseQuakeMl(std::string_view text, EventParameters& event, std::string& error);

/// The events of an FDSN event text
/// ("EventID|Time|Latitude|Longitude|Depth/km|...|MagType|Magnitude|MagAuthor|EventLocationName").
std::vector<EventParameters> parseEventText(std::string_view text);

/// A name for an event without one: "M 7.1 2011-03-11".
std::string defaultEventName(const EventParameters& event);

}  // namespace orvane::import
