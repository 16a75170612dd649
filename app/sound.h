#pragma once
// The program-wide sound services: the two tunes, the button click on the
// synthesizer's percussion channel, the seismogram heard at an arrival and
// the system beeps. Every failure is quiet: no device, no SoundFont, a
// missing tune or a busy output only mean no sound. All calls come from the
// user-interface thread and none of them waits for the audio device.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class QObject;

namespace orvane {

class AudioEngine;

/// MessageBeep types: the plain beep ("PC speaker") and the asterisk sound.
inline constexpr std::uint32_t kSimpleBeep = 0xFFFFFFFF;
inline constexpr std::uint32_t kIconAsterisk = 0x40;

/// playTune results other than 0.
inline constexpr int kTuneFileNotFound = 275;  // missing or unreadable
inline constexpr int kTuneInvalidFile = 296;   // not a standard MIDI file
inline constexpr int kTuneCannotPlay = 278;    // the sequencer refused it

/// openMidi results.
inline constexpr int kMidiOpened = 0;
inline constexpr int kNoMidiDevice = 1;
inline constexpr int kMidiOpenFailed = 2;

class Sound {
public:
    /// `engine` null means no audio device: every call is silent.
    explicit Sound(AudioEngine* engine = nullptr) : engine_(engine) {}

    /// Plays a MIDI file. 0 on success and when it is not played (no
    /// synthesizer); the tune stays "open" until stopTune either way.
    int playTune(const std::string& fileName, QObject* notifyWindow = nullptr);
    /// Stops the tune; returns the close result (always 0).
    int stopTune();

    int openMidi();
    void closeMidi();
    void noteOff(int voice, int velocity);
    void noteOn(int note, int voice, int velocity);
    void setVolume(int voice, int value);
    /// The button click: a wood block on the percussion channel.
    void click();

    /// Plays `length` 8-bit unsigned samples at 16000 per second; a sound
    /// that arrives while the previous one plays is dropped. The length is
    /// 16-bit: longer sounds are cut to 32767 bytes.
    void playSamples(const std::uint8_t* bytes, std::int32_t length);
    void closeWave();

    /// kSimpleBeep gives the plain beep; any other type the chime.
    void messageBeep(std::uint32_t type);

    bool tuneOpen() const { return sequencerDevice_ != 0; }
    bool midiOpen() const { return midiOut_; }
    bool waveOpen() const { return waveOut_; }

private:
    void chooseVoiceChannels();
    void shortMessage(int voice, std::uint32_t status, int first, int second);

    AudioEngine* engine_;
    int sequencerDevice_ = 0;
    bool midiOut_ = false;
    bool channelsChosen_ = false;
    // Only voice 0 has a channel; voices 1 and 2 never play.
    std::array<int, 3> voiceChannels_{-1, -1, -1};
    std::array<int, 3> lastNote_{};
    bool waveOut_ = false;
};

/// The program-wide services (sound().click() etc.), silent until
/// openSoundOutput().
Sound& sound();
/// Opens the default audio device, if there is one, for the program-wide
/// services. Called once at start-up.
void openSoundOutput();
/// Closes tune, MIDI and wave output and the device (program end).
void releaseSound();
/// Puts `engine` (not owned; null for silence) behind the program-wide
/// services in place of the audio device, so a test hears what the program
/// plays.
void useSoundEngine(AudioEngine* engine);

}  // namespace orvane
