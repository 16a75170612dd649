#include "data/sac.h"

#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "data/files.h"
#include "data/station.h"
#include "model/geometry.h"
#include "model/travel_time_curve.h"

namespace orvane {

namespace {

std::uint32_t loadBigEndian(const unsigned char* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) |
           (std::uint32_t(p[2]) << 8) | std::uint32_t(p[3]);
}

void storeBigEndian(std::uint32_t value, unsigned char* p) {
    p[0] = static_cast<unsigned char>(value >> 24);
    p[1] = static_cast<unsigned char>(value >> 16);
    p[2] = static_cast<unsigned char>(value >> 8);
    p[3] = static_cast<unsigned char>(value);
}

}  // namespace

namespace sac {

namespace {

constexpr std::size_t kIntOffset = kFloatWords * 4;
constexpr std::size_t kCharOffset = kIntOffset + kIntWords * 4;

}  // namespace

Header::Header() {
    floats.fill(kUndefinedFloat);
    ints.fill(kUndefinedInt);
    chars.fill(' ');
    for (std::size_t i = 0; i < kCharFields; ++i)
        setCharField(static_cast<int>(i), kUndefinedText);
}

std::size_t Header::charOffset(int index) { return index <= 1 ? std::size_t(index) * 8 : 8 + 16 + (std::size_t(index) - 2) * 8; }

std::size_t Header::charWidth(int index) { return index == KEVNM ? 16 : 8; }

std::string Header::charField(int index) const {
    if (index < 0 || std::size_t(index) >= kCharFields) return {};
    return std::string(chars.data() + charOffset(index), charWidth(index));
}

void Header::setCharField(int index, std::string_view text) {
    if (index < 0 || std::size_t(index) >= kCharFields) return;
    std::size_t width = charWidth(index);
    char* field = chars.data() + charOffset(index);
    std::memset(field, ' ', width);
    std::memcpy(field, text.data(), std::min(width, text.size()));
}

std::array<unsigned char, kHeaderBytes> Header::encode() const {
    std::array<unsigned char, kHeaderBytes> out{};
    for (std::size_t i = 0; i < kFloatWords; ++i)
        storeBigEndian(std::bit_cast<std::uint32_t>(floats[i]), out.data() + i * 4);
    for (std::size_t i = 0; i < kIntWords; ++i)
        storeBigEndian(static_cast<std::uint32_t>(ints[i]), out.data() + kIntOffset + i * 4);
    std::memcpy(out.data() + kCharOffset, chars.data(), kCharBytes);
    return out;
}

Header Header::decode(std::span<const unsigned char, kHeaderBytes> bytes) {
    Header h;
    for (std::size_t i = 0; i < kFloatWords; ++i)
        h.floats[i] = std::bit_cast<float>(loadBigEndian(bytes.data() + i * 4));
    for (std::size_t i = 0; i < kIntWords; ++i)
        h.ints[i] = static_cast<std::int32_t>(loadBigEndian(bytes.data() + kIntOffset + i * 4));
    std::memcpy(h.chars.data(), bytes.data() + kCharOffset, kCharBytes);
    return h;
}

}  // namespace sac

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The reference time must be a real calendar instant: anything else would
// make the trace's place on the time axis meaningless (and the epoch
// arithmetic overflow).
bool plausibleReferenceTime(const sac::Header& h) {
    auto in = [&](int word, std::int32_t low, std::int32_t high) {
        return h.ints[word] >= low && h.ints[word] <= high;
    };
    if (!in(sac::NZYEAR, 1, 9999)) return false;
    int days = isLeapYear(h.ints[sac::NZYEAR]) ? 366 : 365;
    return in(sac::NZJDAY, 1, days) && in(sac::NZHOUR, 0, 23) && in(sac::NZMIN, 0, 59) &&
           in(sac::NZSEC, 0, 60) && in(sac::NZMSEC, 0, 999);
}

std::int32_t arrivalAt(CurveView curve, float gcarc) {
    auto count = static_cast<int>(std::min<std::size_t>(curve.size(), kCurveEntries));
    if (count == 0 || !std::isfinite(gcarc)) return 0;
    return static_cast<std::int32_t>(interpolateTable(curveDistances(), curve, count, gcarc));
}

}  // namespace

KSAC::KSAC(const std::string& path, bool loadSamples_, const TraceContext& context)
    : loadSamples(loadSamples_) {
    header_.ints[sac::NPTS] = 0;
    if (!read(path)) {
        reject();
        return;
    }
    if (npts() != 0) derive(path, context);
}

void KSAC::reject() {
    header_.ints[sac::NPTS] = 0;
    samples.clear();
    plotOffsets.clear();
    soundBytes.clear();
    dataLoaded = false;
}

