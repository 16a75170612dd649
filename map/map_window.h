#pragma once
// The world map: every catalogue event as a labelled box at its epicentre.
// Touching an event starts it, or shows its details and may turn the map to
// station mode, where the stations recorded for it are drawn with their
// components and can be chosen. The map also runs the idle timeout and the
// tutorial demonstration of the start screen.
//
// The map talks to the main frame through commands: it posts 1025 (start
// `currentEventName`, set through mapServices first) and 203 (Exit) to the
// main window.

#include <QImage>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "map/map_projection.h"
#include "platform/surface_window.h"

class QMouseEvent;

namespace orvane {

class textButton;

/// A text window the map opens for its tutorial demonstration. Destroying
/// it closes the window.
class MapPopup {
  public:
    virtual ~MapPopup() = default;
    /// The window is still shown.
    virtual bool isOpen() const = 0;
    /// It was closed through its Cancel button, which ends the demonstration.
    virtual bool cancelPressed() const = 0;
    /// It was closed through its Continue button.
    virtual bool continuePressed() const = 0;
    virtual void close() = 0;
};

/// The first page of the tutorial script.
struct MapTutorialPage {
    std::string topic;       ///< text file the page shows
    unsigned waitLimit = 0;  ///< seconds it stays open
};

/// What the map needs from the rest of the program. The run values it
/// touches (`currentEventName`, `canClose`, `tutorialList`) belong to the
/// main frame; the frame fills these in before it creates a map.
struct MapServices {
    /// Opens a guided tutorial window on a topic file; null when it cannot.
    /// By default a shown `myInfo` in guided mode.
    std::function<std::unique_ptr<MapPopup>(QWidget* parent, const std::string& topic)>
        openTutorial;
    /// Opens the main frame's information window on a text file (empty:
    /// the Information button only clicks).
    std::function<void(const std::string& fileName)> openInformation;
    /// Copies the name of the event to start into `currentEventName`; the
    /// map then posts command 1025 to the main window.
    std::function<void(const std::string& fileName)> setCurrentEventName;
    /// The map has painted: sets `canClose`.
    std::function<void()> allowClose;
    /// Entry 0 of `tutorialList`, or nothing when the list is empty.
    std::function<std::optional<MapTutorialPage>()> firstTutorialPage;
};
extern MapServices mapServices;

/// The default tutorial opener: a guided `myInfo` window, shown.
std::unique_ptr<MapPopup> openTutorialWindow(QWidget* parent, const std::string& topic);

/// Icon resource ids of the event's star in station mode: shown, and touched.
inline constexpr int kIconEarthquake = 402;
inline constexpr int kIconEarthquakeTouched = 403;

/// The earthquake star drawn at an event's mark box (icon 402 or 403); the
/// registered bitmap resource when there is one.
QImage earthquakeIcon(int id);

class mapWindow : public SurfaceWindow {
  public:
    static constexpr int kSecondTimer = 4;
    static constexpr int kWaitAfterTouchMs = 150;

    /// Rescans the catalogue and starts timer 4 with the idle countdown at
    /// `Settings.timeout` (1 in tutorial mode).
    explicit mapWindow(QWidget* parent = nullptr);
    ~mapWindow() override;

    /// 0 = event selection, 1 = station selection.
    int mode() const { return mode_; }
    /// Catalogue index of the event touched last; -1 before that.
    int selectedEvent() const { return selectedEvent_; }
    /// Seconds until the idle action (0 = none).
    unsigned countdown() const { return countdown_; }
    int tutorialStep() const { return tutorialStep_; }
    bool hasTutorialWindow() const { return tutorial_ != nullptr; }
    /// Sets the idle countdown (the main frame gives the map its timeout).
    void setIdleTimeout(unsigned seconds);

    /// The projection of the last paint.
    const MapProjection& projection() const { return projection_; }
    textButton* exitButton() const { return exitButton_; }
    textButton* informationButton() const { return informationButton_; }

    /// A left-button click at a client point.
    void click(Point p);

    void command(int id) override;
    void onTimer(int id) override;

  protected:
    void paint(DrawingContext& dc, const Rect& area) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void layOut(DrawingContext& dc, const Rect& area);
    void drawTitle(DrawingContext& dc, const Rect& area);
    void createButtons(DrawingContext& dc);
    void placeEvents(DrawingContext& dc);
    void drawLabel(DrawingContext& dc, int index, bool pressed);
    void drawStation(DrawingContext& dc, int index);
    void drawStations(DrawingContext& dc);
    void clickEvent(Point p);
    void clickStation(Point p);
    void showStations();
    void startEvent(int index);
    int eventToStart() const;
    void closeTutorial();
    void restartCountdown();
    void idleAction();

    MapProjection projection_;
    Rect strip_;
    int mode_ = 0;
    int selectedEvent_ = -1;
    unsigned countdown_ = 0;
    int tutorialStep_ = 0;
    std::unique_ptr<MapPopup> tutorial_;
    unsigned tutorialTime_ = 0;
    QImage world_;
    bool painted_ = false;
    textButton* exitButton_ = nullptr;
    textButton* informationButton_ = nullptr;
};

}  // namespace orvane
