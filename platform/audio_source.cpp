#include "platform/audio_source.h"

#include <limits>

namespace orvane {

qint64 AudioMixerSource::bytesAvailable() const {
    return std::numeric_limits<int>::max() / 2 + QIODevice::bytesAvailable();
}

qint64 AudioMixerSource::readData(char* data, qint64 maxSize) {
    const qint64 frameBytes = mixer_.format().bytesPerFrame();
    const qint64 frames = maxSize / frameBytes;
    if (frames <= 0) return 0;
    mixer_.render(data, static_cast<std::size_t>(frames));
    return frames * frameBytes;
}

}  // namespace orvane
