#pragma once
// The world map's projection: Mercator from 70 degrees south to 75 degrees
// north, its left edge at 65 degrees east, fitted into an area of the map
// window, and the placing of the event labels on it.

#include <cstdint>
#include <vector>

#include "platform/draw_types.h"

namespace orvane {

/// Mercator ordinate of a latitude, in degrees, from a table of
/// 5340 entries a sixtieth of a degree apart (linear interpolation between
/// entries). Latitudes of 89 degrees or more are taken as 88.
float mercator(float latitude);

class MapProjection {
  public:
    static constexpr float kSouthEdge = -70.0f;
    static constexpr float kNorthEdge = 75.0f;
    static constexpr float kLeftLongitude = 65.0f;

    MapProjection() = default;
    /// Fits the map into `area`: the smaller of the horizontal and vertical
    /// scales serves both axes, and the map is centred along the other axis.
    explicit MapProjection(const Rect& area);

    /// Where the map stands in the window.
    const Rect& mapRect() const { return map_; }
    float scale() const { return scale_; }

    /// Offsets from the map's top-left corner.
    float mapLatitudeToY(float latitude) const;
    float mapLongitudeToX(float longitude) const;
    /// The window pixel of a position (truncated towards zero).
    Point point(float latitude, float longitude) const;

  private:
    Rect map_;
    float scale_ = 0;
    float height_ = 0;
};

/// The map area of a client rectangle: shrunk by 15 pixels on every side,
/// its bottom raised by 2.5 letter heights for the title.
Rect mapArea(const Rect& client, int letterHeight);

/// A box of the given size centred on a point.
Rect centredBox(Point centre, Size size);

/// Places event labels in order: each label of `sizes[i]` is centred on
/// `points[i]`, kept 10 pixels inside the map's left and right edges when it
/// comes within 6 pixels of them, then moved below every earlier label it
/// overlaps (its top becomes that label's bottom).
std::vector<Rect> placeLabels(const std::vector<Point>& points, const std::vector<Size>& sizes,
                              const Rect& map);

}  // namespace orvane
