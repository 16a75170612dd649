#pragma once
// A window that keeps its client area as a picture of its own. Drawing through
// surface() changes that picture and schedules a repaint that shows it, so
// windows may draw from timer handlers. The window's paint handler runs only
// when its picture must be made again: when the window is shown or resized
// (parts it has never covered start in the background colour, the rest is
// kept), and after invalidate(), which also clears the picture to the
// background colour.

#include <QImage>
#include <memory>

#include "platform/drawing_context.h"
#include "platform/window.h"

namespace orvane {

class SurfaceWindow : public Window {
  public:
    explicit SurfaceWindow(QWidget* parent = nullptr);

    /// A client drawing context on the window's picture, with fresh state.
    DrawingContext surface();
    /// The window's picture as it stands.
    const QImage& picture() const { return *picture_; }

    void setBackground(Colour colour);
    Colour background() const { return background_; }
    /// Asks for the paint handler at the next repaint; with `erase` the
    /// picture is first cleared to the background colour.
    void invalidate(bool erase = true);
    /// Runs a pending paint handler now (as a repaint would) without
    /// showing anything.
    void paintPending();

  protected:
    /// The paint handler: draws into `dc` (origin at the top left). `area`
    /// is the client rectangle.
    virtual void paint(DrawingContext& dc, const Rect& area);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void fitPicture();

    std::shared_ptr<QImage> picture_;
    Colour background_ = colours::kWhite;
    bool needsPaint_ = true;
    bool erase_ = true;
};

}  // namespace orvane
