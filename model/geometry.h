#pragma once
// Earth geometry shared by the globe, cross-section and map views, and the
// calendar arithmetic that puts origin times and seismogram start times on one
// time axis. Arithmetic is single precision on purpose: the pixels the views
// truncate to depend on it.

#include <array>
#include <cstdint>

namespace orvane {

inline constexpr float kDegreesToRadians = 0.017453292f;
inline constexpr float kRadiansToDegrees = 57.29578f;

inline constexpr float kEarthRadiusKm = 6371.0f;
/// Outer core radius as a fraction of the Earth radius (3473 km).
inline constexpr float kOuterCoreFraction = 0.545126f;
/// Inner core radius as a fraction of the outer core radius (1300 km).
inline constexpr float kInnerCoreFraction = 0.374316f;
/// Angular speeds of the slower (3.40 km/s) and faster (3.80 km/s) surface wave.
inline constexpr float kSlowSurfaceWaveDegreesPerSecond = 0.03058f;
inline constexpr float kFastSurfaceWaveDegreesPerSecond = 0.03418f;
/// Surface waves are shown only for events shallower than this.
inline constexpr float kSurfaceWaveMaxDepthKm = 100.0f;

/// Points of a small circle: azimuths 0, 6, ..., 366 degrees, so the first and
/// last overlap and the polyline closes.
inline constexpr int kCirclePoints = 62;

/// An angle kept as its sine and cosine.
struct SinCos {
    float sine = 0;
    float cosine = 1;
};

SinCos sinCosOf(float degrees);

struct Vector3 {
    float x = 0;
    float y = 0;
    float z = 0;
};

Vector3 rotateAboutX(const Vector3& v, const SinCos& a);
Vector3 rotateAboutY(const Vector3& v, const SinCos& a);
Vector3 rotateAboutZ(const Vector3& v, const SinCos& a);

/// A projected position before it becomes a pixel.
struct FloatPoint {
    float x = 0;
    float y = 0;
    bool operator==(const FloatPoint&) const = default;
};

/// A pixel offset, x to the right and y downwards.
struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

/// Truncates towards zero, as every projected coordinate becomes a pixel.
/// NaN gives 0 and values beyond the int range are clamped, so bad input
/// yields an off-screen pixel rather than undefined behaviour.
int truncateToPixel(double value);

/// Orthographic view of the globe centred on meridian `viewAngle`, on a unit
/// disc (x right, y down). Points on the far side, and on the rim, give exactly
/// (0, 0), which callers treat as hidden.
FloatPoint globePoint(float latitude, float longitude, float viewAngle);

/// Pixel offset from the cross-section disc centre of a wavefront point given
/// in kilometres along and across the section axis. `s` and `c` are the sine
/// and cosine of the event latitude, `f` = disc radius / 6371.
PixelPoint sectionPoint(int along, int across, double s, double c, float f);
/// The same point mirrored to the other side of the axis.
PixelPoint sectionMirrorPoint(int along, int across, double s, double c, float f);

/// The surface point `delta` degrees from the epicentre on side 1 (towards
/// lower latitudes) or side 2 of a section of radius `radius` pixels.
PixelPoint sectionSurfacePoint(float delta, int side, float latitude, int radius);
/// The same point in the form used for station marks; equal to
/// sectionSurfacePoint up to rounding.
PixelPoint sectionStationPoint(float delta, int side, float latitude, int radius);

/// Pixel offset of the focus at `depth` km.
PixelPoint hypocentrePoint(float depth, double s, double c, int radius);

/// Pixels per degree of an equirectangular image `imageHeight` pixels high.
float mapScaleFor(int imageHeight);

/// Equirectangular position: x = (lon + 180) * scale, y = (90 - lat) * scale.
FloatPoint mapPoint(float latitude, float longitude, float scale);

struct GlobeCirclePoint {
    float x = 0;
    float y = 0;
    bool visible = false;  ///< on the side of the globe facing the viewer
};

/// The small circle of angular radius `delta` degrees around (lat, lon) on
/// the globe of globePoint (unit disc coordinates).
std::array<GlobeCirclePoint, kCirclePoints> globeCircle(float delta, float latitude,
                                                        float longitude, float viewAngle);

/// The same circle in map coordinates (mapPoint with `scale`).
std::array<FloatPoint, kCirclePoints> mapCircle(float delta, float latitude, float longitude,
                                                float scale);

bool isLeapYear(int year);

/// Day number within the year (1 January is 1). Months outside 1..12 are
/// clamped into it.
int dayOfYear(int year, int month, int day);

struct MonthAndDay {
    int month = 1;
    int day = 1;
    bool operator==(const MonthAndDay&) const = default;
};

/// Inverse of dayOfYear. Day numbers before the year count into January and
/// those after it into December, so dayOfYear gives `n` back for any n.
MonthAndDay monthAndDay(int n, int year);

/// Seconds on a time axis common to every caller; only differences mean
/// anything.
double epochSeconds(int year, int month, int day, int hour, int minute, int second,
                    int millisecond);

}  // namespace orvane
