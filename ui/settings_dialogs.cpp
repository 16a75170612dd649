#include "ui/settings_dialogs.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include "data/files.h"
#include "data/text_scan.h"
#include "platform/bitmap.h"
#include "platform/command_ids.h"
#include "platform/fonts.h"
#include "platform/memory_surface.h"
#include "platform/qt_text.h"
#include "ui/buttons.h"
#include "ui/help.h"

namespace orvane {

namespace {

// The templates' font: "MS Sans Serif" at 8 points, 11 pixels on a 96 dpi
// screen.
Font templateFont() { return Font::create("MS Sans Serif", 11); }

std::string trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A speed given as a real number, truncated towards zero and kept within
// the 32-bit range (NaN counts as 0).
int wholeSpeed(double speed) {
    if (!(speed == speed)) return 0;
    constexpr double kMin = std::numeric_limits<int>::min();
    constexpr double kMax = std::numeric_limits<int>::max();
    return static_cast<int>(std::trunc(std::clamp(speed, kMin, kMax)));
}

// Limits an edit box to a number of UTF-8 bytes, as the text fields behind
// the boxes are sized; Qt's own limit counts UTF-16 units, so a name in
// Cyrillic would pass it at twice the bytes. Typed or pasted text that does
// not fit loses its last characters before the cursor, as with the maximum
// length.
class Utf8LengthValidator : public QValidator {
  public:
    Utf8LengthValidator(int maxBytes, QObject* parent) : QValidator(parent), maxBytes_(maxBytes) {}

    State validate(QString& input, int& pos) const override {
        qsizetype bytes = input.toUtf8().size();
        while (bytes > maxBytes_ && pos > 0) {
            int from = pos - 1;
            if (from > 0 && input[from].isLowSurrogate() && input[from - 1].isHighSurrogate()) --from;
            bytes -= input.mid(from, pos - from).toUtf8().size();
            input.remove(from, pos - from);
            pos = from;
        }
        return bytes > maxBytes_ ? Invalid : Acceptable;
    }

