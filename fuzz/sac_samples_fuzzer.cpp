// Seismograms as event loading reads them, with their samples: the buffers
// match NPTS (never more than the file holds) and every sample is finite.
#include "fuzz/sac_support.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::put("ANMO.BHN", fuzz::view(data, size));
    KSAC trace(path, true, fuzz::traceContext());
    fuzz::checkTrace(trace, true);
    if (trace.npts() > 0)
        FUZZ_CHECK(static_cast<std::size_t>(trace.npts()) <= (size - sac::kHeaderBytes) / 4);
    return 0;
}
