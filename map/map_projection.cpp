#include "map/map_projection.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace orvane {

namespace {

constexpr int kTableSize = 5340;
constexpr float kRadians = 0.017453292f;

const std::array<float, kTableSize>& mercatorTable() {
    static const std::array<float, kTableSize> table = [] {
        std::array<float, kTableSize> t{};
        for (int i = 0; i < kTableSize; ++i) {
            double phi = i / 60.0 * kRadians;
            t[i] = static_cast<float>(std::log(std::tan(phi / 2 + M_PI / 4)) / kRadians);
        }
        return t;
    }();
    return table;
}

}  // namespace

float mercator(float latitude) {
    if (std::isnan(latitude)) return 0;
    float a = std::fabs(latitude);
    if (a >= 89) a = 88;
    const auto& table = mercatorTable();
    float at = a * 60;
    int i = std::min(static_cast<int>(at), kTableSize - 2);
    float f = at - static_cast<float>(i);
    float m = table[i] + (table[i + 1] - table[i]) * f;
    return latitude < 0 ? -m : m;
}

MapProjection::MapProjection(const Rect& area) {
    float w = static_cast<float>(std::max(0, width(area)));
    float h = static_cast<float>(std::max(0, height(area)));
    float span = mercator(kNorthEdge) - mercator(kSouthEdge);
    float horizontal = w / 360.0f;
    float vertical = h / span;
    scale_ = std::min(horizontal, vertical);
    int mapWidth = static_cast<int>(360.0f * scale_);
    int mapHeight = static_cast<int>(span * scale_);
    height_ = static_cast<float>(mapHeight);
    int left = area.left + (static_cast<int>(w) - mapWidth) / 2;
    int top = area.top + (static_cast<int>(h) - mapHeight) / 2;
    map_ = rectAt(left, top, mapWidth, mapHeight);
}

float MapProjection::mapLatitudeToY(float latitude) const {
    return height_ - (mercator(latitude) - mercator(kSouthEdge)) * scale_;
}

float MapProjection::mapLongitudeToX(float longitude) const {
    // Any longitude is brought to 0..360 first, so values outside -180..360
    // still land on the map.
    double lon = std::isfinite(longitude) ? std::fmod(static_cast<double>(longitude), 360.0) : 0.0;
    if (lon < 0) lon += 360;
    double d = lon - kLeftLongitude;
    if (d < 0) d += 360;
    return scale_ * static_cast<float>(d);
}

Point MapProjection::point(float latitude, float longitude) const {
    return {map_.left + static_cast<std::int32_t>(mapLongitudeToX(longitude)),
            map_.top + static_cast<std::int32_t>(mapLatitudeToY(latitude))};
}

Rect mapArea(const Rect& client, int letterHeight) {
    Rect area = shrink(client, 15);
    area.bottom -= static_cast<std::int32_t>(2.5 * letterHeight);
    return area;
}

Rect centredBox(Point centre, Size size) {
    return rectAt(centre.x - size.width / 2, centre.y - size.height / 2, size.width, size.height);
}

std::vector<Rect> placeLabels(const std::vector<Point>& points, const std::vector<Size>& sizes,
                              const Rect& map) {
    std::vector<Rect> labels;
    std::size_t n = std::min(points.size(), sizes.size());
    labels.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        Rect box = centredBox(points[i], sizes[i]);
        if (box.left <= map.left + 6) box = offset(box, {map.left + 10 - box.left, 0});
        if (box.right >= map.right - 6) box = offset(box, {map.right - 10 - box.right, 0});
        // Only labels already placed in this pass count: those of later
        // events are not known yet.
        for (const Rect& other : labels) {
            if (intersect(box, other).empty()) continue;
            box.top = other.bottom;
            box.bottom = box.top + sizes[i].height;
        }
        labels.push_back(box);
    }
    return labels;
}

}  // namespace orvane
