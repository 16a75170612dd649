#include "tools/demo/midi_writer.h"

#include <algorithm>
#include <map>

namespace orvane {
namespace {

void appendVariableLength(std::string& out, std::uint32_t value) {
    char buffer[5];
    int n = 0;
    buffer[n++] = static_cast<char>(value & 0x7F);
    while ((value >>= 7) != 0) buffer[n++] = static_cast<char>((value & 0x7F) | 0x80);
    while (n > 0) out.push_back(buffer[--n]);
}

void appendBigEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

char dataByte(int value) { return static_cast<char>(std::clamp(value, 0, 127)); }
char status(int kind, int channel) { return static_cast<char>(kind | (channel & 0x0F)); }

}  // namespace

void MidiTrack::add(std::uint32_t tick, int order, std::string bytes) {
    items_.push_back({tick, order, static_cast<std::uint32_t>(items_.size()), std::move(bytes)});
}

void MidiTrack::tempo(std::uint32_t tick, std::uint32_t microsecondsPerQuarter) {
    std::string bytes{"\xFF\x51\x03", 3};
    appendBigEndian(bytes, microsecondsPerQuarter & 0xFFFFFF, 3);
    add(tick, 0, bytes);
}

void MidiTrack::name(std::string_view text) {
    std::string bytes{"\xFF\x03", 2};
    appendVariableLength(bytes, static_cast<std::uint32_t>(text.size()));
    bytes += text;
    add(0, 0, bytes);
}

void MidiTrack::programChange(std::uint32_t tick, int channel, int program) {
    add(tick, 2, std::string{status(0xC0, channel), dataByte(program)});
}

void MidiTrack::controller(std::uint32_t tick, int channel, int number, int value) {
    add(tick, 2, std::string{status(0xB0, channel), dataByte(number), dataByte(value)});
}

void MidiTrack::pitchBend(std::uint32_t tick, int channel, int value) {
    value = std::clamp(value, 0, 16383);
    add(tick, 2, std::string{status(0xE0, channel), dataByte(value & 0x7F), dataByte(value >> 7)});
}

void MidiTrack::note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity) {
    add(tick, 3, std::string{status(0x90, channel), dataByte(key), dataByte(std::max(1, velocity))});
    add(tick + std::max<std::uint32_t>(length, 1), 1,
        std::string{status(0x80, channel), dataByte(key), dataByte(64)});
}

std::string MidiTrack::encode() const {
    std::vector<Item> sorted = items_;
    std::sort(sorted.begin(), sorted.end(), [](const Item& a, const Item& b) {
        if (a.tick != b.tick) return a.tick < b.tick;
        if (a.order != b.order) return a.order < b.order;
        return a.sequence < b.sequence;
    });
    std::string events;
    std::uint32_t previous = 0;
    for (const Item& item : sorted) {
        appendVariableLength(events, item.tick - previous);
        events += item.bytes;
        previous = item.tick;
    }
    appendVariableLength(events, 0);
    events += std::string{"\xFF\x2F\x00", 3};
    std::string chunk = "MTrk";
    appendBigEndian(chunk, static_cast<std::uint32_t>(events.size()), 4);
    return chunk + events;
}

std::string encodeMidiFile(const std::vector<MidiTrack>& tracks, std::uint16_t ticksPerQuarter) {
    std::string out = "MThd";
    appendBigEndian(out, 6, 4);
    appendBigEndian(out, tracks.size() == 1 ? 0 : 1, 2);
    appendBigEndian(out, static_cast<std::uint32_t>(tracks.size()), 2);
    appendBigEndian(out, ticksPerQuarter & 0x7FFF, 2);
    for (const MidiTrack& track : tracks) out += track.encode();
    return out;
}

namespace {

class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
    bool atEnd() const { return position_ >= bytes_.size(); }
    bool read(std::uint32_t& value, int count) {
        if (bytes_.size() - position_ < static_cast<std::size_t>(count)) return false;
        value = 0;
        for (int i = 0; i < count; ++i) value = (value << 8) | static_cast<unsigned char>(bytes_[position_++]);
        return true;
    }
    bool readVariableLength(std::uint32_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint32_t byte;
            if (!read(byte, 1)) return false;
            value = (value << 7) | (byte & 0x7F);
            if ((byte & 0x80) == 0) return true;
        }
        return false;  // longer than the four bytes the format allows
    }
    bool skip(std::uint32_t count) {
        if (bytes_.size() - position_ < count) return false;
        position_ += count;
        return true;
    }
    std::string_view take(std::uint32_t count) {
        std::string_view piece = bytes_.substr(position_, count);
        position_ += piece.size();
        return piece;
    }
    std::size_t remaining() const { return bytes_.size() - position_; }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

