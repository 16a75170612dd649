// Station files as the map offers them, through the real map window: a
// person presses the event's label, Select Stations, a station's mark, ticks
// its component and OK. The event file must then name the file whole, and
// loading the event must read its trace.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QTest>

#include "data/catalogue.h"
#include "data/event.h"
#include "data/event_loading.h"
#include "data/settings.h"
#include "map/map_window.h"
#include "map/selection_dialogs.h"
#include "platform/command_ids.h"
#include "tests/map/map_test_support.h"
#include "tests/support/temp_dir.h"

using namespace orvane;
using namespace orvane::testing;

namespace {

QPoint centreOf(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void clickControl(SelectionDialog* d, int id) {
    auto* control = qobject_cast<QAbstractButton*>(d->control(id));
    ASSERT_NE(control, nullptr) << "no control " << id;
    QTest::mouseClick(control, Qt::LeftButton);
}

TEST(MapStationFiles, AFileTheEventFileCanNameIsOfferedChosenWrittenAndLoaded) {
    settings.applyDefaults();
    mapServices = {};
    mapServices.setCurrentEventName = [](const std::string&) {};
    stationList.clear();
    TempDir dir;
    ScopedCurrentDir here(dir.path());
    FakeFrame frame;
    // Names as mseed2sac gives them: 31 characters fit a station record, 32 do not.
    const std::string fits = "IU.MAJO.00.BHZ.M.2011.070.05452";
    const std::string tooLong = "IU.INCN.00.BHZ.M.2011.070.054524";
    writeText(dir.file("d.evt"), eventText("Tohoku", 38.3, 142.4));
    std::filesystem::create_directory(dir.file("d"));
    writeStationFile(dir.file("d/" + fits), "MAJO", 36.5f, 138.2f, 0, 0);
    writeStationFile(dir.file("d/" + tooLong), "INCN", 37.5f, 127.0f, 0, 0);

    mapWindow map;
    map.resize(1000, 640);
    map.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    map.paintPending();
    ASSERT_EQ(catalogue.size(), 1u);

    whenDialogOpens([](QDialog* d) { clickControl(static_cast<evtDialog*>(d), kIdEventSelectStations); });
    QTest::mouseClick(&map, Qt::LeftButton, {}, centreOf(catalogue[0].labelBox));
    processEvents();
    ASSERT_EQ(map.mode(), 1);
    ASSERT_EQ(stationList.size(), 1u);  // INCN's file could never be loaded
    EXPECT_EQ(stationList[0].stationCode, "MAJO    ");
    map.paintPending();

    whenDialogOpens([](QDialog* d) {
        auto* s = static_cast<stationDialog*>(d);
        clickControl(s, kIdComponentZ);
        clickControl(s, kIdOk);
    });
    QTest::mouseClick(&map, Qt::LeftButton, {}, centreOf(stationList[0].markBox));
    processEvents();

    Event written("d.evt");
    ASSERT_EQ(written.stationFiles.size(), 1u);
    EXPECT_EQ(written.stationFiles[0].fileName, fits);
    LoadedEvent loaded;
    ASSERT_TRUE(loadEvent(loaded, "d.evt"));
    ASSERT_EQ(loaded.traceList.size(), 1u);
    EXPECT_EQ(loaded.traceList[0]->stationCode, "MAJO");
    EXPECT_EQ(loaded.traceList[0]->fileName, fits);
}

}  // namespace
