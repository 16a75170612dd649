#include "import/mseed.h"

#include "import/time_text.h"

#include <libmseed.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>

namespace orvane::import {

namespace {

constexpr double kMaxRate = 10000;  // samples a second; above that a header is damaged
constexpr std::uintmax_t kMaxFileBytes = 2ULL << 30;

// libmseed writes diagnostics to the terminal; damaged input is reported by
// our own messages instead.
void quiet(char*) {}

struct RecordDeleter {
    void operator()(MSRecord* r) const { msr_free(&r); }
};

}  // namespace

std::string ChannelId::text() const { return network + "." + station + "." + location + "." + channel; }

void MiniSeedCollector::setWindow(double windowStart, double windowEnd) {
    windowed_ = true;
    windowStart_ = windowStart;
    windowEnd_ = windowEnd;
}

std::size_t MiniSeedCollector::add(std::span<const unsigned char> bytes, const std::string& sourceName) {
    ms_loginit(quiet, nullptr, quiet, nullptr);
    // libmseed takes a mutable buffer.
    std::vector<char> buffer(bytes.begin(), bytes.end());
    std::size_t offset = 0, records = 0, damaged = 0, skipped = 0;
    while (offset + 48 <= buffer.size()) {
        MSRecord* raw = nullptr;
        std::size_t left = buffer.size() - offset;
        int status = msr_parse(buffer.data() + offset, static_cast<int>(std::min<std::size_t>(left, 1 << 30)),
                               &raw, 0, 1, 0);
        std::unique_ptr<MSRecord, RecordDeleter> record(raw);
        if (status > 0) {
            // The last record is cut short.
            ++damaged;
            break;
        }
        if (status < 0 || !record || record->reclen <= 0) {
            int length = ms_detect(buffer.data() + offset, static_cast<int>(std::min<std::size_t>(left, 1 << 30)));
            offset += length >= 128 ? static_cast<std::size_t>(length) : 128;
            ++damaged;
            continue;
        }
        offset += static_cast<std::size_t>(record->reclen);
        if (!MS_ISDATAINDICATOR(record->dataquality)) continue;
        double rate = record->samprate;
        if (record->numsamples <= 0 || record->samplecnt <= 0) continue;
        if (!(rate > 0 && rate <= kMaxRate) || !record->datasamples ||
            (record->sampletype != 'i' && record->sampletype != 'f' && record->sampletype != 'd')) {
            ++skipped;
            continue;
        }
        Piece piece;
        piece.id = {record->network, record->station, record->location, record->channel};
        piece.start = record->starttime;
        piece.rate = rate;
        auto n = static_cast<std::size_t>(record->numsamples);
        piece.samples.resize(n);
        std::size_t nonFinite = 0;
        for (std::size_t i = 0; i < n; ++i) {
            double v = record->sampletype == 'i'   ? static_cast<const std::int32_t*>(record->datasamples)[i]
                       : record->sampletype == 'f' ? static_cast<const float*>(record->datasamples)[i]
                                                   : static_cast<const double*>(record->datasamples)[i];
            if (!std::isfinite(v) || std::fabs(v) > 3e38) {
                v = 0;
                ++nonFinite;
            }
            piece.samples[i] = static_cast<float>(v);
        }
        if (nonFinite > 0)
            messages.push_back(sourceName + ": " + std::to_string(nonFinite) + " samples of " + piece.id.text() +
                               " were not numbers and are set to 0");
        if (windowed_) {
            double start = static_cast<double>(piece.start) / 1e6;
            double end = start + static_cast<double>(n) / rate;
            if (end < windowStart_ || start > windowEnd_) {
                ++records;
                continue;
            }
            // Cut to the window so far-off records never make long gaps.
            auto first = static_cast<std::size_t>(std::max(0.0, std::floor((windowStart_ - start) * rate)));
            auto last = static_cast<std::size_t>(std::clamp(std::ceil((windowEnd_ - start) * rate) + 1, 0.0,
                                                            static_cast<double>(n)));
            if (first >= last) {
                ++records;
                continue;
            }
            piece.samples = std::vector<float>(piece.samples.begin() + static_cast<std::ptrdiff_t>(first),
                                               piece.samples.begin() + static_cast<std::ptrdiff_t>(last));
            piece.start += std::llround(static_cast<double>(first) / rate * 1e6);
        }
        pieces_.push_back(std::move(piece));
        ++records;
    }
    if (damaged > 0)
        messages.push_back(sourceName + ": " + std::to_string(damaged) + " damaged or incomplete records skipped");
    if (skipped > 0)
        messages.push_back(sourceName + ": " + std::to_string(skipped) +
                           " records without usable samples (text, unknown encoding or rate) skipped");
    return records;
}

bool MiniSeedCollector::addFile(const std::string& path, std::size_t& records, std::string& error) {
    std::error_code ec;
    auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        error = "cannot read " + path + ": " + ec.message();
        return false;
    }
    if (size > kMaxFileBytes) {
        error = path + " is larger than 2 GiB; split it";
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
    std::size_t got = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), file);
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        error = "cannot read " + path;
        return false;
    }
    bytes.resize(got);
    records = add(bytes, path);
    return true;
}

