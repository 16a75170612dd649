#pragma once
// The event a fuzzed seismogram is read for, and what a read trace promises.

#include <array>
#include <cmath>

#include "data/sac.h"
#include "data/station.h"
#include "fuzz/fuzz_support.h"
#include "model/geometry.h"

namespace orvane::fuzz {

/// An event of 17 January 1994 with travel times rising 10 s a degree.
inline const TraceContext& traceContext() {
    static const std::array<float, 181> times = [] {
        std::array<float, 181> t{};
        for (std::size_t k = 0; k < t.size(); ++k) t[k] = 10.0f * static_cast<float>(k);
        return t;
    }();
    static const TraceContext context = [] {
        TraceContext c;
        c.eventLatitude = 34.2f;
        c.eventLongitude = -118.5f;
        c.originEpoch = epochSeconds(1994, 1, 17, 12, 30, 55, 400);
        c.curves = {CurveView(times), CurveView(times.data(), 90), CurveView(times.data(), 3), CurveView()};
        return c;
    }();
    return context;
}

/// What a trace read from any file must hold: either rejected (NPTS 0,
/// nothing loaded) or with a sensible distance and its buffers as long as
/// NPTS. The map's view of it as a station stays within its fields.
inline void checkTrace(const KSAC& trace, bool loadSamples) {
    FUZZ_CHECK(trace.npts() >= 0);
    if (trace.npts() == 0) {
        FUZZ_CHECK(!trace.dataLoaded && trace.samples.empty());
        return;
    }
    float gcarc = trace.floatWord(sac::GCARC);
    FUZZ_CHECK(gcarc >= 0 && gcarc <= 180.001f);
    FUZZ_CHECK(trace.floatWord(sac::DELTA) > 0);
    FUZZ_CHECK(trace.month >= 1 && trace.month <= 12 && trace.day >= 1 && trace.day <= 31);
    FUZZ_CHECK(!std::isnan(trace.startTime) && !std::isnan(trace.endTime));
    for (std::int32_t arrival : {trace.arrivalP, trace.arrivalS, trace.arrivalPP, trace.arrivalSS})
        FUZZ_CHECK(arrival >= 0 && arrival <= 1800);
    FUZZ_CHECK(trace.stationCode.size() <= 8);
    FUZZ_CHECK(trace.dataLoaded == loadSamples);
    if (loadSamples) {
        auto n = static_cast<std::size_t>(trace.npts());
        FUZZ_CHECK(trace.samples.size() == n && trace.plotOffsets.size() == n &&
                   trace.soundBytes.size() == n);
        for (float v : trace.samples) FUZZ_CHECK(std::isfinite(v));
        FUZZ_CHECK(trace.floatWord(sac::DEPMIN) <= trace.floatWord(sac::DEPMAX));
        FUZZ_CHECK(std::isfinite(trace.floatWord(sac::DEPMEN)));
    }
    StationFile file(trace);
    FUZZ_CHECK(file.component == 'Z' || file.component == 'N' || file.component == 'E');
    Station station(file);
    FUZZ_CHECK(station.available[componentIndex(file.component)]);
}

}  // namespace orvane::fuzz
