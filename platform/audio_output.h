#pragma once
// The program's one sound output: the system's default audio device, read
// by a QAudioSink in pull mode from the mixer. The sink lives on a thread of
// its own so that painting never starves it. Without a device (CI, a
// headless kiosk) there is no mixer and every sound is silently skipped.

#include <memory>
#include <string>

#include "platform/audio_mixer.h"

class QThread;
class QAudioSink;
class QIODevice;

namespace orvane {

class AudioOutput {
public:
    /// Opens the default output, if the system has one, and starts pulling.
    /// Never waits for the device.
    explicit AudioOutput(const std::string& soundFontPath = kGeneralMidiSoundFont);
    /// Stops the sink and its thread (waits for them: only at program end).
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    /// The mixer that feeds the device, or nullptr when there is no device.
    AudioMixer* mixer() { return mixer_.get(); }

private:
    std::unique_ptr<AudioMixer> mixer_;
    std::unique_ptr<QThread> thread_;
    QIODevice* source_ = nullptr;  // lives on thread_
    QAudioSink* sink_ = nullptr;   // lives on thread_
};

}  // namespace orvane
