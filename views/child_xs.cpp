#include "views/child_xs.h"

#include <algorithm>
#include <cmath>

#include "data/event_loading.h"
#include "data/files.h"
#include "data/station.h"
#include "model/wavefront_records.h"
#include "platform/command_ids.h"
#include "ui/buttons.h"
#include "ui/kit.h"

namespace orvane {

namespace {

Point toPoint(PixelPoint p) { return {p.x, p.y}; }

/// Shares interior: touching edges do not count.
bool overlaps(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

Colour waveColour(std::uint16_t waveType) {
    if (waveType == kWaveTypeP) return colours::kRed;
    if (waveType == kWaveTypeS) return colours::kCyan;
    return colours::kBlack;
}

/// Runs `draw` with the context's origin at the top-left corner of the client
/// area, then puts the previous origin back.
template <class Draw>
void atClientOrigin(DrawingContext& dc, Draw draw) {
    Point previous = dc.setViewportOrigin({0, 0});
    draw();
    dc.setViewportOrigin(previous);
}

}  // namespace

childXS::childXS(QWidget* parent) : childView(parent) { setBackground(colours::kBlack); }

childXS::~childXS() = default;

bool childXS::createBitmaps() {
    makeBufferBitmaps(colours::kBlack);
    return frameBuffer().hasBitmap() && backgroundBuffer().hasBitmap();
}

bool childXS::phaseEntryMatches(std::string_view entry, std::string_view name) {
    if (entry == name) return true;
    std::size_t star = entry.find('*');
    return star != std::string_view::npos && name.starts_with(entry.substr(0, star));
}

bool childXS::wantsPhase(std::string_view name, const Settings& s) {
    if (s.allPhasesOnCrossSection) return true;
    if (s.pPhasesOnCrossSection) return name.starts_with('P');
    if (s.sPhasesOnCrossSection) return name.starts_with('S');
    if (s.specifiedPhasesOnCrossSection)
        return std::any_of(s.phases.begin(), s.phases.end(), [name](const std::string& entry) {
            return phaseEntryMatches(entry, name);
        });
    return true;
}

void childXS::drawBackground() {
    DrawingContext& dc = windowSurface();
    const LoadedEvent& event = loadedEvent();
    // Marks are sized by the font the surface had before the legend's.
    const int nH = dc.textExtent("N").height;

    dc.setViewportOrigin(centre());
    atClientOrigin(dc, [&] {
        drawInsetOutline(dc, clientRect(), colours::kBlack, 0);
        drawBaseLine(dc, clientRect());
    });

    KeepDrawingObjects keep(dc);
    drawLegend(dc);

    dc.setBackgroundMode(BackgroundMode::Transparent);
    dc.selectPen(Pen::solid(colours::kWhite, 2));
    dc.selectBrush(stock::kGreyBrush);

    double latitudeRadians = double(event.latitude) * double(kDegreesToRadians);
    sinLatitude_ = std::sin(latitudeRadians);
    cosLatitude_ = std::cos(latitudeRadians);

    const int R = radius();
    dc.ellipse(shrink(diskRect(), 1));

    dc.selectPen(Pen::solid(colours::kBlack, 2));
    const int m = static_cast<int>(R * kOuterCoreFraction);
    dc.ellipse({-m, -m, m, m});
    const int t = static_cast<int>(m * kInnerCoreFraction);
    dc.ellipse({-t, -t, t, t});

    drawShadowText(dc, {0, -t / 4}, "Inner", colours::kWhite, kAlignCentre, true);
    drawShadowText(dc, {0, t / 4}, "Core", colours::kWhite, kAlignCentre, true);
    drawShadowText(dc, {0, -(t + m) / 2}, "Outer Core", colours::kWhite, kAlignCentre, true);
    drawShadowText(dc, {0, -(R + m) / 2}, "Mantle", colours::kWhite, kAlignCentre, true);

    drawStations(dc, nH / 3);

    PixelPoint focus = hypocentrePoint(event.depth, sinLatitude_, cosLatitude_, R);
    drawShadowText(dc, toPoint(focus), "*", colours::kWhite, kAlignCentre, true);

    if (!settings.scienceOnASphere) drawInfoButton(dc);

    copy(ViewSurface::Background, ViewSurface::Window);
    copy(ViewSurface::FrameBuffer, ViewSurface::Window);
    copy(ViewSurface::Window, ViewSurface::Background);
}

void childXS::drawLegend(DrawingContext& dc) {
    atClientOrigin(dc, [&] {
        const int w = orvane::width(clientRect()), h = orvane::height(clientRect());
        dc.selectFont(Font::create("Arial Bold", settings.scienceOnASphere ? w / 20 : w / 30, 400));
        const Size n = dc.textExtent("N");
        drawText(dc, {w / 2, h - n.height / 2}, "Earth Cross-Section", colours::kWhite,
                 kAlignCentre | kAlignBaseline);
        struct Row {
            const char* text;
            Colour colour;
        };
        const Row rows[] = {
            {"Surface", colours::kYellow}, {"P", colours::kRed}, {"S", colours::kCyan}};
        int y = 0;
        for (const Row& row : rows) {
            y += n.height;
            dc.selectPen(Pen::solid(row.colour, 2));
            dc.moveTo({n.width, y});
            dc.lineTo({3 * n.width, y});
            drawText(dc, {4 * n.width, y}, row.text, row.colour, kAlignLeft | kAlignBaseline);
        }
    });
}

void childXS::drawStations(DrawingContext& dc, int markRadius) {
    LoadedEvent& event = loadedEvent();
    const std::string* previous = nullptr;
    int side = 1;
    for (const auto& trace : event.traceList) {
        if (!trace) continue;
        if (previous && *previous == trace->stationCode) continue;
        previous = &trace->stationCode;

        float arc = trace->floatWord(sac::GCARC);
        // NaN is as undefined as a negative arc: the coordinates still place it.
        if (!(arc >= 0)) {
            arc = greatCircle(trace->stationLatitude, trace->stationLongitude, event.latitude,
                              event.longitude)
                      .arc;
            trace->setFloatWord(sac::GCARC, arc);
        }
        Point p = toPoint(sectionStationPoint(arc, side, event.latitude, radius()));
        side = side == 1 ? 2 : 1;

        std::string label = "  " + trace->stationCode;
        int labelHeight = dc.textExtent(label).height;
        drawShadowText(dc, {p.x, p.y - labelHeight / 4}, label, colours::kWhite, kAlignLeft, true);
        dc.selectBrush(stock::kWhiteBrush);
        dc.selectPen(stock::kWhitePen);
        dc.ellipse({p.x - markRadius, p.y - markRadius, p.x + markRadius, p.y + markRadius});
    }
}

void childXS::drawInfoButton(DrawingContext& dc) {
    if (!info_) {
        TextMetrics metrics = dc.textMetrics();
        int charWidth = metrics.averageCharWidth;
        int w = 7 * charWidth;
        int h = static_cast<int>(metrics.height * settings.buttonHeight);
        h = std::clamp(h, 0, orvane::height(clientRect()));
        info_ = new textButton(this, kCmdViewInfoButton, "Info", clientRect().right - charWidth - w,
                               clientRect().bottom - charWidth - h, w, h);
        info_->show();
    }
    atClientOrigin(dc, [&] { info_->paintInto(dc, false); });
}

bool childXS::loadTravelTimeTables() {
    return table_.loadTravelTimeTables(loadedEvent().depth,
                                       [](const std::string& name) { return resolvePath(name); });
}

bool childXS::drawWaves(int t) {
    if (t < 1) return false;
    DrawingContext& dc = frameBuffer();
    KeepDrawingObjects keep(dc);
    drawSurfaceWaves(dc, t);
    drawWavefronts(dc, t);
    return true;
}

void childXS::drawSurfaceWaves(DrawingContext& dc, int t) {
    const LoadedEvent& event = loadedEvent();
    if (!(event.depth < kSurfaceWaveMaxDepthKm) || t <= 60) return;
    const float slow = kSlowSurfaceWaveDegreesPerSecond * t;
    const float fast = kFastSurfaceWaveDegreesPerSecond * t;
    const Rect box = shrink(diskRect(), 1);
    dc.selectPen(Pen::solid(colours::kYellow, 5));
    auto band = [&](int side, float from, float to) {
        Point start = toPoint(sectionSurfacePoint(from, side, event.latitude, radius()));
        Point end = toPoint(sectionSurfacePoint(to, side, event.latitude, radius()));
        // Equal ends would make the arc the whole circle; a band narrower
        // than a pixel is nothing to draw.
        if (start == end) return;
        dc.arc(box, start, end);
    };
    band(1, slow, fast);
    band(2, fast, slow);
}

void childXS::drawWavefronts(DrawingContext& dc, int t) {
    const float f = static_cast<float>(radius()) / kEarthRadiusKm;
    const double s = sinLatitude_, c = cosLatitude_;
    std::vector<Rect> labels;
    std::vector<Point> line;
    table_.readTimeStep(
        t, [](std::string_view name) { return wantsPhase(name, settings); },
        [&](const WavefrontRecord& record) {
            Colour colour = waveColour(record.waveType);
            dc.selectPen(Pen::solid(colour, 2));
            dc.setTextAlign(kAlignCentre);

            line.clear();
            for (const WavefrontPoint& p : record.points)
                line.push_back(toPoint(sectionPoint(p.along, p.across, s, c, f)));

            if (settings.labelPhasesOnCrossSection && record.points.size() > 5) {
                Size size = dc.textExtent(record.phaseName);
                Rect test = rectAt(line.front().x, line.front().y, size.width, size.height);
                bool free = std::none_of(labels.begin(), labels.end(),
                                         [&](const Rect& r) { return overlaps(r, test); });
                if (free) {
                    labels.push_back(test);
                    drawShadowText(dc, line.front(), record.phaseName, colour, kAlignCentre, false);
                }
            }
            dc.polyline(line);

            line.clear();
            for (const WavefrontPoint& p : record.points)
                line.push_back(toPoint(sectionMirrorPoint(p.along, p.across, s, c, f)));
            dc.polyline(line);
        });
}

FloatPoint childXS::focusPulseCentre() const {
    const LoadedEvent& event = loadedEvent();
    double lat = double(event.latitude) * double(kDegreesToRadians);
    double e = 1.0 - double(event.depth) / double(kEarthRadiusKm);
    return {static_cast<float>(-e * std::cos(lat)), static_cast<float>(-e * std::sin(lat))};
}

void childXS::drawFocusPulse(float size) {
    erasePulse();
    FloatPoint u = focusPulseCentre();
    drawPulse(u.x, u.y, size, colours::kWhite);
}

void childXS::command(int id) {
    if (id == kCmdViewInfoButton) sendToMainWindow(kCmdCrossSectionInfo);
}

void childXS::mousePressEvent(QMouseEvent* event) {
    // Posted: the map destroys this view while the press is delivered.
    if (event->button() == Qt::RightButton && settings.rightButtonRestart) {
        postCommand(mainWindow(), kCmdMap);
        event->accept();
        return;
    }
    childView::mousePressEvent(event);
}

}  // namespace orvane
