#include "platform/bitmap.h"

#include <QImageReader>
#include <QPixmap>
#include <QWidget>
#include <map>

#include "data/files.h"
#include "platform/qt_text.h"

namespace orvane {

namespace {
std::map<int, QImage>& resources() {
    static std::map<int, QImage> table;
    return table;
}
}  // namespace

QImage loadBitmap(const std::string& path) {
    QImageReader reader(toQString(resolvePath(path)));
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull()) return {};
    return image.convertToFormat(QImage::Format_RGB32);
}

bool saveBitmap(const QImage& image, const std::string& path) {
    if (image.isNull()) return false;
    return image.convertToFormat(QImage::Format_RGB32).save(toQString(path), "BMP");
}

QImage windowPicture(QWidget* window) {
    if (!window) return {};
    return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void setBitmapResource(int id, const QImage& image) { resources()[id] = image; }

QImage bitmapResource(int id) {
    auto it = resources().find(id);
    return it == resources().end() ? QImage() : it->second;
}

}  // namespace orvane