// Reads one track's events; tempo changes are collected for the timing pass.
bool readTrack(std::string_view data, MidiSummary& summary,
               std::map<std::uint32_t, std::uint32_t>& tempos) {
    ByteReader in(data);
    std::uint32_t tick = 0;
    std::uint32_t runningStatus = 0;
    std::map<std::uint32_t, int> held;  // (channel << 8 | key) -> open notes
    while (!in.atEnd()) {
        std::uint32_t delta;
        if (!in.readVariableLength(delta)) return false;
        tick += delta;
        std::uint32_t first;
        if (!in.read(first, 1)) return false;
        if (first == 0xFF) {
            std::uint32_t type, length;
            if (!in.read(type, 1) || !in.readVariableLength(length)) return false;
            if (in.remaining() < length) return false;
            std::string_view payload = in.take(length);
            if (type == 0x51 && length == 3) {
                tempos[tick] = (static_cast<unsigned char>(payload[0]) << 16) |
                               (static_cast<unsigned char>(payload[1]) << 8) |
                               static_cast<unsigned char>(payload[2]);
            }
            if (type == 0x2F) {
                summary.lastTick = std::max(summary.lastTick, tick);
                for (const auto& [key, count] : held) summary.unmatchedNotes += count;
                return in.atEnd();
            }
            continue;
        }
        if (first == 0xF0 || first == 0xF7) {
            std::uint32_t length;
            if (!in.readVariableLength(length) || !in.skip(length)) return false;
            continue;
        }
        std::uint32_t statusByte = first;
        std::uint32_t data1;
        if (first < 0x80) {
            if (runningStatus == 0) return false;
            statusByte = runningStatus;
            data1 = first;
        } else {
            runningStatus = first;
            if (!in.read(data1, 1)) return false;
        }
        std::uint32_t kind = statusByte & 0xF0;
        std::uint32_t data2 = 0;
        if (kind != 0xC0 && kind != 0xD0 && !in.read(data2, 1)) return false;
        if (data1 > 127 || data2 > 127) return false;
        std::uint32_t key = ((statusByte & 0x0F) << 8) | data1;
        if (kind == 0x90 && data2 > 0) {
            ++summary.noteOns;
            ++held[key];
        } else if (kind == 0x80 || kind == 0x90) {
            if (held[key] > 0) --held[key];
        } else if (kind == 0xC0) {
            summary.programs.push_back(static_cast<int>(data1));
        }
    }
    return false;  // no end-of-track event
}

}  // namespace

std::optional<MidiSummary> readMidiSummary(std::string_view bytes) {
    ByteReader in(bytes);
    std::uint32_t tag, length, format, tracks, division;
    if (in.remaining() < 14 || in.take(4) != "MThd") return std::nullopt;
    if (!in.read(length, 4) || length < 6 || !in.read(format, 2) || !in.read(tracks, 2) ||
        !in.read(division, 2) || !in.skip(length - 6))
        return std::nullopt;
    if (format > 2 || tracks == 0 || (format == 0 && tracks != 1) || division == 0 || (division & 0x8000))
        return std::nullopt;
    MidiSummary summary;
    summary.format = static_cast<int>(format);
    summary.ticksPerQuarter = static_cast<int>(division);
    std::map<std::uint32_t, std::uint32_t> tempos;
    while (!in.atEnd()) {
        if (!in.read(tag, 4) || !in.read(length, 4) || in.remaining() < length) return std::nullopt;
        std::string_view data = in.take(length);
        if (tag != 0x4D54726B) continue;  // not "MTrk": skipped, as the format allows
        if (!readTrack(data, summary, tempos)) return std::nullopt;
        ++summary.trackCount;
    }
    if (summary.trackCount != static_cast<int>(tracks)) return std::nullopt;
    // Length in seconds: walk the tempo map up to the last tick.
    double seconds = 0;
    std::uint32_t tick = 0, tempo = 500000;
    for (const auto& [at, value] : tempos) {
        if (at >= summary.lastTick) break;
        seconds += double(at - tick) * tempo / 1e6 / division;
        tick = at;
        tempo = value;
    }
    seconds += double(summary.lastTick - tick) * tempo / 1e6 / division;
    summary.seconds = seconds;
    return summary;
}

}  // namespace orvane
