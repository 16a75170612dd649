// The sound services: the exact MIDI messages they send, what is dropped or
// cut, and what a real mixer (rendered without a device) makes of them.
#include "app/sound.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "data/settings.h"
#include "platform/audio_engine.h"
#include "platform/audio_mixer.h"
#include "tests/platform/audio_listen.h"
#include "tests/support/temp_dir.h"

namespace orvane {
namespace {

using test::kAudible;
using test::kSilent;
using test::listenSeconds;
using test::peak;
using test::tailPeak;

constexpr std::uint32_t msg(std::uint32_t status, std::uint32_t first, std::uint32_t second) {
    return status | first << 8 | second << 16;
}

// Stands in for the mixer and records what the services ask of it.
class RecordingEngine : public AudioEngine {
public:
    bool synthesizer = true;
    bool refuseTunes = false;
    bool playing = false;
    std::vector<std::uint32_t> messages;
    int resets = 0, tunesStarted = 0, tunesStopped = 0, pcmStops = 0;
    std::vector<std::size_t> pcmCounts;
    std::vector<BeepKind> beeps;

    bool hasSynthesizer() const override { return synthesizer; }
    void sendShortMessage(std::uint32_t message) override { messages.push_back(message); }
    void resetMidi() override { ++resets; }
    bool startTune(const std::vector<std::uint8_t>&) override {
        if (refuseTunes) return false;
        ++tunesStarted;
        return true;
    }
    void stopTune() override { ++tunesStopped; }
    bool playPcm(const std::uint8_t*, std::size_t count) override {
        if (playing) return false;
        pcmCounts.push_back(count);
        playing = true;
        return true;
    }
    bool pcmPlaying() const override { return playing; }
    void stopPcm() override {
        ++pcmStops;
        playing = false;
    }
    void beep(BeepKind kind) override { beeps.push_back(kind); }
};

// A one-track standard MIDI file: piano middle C held for `beats` beats at
// the default 120 beats a minute (half a second each).
void writeTune(const std::string& path, int beats) {
    const int ticks = 96 * beats;
    std::vector<unsigned char> track{0x00, 0xC0, 0x00, 0x00, 0x90, 0x3C, 0x64,
                                     static_cast<unsigned char>(0x80 | (ticks >> 7)),
                                     static_cast<unsigned char>(ticks & 0x7F),
                                     0x80, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00};
    std::vector<unsigned char> file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
                                    'M', 'T', 'r', 'k', 0, 0, 0,
                                    static_cast<unsigned char>(track.size())};
    file.insert(file.end(), track.begin(), track.end());
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override { savedBaseLevel_ = settings.baseLevelMidi; }
    void TearDown() override { settings.baseLevelMidi = savedBaseLevel_; }

