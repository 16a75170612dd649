#include "tools/demo/pictures.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvane {
namespace {

constexpr double kRadians = std::numbers::pi / 180.0;

int channelMix(int a, int b, double t) { return static_cast<int>(std::lround(a + (b - a) * t)); }

QRgb mix(QRgb a, QRgb b, double t) {
    return qRgb(channelMix(qRed(a), qRed(b), t), channelMix(qGreen(a), qGreen(b), t),
                channelMix(qBlue(a), qBlue(b), t));
}

QRgb scale(QRgb c, double f) {
    auto s = [f](int v) { return std::clamp(static_cast<int>(std::lround(v * f)), 0, 255); };
    return qRgb(s(qRed(c)), s(qGreen(c)), s(qBlue(c)));
}

// Latitude and longitude seen at the point (x, y) of the unit disc of a globe
// centred on `viewAngle`; false off the disc. The inverse of the viewer's
// orthographic projection x = cos(lat) sin(lon - view), y = -sin(lat).
bool discToGeographic(double x, double y, double viewAngle, double& latitude, double& longitude, double& z) {
    double r2 = x * x + y * y;
    if (r2 > 1.0) return false;
    z = std::sqrt(1.0 - r2);
    latitude = std::asin(std::clamp(-y, -1.0, 1.0)) / kRadians;
    longitude = viewAngle + std::atan2(x, z) / kRadians;
    return true;
}

// Draws a globe of the given diameter with its top-left corner at (left, top)
// into `image`, with soft edges and a little limb darkening.
void paintGlobe(QImage& image, const EarthTexture& texture, double viewAngle, int left, int top, int diameter) {
    const double half = diameter / 2.0;
    for (int py = 0; py < diameter; ++py) {
        if (top + py < 0 || top + py >= image.height()) continue;
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(top + py));
        const double y = (py + 0.5) / half - 1.0;
        for (int px = 0; px < diameter; ++px) {
            if (left + px < 0 || left + px >= image.width()) continue;
            const double x = (px + 0.5) / half - 1.0;
            double latitude, longitude, z;
            if (!discToGeographic(x, y, viewAngle, latitude, longitude, z)) continue;
            QRgb colour = scale(texture.sample(latitude, longitude), 0.80 + 0.25 * std::sqrt(z));
            // Anti-alias the rim over the last pixel.
            double edge = (1.0 - std::sqrt(x * x + y * y)) * half;
            if (edge < 1.0) colour = mix(row[left + px], colour, std::max(0.0, edge));
            row[left + px] = colour;
        }
    }
}

}  // namespace

EarthTexture::EarthTexture(QImage image) : image_(image.convertToFormat(QImage::Format_RGB32)) {}

QRgb EarthTexture::sample(double latitude, double longitude) const {
    if (image_.isNull()) return qRgb(0, 0, 0);
    const int w = image_.width(), h = image_.height();
    double u = std::fmod(longitude + 180.0, 360.0);
    if (u < 0) u += 360.0;
    u = u / 360.0 * w - 0.5;
    double v = std::clamp((90.0 - latitude) / 180.0 * h - 0.5, 0.0, h - 1.0);
    int x0 = static_cast<int>(std::floor(u)), y0 = static_cast<int>(std::floor(v));
    double fx = u - x0, fy = v - y0;
    int y1 = std::min(y0 + 1, h - 1);
    auto at = [&](int x, int y) {
        x = ((x % w) + w) % w;
        return reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x];
    };
    QRgb top = mix(at(x0, y0), at(x0 + 1, y0), fx);
    QRgb bottom = mix(at(x0, y1), at(x0 + 1, y1), fx);
    return mix(top, bottom, fy);
}

QImage renderGlobe(const EarthTexture& texture, int viewAngle, int size) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::black);
    paintGlobe(image, texture, viewAngle, 0, 0, size);
    return image;
}

double mercatorOrdinate(double latitude) {
    return std::log(std::tan(latitude * kRadians / 2.0 + std::numbers::pi / 4.0)) / kRadians;
}

