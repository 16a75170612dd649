// The tutorial script "tutorial.txt": one entry per piece of at most 39
// characters, each with a topic of at most 15 characters.
#include "app/run_state.h"
#include "fuzz/fuzz_support.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::put("tutorial.txt", fuzz::view(data, size));
    std::vector<TutorialEntry> list;
    FUZZ_CHECK(loadTutorialList(path, list));
    FUZZ_CHECK(list.size() <= size);
    for (const TutorialEntry& entry : list) {
        FUZZ_CHECK(entry.topic.size() <= TutorialEntry::kTopicWidth);
        FUZZ_CHECK(entry.topic.find_first_of(" \t\r\n") == std::string::npos);
    }
    return 0;
}
