#pragma once
// The synthesized system sounds: a short square-ish beep (the "PC speaker")
// and a two-note bell chime. Plain code that runs on the audio thread: no
// allocation, no locks.

#include <cstddef>

#include "platform/audio_engine.h"

namespace orvane {

class AudioTone {
public:
    explicit AudioTone(int sampleRate);

    /// Restarts the tone from its beginning.
    void start(BeepKind kind);
    void stop() { remaining_ = 0; }
    bool active() const { return remaining_ > 0; }

    /// Adds the next `frames` frames to the two channels.
    void mixInto(float* left, float* right, std::size_t frames);

    /// Length of a tone in frames at this rate.
    std::size_t lengthOf(BeepKind kind) const;

private:
    float sampleAt(std::size_t frame) const;

    int rate_;
    BeepKind kind_ = BeepKind::Simple;
    std::size_t position_ = 0;
    std::size_t remaining_ = 0;
};

}  // namespace orvane
