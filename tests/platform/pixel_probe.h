#pragma once
// Looking at drawn pixels in tests: the box a colour covers and single pixels.

#include <QImage>
#include <algorithm>

#include "platform/drawing_context.h"

namespace orvane::test {

/// Inclusive bounding box of some pixels; empty when none matched.
struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool empty() const { return right < 0; }
};

inline Colour colourAt(const QImage& image, int x, int y) {
    QRgb v = image.pixel(x, y);
    return {std::uint8_t(qRed(v)), std::uint8_t(qGreen(v)), std::uint8_t(qBlue(v))};
}

/// Box of the pixels inside `area` for which `match(colour)` holds.
template <class Match>
Box boxWhere(const QImage& image, Match match, Rect area = {0, 0, 1 << 20, 1 << 20}) {
    Box b;
    for (int y = std::max(0, area.top); y < std::min(image.height(), area.bottom); ++y)
        for (int x = std::max(0, area.left); x < std::min(image.width(), area.right); ++x)
            if (match(colourAt(image, x, y))) {
                b.left = std::min(b.left, x);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

/// Box of the pixels of colour `c`.
inline Box boxOf(const QImage& image, Colour c, Rect area = {0, 0, 1 << 20, 1 << 20}) {
    return boxWhere(
        image, [c](Colour x) { return x == c; }, area);
}

/// Box of the pixels that differ from `ground`.
inline Box inkBox(const QImage& image, Colour ground = colours::kWhite,
                  Rect area = {0, 0, 1 << 20, 1 << 20}) {
    return boxWhere(
        image, [ground](Colour x) { return x != ground; }, area);
}

}  // namespace orvane::test
