#pragma once
// The run controller: the opening pulse, the animation tick that advances the
// simulation clock and redraws the views, the pause at the end of a run, the
// idle timeout, the tutorial and the commands deferred from buttons. It is
// driven by four timers of the main frame and reaches the views, the panel,
// the sound and the text windows only through RunHost, so it runs the same
// with the real windows and with a recording stand-in.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "app/run_state.h"

namespace orvane {

/// Timer ids of the main frame.
enum RunTimer : int {
    kOpeningTimer = 1,
    kTickTimer = 2,
    kDeferredTimer = 3,
    kSecondTimer = 4,
};

/// Codes of the deferred-command timer.
enum DeferredCode : std::int32_t {
    kDeferNone = 0,
    kDeferRepeat = 1,
    kDeferViews = 2,
    kDeferMap = 3,
    kDeferNothing = 4,
    kDeferWelcome = 5,
};

/// An information or tutorial text window as the controller sees it.
class TextPopup {
  public:
    virtual ~TextPopup() = default;
    /// Closed through one of its own buttons.
    virtual bool closed() const = 0;
    /// Hides the window (it stays until destroyed).
    virtual void close() = 0;
    virtual bool continuePressed() const { return false; }
    virtual bool nextPressed() const { return false; }
    virtual bool previousPressed() const { return false; }
    virtual bool cancelPressed() const { return false; }
};

enum class TutorialMode { Guided = 1, Browse = 2 };
enum class TutorialPosition { First = 0, Middle = 1, Last = 2 };

/// What the controller drives. The main frame implements it over its timers,
/// views, panel and windows.
class RunHost {
  public:
    virtual ~RunHost() = default;

    /// The frame's window timers: whether the system set it.
    virtual bool setWindowTimer(int id, int ms) = 0;
    virtual void killWindowTimer(int id) = 0;
    virtual std::uint32_t systemTickCount() = 0;
    /// User input arrived since the previous tick.
    virtual bool inputWaiting() = 0;

    virtual void stopTune() = 0;
    virtual void playTune(const std::string& name) = 0;
    virtual void openMidi() = 0;
    virtual void closeMidi() = 0;

    /// The opening pulse of size (magnitude - clock) / 4 on the shown views.
    virtual void drawPulse(float size) = 0;

    virtual void crossSectionLoadTables() = 0;
    /// Draws the wavefronts for whole second `t` into the frame buffer;
    /// false when nothing changed.
    virtual bool crossSectionDrawWaves(std::int16_t t) = 0;
    virtual void crossSectionPresent() = 0;
    virtual void crossSectionReset() = 0;
    virtual void crossSectionClear() = 0;

    virtual void globeDrawWaves(float t) = 0;
    virtual void globePresent() = 0;
    virtual void globeReset() = 0;
    virtual void globeClear() = 0;
    virtual void globeExportFrame(float t) = 0;

    virtual void seismogramLayout(float t) = 0;
    virtual void seismogramAdvance(float t) = 0;
    virtual void seismogramRepaint() = 0;

    /// Brings the acceleration and the speed slider into agreement.
    virtual void readSpeed() = 0;
    virtual void showMinutes(float t) = 0;
    /// `paused` changed behind the Pause button's back.
    virtual void pauseChanged() = 0;

    /// Creates and shows a tutorial window for `entry`.
    virtual std::unique_ptr<TextPopup> openTutorial(const TutorialEntry& entry, TutorialMode mode,
                                                    TutorialPosition position) = 0;

    /// A command of the main frame (Map, Exit, Select View).
    virtual void frameCommand(int id) = 0;
    /// The frame's event start for `name` (empty: the current event again).
    virtual void startEventNamed(const std::string& name) = 0;

    virtual std::size_t catalogueSize() = 0;
    virtual std::string catalogueName(std::size_t index) = 0;
};

class RunController {
  public:
    explicit RunController(RunHost& host);
    ~RunController();
    RunController(const RunController&) = delete;
    RunController& operator=(const RunController&) = delete;

    /// The frame's timer message handler.
    void onTimer(int id);

    /// Runs `code` from the deferred-command timer after `ms` milliseconds.
    void postDeferred(std::int32_t code, int ms = 5);
    void setIdleCountdown(std::int32_t seconds) { idleCountdown = seconds; }
    /// Closes and destroys the information and tutorial windows, restarts the
    /// idle countdown and lets the run go on.
    void closePopups();
    void stopTutorial();
    /// Pages through the tutorial from its first entry (Tutorial button).
    void browseTutorial();
    /// Starts `currentEventName` (map window, script mode).
    void startEvent();
    /// The tutorial position a new frame starts from.
    void initialiseTutorial();

    /// Timer wrappers that remember whether each timer is set.
    void setTimer(int id, int ms);
    void killTimer(int id);
    bool timerActive(int id) const;

    /// Stores an opened information window (closing any earlier one first is
    /// the caller's business, through closePopups).
    void setInfoWindow(std::unique_ptr<TextPopup> window);
    TextPopup* infoWindow() const { return infoWindow_.get(); }
    TextPopup* tutorialWindow() const { return tutorialWindow_.get(); }

    // Run state of the main frame.
    float clock = 0;
    std::int16_t tickPeriod = 0;
    std::int32_t deferredCommand = kDeferNone;
    std::int32_t idleCountdown = 0;
    bool showSeismograms = false;
    bool showCrossSection = false;
    bool showEarth = false;
    bool restartRequested = false;
    std::int32_t drawnTimeWindow = 0;
    std::int32_t nextTutorialTime = 0;
    std::int32_t tutorialIndex = 0;
    bool tutorialBrowsing = false;

  private:
    void openingPulse();
    void tick();
    void deferred();
    void everySecond();
    /// False when the tick must end without setting the tick timer again.
    bool guidedTutorial();
    void browsingTutorial();
    void adaptTickPeriod();
    /// A page just opened holds the run until it is closed.
    void holdForPage();
    void destroyTutorialWindow();

    RunHost& host_;
    std::array<bool, 5> timerActive_{};
    std::unique_ptr<TextPopup> infoWindow_;
    std::unique_ptr<TextPopup> tutorialWindow_;
};

}  // namespace orvane
