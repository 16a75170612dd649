#pragma once
// miniSEED (version 2) recordings read with libmseed: records of any length
// and encoding, merged per channel into one trace that stays on time.

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace orvane::import {

/// Network, station, location and channel codes of one stream.
struct ChannelId {
    std::string network, station, location, channel;
    /// "NET.STA.LOC.CHA".
    std::string text() const;
    auto operator<=>(const ChannelId&) const = default;
};

/// One channel's samples, evenly spaced from `start`.
struct Recording {
    ChannelId id;
    double start = 0;       ///< first sample, seconds of the Unix epoch
    double sampleRate = 0;  ///< samples a second
    std::vector<float> samples;
    std::size_t gaps = 0;          ///< gaps filled by interpolation
    double gapSeconds = 0;         ///< their total length
    std::size_t overlaps = 0;      ///< records that overlapped data already held
    double end() const { return start + static_cast<double>(samples.size()) / sampleRate; }
};

/// Collects the records of any number of files or buffers, then merges them.
class MiniSeedCollector {
public:
    /// Records outside [windowStart, windowEnd] are cut away (the whole
    /// file when no window is set).
    void setWindow(double windowStart, double windowEnd);

    /// Reads every record of `bytes`. Returns the number of data records
    /// read; unreadable pieces are skipped and counted in `messages`.
    std::size_t add(std::span<const unsigned char> bytes, const std::string& sourceName);

    /// Reads a file (at most 2 GiB). False with `error` when it cannot be read.
    bool addFile(const std::string& path, std::size_t& records, std::string& error);

    /// One recording per channel, sorted by channel. Gaps between records
    /// are filled by linear interpolation so every sample keeps its time;
    /// overlapping samples are dropped; records at another sample rate than
    /// the channel's first are left out.
    std::vector<Recording> merge();

    /// What was skipped or repaired, one line each.
    std::vector<std::string> messages;

    /// Upper bound on the samples of one merged channel.
    static constexpr std::size_t kMaxSamples = 50'000'000;

private:
    struct Piece {
        ChannelId id;
        long long start;  ///< microseconds of the Unix epoch
        double rate;
        std::vector<float> samples;
    };
    std::vector<Piece> pieces_;
    bool windowed_ = false;
    double windowStart_ = 0, windowEnd_ = 0;
};

}  // namespace orvane::import
