#pragma once
// The maintenance program's event editor and its one-line number dialogs.

#include <array>
#include <cstdint>
#include <string>

#include "data/event.h"
#include "data/settings.h"
#include "ui/settings_dialogs.h"

namespace orvane {

/// The editor's transfer record: every field as the text its box holds, and
/// the eight view-angle radio states (0, 45E, ... 45W).
struct EventEditorFields {
    std::string name, latitude, longitude, depth, magnitude;
    std::string year, month, day, hour, minute, second;
    std::string speed, timeWindow, timeLimit;
    std::array<bool, 8> viewAngle{};
};

/// The record for an event, in the editor's formats.
EventEditorFields editorFields(const Event& event);

/// Writes the record back into the event: text that does not scan leaves
/// its field as it was; the date and time texts and the file name follow.
void applyEditorFields(const EventEditorFields& fields, Event& event);

/// Why the record cannot be taken, naming the box; empty when it can.
std::string editorFieldsProblem(const EventEditorFields& fields);

/// "Edit Event": every field of one event. OK is refused (with a message)
/// while a box holds a value it cannot take.
class editeventDialog : public templateDialog {
  public:
    static constexpr int kName = 701, kLatitude = 702, kLongitude = 703, kDepth = 704,
                         kMagnitude = 705, kYear = 706, kMonth = 707, kDay = 708, kHour = 717,
                         kMinute = 719, kSecond = 718, kSpeed = 720, kTimeWindow = 721,
                         kTimeLimit = 709, kFirstAngle = 730;
    static constexpr int kHelpTopic = 1005;

    editeventDialog(QWidget* parent, const Event& event);

    /// The record as the boxes hold it now.
    EventEditorFields fields() const;
    /// Applies the record to `event` (after OK).
    void applyTo(Event& event) const { applyEditorFields(fields(), event); }
    void accept() override;
};

/// A one-line input dialog: a prompt, an edit box of 7 characters, OK and
/// Cancel.
class inputDialog : public templateDialog {
  public:
    static constexpr int kEdit = 100;
    static constexpr int kMaxChars = 7;
    inputDialog(QWidget* parent, const std::string& title, const std::string& prompt,
                const std::string& text);
    std::string text() const;
};

/// The number typed into a timeout box: leading blanks skipped, the digits up
/// to the first other character, 0 without digits. A negative number is no
/// time at all and gives 0 too.
std::uint32_t timeoutFromText(const std::string& text);

/// The three timing settings and their dialogs.
enum class TimeoutSetting { Initial, User, PauseAtEnd };

/// Runs the input dialog for one timing setting, stores the value and writes
/// the settings file as the command does (the opening screen timeout is
/// written whatever the answer).
void editTimeout(QWidget* parent, TimeoutSetting which);

}  // namespace orvane
