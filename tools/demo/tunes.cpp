#include "tools/demo/tunes.h"

#include <array>

#include "tools/demo/midi_writer.h"

namespace orvane {
namespace {

constexpr std::uint16_t kTicksPerQuarter = 480;
constexpr std::uint32_t kBar = 4 * kTicksPerQuarter;
constexpr std::uint32_t kEighth = kTicksPerQuarter / 2;

// General MIDI program numbers, counted from 0.
constexpr int kStringEnsemble = 48;
constexpr int kCelesta = 8;
constexpr int kTimpani = 47;
constexpr int kContrabass = 43;
constexpr int kTaikoDrum = 116;
constexpr int kPercussionChannel = 9;

}  // namespace

std::string openingTune() {
    MidiTrack track;
    track.name("Orvane");
    track.tempo(0, 500000);  // 120 beats a minute: two seconds a bar
    track.programChange(0, 0, kStringEnsemble);
    track.programChange(0, 1, kCelesta);
    track.programChange(0, 2, kTimpani);
    track.controller(0, 0, 7, 90);
    track.controller(0, 1, 7, 110);
    track.controller(0, 2, 7, 100);

    // D minor, rising like a wave front, resolving to D major.
    struct Chord {
        std::array<int, 3> keys;
        int root;
    };
    const std::array<Chord, 4> chords{{
        {{50, 53, 57}, 38},  // Dm
        {{46, 50, 53}, 34},  // Bb
        {{53, 57, 60}, 41},  // F
        {{48, 52, 55}, 36},  // C
    }};
    for (std::size_t bar = 0; bar < chords.size(); ++bar) {
        const std::uint32_t start = static_cast<std::uint32_t>(bar) * kBar;
        const int swell = 70 + 8 * static_cast<int>(bar);
        for (int key : chords[bar].keys) track.note(start, kBar - 20, 0, key, swell);
        track.note(start, kTicksPerQuarter, 2, chords[bar].root, 100);
        // Arpeggio over two octaves, up and part of the way back.
        const std::array<int, 8> steps{0, 1, 2, 3, 4, 5, 4, 3};
        for (std::size_t i = 0; i < steps.size(); ++i) {
            int step = steps[i];
            int key = chords[bar].keys[step % 3] + 12 * (1 + step / 3);
            track.note(start + static_cast<std::uint32_t>(i) * kEighth, kEighth - 10, 1, key, 80 + 4 * step);
        }
    }
    const std::uint32_t end = 4 * kBar;
    for (int key : {50, 54, 57, 62}) track.note(end, kBar + kBar / 2, 0, key, 100);
    for (int key : {74, 78, 81, 86}) track.note(end, kBar, 1, key, 96);
    // Timpani roll into the last chord, then the crash cymbal.
    for (std::uint32_t t = end - kBar / 2; t < end; t += kTicksPerQuarter / 8)
        track.note(t, kTicksPerQuarter / 8, 2, 38, 60 + static_cast<int>((t - (end - kBar / 2)) / 40));
    track.note(end, kTicksPerQuarter, 2, 38, 120);
    track.note(end, kBar, kPercussionChannel, 49, 110);
    return encodeMidiFile({track}, kTicksPerQuarter);
}

std::string earthquakeRumble() {
    MidiTrack track;
    track.name("Rumble");
    track.tempo(0, 500000);
    track.programChange(0, 0, kTimpani);
    track.programChange(0, 1, kContrabass);
    track.programChange(0, 2, kTaikoDrum);
    track.controller(0, 1, 7, 127);

    const std::uint32_t length = 6 * kTicksPerQuarter;  // three seconds
    const std::uint32_t roll = kTicksPerQuarter / 8;     // 32nd notes
    // Timpani roll on the lowest notes, loud at once and dying away, the way
    // ground shaking builds and decays.
    for (std::uint32_t t = 0, i = 0; t < length; t += roll, ++i) {
        int velocity = t < kTicksPerQuarter ? 70 + static_cast<int>(t * 57 / kTicksPerQuarter)
                                            : 127 - static_cast<int>((t - kTicksPerQuarter) * 90 / length);
        track.note(t, roll, 0, i % 2 ? 41 : 40, velocity);
    }
    // Low contrabass tones with a slow pitch wobble.
    track.note(0, length, 1, 28, 120);
    track.note(0, length, 1, 29, 100);
    for (std::uint32_t t = 0, i = 0; t < length; t += kTicksPerQuarter / 4, ++i)
        track.pitchBend(t, 1, 8192 + (i % 4 < 2 ? -600 : 600) * static_cast<int>(length - t) / static_cast<int>(length));
    track.pitchBend(length, 1, 8192);
    // Irregular drum hits: the jolts.
    for (std::uint32_t t : {0u, 300u, 520u, 880u, 1100u, 1500u, 2050u, 2600u})
        track.note(t, kTicksPerQuarter, 2, 36, 127 - static_cast<int>(t / 40));
    for (std::uint32_t t : {0u, 240u, 720u, 1320u, 1900u})
        track.note(t, kTicksPerQuarter / 2, kPercussionChannel, 35, 120 - static_cast<int>(t / 30));
    return encodeMidiFile({track}, kTicksPerQuarter);
}

}  // namespace orvane
