#pragma once
// Frames for a spherical projection display: the whole Earth's surface as an
// equirectangular image with the stations, the epicentre and the wave
// circles on a transparent background, one numbered PNG file per tick. The
// display lays the sequence over its own picture of the Earth.
//
// A frame is drawn in the tick and written by a thread of its own, so the
// tick only draws; the files still appear one by one, complete, in the
// order of the ticks.

#include <QImage>
#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/memory_surface.h"
#include "views/child_3d.h"

namespace orvane {

inline constexpr int kFrameWidth = 4096;
inline constexpr int kFrameHeight = 2048;
/// Width of a wave line in a frame.
inline constexpr int kFramePenWidth = kFrameHeight / 256;
/// Alpha of the surface-wave yellow, so the display's Earth shows through.
inline constexpr int kSurfaceWaveAlpha = 178;

/// Frames drawn but not yet written that the tick may run ahead by; each
/// holds a picture of its own (32 MiB). The tick waits when all are taken.
inline constexpr int kFramesInFlight = 3;

/// "%06d.png" for the clock in whole seconds (truncated).
std::string frameName(float t);

/// Writes a drawn frame as an 8-bit RGBA PNG: black becomes fully
/// transparent, surface-wave yellow partly transparent, every other colour
/// opaque. The file appears complete or not at all. False when it cannot be
/// written (for example a missing directory); then `error`, when given,
/// names the file and the system's reason.
bool writeFramePng(const QImage& bitmap, const std::string& path, std::string* error = nullptr);

/// Writes frames in order on one thread of its own (started with the first
/// frame): one keeps the files in order, and with the encoder of
/// writeFramePng it keeps up with the tick on the second core. Destroying
/// it waits for the frames handed over.
class FrameWriter {
  public:
    FrameWriter() = default;
    ~FrameWriter();
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    /// Hands over a picture to be written to `path`; the caller leaves it
    /// untouched until wait(ticket) returns. Returns the frame's ticket.
    std::uint64_t write(std::shared_ptr<const QImage> picture, std::string path);
    /// Waits until the frame of `ticket` and every earlier one are written
    /// (or have failed).
    void wait(std::uint64_t ticket);
    /// Waits for every frame handed over.
    void finish();
    /// What went wrong since the last call, one line per lost frame, in
    /// the order of the frames.
    std::vector<std::string> takeFailures();

  private:
    struct Job {
        std::uint64_t ticket;
        std::shared_ptr<const QImage> picture;
        std::string path;
    };
    void run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    std::uint64_t handedOver_ = 0;
    std::uint64_t written_ = 0;
    bool stopping_ = false;
    std::vector<std::string> failures_;
    std::thread thread_;
};

/// The export buffer of the globe view, drawn from the loaded event.
class FrameExport {
  public:
    FrameExport();
    /// Waits for the frames still being written.
    ~FrameExport();

    /// A new W x H buffer, black, with the map scale set. Waits for the
    /// frames of the previous event first; a new event may report a lost
    /// frame again.
    void prepare();
    /// Station and epicentre marks.
    void drawStations();
    /// Draws the whole frame for clock `t` (seconds) into the buffer.
    void render(float t);
    /// Draws the frame for `t` into the next free buffer and hands it to
    /// the writer for the event's "sos/earth" directory; the name goes to
    /// Settings::frameFileName. Reports frames found lost since the last
    /// call. False when there is no buffer.
    bool exportFrame(float t);
    /// Waits until every frame handed over is written, and reports those
    /// lost.
    void finish();

    /// The buffer drawn last.
    MemorySurface& buffer() { return buffers_[current_]; }
    float scale() const { return scale_; }

  private:
    void drawMapCircle(const WaveCircle& circle);
    /// Each lost frame on standard error; the first of an event also in a
    /// message box, unless nobody is there to close it.
    void report(const std::vector<std::string>& failures);

    std::array<MemorySurface, kFramesInFlight> buffers_;
    std::array<std::uint64_t, kFramesInFlight> tickets_{};
    int current_ = 0;
    float scale_ = 0;
    bool reported_ = false;
    FrameWriter writer_;
};

}  // namespace orvane
