// Loading an event of 24 one-hour traces (72,000 samples at 20 a second)
// against reading the same files' bytes with plain fread, in the same run.
// Target: loadEvent takes at most twice the raw read. Two raw reads: into one
// buffer used again and again (hot memory), and into buffers kept until the
// next round (fresh memory, as the loaded traces need).

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/event_loading.h"
#include "data/sac.h"

namespace {

using namespace orvane;

constexpr int kTraces = 24;
constexpr std::size_t kSamples = 72000;

// The event and its files, made once in a temporary directory.
struct Fixture {
    Fixture() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvane-bench-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (!::mkdtemp(name.data())) std::abort();
        root = name.data();
        std::string data = root + "/2004122600";
        std::filesystem::create_directory(data);
        std::string text = "EVENT LATITUDE: 3.30\nEVENT LONGITUDE: 95.98\nEVENT DEPTH: 30\n"
                           "EVENT DATE: 2004/12/26\nORIGIN TIME: 00:58:53.4\n";
        for (int i = 0; i < kTraces; ++i) {
            SacTrace t;
            t.delta = 0.05f;
            t.year = 2004;
            t.dayOfYear = 361;
            t.minute = 59;
            t.station = "ST" + std::to_string(i);
            t.component = "BHZ";
            t.stationLatitude = static_cast<float>(i * 7 - 80);
            t.stationLongitude = static_cast<float>(i * 13);
            t.samples.resize(kSamples);
            for (std::size_t k = 0; k < kSamples; ++k)
                t.samples[k] = 1000.0f * std::sin(0.01f * static_cast<float>(k + i));
            std::string file = "ST" + std::to_string(i) + ".BHZ";
            if (!writeSac(data + "/" + file, t)) std::abort();
            files.push_back(data + "/" + file);
            text += "STATION FILE: " + file + "\n";
        }
        eventPath = root + "/2004122600.evt";
        std::ofstream(eventPath) << text;
    }
    ~Fixture() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }

    std::string root;
    std::string eventPath;
    std::vector<std::string> files;
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_LoadEvent(benchmark::State& state) {
    Fixture& f = fixture();
    LoadedEvent event;
    for (auto _ : state) {
        if (!loadEvent(event, f.eventPath) || event.traceList.size() != kTraces) {
            state.SkipWithError("event did not load");
            break;
        }
        benchmark::DoNotOptimize(event.traceList.front()->samples.data());
    }
    state.SetBytesProcessed(state.iterations() * kTraces * (632 + kSamples * 4));
}
BENCHMARK(BM_LoadEvent)->Unit(benchmark::kMillisecond);

void BM_RawRead(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        for (const std::string& path : f.files) {
            std::FILE* file = std::fopen(path.c_str(), "rb");
            if (!file) {
                state.SkipWithError("cannot open");
                return;
            }
            std::vector<unsigned char> buffer(632 + kSamples * 4);
            std::size_t n = std::fread(buffer.data(), 1, buffer.size(), file);
            std::fclose(file);
            benchmark::DoNotOptimize(buffer.data());
            benchmark::DoNotOptimize(n);
        }
    }
    state.SetBytesProcessed(state.iterations() * kTraces * (632 + kSamples * 4));
}
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond);

// The same reads into buffers that stay alive together until the next round,
// as loaded traces do: fresh memory each round, like a real load.
void BM_RawReadKept(benchmark::State& state) {
    Fixture& f = fixture();
    std::vector<std::vector<unsigned char>> kept;
    for (auto _ : state) {
        kept.clear();
        for (const std::string& path : f.files) {
            std::FILE* file = std::fopen(path.c_str(), "rb");
            if (!file) {
                state.SkipWithError("cannot open");
                return;
            }
            kept.emplace_back(632 + kSamples * 4);
            std::size_t n = std::fread(kept.back().data(), 1, kept.back().size(), file);
            std::fclose(file);
            benchmark::DoNotOptimize(n);
        }
        benchmark::DoNotOptimize(kept.data());
    }
    state.SetBytesProcessed(state.iterations() * kTraces * (632 + kSamples * 4));
}
BENCHMARK(BM_RawReadKept)->Unit(benchmark::kMillisecond);

}  // namespace
