#pragma once
// Frames for a spherical projection display: the whole Earth's surface as an
// equirectangular image with the stations, the epicentre and the wave
// circles on a transparent background, one numbered PNG file per tick. The
// display lays the sequence over its own picture of the Earth.

#include <QImage>
#include <string>

#include "platform/memory_surface.h"
#include "views/child_3d.h"

namespace orvane {

inline constexpr int kFrameWidth = 4096;
inline constexpr int kFrameHeight = 2048;
/// Width of a wave line in a frame.
inline constexpr int kFramePenWidth = kFrameHeight / 256;
/// Alpha of the surface-wave yellow, so the display's Earth shows through.
inline constexpr int kSurfaceWaveAlpha = 178;

/// "%06d.png" for the clock in whole seconds (truncated).
std::string frameName(float t);

/// zlib level of the frames: twice the time of the fastest level, but a
/// third of its file size (thousands of frames make one run).
inline constexpr int kFrameCompressionLevel = 6;

/// Writes a drawn frame as an 8-bit RGBA PNG: black becomes fully
/// transparent, surface-wave yellow partly transparent, every other colour
/// opaque. The file appears complete or not at all. False when it cannot be
/// written (for example a missing directory); nothing is reported.
bool writeFramePng(const QImage& bitmap, const std::string& path,
                   int compressionLevel = kFrameCompressionLevel);

/// The export buffer of the globe view, drawn from the loaded event.
class FrameExport {
  public:
    /// A new W x H buffer, black, with the map scale set.
    void prepare();
    /// Station and epicentre marks.
    void drawStations();
    /// Draws the whole frame for clock `t` (seconds) into the buffer.
    void render(float t);
    /// render(t), then writes the frame under the event's "sos/earth"
    /// directory; the name goes to Settings::frameFileName. False when the
    /// buffer is missing or the file could not be written.
    bool exportFrame(float t);

    MemorySurface& buffer() { return buffer_; }
    float scale() const { return scale_; }

  private:
    void drawMapCircle(const WaveCircle& circle);

    MemorySurface buffer_;
    float scale_ = 0;
};

}  // namespace orvane
