#include "app/sound.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "data/files.h"
#include "data/settings.h"
#include "platform/audio_engine.h"
#include "platform/audio_output.h"
#include "platform/audio_pcm_voice.h"

namespace orvane {
namespace {

constexpr std::size_t kMaxTuneBytes = 1 << 20;  // tunes are small; refuse anything huge
constexpr int kClickNote = 77;                  // a wood block on the percussion channel

// Reads a whole tune of at most kMaxTuneBytes; 0 or the playTune error.
int readTune(const std::string& fileName, std::vector<std::uint8_t>& bytes) {
    std::FILE* file = openFile(fileName, "rb");
    if (!file) return kTuneFileNotFound;
    bytes.resize(kMaxTuneBytes + 1);
    const std::size_t count = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    bytes.resize(count);
    if (count > kMaxTuneBytes || count < 14 || std::memcmp(bytes.data(), "MThd", 4) != 0)
        return kTuneInvalidFile;
    return 0;
}

}  // namespace

int Sound::playTune(const std::string& fileName, QObject* /*notifyWindow*/) {
    std::vector<std::uint8_t> bytes;
    if (const int error = readTune(fileName, bytes)) return error;
    // A tune still open would otherwise play on with nobody able to stop it.
    stopTune();
    sequencerDevice_ = 1;
    // Without a synthesizer the port is not the MIDI mapper: nothing plays.
    if (!engine_ || !engine_->hasSynthesizer()) return 0;
    if (!engine_->startTune(bytes)) {
        stopTune();
        return kTuneCannotPlay;
    }
    return 0;
}

int Sound::stopTune() {
    if (sequencerDevice_ != 0 && engine_) engine_->stopTune();
    sequencerDevice_ = 0;
    return 0;
}

void Sound::chooseVoiceChannels() {
    if (channelsChosen_) return;
    // The percussion channel of the base-level or the general MIDI convention.
    voiceChannels_[0] = settings.baseLevelMidi ? 15 : 9;
    channelsChosen_ = true;
}

int Sound::openMidi() {
    if (midiOut_) return kMidiOpened;
    chooseVoiceChannels();
    if (!engine_ || !engine_->hasSynthesizer()) return kNoMidiDevice;
    midiOut_ = true;
    shortMessage(0, 0xC0, 0, 0);
    return kMidiOpened;
}

void Sound::closeMidi() {
    if (!midiOut_) return;
    for (int voice = 0; voice < 3; ++voice) noteOff(voice, 64);
    engine_->resetMidi();
    midiOut_ = false;
}

void Sound::shortMessage(int voice, std::uint32_t status, int first, int second) {
    if (!midiOut_ || voice < 0 || voice > 2 || voiceChannels_[voice] < 0) return;
    const auto channel = static_cast<std::uint32_t>(voiceChannels_[voice]);
    engine_->sendShortMessage((status | channel) | static_cast<std::uint32_t>(first & 0x7F) << 8 |
                              static_cast<std::uint32_t>(second & 0x7F) << 16);
}

void Sound::noteOff(int voice, int velocity) {
    if (voice < 0 || voice > 2) return;
    shortMessage(voice, 0x80, lastNote_[voice], velocity);
}

void Sound::noteOn(int note, int voice, int velocity) {
    if (voice < 0 || voice > 2) return;
    noteOff(voice, velocity);
    shortMessage(voice, 0x90, note, velocity);
    lastNote_[voice] = note & 0x7F;
}

void Sound::setVolume(int voice, int value) {
    chooseVoiceChannels();
    shortMessage(voice, 0xB0, 7, value);
}

void Sound::click() {
    setVolume(0, 90);
    noteOn(kClickNote, 0, 127);
}

void Sound::playSamples(const std::uint8_t* bytes, std::int32_t length) {
    if (!engine_) return;
    waveOut_ = true;
    if (engine_->pcmPlaying()) return;  // dropped, not queued
    if (!bytes || length <= 0) return;
    const auto count = std::min<std::size_t>(static_cast<std::size_t>(length), AudioPcmVoice::kMaxBytes);
    engine_->playPcm(bytes, count);
}

void Sound::closeWave() {
    if (!waveOut_) return;
    engine_->stopPcm();
    waveOut_ = false;
}

void Sound::messageBeep(std::uint32_t type) {
    if (engine_) engine_->beep(type == kSimpleBeep ? BeepKind::Simple : BeepKind::Chime);
}

// ---- program-wide ---------------------------------------------------------

namespace {

struct ProgramSound {
    std::unique_ptr<AudioOutput> output;
    Sound services;
};

ProgramSound& programSound() {
    static ProgramSound instance;
    return instance;
}

}  // namespace

Sound& sound() { return programSound().services; }

void openSoundOutput() {
    ProgramSound& program = programSound();
    if (program.output) return;
    program.output = std::make_unique<AudioOutput>();
    program.services = Sound(program.output->mixer());
    // The output's thread must end while Qt still runs, even if the program
    // forgets to release the sound at exit.
    static bool routineAdded = false;
    if (!routineAdded && QCoreApplication::instance()) {
        qAddPostRoutine(releaseSound);
        routineAdded = true;
    }
}

void useSoundEngine(AudioEngine* engine) {
    releaseSound();
    programSound().services = Sound(engine);
}

void releaseSound() {
    ProgramSound& program = programSound();
    program.services.stopTune();
    program.services.closeMidi();
    program.services.closeWave();
    program.services = Sound();
    program.output.reset();
}

}  // namespace orvane
