#include "platform/bitmap.h"

#include <QBuffer>
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
    // Encoded in memory and put in place whole, so a failed write (a full
    // disk, say) leaves a file already of that name as it was. The name is
    // used exactly as typed.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP")) return false;
    return writeFileAtomically(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), true);
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
