#pragma once
// The viewer's main window. Its client is first the welcome window, then the
// world map, then the view layout of one event; it carries the command menu,
// handles every command, starts events by building their views and hosts the
// run controller, whose four timers are the frame's.

#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/run_controller.h"
#include "app/side_panel.h"
#include "app/welcome_window.h"
#include "platform/window.h"

class QAction;
class QDialog;

namespace orvane {

class child3D;
class childSeis;
class childXS;
class myLayoutWindow;

class myFrame : public FrameWindow, public RunHost, public ControlPanelHost, public WelcomeHost {
  public:
    /// A frame with `welcome` (may be null) as its first client. The window
    /// style follows Settings.titleBar; the menu comes with Settings.menuBar.
    explicit myFrame(welcomeWindow* welcome);
    ~myFrame() override;

    /// Frame set-up once the window exists: second timer, and the map at
    /// once when there is no welcome screen.
    void setUp();

    void command(int id) override;
    void onTimer(int id) override;
    void onActivated(bool active) override;

    RunController& run() { return run_; }
    myLayoutWindow* layoutWindow() const { return layoutWindow_; }
    QWidget* mapWindow() const { return mapWindow_; }
    welcomeWindow* welcomePane() const { return welcomePane_; }
    std::int32_t builtView() const { return builtView_; }
    /// Size of the client area (below the menu).
    Size clientSize() const;

    /// Runs a modal dialog; QDialog::Accepted for OK. Tests answer in its place.
    std::function<int(QDialog&)> runDialog;
    /// Where "Make bitmap" saves; the default asks with a save-file dialog.
    std::function<std::optional<std::string>()> askBitmapName;

    // RunHost
    bool setWindowTimer(int id, int ms) override;
    void killWindowTimer(int id) override;
    std::uint32_t systemTickCount() override;
    bool inputWaiting() override;
    void stopTune() override;
    void playTune(const std::string& name) override;
    void openMidi() override;
    void closeMidi() override;
    void drawPulse(float size) override;
    void crossSectionLoadTables() override;
    bool crossSectionDrawWaves(std::int16_t t) override;
    void crossSectionPresent() override;
    void crossSectionReset() override;
    void crossSectionClear() override;
    void globeDrawWaves(float t) override;
    void globePresent() override;
    void globeReset() override;
    void globeClear() override;
    void globeExportFrame(float t) override;
    void seismogramLayout(float t) override;
    void seismogramAdvance(float t) override;
    void seismogramRepaint() override;
    void readSpeed() override;
    void showMinutes(float t) override;
    void pauseChanged() override;
    std::unique_ptr<TextPopup> openTutorial(const TutorialEntry& entry, TutorialMode mode,
                                            TutorialPosition position) override;
    void frameCommand(int id) override { command(id); }
    void startEventNamed(const std::string& name) override;
    std::size_t catalogueSize() override;
    std::string catalogueName(std::size_t index) override;

    // ControlPanelHost
    bool paused() const override;
    void setPaused(bool paused) override;
    void setResumeTime(float seconds) override;
    void stopTutorial() override { run_.stopTutorial(); }
    void postDeferred(int code) override { run_.postDeferred(code); }

    // WelcomeHost
    void deferCommand(int code, int milliseconds) override {
        run_.postDeferred(code, milliseconds);
    }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    child3D* globe() const;
    childSeis* seismograms() const;
    childXS* crossSection() const;
    void showStationNames();
    void buildMenu();
    void showMap();
    void exitProgram();
    void makeBitmap();
    void openInformation(const std::string& path);
    /// The information window on a text file, replacing any popup.
    void showInformation(const std::string& path);
    void about();
    bool accepted(QDialog& dialog);
    void listEvents();
    void selectView();
    void changeView(std::int32_t view);
    /// Runs a modal dialog with the tick timer stopped; `body` returns true
    /// when it restarted the event (then the timer is not set again).
    void withTickStopped(const std::function<bool()>& body);
    /// Replaces the client, keeping the old one (returned, detached).
    QWidget* takeClient();
    void destroyWelcome();
    void destroyMap();
    void destroyLayout();

    RunController run_{*this};
    myLayoutWindow* layoutWindow_ = nullptr;
    QPointer<QWidget> mapWindow_;
    QPointer<welcomeWindow> welcomePane_;
    std::int32_t builtView_ = 100;
    QAction* scriptAction_ = nullptr;
};

}  // namespace orvane
