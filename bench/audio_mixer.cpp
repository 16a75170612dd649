// Cost of rendering one 10 ms block on the audio thread while a tune plays,
// the click sounds and a seismogram is heard. Reported as the share of the
// 10 ms the block stands for ("share_of_10ms"; must stay far below 1).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/audio_mixer.h"

namespace {

using orvane::AudioMixer;

// A standard MIDI file: three channels holding six-note chords (organ,
// strings, piano) that change every two seconds, for a minute.
std::vector<std::uint8_t> chordTune() {
    std::vector<std::uint8_t> track{0x00, 0xC0, 19, 0x00, 0xC1, 48, 0x00, 0xC2, 0};
    const int roots[] = {48, 53, 55, 50};
    for (int bar = 0; bar < 30; ++bar) {
        const int root = roots[bar % 4];
        const int notes[] = {root, root + 4, root + 7};
        for (int channel = 0; channel < 3; ++channel)
            for (int i = 0; i < 3; ++i) {
                track.insert(track.end(), {0x00, static_cast<std::uint8_t>(0x90 | channel),
                                           static_cast<std::uint8_t>(notes[i] + 12 * (channel % 2)),
                                           90});
            }
        bool first = true;
        for (int channel = 0; channel < 3; ++channel)
            for (int i = 0; i < 3; ++i) {
                // 384 ticks (two seconds at 96 per beat, 120 a minute) before the first note-off.
                if (first)
                    track.insert(track.end(), {0x83, 0x00});
                else
                    track.push_back(0x00);
                first = false;
                track.insert(track.end(), {static_cast<std::uint8_t>(0x80 | channel),
                                           static_cast<std::uint8_t>(notes[i] + 12 * (channel % 2)),
                                           64});
            }
    }
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
    std::vector<std::uint8_t> file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k'};
    const auto size = static_cast<std::uint32_t>(track.size());
    file.insert(file.end(), {static_cast<std::uint8_t>(size >> 24), static_cast<std::uint8_t>(size >> 16),
                             static_cast<std::uint8_t>(size >> 8), static_cast<std::uint8_t>(size)});
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

void BM_RenderTenMilliseconds(benchmark::State& state) {
    if (!std::filesystem::is_regular_file(orvane::kGeneralMidiSoundFont)) {
        state.SkipWithError("no General MIDI SoundFont installed");
        return;
    }
    const int rate = 48000;
    AudioMixer mixer({rate, 2, orvane::AudioSampleFormat::Int16});
    const std::size_t frames = rate / 100;
    std::vector<std::int16_t> out(frames * 2);
    mixer.startTune(chordTune());
    // Let the player's thread deliver the first chords in real time.
    for (int i = 0; i < 30; ++i) {
        mixer.render(out.data(), frames);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::vector<std::uint8_t> seismogram(32767);
    for (std::size_t i = 0; i < seismogram.size(); ++i)
        seismogram[i] = static_cast<std::uint8_t>(128 + 100 * ((i / 20) % 2 ? 1 : -1));

    std::int64_t block = 0;
    for (auto _ : state) {
        if (block % 25 == 0) {
            mixer.sendShortMessage(0xB9 | 7 << 8 | 90 << 16);
            mixer.sendShortMessage(0x99 | 77 << 8 | 127 << 16);
        }
        if (!mixer.pcmPlaying()) mixer.playPcm(seismogram.data(), seismogram.size());
        mixer.render(out.data(), frames);
        benchmark::DoNotOptimize(out.data());
        ++block;
    }
    int loudest = 0;
    for (std::int16_t v : out) loudest = std::max(loudest, std::abs(static_cast<int>(v)));
    if (loudest < 100) state.SkipWithError("the mix was silent: nothing was measured");
    mixer.stopTune();
    state.counters["share_of_10ms"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * 0.010,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RenderTenMilliseconds)->Unit(benchmark::kMicrosecond);

}  // namespace
