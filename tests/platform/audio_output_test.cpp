// The device side: with or without a sound device, opening and closing the
// output never fails and never hangs.
#include "platform/audio_output.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvane {
namespace {

TEST(AudioOutput, OpensAndClosesWithOrWithoutDevice) {
    for (int round = 0; round < 2; ++round) {
        AudioOutput output;
        if (AudioMixer* mixer = output.mixer()) {
            EXPECT_GT(mixer->format().sampleRate, 0);
            EXPECT_GT(mixer->format().bytesPerFrame(), 0);
            const std::vector<std::uint8_t> sound(160, 128);
            mixer->playPcm(sound.data(), sound.size());
            mixer->beep(BeepKind::Simple);
        }
    }
}

TEST(AudioOutput, MissingSoundFontStillGivesAWorkingOutput) {
    AudioOutput output("/nonexistent/none.sf2");
    if (AudioMixer* mixer = output.mixer()) {
        EXPECT_FALSE(mixer->hasSynthesizer());
        mixer->sendShortMessage(0x99 | 77 << 8 | 127 << 16);
    }
}

}  // namespace
}  // namespace orvane
