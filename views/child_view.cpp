#include "views/child_view.h"

#include <algorithm>

#include "model/geometry.h"
#include "ui/kit.h"

namespace orvane {

bool viewsReady = false;

childView::childView(QWidget* parent) : SurfaceWindow(parent) {}

void childView::setUpSurfaces() {
    client_ = {0, 0, width(), height()};
    inner_ = shrink(client_, kBevel);
    centre_ = {orvane::width(client_) / 2, orvane::height(client_) / 2};
    radius_ = static_cast<std::int16_t>(0.42 * orvane::width(client_));
    disk_ = {-radius_, -radius_, radius_, radius_};

    window_ = surface();
    window_.setViewportOrigin(centre_);
    window_.setBackgroundMode(BackgroundMode::Transparent);

    frame_ = MemorySurface();
    frame_.setViewportOrigin(bufferOrigin());
    frame_.setBackgroundMode(BackgroundMode::Transparent);
    background_.setViewportOrigin(bufferOrigin());
}

void childView::makeBufferBitmaps(Colour fill) {
    int w = std::max(0, orvane::width(inner_)), h = std::max(0, orvane::height(inner_));
    frame_.createBitmap(w, h, fill);
    background_.createBitmap(w, h, fill);
    frame_.setViewportOrigin(bufferOrigin());
    background_.setViewportOrigin(bufferOrigin());
}

DrawingContext& childView::surfaceFor(ViewSurface which) {
    switch (which) {
        case ViewSurface::FrameBuffer:
            return frame_;
        case ViewSurface::Background:
            return background_;
        case ViewSurface::Window:
            break;
    }
    return window_;
}

void childView::copy(ViewSurface destination, ViewSurface source, std::optional<Rect> clip) {
    Rect area = clip ? *clip : offset(client_, Point{} - centre_);
    if (area.empty()) return;
    surfaceFor(destination)
        .bitBlt(area.left, area.top, orvane::width(area), orvane::height(area), surfaceFor(source),
                area.left, area.top);
}

void childView::present(std::optional<Rect> clip) {
    copy(ViewSurface::Window, ViewSurface::FrameBuffer, clip);
}

void childView::reset(std::optional<Rect> clip) {
    copy(ViewSurface::FrameBuffer, ViewSurface::Background, clip);
}

void childView::clear(std::optional<Rect> clip) {
    copy(ViewSurface::Window, ViewSurface::Background, clip);
}

void childView::paint(DrawingContext& dc, const Rect& area) {
    drawBevel(dc, area, std::nullopt, false, kBevel, 0);
    if (!viewsReady) return;
    // The frame buffer, placed as on the window surface (origin at the centre).
    dc.setViewportOrigin(centre_);
    Rect logical = offset(area, Point{} - centre_);
    dc.bitBlt(logical.left, logical.top, orvane::width(logical), orvane::height(logical), frame_,
              logical.left, logical.top);
}

void childView::drawPulse(float ux, float uy, float size, Colour fill) {
    // Huge sizes and positions are bounded so the rectangle cannot overflow.
    static constexpr int kLimit = 1 << 15;
    auto pixel = [](double value) { return std::clamp(truncateToPixel(value), -kLimit, kLimit); };
    pulse_ = {};
    const int r = std::clamp(truncateToPixel(double(size) * 10.0), 0, kLimit);
    if (r == 0) return;
    const int cx = pixel(double(radius()) * ux);
    const int cy = pixel(double(radius()) * uy);
    pulse_ = {cx - r, cy - r, cx + r, cy + r};
    DrawingContext& dc = windowSurface();
    KeepDrawingObjects keep(dc);
    dc.selectBrush(Brush::solid(fill));
    dc.selectPen(stock::kNullPen);
    dc.setClipRect(innerRect());
    dc.ellipse(pulse_);
    dc.clearClip();
}

void childView::erasePulse() {
    if (pulse_.empty()) return;
    // A filled ellipse may reach one pixel past its box.
    clear(inflate(pulse_, 1));
    pulse_ = {};
}

}  // namespace orvane
