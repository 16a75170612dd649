#pragma once
// The seismogram voice: 8-bit unsigned mono samples at 16000 per second
// (silence 128), played once and resampled to the device rate by linear
// interpolation. The buffer is allocated once; load() copies into it on the
// user-interface side while the voice is idle, the audio thread plays it.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvane {

class AudioPcmVoice {
public:
    static constexpr int kSourceRate = 16000;
    /// The sound length is a 16-bit signed byte count.
    static constexpr std::size_t kMaxBytes = 32767;

    explicit AudioPcmVoice(int deviceRate);

    /// Copies up to kMaxBytes samples into the voice's buffer; returns how
    /// many were taken. Only while the audio thread is not playing the voice.
    std::size_t load(const std::uint8_t* bytes, std::size_t count);

    // Audio thread.
    void start(std::size_t count);
    void stop() { active_ = false; }
    bool active() const { return active_; }
    /// Adds up to `frames` frames; returns how many frames the sound filled
    /// (fewer than asked when it ends).
    std::size_t mixInto(float* left, float* right, std::size_t frames);

    /// Device frames a sound of `count` samples lasts.
    std::uint64_t framesFor(std::size_t count) const;

private:
    std::vector<std::uint8_t> samples_;
    std::uint64_t rate_;
    std::uint64_t phase_ = 0;  // source position times the device rate
    std::uint64_t end_ = 0;    // sample count times the device rate
    std::size_t count_ = 0;
    bool active_ = false;
};

}  // namespace orvane
