// The device side: with or without a sound device, opening and closing the
// output never fails and never hangs.
#include "platform/audio_output.h"

#include "platform/audio_source.h"

#include <gtest/gtest.h>

#include <QAudioDevice>
#include <QMediaDevices>

#include <cstring>
#include <vector>

namespace orvane {
namespace {

TEST(AudioOutput, HasAMixerExactlyWhenThereIsADevice) {
    const bool deviceExists = !QMediaDevices::defaultAudioOutput().isNull();
    for (int round = 0; round < 2; ++round) {
        AudioOutput output;
        ASSERT_EQ(output.mixer() != nullptr, deviceExists);
        if (AudioMixer* mixer = output.mixer()) {
            EXPECT_GT(mixer->format().sampleRate, 0);
            EXPECT_GT(mixer->format().bytesPerFrame(), 0);
            const std::vector<std::uint8_t> sound(160, 128);
            mixer->playPcm(sound.data(), sound.size());
            mixer->beep(BeepKind::Simple);
        }
    }  // closing joins the audio thread: a hang here fails by timeout
}

TEST(AudioMixerSource, ReadsRenderWholeFramesOnly) {
    AudioMixer mixer({48000, 2, AudioSampleFormat::Int16}, "");
    AudioMixerSource source(mixer);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    EXPECT_GT(source.bytesAvailable(), 1 << 20);
    const std::vector<std::uint8_t> sound(1600, 255);
    mixer.playPcm(sound.data(), sound.size());
    const QByteArray first = source.read(1003);  // four bytes a frame
    ASSERT_EQ(first.size(), 1000);
    std::int16_t sample = 0;
    std::memcpy(&sample, first.constData() + 400, 2);
    EXPECT_GT(sample, 15000);
    EXPECT_TRUE(source.read(3).isEmpty());
    EXPECT_EQ(source.write("x", 1), -1);
}

}  // namespace
}  // namespace orvane
