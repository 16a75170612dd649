#include "tools/demo/midi_writer.h"

#include <fluidsynth.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "tools/demo/tunes.h"

namespace orvane {
namespace {

TEST(MidiWriter, HeaderAndTrackChunkAreStandard) {
    MidiTrack track;
    track.note(0, 480, 0, 60, 100);
    std::string file = encodeMidiFile({track}, 480);
    ASSERT_GE(file.size(), 22u);
    EXPECT_EQ(file.substr(0, 4), "MThd");
    EXPECT_EQ(file.substr(4, 4), std::string("\0\0\0\6", 4));
    EXPECT_EQ(file.substr(8, 2), std::string("\0\0", 2));      // format 0
    EXPECT_EQ(file.substr(10, 2), std::string("\0\1", 2));     // one track
    EXPECT_EQ(file.substr(12, 2), std::string("\x01\xE0", 2)); // 480 ticks a quarter
    EXPECT_EQ(file.substr(14, 4), "MTrk");
    // Track length field covers exactly the rest of the file.
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(file[i]); };
    std::size_t length = (byte(18) << 24) | (byte(19) << 16) | (byte(20) << 8) | byte(21);
    EXPECT_EQ(length, file.size() - 22);
    // Ends with the end-of-track meta event.
    EXPECT_EQ(file.substr(file.size() - 3), std::string("\xFF\x2F\x00", 3));
}

TEST(MidiWriter, SeveralTracksMakeFormatOne) {
    MidiTrack a, b;
    a.note(0, 10, 0, 60, 90);
    b.note(5, 10, 1, 64, 90);
    auto summary = readMidiSummary(encodeMidiFile({a, b}, 96));
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->format, 1);
    EXPECT_EQ(summary->trackCount, 2);
    EXPECT_EQ(summary->noteOns, 2);
}

TEST(MidiWriter, DeltaTimesUseVariableLengthQuantities) {
    // Delta times at the one-, two-, three- and four-byte boundaries survive a
    // round trip: the last note ends at the largest tick.
    for (std::uint32_t tick : {0u, 127u, 128u, 16383u, 16384u, 2097151u, 2097152u, 0x0FFFFFF0u}) {
        MidiTrack track;
        track.note(tick, 1, 0, 60, 100);
        auto summary = readMidiSummary(encodeMidiFile({track}, 480));
        ASSERT_TRUE(summary) << tick;
        EXPECT_EQ(summary->lastTick, tick + 1) << tick;
        EXPECT_EQ(summary->unmatchedNotes, 0);
    }
}

TEST(MidiWriter, EventsAreOrderedAndOffsComeBeforeOnsAtOneTick) {
    MidiTrack track;
    // Added out of order; a repeated note starts where the previous one ends.
    track.note(480, 480, 0, 62, 100);
    track.note(0, 480, 0, 62, 100);
    auto summary = readMidiSummary(encodeMidiFile({track}, 480));
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->noteOns, 2);
    EXPECT_EQ(summary->unmatchedNotes, 0);  // the off at 480 closed the first note before the second began
    EXPECT_EQ(summary->lastTick, 960u);
}

TEST(MidiWriter, TempoChangesSetTheLength) {
    MidiTrack track;
    track.tempo(0, 1000000);  // one second a quarter
    track.tempo(960, 250000); // then a quarter of a second
    track.note(0, 1920, 0, 60, 100);
    auto summary = readMidiSummary(encodeMidiFile({track}, 480));
    ASSERT_TRUE(summary);
    EXPECT_NEAR(summary->seconds, 2.0 + 0.5, 1e-9);
}

TEST(MidiWriter, DataBytesAreClampedToSevenBits) {
    MidiTrack track;
    track.note(0, 10, 0, 200, 300);
    track.controller(0, 0, 7, -5);
    track.programChange(0, 0, 999);
    auto summary = readMidiSummary(encodeMidiFile({track}, 480));
    ASSERT_TRUE(summary);  // the reader rejects data bytes above 127
    ASSERT_EQ(summary->programs.size(), 1u);
    EXPECT_EQ(summary->programs[0], 127);
}

