#include "data/run_values.h"

#include <cstdio>

#include "data/files.h"
#include "data/text_scan.h"

namespace orvane {

std::string currentEventName;
bool canClose = true;
std::vector<TutorialEntry> tutorialList;

namespace {

// The next white-space-delimited word as an unsigned number ("%u"), moving
// `text` past it; nothing when it does not scan.
std::optional<std::uint32_t> nextUnsigned(std::string_view& text) {
    std::size_t start = text.find_first_not_of(" \t\r\n\v\f");
    if (start == std::string_view::npos) return std::nullopt;
    std::size_t end = text.find_first_of(" \t\r\n\v\f", start);
    std::string_view word = text.substr(start, end == std::string_view::npos ? text.size() - start
                                                                               : end - start);
    auto value = scanUnsigned(word);
    if (value) text.remove_prefix(start + word.size());
    return value;
}

}  // namespace

std::vector<TutorialEntry> readTutorialList(const std::string& path) {
    std::vector<TutorialEntry> entries;
    std::FILE* file = openFile(path, "r");
    if (!file) return entries;
    TutorialEntry entry;
    std::string piece;
    while (readLinePiece(file, piece, 39)) {
        std::string_view text = piece;
        // A scan stops at the first field that fails; the rest keep their values.
        if (auto showAfter = nextUnsigned(text)) {
            entry.showAfter = *showAfter;
            if (auto waitLimit = nextUnsigned(text)) {
                entry.waitLimit = *waitLimit;
                if (auto topic = scanWord(text, TutorialEntry::kTopicWidth)) entry.topic = *topic;
            }
        }
        entries.push_back(entry);
    }
    std::fclose(file);
    return entries;
}

void loadTutorialList() { tutorialList = readTutorialList("tutorial.txt"); }

}  // namespace orvane
