#pragma once
// The earthquakes of the demonstration: real events with their published
// origin time, epicentre, depth and moment magnitude (USGS catalogue values),
// each with a short description for its information text.

#include <span>
#include <string>
#include <string_view>

#include "data/event.h"

namespace orvane {

struct DemoEvent {
    std::string_view name;  ///< as shown on the map, at most 39 characters
    int year, month, day, hour, minute;
    double second;     ///< origin second, to a tenth
    double latitude;   ///< degrees, north positive
    double longitude;  ///< degrees, east positive
    double depth;      ///< kilometres
    double magnitude;  ///< moment magnitude
    std::string_view story;    ///< what happened (a paragraph)
    std::string_view lookFor;  ///< what to watch in the views (a paragraph)
};

/// Every demonstration event, oldest first.
std::span<const DemoEvent> demoEvents();

/// The event the tutorial walks through.
const DemoEvent& tutorialEvent();

/// The event record of a demonstration event, its texts and file name
/// derived from the numbers; time acceleration 20, time window 1800, view
/// angle facing the epicentre. The time limit and station files are the
/// caller's.
Event toEvent(const DemoEvent& event);

/// The multiple of 45 degrees nearest to a longitude, in 0..315: the globe
/// picture that shows the longitude nearest to its centre.
int facingViewAngle(double longitude);

}  // namespace orvane
