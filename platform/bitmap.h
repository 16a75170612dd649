#pragma once
// Pictures: device-independent bitmap files and the program's bitmap
// resources (pictures drawn in code, registered by numeric id).

#include <QImage>
#include <string>

class QWidget;

namespace orvane {

/// Reads a picture file (found without regard to case) as 32-bit RGB; a null
/// image when it is missing or unreadable.
QImage loadBitmap(const std::string& path);

/// Writes a picture as a BMP file under exactly the given name.
bool saveBitmap(const QImage& image, const std::string& path);

/// What a window shows now, children included, as a picture of its client
/// area (for saving a window as a bitmap).
QImage windowPicture(QWidget* window);

/// Registers the picture of bitmap resource `id` (replacing an earlier one).
void setBitmapResource(int id, const QImage& image);
/// The picture of bitmap resource `id`; a null image when none is registered.
QImage bitmapResource(int id);

}  // namespace orvane
