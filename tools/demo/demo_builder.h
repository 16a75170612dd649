#pragma once
// Builds the demonstration working directory: everything the viewer reads.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/event.h"
#include "tools/demo/demo_events.h"
#include "tools/demo/station_selection.h"
#include "tools/demo/synthetic_seismogram.h"

namespace orvane {

struct DemoOptions {
    std::string texturePath;  ///< equirectangular Earth texture
    int globeSize = 800;      ///< pixels, width and height of "earth%d.bmp"
    int mapWidth = 1800;      ///< pixels, width of "world.bmp"
    std::size_t stationsPerEvent = 16;
    std::size_t shownStations = 8;
    /// Told before each step of buildDemoDirectory: its number from 1, the
    /// number of steps and what it makes.
    std::function<void(int step, int steps, const std::string& what)> progress;
};

/// Options with the texture of Debian's xplanet-images.
DemoOptions defaultDemoOptions();

/// A demonstration event as written: the record (file name relative to the
/// output directory) and the stations that recorded it, nearest first.
struct PlannedEvent {
    const DemoEvent* source = nullptr;
    Event event;
    std::vector<SelectedStation> stations;
};

/// The event records and station choices, without writing anything. The
/// time limit lets the slower surface wave reach the farthest station shown.
std::vector<PlannedEvent> planEvents(const DemoOptions& options);

/// What station `index` of a planned event records (written as
/// "CODE.BHZ", "CODE.BHN", "CODE.BHE" in the event's directory).
SeismogramRequest stationRequest(const PlannedEvent& planned, std::size_t index);

/// Writes the whole directory. On failure `error` says what failed.
bool buildDemoDirectory(const std::string& directory, const DemoOptions& options, std::string& error);

}  // namespace orvane
