#pragma once
// The texts of the demonstration directory: information texts behind the
// Info buttons, each event's "EVT.INF", the tutorial list and its topic
// files, and the help pages. Information texts use the viewer's text format:
// lines joined into paragraphs, an empty line between paragraphs, an
// optional more-tag naming a further file.

#include <string>
#include <string_view>
#include <vector>

#include "tools/demo/demo_events.h"
#include "tools/demo/station_selection.h"

namespace orvane {

struct TextFile {
    std::string name;  ///< file name relative to the working directory
    std::string content;
};

/// Wraps paragraphs (separated by an empty line) into lines of at most
/// `width` characters, so no line reaches the viewer's 99-character read.
std::string wrapText(std::string_view text, std::size_t width = 76);

/// "MAP_EV.INF", "MAP_ST.INF", "3D.INF", "XS.INF", "SEIS.INF" and the
/// further files their more-tags name.
std::vector<TextFile> informationTexts();

/// The "EVT.INF" of one event: what happened, where, what to look for, and
/// that its seismograms are synthetic.
std::string eventInformationText(const DemoEvent& event, const std::vector<SelectedStation>& stations);

/// One line of "tutorial.txt": when the entry is shown, how long its window
/// may wait, and its topic file.
struct TutorialStep {
    unsigned showAfter;
    unsigned waitLimit;
    std::string topic;
};

/// The tutorial script through `tutorialEvent()`: entry 0 is shown on the
/// map, the last entry only marks when the guided tour returns to the map.
std::vector<TutorialStep> tutorialSteps();

/// "tutorial.txt" made from the steps ("%u %u %s" a line).
std::string tutorialListText(const std::vector<TutorialStep>& steps);

/// The topic files the steps name.
std::vector<TextFile> tutorialTopics();

/// Folder of the help pages, beside the data.
inline constexpr std::string_view kHelpFolder = "help";

/// The help topics the programs open, by number.
std::vector<int> helpTopics();

/// One HTML page per help topic ("help/1002.html", ...) and "help/index.html".
std::vector<TextFile> helpPages();

}  // namespace orvane
