#pragma once
// The seismogram view: the loaded traces one above the other against a time
// axis in minutes, drawn as if recorded live while the clock runs. Each tick
// adds only the stretch between the previous clock value and the new one;
// the predicted P, S, PP and SS arrivals are marked and, if chosen, heard.
// The view shows a window of `timeWindow` seconds and turns the page by half
// a window when the clock leaves it.
//
// All drawing happens from layoutTraces and advanceTo through the view's own
// client context; a paint request only notes that the next advanceTo must
// redraw everything.

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/surface_window.h"

class QMouseEvent;

namespace orvane {

class KSAC;
struct LoadedEvent;
class textButton;

/// The sounds the view makes at an arrival. The application fills them once
/// with its sound services; an empty hook is silence:
///   seismogramSounds = {
///       [](std::uint32_t type) { sound().messageBeep(type); },
///       [](const std::uint8_t* b, std::int32_t n) { sound().playSamples(b, n); },
///       [] { sound().closeWave(); }};
struct SeismogramSounds {
    /// MessageBeep types: the plain beep ("PC") and the asterisk ("Chime").
    static constexpr std::uint32_t kSimpleBeep = 0xFFFFFFFF;
    static constexpr std::uint32_t kAsterisk = 0x40;
    /// The seismogram heard as sound: 8-bit unsigned samples, 16000 per
    /// second, at most 32767 of them.
    static constexpr std::int32_t kMaxSoundBytes = 32767;

    std::function<void(std::uint32_t type)> messageBeep;
    std::function<void(const std::uint8_t* bytes, std::int32_t length)> playSamples;
    /// Stops a seismogram still playing (the view is going away).
    std::function<void()> closeWave;
};

/// Program-wide hooks used by every seismogram view.
extern SeismogramSounds seismogramSounds;

/// y of the zero line of trace `index` among `count` traces in a view
/// `height` pixels high: the (index + 1)-th of count + 1 equal slots. The
/// station-name column uses it too.
int seismogramBaseline(int index, int count, int height);

class childSeis : public SurfaceWindow {
  public:
    /// Font face of every text in the view (height: client height / 20).
    static constexpr std::string_view kFontFace = "Arial Bold";
    static constexpr std::string_view kAxisTitle = "Time since Earthquake (minutes)";

    /// A view of the traces of `event` (the program-wide loaded event unless
    /// another is given).
    explicit childSeis(QWidget* parent = nullptr);
    childSeis(QWidget* parent, LoadedEvent& event);
    ~childSeis() override;

    /// Scales, window start and per-trace plot data for clock `t`; clears the
    /// view and makes sure the Info button exists. Call after every event
    /// load (t = 0) and whenever `timeWindow` changed (t = the clock); then
    /// request a repaint (invalidate()), so the next advanceTo draws.
    void layoutTraces(float t);

    /// The per-tick step: draws what lies between the last clock value and
    /// `t`, erases back to `t` when the clock went backwards, and turns
    /// pages. Does nothing for t <= 0 or t equal to the last value.
    void advanceTo(float t);

    /// Full redraw of frame, axis, labels and traces up to `t` into `dc`.
    void redrawAll(float t, DrawingContext& dc);

    // Steps of the drawing, public for the frame's pictures and for tests.
    void drawTimeAxis(DrawingContext& dc, float from, float to, int width, int height);
    void drawPhaseMarks(DrawingContext& dc, int x, int y, int second, int baseline, bool withSound,
                        const KSAC& trace);
    void drawPhaseMark(DrawingContext& dc, int x, int baseline, std::string_view label,
                       Colour colour, bool withSound, const KSAC& trace);

    float pixelsPerSecond() const { return pixelsPerSecond_; }
    float windowStart() const { return windowStart_; }
    float lastTime() const { return lastTime_; }
    bool needsRedraw() const { return needsRedraw_; }
    Colour backgroundColor() const { return backgroundColor_; }
    /// The Info button, or null (before the first layout, and always in
    /// frame-export mode).
    textButton* infoButton() const { return infoButton_.get(); }
    /// Zero line of trace `index` as laid out (0 when there is none).
    int baseline(std::size_t index) const;

    /// The Info button (1036) asks the main window for "SEIS.INF" (1039).
    void command(int id) override;

  protected:
    /// Only notes that the next advanceTo must redraw everything.
    void paint(DrawingContext& dc, const Rect& area) override;
    /// Right button: the map (202) when rightButtonRestart is set.
    void mousePressEvent(QMouseEvent* event) override;

  private:
    /// The drawing state of one laid-out trace.
    struct TraceState {
        const KSAC* trace = nullptr;
        int baseline = 0;
        int lastX = 0;
        int lastY = 0;
        bool penDown = false;
    };
    struct StepGrid;
    /// Where one pass over a trace ended.
    struct PassEnd {
        int x = 0;
        int y = 0;
        bool penDown = false;
        bool stepped = false;
    };

    Font viewFont() const;
    int timeWindow() const;
    /// Whether the event's trace list is still the one laid out; otherwise
    /// its display buffers may not be filled and nothing of it is drawn.
    bool tracesCurrent() const;
    void fillPlotData(KSAC& trace, int count, int height);
    int pixelX(double seconds) const;
    PassEnd tracePass(DrawingContext& dc, TraceState& state, double from, double to, bool forward,
                      bool withSound);
    void markArrivals(DrawingContext& dc, const TraceState& state, const StepGrid& grid,
                      bool withSound);
    void makeInfoButton(DrawingContext& dc, int width, int height);
    void eraseBackTo(DrawingContext& dc, float t, int x, int width, int height);

    LoadedEvent& event_;
    float pixelsPerSecond_ = 0;
    float windowStart_ = 0;
    float lastTime_ = 0;
    Colour backgroundColor_ = colours::kWhite;
    bool needsRedraw_ = false;
    std::unique_ptr<textButton> infoButton_;
    std::vector<TraceState> traces_;
};

}  // namespace orvane
