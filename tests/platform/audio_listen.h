#pragma once
// Test helpers that "listen" to a mixer: render it directly (no device) into
// float stereo and measure what would be heard.

#include <chrono>
#include <cmath>
#include <cstddef>
#include <thread>
#include <vector>

#include "platform/audio_mixer.h"

namespace orvane::test {

inline constexpr int kTestRate = 48000;
inline constexpr float kAudible = 0.005f;  // -46 dB: clearly heard
inline constexpr float kSilent = 0.0005f;  // -66 dB: nothing heard

inline AudioFormat floatStereo(int rate = kTestRate) {
    return {rate, 2, AudioSampleFormat::Float};
}

/// Renders `frames` frames of a float stereo mixer; returns the left channel.
inline std::vector<float> listen(AudioMixer& mixer, std::size_t frames) {
    std::vector<float> stereo(frames * 2);
    mixer.render(stereo.data(), frames);
    std::vector<float> left(frames);
    for (std::size_t i = 0; i < frames; ++i) left[i] = stereo[2 * i];
    return left;
}

inline std::vector<float> listenSeconds(AudioMixer& mixer, double seconds) {
    return listen(mixer, static_cast<std::size_t>(seconds * mixer.format().sampleRate));
}

/// Largest magnitude in [from, to) of a rendered stretch.
inline float peak(const std::vector<float>& samples, std::size_t from = 0,
                  std::size_t to = static_cast<std::size_t>(-1)) {
    float largest = 0;
    for (std::size_t i = from; i < samples.size() && i < to; ++i)
        largest = std::max(largest, std::fabs(samples[i]));
    return largest;
}

inline float tailPeak(const std::vector<float>& samples, std::size_t frames) {
    return peak(samples, samples.size() > frames ? samples.size() - frames : 0);
}

/// Renders in real time, 10 ms at a time, until something is heard (a tune's
/// player runs on its own timer thread) or `limitSeconds` pass. Returns
/// whether it was heard.
inline bool listenUntilHeard(AudioMixer& mixer, double limitSeconds) {
    const auto block = static_cast<std::size_t>(mixer.format().sampleRate / 100);
    for (int i = 0; i < limitSeconds * 100; ++i) {
        if (peak(listen(mixer, block)) > kAudible) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

}  // namespace orvane::test