    static bool haveSoundFont() { return std::filesystem::is_regular_file(kGeneralMidiSoundFont); }

private:
    bool savedBaseLevel_ = false;
};

TEST_F(SoundTest, ClickIsAWoodBlockOnTheGeneralMidiPercussionChannel) {
    settings.baseLevelMidi = false;
    RecordingEngine engine;
    Sound sound(&engine);
    ASSERT_EQ(sound.openMidi(), kMidiOpened);
    sound.click();
    EXPECT_EQ(engine.messages, (std::vector<std::uint32_t>{
                                   msg(0xC9, 0, 0),     // program 0 on opening
                                   msg(0xB9, 7, 90),    // volume
                                   msg(0x89, 0, 127),   // the previous note (none yet) off
                                   msg(0x99, 77, 127),  // the click
                               }));
    sound.click();
    EXPECT_EQ(engine.messages[5], msg(0x89, 77, 127));
}

TEST_F(SoundTest, BaseLevelMidiUsesChannel15ChosenOnceAtFirstUse) {
    settings.baseLevelMidi = true;
    RecordingEngine engine;
    Sound sound(&engine);
    ASSERT_EQ(sound.openMidi(), kMidiOpened);
    settings.baseLevelMidi = false;  // too late: the table is chosen
    sound.click();
    EXPECT_EQ(engine.messages.front(), msg(0xCF, 0, 0));
    EXPECT_EQ(engine.messages.back(), msg(0x9F, 77, 127));
}

TEST_F(SoundTest, CloseMidiReleasesTheLastNoteAndSilencesUntilReopened) {
    settings.baseLevelMidi = false;
    RecordingEngine engine;
    Sound sound(&engine);
    sound.openMidi();
    sound.noteOn(60, 0, 100);
    engine.messages.clear();
    sound.closeMidi();
    // Voices 1 and 2 have no channel: only voice 0 is released.
    EXPECT_EQ(engine.messages, (std::vector<std::uint32_t>{msg(0x89, 60, 64)}));
    EXPECT_EQ(engine.resets, 1);
    EXPECT_FALSE(sound.midiOpen());
    sound.click();
    sound.closeMidi();
    EXPECT_EQ(engine.messages.size(), 1u);
    EXPECT_EQ(engine.resets, 1);
    EXPECT_EQ(sound.openMidi(), kMidiOpened);
    EXPECT_EQ(sound.openMidi(), kMidiOpened);  // already open: nothing sent again
    EXPECT_EQ(engine.messages.size(), 2u);
}

TEST_F(SoundTest, OddVoicesAndDataBytesStayInRange) {
    RecordingEngine engine;
    Sound sound(&engine);
    sound.openMidi();
    engine.messages.clear();
    sound.noteOn(60, 5, 100);
    sound.noteOff(-1, 64);
    sound.setVolume(3, 90);
    sound.noteOn(60, 1, 100);  // voice 1 never plays
    EXPECT_TRUE(engine.messages.empty());
    sound.noteOn(200, 0, 300);
    for (std::uint32_t m : engine.messages) {
        EXPECT_LT((m >> 8) & 0xFF, 128u);
        EXPECT_LT(m >> 16, 128u);
    }
}

TEST_F(SoundTest, WithoutSynthesizerOrDeviceMidiIsNotOpened) {
    RecordingEngine engine;
    engine.synthesizer = false;
    Sound withoutSoundFont(&engine);
    EXPECT_EQ(withoutSoundFont.openMidi(), kNoMidiDevice);
    withoutSoundFont.click();
    EXPECT_TRUE(engine.messages.empty());

    Sound noDevice;
    EXPECT_EQ(noDevice.openMidi(), kNoMidiDevice);
    noDevice.click();
    noDevice.closeMidi();
    noDevice.noteOn(60, 0, 100);
    noDevice.setVolume(0, 10);
    noDevice.messageBeep(kSimpleBeep);
    const std::vector<std::uint8_t> bytes(100, 200);
    noDevice.playSamples(bytes.data(), 100);
    EXPECT_FALSE(noDevice.waveOpen());
    noDevice.closeWave();
    EXPECT_EQ(noDevice.stopTune(), 0);
}

TEST_F(SoundTest, SamplesArriveWhilePlayingAreDroppedAndLengthsAre16Bit) {
    RecordingEngine engine;
    Sound sound(&engine);
    const std::vector<std::uint8_t> bytes(40000, 200);
    sound.playSamples(bytes.data(), 0);
    sound.playSamples(bytes.data(), -5);
    sound.playSamples(nullptr, 100);
    EXPECT_TRUE(engine.pcmCounts.empty());
    sound.playSamples(bytes.data(), 40000);
    sound.playSamples(bytes.data(), 100);  // the first still plays
    EXPECT_EQ(engine.pcmCounts, (std::vector<std::size_t>{32767}));
    EXPECT_TRUE(sound.waveOpen());
    sound.closeWave();
    sound.closeWave();
    EXPECT_EQ(engine.pcmStops, 1);
    sound.playSamples(bytes.data(), 100);
    EXPECT_EQ(engine.pcmCounts.back(), 100u);
}

TEST_F(SoundTest, MessageBeepKinds) {
    RecordingEngine engine;
    Sound sound(&engine);
    sound.messageBeep(kSimpleBeep);
    sound.messageBeep(kIconAsterisk);
    EXPECT_EQ(engine.beeps, (std::vector<BeepKind>{BeepKind::Simple, BeepKind::Chime}));
}

TEST_F(SoundTest, PlayTuneResults) {
    TempDir dir;
    writeTune(dir.file("OV.MID"), 2);
    {
        std::FILE* junk = std::fopen(dir.file("junk.mid").c_str(), "wb");
        std::fputs("not a tune at all", junk);
        std::fclose(junk);
    }
    RecordingEngine engine;
    Sound sound(&engine);
    EXPECT_EQ(sound.playTune(dir.file("missing.mid")), kTuneFileNotFound);
    EXPECT_EQ(sound.playTune(dir.file("junk.mid")), kTuneInvalidFile);
    EXPECT_EQ(sound.playTune(dir.path().string()), kTuneFileNotFound);  // a directory
    EXPECT_FALSE(sound.tuneOpen());
    EXPECT_EQ(sound.playTune(dir.file("ov.mid")), 0);  // names from Windows: any case
    EXPECT_EQ(engine.tunesStarted, 1);
    EXPECT_TRUE(sound.tuneOpen());
    // A second tune replaces the first instead of leaving it unstoppable.
    EXPECT_EQ(sound.playTune(dir.file("OV.MID")), 0);
    EXPECT_EQ(engine.tunesStopped, 1);
    EXPECT_EQ(sound.stopTune(), 0);
    EXPECT_EQ(sound.stopTune(), 0);
    EXPECT_EQ(engine.tunesStopped, 2);
    EXPECT_FALSE(sound.tuneOpen());

    engine.refuseTunes = true;
    EXPECT_EQ(sound.playTune(dir.file("OV.MID")), kTuneCannotPlay);
    EXPECT_FALSE(sound.tuneOpen());

    // Not the MIDI mapper (no SoundFont): not played, yet open until stopped.
    RecordingEngine silent;
    silent.synthesizer = false;
    Sound withoutSoundFont(&silent);
    EXPECT_EQ(withoutSoundFont.playTune(dir.file("OV.MID")), 0);
    EXPECT_EQ(silent.tunesStarted, 0);
    EXPECT_TRUE(withoutSoundFont.tuneOpen());
    EXPECT_EQ(withoutSoundFont.stopTune(), 0);

    Sound noDevice;
    EXPECT_EQ(noDevice.playTune(dir.file("OV.MID")), 0);
    EXPECT_EQ(noDevice.stopTune(), 0);
}

// ---- heard through a real mixer, rendered without a device ----------------

TEST_F(SoundTest, ClickIsHeardAndStops) {
    if (!haveSoundFont()) GTEST_SKIP() << "no General MIDI SoundFont installed";
    settings.baseLevelMidi = false;
    AudioMixer mixer(test::floatStereo());
    Sound sound(&mixer);
    ASSERT_EQ(sound.openMidi(), kMidiOpened);
    sound.click();
    EXPECT_GT(peak(listenSeconds(mixer, 0.1)), kAudible);
    EXPECT_LT(tailPeak(listenSeconds(mixer, 1.5), 24000), kSilent);
}

TEST_F(SoundTest, ChannelChoiceIsHeard) {
    if (!haveSoundFont()) GTEST_SKIP() << "no General MIDI SoundFont installed";
    // On channel 15 note 77 is a held piano note, on channel 9 a short click.
    float late[2];
    for (bool baseLevel : {false, true}) {
        settings.baseLevelMidi = baseLevel;
        AudioMixer mixer(test::floatStereo());
        Sound sound(&mixer);
        sound.openMidi();
        sound.click();
        late[baseLevel] = tailPeak(listenSeconds(mixer, 0.5), 4800);  // 0.4 to 0.5 s
    }
    EXPECT_LT(late[0], kSilent);
    EXPECT_GT(late[1], kAudible);
}

TEST_F(SoundTest, CloseMidiReleasesHeldNotes) {
    if (!haveSoundFont()) GTEST_SKIP() << "no General MIDI SoundFont installed";
    settings.baseLevelMidi = true;  // a melodic channel, so the note is held
    float afterwards[2];
    for (bool close : {false, true}) {
        AudioMixer mixer(test::floatStereo());
        Sound sound(&mixer);
        sound.openMidi();
        sound.noteOn(60, 0, 127);
        EXPECT_GT(peak(listenSeconds(mixer, 0.3)), kAudible);
        if (close) sound.closeMidi();
        afterwards[close] = tailPeak(listenSeconds(mixer, 0.6), 4800);  // 0.8 to 0.9 s
    }
    EXPECT_GT(afterwards[0], kAudible);
    EXPECT_LT(afterwards[1], kSilent);
}

TEST_F(SoundTest, TunePlaysAndStopTuneSilencesIt) {
    if (!haveSoundFont()) GTEST_SKIP() << "no General MIDI SoundFont installed";
    TempDir dir;
    writeTune(dir.file("EQ.MID"), 8);  // four seconds of middle C
    AudioMixer mixer(test::floatStereo());
    Sound sound(&mixer);
    ASSERT_EQ(sound.playTune(dir.file("EQ.MID")), 0);
    ASSERT_TRUE(test::listenUntilHeard(mixer, 2.0));
    EXPECT_GT(peak(listenSeconds(mixer, 0.3)), kAudible);  // the note is held
    sound.stopTune();
    EXPECT_LT(tailPeak(listenSeconds(mixer, 1.0), 9600), kSilent);
    // Restarting the tune works after a stop.
    ASSERT_EQ(sound.playTune(dir.file("EQ.MID")), 0);
    EXPECT_TRUE(test::listenUntilHeard(mixer, 2.0));
    sound.stopTune();
}

TEST_F(SoundTest, WithoutSoundFontTunesAndClicksAreSilent) {
    TempDir dir;
    writeTune(dir.file("OV.MID"), 2);
    AudioMixer mixer(test::floatStereo(), dir.file("missing.sf2"));
    Sound sound(&mixer);
    EXPECT_EQ(sound.playTune(dir.file("OV.MID")), 0);
    EXPECT_EQ(sound.openMidi(), kNoMidiDevice);
    sound.click();
    EXPECT_LT(peak(listenSeconds(mixer, 0.3)), kSilent);
    sound.stopTune();
}

TEST_F(SoundTest, PlaySamplesTwiceWithinOneSoundPlaysOnlyTheFirst) {
    AudioMixer mixer(test::floatStereo(), "");
    Sound sound(&mixer);
    const std::vector<std::uint8_t> high(1600, 255), low(1600, 0);  // 0.1 s each
    sound.playSamples(high.data(), 1600);
    listenSeconds(mixer, 0.01);
    sound.playSamples(low.data(), 1600);  // arrives while the first plays
    const auto heard = listenSeconds(mixer, 0.5);
    std::size_t loud = 0;
    for (float v : heard) {
        ASSERT_GE(v, -kSilent);
        loud += v > kAudible;
    }
    EXPECT_NEAR(static_cast<double>(loud), 0.09 * test::kTestRate, 2.0);
}

TEST_F(SoundTest, ProgramWideServicesOpenAndReleaseQuietly) {
    openSoundOutput();
    openSoundOutput();
    sound().openMidi();
    sound().click();
    sound().messageBeep(kIconAsterisk);
    releaseSound();
    EXPECT_EQ(sound().openMidi(), kNoMidiDevice);
    EXPECT_FALSE(sound().waveOpen());
}

}  // namespace
}  // namespace orvane
