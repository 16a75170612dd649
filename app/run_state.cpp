#include "app/run_state.h"

#include <cctype>
#include <cstdio>
#include <optional>
#include <string_view>

#include "data/files.h"
#include "data/text_scan.h"

namespace orvane {

bool held = false;
bool paused = false;
bool canClose = true;
float resumeTime = 0;
std::int32_t endCountdown = 0;
std::int32_t scriptIndex = 0;
std::uint32_t lastTickCount = 0;
std::uint32_t thisTickCount = 0;
std::string currentEventName;
std::vector<TutorialEntry> tutorialList;

std::int32_t screenWidth = 0;
std::int32_t screenHeight = 0;
Size panelSize;
std::int32_t viewPercent = 0;
Rect sliderRect;

namespace {

RunController* theController = nullptr;

// "%u": optional blanks and plus sign, then digits that fit 32 bits.
std::optional<std::uint32_t> scanField(std::string_view& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    std::size_t start = i;
    if (i < text.size() && text[i] == '+') ++i;
    std::size_t digits = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    if (i == digits) return std::nullopt;
    auto value = scanUnsigned(text.substr(start, i - start));
    if (!value) return std::nullopt;
    text.remove_prefix(i);
    return value;
}

}  // namespace

void resetRunValues() {
    held = false;
    paused = false;
    canClose = true;
    resumeTime = 0;
    endCountdown = 0;
    scriptIndex = 0;
    lastTickCount = 0;
    thisTickCount = 0;
    currentEventName.clear();
}

bool loadTutorialList(const std::string& path, std::vector<TutorialEntry>& list) {
    list.clear();
    std::FILE* file = openFile(path, "r");
    if (!file) return false;
    TutorialEntry entry;
    std::string piece;
    while (readLinePiece(file, piece, 39)) {
        std::string_view rest = piece;
        // Fields are taken in order until one does not scan, as a formatted
        // scan does; the others keep the previous line's values.
        if (auto showAfter = scanField(rest)) {
            entry.showAfter = *showAfter;
            if (auto waitLimit = scanField(rest)) {
                entry.waitLimit = *waitLimit;
                if (auto topic = scanWord(rest, TutorialEntry::kTopicWidth)) entry.topic = *topic;
            }
        }
        list.push_back(entry);
    }
    std::fclose(file);
    return true;
}

RunController* runController() { return theController; }
void setRunController(RunController* controller) { theController = controller; }

}  // namespace orvane
