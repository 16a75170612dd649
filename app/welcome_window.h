#pragma once
// The first content of the main frame: a black pane with the opening
// picture "OVINIT.BMP", the version line and a "Start" button. Start, the
// Enter key (command 1010, forwarded by the frame) or the initial timeout
// (Settings.initialTimeout seconds, 0 = none) lead to the world map: the
// frame runs deferred code 5 fifty milliseconds later.

#include "platform/surface_window.h"

namespace orvane {

class textButton;

/// What the welcome window needs of the main frame.
class WelcomeHost {
  public:
    virtual ~WelcomeHost() = default;
    /// Runs deferred command `code` after `milliseconds` (the frame's
    /// deferred-command timer).
    virtual void deferCommand(int code, int milliseconds) = 0;
};

/// The version line and the date under it.
inline constexpr const char* kVersionFormat = "Version %s";
inline constexpr const char* kVersion = "4.0";
inline constexpr const char* kVersionDate = "May 23 2014";

class welcomeWindow : public SurfaceWindow {
  public:
    static constexpr int kTimeoutTimer = 1;

    /// A null host means the main window, when it is one; without either,
    /// start() posts the Map command (202) to the main window.
    explicit welcomeWindow(QWidget* parent = nullptr, WelcomeHost* host = nullptr);
    ~welcomeWindow() override;

    /// Stops the start-up tune and asks the frame for the map.
    void start();

    void command(int id) override;
    void onTimer(int id) override;

    /// The Start button; null until the first paint.
    textButton* startButton() const { return startButton_; }

  protected:
    void paint(DrawingContext& dc, const Rect& area) override;

  private:
    WelcomeHost* host_;
    textButton* startButton_ = nullptr;
};

}  // namespace orvane
