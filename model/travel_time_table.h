#pragma once
// Wavefront tables: where each seismic phase has got to inside the Earth at
// every time step, precomputed into a pair of little-endian binary files. The
// index file maps time step i to the byte offset of its records in the data
// file; a record is a 20-byte header (phase name, wave type, step time, point
// count) followed by (along, across) points in km.
//
// Every tick seeks afresh from the index, so the clock may jump backwards or
// skip steps; records the caller does not want are skipped without reading.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/travel_time_curve.h"

namespace orvane {

/// Events deeper than this use the deep table pair.
inline constexpr float kShallowTableMaxDepthKm = 300.0f;

struct WavefrontPoint {
    std::int16_t along = 0;   ///< km from the Earth's centre towards the epicentre
    std::int16_t across = 0;  ///< km at right angles to that axis
};

/// One record of a time step: the front of one phase on one side of the axis.
struct WavefrontRecord {
    std::string_view phaseName;
    std::uint16_t waveType = 0;  ///< 1 drawn as P, 2 as S, anything else black
    std::int16_t stepTime = 0;
    std::span<const WavefrontPoint> points;
};

struct TablePairNames {
    std::string index;
    std::string data;
};

/// "OV0.INX"/"OV0.BIN" up to 300 km inclusive, "OV600.INX"/"OV600.BIN" deeper.
TablePairNames travelTimeTableNames(float depth);

class TravelTimeTable {
  public:
    /// Decides from the phase name whether a record's points are wanted.
    using WantRecord = std::function<bool(std::string_view phaseName)>;
    using VisitRecord = std::function<void(const WavefrontRecord&)>;

    TravelTimeTable();
    ~TravelTimeTable();
    // The open file reads through buffer_, so the object stays where it is.
    TravelTimeTable(const TravelTimeTable&) = delete;
    TravelTimeTable& operator=(const TravelTimeTable&) = delete;

    /// Closes what was loaded and opens the pair for `depth`, its names passed
    /// through `resolve`. Returns whether the table is available.
    bool loadTravelTimeTables(float depth, const PathResolver& resolve = {});

    /// Closes what was loaded and opens the given pair. The table is available
    /// only when the index holds at least one entry and the data file holds a
    /// positive step time; otherwise nothing stays open.
    bool load(const std::string& indexPath, const std::string& dataPath);

    void close();
    bool available() const;

    /// Seconds per index entry; 0 while unavailable.
    int timeStep() const { return timeStep_; }
    /// Index entries held (an index can never need more than 32768).
    std::size_t entryCount() const { return index_.size(); }

    /// Passes the records of the time step holding the whole-second clock `t`
    /// to `visit`, those that `want` accepts and that have points. Nothing
    /// happens for t < 1, beyond the last entry, or while unavailable. A
    /// record cut short by the end of the file ends the step there.
    void readTimeStep(int t, const WantRecord& want, const VisitRecord& visit);

  private:
    struct Header;
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };

    bool readHeader(Header& header);
    bool skip(std::int64_t bytes);
    bool findTimeStep();

    std::vector<char> buffer_ = std::vector<char>(1 << 16);  // outlives data_
    std::unique_ptr<std::FILE, FileCloser> data_;
    std::int64_t dataSize_ = 0;
    std::int64_t position_ = 0;  // of the data file, kept to avoid ftell
    std::vector<std::int32_t> index_;
    int timeStep_ = 0;
    std::vector<WavefrontPoint> points_;
};

}  // namespace orvane
