#pragma once
// Loading one event for display: the event file read into the values the run
// and the views use, the travel-time curves for its depth, the chosen traces
// sorted by distance and the frame-export directories.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/sac.h"
#include "model/travel_time_curve.h"

namespace orvane {

/// The values of the event being shown. One program-wide instance
/// (`loadedEvent()`); each successful load replaces them.
struct LoadedEvent {
    static constexpr std::size_t kNameWidth = 39;
    static constexpr std::int16_t kMinimumTimeWindow = 2;
    static constexpr std::size_t kMaximumTraces = 32767;  ///< the count is 16 bits

    std::string eventPath;
    std::string eventDirectory;
    float latitude = 0;
    float longitude = 0;
    float depth = 0;
    float magnitude = 0;
    std::int16_t viewAngle = 180;
    std::string date;
    std::int16_t timeWindow = 1800;
    std::int16_t timeLimit = 7200;
    float timeAcceleration = 20;
    std::string name;
    std::string originTime;
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t millisecond = 0;
    double originEpoch = 0;
    std::string displayDate;
    std::vector<std::unique_ptr<KSAC>> traceList;  ///< nearest first after a load
    std::array<TravelTimeCurve, 4> curves;          ///< P, S, PP, SS

    /// What a trace read now takes from this event.
    TraceContext traceContext() const;
};

/// The phases of `LoadedEvent::curves`, in order.
inline constexpr std::array<const char*, 4> kCurvePhases = {"P", "S", "PP", "SS"};

/// The program-wide loaded event.
LoadedEvent& loadedEvent();

/// Loads the event file at `path` (the previous path when empty) into
/// `event`. Returns false when the file cannot be opened; then only
/// `eventPath` changes.
bool loadEvent(LoadedEvent& event, const std::string& path);
bool loadEvent(const std::string& path = {});

/// Deletes every trace.
void releaseTraces(LoadedEvent& event);
void releaseTraces();

}  // namespace orvane
