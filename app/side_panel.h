#pragma once
// The control panel on the right of every view layout (run buttons, the
// elapsed minutes and the speed slider) and the grey filler panels beside a
// single view.
//
// The panel talks to the main frame in two ways: the commands Exit (203),
// Event Info (1042) and Tutorial (1051) are sent to the main window; the run
// state it changes (paused, resumeTime, the tutorial, deferred commands) is
// reached through ControlPanelHost, which the frame implements.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/surface_window.h"

class QSlider;

namespace orvane {

class textButton;

/// What the control panel needs of the run controller.
class ControlPanelHost {
  public:
    virtual ~ControlPanelHost() = default;
    virtual bool paused() const = 0;
    virtual void setPaused(bool paused) = 0;
    virtual void setResumeTime(float seconds) = 0;
    virtual void stopTutorial() = 0;
    /// Runs deferred code 1 (restart), 2 (view dialog) or 3 (map) a few
    /// milliseconds later, after the button's handler has returned.
    virtual void postDeferred(int code) = 0;
};

/// Grey filler beside a single view, with a bevel around it.
class sidePanel : public SurfaceWindow {
  public:
    explicit sidePanel(QWidget* parent = nullptr);

  protected:
    void paint(DrawingContext& dc, const Rect& area) override;
};

/// The whole minutes of a clock value, as the panel shows them ("%4u ").
std::string minutesText(float clock);

/// Slider position for an acceleration: top (0) is +100, bottom (200) -100.
int sliderPositionFor(float acceleration);

class childSlider : public SurfaceWindow {
  public:
    static constexpr std::int16_t speedMin = -100;
    static constexpr std::int16_t speedMax = 100;
    static constexpr std::int16_t speedStep = 20;

    /// Builds the buttons for a panel `panelWidth` wide and the slider at
    /// `sliderRect`, whose top it moves below the buttons (the caller's
    /// program-wide rectangle is changed with it). A null host means the
    /// main window, when it is one.
    childSlider(QWidget* parent, int panelWidth, Rect& sliderRect,
                ControlPanelHost* host = nullptr);

    /// Brings loadedEvent().timeAcceleration and the slider into agreement
    /// (every tick); also brings the Pause caption in line with paused().
    void readSpeed();
    /// The same with the acceleration given.
    void readSpeed(float& timeAcceleration);
    /// Draws the whole minutes elapsed at clock t.
    void showMinutes(float t);
    /// Sets the Pause button's caption from the host's paused state.
    void refreshPauseButton();

    void command(int id) override;

    std::int16_t lastSpeed() const { return lastSpeed_; }
    int sliderTop() const { return sliderTop_; }
    const Rect& sliderArea() const { return sliderArea_; }
    /// Box of the minutes display (known after the first paint).
    const Rect& minutesBox() const { return minutesBox_; }
    /// The slider control, null when the settings turn it off.
    QSlider* slider() const { return slider_; }
    /// The button of a command id, or null when it was not created.
    textButton* button(int id) const;

  protected:
    void paint(DrawingContext& dc, const Rect& area) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    ControlPanelHost* host() const;
    void setUpSlider();
    void drawMinutes(DrawingContext& dc, float t);
    void worldMenu();

    ControlPanelHost* host_;
    Size letter_;  ///< letterSize as measured for this panel
    std::int16_t lastSpeed_ = 0;
    int sliderTop_ = 0;
    Rect minutesBox_;
    Rect sliderArea_;
    QSlider* slider_ = nullptr;
    std::optional<float> shownClock_;
};

}  // namespace orvane