TEST(MidiReader, RejectsMalformedFiles) {
    MidiTrack track;
    track.note(0, 480, 0, 60, 100);
    const std::string good = encodeMidiFile({track}, 480);
    ASSERT_TRUE(readMidiSummary(good));
    // Every truncation is rejected, never read past the end.
    for (std::size_t n = 0; n < good.size(); ++n) EXPECT_FALSE(readMidiSummary(good.substr(0, n))) << n;
    std::string badLength = good;
    badLength[21] = static_cast<char>(badLength[21] + 1);  // track claims one byte more than there is
    EXPECT_FALSE(readMidiSummary(badLength));
    std::string hugeLength = good;
    hugeLength[18] = '\x7F';
    EXPECT_FALSE(readMidiSummary(hugeLength));
    std::string wrongCount = good;
    wrongCount[11] = 2;  // format 0 with two tracks
    EXPECT_FALSE(readMidiSummary(wrongCount));
    std::string noTag = good;
    noTag[0] = 'X';
    EXPECT_FALSE(readMidiSummary(noTag));
    // Running status with no status before it.
    std::string running = std::string("MThd\0\0\0\6\0\0\0\1\1\xE0MTrk\0\0\0\6\0\x3C\x40\0\xFF\x2F", 28);
    EXPECT_FALSE(readMidiSummary(running));
    // A variable-length quantity longer than four bytes.
    std::string longDelta = std::string("MThd\0\0\0\6\0\0\0\1\1\xE0MTrk\0\0\0\x09\xFF\xFF\xFF\xFF\x7F\xFF\x2F\0\0", 31);
    EXPECT_FALSE(readMidiSummary(longDelta));
}

TEST(Tunes, OpeningTuneIsShortAndComplete) {
    auto summary = readMidiSummary(openingTune());
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->format, 0);
    EXPECT_EQ(summary->unmatchedNotes, 0);
    EXPECT_GT(summary->noteOns, 20);
    EXPECT_GT(summary->seconds, 6.0);
    EXPECT_LT(summary->seconds, 15.0);
}

TEST(Tunes, RumbleLastsAboutAsLongAsTheOpeningPulse) {
    auto summary = readMidiSummary(earthquakeRumble());
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->unmatchedNotes, 0);
    // A magnitude 9 pulse takes 18 steps of 100 ms; the rumble is stopped then.
    EXPECT_GT(summary->seconds, 1.8);
    EXPECT_LT(summary->seconds, 5.0);
    // Low, percussive instruments: timpani, contrabass, taiko.
    EXPECT_EQ(summary->programs, (std::vector<int>{47, 43, 116}));
}

// Plays a tune through FluidSynth with the General MIDI SoundFont and returns
// the RMS of the first `seconds` and whether the player finished by then.
struct Playback {
    double rms = 0;
    bool finished = false;
};

Playback play(const std::string& tune, double seconds) {
    Playback result;
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", 22050);
    fluid_synth_t* synth = new_fluid_synth(settings);
    if (fluid_synth_sfload(synth, "/usr/share/sounds/sf2/default-GM.sf2", 1) == FLUID_FAILED) {
        delete_fluid_synth(synth);
        delete_fluid_settings(settings);
        result.rms = -1;
        return result;
    }
    fluid_player_t* player = new_fluid_player(synth);
    fluid_player_add_mem(player, tune.data(), tune.size());
    fluid_player_play(player);
    const int block = 512;
    std::vector<float> left(block), right(block);
    double sum = 0;
    long count = 0;
    for (long done = 0; done < static_cast<long>(seconds * 22050); done += block) {
        fluid_synth_write_float(synth, block, left.data(), 0, 1, right.data(), 0, 1);
        for (int i = 0; i < block; ++i) sum += left[i] * left[i] + right[i] * right[i];
        count += 2 * block;
    }
    result.finished = fluid_player_get_status(player) == FLUID_PLAYER_DONE;
    result.rms = std::sqrt(sum / count);
    delete_fluid_player(player);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return result;
}

TEST(Tunes, AGeneralMidiSynthesizerPlaysBoth) {
    if (!std::filesystem::exists("/usr/share/sounds/sf2/default-GM.sf2")) GTEST_SKIP() << "no SoundFont";
    // The player reports the end once the last notes have died away too
    // (cymbal and timpani ring for several seconds).
    Playback opening = play(openingTune(), 22.0);
    EXPECT_GT(opening.rms, 0.01);
    EXPECT_TRUE(opening.finished);
    Playback rumble = play(earthquakeRumble(), 16.0);
    EXPECT_GT(rumble.rms, 0.01);
    EXPECT_TRUE(rumble.finished);
    EXPECT_FALSE(play(openingTune(), 2.0).finished);
}

}  // namespace
}  // namespace orvane
