#include "views/child_3d.h"

#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "data/event_loading.h"
#include "data/settings.h"
#include "data/text_scan.h"
#include "model/travel_time_curve.h"
#include "platform/bitmap.h"
#include "platform/command_ids.h"
#include "ui/buttons.h"
#include "ui/kit.h"
#include "views/frame_export.h"

namespace orvane {

namespace {

// Beyond this many pairs the band's circles would only repeat: 1.5 degrees
// apart they have covered half the globe's circumference.
constexpr int kMaxBandPairs = 120;

struct PhaseCircle {
    int curve;  // index into LoadedEvent::curves (P, S, PP, SS)
    const char* name;
    Colour colour;
    float minimumDelta;  // drawn only beyond this distance (0: any non-zero)
};

// Drawing order P, PP, S, SS; the reflected phases are shown only away from
// the epicentre, where they have separated from the direct ones.
constexpr PhaseCircle kPhaseCircles[] = {
    {0, "P", colours::kRed, 0},
    {2, "PP", colours::kRed, 15},
    {1, "S", colours::kCyan, 0},
    {3, "SS", colours::kCyan, 15},
};

Point toPixel(float x, float y, int radius) {
    return {truncateToPixel(x * radius), truncateToPixel(y * radius)};
}

}  // namespace

std::string stationMarkLabel(const KSAC& trace) {
    std::string code = trace.charField(sac::KSTNM);
    code.resize(std::min(code.find('\0'), code.size()));
    return "  " + code;
}

std::vector<WaveCircle> waveCircles(const LoadedEvent& event, float t, int penWidth) {
    std::vector<WaveCircle> circles;
    // Before the origin (and for a clock that is no number) nothing has
    // travelled yet.
    if (!(t > 0) || !std::isfinite(t)) return circles;
    const auto& distances = curveDistances();
    for (const PhaseCircle& phase : kPhaseCircles) {
        const TravelTimeCurve& curve = event.curves[static_cast<std::size_t>(phase.curve)];
        float delta = interpolateTable(curve.keys(), distances, curve.count, t);
        bool shown = phase.minimumDelta > 0 ? delta > phase.minimumDelta : delta != 0;
        if (shown) circles.push_back({delta, phase.colour, penWidth, phase.name});
    }
    if (!(event.depth < kSurfaceWaveMaxDepthKm)) return circles;

    float fast = kFastSurfaceWaveDegreesPerSecond * t;
    float slow = kSlowSurfaceWaveDegreesPerSecond * t;
    float half = (fast - slow) / 2;
    float mid = (fast + slow) / 2;
    circles.push_back({mid, colours::kYellow, penWidth, "Surface"});
    std::string_view label = "Surface";
    float w = static_cast<float>(penWidth);
    for (int i = 0; i < kMaxBandPairs; ++i) {
        float d = mid + 0.1f + 1.5f * static_cast<float>(i);
        if (!(d < fast)) break;
        float e = d - mid;
        int width = truncateToPixel((half * half - e * e) * (w / (half * half))) + 1;
        circles.push_back({d, colours::kYellow, width, label});
        circles.push_back({mid - e, colours::kYellow, width, label});
        label = {};
    }
    return circles;
}

int snapViewAngle(int viewAngle) {
    int k = (viewAngle / 45) % 8;
    int a = k * 45;
    while (a < 0) a += 360;
    while (a >= 360) a -= 360;
    return a;
}

child3D::child3D(QWidget* parent) : childView(parent) { setBackground(colours::kBlack); }

child3D::~child3D() = default;

std::string child3D::globePictureName() {
    LoadedEvent& event = loadedEvent();
    event.viewAngle = static_cast<std::int16_t>(snapViewAngle(event.viewAngle));
    char name[32];
    std::snprintf(name, sizeof name, "earth%d.bmp", static_cast<int>(event.viewAngle));
    return name;
}

bool child3D::loadGlobePicture(const std::string& name) {
    QImage picture = loadBitmap(name);
    if (picture.isNull()) return false;
    makeBufferBitmaps(colours::kBlack);
    frameBuffer().stretchImage(diskRect(), picture);
    copy(ViewSurface::Background, ViewSurface::FrameBuffer);
    return true;
}

void child3D::drawBackground() {
    const LoadedEvent& event = loadedEvent();
    DrawingContext& dc = windowSurface();
    const Rect& client = clientRect();
    int R = radius();

    Font previousFont = dc.selectFont(Font::create("Arial Bold", orvane::height(client) / 20, 400));
    int nH = dc.textExtent("N").height;

    Point origin = dc.setViewportOrigin({0, 0});
    drawInsetOutline(dc, client, colours::kBlack, 0);
    drawBaseLine(dc, client);
    dc.setViewportOrigin(origin);
    present();

    // Event details, top left.
    dc.setViewportOrigin({5, 5});
    int y = 0;
    auto writeLine = [&](std::string_view text) {
        drawText(dc, {0, y}, text, colours::kWhite, kAlignLeft | kAlignTop);
        y += nH;
    };
    writeLine(event.name);
    writeLine(event.displayDate);
    writeLine(event.originTime);
    // The project's formatter: a point whatever the process locale.
    writeLine(format("Depth: %4.0f", static_cast<double>(event.depth)));
    writeLine(format("Mag: %4.1f", static_cast<double>(event.magnitude)));
    dc.setViewportOrigin(origin);

    // Every component of a station is drawn, at the same place.
    float angle = event.viewAngle;
    FloatPoint epicentre = epicentrePosition();
    for (const auto& trace : event.traceList) {
        FloatPoint s = globePoint(trace->stationLatitude, trace->stationLongitude, angle);
        if (s != FloatPoint{}) {
            Point p = toPixel(s.x, s.y, R);
            drawShadowText(dc, p, stationMarkLabel(*trace), colours::kWhite, kAlignLeft, true);
            drawShadowText(dc, p, "o", colours::kWhite, kAlignCentre, true);
        }
        if (epicentre != FloatPoint{})
            drawShadowText(dc, toPixel(epicentre.x, epicentre.y, R), "*", colours::kWhite,
                           kAlignCentre, true);
    }

    if (!settings.scienceOnASphere) {
        makeInfoButton();
        dc.setViewportOrigin({0, 0});
        info_->paintInto(dc, false);
        dc.setViewportOrigin(origin);
    }
    dc.selectFont(previousFont);

    copy(ViewSurface::FrameBuffer, ViewSurface::Window);
    copy(ViewSurface::Background, ViewSurface::FrameBuffer);
    penWidth_ = std::clamp(R / (settings.scienceOnASphere ? 60 : 120), 1, 5);
}

void child3D::makeInfoButton() {
    if (info_) return;
    // Measured in the cross-section's legend font, so the Info buttons of the
    // two views side by side are alike.
    const Rect& client = clientRect();
    DrawingContext measure;
    measure.selectFont(Font::create("Arial Bold", orvane::width(client) / 30, 400));
    TextMetrics m = measure.textMetrics();
    int w = 7 * m.averageCharWidth;
    int h = static_cast<int>(m.height * settings.buttonHeight);
    int x = client.right - m.averageCharWidth - w;
    int y = client.bottom - m.averageCharWidth - h;
    info_ = new textButton(this, kCmdViewInfoButton, "Info", x, y, w, h);
    info_->show();
}

void child3D::drawWaves(float t) {
    if (t == 0) return;
    for (const WaveCircle& circle : waveCircles(loadedEvent(), t, penWidth_)) drawCircle(circle);
}

void child3D::drawCircle(const WaveCircle& circle) {
    const LoadedEvent& event = loadedEvent();
    MemorySurface& fb = frameBuffer();
    Pen previous = fb.selectPen(Pen::solid(circle.colour, circle.width));
    int R = radius();
    auto points = globeCircle(circle.delta, event.latitude, event.longitude, event.viewAngle);
    std::vector<Point> run;
    bool labelConsidered = false;
    for (const GlobeCirclePoint& point : points) {
        if (!point.visible) {
            // The circle goes round the back of the globe: this run ends.
            if (!run.empty()) fb.polyline(run);
            run.clear();
            continue;
        }
        Point p = toPixel(point.x, point.y, R);
        if (run.empty() && !labelConsidered && circle.delta > 15) {
            if (settings.labelPhasesOnEarthView && !circle.label.empty())
                drawShadowText(fb, p - Point{2, 0}, circle.label, circle.colour, kAlignCentre,
                               true);
            labelConsidered = true;
        }
        run.push_back(p);
    }
    if (!run.empty()) fb.polyline(run);
    fb.selectPen(previous);
}

FloatPoint child3D::epicentrePosition() const {
    const LoadedEvent& event = loadedEvent();
    return globePoint(event.latitude, event.longitude, event.viewAngle);
}

void child3D::drawEpicentrePulse(float size) {
    erasePulse();
    FloatPoint e = epicentrePosition();
    if (e.x == 0 || e.y == 0) return;
    drawPulse(e.x, e.y, size, colours::kWhite);
}

void child3D::prepareExportBuffer() {
    if (!export_) export_ = std::make_unique<FrameExport>();
    export_->prepare();
}

void child3D::drawExportStations() {
    if (export_) export_->drawStations();
}

bool child3D::exportFrame(float t) { return export_ && export_->exportFrame(t); }

void child3D::finishExport() {
    if (export_) export_->finish();
}

void child3D::command(int id) {
    if (id == kCmdViewInfoButton) sendToMainWindow(kCmdEarthInfo);
}

void child3D::mousePressEvent(QMouseEvent* event) {
    // Posted: the map destroys this view, so the command runs after the
    // press has been delivered.
    if (event->button() == Qt::RightButton && settings.rightButtonRestart) {
        postCommand(mainWindow(), kCmdMap);
        event->accept();
        return;
    }
    childView::mousePressEvent(event);
}

}  // namespace orvane
