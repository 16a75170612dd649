#pragma once
// A small standard MIDI file writer (and a structural reader used to check
// what was written). Tracks collect events at absolute ticks; encoding sorts
// them and writes delta times as variable-length quantities.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

/// One track of a MIDI file under construction.
class MidiTrack {
public:
    void tempo(std::uint32_t tick, std::uint32_t microsecondsPerQuarter);
    void programChange(std::uint32_t tick, int channel, int program);
    void controller(std::uint32_t tick, int channel, int number, int value);
    void pitchBend(std::uint32_t tick, int channel, int value);  ///< 0..16383, 8192 centre
    /// A note from `tick` lasting `length` ticks (note-on, then note-off).
    void note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity);
    /// The track name meta event, at tick 0.
    void name(std::string_view text);

    /// The track chunk ("MTrk", length, events, end of track).
    std::string encode() const;

private:
    struct Item {
        std::uint32_t tick;
        int order;  // at one tick: meta first, then note-offs, then the rest
        std::uint32_t sequence;
        std::string bytes;
    };
    void add(std::uint32_t tick, int order, std::string bytes);
    std::vector<Item> items_;
};

/// A whole file: format 0 for one track, format 1 for more.
std::string encodeMidiFile(const std::vector<MidiTrack>& tracks, std::uint16_t ticksPerQuarter);

/// What a structural read of a MIDI file found.
struct MidiSummary {
    int format = 0;
    int trackCount = 0;
    int ticksPerQuarter = 0;
    int noteOns = 0;           ///< note-on events with a velocity above 0
    int unmatchedNotes = 0;    ///< notes started and never ended
    std::uint32_t lastTick = 0;
    double seconds = 0;        ///< length in seconds, following tempo changes
    std::vector<int> programs; ///< program changes in file order
};

/// Reads the chunk structure and every event of a file made of MThd and MTrk
/// chunks. Returns nullopt for anything malformed (bad chunk lengths, a
/// truncated event, a missing end of track, running status before any
/// status). Never reads past `bytes`.
std::optional<MidiSummary> readMidiSummary(std::string_view bytes);

}  // namespace orvane
