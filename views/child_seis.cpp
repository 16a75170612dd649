#include "views/child_seis.h"

#include <QMouseEvent>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "data/event_loading.h"
#include "data/sac.h"
#include "data/settings.h"
#include "platform/command_ids.h"
#include "ui/buttons.h"
#include "ui/kit.h"

namespace orvane {

SeismogramSounds seismogramSounds;

namespace {

// Pixel and second values are clamped here before they become integers, so
// a clock or a header far out of range cannot overflow a conversion.
constexpr double kCoordinateLimit = 1e9;
// Marks one phase may get in one pass: one per step inside the arrival
// second, which real sampling rates never come near.
constexpr int kMaxMarksPerPhase = 1024;
// Steps a rounding correction of the grid may move: with a step far below
// the precision of the clock, neighbouring steps fall on the same time.
constexpr int kMaxCorrection = 4;

std::int64_t truncated(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<std::int64_t>(std::clamp(v, -kCoordinateLimit, kCoordinateLimit));
}

// Entries of the display buffers that can be filled and read: NPTS, but
// never more than the trace holds.
std::size_t displayPoints(const KSAC& trace) {
    if (trace.npts() <= 0) return 0;
    return std::min({static_cast<std::size_t>(trace.npts()), trace.samples.size(),
                     trace.plotOffsets.size(), trace.soundBytes.size()});
}

struct Phase {
    const char* name;
    std::int32_t KSAC::*arrival;
    Colour colour;
};

constexpr std::array<Phase, 4> kPhases = {{
    {"P", &KSAC::arrivalP, colours::kRed},
    {"S", &KSAC::arrivalS, colours::kCyan},
    {"PP", &KSAC::arrivalPP, colours::kRed},
    {"SS", &KSAC::arrivalSS, colours::kCyan},
}};

// Label step of the time axis, in minutes, for a window of `seconds`.
int labelStep(int seconds) {
    if (seconds <= 2) return 1;
    if (seconds <= 300) return 2;
    if (seconds <= 600) return 5;
    if (seconds <= 1800) return 10;
    if (seconds <= 3600) return 15;
    return 30;
}

}  // namespace

// The step grid of one pass: s_j = from + j * delta for j = 0 .. count - 1,
// every s_j below the stop value.
struct childSeis::StepGrid {
    double from = 0;
    double delta = 1;
    std::int64_t count = 0;

    /// The grid from `from` by `delta` up to (without) `stop`.
    static StepGrid of(double from, double stop, double delta);

    double at(std::int64_t j) const { return from + static_cast<double>(j) * delta; }

    // The first step at or after `value` (count when there is none).
    std::int64_t firstAtOrAfter(double value) const {
        double guess = std::ceil((value - from) / delta);
        if (!(guess > 0)) guess = 0;
        auto j = static_cast<std::int64_t>(std::min(guess, static_cast<double>(count)));
        for (int i = 0; i < kMaxCorrection && j > 0 && at(j - 1) >= value; ++i) --j;
        for (int i = 0; i < kMaxCorrection && j < count && at(j) < value; ++i) ++j;
        return j;
    }
};

childSeis::StepGrid childSeis::StepGrid::of(double from, double stop, double delta) {
    StepGrid grid{from, delta, 0};
    if (!(stop > from)) return grid;
    // Far more steps than any pass visits one by one; only the count matters.
    constexpr double kMaxSteps = 1e15;
    double steps = std::min(std::ceil((stop - from) / delta), kMaxSteps);
    grid.count = static_cast<std::int64_t>(steps);
    if (steps < kMaxSteps) {
        for (int i = 0; i < kMaxCorrection && grid.count > 0 && grid.at(grid.count - 1) >= stop;
             ++i)
            --grid.count;
        for (int i = 0; i < kMaxCorrection && grid.at(grid.count) < stop; ++i) ++grid.count;
    }
    return grid;
}

int seismogramBaseline(int index, int count, int height) {
    if (count < 0) return 0;
    return static_cast<int>(static_cast<std::int64_t>(index + 1) * height / (count + 1));
}

childSeis::childSeis(QWidget* parent) : childSeis(parent, loadedEvent()) {}

childSeis::childSeis(QWidget* parent, LoadedEvent& event) : SurfaceWindow(parent), event_(event) {
    setBackground(backgroundColor_);
}

childSeis::~childSeis() {
    // An arrival sound still playing belongs to this view's traces.
    if (seismogramSounds.closeWave) seismogramSounds.closeWave();
}

Font childSeis::viewFont() const {
    return Font::create(std::string(kFontFace), height() / 20, 400);
}

int childSeis::timeWindow() const {
    return std::max<int>(event_.timeWindow, LoadedEvent::kMinimumTimeWindow);
}

int childSeis::baseline(std::size_t index) const {
    return index < traces_.size() ? traces_[index].baseline : 0;
}

bool childSeis::tracesCurrent() const {
    const auto& list = event_.traceList;
    if (list.size() != traces_.size()) return false;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].get() != traces_[i].trace) return false;
    return true;
}