std::vector<Recording> MiniSeedCollector::merge() {
    std::map<ChannelId, std::vector<Piece*>> channels;
    for (Piece& p : pieces_) channels[p.id].push_back(&p);
    std::vector<Recording> out;
    for (auto& [id, list] : channels) {
        std::stable_sort(list.begin(), list.end(), [](const Piece* a, const Piece* b) { return a->start < b->start; });
        Recording r;
        r.id = id;
        r.sampleRate = list.front()->rate;
        long long origin = list.front()->start;
        r.start = static_cast<double>(origin) / 1e6;
        std::size_t otherRate = 0, tooLong = 0;
        for (const Piece* p : list) {
            if (!MS_ISRATETOLERABLE(p->rate, r.sampleRate)) {
                ++otherRate;
                continue;
            }
            // Where this record's first sample falls on the channel's grid.
            double at = static_cast<double>(p->start - origin) / 1e6 * r.sampleRate;
            long long index = std::llround(at);
            long long have = static_cast<long long>(r.samples.size());
            std::size_t skip = 0;
            if (index > have) {
                if (static_cast<std::size_t>(index) + p->samples.size() > kMaxSamples) {
                    ++tooLong;
                    continue;
                }
                float from = r.samples.empty() ? p->samples.front() : r.samples.back();
                float to = p->samples.front();
                long long missing = index - have;
                for (long long k = 1; k <= missing; ++k)
                    r.samples.push_back(from + (to - from) * static_cast<float>(k) / static_cast<float>(missing + 1));
                ++r.gaps;
                r.gapSeconds += static_cast<double>(missing) / r.sampleRate;
            } else if (index < have) {
                skip = static_cast<std::size_t>(have - index);
                ++r.overlaps;
                if (skip >= p->samples.size()) continue;
            }
            if (r.samples.size() + p->samples.size() - skip > kMaxSamples) {
                ++tooLong;
                continue;
            }
            r.samples.insert(r.samples.end(), p->samples.begin() + static_cast<std::ptrdiff_t>(skip), p->samples.end());
        }
        if (otherRate > 0)
            messages.push_back(id.text() + ": " + std::to_string(otherRate) + " records at another sample rate left out");
        if (tooLong > 0)
            messages.push_back(id.text() + ": " + std::to_string(tooLong) + " records beyond the longest trace left out");
        if (r.gaps > 0)
            messages.push_back(id.text() + ": " + std::to_string(r.gaps) + " gaps (" + fixed(r.gapSeconds, 2) +
                               " s) filled by interpolation");
        if (!r.samples.empty()) out.push_back(std::move(r));
    }
    pieces_.clear();
    return out;
}

}  // namespace orvane::import
