// miniSEED recordings for the import: any bytes give records that are read
// or skipped, and merged channels whose samples are finite, on a positive
// rate and within the bound on their length.
#include <cmath>

#include "fuzz/fuzz_support.h"
#include "import/mseed.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    import::MiniSeedCollector collector;
    // Half the inputs are cut to a window around the first records' time.
    if (size > 0 && data[0] % 2) collector.setWindow(1.0e9, 1.5e9);
    collector.add({data, size}, "fuzz");
    for (const import::Recording& r : collector.merge()) {
        FUZZ_CHECK(r.sampleRate > 0 && std::isfinite(r.sampleRate));
        FUZZ_CHECK(std::isfinite(r.start));
        FUZZ_CHECK(r.samples.size() <= import::MiniSeedCollector::kMaxSamples);
        for (float v : r.samples) FUZZ_CHECK(std::isfinite(v));
    }
    return 0;
}
