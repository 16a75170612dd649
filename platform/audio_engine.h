#pragma once
// What the sound services ask of the sound output: the synthesizer's short
// messages, a tune, a one-shot seismogram sound and the system beeps. The
// mixer is the real one; tests put a recorder in its place.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvane {

enum class BeepKind {
    Simple,  // the plain "PC speaker" beep
    Chime,   // the asterisk sound
};

class AudioEngine {
public:
    virtual ~AudioEngine() = default;

    /// True when a synthesizer with a loaded SoundFont can sound MIDI.
    virtual bool hasSynthesizer() const = 0;

    /// One MIDI short message packed as status | data1 << 8 | data2 << 16.
    virtual void sendShortMessage(std::uint32_t message) = 0;

    /// Releases every note on every channel.
    virtual void resetMidi() = 0;

    /// Starts a standard MIDI file held in memory, replacing any tune that
    /// plays. False when it cannot be played.
    virtual bool startTune(const std::vector<std::uint8_t>& midiFile) = 0;

    /// Stops the tune and silences what it left sounding.
    virtual void stopTune() = 0;

    /// Plays 8-bit unsigned 16 kHz mono samples, copied in. False (and the
    /// sound dropped) while the previous one still plays.
    virtual bool playPcm(const std::uint8_t* bytes, std::size_t count) = 0;

    /// True from playPcm until the sound has ended or been stopped.
    virtual bool pcmPlaying() const = 0;

    /// Cuts the seismogram sound off.
    virtual void stopPcm() = 0;

    virtual void beep(BeepKind kind) = 0;
};

}  // namespace orvane
