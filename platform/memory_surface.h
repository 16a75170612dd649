#pragma once
// An off-screen drawing surface: a drawing context with a picture of its own
// (32-bit RGB). Until a bitmap is made it has no pixels, and drawing into it or
// copying from it does nothing.

#include <QImage>

#include "platform/drawing_context.h"

namespace orvane {

class MemorySurface : public DrawingContext {
  public:
    MemorySurface();
    // One surface, one picture: copies would share it behind each other's back.
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;
    MemorySurface(MemorySurface&&) = default;
    MemorySurface& operator=(MemorySurface&&) = default;

    /// Gives the surface a new w x h picture filled with `fill`.
    void createBitmap(int w, int h, Colour fill = colours::kBlack);
    /// Gives the surface a copy of a picture (converted to 32-bit RGB).
    void setBitmap(const QImage& image);
    void releaseBitmap();
    bool hasBitmap() const { return hasPixels(); }
    /// The surface's picture (a null image without one).
    const QImage& bitmap() const;
};

}  // namespace orvane
