#include "model/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace orvane {

namespace {

float sinf32(float radians) { return static_cast<float>(std::sin(static_cast<double>(radians))); }
float cosf32(float radians) { return static_cast<float>(std::cos(static_cast<double>(radians))); }

// Sines and cosines of the circle azimuths, filled on first use.
const std::array<SinCos, kCirclePoints>& azimuthTable() {
    static const std::array<SinCos, kCirclePoints> table = [] {
        std::array<SinCos, kCirclePoints> t{};
        for (int i = 0; i < kCirclePoints; ++i) t[i] = sinCosOf(static_cast<float>(6 * i));
        return t;
    }();
    return table;
}

constexpr std::array<int, 13> kCommonYearMonths = {0,   31,  59,  90,  120, 151, 181,
                                                   212, 243, 273, 304, 334, 365};
constexpr std::array<int, 13> kLeapYearMonths = {0,   31,  60,  91,  121, 152, 182,
                                                 213, 244, 274, 305, 335, 366};

const std::array<int, 13>& monthTable(int year) {
    return isLeapYear(year) ? kLeapYearMonths : kCommonYearMonths;
}

}  // namespace

SinCos sinCosOf(float degrees) {
    float r = degrees * kDegreesToRadians;
    return {sinf32(r), cosf32(r)};
}

Vector3 rotateAboutX(const Vector3& v, const SinCos& a) {
    return {v.x, v.y * a.cosine + v.z * a.sine, v.z * a.cosine - v.y * a.sine};
}

Vector3 rotateAboutY(const Vector3& v, const SinCos& a) {
    return {v.x * a.cosine - v.z * a.sine, v.y, v.x * a.sine + v.z * a.cosine};
}

Vector3 rotateAboutZ(const Vector3& v, const SinCos& a) {
    return {v.x * a.cosine + v.y * a.sine, v.y * a.cosine - v.x * a.sine, v.z};
}

int truncateToPixel(double value) {
    if (std::isnan(value)) return 0;
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(std::trunc(value), lo, hi));
}

FloatPoint globePoint(float latitude, float longitude, float viewAngle) {
    float theta = (90.0f - latitude) * kDegreesToRadians;
    float phi = longitude * kDegreesToRadians;
    float sinTheta = sinf32(theta);
    Vector3 v{sinTheta * cosf32(phi), -cosf32(theta), -sinTheta * sinf32(phi)};
    v = rotateAboutY(v, sinCosOf(viewAngle + 90.0f));
    if (v.z > 0) return {v.x, v.y};
    return {0, 0};
}

PixelPoint sectionPoint(int along, int across, double s, double c, float f) {
    return {-truncateToPixel(f * (along * c + across * s)),
            -truncateToPixel(f * (along * s - across * c))};
}

PixelPoint sectionMirrorPoint(int along, int across, double s, double c, float f) {
    return {-truncateToPixel(f * (along * c - across * s)),
            -truncateToPixel(f * (along * s + across * c))};
}

PixelPoint sectionSurfacePoint(float delta, int side, float latitude, int radius) {
    float psi = side == 1 ? (delta - latitude) : -(delta + latitude);
    psi *= kDegreesToRadians;
    float r = static_cast<float>(radius);
    return {-truncateToPixel(r * cosf32(psi)), truncateToPixel(r * sinf32(psi))};
}

PixelPoint sectionStationPoint(float delta, int side, float latitude, int radius) {
    float beta = side == 1 ? (90.0f - latitude + delta) : (90.0f - latitude - delta);
    beta *= kDegreesToRadians;
    float r = static_cast<float>(radius);
    return {-truncateToPixel(r * sinf32(beta)), -truncateToPixel(r * cosf32(beta))};
}

PixelPoint hypocentrePoint(float depth, double s, double c, int radius) {
    float r = static_cast<float>(radius) * (1.0f - depth / kEarthRadiusKm);
    return {-truncateToPixel(r * c), -truncateToPixel(r * s)};
}

float mapScaleFor(int imageHeight) { return static_cast<float>(imageHeight) / 180.0f; }

FloatPoint mapPoint(float latitude, float longitude, float scale) {
    return {(longitude + 180.0f) * scale, (90.0f - latitude) * scale};
}

std::array<GlobeCirclePoint, kCirclePoints> globeCircle(float delta, float latitude,
                                                        float longitude, float viewAngle) {
    const auto& azimuths = azimuthTable();
    SinCos d = sinCosOf(delta);
    SinCos tilt = sinCosOf(90.0f - latitude);
    SinCos turn = sinCosOf(viewAngle - longitude);
    std::array<GlobeCirclePoint, kCirclePoints> points{};
    for (int i = 0; i < kCirclePoints; ++i) {
        Vector3 v{d.sine * azimuths[i].cosine, -d.cosine, d.sine * azimuths[i].sine};
        v = rotateAboutY(rotateAboutX(v, tilt), turn);
        points[i] = {v.x, v.y, v.z > 0};
    }
    return points;
}

std::array<FloatPoint, kCirclePoints> mapCircle(float delta, float latitude, float longitude,
                                                float scale) {
    const auto& azimuths = azimuthTable();
    SinCos d = sinCosOf(delta);
    SinCos tilt = sinCosOf(90.0f - latitude);
    SinCos turn = sinCosOf(longitude + 90.0f);
    std::array<FloatPoint, kCirclePoints> points{};
    for (int i = 0; i < kCirclePoints; ++i) {
        Vector3 v{d.sine * azimuths[i].cosine, d.sine * azimuths[i].sine, d.cosine};
        v = rotateAboutZ(rotateAboutY(v, tilt), turn);
        // Rounding can carry z just past 1, where asin has no value.
        float z = std::clamp(v.z, -1.0f, 1.0f);
        float lon = std::atan2(v.x, v.y) * kRadiansToDegrees;
        float lat = std::asin(z) * kRadiansToDegrees;
        points[i] = mapPoint(lat, lon, scale);
    }
    return points;
}

bool isLeapYear(int year) { return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0); }

int dayOfYear(int year, int month, int day) {
    std::int64_t n =
        static_cast<std::int64_t>(day) + monthTable(year)[std::clamp(month, 1, 12) - 1];
    return static_cast<int>(std::min<std::int64_t>(n, std::numeric_limits<int>::max()));
}

MonthAndDay monthAndDay(int n, int year) {
    const auto& t = monthTable(year);
    if (n <= t[0]) return {1, n};
    for (int i = 0; i < 12; ++i)
        if (t[i] < n && n <= t[i + 1]) return {i + 1, n - t[i]};
    return {12, n - t[11]};
}

double epochSeconds(int year, int month, int day, int hour, int minute, int second,
                    int millisecond) {
    std::int64_t y = static_cast<std::int64_t>(year) - 1901;
    std::int64_t days = y * 365 + y / 4 + dayOfYear(year, month, day);
    double minutes = (static_cast<double>(days) * 24.0 + hour) * 60.0 + minute;
    return minutes * 60.0 + (second + millisecond * 0.001);
}

}  // namespace orvane
