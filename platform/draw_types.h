#pragma once
// Small value types of the drawing layer: points, sizes, colours and the
// rectangle helpers every window needs. Rectangles exclude right and bottom.

#include <cstdint>

#include "data/rect.h"

namespace orvane {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;

    Point operator+(Point o) const { return {x + o.x, y + o.y}; }
    Point operator-(Point o) const { return {x - o.x, y - o.y}; }
    bool operator==(const Point&) const = default;
};

struct Size {
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const Size&) const = default;
};

/// An RGB colour, as the system's colour references hold it.
struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const Colour&) const = default;
};

namespace colours {
inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kLightGrey{192, 192, 192};
inline constexpr Colour kGrey{128, 128, 128};
inline constexpr Colour kDarkGrey{64, 64, 64};
inline constexpr Colour kRed{255, 0, 0};
inline constexpr Colour kGreen{0, 255, 0};
inline constexpr Colour kBlue{0, 0, 255};
inline constexpr Colour kCyan{0, 255, 255};
inline constexpr Colour kYellow{255, 255, 0};
}  // namespace colours

inline std::int32_t width(const Rect& r) { return r.right - r.left; }
inline std::int32_t height(const Rect& r) { return r.bottom - r.top; }

/// Rectangle from a corner and a size.
inline Rect rectAt(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    return {x, y, x + w, y + h};
}

/// The rectangle grown by d on every side (negative d shrinks it).
inline Rect inflate(const Rect& r, std::int32_t d) {
    return {r.left - d, r.top - d, r.right + d, r.bottom + d};
}

inline Rect shrink(const Rect& r, std::int32_t d) { return inflate(r, -d); }

inline Rect offset(const Rect& r, Point by) {
    return {r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y};
}

/// The common part of two rectangles; empty (all zero) when they do not meet.
inline Rect intersect(const Rect& a, const Rect& b) {
    Rect r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
           a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
    return r.empty() ? Rect{} : r;
}

}  // namespace orvane
