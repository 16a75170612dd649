#pragma once
// The viewer's pictures, made from an equirectangular Earth texture: the
// eight globe pictures "earth%d.bmp", the world map "world.bmp" and the
// opening picture "OVINIT.BMP".

#include <QImage>
#include <QString>

namespace orvane {

/// An equirectangular texture: the left edge is 180 degrees west, the top
/// edge the North Pole. Sampled bilinearly, wrapping in longitude.
class EarthTexture {
public:
    explicit EarthTexture(QImage image);
    bool isNull() const { return image_.isNull(); }
    QRgb sample(double latitude, double longitude) const;

private:
    QImage image_;
};

/// The texture Debian's xplanet-images installs (NASA Blue Marble).
inline constexpr const char* kEarthTexturePath = "/usr/share/xplanet/images/earth.jpg";

/// The globe seen from above the equator at longitude `viewAngle`: an
/// orthographic projection, north up, the disc filling the `size` x `size`
/// picture, black outside it. The point (x, y) of the viewer's unit disc
/// (x to the right, y downwards) is pixel ((x + 1) / 2 * size, (y + 1) / 2 * size).
QImage renderGlobe(const EarthTexture& texture, int viewAngle, int size);

/// The world map of the map window: Mercator from 70 degrees south to 75
/// degrees north, left edge at 65 degrees east, `width` pixels wide and as
/// high as the projection's aspect asks.
QImage renderWorldMap(const EarthTexture& texture, int width);

/// Height of the world map for a width (the map window keeps the aspect).
int worldMapHeight(int width);

/// Mercator ordinate of a latitude in degrees: ln(tan(lat/2 + 45 degrees))
/// expressed in degrees.
double mercatorOrdinate(double latitude);

/// Map edges and the longitude of its left edge.
inline constexpr double kMapSouth = -70.0;
inline constexpr double kMapNorth = 75.0;
inline constexpr double kMapWest = 65.0;

/// The opening picture: the globe with spreading wave fronts and the
/// program's name, on black.
QImage renderWelcomePicture(const EarthTexture& texture);

/// Writes a picture as an uncompressed 24-bit BMP file.
bool writeBmp(const QImage& image, const QString& path);

}  // namespace orvane
