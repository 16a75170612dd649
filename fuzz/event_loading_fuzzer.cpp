// Loading an event as a whole: an event file with the seismogram files of
// its data directory, and beside it "ZOZERO.STA" and the "P.JB" table, all
// from one input (see splitBundle). The loaded traces are real, bounded and
// sorted by distance; loading again gives the same list; the map's station
// list of the same directory stays within its fields.
#include <cmath>
#include <filesystem>

#include "data/event.h"
#include "data/event_loading.h"
#include "data/station.h"
#include "fuzz/fuzz_support.h"

using namespace orvane;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> traceNames(const LoadedEvent& event) {
    std::vector<std::string> names;
    for (const auto& trace : event.traceList) names.push_back(trace->fileName);
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path& dir = fuzz::scratch();
    std::error_code ec;
    for (const char* name : {"E", "ZOZERO.STA", "P.JB", "S.JB"}) fs::remove_all(dir / name, ec);
    fs::create_directory(dir / "E", ec);

    auto parts = fuzz::splitBundle(fuzz::view(data, size), "E.evt");
    if (parts.size() > 40) return 0;
    fuzz::put("E.evt", parts[0].bytes);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::string& name = parts[i].name;
        bool besideEvent = name == "ZOZERO.STA" || name == "P.JB" || name == "S.JB";
        fuzz::put(besideEvent ? name : "E/" + name, parts[i].bytes);
    }

    LoadedEvent event;
    FUZZ_CHECK(loadEvent(event, "E.evt"));
    FUZZ_CHECK(event.eventDirectory == "E");
    FUZZ_CHECK(event.name.size() <= LoadedEvent::kNameWidth);
    FUZZ_CHECK(event.timeWindow >= LoadedEvent::kMinimumTimeWindow);
    FUZZ_CHECK(event.timeLimit >= 0);
    FUZZ_CHECK(std::isfinite(event.latitude) && std::isfinite(event.longitude));
    FUZZ_CHECK(std::isfinite(event.timeAcceleration) && std::isfinite(event.originEpoch));
    float previous = -1;
    for (const auto& trace : event.traceList) {
        FUZZ_CHECK(trace->npts() > 0 && trace->dataLoaded);
        FUZZ_CHECK(static_cast<std::size_t>(trace->npts()) == trace->samples.size());
        FUZZ_CHECK(trace->description.size() <= 63);
        float g = trace->floatWord(sac::GCARC);
        FUZZ_CHECK(g >= previous);
        previous = g;
    }
    for (const auto& curve : event.curves) FUZZ_CHECK(curve.count >= 0 && curve.count <= kCurveEntries);

    const auto first = traceNames(event);
    FUZZ_CHECK(loadEvent(event, ""));
    FUZZ_CHECK(traceNames(event) == first);

    Event listed("E.evt");
    std::vector<Station> stations = buildStationList(listed, [](std::string_view) {});
    for (const Station& s : stations) {
        FUZZ_CHECK(s.stationCode.size() <= 8);
        for (int c = 0; c < 3; ++c) {
            FUZZ_CHECK(!s.used[c] || s.available[c]);
            FUZZ_CHECK(!s.available[c] || !s.componentFile[c].empty());
        }
    }
    return 0;
}
