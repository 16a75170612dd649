#pragma once
// The one mixer behind the sound output: a FluidSynth synthesizer (tunes and
// the click), the seismogram voice and the system beeps, rendered into the
// device's sample format.
//
// Threads. The public functions above render() belong to the user-interface
// thread; render() belongs to the audio thread (or to a test calling it
// directly). The rules that keep the audio thread on time:
//  - render() never allocates, never locks, never touches a file;
//  - everything the user-interface side changes reaches the audio thread
//    through the lock-free single-producer queues or atomics below, and the
//    synthesizer itself is touched only by render() (its thread-safe API is
//    switched off, so it has no mutex);
//  - the tune's player runs on its own timer thread against a private
//    synthesizer that never sounds; it reads and parses the MIDI file there
//    and forwards each event through its own queue, stamped with the time it
//    was due; render() places events at the matching frame;
//  - the user-interface side never waits for the audio thread: a full queue
//    drops the message (nothing sounds then, which is the quiet failure).

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio_engine.h"
#include "platform/audio_pcm_voice.h"
#include "platform/audio_queue.h"
#include "platform/audio_tone.h"

namespace orvane {

enum class AudioSampleFormat { UInt8, Int16, Int32, Float };

struct AudioFormat {
    int sampleRate = 48000;
    int channels = 2;
    AudioSampleFormat sampleFormat = AudioSampleFormat::Float;

    int bytesPerSample() const;
    int bytesPerFrame() const { return bytesPerSample() * channels; }
};

/// The General MIDI SoundFont of the timgm6mb-soundfont package.
inline constexpr const char* kGeneralMidiSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

class AudioMixer final : public AudioEngine {
public:
    /// A missing or unreadable SoundFont leaves the mixer without a
    /// synthesizer: MIDI is silent, everything else works.
    explicit AudioMixer(AudioFormat format, const std::string& soundFontPath = kGeneralMidiSoundFont);
    ~AudioMixer() override;
    AudioMixer(const AudioMixer&) = delete;
    AudioMixer& operator=(const AudioMixer&) = delete;

    const AudioFormat& format() const { return format_; }

    // User-interface thread.
    bool hasSynthesizer() const override { return synth_ != nullptr; }
    void sendShortMessage(std::uint32_t message) override;
    void resetMidi() override;
    bool startTune(const std::vector<std::uint8_t>& midiFile) override;
    void stopTune() override;
    bool playPcm(const std::uint8_t* bytes, std::size_t count) override;
    bool pcmPlaying() const override;
    void stopPcm() override;
    void beep(BeepKind kind) override;

    /// Audio thread: writes `frames` whole frames in the device format.
    void render(void* out, std::size_t frames);

private:
    struct Command {
        enum Kind : std::uint8_t { Midi, MidiReset, TuneStop, PcmStart, PcmStop, Beep } kind = Midi;
        std::uint32_t value = 0;
        std::uint32_t id = 0;
    };
    struct TuneEvent {
        std::int64_t dueMicros = 0;
        std::uint32_t generation = 0;
        std::uint32_t message = 0;
    };
    struct Fluid;  // FluidSynth objects
    static constexpr std::size_t kChunkFrames = 1024;

    void postCommand(const Command& command);
    void applyCommands();
    void applyMidi(std::uint32_t message);
    void renderChunk(std::size_t frames);
    void renderSynth(std::size_t from, std::size_t to);
    void writeOut(unsigned char* out, std::size_t frames) const;
    std::int64_t dueFrame(const TuneEvent& event, std::int64_t nowMicros);

    AudioFormat format_;
    std::unique_ptr<Fluid> fluid_;
    void* synth_ = nullptr;  // fluid_synth_t, owned by fluid_

    AudioQueue<Command, 1024> commands_;
    AudioQueue<TuneEvent, 4096> tuneEvents_;
    std::atomic<std::uint32_t> tuneGeneration_{0};
    std::uint32_t lastGeneration_ = 0;  // user-interface side counter

    // Seismogram voice handshake: the user-interface side counts sounds
    // started, the audio thread publishes the last one that ended.
    std::uint32_t pcmStarted_ = 0;
    std::atomic<std::uint32_t> pcmFinished_{0};

    // Audio thread only.
    AudioPcmVoice pcm_;
    AudioTone tone_;
    std::uint32_t pcmPlayingId_ = 0;
    std::uint32_t anchorGeneration_ = 0;
    double anchorOffset_ = 0;  // frame = dueMicros * rate / 1e6 + anchorOffset_
    std::int64_t cursor_ = 0;  // frames rendered so far
    std::size_t largestRequest_ = 0;
    std::vector<float> left_, right_;
};

}  // namespace orvane
