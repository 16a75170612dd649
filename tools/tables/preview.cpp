#include "tools/tables/preview.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <png++/png.hpp>

namespace orvane {

namespace {

class Canvas {
  public:
    explicit Canvas(int size) : image_(size, size), size_(size) {}

    void dot(int x, int y, png::rgb_pixel c, int thickness) {
        for (int dy = 0; dy < thickness; ++dy)
            for (int dx = 0; dx < thickness; ++dx) {
                int px = x + dx, py = y + dy;
                if (px >= 0 && py >= 0 && px < size_ && py < size_) image_[py][px] = c;
            }
    }

    void line(double x0, double y0, double x1, double y1, png::rgb_pixel c, int thickness) {
        int n = static_cast<int>(std::ceil(std::max(std::abs(x1 - x0), std::abs(y1 - y0)))) + 1;
        for (int i = 0; i <= n; ++i) {
            double f = double(i) / n;
            dot(static_cast<int>(x0 + (x1 - x0) * f), static_cast<int>(y0 + (y1 - y0) * f), c,
                thickness);
        }
    }

    void disc(double radius, png::rgb_pixel fill) {
        double c = size_ / 2.0;
        for (int y = 0; y < size_; ++y)
            for (int x = 0; x < size_; ++x)
                if (std::hypot(x + 0.5 - c, y + 0.5 - c) <= radius) image_[y][x] = fill;
    }

    void circle(double radius, png::rgb_pixel colour, int thickness) {
        double c = size_ / 2.0;
        int n = static_cast<int>(radius * 8) + 8;
        for (int i = 0; i < n; ++i) {
            double a = 2 * M_PI * i / n;
            dot(static_cast<int>(c + radius * std::cos(a)),
                static_cast<int>(c + radius * std::sin(a)), colour, thickness);
        }
    }

    bool write(const std::string& path) {
        try {
            image_.write(path);
            return true;
        } catch (const std::exception&) {
            return false;
        }
    }

  private:
    png::image<png::rgb_pixel> image_;
    int size_;
};

}  // namespace

bool writeWavefrontPreview(const std::vector<WavefrontStep>& steps, int seconds,
                           const std::string& path, int size) {
    if (size < 16) return false;
    Canvas canvas(size);
    const double radiusPx = size * 0.47;
    const double scale = radiusPx / 6371.0;
    const double centre = size / 2.0;
    canvas.disc(radiusPx, png::rgb_pixel(128, 128, 128));
    canvas.circle(radiusPx, png::rgb_pixel(255, 255, 255), 2);
    canvas.circle(3479.5 * scale, png::rgb_pixel(0, 0, 0), 2);
    canvas.circle(1217.5 * scale, png::rgb_pixel(0, 0, 0), 2);

    int stepTime = steps.size() > 1 ? steps[1].time : 0;
    if (stepTime > 0 && seconds >= 0) {
        std::size_t n = static_cast<std::size_t>(seconds / stepTime);
        if (n < steps.size()) {
            for (const FrontRecord& record : steps[n].records) {
                png::rgb_pixel colour = record.waveType == kWaveTypeP ? png::rgb_pixel(255, 0, 0)
                                        : record.waveType == kWaveTypeS
                                            ? png::rgb_pixel(0, 255, 255)
                                            : png::rgb_pixel(0, 0, 0);
                for (int side : {1, -1}) {
                    for (std::size_t i = 0; i + 1 < record.points.size(); ++i) {
                        const FrontPoint& a = record.points[i];
                        const FrontPoint& b = record.points[i + 1];
                        canvas.line(centre + side * a.across * scale, centre - a.along * scale,
                                    centre + side * b.across * scale, centre - b.along * scale,
                                    colour, 2);
                    }
                }
            }
        }
    }
    return canvas.write(path);
}

}  // namespace orvane
