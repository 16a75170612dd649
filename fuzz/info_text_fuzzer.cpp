// Information and tutorial texts: any file is prepared into a bounded text;
// a leading more-tag gives a short name and leaves the text without it.
#include "fuzz/fuzz_support.h"
#include "ui/text_windows.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::put("EVT.INF", fuzz::view(data, size));
    std::string text = readInfoText(path);
    FUZZ_CHECK(text == prepareInfoText(fuzz::view(data, size)));
    FUZZ_CHECK(text.size() <= kMaxInfoText);
    FUZZ_CHECK(text.find('\0') == std::string::npos);

    // A tag with a quoted name (even an empty one) is taken out; without
    // one the text stays as it was.
    const std::string before = text;
    std::string name = extractMoreTag(text);
    FUZZ_CHECK(name.size() <= 16);
    FUZZ_CHECK(name.find('"') == std::string::npos);
    FUZZ_CHECK(text.size() <= before.size());
    if (text.size() == before.size()) FUZZ_CHECK(text == before && name.empty());
    return 0;
}
