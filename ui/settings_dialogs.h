#pragma once
// The settings dialogs shared by the viewer and the maintenance program:
// audio, controls, event list, phases, relative speed, time window and view.
//
// Each dialog is made for one use: construct, exec(), read its value. The
// dialogs never write files; after OK the caller writes the settings when it
// should. Controls keep their numeric ids (control<T>(id)), so callers and
// tests can reach them the way the dialog templates name them.

#include <QDialog>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "data/settings.h"
#include "platform/window.h"

class QAbstractButton;
class QRadioButton;

namespace orvane {

/// Help topics of the dialogs' "Help" buttons.
inline constexpr int kHelpAudio = 1002;
inline constexpr int kHelpEventList = 1005;
inline constexpr int kHelpControls = 1015;
inline constexpr int kHelpPhases = 1019;
inline constexpr int kHelpSpeed = 1024;
inline constexpr int kHelpTimeWindow = 1026;

/// Bitmap resources of the view dialog's buttons.
inline constexpr int kBitmapViewAll = 5;
inline constexpr int kBitmapViewCrossSection = 6;
inline constexpr int kBitmapViewEarth = 7;
inline constexpr int kBitmapViewCancel = 9;

/// Registers the view dialog's four pictures (done once; the view dialog
/// calls it).
void registerViewDialogBitmaps();

/// A dialog laid out from a template in dialog units, in the templates' font
/// ("MS Sans Serif", 8 points). Buttons send their id as a command: 1 closes
/// with OK, 2 with Cancel, the help id opens the help topic.
class templateDialog : public DialogWindow {
  public:
    templateDialog(QWidget* parent, const std::string& title, int widthUnits, int heightUnits);

    /// The control with numeric id `id`, or null.
    QWidget* control(int id) const;
    template <class T>
    T* control(int id) const {
        return dynamic_cast<T*>(control(id));
    }

    /// Ids of the radio buttons that are checked now, in the group's order.
    std::vector<int> checkedRadios(const std::vector<int>& group) const;
    /// Checks or unchecks one control (radio or check box) by id.
    void setChecked(int id, bool on);
    bool isChecked(int id) const;

    void command(int id) override;

  protected:
    /// Dialog units to pixels in the template font.
    QRect units(int x, int y, int w, int h) const;

    QAbstractButton* addButton(int id, const std::string& text, int x, int y, int w, int h,
                               bool isDefault = false);
    void addStatic(const std::string& text, int x, int y, int w, int h);
    void addGroup(int id, const std::string& text, int x, int y, int w, int h);
    void addCheckBox(int id, const std::string& text, int x, int y, int w, int h);
    /// An edit box holding at most `maxBytes` bytes of UTF-8, the size of
    /// the text field it fills; what does not fit whole is not taken.
    void addEdit(int id, int maxBytes, int x, int y, int w, int h);
    /// An automatic radio button. Radios of one group (see radioGroup) check
    /// themselves and uncheck the rest when clicked; setting them from code
    /// touches only the one set, as the system's radio buttons do.
    QRadioButton* addRadio(int id, const std::string& text, int x, int y, int w, int h);
    void radioGroup(const std::vector<int>& ids);
    void addControl(int id, QWidget* widget);
    /// The standard OK, Cancel and Help buttons, side by side from (x, y).
    void addOkCancelHelp(int x, int y, int gap = 6, int helpId = 9);

    void setHelpTopic(int helpId, int topic) {
        helpId_ = helpId;
        helpTopic_ = topic;
    }

  private:
    std::map<int, QWidget*> controls_;
    int unitWidth_ = 6;
    int unitHeight_ = 13;
    int helpId_ = 9;
    int helpTopic_ = 0;
};

/// "Audio": which sound a wave arrival makes.
class audioDialog : public templateDialog {
  public:
    explicit audioDialog(QWidget* parent, const Settings& s = settings);
    /// After OK: the chosen `audio` index (the one shown at opening when no
    /// choice is checked).
    std::int32_t value() const { return value_; }
    void accept() override;

  private:
    std::int32_t value_;
};

/// "Controls" (maintenance program): the viewer's behaviour flags. OK stores
/// them in the settings record.
class controlDialog : public templateDialog {
  public:
    explicit controlDialog(QWidget* parent, Settings& s = settings);
    void accept() override;

  private:
    Settings& settings_;
};

/// "Event Selection": the event files of the current directory.
class eventDialog : public templateDialog {
  public:
    explicit eventDialog(QWidget* parent);
    /// After OK: the chosen file name in lower case, empty when none was chosen.
    const std::string& value() const { return value_; }
    void accept() override;

  private:
    std::string value_;
};

/// "Phases": where phases are labelled and which the cross-section shows. OK
/// stores them in the settings record.
class phaseDialog : public templateDialog {
  public:
    static constexpr int kBoxes = 8;
    static constexpr int kPhaseChars = 15;
    explicit phaseDialog(QWidget* parent, Settings& s = settings);
    void accept() override;

  private:
    Settings& settings_;
};

/// "Relative Speed": simulated seconds per real second.
class speedDialog : public templateDialog {
  public:
    speedDialog(QWidget* parent, double timeAcceleration);
    /// The speed to use after OK: the last choice clicked, else the whole part
    /// of the speed given at opening.
    int value() const { return value_; }

  private:
    int value_;
};

/// "Time Window Dialog": minutes of seismogram shown at once.
class time_windowDialog : public templateDialog {
  public:
    time_windowDialog(QWidget* parent, std::int32_t timeWindowSeconds);
    /// After OK: the chosen minutes (the minutes given at opening when no
    /// choice is checked). The window is value() * 60 seconds.
    std::int32_t value() const { return value_; }
    void accept() override;

  private:
    std::int32_t value_;
};

/// "Orvane View": four picture buttons choose the layout; the fourth keeps
/// it. Every button closes with OK; Escape closes with Cancel.
class viewDialog : public templateDialog {
  public:
    explicit viewDialog(QWidget* parent, Settings& s = settings);
    void command(int id) override;
    /// Button size from the system's dialog base units.
    static QSize buttonSize(int baseWidth, int baseHeight);

  private:
    Settings& settings_;
};

/// The value tables of the choices, in radio order.
inline constexpr int kSpeedChoices[] = {100, 50, 20, 10, 5, 0, -5, -10, -20, -50, -100};
inline constexpr int kTimeWindowChoices[] = {5, 10, 15, 20, 30, 45, 60};

}  // namespace orvane
