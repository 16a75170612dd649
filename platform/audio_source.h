#pragma once
// The pull source a QAudioSink reads: every read renders the next whole
// frames from the mixer, so the device sets the pace.

#include <QIODevice>

#include "platform/audio_mixer.h"

namespace orvane {

class AudioMixerSource final : public QIODevice {
public:
    explicit AudioMixerSource(AudioMixer& mixer) : mixer_(mixer) {}
    bool isSequential() const override { return true; }
    /// Always plenty: the mixer never runs dry.
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    AudioMixer& mixer_;
};

}  // namespace orvane
