#include "model/travel_time_table.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <filesystem>
#include <limits>

namespace orvane {

namespace {

constexpr std::int64_t kHeaderSize = 20;
constexpr std::int64_t kPointSize = 4;
constexpr std::size_t kNameSize = 12;
static_assert(sizeof(WavefrontPoint) == kPointSize, "points are read straight into memory");
// The clock is 16 bits and the step at least 1 s, so no later entry can be asked for.
constexpr std::size_t kMaxIndexEntries = std::numeric_limits<std::int16_t>::max() + 1;

std::uint16_t u16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

std::int32_t i32(const unsigned char* p) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
        static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

std::int16_t swapBytes(std::int16_t v) {
    auto u = static_cast<std::uint16_t>(v);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(u >> 8 | u << 8));
}

// Size of a regular file, or -1 (directories and devices are no tables).
std::int64_t regularFileSize(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return -1;
    auto size = std::filesystem::file_size(path, ec);
    if (ec || size > static_cast<std::uintmax_t>(std::numeric_limits<std::int64_t>::max()))
        return -1;
    return static_cast<std::int64_t>(size);
}

}  // namespace

struct TravelTimeTable::Header {
    char name[kNameSize];
    std::uint16_t waveType;
    std::int16_t stepTime;
    std::uint16_t pointCount;

    std::string_view phaseName() const { return {name, strnlen(name, kNameSize - 1)}; }
};

TablePairNames travelTimeTableNames(float depth) {
    if (depth > kShallowTableMaxDepthKm) return {"OV600.INX", "OV600.BIN"};
    return {"OV0.INX", "OV0.BIN"};
}

TravelTimeTable::TravelTimeTable() = default;
TravelTimeTable::~TravelTimeTable() = default;

bool TravelTimeTable::loadTravelTimeTables(float depth, const PathResolver& resolve) {
    TablePairNames names = travelTimeTableNames(depth);
    if (resolve) return load(resolve(names.index), resolve(names.data));
    return load(names.index, names.data);
}

void TravelTimeTable::close() {
    data_.reset();
    dataSize_ = 0;
    position_ = 0;
    index_.clear();
    index_.shrink_to_fit();
    timeStep_ = 0;
}

bool TravelTimeTable::available() const { return data_ != nullptr; }

bool TravelTimeTable::load(const std::string& indexPath, const std::string& dataPath) {
    close();

    std::int64_t indexSize = regularFileSize(indexPath);
    if (indexSize < 0) return false;
    std::size_t wanted = std::min(static_cast<std::size_t>(indexSize / 4), kMaxIndexEntries);
    std::vector<unsigned char> bytes(wanted * 4);
    {
        std::unique_ptr<std::FILE, FileCloser> file(std::fopen(indexPath.c_str(), "rb"));
        if (!file) return false;
        // A read that falls short keeps the whole entries it got.
        std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
        index_.resize(got / 4);
    }
    for (std::size_t i = 0; i < index_.size(); ++i) index_[i] = i32(&bytes[i * 4]);

    dataSize_ = regularFileSize(dataPath);
    if (index_.empty() || dataSize_ < 0) {
        close();
        return false;
    }
    data_.reset(std::fopen(dataPath.c_str(), "rb"));
    position_ = 0;
    // A step of the real tables is tens of kilobytes; read it in few calls.
    if (data_) std::setvbuf(data_.get(), buffer_.data(), _IOFBF, buffer_.size());
    if (!data_ || !findTimeStep()) {
        close();
        return false;
    }
    return true;
}

// The step is the first nonzero step time. A data file without one (or with
// a negative one, which would make step indexes negative) holds no usable
// table.
bool TravelTimeTable::findTimeStep() {
    Header header;
    while (readHeader(header)) {
        if (header.stepTime > 0) {
            timeStep_ = header.stepTime;
            return true;
        }
        if (header.stepTime < 0) return false;
        if (!skip(header.pointCount * kPointSize)) return false;
    }
    return false;
}

bool TravelTimeTable::readHeader(Header& header) {
    unsigned char raw[kHeaderSize];
    if (dataSize_ - position_ < kHeaderSize) return false;
    if (std::fread(raw, 1, kHeaderSize, data_.get()) != static_cast<std::size_t>(kHeaderSize))
        return false;
    position_ += kHeaderSize;
    std::memcpy(header.name, raw, kNameSize);
    header.waveType = u16(raw + 12);
    header.stepTime = static_cast<std::int16_t>(u16(raw + 14));
    header.pointCount = u16(raw + 16);
    return true;
}

// Moves forward over points; fails when they would run past the end.
bool TravelTimeTable::skip(std::int64_t bytes) {
    if (bytes > dataSize_ - position_) return false;
    if (bytes == 0) return true;
    if (std::fseek(data_.get(), static_cast<long>(bytes), SEEK_CUR) != 0) return false;
    position_ += bytes;
    return true;
}

void TravelTimeTable::readTimeStep(int t, const WantRecord& want, const VisitRecord& visit) {
    if (t < 1 || !available()) return;
    std::size_t i = static_cast<std::size_t>(t / timeStep_);
    if (i >= index_.size()) return;
    std::int64_t offset = index_[i];
    // Offsets outside the data file would make the seek fail and the read
    // start wherever the last tick stopped.
    if (offset < 0 || offset > dataSize_ - kHeaderSize) return;
    if (std::fseek(data_.get(), static_cast<long>(offset), SEEK_SET) != 0) return;
    position_ = offset;

    Header header;
    if (!readHeader(header)) return;
    const std::int16_t step = header.stepTime;
    do {
        std::int64_t bytes = header.pointCount * kPointSize;
        if (bytes > dataSize_ - position_) return;  // cut short by the end of the file
        if (header.pointCount != 0 && (!want || want(header.phaseName()))) {
            points_.resize(header.pointCount);
            if (std::fread(points_.data(), kPointSize, points_.size(), data_.get()) !=
                points_.size())
                return;
            position_ += bytes;
            if constexpr (std::endian::native == std::endian::big) {
                for (WavefrontPoint& p : points_) {
                    p.along = swapBytes(p.along);
                    p.across = swapBytes(p.across);
                }
            }
            if (visit)
                visit({header.phaseName(), header.waveType, header.stepTime,
                       std::span<const WavefrontPoint>(points_)});
        } else if (!skip(bytes)) {
            return;
        }
        if (!readHeader(header)) return;
    } while (header.stepTime == step);
}

}  // namespace orvane
