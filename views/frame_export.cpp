#include "views/frame_export.h"

#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <png++/png.hpp>
#include <system_error>
#include <vector>

#include "data/event_loading.h"
#include "data/files.h"
#include "data/settings.h"
#include "ui/kit.h"

namespace orvane {

namespace {

constexpr std::uint32_t kRgbMask = 0x00ffffffu;
constexpr std::uint32_t kYellowRgb = 0x00ffff00u;

// One row of the drawn picture (32-bit 0xffRRGGBB words) as RGBA bytes.
void convertRow(const std::uint32_t* source, int width, png::byte* out) {
    for (int x = 0; x < width; ++x, out += 4) {
        std::uint32_t rgb = source[x] & kRgbMask;
        if (rgb == 0) {
            out[0] = out[1] = out[2] = out[3] = 0;
            continue;
        }
        out[0] = static_cast<png::byte>(rgb >> 16);
        out[1] = static_cast<png::byte>(rgb >> 8);
        out[2] = static_cast<png::byte>(rgb);
        out[3] = rgb == kYellowRgb ? kSurfaceWaveAlpha : 255;
    }
}

void writePng(const QImage& image, std::ostream& stream, int level) {
    png::writer<std::ostream> writer(stream);
    png::image_info info = png::make_image_info<png::rgba_pixel>();
    info.set_width(static_cast<png::uint_32>(image.width()));
    info.set_height(static_cast<png::uint_32>(image.height()));
    info.set_interlace_type(png::interlace_none);
    writer.set_image_info(info);
    png_set_compression_level(writer.get_png_struct(), std::clamp(level, 0, 9));
    // Row filters buy nothing on a picture of flat colours and long empty
    // runs, and choosing them per row took most of the time of a frame.
    png_set_filter(writer.get_png_struct(), PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    writer.write_info();
    std::vector<png::byte> row(static_cast<std::size_t>(image.width()) * 4);
    for (int y = 0; y < image.height(); ++y) {
        convertRow(reinterpret_cast<const std::uint32_t*>(image.constScanLine(y)), image.width(),
                   row.data());
        writer.write_row(row.data());
    }
    writer.write_end_info();
}

}  // namespace

std::string frameName(float t) {
    char name[32];
    std::snprintf(name, sizeof name, "%06d.png", truncateToPixel(t));
    return name;
}

bool writeFramePng(const QImage& bitmap, const std::string& path, int compressionLevel) {
    if (bitmap.isNull()) return false;
    const QImage image =
        bitmap.format() == QImage::Format_RGB32 || bitmap.format() == QImage::Format_ARGB32
            ? bitmap
            : bitmap.convertToFormat(QImage::Format_RGB32);
    // Written beside the target and renamed over it, so a display reading
    // the directory never meets half a frame.
    std::string temporary = path + ".part";
    std::error_code ec;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        try {
            writePng(image, out, compressionLevel);
        } catch (const std::exception&) {
            out.setstate(std::ios::failbit);
        }
        out.flush();
        if (!out) {
            out.close();
            std::filesystem::remove(temporary, ec);
            return false;
        }
    }
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        return false;
    }
    return true;
}

void FrameExport::prepare() {
    buffer_.createBitmap(kFrameWidth, kFrameHeight, colours::kBlack);
    buffer_.setBackgroundMode(BackgroundMode::Transparent);
    buffer_.selectPen(stock::kBlackPen);
    buffer_.selectBrush(stock::kBlackBrush);
    scale_ = mapScaleFor(kFrameHeight);
}

void FrameExport::drawStations() {
    const LoadedEvent& event = loadedEvent();
    Point origin = buffer_.setViewportOrigin({0, 0});
    for (const auto& trace : event.traceList) {
        FloatPoint s = mapPoint(trace->stationLatitude, trace->stationLongitude, scale_);
        if (s != FloatPoint{}) {
            Point p{truncateToPixel(s.x), truncateToPixel(s.y)};
            drawShadowText(buffer_, p, stationMarkLabel(*trace), colours::kWhite, kAlignLeft, true);
            drawShadowText(buffer_, p, "o", colours::kWhite, kAlignCentre, true);
        }
        FloatPoint e = mapPoint(event.latitude, event.longitude, scale_);
        if (e != FloatPoint{})
            drawShadowText(buffer_, {truncateToPixel(e.x), truncateToPixel(e.y)}, "*",
                           colours::kWhite, kAlignCentre, true);
    }
    buffer_.setViewportOrigin(origin);
}

void FrameExport::render(float t) {
    if (!buffer_.hasBitmap()) return;
    buffer_.setViewportOrigin({0, 0});
    buffer_.selectPen(stock::kBlackPen);
    buffer_.selectBrush(stock::kBlackBrush);
    buffer_.fillRect({0, 0, kFrameWidth, kFrameHeight}, stock::kBlackBrush);
    buffer_.selectFont(Font::create("Arial bold", 8, 400));
    drawStations();
    for (const WaveCircle& circle : waveCircles(loadedEvent(), t, kFramePenWidth))
        drawMapCircle(circle);
}

bool FrameExport::exportFrame(float t) {
    if (!buffer_.hasBitmap()) return false;
    render(t);
    settings.frameFileName = frameName(t);
    std::string directory = joinPath(loadedEvent().eventDirectory, "sos/earth");
    return writeFramePng(buffer_.bitmap(), joinPath(directory, settings.frameFileName));
}

void FrameExport::drawMapCircle(const WaveCircle& circle) {
    const LoadedEvent& event = loadedEvent();
    Pen previous = buffer_.selectPen(Pen::solid(circle.colour, circle.width));
    auto points = mapCircle(circle.delta, event.latitude, event.longitude, scale_);
    std::vector<Point> run;
    Point prev{truncateToPixel(points[0].x), truncateToPixel(points[0].y)};
    if (circle.delta > 15 && settings.labelPhasesOnEarthView && !circle.label.empty())
        drawShadowText(buffer_, prev - Point{2, 0}, circle.label, circle.colour, kAlignCentre,
                       true);
    for (const FloatPoint& point : points) {
        Point p{truncateToPixel(point.x), truncateToPixel(point.y)};
        if (std::abs(p.x - prev.x) <= kFrameWidth / 2) {
            run.push_back(p);
            prev = p;
            continue;
        }
        // The circle crosses the left or right edge between the two points:
        // the run goes off one edge and a new one comes in from the other,
        // each with the crossing segment shifted by the image width.
        if (run.empty()) {
            prev = p;
            continue;
        }
        int shift = p.x > prev.x ? kFrameWidth : -kFrameWidth;
        run.push_back({p.x - shift, p.y});
        buffer_.polyline(run);
        run.assign({Point{prev.x + shift, prev.y}, p});
        prev = p;
    }
    if (!run.empty()) buffer_.polyline(run);
    buffer_.selectPen(previous);
}

}  // namespace orvane
