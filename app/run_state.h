#pragma once
// The program-wide values of a run that other windows read and change: the
// held and paused flags, whether the program may close, where a rearranged
// run resumes, the event to start next and the tutorial script.

#include <cstdint>
#include <string>
#include <vector>

#include "data/rect.h"
#include "platform/draw_types.h"

namespace orvane {

class RunController;

/// One step of the tutorial script ("tutorial.txt": "showAfter waitLimit topic").
struct TutorialEntry {
    static constexpr std::size_t kTopicWidth = 15;  ///< the topic field holds 16 bytes

    std::string topic;            ///< text file the tutorial window shows
    std::uint32_t showAfter = 0;  ///< clock seconds after which it is shown
    std::uint32_t waitLimit = 0;  ///< idle countdown while its window is open
};

/// The run waits (frame inactive, or the event information opened at start).
extern bool held;
/// The Pause button is down.
extern bool paused;
/// What the main frame's may-close query answers.
extern bool canClose;
/// When not 0 the next start continues at this clock value without the pulse.
extern float resumeTime;
/// Pause at the end of a run still to run, in seconds; the clock stands meanwhile.
extern std::int32_t endCountdown;
/// Position in the event catalogue in script mode.
extern std::int32_t scriptIndex;
/// System tick count at the previous and at the current tick.
extern std::uint32_t lastTickCount;
extern std::uint32_t thisTickCount;  // tickCount() is the system's
/// File name of the event to start (map window, list command, script mode).
extern std::string currentEventName;
/// The tutorial script, loaded at start-up.
extern std::vector<TutorialEntry> tutorialList;

/// Screen size recorded at start-up, used by the layouts.
extern std::int32_t screenWidth;
extern std::int32_t screenHeight;
/// Control panel size: 9 letter widths by the frame's client height.
extern Size panelSize;
/// Size of each square view of the all-views layout, percent of the layout width.
extern std::int32_t viewPercent;
/// Where the panel's speed slider goes (the panel replaces the top).
extern Rect sliderRect;

/// Puts every value above back to its state at program start.
void resetRunValues();

/// Reads "tutorial.txt"-style lines into `list` (emptied first). A line is
/// read in pieces of at most 39 characters; each piece makes one entry, and
/// the fields it does not provide keep the previous entry's values. Returns
/// false (list empty) when the file cannot be opened.
bool loadTutorialList(const std::string& path, std::vector<TutorialEntry>& list);

/// The main frame's run controller while a frame exists, else null. Windows
/// use it for postDeferred, stopTutorial and setIdleCountdown.
RunController* runController();
void setRunController(RunController* controller);

}  // namespace orvane
