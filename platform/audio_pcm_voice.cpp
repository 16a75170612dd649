#include "platform/audio_pcm_voice.h"

#include <algorithm>
#include <cstring>

namespace orvane {
namespace {

constexpr float kGain = 0.5f;  // a full-scale trace is loud; leave room for the synthesizer

float level(std::uint8_t sample) { return (static_cast<float>(sample) - 128.0f) / 128.0f; }

}  // namespace

AudioPcmVoice::AudioPcmVoice(int deviceRate)
    : samples_(kMaxBytes + 1, 128), rate_(static_cast<std::uint64_t>(std::max(deviceRate, 1))) {}

std::size_t AudioPcmVoice::load(const std::uint8_t* bytes, std::size_t count) {
    count = bytes ? std::min(count, kMaxBytes) : 0;
    if (count) std::memcpy(samples_.data(), bytes, count);
    return count;
}

void AudioPcmVoice::start(std::size_t count) {
    count_ = std::min(count, kMaxBytes);
    // Past the last sample the interpolation leans towards silence.
    samples_[count_] = 128;
    phase_ = 0;
    end_ = count_ * rate_;
    active_ = count_ > 0;
}

std::uint64_t AudioPcmVoice::framesFor(std::size_t count) const {
    const std::uint64_t total = std::min(count, kMaxBytes) * rate_;
    return (total + kSourceRate - 1) / kSourceRate;
}

std::size_t AudioPcmVoice::mixInto(float* left, float* right, std::size_t frames) {
    std::size_t i = 0;
    for (; active_ && i < frames; ++i) {
        if (phase_ >= end_) {
            active_ = false;
            break;
        }
        const std::uint64_t index = phase_ / rate_;
        const float fraction = static_cast<float>(phase_ % rate_) / static_cast<float>(rate_);
        const float a = level(samples_[index]);
        const float b = level(samples_[index + 1]);
        const float value = kGain * (a + (b - a) * fraction);
        left[i] += value;
        right[i] += value;
        phase_ += kSourceRate;
    }
    if (active_ && phase_ >= end_) active_ = false;
    return i;
}

}  // namespace orvane
