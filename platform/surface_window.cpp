#include "platform/surface_window.h"

#include <QPainter>

namespace orvane {

SurfaceWindow::SurfaceWindow(QWidget* parent)
    : Window(parent), picture_(std::make_shared<QImage>()) {
    // The picture covers the whole client area, so Qt need not clear it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    fitPicture();
}

DrawingContext SurfaceWindow::surface() {
    fitPicture();
    return DrawingContext(picture_, this);
}

void SurfaceWindow::setBackground(Colour colour) { background_ = colour; }

void SurfaceWindow::invalidate(bool erase) {
    needsPaint_ = true;
    erase_ = erase_ || erase;
    update();
}

void SurfaceWindow::paint(DrawingContext&, const Rect&) {}

void SurfaceWindow::paintPending() {
    fitPicture();
    if (!needsPaint_) return;
    needsPaint_ = false;
    if (erase_) picture_->fill(QColor(background_.red, background_.green, background_.blue));
    erase_ = false;
    DrawingContext dc(picture_);  // no repaint request from inside painting
    paint(dc, Rect{0, 0, picture_->width(), picture_->height()});
}

void SurfaceWindow::paintEvent(QPaintEvent*) {
    paintPending();
    QPainter painter(this);
    painter.drawImage(0, 0, *picture_);
}

void SurfaceWindow::resizeEvent(QResizeEvent* event) {
    // Uncovered parts start in the background colour; what was drawn stays.
    fitPicture();
    needsPaint_ = true;
    Window::resizeEvent(event);
}

void SurfaceWindow::showEvent(QShowEvent* event) {
    needsPaint_ = true;
    Window::showEvent(event);
}

// Keeps the picture the size of the client area; what fits of the old
// picture stays.
void SurfaceWindow::fitPicture() {
    QSize size = this->size().expandedTo(QSize(1, 1));
    if (picture_->size() == size) return;
    QImage fresh(size, QImage::Format_RGB32);
    fresh.fill(QColor(background_.red, background_.green, background_.blue));
    if (!picture_->isNull()) {
        QPainter painter(&fresh);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, *picture_);
    }
    *picture_ = std::move(fresh);
}

}  // namespace orvane
