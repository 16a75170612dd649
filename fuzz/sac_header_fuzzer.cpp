// Seismogram headers as the map reads them (no samples): any bytes give a
// rejected trace or one the map can place and name.
#include "fuzz/sac_support.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::put("ANMO.BHZ", fuzz::view(data, size));
    KSAC trace(path, false, fuzz::traceContext());
    fuzz::checkTrace(trace, false);
    return 0;
}
