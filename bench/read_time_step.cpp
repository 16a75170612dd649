// Cost of one tick's wavefront read: one 10-second step of a generated table
// shaped like the real ones (0..3600 s, two dozen phases, a few hundred points
// per record), against reading the same bytes with a plain fread.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/travel_time_table.h"

namespace {

constexpr int kStep = 10;
constexpr int kLastTime = 3600;
constexpr int kClock = 1805;

struct Phase {
    const char* name;
    int waveType;
};
constexpr Phase kPhases[] = {
    {"P", 1},     {"pP", 1},    {"PP", 1},  {"PPP", 1},   {"PcP", 1},  {"PKP", 1},
    {"PKIKP", 1}, {"PKiKP", 1}, {"PcS", 1}, {"PS", 1},    {"PKKP", 1}, {"P'P'", 1},
    {"S", 2},     {"sS", 2},    {"SS", 2},  {"SSS", 2},   {"ScS", 2},  {"SKS", 2},
    {"SKKS", 2},  {"ScP", 2},   {"SP", 2},  {"SKIKS", 2}, {"sP", 1},   {"Pdiff", 1},
};

void put16(std::string& out, int v) {
    out.push_back(static_cast<char>(v & 0xff));
    out.push_back(static_cast<char>((v >> 8) & 0xff));
}

struct GeneratedTable {
    std::filesystem::path dir;
    std::int64_t stepBegin = 0, stepEnd = 0;  // byte range of the benchmarked step

    GeneratedTable() {
        dir = std::filesystem::temp_directory_path() /
              ("orvane-bench-" + std::to_string(static_cast<long>(::getpid())));
        std::filesystem::create_directories(dir);
        std::string data, index;
        for (int t = 0; t <= kLastTime; t += kStep) {
            std::int32_t offset = static_cast<std::int32_t>(data.size());
            for (int b = 0; b < 4; ++b) index.push_back(static_cast<char>(offset >> (8 * b)));
            if (t == kClock / kStep * kStep) stepBegin = offset;
            int p = 0;
            for (const Phase& phase : kPhases) {
                int count = t == 0 ? 0 : 150 + (p * 37 + t / kStep * 11) % 350;
                std::string name(phase.name);
                name.resize(12, '\0');
                data += name;
                put16(data, phase.waveType);
                put16(data, t);
                put16(data, count);
                put16(data, 0);
                double radius = 6371.0 - (t * 7 + p * 13) % 6000;
                for (int k = 0; k < count; ++k) {
                    double a = M_PI * k / count;
                    put16(data, static_cast<int>(radius * std::cos(a)));
                    put16(data, static_cast<int>(radius * std::sin(a)));
                }
                ++p;
            }
            if (t == kClock / kStep * kStep) stepEnd = static_cast<std::int64_t>(data.size());
        }
        std::ofstream(dir / "OV0.INX", std::ios::binary) << index;
        std::ofstream(dir / "OV0.BIN", std::ios::binary) << data;
    }
    ~GeneratedTable() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string file(const char* name) const { return (dir / name).string(); }
};

const GeneratedTable& table() {
    static GeneratedTable generated;
    return generated;
}

void readStep(benchmark::State& state, const orvane::TravelTimeTable::WantRecord& want) {
    orvane::TravelTimeTable t;
    if (!t.load(table().file("OV0.INX"), table().file("OV0.BIN"))) {
        state.SkipWithError("table did not load");
        return;
    }
    std::int64_t points = 0, records = 0;
    for (auto _ : state) {
        long sum = 0;
        t.readTimeStep(kClock, want, [&](const orvane::WavefrontRecord& r) {
            for (const auto& p : r.points) sum += p.along + p.across;
            points += static_cast<std::int64_t>(r.points.size());
            ++records;
        });
        benchmark::DoNotOptimize(sum);
    }
    state.counters["records"] =
        benchmark::Counter(static_cast<double>(records) / static_cast<double>(state.iterations()));
    state.counters["points"] =
        benchmark::Counter(static_cast<double>(points) / static_cast<double>(state.iterations()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            (table().stepEnd - table().stepBegin));
}

void BM_ReadTimeStepAllPhases(benchmark::State& state) { readStep(state, {}); }
BENCHMARK(BM_ReadTimeStepAllPhases);

void BM_ReadTimeStepPPhasesOnly(benchmark::State& state) {
    readStep(state, [](std::string_view name) { return name.starts_with("P"); });
}
BENCHMARK(BM_ReadTimeStepPPhasesOnly);

// The floor: one seek and one fread of the step's bytes, no parsing.
void BM_RawReadOfTheSameBytes(benchmark::State& state) {
    std::FILE* f = std::fopen(table().file("OV0.BIN").c_str(), "rb");
    if (!f) {
        state.SkipWithError("no data file");
        return;
    }
    std::vector<char> buffer(static_cast<std::size_t>(table().stepEnd - table().stepBegin));
    for (auto _ : state) {
        std::fseek(f, static_cast<long>(table().stepBegin), SEEK_SET);
        benchmark::DoNotOptimize(std::fread(buffer.data(), 1, buffer.size(), f));
        benchmark::DoNotOptimize(buffer.data());
    }
    std::fclose(f);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(buffer.size()));
}
BENCHMARK(BM_RawReadOfTheSameBytes);

}  // namespace
