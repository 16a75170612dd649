// What the import reads from data centres besides waveforms: station
// metadata as FDSN text or StationXML, events as QuakeML or FDSN event
// text. The first byte chooses the reader; every value kept is finite.
#include <cmath>

#include "fuzz/fuzz_support.h"
#include "import/event_source.h"
#include "import/metadata.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::string_view text = fuzz::view(data + 1, size - 1);
    switch (data[0] % 4) {
        case 0:
        case 1: {
            import::Metadata m;
            if (data[0] % 4 == 0)
                import::parseStationText(text, m, "fuzz");
            else
                import::parseStationXml(text, m, "fuzz");
            for (const import::ChannelMetadata& c : m.channels) {
                FUZZ_CHECK(std::isfinite(c.latitude) && std::isfinite(c.longitude));
                FUZZ_CHECK(std::isfinite(c.azimuth) && std::isfinite(c.dip));
                m.find(c.id, 1.3e9);
                m.siteName(c.id.network, c.id.station);
            }
            break;
        }
        case 2: {
            import::EventParameters e;
            std::string error;
            if (import::parseQuakeMl(text, e, error)) e.problem();
            else FUZZ_CHECK(!error.empty());
            break;
        }
        default:
            for (const import::EventParameters& e : import::parseEventText(text)) e.problem();
    }
    return 0;
}
