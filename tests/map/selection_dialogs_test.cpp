#include "map/selection_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QRadioButton>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "data/catalogue.h"
#include "platform/command_ids.h"
#include "tests/support/temp_dir.h"
#include "ui/help.h"

using namespace orvane;

namespace {

QAbstractButton* buttonOf(const SelectionDialog& d, int id) {
    return qobject_cast<QAbstractButton*>(d.control(id));
}
QCheckBox* boxOf(const SelectionDialog& d, int id) {
    return qobject_cast<QCheckBox*>(d.control(id));
}

Event albuquerque() {
    Event e;
    e.name = "Albuquerque, N.M.";
    e.date = "1994/01/17";
    e.originTime = "12:30:55.4";
    e.latitude = 35.05f;
    e.longitude = -106.62f;
    e.depth = 10.4f;
    e.magnitude = 6.75f;
    return e;
}

Station stationWith(const char* code, std::array<bool, 3> available, std::array<bool, 3> used) {
    Station s;
    s.stationCode = code;
    s.stationName = "Somewhere";
    s.latitude = 34.9459f;
    s.longitude = -106.4572f;
    s.available = available;
    s.used = used;
    return s;
}

struct PageRecorder : HelpLauncher {
    bool startProgram(const std::string&, const std::vector<std::string>&) override {
        return false;
    }
    bool openFile(const std::string& path) override {
        opened.push_back(path);
        return true;
    }
    std::vector<std::string> opened;
};

void save(QWidget& w, const char* name) {
    std::filesystem::create_directories(ORVANE_BINARY_DIR "/pictures");
    w.adjustSize();
    EXPECT_TRUE(w.grab().toImage().save(QString(ORVANE_BINARY_DIR "/pictures/") + name));
}

}  // namespace

TEST(EventDialogTest, ShowsTheEventLeftAlignedAndPadded) {
    Event e = albuquerque();
    evtDialog d(nullptr, e);
    EXPECT_EQ(d.windowTitle(), "Event Information");
    EXPECT_EQ(d.controlText(kIdEventName), "Albuquerque, N.M.");
    EXPECT_EQ(d.controlText(kIdEventDate), "1994/01/17");
    EXPECT_EQ(d.controlText(kIdEventTime), "12:30:55.4");
    EXPECT_EQ(d.controlText(kIdEventLatitude), "35.050  ");
    EXPECT_EQ(d.controlText(kIdEventLongitude), "-106.620");
    EXPECT_EQ(d.controlText(kIdEventDepth), "10      ");
    EXPECT_EQ(d.controlText(kIdEventMagnitude), "6.8     ");
    EXPECT_EQ(d.controlText(kIdOk), "GO");
    EXPECT_EQ(d.controlText(kIdEventSelectStations), "Select Stations");
    EXPECT_EQ(d.control(4711), nullptr);
    save(d, "event_dialog.png");
}

TEST(EventDialogTest, GoSelectStationsCancelAndHelp) {
    Event e = albuquerque();
    {
        evtDialog d(nullptr, e);
        buttonOf(d, kIdOk)->click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_FALSE(d.selectStations());
    }
    {
        evtDialog d(nullptr, e);
        buttonOf(d, kIdEventSelectStations)->click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_TRUE(d.selectStations());
    }
    {
        evtDialog d(nullptr, e);
        buttonOf(d, kIdCancel)->click();
        EXPECT_EQ(d.result(), QDialog::Rejected);
    }
    // Help opens the topic's page beside the data.
    TempDir dir;
    ScopedCurrentDir here(dir.path());
    std::filesystem::create_directory(dir.file("help"));
    for (const char* page : {"help/1029.html", "help/1016.html"})
        std::ofstream(dir.file(page)) << "x";
    auto launcher = std::make_unique<PageRecorder>();
    PageRecorder* pages = launcher.get();
    auto previous = setHelpLauncher(std::move(launcher));
    unsetenv("WINDIR");
    evtDialog d(nullptr, e);
    buttonOf(d, kIdHelp)->click();
    stationList = {stationWith("XYZ", {true, true, true}, {})};
    stationDialog s(nullptr, stationList[0], 1, 2);
    buttonOf(s, kIdHelp)->click();
    EXPECT_EQ(pages->opened, (std::vector<std::string>{helpPagePath(1029), helpPagePath(1016)}));
    setHelpLauncher(std::move(previous));
}

