#include "map/selection_dialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "data/catalogue.h"
#include "data/text_scan.h"
#include "platform/command_ids.h"
#include "platform/fonts.h"
#include "platform/qt_text.h"
#include "ui/help.h"

namespace orvane {

namespace {

QString text(const std::string& s) { return toQString(s); }

}  // namespace

QWidget* SelectionDialog::control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

QString SelectionDialog::controlText(int id) const {
    if (auto* l = qobject_cast<QLabel*>(control(id))) return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(control(id))) return b->text();
    return {};
}

void SelectionDialog::place(QWidget* widget, int id, int x, int y, int w, int h) {
    Rect r = dialogToPixels(rectAt(x, y, w, h), dialogBaseUnits());
    widget->setGeometry(r.left, r.top, orvane::width(r), orvane::height(r));
    if (id != 0) controls_[id] = widget;
}

void SelectionDialog::label(const char* caption, int x, int y, int w, int h) {
    place(new QLabel(QString::fromUtf8(caption), this), 0, x, y, w, h);
}

void SelectionDialog::button(const char* caption, int id, int x, int y, int w, int h,
                             std::function<void()> action) {
    auto* b = new QPushButton(QString::fromUtf8(caption), this);
    b->setAutoDefault(false);
    place(b, id, x, y, w, h);
    connect(b, &QPushButton::clicked, this, [action = std::move(action)] { action(); });
}

void SelectionDialog::setDialogSize(int w, int h) {
    Rect r = dialogToPixels(rectAt(0, 0, w, h), dialogBaseUnits());
    setFixedSize(orvane::width(r), orvane::height(r));
}

evtDialog::evtDialog(QWidget* parent, const Event& event) : SelectionDialog(parent), event_(event) {
    setWindowTitle("Event Information");
    setModal(true);
    const char* labels[] = {
        "Name:", "Date:", "Time:", "Latitude:", "Longitude:", "Depth:", "Magnitude:"};
    const std::string values[] = {
        event_.name,
        event_.date,
        event_.originTime,
        format("%-8.3f", static_cast<double>(event_.latitude)),
        format("%-8.3f", static_cast<double>(event_.longitude)),
        format("%-8.0f", static_cast<double>(event_.depth)),
        format("%-8.1f", static_cast<double>(event_.magnitude)),
    };
    const int ids[] = {kIdEventName,      kIdEventDate,  kIdEventTime,     kIdEventLatitude,
                       kIdEventLongitude, kIdEventDepth, kIdEventMagnitude};
    for (int i = 0; i < 7; ++i) {
        int y = 8 + i * 13;
        label(labels[i], 8, y, 48, 10);
        place(new QLabel(text(values[i]), this), ids[i], 58, y, 140, 10);
    }
    int y = 8 + 7 * 13 + 6;
    button("GO", kIdOk, 8, y, 40, 14, [this] {
        selectStations_ = false;
        accept();
    });
    button("Select Stations", kIdEventSelectStations, 52, y, 64, 14, [this] {
        selectStations_ = true;
        accept();
    });
    button("Cancel", kIdCancel, 120, y, 40, 14, [this] { reject(); });
    button("Help", kIdHelp, 164, y, 40, 14, [] { openHelp(kEventDialogHelpTopic); });
    if (auto* go = qobject_cast<QPushButton*>(control(kIdOk))) go->setDefault(true);
    setDialogSize(212, y + 22);
}

stationDialog::stationDialog(QWidget* parent, Station& station, float arc, float backAzimuth)
    : SelectionDialog(parent), station_(station) {
    setWindowTitle("Station Components");
    setModal(true);
    place(new QLabel(
              text(format("%s: %s", station_.stationCode.c_str(), station_.stationName.c_str())),
              this),
          kIdStationTitle, 8, 8, 180, 10);
    const char* labels[] = {"Latitude:", "Longitude:", "Great-Circle Arc:", "Back Azimuth:"};
    const std::string values[] = {
        format("%-8.3f", static_cast<double>(station_.latitude)),
        format("%-8.3f", static_cast<double>(station_.longitude)),
        format("%-8.1f deg", static_cast<double>(arc)),
        format("%-8.1f deg", static_cast<double>(backAzimuth)),
    };
    const int ids[] = {kIdStationLatitude, kIdStationLongitude, kIdStationArc,
                       kIdStationBackAzimuth};
    for (int i = 0; i < 4; ++i) {
        int y = 22 + i * 12;
        label(labels[i], 8, y, 76, 10);
        place(new QLabel(text(values[i]), this), ids[i], 86, y, 80, 10);
    }

    const char* captions[] = {"Z", "N-S", "E-W"};
    const int boxIds[] = {kIdComponentZ, kIdComponentNorthSouth, kIdComponentEastWest};
    for (int c = 0; c < 3; ++c) {
        if (!station_.available[c])
            state_[c] = kNotAvailable;
        else
            state_[c] = station_.used[c] ? kChecked : kUnchecked;
        box_[c] = new QCheckBox(QString::fromUtf8(captions[c]), this);
        box_[c]->setTristate(state_[c] == kNotAvailable);
        place(box_[c], boxIds[c], 8 + c * 34, 74, 32, 10);
        connect(box_[c], &QCheckBox::clicked, this, [this] { boxClicked(); });
    }
    thisStation_ = new QRadioButton("This Station", this);
    everyStation_ = new QRadioButton("All Stations", this);
    place(thisStation_, kIdThisStation, 112, 70, 70, 10);
    place(everyStation_, kIdAllStations, 112, 82, 70, 10);
    thisStation_->setChecked(true);
    showStates();

    int y = 100;
    button("OK", kIdOk, 8, y, 44, 14, [this] { accept(); });
    button("Cancel", kIdCancel, 58, y, 44, 14, [this] { reject(); });
    button("Help", kIdHelp, 108, y, 44, 14, [] { openHelp(kStationDialogHelpTopic); });
    if (auto* ok = qobject_cast<QPushButton*>(control(kIdOk))) ok->setDefault(true);
    setDialogSize(190, y + 22);
}

void stationDialog::showStates() {
    for (int c = 0; c < 3; ++c) {
        Qt::CheckState shown = state_[c] == kChecked     ? Qt::Checked
                               : state_[c] == kUnchecked ? Qt::Unchecked
                                                         : Qt::PartiallyChecked;
        box_[c]->setCheckState(shown);
    }
}

void stationDialog::boxClicked() {
    // Components without a file keep their state whatever the box shows.
    for (int c = 0; c < 3; ++c) {
        if (state_[c] == kNotAvailable) continue;
        state_[c] = box_[c]->checkState() == Qt::Checked ? kChecked : kUnchecked;
    }
    showStates();
}

void stationDialog::applyToStation() {
    for (int c = 0; c < 3; ++c)
        if (state_[c] != kNotAvailable) station_.used[c] = state_[c] == kChecked;
}

void stationDialog::accept() {
    allStations_ = everyStation_->isChecked();
    if (allStations_) {
        for (Station& other : stationList)
            for (int c = 0; c < 3; ++c)
                if (state_[c] != kNotAvailable && other.available[c])
                    other.used[c] = state_[c] == kChecked;
    }
    QDialog::accept();
}

}  // namespace orvane
