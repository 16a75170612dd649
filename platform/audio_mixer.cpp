#include "platform/audio_mixer.h"

#include <fluidsynth.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>

namespace orvane {
namespace {

std::int64_t steadyMicros() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// FluidSynth reports to stderr by default; our sound failures are quiet.
void silenceFluidLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
}

std::uint32_t packEvent(fluid_midi_event_t* event) {
    const int type = fluid_midi_event_get_type(event);
    const int channel = fluid_midi_event_get_channel(event) & 0x0F;
    const std::uint32_t status = static_cast<std::uint32_t>((type & 0xF0) | channel);
    int first = 0, second = 0;
    switch (type & 0xF0) {
        case 0x80:
        case 0x90:
        case 0xA0:
            first = fluid_midi_event_get_key(event);
            second = fluid_midi_event_get_velocity(event);
            break;
        case 0xB0:
            first = fluid_midi_event_get_control(event);
            second = fluid_midi_event_get_value(event);
            break;
        case 0xC0:
            first = fluid_midi_event_get_program(event);
            break;
        case 0xD0:
            first = fluid_midi_event_get_program(event);  // channel pressure shares the field
            break;
        case 0xE0: {
            const int bend = fluid_midi_event_get_pitch(event);
            first = bend & 0x7F;
            second = (bend >> 7) & 0x7F;
            break;
        }
        default:
            return 0;  // system messages are not forwarded
    }
    return status | static_cast<std::uint32_t>(first & 0x7F) << 8 |
           static_cast<std::uint32_t>(second & 0x7F) << 16;
}

// A SoundFont 2 file starts "RIFF" .... "sfbk". Anything else is refused
// before FluidSynth's loaders see it (they complain on stderr).
bool looksLikeSoundFont(const std::string& path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) return false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    char head[12] = {};
    const bool complete = std::fread(head, 1, sizeof head, file) == sizeof head;
    std::fclose(file);
    return complete && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "sfbk", 4) == 0;
}

}  // namespace

int AudioFormat::bytesPerSample() const {
    switch (sampleFormat) {
        case AudioSampleFormat::UInt8:
            return 1;
        case AudioSampleFormat::Int16:
            return 2;
        case AudioSampleFormat::Int32:
        case AudioSampleFormat::Float:
            return 4;
    }
    return 4;
}

struct AudioMixer::Fluid {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    // The tune's player lives on a synthesizer of its own that never sounds;
    // only the player's timer thread and the user-interface side touch it.
    fluid_settings_t* playerSettings = nullptr;
    fluid_synth_t* playerSynth = nullptr;
    fluid_player_t* player = nullptr;
    std::uint32_t playerGeneration = 0;

    ~Fluid() {
        if (player) delete_fluid_player(player);
        if (playerSynth) delete_fluid_synth(playerSynth);
        if (playerSettings) delete_fluid_settings(playerSettings);
        if (synth) delete_fluid_synth(synth);
        if (settings) delete_fluid_settings(settings);
    }
};

AudioMixer::AudioMixer(AudioFormat format, const std::string& soundFontPath)
    : format_(format),
      fluid_(std::make_unique<Fluid>()),
      pcm_(format.sampleRate),
      tone_(format.sampleRate),
      left_(kChunkFrames),
      right_(kChunkFrames) {
    format_.sampleRate = std::max(format_.sampleRate, 1);
    format_.channels = std::max(format_.channels, 1);
    silenceFluidLog();

    if (!looksLikeSoundFont(soundFontPath)) return;

    Fluid& f = *fluid_;
    f.settings = new_fluid_settings();
    if (!f.settings) return;
    fluid_settings_setnum(f.settings, "synth.sample-rate", format_.sampleRate);
    // Only render() drives this synthesizer, so its API needs no mutex.
    fluid_settings_setint(f.settings, "synth.threadsafe-api", 0);
    fluid_settings_setint(f.settings, "synth.cpu-cores", 1);
    fluid_settings_setint(f.settings, "synth.lock-memory", 0);
    fluid_settings_setint(f.settings, "synth.chorus.active", 0);
    f.synth = new_fluid_synth(f.settings);
    if (!f.synth || fluid_synth_sfload(f.synth, soundFontPath.c_str(), 1) == FLUID_FAILED) {
        if (f.synth) delete_fluid_synth(f.synth);
        f.synth = nullptr;
        return;
    }

    f.playerSettings = new_fluid_settings();
    if (f.playerSettings) {
        fluid_settings_setstr(f.playerSettings, "player.timing-source", "system");
        fluid_settings_setint(f.playerSettings, "synth.polyphony", 1);
        fluid_settings_setint(f.playerSettings, "synth.cpu-cores", 1);
        fluid_settings_setint(f.playerSettings, "synth.reverb.active", 0);
        fluid_settings_setint(f.playerSettings, "synth.chorus.active", 0);
        f.playerSynth = new_fluid_synth(f.playerSettings);
    }
    synth_ = f.synth;
}