int childSeis::pixelX(double seconds) const {
    return static_cast<int>(truncated(seconds * pixelsPerSecond_));
}

void childSeis::layoutTraces(float t) {
    const int w = width(), h = height();
    DrawingContext dc = surface();
    {
        KeepDrawingObjects keep(dc);
        Font previous = dc.selectFont(viewFont());
        measureLetterSize(dc);
        dc.selectBrush(Brush::solid(backgroundColor_));
        dc.selectPen(Pen::solid(backgroundColor_));
        dc.rectangle({0, 0, w, h});
        dc.selectFont(previous);
    }

    const int window = timeWindow();
    const int half = window / 2;
    pixelsPerSecond_ = static_cast<float>(w) / static_cast<float>(window);
    double start = std::isfinite(t) ? std::trunc(double(t) / half) * half - half : 0;
    windowStart_ = static_cast<float>(std::max(0.0, start));
    lastTime_ = 0;

    traces_.clear();
    const auto& list = event_.traceList;
    const int count = static_cast<int>(std::min(list.size(), LoadedEvent::kMaximumTraces));
    traces_.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        TraceState state;
        state.trace = list[static_cast<std::size_t>(i)].get();
        fillPlotData(*list[static_cast<std::size_t>(i)], count, h);
        state.baseline = seismogramBaseline(i, count, h);
        state.lastY = state.baseline;
        traces_.push_back(state);
    }

    makeInfoButton(dc, w, h);
}

void childSeis::fillPlotData(KSAC& trace, int count, int height) {
    const std::size_t points = displayPoints(trace);
    const double low = trace.floatWord(sac::DEPMIN);
    const double range = double(trace.floatWord(sac::DEPMAX)) - low;
    // The full range spans twice the slot height; larger values go up.
    const bool flat = !(range > 0) || !std::isfinite(range);
    const double scale = flat ? 0 : 2.0 * height / (-range * (count + 1));
    const double toByte = flat ? 0 : 255.0 / range;
    for (std::size_t k = 0; k < points; ++k) {
        double sample = trace.samples[k];
        double offset = std::floor(sample * scale + 0.5);
        trace.plotOffsets[k] = static_cast<std::int16_t>(std::clamp(offset, -32768.0, 32767.0));
        trace.soundBytes[k] = static_cast<std::uint8_t>(truncated((sample - low) * toByte) & 0xFF);
    }
}

