// Event files: any bytes read into an Event, whose texts stay within their
// widths; the file written from it reads back to the same text, and the
// maintenance program's renaming of it stays within its fields too.
#include "data/event.h"
#include "fuzz/fuzz_support.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::put("X.evt", fuzz::view(data, size));
    Event e(path);

    FUZZ_CHECK(e.fileName == path);
    FUZZ_CHECK(e.name.size() <= Event::kNameWidth);
    FUZZ_CHECK(e.date.size() <= Event::kTextWidth);
    FUZZ_CHECK(e.originTime.size() <= Event::kTextWidth);
    FUZZ_CHECK(e.displayDate.size() <= Event::kTextWidth);
    for (const StationFile& f : e.stationFiles)
        FUZZ_CHECK(!f.fileName.empty() && f.fileName.size() <= Event::kStationFileWidth);

    const std::string text = e.text({});
    FUZZ_CHECK(e.writeOwn());
    Event again(path);
    FUZZ_CHECK(again.text({}) == text);
    FUZZ_CHECK(again.stationFiles.size() == e.stationFiles.size());

    e.refreshTexts();
    FUZZ_CHECK(e.date.size() <= Event::kTextWidth);
    FUZZ_CHECK(e.originTime.size() <= Event::kTextWidth);
    FUZZ_CHECK(e.displayDate.size() <= Event::kTextWidth);
    FUZZ_CHECK(e.fileName.size() <= 48);
    return 0;
}