int worldMapHeight(int width) {
    double span = mercatorOrdinate(kMapNorth) - mercatorOrdinate(kMapSouth);
    return static_cast<int>(std::lround(width * span / 360.0));
}

QImage renderWorldMap(const EarthTexture& texture, int width) {
    const int height = worldMapHeight(width);
    QImage image(width, height, QImage::Format_RGB32);
    const double top = mercatorOrdinate(kMapNorth);
    const double span = top - mercatorOrdinate(kMapSouth);
    for (int py = 0; py < height; ++py) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(py));
        double ordinate = top - (py + 0.5) / height * span;
        double latitude = (2.0 * std::atan(std::exp(ordinate * kRadians)) - std::numbers::pi / 2.0) / kRadians;
        for (int px = 0; px < width; ++px) {
            double longitude = kMapWest + (px + 0.5) / width * 360.0;
            row[px] = texture.sample(latitude, longitude);
        }
    }
    return image;
}

QImage renderWelcomePicture(const EarthTexture& texture) {
    const int width = 960, height = 640;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    // A few fixed stars.
    {
        QPainter painter(&image);
        std::uint32_t seed = 12345;
        for (int i = 0; i < 220; ++i) {
            seed = seed * 1664525u + 1013904223u;
            int x = static_cast<int>(seed % width);
            seed = seed * 1664525u + 1013904223u;
            int y = static_cast<int>(seed % height);
            seed = seed * 1664525u + 1013904223u;
            int b = 90 + static_cast<int>(seed % 150);
            painter.setPen(QColor(b, b, b));
            painter.drawPoint(x, y);
        }
    }
    // The globe centred on the Pacific rim, with the fronts of a great
    // earthquake near Japan spreading over it.
    const int diameter = 500, left = 60, top = (height - diameter) / 2;
    const double viewAngle = 150.0;
    paintGlobe(image, texture, viewAngle, left, top, diameter);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double epicentreLat = 38.3, epicentreLon = 142.4;
    struct Front {
        double delta;
        QColor colour;
    };
    for (const Front& front : {Front{22, QColor(255, 0, 0)}, Front{38, QColor(255, 0, 0)},
                               Front{14, QColor(0, 255, 255)}, Front{8, QColor(255, 255, 0)}}) {
        QPainterPath path;
        bool drawing = false;
        for (int i = 0; i <= 180; ++i) {
            // Point at arc `delta` and azimuth 2i degrees from the epicentre.
            double a = 2.0 * i * kRadians, d = front.delta * kRadians;
            double p1 = epicentreLat * kRadians;
            double p2 = std::asin(std::sin(p1) * std::cos(d) + std::cos(p1) * std::sin(d) * std::cos(a));
            double l2 = epicentreLon * kRadians +
                        std::atan2(std::sin(a) * std::sin(d) * std::cos(p1), std::cos(d) - std::sin(p1) * std::sin(p2));
            double dl = l2 - viewAngle * kRadians;
            double x = std::cos(p2) * std::sin(dl), y = -std::sin(p2), z = std::cos(p2) * std::cos(dl);
            QPointF point(left + (x + 1) * diameter / 2.0, top + (y + 1) * diameter / 2.0);
            if (z <= 0) {
                drawing = false;
                continue;
            }
            if (drawing) path.lineTo(point);
            else path.moveTo(point);
            drawing = true;
        }
        painter.setPen(QPen(front.colour, 3));
        painter.drawPath(path);
    }
    // The name and what the program is about.
    QFont title("Liberation Serif");
    title.setPixelSize(96);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(255, 220, 60));
    QRect titleBox(590, 170, 360, 140);
    painter.drawText(titleBox, Qt::AlignHCenter | Qt::AlignVCenter, "Orvane");
    QFont subtitle("Liberation Sans");
    subtitle.setPixelSize(24);
    painter.setFont(subtitle);
    painter.setPen(QColor(230, 230, 230));
    painter.drawText(QRect(590, 320, 360, 120), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                     "How earthquake waves travel through the Earth");
    return image;
}

bool writeBmp(const QImage& image, const QString& path) {
    return image.convertToFormat(QImage::Format_RGB888).save(path, "BMP");
}

}  // namespace orvane