void childSeis::makeInfoButton(DrawingContext& dc, int width, int height) {
    if (settings.scienceOnASphere) return;
    if (!infoButton_) {
        // Sized by the context's default font, the view font deselected.
        TextMetrics metrics = dc.textMetrics();
        const int a = metrics.averageCharWidth;
        double scaled = metrics.height * double(settings.buttonHeight);
        const int buttonHeight =
            std::isfinite(scaled) ? static_cast<int>(std::clamp(scaled, 0.0, double(height))) : 0;
        infoButton_ = std::make_unique<textButton>(this, kCmdViewInfoButton, "Info", width - 8 * a,
                                                   height - a - buttonHeight, 7 * a, buttonHeight);
        infoButton_->show();
    }
    infoButton_->update();
}

void childSeis::redrawAll(float t, DrawingContext& dc) {
    const int w = width(), h = height();
    KeepDrawingObjects keep(dc);
    dc.selectBrush(Brush::solid(backgroundColor_));
    dc.selectPen(stock::kBlackPen);
    Font previous = dc.selectFont(viewFont());
    measureLetterSize(dc);
    dc.rectangle({0, 0, w, h});

    drawTimeAxis(dc, windowStart_, windowStart_ + float(timeWindow()), w, h);

    if (tracesCurrent()) {
        for (TraceState& state : traces_) {
            const KSAC& trace = *state.trace;
            if (windowStart_ == 0 && !trace.description.empty())
                drawText(dc, {3, state.baseline}, trace.description, colours::kBlack,
                         kAlignLeft | kAlignBottom);
            if (trace.endTime > windowStart_ && t >= windowStart_) {
                PassEnd end = tracePass(dc, state, windowStart_, t, false, false);
                if (end.stepped) {
                    state.lastX = end.x;
                    state.lastY = end.y;
                }
            }
        }
    }
    dc.selectFont(previous);
}

childSeis::PassEnd childSeis::tracePass(DrawingContext& dc, TraceState& state, double from,
                                        double to, bool forward, bool withSound) {
    const KSAC& trace = *state.trace;
    const double delta = trace.floatWord(sac::DELTA);
    PassEnd end{state.lastX, state.lastY, state.penDown, false};
    if (!(delta > 0) || !std::isfinite(delta)) return end;

    // The incremental pass stops at the end of the record, so its last
    // stretch is drawn in the tick in which the clock passes it.
    const double stop = forward ? std::min<double>(to, trace.endTime) : to;
    const StepGrid grid = StepGrid::of(from, stop, delta);
    if (grid.count == 0) return end;

    if (settings.labelPhasesOnSeismogram) markArrivals(dc, state, grid, withSound);

    // A pen left down by the previous tick continues the line from there.
    // The buffer is sized for the stretch; steps beyond it are dropped.
    const double capacityValue = std::floor((to - from) / delta + (forward ? 2.5 : 2.0));
    std::vector<Point> points;
    if (forward && state.penDown) points.push_back({state.lastX, state.lastY});

    // Steps with a sample form one run: from the first step at the trace's
    // start to the first step past its end or its last sample. Grid and
    // samples share the step, so the run is about as long as the trace.
    const std::size_t samples = displayPoints(trace);
    const double start = trace.startTime;
    std::int64_t j = grid.firstAtOrAfter(start);
    const std::int64_t firstData = j;
    const std::int64_t runLimit = firstData + static_cast<std::int64_t>(samples) + kMaxCorrection;
    int y = forward ? state.lastY : state.baseline;
    for (; j < grid.count && j < runLimit; ++j) {
        double s = grid.at(j);
        if (!(s < trace.endTime)) break;
        double index = std::trunc((s - start) / delta);
        if (!(index < double(samples))) break;
        y = state.baseline + trace.plotOffsets[static_cast<std::size_t>(index)];
        if (double(points.size()) < capacityValue) points.push_back({pixelX(s - windowStart_), y});
    }
    const std::int64_t lastData = j;  // exclusive
    const std::int64_t lastStep = grid.count - 1;
    const bool endsOnData = lastStep >= firstData && lastStep < lastData;

    if (points.size() >= 2) dc.polyline(points);

    end.stepped = true;
    end.x = pixelX(grid.at(lastStep) - windowStart_);
    if (forward) {
        // Steps after the samples keep the last y; the pen is up there.
        end.y = y;
        end.penDown = endsOnData;
    } else {
        end.y = endsOnData ? y : state.baseline;
    }
    return end;
}

