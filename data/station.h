#pragma once
// Stations and their components as seen in an event's seismogram files.

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/rect.h"

namespace orvane {

class KSAC;
struct Event;

/// Component indexes used by `Station`.
enum Component : int { kVertical = 0, kNorthSouth = 1, kEastWest = 2 };

/// One seismogram file seen as a station component. The entries of an
/// event's station list have this type; for them only `fileName` is filled.
struct StationFile {
    static constexpr std::size_t kCodeWidth = 8;
    static constexpr std::size_t kFileNameWidth = 31;
    static constexpr std::size_t kNameWidth = 63;

    std::string stationCode;  ///< KSTNM as stored, blank padding kept
    char component = 'Z';     ///< 'Z', 'N' or 'E'
    float latitude = 0;
    float longitude = 0;
    std::string fileName;     ///< file name inside the event directory
    std::string stationName;  ///< empty when built from a seismogram file

    StationFile() = default;
    /// A loaded trace seen as a station component: code and position from
    /// the header, the component from CMPINC/CMPAZ or else the file name.
    explicit StationFile(const KSAC& trace);
};

/// A recording site with up to three components (Z, N-S, E-W).
struct Station {
    static constexpr std::size_t kNameWidth = 63;
    static constexpr std::size_t kComponentFileWidth = 31;

    std::string stationCode;  ///< up to 8 characters
    std::string stationName;
    float latitude = 0;
    float longitude = 0;
    std::array<bool, 3> used{};       ///< indexed by Component
    std::array<bool, 3> available{};  ///< indexed by Component
    std::array<std::string, 3> componentFile;  ///< upper-case file names
    Rect markBox;

    Station() = default;
    /// Parses one line of the station description file "ZOZERO.STA": code
    /// (at most 7 characters), name in columns 9-39, and from column 41
    /// latitude and longitude each followed by its hemisphere letter.
    explicit Station(std::string_view line);
    /// A station with the one component of `file` available.
    explicit Station(const StationFile& file);
};

/// The component index of 'Z', 'N' or 'E' (anything else counts as Z).
int componentIndex(char component);

/// Great-circle arc (degrees, 0..180) and back azimuth (degrees from north,
/// 0..360, towards the event as seen from the station).
struct GreatCircle {
    float arc = 0;
    float backAzimuth = 0;
};
GreatCircle greatCircle(float stationLatitude, float stationLongitude, float eventLatitude,
                        float eventLongitude);

/// Receives the few messages the data layer has for the user; the GUI shows
/// them in a message box.
using MessageReporter = std::function<void(std::string_view message)>;

/// The stations offered by the seismogram files of `event`'s data directory,
/// in the order the listing first meets each code, with the components named
/// in the event's station list marked used. An unlistable directory reports
/// "No files found" and gives no stations.
std::vector<Station> buildStationList(const Event& event, const MessageReporter& report);

/// One line of "ZOZERO.STA": code in columns 1-8 (at most 7 characters),
/// name in 9-39 (cut to 31), then from column 41 latitude and longitude with
/// four decimals and their hemisphere letters. The same in every locale.
std::string stationDescriptionLine(std::string_view code, std::string_view name, double latitude,
                                   double longitude);

/// Adds a line to the station file at `path` for every station whose code
/// (compared as the event loader compares it) has none yet, keeping every
/// existing line byte for byte; the file is replaced atomically and created
/// when missing. Returns the number of lines added, or -1 when the file
/// cannot be read or written (it is then left as it was).
int addStationDescriptions(const std::string& path, const std::vector<Station>& stations);

}  // namespace orvane
