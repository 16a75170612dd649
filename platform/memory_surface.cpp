#include "platform/memory_surface.h"

namespace orvane {

MemorySurface::MemorySurface() : DrawingContext(std::make_shared<QImage>()) {}

void MemorySurface::createBitmap(int w, int h, Colour fill) {
    if (w <= 0 || h <= 0) {
        releaseBitmap();
        return;
    }
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(fill.red, fill.green, fill.blue));
    *pixels() = std::move(image);
}

void MemorySurface::setBitmap(const QImage& image) {
    *pixels() = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
}

void MemorySurface::releaseBitmap() { *pixels() = QImage(); }

const QImage& MemorySurface::bitmap() const { return *pixels(); }

}  // namespace orvane
