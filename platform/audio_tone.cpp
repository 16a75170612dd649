#include "platform/audio_tone.h"

#include <algorithm>
#include <cmath>

namespace orvane {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kBeepSeconds = 0.2;
constexpr double kBeepHertz = 880.0;
constexpr double kChimeSeconds = 0.9;
constexpr double kChimeSecondNote = 0.15;  // the second bell strikes this much later
constexpr double kFadeSeconds = 0.005;     // soft edges: no click at start or end

// One bell stroke: a fundamental with an inharmonic partial, decaying.
double bell(double t, double hertz) {
    if (t < 0) return 0;
    const double envelope = std::exp(-t / 0.22);
    return envelope * (std::sin(kTwoPi * hertz * t) + 0.3 * std::sin(kTwoPi * hertz * 2.76 * t));
}

}  // namespace

AudioTone::AudioTone(int sampleRate) : rate_(std::max(sampleRate, 1)) {}

std::size_t AudioTone::lengthOf(BeepKind kind) const {
    const double seconds = kind == BeepKind::Simple ? kBeepSeconds : kChimeSeconds;
    return static_cast<std::size_t>(seconds * rate_);
}

void AudioTone::start(BeepKind kind) {
    kind_ = kind;
    position_ = 0;
    remaining_ = lengthOf(kind);
}

float AudioTone::sampleAt(std::size_t frame) const {
    const double t = static_cast<double>(frame) / rate_;
    const double length = static_cast<double>(lengthOf(kind_)) / rate_;
    const double edge = std::min({1.0, t / kFadeSeconds, (length - t) / kFadeSeconds});
    double value;
    if (kind_ == BeepKind::Simple) {
        // A softened square wave: the hard edge of a speaker beep without aliasing.
        value = 0.25 * std::tanh(4.0 * std::sin(kTwoPi * kBeepHertz * t));
    } else {
        value = 0.18 * (bell(t, 1318.5) + bell(t - kChimeSecondNote, 1046.5));
    }
    return static_cast<float>(value * std::max(edge, 0.0));
}

void AudioTone::mixInto(float* left, float* right, std::size_t frames) {
    const std::size_t count = std::min(frames, remaining_);
    for (std::size_t i = 0; i < count; ++i) {
        const float value = sampleAt(position_ + i);
        left[i] += value;
        right[i] += value;
    }
    position_ += count;
    remaining_ -= count;
}

}  // namespace orvane