TEST(StationDialogTest, ShowsTheStationDistanceAndBackAzimuth) {
    stationList = {stationWith("ANMO", {true, false, true}, {true, false, false})};
    stationDialog d(nullptr, stationList[0], 87.654f, 301.25f);
    EXPECT_EQ(d.windowTitle(), "Station Components");
    EXPECT_EQ(d.controlText(kIdStationTitle), "ANMO: Somewhere");
    EXPECT_EQ(d.controlText(kIdStationLatitude), "34.946  ");
    EXPECT_EQ(d.controlText(kIdStationLongitude), "-106.457");
    EXPECT_EQ(d.controlText(kIdStationArc), "87.7     deg");
    EXPECT_EQ(d.controlText(kIdStationBackAzimuth), "301.2    deg");
    EXPECT_EQ(boxOf(d, kIdComponentZ)->checkState(), Qt::Checked);
    EXPECT_EQ(boxOf(d, kIdComponentNorthSouth)->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(boxOf(d, kIdComponentEastWest)->checkState(), Qt::Unchecked);
    EXPECT_TRUE(qobject_cast<QRadioButton*>(d.control(kIdThisStation))->isChecked());
    EXPECT_FALSE(qobject_cast<QRadioButton*>(d.control(kIdAllStations))->isChecked());
    save(d, "station_dialog.png");
}

TEST(StationDialogTest, ComponentsWithoutAFileNeverChange) {
    stationList = {stationWith("ONLYZ", {true, false, false}, {true, false, false})};
    stationDialog d(nullptr, stationList[0], 0, 0);
    for (int i = 0; i < 3; ++i) {
        boxOf(d, kIdComponentNorthSouth)->click();
        boxOf(d, kIdComponentEastWest)->click();
        EXPECT_EQ(boxOf(d, kIdComponentNorthSouth)->checkState(), Qt::PartiallyChecked);
        EXPECT_EQ(boxOf(d, kIdComponentEastWest)->checkState(), Qt::PartiallyChecked);
    }
    EXPECT_EQ(d.state(kNorthSouth), stationDialog::kNotAvailable);
    boxOf(d, kIdComponentZ)->click();
    EXPECT_EQ(d.state(kVertical), stationDialog::kUnchecked);
    boxOf(d, kIdComponentZ)->click();
    boxOf(d, kIdComponentZ)->click();
    EXPECT_EQ(boxOf(d, kIdComponentZ)->checkState(), Qt::Unchecked);
    buttonOf(d, kIdOk)->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_FALSE(d.allStations());
    d.applyToStation();
    EXPECT_EQ(stationList[0].used, (std::array<bool, 3>{false, false, false}));
}

TEST(StationDialogTest, AllStationsTakeTheChoiceForComponentsBothHave) {
    stationList = {
        stationWith("ZNE", {true, true, true}, {false, true, false}),
        stationWith("ZE", {true, false, true}, {true, false, false}),
        stationWith("N", {false, true, false}, {false, false, false}),
        stationWith("NE", {false, true, true}, {false, false, true}),
    };
    // At "ZE": Z off, E-W on; N-S is not there, so nobody's N-S changes.
    stationDialog d(nullptr, stationList[1], 0, 0);
    boxOf(d, kIdComponentZ)->click();
    boxOf(d, kIdComponentEastWest)->click();
    qobject_cast<QRadioButton*>(d.control(kIdAllStations))->click();
    buttonOf(d, kIdOk)->click();
    ASSERT_TRUE(d.allStations());
    d.applyToStation();
    EXPECT_EQ(stationList[0].used, (std::array<bool, 3>{false, true, true}));
    EXPECT_EQ(stationList[1].used, (std::array<bool, 3>{false, false, true}));
    EXPECT_EQ(stationList[2].used, (std::array<bool, 3>{false, false, false}));
    EXPECT_EQ(stationList[3].used, (std::array<bool, 3>{false, false, true}));
    // A station's component without a file is never switched on.
    EXPECT_FALSE(stationList[2].used[kEastWest]);
}

TEST(StationDialogTest, CancelChangesNothing) {
    stationList = {stationWith("A", {true, true, true}, {true, false, true}),
                   stationWith("B", {true, true, true}, {false, true, false})};
    auto before = stationList;
    stationDialog d(nullptr, stationList[0], 0, 0);
    boxOf(d, kIdComponentZ)->click();
    boxOf(d, kIdComponentNorthSouth)->click();
    qobject_cast<QRadioButton*>(d.control(kIdAllStations))->click();
    buttonOf(d, kIdCancel)->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(stationList[i].used, before[i].used);
}