bool KSAC::read(const std::string& path) {
    // Only a regular file: opening a FIFO or a device could block or never end.
    std::string real = resolvePath(path);
    struct stat info {};
    if (::stat(real.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    FilePtr file(std::fopen(real.c_str(), "rb"));
    if (!file) return false;
    if (::fstat(::fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) return false;

    std::array<unsigned char, sac::kHeaderBytes> bytes{};
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return false;
    header_ = sac::Header::decode(bytes);

    std::int32_t& n = header_.ints[sac::NPTS];
    if (header_.ints[sac::CHECK_WORD] != sac::kUndefinedInt || n < 0) return false;
    if (n == 0) return true;

    // The view steps through time by DELTA and places the trace by its
    // reference time and station: without them it cannot be shown.
    float delta = header_.floats[sac::DELTA];
    if (!std::isfinite(delta) || delta <= 0) return false;
    if (!plausibleReferenceTime(header_)) return false;
    if (!std::isfinite(header_.floats[sac::STLA]) || !std::isfinite(header_.floats[sac::STLO]))
        return false;

    // Never trust NPTS beyond what the file holds.
    auto held = static_cast<std::uint64_t>(info.st_size - static_cast<off_t>(sac::kHeaderBytes)) / 4;
    if (static_cast<std::uint64_t>(n) > held) n = static_cast<std::int32_t>(held);
    if (n == 0 || !loadSamples) return true;

    auto count = static_cast<std::size_t>(n);
    samples.assign(count, 0.0f);
    // A short read leaves the rest at 0.
    std::size_t got = std::fread(samples.data(), 4, count, file.get());
    // Byte order and broken samples (NaN, infinities: all exponent bits set)
    // in one pass over the words; a broken sample shows as silence.
    auto* words = reinterpret_cast<std::uint32_t*>(samples.data());
    for (std::size_t k = 0; k < got; ++k) {
        std::uint32_t w = words[k];
        if constexpr (std::endian::native == std::endian::little) w = __builtin_bswap32(w);
        words[k] = (w & 0x7f800000u) == 0x7f800000u ? 0u : w;
    }

    // Statistics in independent lanes, so the work of neighbouring samples overlaps.
    constexpr std::size_t kLanes = 8;
    double sums[kLanes] = {};
    float lows[kLanes], highs[kLanes];
    std::fill(std::begin(lows), std::end(lows), 1e20f);
    std::fill(std::begin(highs), std::end(highs), -1e20f);
    std::size_t k = 0;
    for (; k + kLanes <= count; k += kLanes) {
        for (std::size_t j = 0; j < kLanes; ++j) {
            float v = samples[k + j];
            lows[j] = v < lows[j] ? v : lows[j];
            highs[j] = v > highs[j] ? v : highs[j];
            sums[j] += v;
        }
    }
    for (; k < count; ++k) {
        float v = samples[k];
        lows[0] = std::min(lows[0], v);
        highs[0] = std::max(highs[0], v);
        sums[0] += v;
    }
    double sum = 0;
    float low = 1e20f, high = -1e20f;
    for (std::size_t j = 0; j < kLanes; ++j) {
        sum += sums[j];
        low = std::min(low, lows[j]);
        high = std::max(high, highs[j]);
    }
    header_.floats[sac::DEPMIN] = low;
    header_.floats[sac::DEPMAX] = high;
    header_.floats[sac::DEPMEN] = static_cast<float>(sum / static_cast<double>(count));
    plotOffsets.resize(count);
    soundBytes.resize(count);
    dataLoaded = true;
    return true;
}

void KSAC::derive(const std::string& path, const TraceContext& context) {
    const auto& f = header_.floats;
    const auto& i = header_.ints;
    stationLatitude = f[sac::STLA];
    stationLongitude = f[sac::STLO];
    eventLatitude = f[sac::EVLA];
    eventLongitude = f[sac::EVLO];

    MonthAndDay md = monthAndDay(i[sac::NZJDAY], i[sac::NZYEAR]);
    month = md.month;
    day = md.day;
    double reference = epochSeconds(i[sac::NZYEAR], month, day, i[sac::NZHOUR], i[sac::NZMIN],
                                    i[sac::NZSEC], i[sac::NZMSEC]);
    auto offset = static_cast<float>(reference - context.originEpoch);
    float b = std::isfinite(f[sac::B]) ? f[sac::B] : 0.0f;
    float e = f[sac::E];
    startTime = offset + b;
    if (sac::undefined(e) || !std::isfinite(e))
        endTime = offset + static_cast<float>(npts()) * f[sac::DELTA];
    else
        endTime = offset + e;

    std::string code = charField(sac::KSTNM);
    std::size_t first = code.find_first_not_of(" \t");
    stationCode = first == std::string::npos ? std::string()
                                             : code.substr(first, code.find_first_of(" \t", first) - first);
    std::size_t slash = path.rfind('/');
    fileName = slash == std::string::npos ? std::string() : path.substr(slash + 1);

    header_.floats[sac::EVLA] = context.eventLatitude;
    header_.floats[sac::EVLO] = context.eventLongitude;
    float gcarc = greatCircle(stationLatitude, stationLongitude, context.eventLatitude,
                              context.eventLongitude)
                      .arc;
    header_.floats[sac::GCARC] = gcarc;
    arrivalP = arrivalAt(context.curves[0], gcarc);
    arrivalS = arrivalAt(context.curves[1], gcarc);
    arrivalPP = arrivalAt(context.curves[2], gcarc);
    arrivalSS = arrivalAt(context.curves[3], gcarc);
}

float KSAC::floatWord(int index) const {
    if (index < 0 || std::size_t(index) >= sac::kFloatWords) return sac::kUndefinedFloat;
    return header_.floats[index];
}

std::int32_t KSAC::intWord(int index) const {
    if (index < 0 || std::size_t(index) >= sac::kIntWords) return sac::kUndefinedInt;
    return header_.ints[index];
}

std::string KSAC::charField(int index) const {
    std::string text = header_.charField(index);
    std::size_t end = text.find('\0');
    if (end != std::string::npos) text.replace(end, text.size() - end, text.size() - end, ' ');
    return text;
}

void KSAC::setFloatWord(int index, float value) {
    if (index >= 0 && std::size_t(index) < sac::kFloatWords) header_.floats[index] = value;
}

void KSAC::setIntWord(int index, std::int32_t value) {
    // NPTS describes the sample buffers; it is not changed from outside.
    if (index >= 0 && std::size_t(index) < sac::kIntWords && index != sac::NPTS)
        header_.ints[index] = value;
}

sac::Header sacHeaderOf(const SacTrace& trace) {
    sac::Header h;
    auto n = static_cast<std::int32_t>(trace.samples.size());
    h.floats[sac::DELTA] = trace.delta;
    h.floats[sac::B] = trace.begin;
    h.floats[sac::E] = trace.begin + static_cast<float>(n > 0 ? n - 1 : 0) * trace.delta;
    if (n > 0) {
        auto [low, high] = std::minmax_element(trace.samples.begin(), trace.samples.end());
        double sum = 0;
        for (float v : trace.samples) sum += v;
        h.floats[sac::DEPMIN] = *low;
        h.floats[sac::DEPMAX] = *high;
        h.floats[sac::DEPMEN] = static_cast<float>(sum / n);
    }
    h.floats[sac::STLA] = trace.stationLatitude;
    h.floats[sac::STLO] = trace.stationLongitude;
    h.floats[sac::EVLA] = trace.eventLatitude;
    h.floats[sac::EVLO] = trace.eventLongitude;
    h.floats[sac::EVDP] = trace.eventDepth;
    h.floats[sac::CMPAZ] = trace.componentAzimuth;
    h.floats[sac::CMPINC] = trace.componentIncidence;

    h.ints[sac::NZYEAR] = trace.year;
    h.ints[sac::NZJDAY] = trace.dayOfYear;
    h.ints[sac::NZHOUR] = trace.hour;
    h.ints[sac::NZMIN] = trace.minute;
    h.ints[sac::NZSEC] = trace.second;
    h.ints[sac::NZMSEC] = trace.millisecond;
    h.ints[sac::NVHDR] = sac::kHeaderVersion;
    h.ints[sac::NPTS] = n;
    h.ints[sac::IFTYPE] = sac::kTimeSeries;
    h.ints[sac::IZTYPE] = sac::kBeginIsZero;
    h.ints[sac::LEVEN] = 1;

    h.setCharField(sac::KSTNM, trace.station);
    h.setCharField(sac::KCMPNM, trace.component);
    if (!trace.network.empty()) h.setCharField(sac::KNETWK, trace.network);
    return h;
}

std::vector<unsigned char> encodeSac(const SacTrace& trace) {
    auto header = sacHeaderOf(trace).encode();
    std::vector<unsigned char> out(header.begin(), header.end());
    out.resize(header.size() + trace.samples.size() * 4);
    unsigned char* p = out.data() + header.size();
    for (float v : trace.samples) {
        storeBigEndian(std::bit_cast<std::uint32_t>(v), p);
        p += 4;
    }
    return out;
}

bool writeSac(const std::string& path, const SacTrace& trace) {
    std::vector<unsigned char> bytes = encodeSac(trace);
    return writeFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace orvane