AudioMixer::~AudioMixer() {
    // The player's thread pushes into tuneEvents_: stop it while that exists.
    if (fluid_->player) delete_fluid_player(fluid_->player);
    fluid_->player = nullptr;
}

void AudioMixer::postCommand(const Command& command) { commands_.push(command); }

void AudioMixer::sendShortMessage(std::uint32_t message) {
    if (synth_) postCommand({Command::Midi, message, 0});
}

void AudioMixer::resetMidi() {
    if (synth_) postCommand({Command::MidiReset, 0, 0});
}

bool AudioMixer::startTune(const std::vector<std::uint8_t>& midiFile) {
    Fluid& f = *fluid_;
    if (!synth_ || !f.playerSynth || midiFile.empty()) return false;
    stopTune();
    f.playerGeneration = ++lastGeneration_;
    tuneGeneration_.store(f.playerGeneration, std::memory_order_release);
    f.player = new_fluid_player(f.playerSynth);
    if (!f.player) return false;
    // Runs on the player's timer thread, the only producer of tuneEvents_
    // while this player lives.
    fluid_player_set_playback_callback(
        f.player,
        [](void* data, fluid_midi_event_t* event) -> int {
            auto* self = static_cast<AudioMixer*>(data);
            const std::uint32_t message = packEvent(event);
            if (message)
                self->tuneEvents_.push(
                    {steadyMicros(), self->fluid_->playerGeneration, message});
            return FLUID_OK;
        },
        this);
    if (fluid_player_add_mem(f.player, midiFile.data(), midiFile.size()) != FLUID_OK ||
        fluid_player_play(f.player) != FLUID_OK) {
        stopTune();
        return false;
    }
    return true;
}

void AudioMixer::stopTune() {
    Fluid& f = *fluid_;
    if (!f.player) return;
    // Joins the player's timer thread (at most one timer period); after this
    // nothing pushes tune events until the next player starts.
    delete_fluid_player(f.player);
    f.player = nullptr;
    tuneGeneration_.store(++lastGeneration_, std::memory_order_release);
    postCommand({Command::TuneStop, 0, 0});
}

bool AudioMixer::playPcm(const std::uint8_t* bytes, std::size_t count) {
    if (pcmPlaying()) return false;
    count = pcm_.load(bytes, count);
    if (count == 0) return true;  // nothing to hear, nothing playing
    if (!commands_.push({Command::PcmStart, static_cast<std::uint32_t>(count), pcmStarted_ + 1}))
        return false;
    ++pcmStarted_;
    return true;
}

bool AudioMixer::pcmPlaying() const {
    return pcmFinished_.load(std::memory_order_acquire) != pcmStarted_;
}

void AudioMixer::stopPcm() {
    if (pcmPlaying()) postCommand({Command::PcmStop, 0, pcmStarted_});
}

void AudioMixer::beep(BeepKind kind) {
    postCommand({Command::Beep, static_cast<std::uint32_t>(kind), 0});
}

// ---- audio thread -------------------------------------------------------

void AudioMixer::applyMidi(std::uint32_t message) {
    auto* synth = static_cast<fluid_synth_t*>(synth_);
    const int channel = static_cast<int>(message & 0x0F);
    const int first = static_cast<int>((message >> 8) & 0x7F);
    const int second = static_cast<int>((message >> 16) & 0x7F);
    switch (message & 0xF0) {
        case 0x80:
            fluid_synth_noteoff(synth, channel, first);
            break;
        case 0x90:
            if (second == 0)
                fluid_synth_noteoff(synth, channel, first);
            else
                fluid_synth_noteon(synth, channel, first, second);
            break;
        case 0xA0:
            fluid_synth_key_pressure(synth, channel, first, second);
            break;
        case 0xB0:
            fluid_synth_cc(synth, channel, first, second);
            break;
        case 0xC0:
            fluid_synth_program_change(synth, channel, first);
            break;
        case 0xD0:
            fluid_synth_channel_pressure(synth, channel, first);
            break;
        case 0xE0:
            fluid_synth_pitch_bend(synth, channel, first | second << 7);
            break;
        default:
            break;
    }
}

void AudioMixer::applyCommands() {
    Command command;
    while (commands_.tryPop(command)) {
        switch (command.kind) {
            case Command::Midi:
                if (synth_) applyMidi(command.value);
                break;
            case Command::MidiReset:
                if (synth_) fluid_synth_all_notes_off(static_cast<fluid_synth_t*>(synth_), -1);
                break;
            case Command::TuneStop:
                if (synth_) fluid_synth_all_sounds_off(static_cast<fluid_synth_t*>(synth_), -1);
                break;
            case Command::PcmStart:
                pcm_.start(command.value);
                pcmPlayingId_ = command.id;
                if (!pcm_.active()) pcmFinished_.store(command.id, std::memory_order_release);
                break;
            case Command::PcmStop:
                pcm_.stop();
                pcmFinished_.store(command.id, std::memory_order_release);
                break;
            case Command::Beep:
                tone_.start(static_cast<BeepKind>(command.value));
                break;
        }
    }
}

