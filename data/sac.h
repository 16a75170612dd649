#pragma once
// Binary SAC seismogram files (big-endian): the header layout, the trace the
// viewer loads (KSAC) and a writer for tests and the data tools.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <memory>
#include <utility>
#include <vector>

namespace orvane {

/// The header layout: 70 float words, 40 integer words, 23 character fields.
namespace sac {

constexpr std::size_t kFloatWords = 70;
constexpr std::size_t kIntWords = 40;
constexpr std::size_t kCharBytes = 192;
constexpr std::size_t kCharFields = 23;
constexpr std::size_t kHeaderBytes = 632;

constexpr float kUndefinedFloat = -12345.0f;
constexpr std::int32_t kUndefinedInt = -12345;
constexpr std::string_view kUndefinedText = "-12345";

// Float words.
enum FloatWord : int {
    DELTA = 0, DEPMIN = 1, DEPMAX = 2, B = 5, E = 6,
    STLA = 31, STLO = 32, EVLA = 35, EVLO = 36, EVDP = 38,
    GCARC = 53, DEPMEN = 56, CMPAZ = 57, CMPINC = 58,
};

// Integer words.
enum IntWord : int {
    NZYEAR = 0, NZJDAY = 1, NZHOUR = 2, NZMIN = 3, NZSEC = 4, NZMSEC = 5,
    NVHDR = 6, NPTS = 9, IFTYPE = 15, IZTYPE = 17,
    CHECK_WORD = 27,  ///< must read -12345, which also rejects the wrong byte order
    LEVEN = 35,
};

// Character fields: index 1 is 16 bytes wide, the others 8.
enum CharField : int { KSTNM = 0, KEVNM = 1, KCMPNM = 19, KNETWK = 20 };

constexpr std::int32_t kHeaderVersion = 6;
constexpr std::int32_t kTimeSeries = 1;  ///< IFTYPE ITIME
constexpr std::int32_t kBeginIsZero = 9;  ///< IZTYPE IB

/// The header words in host byte order.
struct Header {
    std::array<float, kFloatWords> floats;
    std::array<std::int32_t, kIntWords> ints;
    std::array<char, kCharBytes> chars;

    /// Every word undefined.
    Header();

    /// Byte offset and width of character field `index` inside `chars`.
    static std::size_t charOffset(int index);
    static std::size_t charWidth(int index);

    /// The field with its blank padding kept (empty for a bad index).
    std::string charField(int index) const;
    /// Stores `text` blank-padded, cut to the field's width.
    void setCharField(int index, std::string_view text);

    /// The header as stored in a file: big-endian words.
    std::array<unsigned char, kHeaderBytes> encode() const;
    /// Reads a big-endian header from exactly kHeaderBytes bytes.
    static Header decode(std::span<const unsigned char, kHeaderBytes> bytes);
};

/// True when a float header word holds the undefined value.
inline bool undefined(float value) { return value == kUndefinedFloat; }

}  // namespace sac

/// An allocator that leaves new elements uninitialised: a buffer filled later
/// in full need not be cleared first, and its pages stay untouched till then.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    using std::allocator<T>::allocator;
    template <typename U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

/// Travel-time curve of one phase: entry k is the time at k degrees.
using CurveView = std::span<const float>;

/// What a trace takes from the loaded event when it is read.
struct TraceContext {
    float eventLatitude = 0;
    float eventLongitude = 0;
    double originEpoch = 0;            ///< origin time in seconds of the common epoch
    std::array<CurveView, 4> curves;  ///< P, S, PP, SS
};

/// One seismogram trace read from a binary SAC file. A trace that could not
/// be read has NPTS 0; callers test `npts()` and drop such traces.
class KSAC {
public:
    /// Reads the file at `path`; the samples only when `loadSamples` is set.
    KSAC(const std::string& path, bool loadSamples, const TraceContext& context = {});

    float floatWord(int index) const;
    std::int32_t intWord(int index) const;
    /// Character field with its blank padding kept. Writers in C end the
    /// text with a NUL and may pad with NULs: from the first NUL on the field
    /// reads as blanks.
    std::string charField(int index) const;
    void setFloatWord(int index, float value);
    void setIntWord(int index, std::int32_t value);

    std::int32_t npts() const { return header_.ints[sac::NPTS]; }
    const sac::Header& header() const { return header_; }

    bool dataLoaded = false;
    bool loadSamples = false;
    float stationLatitude = 0;
    float stationLongitude = 0;
    float eventLatitude = 0;   ///< EVLA as read from the file
    float eventLongitude = 0;  ///< EVLO as read from the file
    std::string description;
    std::string stationCode;  ///< first word of KSTNM
    std::string fileName;     ///< path after its first "/", else empty
    std::int32_t month = 0;
    std::int32_t day = 0;
    float startTime = 0;  ///< trace begin, seconds after the origin
    float endTime = 0;    ///< trace end, seconds after the origin
    std::int32_t arrivalP = 0;
    std::int32_t arrivalS = 0;
    std::int32_t arrivalPP = 0;
    std::int32_t arrivalSS = 0;

    std::vector<float> samples;
    /// NPTS entries each, allocated with the samples but left unset (their
    /// pages untouched) until the seismogram view fills every entry.
    std::vector<std::int16_t, UninitialisedAllocator<std::int16_t>> plotOffsets;
    std::vector<std::uint8_t, UninitialisedAllocator<std::uint8_t>> soundBytes;

private:
    bool read(const std::string& path);
    void reject();
    void derive(const std::string& path, const TraceContext& context);

    sac::Header header_;
};

/// A trace to write: the header values the reader and other SAC tools need
/// plus the samples. Undefined values are written as -12345.
struct SacTrace {
    float delta = 1.0f;
    float begin = 0.0f;  ///< B, seconds after the reference time
    std::int32_t year = 1970;
    std::int32_t dayOfYear = 1;
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    std::int32_t second = 0;
    std::int32_t millisecond = 0;
    std::string station;     ///< KSTNM, at most 8 characters
    std::string component;   ///< KCMPNM, at most 8 characters
    std::string network;     ///< KNETWK; empty leaves it undefined
    float stationLatitude = sac::kUndefinedFloat;
    float stationLongitude = sac::kUndefinedFloat;
    float eventLatitude = sac::kUndefinedFloat;
    float eventLongitude = sac::kUndefinedFloat;
    float eventDepth = sac::kUndefinedFloat;
    float componentAzimuth = sac::kUndefinedFloat;
    float componentIncidence = sac::kUndefinedFloat;
    std::vector<float> samples;
};

/// The header of `trace` (NVHDR 6, time series, evenly spaced, E and the
/// sample statistics filled in).
sac::Header sacHeaderOf(const SacTrace& trace);

/// The complete file image of `trace`, big-endian.
std::vector<unsigned char> encodeSac(const SacTrace& trace);

/// Writes `trace` to `path` (replacing it). Returns false on failure.
bool writeSac(const std::string& path, const SacTrace& trace);

}  // namespace orvane
