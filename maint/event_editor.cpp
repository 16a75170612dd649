#include "maint/event_editor.h"

#include <QLineEdit>
#include <cctype>
#include <cstdint>
#include <limits>
#include <optional>

#include "data/text_scan.h"
#include "platform/command_ids.h"
#include "platform/message_box.h"
#include "platform/qt_text.h"

namespace orvane {

namespace {

// One text box of the editor: its id, its label in messages, its field of
// the record and the number of characters it holds.
struct Box {
    int id;
    const char* label;
    std::string EventEditorFields::*text;
    int maxChars;
};

const Box kBoxes[] = {
    {editeventDialog::kName, "Event Name", &EventEditorFields::name, 39},
    {editeventDialog::kLatitude, "Latitude", &EventEditorFields::latitude, 11},
    {editeventDialog::kLongitude, "Longitude", &EventEditorFields::longitude, 11},
    {editeventDialog::kDepth, "Depth", &EventEditorFields::depth, 7},
    {editeventDialog::kMagnitude, "Magnitude", &EventEditorFields::magnitude, 5},
    {editeventDialog::kYear, "Year", &EventEditorFields::year, 5},
    {editeventDialog::kMonth, "Month", &EventEditorFields::month, 3},
    {editeventDialog::kDay, "Day", &EventEditorFields::day, 3},
    {editeventDialog::kHour, "Hour", &EventEditorFields::hour, 3},
    {editeventDialog::kMinute, "Minute", &EventEditorFields::minute, 3},
    {editeventDialog::kSecond, "Second", &EventEditorFields::second, 5},
    {editeventDialog::kSpeed, "Speed", &EventEditorFields::speed, 7},
    {editeventDialog::kTimeWindow, "Time Window", &EventEditorFields::timeWindow, 7},
    {editeventDialog::kTimeLimit, "Time limit", &EventEditorFields::timeLimit, 7},
};

// Boxes that must hold a whole number within a range.
struct WholeRange {
    std::string EventEditorFields::*text;
    const char* label;
    int low, high;
};
const WholeRange kWholeRanges[] = {
    {&EventEditorFields::year, "Year", 1000, 2100},
    {&EventEditorFields::month, "Month", 1, 12},
    {&EventEditorFields::day, "Day", 1, 31},
    {&EventEditorFields::hour, "Hour", 0, 24},
    {&EventEditorFields::minute, "Minute", 0, 59},
    {&EventEditorFields::speed, "Speed", -100, 100},
    {&EventEditorFields::timeWindow, "Time Window", 5, 60},
    {&EventEditorFields::timeLimit, "Time limit", 5, 180},
};

// Real boxes that take any text, but whose numbers must describe a place and
// time on this Earth: a latitude of 200 or a focus below the centre would
// only mislead the views.
struct RealRange {
    std::string EventEditorFields::*text;
    const char* label;
    double low, high;
    bool highIncluded;
};
const RealRange kRealRanges[] = {
    {&EventEditorFields::latitude, "Latitude", -90, 90, true},
    {&EventEditorFields::longitude, "Longitude", -180, 180, true},
    {&EventEditorFields::depth, "Depth", 0, 6371, true},
    {&EventEditorFields::second, "Second", 0, 60, false},
};

// A whole number with an optional sign and nothing else but blanks around.
std::optional<long> wholeNumber(const std::string& text) {
    std::size_t i = 0, n = text.size();
    while (i < n && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::size_t digits = i;
    long value = 0;
    while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) {
        if (value < 100000000) value = value * 10 + (text[i] - '0');
        ++i;
    }
    if (i == digits) return std::nullopt;
    while (i < n && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i != n) return std::nullopt;
    return negative ? -value : value;
}

int wrapAngle(std::int32_t angle) {
    int a = angle % 360;
    return a < 0 ? a + 360 : a;
}

// Minutes to seconds, when the product fits.
std::optional<std::int32_t> minutesToSeconds(std::optional<std::int32_t> minutes) {
    if (!minutes) return std::nullopt;
    constexpr std::int32_t kLimit = std::numeric_limits<std::int32_t>::max() / 60;
    if (*minutes > kLimit || *minutes < -kLimit) return std::nullopt;
    return *minutes * 60;
}

template <class T>
void setIf(T& field, std::optional<T> value) {
    if (value) field = *value;
}

// "%u" of a signed field, as the editor scans it back.
std::optional<std::int32_t> scanCount(const std::string& text) {
    std::optional<std::uint32_t> v = scanUnsigned(text);
    if (!v || *v > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(*v);
}

}  // namespace

EventEditorFields editorFields(const Event& e) {
    EventEditorFields f;
    auto u = [](std::int32_t v) { return static_cast<unsigned>(v); };
    f.name = e.name;
    f.latitude = format("%-8.3f", static_cast<double>(e.latitude));
    f.longitude = format("%-8.3f", static_cast<double>(e.longitude));
    f.depth = format("%-6.1f", static_cast<double>(e.depth));
    f.magnitude = format("%-4.1f", static_cast<double>(e.magnitude));
    f.year = format("%04d", e.year);
    f.month = format("%u", u(e.month));
    f.day = format("%u", u(e.day));
    f.hour = format("%u", u(e.hour));
    f.minute = format("%u", u(e.minute));
    f.second = format("%-4.1f", static_cast<double>(e.second));
    f.speed = format("%d", e.timeAcceleration);
    f.timeWindow = format("%d", e.timeWindow / 60);
    f.timeLimit = format("%d", e.timeLimit / 60);
    for (const Box& box : kBoxes) f.*box.text = cutUtf8(f.*box.text, box.maxChars);
    f.viewAngle[wrapAngle(e.viewAngle) / 45] = true;
    return f;
}

void applyEditorFields(const EventEditorFields& f, Event& e) {
    e.viewAngle = 360;
    for (int i = 0; i < 8; ++i) {
        if (f.viewAngle[i]) {
            e.viewAngle = 45 * i;
            break;
        }
    }
    // One line of the event file: a line break would start a line of its own.
    std::string name = cutUtf8(f.name, Event::kNameWidth);
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 32 || c == 127) c = ' ';
    e.name = name;
    setIf(e.latitude, scanFloat(f.latitude));
    setIf(e.longitude, scanFloat(f.longitude));
    setIf(e.depth, scanFloat(f.depth));
    setIf(e.magnitude, scanFloat(f.magnitude));
    setIf(e.year, scanInt(f.year));
    setIf(e.month, scanCount(f.month));
    setIf(e.day, scanCount(f.day));
    setIf(e.hour, scanCount(f.hour));
    setIf(e.minute, scanCount(f.minute));
    setIf(e.second, scanFloat(f.second));
    e.refreshTexts();
    setIf(e.timeWindow, minutesToSeconds(scanInt(f.timeWindow)));
    setIf(e.timeLimit, minutesToSeconds(scanInt(f.timeLimit)));
    setIf(e.timeAcceleration, scanInt(f.speed));
}

std::string editorFieldsProblem(const EventEditorFields& f) {
    for (const WholeRange& r : kWholeRanges) {
        std::optional<long> v = wholeNumber(f.*r.text);
        if (!v || *v < r.low || *v > r.high)
            return format("%s: enter a whole number from %d to %d.", r.label, r.low, r.high);
    }
    for (const RealRange& r : kRealRanges) {
        std::optional<float> v = scanFloat(f.*r.text);
        if (!v) continue;  // text without a number leaves the field as it is
        bool above = r.highIncluded ? *v > r.high : *v >= r.high;
        if (*v < r.low || above)
            return format("%s: enter a number from %g to %s%g.", r.label, r.low,
                          r.highIncluded ? "" : "below ", r.high);
    }
    return {};
}

// --- editeventDialog -------------------------------------------------------------

editeventDialog::editeventDialog(QWidget* parent, const Event& event)
    : templateDialog(parent, "Edit Event", 316, 176) {
    const int x = 62;
    addStatic("Event Name", 8, 8, 52, 9);
    addEdit(kName, 39, x, 6, 186, 12);
    addStatic("Latitude", 8, 26, 52, 9);
    addEdit(kLatitude, 11, x, 24, 50, 12);
    addStatic("Longitude", 124, 26, 44, 9);
    addEdit(kLongitude, 11, 170, 24, 50, 12);
    addStatic("Depth", 8, 44, 52, 9);
    addEdit(kDepth, 7, x, 42, 50, 12);
    addStatic("Magnitude", 124, 44, 44, 9);
    addEdit(kMagnitude, 5, 170, 42, 30, 12);
    addStatic("Date", 8, 62, 30, 9);
    addStatic("Year:", 40, 62, 22, 9);
    addEdit(kYear, 5, x, 60, 28, 12);
    addStatic("Month:", 100, 62, 26, 9);
    addEdit(kMonth, 3, 128, 60, 20, 12);
    addStatic("Day:", 156, 62, 18, 9);
    addEdit(kDay, 3, 176, 60, 20, 12);
    addStatic("Time", 8, 80, 30, 9);
    addStatic("Hour", 40, 80, 22, 9);
    addEdit(kHour, 3, x, 78, 28, 12);
    addStatic("Minute:", 100, 80, 26, 9);
    addEdit(kMinute, 3, 128, 78, 20, 12);
    addStatic("Second:", 156, 80, 28, 9);
    addEdit(kSecond, 5, 186, 78, 28, 12);
    addStatic("View Angle", 8, 98, 52, 9);
    // Two rows of four: the east half above, the west half below.
    const char* angles[] = {"0", "45E", "90E", "135E", "180", "135W", "90W", "45W"};
    std::vector<int> radios;
    for (int i = 0; i < 8; ++i) {
        radios.push_back(kFirstAngle + i);
        addRadio(kFirstAngle + i, angles[i], x + (i % 4) * 40, 98 + (i / 4) * 12, 38, 10);
    }
    radioGroup(radios);
    addStatic("Speed", 8, 128, 52, 9);
    addStatic("(Relative speed)", 8, 137, 60, 9);
    addEdit(kSpeed, 7, 70, 128, 36, 12);
    addStatic("Time Window", 124, 128, 50, 9);
    addStatic("(In minutes)", 124, 137, 50, 9);
    addEdit(kTimeWindow, 7, 176, 128, 36, 12);
    addStatic("Time limit", 8, 156, 52, 9);
    addStatic("(in minutes)", 8, 165, 60, 9);
    addEdit(kTimeLimit, 7, 70, 156, 36, 12);
    addButton(kIdOk, "OK", 262, 6, 44, 14, true);
    addButton(kIdCancel, "Cancel", 262, 24, 44, 14);
    addButton(kIdEditorHelp, "Help", 262, 42, 44, 14);
    setHelpTopic(kIdEditorHelp, kHelpTopic);

    EventEditorFields f = editorFields(event);
    for (const Box& box : kBoxes) control<QLineEdit>(box.id)->setText(toQString(f.*box.text));
    for (int i = 0; i < 8; ++i) setChecked(kFirstAngle + i, f.viewAngle[i]);
}

EventEditorFields editeventDialog::fields() const {
    EventEditorFields f;
    for (const Box& box : kBoxes) f.*box.text = toStdString(control<QLineEdit>(box.id)->text());
    for (int i = 0; i < 8; ++i) f.viewAngle[i] = isChecked(kFirstAngle + i);
    return f;
}

void editeventDialog::accept() {
    std::string problem = editorFieldsProblem(fields());
    if (!problem.empty()) {
        messageBox(problem, "Edit Event");
        return;  // stays open until corrected or cancelled
    }
    templateDialog::accept();
}

// --- inputDialog --------------------------------------------------------------------

inputDialog::inputDialog(QWidget* parent, const std::string& title, const std::string& prompt,
                         const std::string& text)
    : templateDialog(parent, title, 180, 62) {
    addStatic(prompt, 8, 8, 164, 9);
    addEdit(kEdit, kMaxChars, 8, 20, 164, 12);
    control<QLineEdit>(kEdit)->setText(toQString(cut(text, kMaxChars)));
    addButton(kIdOk, "OK", 44, 40, 40, 14, true);
    addButton(kIdCancel, "Cancel", 96, 40, 40, 14);
}

std::string inputDialog::text() const { return toStdString(control<QLineEdit>(kEdit)->text()); }

std::uint32_t timeoutFromText(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i < text.size() && text[i] == '-') return 0;
    if (i < text.size() && text[i] == '+') ++i;
    std::uint64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
        if (value > std::numeric_limits<std::uint32_t>::max())
            return std::numeric_limits<std::uint32_t>::max();
    }
    return static_cast<std::uint32_t>(value);
}

void editTimeout(QWidget* parent, TimeoutSetting which) {
    struct Prompt {
        const char* title;
        const char* prompt;
        std::uint32_t Settings::*field;
    };
    static const Prompt kPrompts[] = {
        {"Opening Screen Timeout", "Time in sec", &Settings::initialTimeout},
        {"User Timeout", "Specify time in seconds", &Settings::timeout},
        {"Time to Pause at End", "Specify time in seconds", &Settings::secondsToPauseAtEnd},
    };
    const Prompt& p = kPrompts[static_cast<int>(which)];
    std::string shown = format("%u", settings.*p.field);
    inputDialog dialog(parent, p.title, p.prompt, shown);
    bool ok = dialog.exec() == QDialog::Accepted;
    if (which == TimeoutSetting::Initial) {
        // Written whatever the answer; Cancel keeps the text as shown.
        settings.*p.field = timeoutFromText(ok ? dialog.text() : shown);
        writeSettings();
    } else if (ok) {
        settings.*p.field = timeoutFromText(dialog.text());
        writeSettings();
    }
}

}  // namespace orvane
