#pragma once
// One earthquake as stored in an event file, with the seismogram files chosen
// for display.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/rect.h"
#include "data/station.h"

namespace orvane {

struct Event {
    static constexpr std::size_t kNameWidth = 39;
    static constexpr std::size_t kTextWidth = 15;  ///< date, displayDate, originTime
    /// A station file name is kept only as long as the station records hold it.
    static constexpr std::size_t kStationFileWidth = StationFile::kFileNameWidth;

    std::string name = "Event Name";
    std::string fileName = "1990010100.EVT";
    std::vector<StationFile> stationFiles;  ///< only fileName is used
    Rect labelBox;
    Rect markBox;
    float latitude = 0;
    float longitude = 0;
    float depth = 0;
    float magnitude = 0;
    std::string date = "1990/01/01";
    std::string displayDate;
    std::string originTime = "00:00:00.0";
    std::int32_t timeWindow = 1800;
    std::int32_t viewAngle = 180;
    std::int32_t timeAcceleration = 20;
    std::int32_t year = 1990;
    std::int32_t month = 1;
    std::int32_t day = 1;
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    float second = 0;
    std::int32_t timeLimit = 1800;

    /// The default event.
    Event();

    /// Reads an event file. A file that cannot be opened (or a null path)
    /// gives latitude and longitude 0, time limit 7200, empty boxes and no
    /// station files, and an empty `fileName`.
    explicit Event(const char* path);
    explicit Event(const std::string& path) : Event(path.c_str()) {}

    /// Writes the event to `fileName`, the "STATION FILE" lines taken from the
    /// used components of `stations` (Z, N-S, E-W for each station in order).
    bool write(const std::vector<Station>& stations) const;

    /// Writes the event with the "STATION FILE" lines of `stationFiles`.
    bool writeOwn() const;

    /// Names the file after the origin date and hour, then writes it.
    bool saveAsNew();

    /// Recomputes fileName, date, originTime and displayDate from the numbers.
    void refreshTexts();

    /// The directory of the event's seismogram files: the file name without
    /// its extension.
    std::string dataDirectory() const;

    /// The file's text, with the given "STATION FILE" names.
    std::string text(const std::vector<std::string>& stationFileNames) const;

private:
    void deriveFromTexts();
};

/// The file name of a "STATION FILE" line's value: its first word, when it
/// has at most `Event::kStationFileWidth` characters. A longer name is not
/// taken: cut, it would name another file or none.
std::optional<std::string> stationFileWord(std::string_view value);

/// "Jan" .. "Dec" for 1..12, the empty text otherwise.
const char* monthAbbreviation(std::int32_t month);

/// "%04u%02u%02u%02u.evt" from the date and hour.
std::string eventFileName(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour);

}  // namespace orvane
