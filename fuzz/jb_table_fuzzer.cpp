// The per-phase travel-time tables "P.JB" etc.: any text, read for a depth
// taken from the input, gives at most 181 whole-second times; looking up
// either way in the curve always gives a finite answer.
#include <cmath>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "model/travel_time_curve.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first four bytes choose the depth (any float, NaN included).
    float depth = 0;
    if (size >= 4) {
        std::memcpy(&depth, data, 4);
        data += 4;
        size -= 4;
    }
    fuzz::put("P.JB", fuzz::view(data, size));
    TravelTimeCurve curve = loadTravelTimeCurve("P", depth);
    int column = depthColumn(depth);
    FUZZ_CHECK(column >= 0 && column < kDepthColumns);
    FUZZ_CHECK(curve.count >= 0 && curve.count <= kCurveEntries);
    FUZZ_CHECK(curve.times.size() == static_cast<std::size_t>(kCurveEntries));
    for (float t : curve.times) FUZZ_CHECK(std::isfinite(t) && t == std::floor(t));

    const auto& distances = curveDistances();
    for (float x : {-1.0f, 0.0f, 0.5f, 17.3f, 90.0f, 179.99f, 180.0f, 1e30f, NAN, INFINITY}) {
        FUZZ_CHECK(std::isfinite(interpolateTable(distances, curve.keys(), curve.count, x)));
        FUZZ_CHECK(std::isfinite(interpolateTable(curve.keys(), distances, curve.count, x)));
    }
    for (int i = 0; i < curve.count; i += 7) {
        float x = curve.times[static_cast<std::size_t>(i)] + 0.25f;
        FUZZ_CHECK(std::isfinite(interpolateTable(curve.keys(), distances, curve.count, x)));
    }
    return 0;
}