  private:
    int maxBytes_;
};

// --- pictures of the view dialog's buttons ----------------------------------

void drawGlobe(DrawingContext& dc, const Rect& box) {
    dc.selectPen(Pen::solid(Colour{0, 0, 128}));
    dc.selectBrush(Brush::solid(Colour{0, 64, 192}));
    dc.ellipse(box);
    // Two patches of land and a grid line or two.
    int w = width(box), h = height(box);
    dc.selectPen(stock::kNullPen);
    dc.selectBrush(Brush::solid(Colour{0, 160, 0}));
    dc.ellipse({box.left + w / 5, box.top + h / 5, box.left + w / 2, box.top + h / 2});
    dc.ellipse({box.left + w / 2, box.top + h / 2, box.left + 4 * w / 5, box.top + 5 * h / 6});
    dc.selectPen(Pen::solid(Colour{128, 160, 255}));
    dc.moveTo({box.left + 1, box.top + h / 2});
    dc.lineTo({box.right - 1, box.top + h / 2});
    dc.selectBrush(stock::kNullBrush);
    dc.ellipse({box.left + w / 3, box.top, box.right - w / 3, box.bottom});
    // The epicentre.
    dc.selectPen(stock::kNullPen);
    dc.selectBrush(Brush::solid(colours::kRed));
    dc.ellipse(
        {box.left + w / 2 - 3, box.top + h / 3 - 3, box.left + w / 2 + 3, box.top + h / 3 + 3});
}

void drawCrossSection(DrawingContext& dc, const Rect& box) {
    int w = width(box), h = height(box);
    Point c{box.left + w / 2, box.top + h / 2};
    auto disc = [&](int rx, int ry, Colour fill) {
        dc.selectBrush(Brush::solid(fill));
        dc.ellipse({c.x - rx, c.y - ry, c.x + rx, c.y + ry});
    };
    dc.selectPen(Pen::solid(colours::kGrey));
    disc(w / 2, h / 2, Colour{160, 96, 48});                 // mantle
    disc(w * 55 / 200, h * 55 / 200, Colour{200, 160, 0});   // outer core
    disc(w * 19 / 200, h * 19 / 200, Colour{240, 220, 80});  // inner core
    // Wavefronts of P (red) and S (cyan) spreading from a focus at the top.
    dc.selectBrush(stock::kNullBrush);
    Point focus{c.x, box.top + 3};
    dc.selectPen(Pen::solid(colours::kRed, 2));
    dc.arc({focus.x - w / 3, focus.y - h / 3, focus.x + w / 3, focus.y + h / 3},
           {focus.x - w / 3, focus.y + h / 6}, {focus.x + w / 3, focus.y + h / 6});
    dc.selectPen(Pen::solid(colours::kCyan, 2));
    dc.arc({focus.x - w / 5, focus.y - h / 5, focus.x + w / 5, focus.y + h / 5},
           {focus.x - w / 5, focus.y + h / 10}, {focus.x + w / 5, focus.y + h / 10});
    dc.selectPen(stock::kNullPen);
    dc.selectBrush(Brush::solid(colours::kYellow));
    dc.ellipse({focus.x - 3, focus.y - 2, focus.x + 3, focus.y + 4});
}

void drawSeismograms(DrawingContext& dc, const Rect& box) {
    dc.fillRect(box, stock::kWhiteBrush);
    int rows = 3;
    int step = height(box) / rows;
    for (int r = 0; r < rows; ++r) {
        int y = box.top + step / 2 + r * step;
        int onset = box.left + width(box) / 4 + r * width(box) / 8;
        std::vector<Point> trace;
        for (int x = box.left + 2; x < box.right - 2; ++x) {
            int dy = 0;
            if (x > onset) {
                int t = x - onset;
                double decay = std::exp(-t / 18.0);
                dy = static_cast<int>(std::lround(std::sin(t * 1.3) * (step / 2 - 1) * decay));
            }
            trace.push_back({x, y + dy});
        }
        dc.selectPen(stock::kBlackPen);
        dc.polyline(trace);
        dc.selectPen(Pen::solid(colours::kRed));
        dc.moveTo({onset, y - step / 2 + 1});
        dc.lineTo({onset, y + step / 2 - 1});
    }
}

QImage layoutPicture(int which) {
    MemorySurface s;
    s.createBitmap(120, 90, colours::kBlack);
    switch (which) {
        case kBitmapViewAll:
            drawSeismograms(s, {1, 1, 119, 44});
            drawGlobe(s, {2, 46, 44, 88});
            drawCrossSection(s, {46, 46, 88, 88});
            s.fillRect({90, 0, 120, 90}, stock::kLightGreyBrush);
            break;
        case kBitmapViewEarth:
            drawGlobe(s, {16, 2, 102, 88});
            s.fillRect({106, 0, 120, 90}, stock::kLightGreyBrush);
            break;
        default:
            drawCrossSection(s, {16, 2, 102, 88});
            s.fillRect({106, 0, 120, 90}, stock::kLightGreyBrush);
            break;
    }
    return s.bitmap();
}

QImage cancelPicture() {
    MemorySurface s;
    s.createBitmap(96, 72, colours::kLightGrey);
    s.selectPen(Pen::solid(colours::kRed, 7));
    s.moveTo({28, 6});
    s.lineTo({68, 44});
    s.moveTo({68, 6});
    s.lineTo({28, 44});
    s.selectFont(Font::create("Arial Bold", 15, 700));
    s.setBackgroundMode(BackgroundMode::Transparent);
    s.setTextAlign(kAlignCentre | kAlignTop);
    s.setTextColour(colours::kBlack);
    s.textOut({48, 51}, "Cancel");
    return s.bitmap();
}

}  // namespace

void registerViewDialogBitmaps() {
    // Once a process: these pictures are the program's own resources.
    static bool done = false;
    if (done) return;
    done = true;
    for (int id : {kBitmapViewAll, kBitmapViewEarth, kBitmapViewCrossSection})
        setBitmapResource(id, layoutPicture(id));
    setBitmapResource(kBitmapViewCancel, cancelPicture());
}

// --- templateDialog ------------------------------------------------------------

templateDialog::templateDialog(QWidget* parent, const std::string& title, int widthUnits,
                               int heightUnits)
    : DialogWindow(parent) {
    setWindowTitle(toQString(title));
    setFont(qtFont(templateFont()));
    Size base = dialogBaseUnits(templateFont());
    if (base.width > 0) unitWidth_ = base.width;
    if (base.height > 0) unitHeight_ = base.height;
    setFixedSize(units(0, 0, widthUnits, heightUnits).size());
}

QRect templateDialog::units(int x, int y, int w, int h) const {
    Rect r = dialogToPixels({x, y, x + w, y + h}, {unitWidth_, unitHeight_});
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

QWidget* templateDialog::control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void templateDialog::addControl(int id, QWidget* widget) {
    controls_[id] = widget;
    widget->setObjectName(QString::number(id));
}

QAbstractButton* templateDialog::addButton(int id, const std::string& text, int x, int y, int w,
                                           int h, bool isDefault) {
    auto* button = new QPushButton(toQString(text), this);
    button->setGeometry(units(x, y, w, h));
    button->setAutoDefault(false);
    button->setDefault(isDefault);
    connect(button, &QPushButton::clicked, this, [this, id] { command(id); });
    addControl(id, button);
    return button;
}

void templateDialog::addStatic(const std::string& text, int x, int y, int w, int h) {
    auto* label = new QLabel(toQString(text), this);
    label->setGeometry(units(x, y, w, h));
}

void templateDialog::addGroup(int id, const std::string& text, int x, int y, int w, int h) {
    auto* group = new QGroupBox(toQString(text), this);
    group->setGeometry(units(x, y, w, h));
    group->lower();
    addControl(id, group);
}

void templateDialog::addCheckBox(int id, const std::string& text, int x, int y, int w, int h) {
    auto* box = new QCheckBox(toQString(text), this);
    box->setGeometry(units(x, y, w, h));
    addControl(id, box);
}

void templateDialog::addEdit(int id, int maxBytes, int x, int y, int w, int h) {
    auto* edit = new QLineEdit(this);
    edit->setGeometry(units(x, y, w, h));
    // A character takes at least one UTF-16 unit and at least as many bytes.
    edit->setMaxLength(maxBytes);
    edit->setValidator(new Utf8LengthValidator(maxBytes, edit));
    addControl(id, edit);
}

QRadioButton* templateDialog::addRadio(int id, const std::string& text, int x, int y, int w,
                                       int h) {
    auto* radio = new QRadioButton(toQString(text), this);
    radio->setGeometry(units(x, y, w, h));
    // Exclusivity is the group's business (radioGroup): Qt's own would not
    // let the dialogs show no choice, or the several a record may hold.
    radio->setAutoExclusive(false);
    addControl(id, radio);
    return radio;
}

void templateDialog::radioGroup(const std::vector<int>& ids) {
    for (int id : ids) {
        auto* radio = control<QRadioButton>(id);
        if (!radio) continue;
        connect(radio, &QRadioButton::clicked, this, [this, ids, id] {
            for (int other : ids) setChecked(other, other == id);
        });
    }
}

void templateDialog::addOkCancelHelp(int x, int y, int gap, int helpId) {
    addButton(kIdOk, "OK", x, y, 40, 14, true);
    addButton(kIdCancel, "Cancel", x + 40 + gap, y, 40, 14);
    addButton(helpId, "Help", x + 2 * (40 + gap), y, 40, 14);
}

std::vector<int> templateDialog::checkedRadios(const std::vector<int>& group) const {
    std::vector<int> result;
    for (int id : group)
        if (isChecked(id)) result.push_back(id);
    return result;
}

void templateDialog::setChecked(int id, bool on) {
    if (auto* button = control<QAbstractButton>(id)) button->setChecked(on);
}

bool templateDialog::isChecked(int id) const {
    auto* button = control<QAbstractButton>(id);
    return button && button->isChecked();
}

void templateDialog::command(int id) {
    if (id == kIdOk) {
        accept();
    } else if (id == kIdCancel) {
        reject();
    } else if (id == helpId_ && helpTopic_ != 0) {
        openHelp(helpTopic_);
    }
}

// --- audioDialog ---------------------------------------------------------------

namespace {
const std::vector<int> kAudioRadios = {174, 175, 176, 177};
}

audioDialog::audioDialog(QWidget* parent, const Settings& s)
    : templateDialog(parent, "Audio", 150, 104), value_(s.audio) {
    addStatic("Specify what sound you want", 10, 6, 130, 9);
    addStatic("when a wave arrives at a station.", 10, 15, 130, 9);
    const char* texts[] = {"No sound", "PC speaker", "Earthquake", "Chime"};
    for (int i = 0; i < 4; ++i) addRadio(kAudioRadios[i], texts[i], 24, 30 + i * 12, 100, 10);
    radioGroup(kAudioRadios);
    for (int id : kAudioRadios) setChecked(id, false);
    if (s.audio >= 0 && s.audio <= 3) setChecked(kAudioRadios[s.audio], true);
    addOkCancelHelp(6, 82);
    setHelpTopic(kIdHelp, kHelpAudio);
}

void audioDialog::accept() {
    std::vector<int> on = checkedRadios(kAudioRadios);
    // With no choice checked the index stays the one shown at opening.
    if (!on.empty()) value_ = on.front() - kAudioRadios.front();
    templateDialog::accept();
}

// --- controlDialog -------------------------------------------------------------

namespace {
struct ControlFlag {
    int id;
    const char* text;
    bool Settings::*flag;
};
const ControlFlag kControlFlags[] = {
    {761, "Title bar", &Settings::titleBar},
    {103, "Menu bar", &Settings::menuBar},
    {104, "Can Exit", &Settings::canExit},
    {105, "Can select view", &Settings::selectView},
    {106, "Run from script", &Settings::runScript},
    {107, "Display Earthquake Information", &Settings::showEventInformation},
    {108, "Right button restarts", &Settings::rightButtonRestart},
    {109, "Show Welcome screen", &Settings::showWelcomeScreen},
    {110, "Run Tutorial", &Settings::tutorial},
    {101, "Select components", &Settings::selectComponents},
    {102, "Show Slider", &Settings::slider},
};
}  // namespace

controlDialog::controlDialog(QWidget* parent, Settings& s)
    : templateDialog(parent, "Controls", 160, 172), settings_(s) {
    int y = 8;
    for (const ControlFlag& f : kControlFlags) {
        addCheckBox(f.id, f.text, 14, y, 140, 10);
        setChecked(f.id, s.*f.flag);
        y += 12;
    }
    addOkCancelHelp(12, y + 8);
    setHelpTopic(kIdHelp, kHelpControls);
}

void controlDialog::accept() {
    for (const ControlFlag& f : kControlFlags) settings_.*f.flag = isChecked(f.id);
    settings_.tutorialSaved = settings_.tutorial;
    templateDialog::accept();
}

// --- eventDialog ---------------------------------------------------------------

namespace {
constexpr int kEventList = 162;

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}
}  // namespace

eventDialog::eventDialog(QWidget* parent) : templateDialog(parent, "Event Selection", 170, 120) {
    addStatic("Pick an Event", 10, 6, 100, 9);
    auto* list = new QListWidget(this);
    list->setGeometry(units(10, 17, 100, 96));
    list->setSortingEnabled(true);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    addControl(kEventList, list);
    if (auto names = listDirectory(".", "*.evt"))
        for (const std::string& name : *names) list->addItem(toQString(lowerCase(name)));
    // A double click picks the event, as OK does.
    connect(list, &QListWidget::itemDoubleClicked, this, [this] { command(kIdOk); });
    addButton(kIdOk, "OK", 120, 17, 40, 14, true);
    addButton(kIdCancel, "Cancel", 120, 35, 40, 14);
    addButton(kIdHelp, "Help", 120, 53, 40, 14);
    setHelpTopic(kIdHelp, kHelpEventList);
}

void eventDialog::accept() {
    auto* list = control<QListWidget>(kEventList);
    QListWidgetItem* item = list ? list->currentItem() : nullptr;
    // The whole name: a shortened one would name another file, or none.
    value_ = item && item->isSelected() ? toStdString(item->text()) : std::string();
    templateDialog::accept();
}

// --- phaseDialog ---------------------------------------------------------------

namespace {
constexpr int kLabelEarth = 102, kLabelCrossSection = 103, kLabelSeismogram = 105;
constexpr int kShowAll = 104, kShowP = 101, kShowS = 106, kShowSpecified = 107;
const std::vector<int> kPhaseRadios = {kShowAll, kShowP, kShowS, kShowSpecified};
}  // namespace

phaseDialog::phaseDialog(QWidget* parent, Settings& s)
    : templateDialog(parent, "Phases", 220, 200), settings_(s) {
    addGroup(110, "Label phases on view:", 8, 6, 204, 28);
    addCheckBox(kLabelEarth, "Earth", 16, 18, 50, 10);
    addCheckBox(kLabelCrossSection, "Cross section", 72, 18, 70, 10);
    addCheckBox(kLabelSeismogram, "Seismogram", 148, 18, 60, 10);
    addGroup(109, "Which phases to show on cross-section", 8, 40, 204, 136);
    addRadio(kShowAll, "All", 16, 52, 180, 10);
    addRadio(kShowP, "P plus all phases generated by P", 16, 64, 180, 10);
    addRadio(kShowS, "S plus all phases generated by S", 16, 76, 180, 10);
    addRadio(kShowSpecified, "Those indicated below", 16, 88, 180, 10);
    radioGroup(kPhaseRadios);
    // Two columns of four: left 111..114, right 115, 116, 118, 117.
    const int left[] = {111, 112, 113, 114};
    const int right[] = {115, 116, 118, 117};
    for (int row = 0; row < 4; ++row) {
        addEdit(left[row], kPhaseChars, 30, 102 + row * 18, 70, 12);
        addEdit(right[row], kPhaseChars, 120, 102 + row * 18, 70, 12);
    }
    addOkCancelHelp(32, 181);
    setHelpTopic(kIdHelp, kHelpPhases);

    setChecked(kLabelSeismogram, s.labelPhasesOnSeismogram);
    setChecked(kLabelCrossSection, s.labelPhasesOnCrossSection);
    setChecked(kLabelEarth, s.labelPhasesOnEarthView);
    setChecked(kShowAll, s.allPhasesOnCrossSection);
    setChecked(kShowP, s.pPhasesOnCrossSection);
    setChecked(kShowS, s.sPhasesOnCrossSection);
    setChecked(kShowSpecified, s.specifiedPhasesOnCrossSection);
    for (int i = 0; i < kBoxes; ++i) {
        auto* edit = control<QLineEdit>(111 + i);
        edit->clear();
        if (i < static_cast<int>(s.phases.size())) edit->setText(toQString(s.phases[i]));
    }
}

void phaseDialog::accept() {
    Settings& s = settings_;
    s.labelPhasesOnEarthView = isChecked(kLabelEarth);
    s.labelPhasesOnCrossSection = isChecked(kLabelCrossSection);
    s.labelPhasesOnSeismogram = isChecked(kLabelSeismogram);
    s.allPhasesOnCrossSection = isChecked(kShowAll);
    s.pPhasesOnCrossSection = isChecked(kShowP);
    s.sPhasesOnCrossSection = isChecked(kShowS);
    s.specifiedPhasesOnCrossSection = isChecked(kShowSpecified);
    s.phases.clear();
    for (int id = 111; id <= 118; ++id) {
        // The settings file keeps a phase as one word: surrounding blanks
        // would not survive it, and a box of blanks is no phase.
        std::string text = trimmed(toStdString(control<QLineEdit>(id)->text()));
        if (!text.empty()) s.appendPhase(cut(text, kPhaseChars));
    }
    templateDialog::accept();
}

// --- speedDialog ---------------------------------------------------------------

speedDialog::speedDialog(QWidget* parent, double timeAcceleration)
    : templateDialog(parent, "Relative Speed", 110, 146), value_(wholeSpeed(timeAcceleration)) {
    std::vector<int> ids;
    for (int i = 0; i < 11; ++i) {
        int id = 101 + i;
        ids.push_back(id);
        addRadio(id, std::to_string(kSpeedChoices[i]), 16, 8 + i * 12, 40, 10);
    }
    radioGroup(ids);
    for (int id : ids) setChecked(id, false);
    for (int i = 0; i < 11; ++i) {
        if (kSpeedChoices[i] <= value_) {
            setChecked(ids[i], true);
            break;
        }
    }
    // A choice made after opening becomes the value.
    for (int i = 0; i < 11; ++i) {
        auto* radio = control<QRadioButton>(ids[i]);
        int speed = kSpeedChoices[i];
        connect(radio, &QRadioButton::clicked, this, [this, speed] { value_ = speed; });
        connect(radio, &QRadioButton::toggled, this, [this, speed](bool on) {
            if (on) value_ = speed;
        });
    }
    addButton(kIdOk, "OK", 62, 8, 40, 14, true);
    addButton(kIdCancel, "Cancel", 62, 26, 40, 14);
    addButton(kIdHelp, "Help", 62, 44, 40, 14);
    setHelpTopic(kIdHelp, kHelpSpeed);
}

// --- time_windowDialog -----------------------------------------------------------

namespace {
const std::vector<int> kWindowRadios = {556, 557, 558, 559, 560, 561, 562};
}

time_windowDialog::time_windowDialog(QWidget* parent, std::int32_t timeWindowSeconds)
    : templateDialog(parent, "Time Window Dialog", 150, 110), value_(timeWindowSeconds / 60) {
    addStatic("Set seismogram time window", 10, 6, 130, 9);
    const char* texts[] = {"5 Minutes",  "10 Minutes", "15 Minutes", " 20 Minutes",
                           "30 Minutes", "45 Minutes", "1 Hour"};
    for (int i = 0; i < 7; ++i) addRadio(kWindowRadios[i], texts[i], 16, 20 + i * 12, 70, 10);
    radioGroup(kWindowRadios);
    for (int id : kWindowRadios) setChecked(id, false);
    for (int i = 0; i < 7; ++i) {
        if (kTimeWindowChoices[i] >= value_) {
            setChecked(kWindowRadios[i], true);
            break;
        }
    }
    addButton(kIdOk, "OK", 98, 20, 40, 14, true);
    addButton(kIdCancel, "Cancel", 98, 38, 40, 14);
    addButton(kIdHelp, "Help", 98, 56, 40, 14);
    setHelpTopic(kIdHelp, kHelpTimeWindow);
}

void time_windowDialog::accept() {
    std::vector<int> on = checkedRadios(kWindowRadios);
    if (!on.empty()) value_ = kTimeWindowChoices[on.front() - kWindowRadios.front()];
    templateDialog::accept();
}

// --- viewDialog ------------------------------------------------------------------

QSize viewDialog::buttonSize(int bx, int by) {
    // The pictures are 120 x 90 pixels: base units below those of the
    // classic system font (8 x 16) would make buttons smaller than them.
    bx = std::max(bx, 8);
    by = std::max(by, 16);
    return QSize(((bx * 165) / 4 * 2) / 5, ((by * 132) / 8 * 3) / 8);
}

viewDialog::viewDialog(QWidget* parent, Settings& s)
    : templateDialog(parent, "Orvane View", 186, 132), settings_(s) {
    registerViewDialogBitmaps();
    Size base = dialogBaseUnits(Font::system());
    QSize size = buttonSize(base.width, base.height);
    int w = size.width(), h = size.height();
    struct Place {
        int id, bitmap, x, y;
    };
    const Place places[] = {{kIdViewAll, kBitmapViewAll, 5, 5},
                            {kIdViewEarth, kBitmapViewEarth, 5, h + 10},
                            {kIdViewCrossSection, kBitmapViewCrossSection, w + 10, 5},
                            {kIdCancel, kBitmapViewCancel, w + 10, h + 10}};
    for (const Place& p : places) {
        auto* button = new myButton(this, p.id, p.bitmap, p.x, p.y, w, h);
        button->setClicks(true);
        addControl(p.id, button);
    }
    // The template's size, grown when the system font makes the buttons
    // larger than it.
    setFixedSize(std::max(width(), 2 * w + 15), std::max(height(), 2 * h + 15));
}

void viewDialog::command(int id) {
    switch (id) {
        case kIdViewAll:
            settings_.view = kViewAll;
            break;
        case kIdViewEarth:
            settings_.view = kView3d;
            break;
        case kIdViewCrossSection:
            settings_.view = kViewXs;
            break;
        case kIdCancel:
            break;  // keeps the view, yet counts as OK
        default:
            return;
    }
    accept();
}

}  // namespace orvane
