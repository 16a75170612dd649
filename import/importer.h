#pragma once
// One import: recordings and metadata on disk become a complete event in a
// working directory (event file, SAC directory, station descriptions), or
// nothing at all changes there.

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "import/event_source.h"
#include "import/stations.h"

namespace orvane::import {

struct ImportOptions {
    std::string workdir = ".";
    std::vector<std::string> metadataFiles;
    std::optional<EventParameters> event;  ///< from the command line
    std::string quakemlFile;               ///< or from QuakeML
    std::string eventTextFile;             ///< or from an FDSN event text
    StationChoice stations;
    std::vector<std::string> inputs;  ///< miniSEED files or directories of them
    bool decimate = false;
    std::string components = "Z";  ///< listed as STATION FILE lines for the chosen stations
};

struct ImportReport {
    std::string eventFile;                  ///< path of the new event file
    EventParameters event;
    std::vector<std::string> shown;         ///< STATION FILE names
    std::vector<std::string> written;       ///< SAC files in the event directory
    int newStationLines = 0;                ///< lines added to ZOZERO.STA
    std::vector<std::string> notes;         ///< gaps, rotations, channels left out
};

/// Progress: what is being done, and how far (done of total, total 0 when
/// unknown).
using Progress = std::function<void(const std::string& what, std::size_t done, std::size_t total)>;

/// Runs the import. On failure `error` says why and the working directory
/// is as it was. `cancel`, when given, is polled between steps.
bool runImport(const ImportOptions& options, ImportReport& report, std::string& error,
               const Progress& progress = {}, const std::atomic<bool>* cancel = nullptr);

/// The event described by the options (command line, QuakeML or event text).
bool resolveEvent(const ImportOptions& options, EventParameters& event, std::string& error);

/// Seconds the viewer's run should last for stations up to `distance`
/// degrees away: until the slowest surface waves (3 km/s) have passed, in
/// whole minutes, at least 10 and at most 180 minutes.
int timeLimitFor(double distance);

/// The event file's base name ("YYYYMMDDHH") for an origin time.
std::string eventStem(double origin);

/// The files a recording input names: the file itself, or every regular file
/// of a directory (sorted), hidden files left out.
bool expandInputs(const std::vector<std::string>& inputs, std::vector<std::string>& files, std::string& error);

}  // namespace orvane::import
