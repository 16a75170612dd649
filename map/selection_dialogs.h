#pragma once
// The map window's two modal dialogs: the event dialog (start the touched
// event or choose its stations) and the station dialog (choose the
// components shown for one station or for all of them).

#include <QDialog>
#include <array>
#include <functional>
#include <map>

#include "data/event.h"
#include "data/station.h"

class QCheckBox;
class QRadioButton;

namespace orvane {

/// Control ids of the two dialogs (dialog resources 303 and 306).
enum SelectionControlId : int {
    kIdEventName = 601,
    kIdEventDate = 602,
    kIdEventTime = 603,
    kIdEventLatitude = 556,
    kIdEventLongitude = 557,
    kIdEventDepth = 604,
    kIdEventMagnitude = 605,
    kIdEventSelectStations = 606,
    kIdComponentZ = 181,
    kIdComponentNorthSouth = 182,
    kIdComponentEastWest = 183,
    kIdThisStation = 184,
    kIdAllStations = 185,
    kIdStationTitle = 611,
    kIdStationLatitude = 612,
    kIdStationLongitude = 614,
    kIdStationArc = 613,
    kIdStationBackAzimuth = 186,
};

/// Help topics of the dialogs' "Help" buttons.
inline constexpr int kEventDialogHelpTopic = 1029;
inline constexpr int kStationDialogHelpTopic = 1016;

/// A dialog built in code whose controls are found by their numeric ids.
class SelectionDialog : public QDialog {
  public:
    using QDialog::QDialog;
    /// The control with that id; null when the dialog has none.
    QWidget* control(int id) const;
    /// The text of a text control (empty when there is none).
    QString controlText(int id) const;

  protected:
    /// Places a control at x, y with size w x h in dialog units.
    void place(QWidget* widget, int id, int x, int y, int w, int h);
    /// A static label (no id).
    void label(const char* text, int x, int y, int w, int h);
    /// A push button with its id; `action` runs when it is clicked.
    void button(const char* caption, int id, int x, int y, int w, int h,
                std::function<void()> action);
    /// The dialog's client size in dialog units.
    void setDialogSize(int w, int h);

  private:
    std::map<int, QWidget*> controls_;
};

/// "Event Information": the touched event, "GO", "Select Stations", Cancel.
class evtDialog : public SelectionDialog {
  public:
    evtDialog(QWidget* parent, const Event& event);
    /// After OK: true for "Select Stations", false for "GO".
    bool selectStations() const { return selectStations_; }

  private:
    const Event& event_;
    bool selectStations_ = false;
};

/// "Station Components": which components of one station are shown.
class stationDialog : public SelectionDialog {
  public:
    /// State of a component: unchecked, checked, or no file for it.
    enum State : int { kUnchecked = 0, kChecked = 1, kNotAvailable = 2 };

    /// `station` is an entry of `stationList`; with "All Stations" OK gives
    /// every station of `stationList` the same choice.
    stationDialog(QWidget* parent, Station& station, float arc, float backAzimuth);

    /// Gives the station the dialog's choice: the `used` flag of every
    /// component it has becomes (state = checked).
    void applyToStation();
    /// After OK: whether "All Stations" was chosen.
    bool allStations() const { return allStations_; }
    State state(int component) const { return state_[component]; }

    void accept() override;

  private:
    void boxClicked();
    void showStates();

    Station& station_;
    std::array<State, 3> state_{};
    std::array<QCheckBox*, 3> box_{};
    QRadioButton* thisStation_ = nullptr;
    QRadioButton* everyStation_ = nullptr;
    bool allStations_ = false;
};

}  // namespace orvane