void childSeis::markArrivals(DrawingContext& dc, const TraceState& state, const StepGrid& grid,
                             bool withSound) {
    // Every step whose whole second (truncated towards zero) is an arrival.
    std::vector<std::int64_t> steps;
    for (const Phase& phase : kPhases) {
        const std::int32_t arrival = (*state.trace).*phase.arrival;
        if (arrival == 0) continue;
        const double low = arrival > 0 ? arrival : arrival - 1.0;
        const double high = arrival > 0 ? arrival + 1.0 : arrival;
        const std::int64_t first = grid.firstAtOrAfter(low);
        const std::int64_t limit = first + kMaxMarksPerPhase + kMaxCorrection;
        for (std::int64_t j = first; j < grid.count && j < limit; ++j) {
            double s = grid.at(j);
            if (s > high) break;
            if (std::trunc(s) == arrival) steps.push_back(j);
        }
    }
    std::sort(steps.begin(), steps.end());
    steps.erase(std::unique(steps.begin(), steps.end()), steps.end());
    for (std::int64_t j : steps) {
        double s = grid.at(j);
        drawPhaseMarks(dc, pixelX(s - windowStart_), state.lastY, static_cast<int>(truncated(s)),
                       state.baseline, withSound, *state.trace);
    }
}

void childSeis::drawPhaseMarks(DrawingContext& dc, int x, int, int second, int baseline,
                               bool withSound, const KSAC& trace) {
    for (const Phase& phase : kPhases) {
        std::int32_t arrival = trace.*phase.arrival;
        if (arrival != 0 && arrival == second)
            drawPhaseMark(dc, x, baseline, phase.name, phase.colour, withSound, trace);
    }
}

void childSeis::drawPhaseMark(DrawingContext& dc, int x, int baseline, std::string_view label,
                              Colour colour, bool withSound, const KSAC& trace) {
    if (withSound) {
        switch (settings.audio) {
            case kAudioPc:
                if (seismogramSounds.messageBeep)
                    seismogramSounds.messageBeep(SeismogramSounds::kSimpleBeep);
                break;
            case kAudioEq: {
                auto length = static_cast<std::int32_t>(
                    std::min<std::size_t>(displayPoints(trace), SeismogramSounds::kMaxSoundBytes));
                if (length > 0 && seismogramSounds.playSamples)
                    seismogramSounds.playSamples(trace.soundBytes.data(), length);
                break;
            }
            case kAudioChime:
                if (seismogramSounds.messageBeep)
                    seismogramSounds.messageBeep(SeismogramSounds::kAsterisk);
                break;
            default:
                break;
        }
    }

    const int clipHeight = orvane::height(dc.clipBox());
    KeepDrawingObjects keep(dc);
    dc.selectPen(Pen::solid(colour));
    // The label stands left of the mark, just below the zero line.
    drawShadowText(dc, {x - 4, baseline}, label, colour, kAlignRight | kAlignTop, false);
    const int count = static_cast<int>(traces_.size());
    const int half = clipHeight / (2 * count + 2);
    dc.moveTo({x, baseline - half});
    dc.lineTo({x, baseline + half});
    dc.selectPen(stock::kBlackPen);
    dc.moveTo({x + 1, baseline - half + 1});
    dc.lineTo({x + 1, baseline + half + 1});
}

