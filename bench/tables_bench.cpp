// Cost of computing the seismic tables: the per-phase travel-time columns,
// the wavefronts of each focus, and one travel-time look-up.
#include <benchmark/benchmark.h>

#include "model/ak135.h"
#include "model/travel_times.h"
#include "model/wavefronts.h"

namespace {

void BM_TravelTimeColumns(benchmark::State& state) {
    for (auto _ : state) {
        for (const char* phase : {"P", "S", "PP", "SS"})
            benchmark::DoNotOptimize(orvane::tableColumns(orvane::ak135Model(), phase));
    }
}
BENCHMARK(BM_TravelTimeColumns)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WavefrontsSurfaceFocus(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(orvane::computeWavefronts(orvane::ak135Model(), 0.0));
}
BENCHMARK(BM_WavefrontsSurfaceFocus)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WavefrontsDeepFocus(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(orvane::computeWavefronts(orvane::ak135Model(), 600.0));
}
BENCHMARK(BM_WavefrontsDeepFocus)->Unit(benchmark::kMillisecond)->Iterations(3);

// A calculator for a new depth, then arrivals of three phases.
void BM_TravelTimeNewDepth(benchmark::State& state) {
    double depth = 10.0;
    for (auto _ : state) {
        orvane::TravelTimeCalculator calc(orvane::ak135Model(), depth);
        benchmark::DoNotOptimize(calc.arrival("P", 47.0));
        benchmark::DoNotOptimize(calc.arrival("S", 47.0));
        benchmark::DoNotOptimize(calc.arrival("PKIKP", 150.0));
        depth += 1.0;
    }
}
BENCHMARK(BM_TravelTimeNewDepth)->Unit(benchmark::kMillisecond);

// A cached calculator: the cost of one look-up.
void BM_TravelTimeLookup(benchmark::State& state) {
    orvane::TravelTimeCalculator calc(orvane::ak135Model(), 33.0);
    calc.arrival("P", 10.0);
    double d = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(calc.arrival("P", d));
        d = d >= 179.0 ? 0.0 : d + 1.0;
    }
}
BENCHMARK(BM_TravelTimeLookup)->Unit(benchmark::kMicrosecond);

}  // namespace
