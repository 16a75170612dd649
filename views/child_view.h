#pragma once
// The base of the two drawing views (globe and cross-section): three pictures
// of the client area and the copies between them. A view paints its static
// picture once into the background buffer, draws each tick's moving parts
// into the frame buffer (a fresh copy of the background) and shows the
// result on the window in one copy.
//
// All three surfaces put the logical origin at the centre of the client
// area, so a point means the same place on each of them. The buffers'
// bitmaps have the inner rectangle's size (the client area inside the
// bevel); they are made by the derived view.

#include <cstdint>
#include <optional>

#include "platform/memory_surface.h"
#include "platform/surface_window.h"

namespace orvane {

/// The views have their pictures: while set, a view's paint handler shows
/// the frame buffer. Cleared at start-up and while layouts are built.
extern bool viewsReady;

enum class ViewSurface { Window, FrameBuffer, Background };

class childView : public SurfaceWindow {
  public:
    /// Margin between the client rectangle and the inner rectangle.
    static constexpr int kBevel = 6;

    explicit childView(QWidget* parent = nullptr);

    /// Computes the rectangles, centre and radius from the current client
    /// size and makes a new window surface and frame buffer (without bitmap).
    void setUpSurfaces();

    /// Gives the frame buffer and the background buffer bitmaps of the inner
    /// rectangle's size filled with `fill`.
    void makeBufferBitmaps(Colour fill = colours::kBlack);

    DrawingContext& windowSurface() { return window_; }
    MemorySurface& frameBuffer() { return frame_; }
    MemorySurface& backgroundBuffer() { return background_; }

    const Rect& clientRect() const { return client_; }
    const Rect& innerRect() const { return inner_; }
    Point centre() const { return centre_; }
    std::int16_t radius() const { return radius_; }
    /// (-radius, -radius, radius, radius) around the centre.
    const Rect& diskRect() const { return disk_; }

    /// Plain copy of one surface onto another, limited to `clip` (logical
    /// coordinates) or covering the whole view.
    void copy(ViewSurface destination, ViewSurface source, std::optional<Rect> clip = std::nullopt);
    /// Window surface <- frame buffer.
    void present(std::optional<Rect> clip = std::nullopt);
    /// Frame buffer <- background buffer.
    void reset(std::optional<Rect> clip = std::nullopt);
    /// Window surface <- background buffer.
    void clear(std::optional<Rect> clip = std::nullopt);

    /// Opening pulse on the window surface: a filled circle of radius
    /// trunc(10 x size) pixels around (ux, uy) in disc radii, clipped to the
    /// inner rectangle and remembered for erasePulse(). Nothing is drawn for
    /// a size that gives no radius (0, negative, NaN).
    void drawPulse(float ux, float uy, float size, Colour fill);
    /// Puts the background back where the last pulse was drawn.
    void erasePulse();
    /// Where the last pulse was drawn; empty when none stands.
    const Rect& pulseRect() const { return pulse_; }

  protected:
    /// The bevel around the client area; while viewsReady is set, the frame
    /// buffer within it.
    void paint(DrawingContext& dc, const Rect& area) override;

  private:
    DrawingContext& surfaceFor(ViewSurface which);
    Point bufferOrigin() const { return centre_ - Point{kBevel, kBevel}; }

    DrawingContext window_;
    MemorySurface frame_;
    MemorySurface background_;
    Rect client_;
    Rect inner_;
    Point centre_;
    std::int16_t radius_ = 0;
    Rect disk_;
    Rect pulse_;
};

}  // namespace orvane
