#pragma once
// Program-wide values of a run that windows other than the main frame read
// or set: the event to start, whether the program may be closed, and the
// tutorial script.

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

/// File name of the event to start (set by the map window, the list command
/// and script mode before they ask the main frame to start it).
extern std::string currentEventName;

/// Whether the main frame may be closed now; initially true. Cleared while an
/// event is being loaded or chosen, set again when the map has painted, a run
/// opens or an event start fails.
extern bool canClose;

/// One step of the tutorial script.
struct TutorialEntry {
    static constexpr std::size_t kTopicWidth = 15;

    std::string topic;           ///< text file the tutorial window shows
    std::uint32_t showAfter = 0;  ///< clock seconds after which it is shown
    std::uint32_t waitLimit = 0;  ///< idle countdown while its window is open
};

/// The tutorial script, loaded at start-up from "tutorial.txt".
extern std::vector<TutorialEntry> tutorialList;

/// Reads a tutorial script: one "%u %u %s" line (showAfter, waitLimit,
/// topic) per entry, at most 39 characters of each line being read. A line
/// that does not scan fully still gives an entry; the fields it lacks keep
/// the previous line's values. A missing file gives an empty list.
std::vector<TutorialEntry> readTutorialList(const std::string& path);

/// tutorialList = readTutorialList("tutorial.txt") in the current directory.
void loadTutorialList();

}  // namespace orvane