void childSeis::drawTimeAxis(DrawingContext& dc, float from, float to, int width, int height) {
    KeepDrawingObjects keep(dc);
    dc.selectPen(stock::kBlackPen);
    dc.setBackgroundMode(BackgroundMode::Transparent);

    const int step = labelStep(timeWindow());
    const std::int64_t first = truncated(double(from) / 60), last = truncated(double(to) / 60);
    // More minutes than any window holds means a clock out of range.
    constexpr std::int64_t kMaxMinutes = 100000;
    for (std::int64_t m = first; m <= last && m - first < kMaxMinutes; ++m) {
        const int x = pixelX(60.0 * double(m) - windowStart_);
        dc.moveTo({x, height});
        dc.lineTo({x, height - 8});
        if (m % step != 0) continue;
        char text[24];
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(m));
        if (x == 0)
            drawText(dc, {2, height - 8}, text, colours::kBlack, kAlignLeft | kAlignBottom);
        else if (x >= width - 2)
            drawText(dc, {x + 2, height - 8}, text, colours::kBlack, kAlignRight | kAlignBottom);
        else
            drawText(dc, {x, height - 8}, text, colours::kBlack, kAlignCentre | kAlignBottom);
    }
    drawText(dc, {width / 2, height - 8 - dc.textExtent("N").height}, kAxisTitle, colours::kBlack,
             kAlignCentre | kAlignBottom);
}

void childSeis::eraseBackTo(DrawingContext& dc, float t, int x, int width, int height) {
    // Stop short of the right frame line, so a clock going back from the
    // right edge still erases what lies behind it.
    int xl =
        static_cast<int>(truncated((double(lastTime_) - windowStart_) * pixelsPerSecond_ + 2.0));
    xl = std::min(xl, width - 1);
    if (x <= 0 || xl <= x) return;
    {
        KeepDrawingObjects keep(dc);
        dc.selectPen(stock::kWhitePen);
        dc.selectBrush(stock::kWhiteBrush);
        dc.rectangle({x, 1, xl, height - 1});
    }
    for (TraceState& state : traces_) state.lastX = x;
    drawTimeAxis(dc, t, lastTime_ + 120, width, height);
}

void childSeis::advanceTo(float t) {
    const int w = width(), h = height();
    DrawingContext dc = surface();
    dc.selectFont(viewFont());
    measureLetterSize(dc);
    if (!std::isfinite(t) || t <= 0 || t == lastTime_) return;

    if (needsRedraw_) {
        redrawAll(t, dc);
        needsRedraw_ = false;
        lastTime_ = t;
    }

    const int x = pixelX(double(t) - windowStart_);
    if (t > lastTime_) {
        KeepDrawingObjects keep(dc);
        dc.selectPen(stock::kBlackPen);
        if (tracesCurrent()) {
            for (TraceState& state : traces_) {
                if (!(state.trace->endTime > lastTime_)) continue;
                PassEnd end = tracePass(dc, state, lastTime_, t, true, true);
                if (!end.stepped) continue;
                state.lastX = end.x;
                state.lastY = end.y;
                state.penDown = end.penDown;
            }
        }
    } else if (t < lastTime_ && t > windowStart_) {
        eraseBackTo(dc, t, x, w, h);
    }

    // Page turn: forward by half a window at a time, back as far as needed.
    if (x > w || x < 0 || t < windowStart_) {
        const int half = timeWindow() / 2;
        if (x > w) windowStart_ += float(half);
        if (t < windowStart_) {
            double back = std::ceil((double(windowStart_) - t) / half) * half;
            windowStart_ = static_cast<float>(std::max(0.0, double(windowStart_) - back));
        }
        redrawAll(t, dc);
    }

    lastTime_ = t;
    if (!settings.scienceOnASphere && infoButton_) infoButton_->update();
}

void childSeis::paint(DrawingContext&, const Rect&) { needsRedraw_ = true; }

void childSeis::command(int id) {
    if (id == kCmdViewInfoButton) sendToMainWindow(kCmdSeismogramInfo);
}

void childSeis::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        // Posted: the map destroys this view while the press is delivered.
        if (settings.rightButtonRestart) postCommand(mainWindow(), kCmdMap);
        event->accept();
        return;
    }
    SurfaceWindow::mousePressEvent(event);
}

}  // namespace orvane
