// The mixer rendered directly, without a device: what would be heard.
#include "platform/audio_mixer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/audio_queue.h"
#include "tests/platform/audio_listen.h"

namespace orvane {
namespace {

using test::kAudible;
using test::kSilent;
using test::listen;
using test::listenSeconds;
using test::peak;
using test::tailPeak;

bool haveSoundFont() { return std::filesystem::is_regular_file(kGeneralMidiSoundFont); }

// Frames in which the signal is not silent.
std::size_t heardFrames(const std::vector<float>& samples) {
    std::size_t count = 0;
    for (float v : samples) count += std::fabs(v) > kSilent;
    return count;
}

TEST(AudioQueue, KeepsOrderAndRefusesWhenFull) {
    AudioQueue<int, 4> queue;
    for (int i = 1; i <= 4; ++i) EXPECT_TRUE(queue.push(i));
    EXPECT_FALSE(queue.push(5));
    int value = 0;
    ASSERT_TRUE(queue.tryPop(value));
    EXPECT_EQ(value, 1);
    EXPECT_TRUE(queue.push(6));  // wraps around
    std::vector<int> rest;
    while (queue.tryPop(value)) rest.push_back(value);
    EXPECT_EQ(rest, (std::vector<int>{2, 3, 4, 6}));
    EXPECT_EQ(queue.front(), nullptr);
}

TEST(AudioPcm, SixteenKilohertzBufferLastsItsTimeAtTheDeviceRate) {
    for (int rate : {44100, 48000, 22050}) {
        AudioMixer mixer(test::floatStereo(rate), "");
        const std::vector<std::uint8_t> sound(1600, 255);  // 0.1 s at 16 kHz
        ASSERT_TRUE(mixer.playPcm(sound.data(), sound.size()));
        const auto heard = listenSeconds(mixer, 0.5);
        const double expected = 1600.0 * rate / 16000.0;
        EXPECT_NEAR(static_cast<double>(heardFrames(heard)), expected, 2.0) << rate;
        EXPECT_GT(peak(heard), 0.4f);
        EXPECT_FALSE(mixer.pcmPlaying());
    }
}

TEST(AudioPcm, SilenceByteIsSilentAndLevelsKeepTheirSign) {
    AudioMixer mixer(test::floatStereo(), "");
    std::vector<std::uint8_t> sound(800, 128);
    std::fill(sound.begin() + 200, sound.begin() + 400, 0);
    ASSERT_TRUE(mixer.playPcm(sound.data(), sound.size()));
    const auto heard = listen(mixer, 2400);
    EXPECT_LT(peak(heard, 0, 590), kSilent);  // 200 samples = 600 frames, less the ramp
    EXPECT_LT(heard[900], -0.4f);             // inside the low stretch
    EXPECT_LT(peak(heard, 1210), kSilent);
}

TEST(AudioPcm, SecondSoundWhilePlayingIsRefusedAndNeverHeard) {
    AudioMixer mixer(test::floatStereo(), "");
    const std::vector<std::uint8_t> first(1600, 255), second(1600, 0);
    ASSERT_TRUE(mixer.playPcm(first.data(), first.size()));
    listen(mixer, 480);
    EXPECT_TRUE(mixer.pcmPlaying());
    EXPECT_FALSE(mixer.playPcm(second.data(), second.size()));
    const auto heard = listenSeconds(mixer, 0.5);
    for (float v : heard) ASSERT_GE(v, -kSilent);  // the negative sound never plays
    EXPECT_FALSE(mixer.pcmPlaying());
    EXPECT_TRUE(mixer.playPcm(second.data(), second.size()));  // free again once ended
}

TEST(AudioPcm, LongSoundIsCutAtThe16BitLimit) {
    AudioMixer mixer(test::floatStereo(16000), "");
    const std::vector<std::uint8_t> sound(40000, 255);
    ASSERT_TRUE(mixer.playPcm(sound.data(), sound.size()));
    EXPECT_NEAR(static_cast<double>(heardFrames(listenSeconds(mixer, 3.0))), 32767.0, 1.0);
}

TEST(AudioPcm, StopCutsOffAndFreesTheVoice) {
    AudioMixer mixer(test::floatStereo(), "");
    const std::vector<std::uint8_t> sound(16000, 255);
    ASSERT_TRUE(mixer.playPcm(sound.data(), sound.size()));
    EXPECT_GT(peak(listen(mixer, 480)), kAudible);
    mixer.stopPcm();
    EXPECT_LT(peak(listen(mixer, 480)), kSilent);
    EXPECT_FALSE(mixer.pcmPlaying());
}

TEST(AudioPcm, EmptyOrMissingSamplesPlayNothing) {
    AudioMixer mixer(test::floatStereo(), "");
    EXPECT_TRUE(mixer.playPcm(nullptr, 500));
    const std::uint8_t one = 255;
    EXPECT_TRUE(mixer.playPcm(&one, 0));
    EXPECT_FALSE(mixer.pcmPlaying());
    EXPECT_LT(peak(listen(mixer, 480)), kSilent);
}

TEST(AudioBeep, BothKindsSoundAndEnd) {
    AudioMixer mixer(test::floatStereo(), "");
    mixer.beep(BeepKind::Simple);
    auto heard = listenSeconds(mixer, 0.5);
    EXPECT_GT(peak(heard, 0, 4800), kAudible);
    EXPECT_LT(tailPeak(heard, 9600), kSilent);  // a short beep: gone after 0.3 s

    mixer.beep(BeepKind::Chime);
    heard = listenSeconds(mixer, 1.5);
    EXPECT_GT(peak(heard, 0, 4800), kAudible);
    EXPECT_GT(peak(heard, 14400, 19200), kAudible);  // the second bell still rings
    EXPECT_LT(tailPeak(heard, 24000), kSilent);
}

TEST(AudioFormat, DeviceFormatsCarrySilenceAndSign) {
    const std::vector<std::uint8_t> sound(1600, 255);
    {
        AudioMixer mixer({16000, 1, AudioSampleFormat::UInt8}, "");
        std::vector<std::uint8_t> out(200);
        mixer.render(out.data(), 100);
        EXPECT_EQ(out[0], 128);
        mixer.playPcm(sound.data(), sound.size());
        mixer.render(out.data(), 200);
        EXPECT_GT(out[100], 180);
    }
    {
        AudioMixer mixer({48000, 2, AudioSampleFormat::Int16}, "");
        mixer.playPcm(sound.data(), sound.size());
        std::vector<std::int16_t> out(2 * 100);
        mixer.render(out.data(), 100);
        EXPECT_GT(out[100], 15000);
        EXPECT_EQ(out[100], out[101]);  // both channels
    }
    {
        AudioMixer mixer({48000, 4, AudioSampleFormat::Int32}, "");
        mixer.playPcm(sound.data(), sound.size());
        std::vector<std::int32_t> out(4 * 100, 7);
        mixer.render(out.data(), 100);
        EXPECT_GT(out[200], 1 << 29);
        EXPECT_EQ(out[202], 0);  // channels past the second stay silent
        EXPECT_EQ(out[203], 0);
    }
}

TEST(AudioFormat, LargeRequestsAreRenderedWhole) {
    AudioMixer mixer(test::floatStereo(), "");
    const std::vector<std::uint8_t> sound(16000, 255);  // one second
    mixer.playPcm(sound.data(), sound.size());
    // Far more than one internal chunk in one request.
    const auto heard = listen(mixer, 60000);
    EXPECT_NEAR(static_cast<double>(heardFrames(heard)), 48000.0, 2.0);
    listen(mixer, 0);
}

TEST(AudioMidi, WithoutSoundFontEverythingIsSilent) {
    for (const std::string path : {"", "/nonexistent/none.sf2", "/etc/hostname"}) {
        AudioMixer mixer(test::floatStereo(), path);
        EXPECT_FALSE(mixer.hasSynthesizer()) << path;
        mixer.sendShortMessage(0x90 | 60 << 8 | 127 << 16);
        mixer.sendShortMessage(0x99 | 77 << 8 | 127 << 16);
        const std::vector<std::uint8_t> midi{'M', 'T', 'h', 'd'};
        EXPECT_FALSE(mixer.startTune(midi));
        mixer.stopTune();
        mixer.resetMidi();
        EXPECT_LT(peak(listenSeconds(mixer, 0.2)), kSilent);
    }
}

TEST(AudioMidi, NoteSoundsUntilReleased) {
    if (!haveSoundFont()) GTEST_SKIP() << "no General MIDI SoundFont installed";
    AudioMixer mixer(test::floatStereo());
    ASSERT_TRUE(mixer.hasSynthesizer());
    mixer.sendShortMessage(0xC0);                       // piano
    mixer.sendShortMessage(0x90 | 60 << 8 | 110 << 16);  // middle C
    EXPECT_GT(peak(listenSeconds(mixer, 0.2)), kAudible);
    EXPECT_GT(peak(listenSeconds(mixer, 0.2)), kAudible);  // still held
    mixer.resetMidi();
    EXPECT_LT(tailPeak(listenSeconds(mixer, 2.0), 4800), kSilent);
}

TEST(AudioMidi, GarbageTunesAreHarmless) {
    if (!haveSoundFont()) GTEST_SKIP() << "no General MIDI SoundFont installed";
    AudioMixer mixer(test::floatStereo());
    const std::vector<std::uint8_t> header{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96};
    std::vector<std::vector<std::uint8_t>> tunes;
    tunes.push_back(header);
    tunes.back()[11] = 200;  // 200 tracks announced, none there
    tunes.back().resize(400, 0xFF);
    tunes.push_back(header);  // one track claiming 2 GB, holding a lone note-on
    tunes.back().insert(tunes.back().end(), {'M', 'T', 'r', 'k', 0x7F, 0xFF, 0xFF, 0xFF, 0, 0x90, 60});
    tunes.push_back(header);  // a delta time that never ends
    tunes.back().insert(tunes.back().end(), {'M', 'T', 'r', 'k', 0, 0, 0, 8, 0xFF, 0xFF, 0xFF, 0xFF,
                                             0xFF, 0xFF, 0xFF, 0xFF});
    for (const auto& tune : tunes) {
        mixer.startTune(tune);
        // Give the player's thread time to read it, whatever it makes of it.
        test::listenUntilHeard(mixer, 0.2);
        mixer.stopTune();
        EXPECT_LT(tailPeak(listenSeconds(mixer, 0.3), 4800), kSilent);
    }
}

}  // namespace
}  // namespace orvane