std::int64_t AudioMixer::dueFrame(const TuneEvent& event, std::int64_t nowMicros) {
    const double rate = format_.sampleRate;
    // Events are placed a little later than the frame "now" renders into, so
    // that an event that arrives during one request keeps its spacing to the
    // next. Far off (a stalled or faster-than-real-time consumer) re-anchors.
    const double cushion = std::min<double>(static_cast<double>(largestRequest_) + rate / 200, rate / 4);
    const auto anchor = [&] { anchorOffset_ = cursor_ + cushion - nowMicros * rate / 1e6; };
    if (event.generation != anchorGeneration_) {
        anchorGeneration_ = event.generation;
        anchor();
    }
    double frame = event.dueMicros * rate / 1e6 + anchorOffset_;
    if (frame < cursor_ - rate / 2 || frame > cursor_ + rate / 2 + cushion) {
        anchorOffset_ = cursor_ - event.dueMicros * rate / 1e6;
        frame = cursor_;
    }
    return static_cast<std::int64_t>(std::floor(frame));
}

void AudioMixer::renderSynth(std::size_t from, std::size_t to) {
    if (!synth_ || to <= from) return;
    fluid_synth_write_float(static_cast<fluid_synth_t*>(synth_), static_cast<int>(to - from),
                            left_.data(), static_cast<int>(from), 1, right_.data(),
                            static_cast<int>(from), 1);
}

void AudioMixer::renderChunk(std::size_t frames) {
    std::fill_n(left_.data(), frames, 0.0f);
    std::fill_n(right_.data(), frames, 0.0f);
    applyCommands();

    std::size_t done = 0;
    if (synth_) {
        const std::int64_t now = steadyMicros();
        while (const TuneEvent* event = tuneEvents_.front()) {
            if (event->generation != tuneGeneration_.load(std::memory_order_acquire)) {
                tuneEvents_.pop();  // from a tune that was stopped
                continue;
            }
            const std::int64_t at = dueFrame(*event, now) - cursor_;
            if (at >= static_cast<std::int64_t>(frames)) break;
            const std::size_t offset = static_cast<std::size_t>(std::max<std::int64_t>(at, 0));
            if (offset > done) {
                renderSynth(done, offset);
                done = offset;
            }
            applyMidi(event->message);
            tuneEvents_.pop();
        }
        renderSynth(done, frames);
    }

    if (pcm_.active()) {
        pcm_.mixInto(left_.data(), right_.data(), frames);
        if (!pcm_.active()) pcmFinished_.store(pcmPlayingId_, std::memory_order_release);
    }
    if (tone_.active()) tone_.mixInto(left_.data(), right_.data(), frames);
    cursor_ += static_cast<std::int64_t>(frames);
}

void AudioMixer::writeOut(unsigned char* out, std::size_t frames) const {
    const int channels = format_.channels;
    const int width = format_.bytesPerSample();
    for (std::size_t i = 0; i < frames; ++i) {
        const float l = std::clamp(left_[i], -1.0f, 1.0f);
        const float r = std::clamp(right_[i], -1.0f, 1.0f);
        for (int c = 0; c < channels; ++c) {
            float v = channels == 1 ? 0.5f * (l + r) : c == 0 ? l : c == 1 ? r : 0.0f;
            switch (format_.sampleFormat) {
                case AudioSampleFormat::UInt8: {
                    const auto s = static_cast<std::uint8_t>(std::lround(v * 127.0f) + 128);
                    std::memcpy(out, &s, 1);
                    break;
                }
                case AudioSampleFormat::Int16: {
                    const auto s = static_cast<std::int16_t>(std::lround(v * 32767.0f));
                    std::memcpy(out, &s, 2);
                    break;
                }
                case AudioSampleFormat::Int32: {
                    const auto s = static_cast<std::int32_t>(std::llround(v * 2147483647.0));
                    std::memcpy(out, &s, 4);
                    break;
                }
                case AudioSampleFormat::Float:
                    std::memcpy(out, &v, 4);
                    break;
            }
            out += width;
        }
    }
}

void AudioMixer::render(void* out, std::size_t frames) {
    largestRequest_ = std::max(largestRequest_, frames);
    auto* bytes = static_cast<unsigned char*>(out);
    while (frames > 0) {
        const std::size_t chunk = std::min(frames, kChunkFrames);
        renderChunk(chunk);
        writeOut(bytes, chunk);
        bytes += chunk * static_cast<std::size_t>(format_.bytesPerFrame());
        frames -= chunk;
    }
}

}  // namespace orvane
