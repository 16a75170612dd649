#include "map/map_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QPointer>
#include <QRadioButton>
#include <cmath>
#include <cstdlib>

#include "data/catalogue.h"
#include "data/settings.h"
#include "map/selection_dialogs.h"
#include "platform/command_ids.h"
#include "platform/message_box.h"
#include "tests/map/map_test_support.h"
#include "tests/support/temp_dir.h"
#include "ui/buttons.h"
#include "ui/text_windows.h"

using namespace orvane;
using namespace orvane::testing;

namespace {

Point centreOf(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

std::optional<Colour> pixelAt(const mapWindow& map, Point p) {
    const QImage& image = map.picture();
    if (!image.valid(p.x, p.y)) return std::nullopt;
    QRgb c = image.pixel(p.x, p.y);
    return Colour{static_cast<std::uint8_t>(qRed(c)), static_cast<std::uint8_t>(qGreen(c)),
                  static_cast<std::uint8_t>(qBlue(c))};
}

// Presses a button of the event dialog as soon as it is open.
void pressWhenEventDialogOpens(int id) {
    whenDialogOpens([id](QDialog* d) {
        static_cast<QAbstractButton*>(static_cast<evtDialog*>(d)->control(id))->click();
    });
}

/// A tutorial page the test opens and closes by hand.
struct PageState {
    bool open = true;
    bool cancel = false;
    bool proceed = false;
    std::string topic;
};
class FakePage : public MapPopup {
  public:
    explicit FakePage(std::shared_ptr<PageState> s) : s_(std::move(s)) {}
    bool isOpen() const override { return s_->open; }
    bool cancelPressed() const override { return s_->cancel; }
    bool continuePressed() const override { return s_->proceed; }
    void close() override { s_->open = false; }

  private:
    std::shared_ptr<PageState> s_;
};

class MapWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.applyDefaults();
        mapServices = {};
        mapServices.setCurrentEventName = [this](const std::string& n) { currentEventName = n; };
        mapServices.allowClose = [this] { canClose = true; };
        mapServices.firstTutorialPage = [this]() -> std::optional<MapTutorialPage> {
            if (tutorialList.empty()) return std::nullopt;
            return MapTutorialPage{tutorialList[0].first, tutorialList[0].second};
        };
        stationList.clear();
        currentEventName.clear();
        clickHook = [this] { ++clicks; };
        // Three events: two close together in Japan, one in New Mexico.
        writeText(dir.file("a.evt"), eventText("Kobe", 34.6, 135.0));
        writeText(dir.file("B.EVT"), eventText("Near Kobe", 34.7, 135.2));
        writeText(dir.file("c.evt"), eventText("New Mexico", 35.05, -106.62, {"XYZ.BHZ"}));
        std::filesystem::create_directory(dir.file("c"));
        writeStationFile(dir.file("c/XYZ.BHZ"), "XYZ", -20, -60, 0, 0);
        writeStationFile(dir.file("c/XYZ.BHE"), "XYZ", -20, -60, 90, 90);
        writeStationFile(dir.file("c/ABC.BHZ"), "ABC", 60, 100, 0, 0);
        writeStationFile(dir.file("c/ABC.BHN"), "ABC", 60, 100, 0, 90);
    }
    void TearDown() override { clickHook = nullptr; }

    std::unique_ptr<mapWindow> openMap() {
        auto map = std::make_unique<mapWindow>();
        map->resize(1000, 640);
        map->paintPending();
        return map;
    }

    void tick(mapWindow& map, int n = 1) {
        for (int i = 0; i < n; ++i) map.onTimer(mapWindow::kSecondTimer);
        processEvents();
    }

    TempDir dir;
    ScopedCurrentDir here{dir.path()};
    FakeFrame frame;
    int clicks = 0;
    // The frame's run values as the map sees them.
    std::string currentEventName;
    bool canClose = false;
    std::vector<std::pair<std::string, unsigned>> tutorialList;
};

}  // namespace

TEST_F(MapWindowTest, CreationRescansTheCatalogueAndPaintingAllowsClosing) {
    catalogue.clear();
    canClose = false;
    auto map = openMap();
    ASSERT_EQ(catalogue.size(), 3u);
    EXPECT_EQ(catalogue[1].fileName, "B.EVT");
    EXPECT_TRUE(canClose);
    EXPECT_EQ(map->mode(), 0);
    ASSERT_NE(map->exitButton(), nullptr);
    EXPECT_EQ(map->exitButton()->caption(), "Exit");
    ASSERT_NE(map->informationButton(), nullptr);
    // Both buttons stand in the strip below the map.
    EXPECT_GT(map->exitButton()->y(), map->projection().mapRect().bottom);
    EXPECT_LE(map->informationButton()->geometry().right() + 1,
              map->projection().mapRect().right - 5);
}

TEST_F(MapWindowTest, LabelsStandOnTheEpicentresAndTheNearbyOneMovesDown) {
    auto map = openMap();
    const MapProjection& p = map->projection();
    // The mark is centred on the projected epicentre.
    Point albuquerque = p.point(35.05f, -106.62f);
    EXPECT_EQ(centreOf(catalogue[2].markBox).x, albuquerque.x);
    EXPECT_EQ(catalogue[2].markBox, (Rect{albuquerque.x - 10, albuquerque.y - 10,
                                          albuquerque.x + 11, albuquerque.y + 11}));
    EXPECT_NEAR(centreOf(catalogue[2].labelBox).x, albuquerque.x, 1);
    EXPECT_NEAR(centreOf(catalogue[2].labelBox).y, albuquerque.y, 1);
    // Longitude -106.62 lies a little right of the middle of the map.
    EXPECT_GT(albuquerque.x, centreOf(p.mapRect()).x);
    // The second Japanese label starts where the first one ends.
    EXPECT_EQ(catalogue[1].labelBox.top, catalogue[0].labelBox.bottom);
    EXPECT_EQ(height(catalogue[1].labelBox), height(catalogue[0].labelBox));
    // The label is drawn: its face is light grey, the map under it is not
    // the window's grey.
    Rect label = catalogue[2].labelBox;
    EXPECT_EQ(pixelAt(*map, {label.left + 4, label.top + 4}), colours::kLightGrey);
}

TEST_F(MapWindowTest, LabelsDoNotJumpWhenPaintedAgain) {
    auto map = openMap();
    std::vector<Rect> first;
    for (const Event& e : catalogue) first.push_back(e.labelBox);
    map->invalidate();
    map->paintPending();
    for (std::size_t i = 0; i < catalogue.size(); ++i) EXPECT_EQ(catalogue[i].labelBox, first[i]);
}

TEST_F(MapWindowTest, TouchingALabelStartsItsEventWhenComponentsAreNotChosen) {
    settings.selectComponents = false;
    settings.tutorial = true;
    auto map = openMap();
    map->click({5, 5});  // nothing there
    processEvents();
    EXPECT_TRUE(frame.commands.empty());
    EXPECT_EQ(clicks, 0);

    map->click(centreOf(catalogue[1].labelBox));
    processEvents();
    EXPECT_EQ(frame.commands, (std::vector<int>{kCmdStartEvent}));
    EXPECT_EQ(currentEventName, "B.EVT");
    EXPECT_EQ(map->selectedEvent(), 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(settings.tutorial);
    EXPECT_FALSE(map->timerActive(mapWindow::kSecondTimer));
}

TEST_F(MapWindowTest, TheFirstLabelContainingThePointIsTheOneTouched) {
    settings.selectComponents = false;
    auto map = openMap();
    // The bottom row of the first Japanese label is still its own; one
    // below is the second label's.
    Rect first = catalogue[0].labelBox;
    map->click({first.left + 2, first.bottom - 1});
    map->click({first.left + 2, first.bottom});
    processEvents();
    EXPECT_EQ(frame.commands.size(), 2u);
    EXPECT_EQ(currentEventName, "B.EVT");
}

TEST_F(MapWindowTest, AnEventWhoseFileCannotBeReadIsShownButNeverStarted) {
    std::filesystem::create_symlink(dir.file("nowhere"), dir.file("d.evt"));
    settings.selectComponents = false;
    currentEventName = "c.evt";
    auto map = openMap();
    ASSERT_EQ(catalogue.size(), 4u);
    EXPECT_FALSE(catalogue[3].labelBox.empty());
    map->click(centreOf(catalogue[3].labelBox));
    processEvents();
    EXPECT_TRUE(frame.commands.empty());
    EXPECT_EQ(currentEventName, "c.evt");
}

TEST_F(MapWindowTest, EventDialogGoStartsAndCancelLeavesTheMapWaiting) {
    settings.timeout = 30;
    auto map = openMap();
    whenDialogOpens([](QDialog* d) { d->reject(); });
    map->click(centreOf(catalogue[2].labelBox));
    processEvents();
    EXPECT_TRUE(frame.commands.empty());
    EXPECT_EQ(map->mode(), 0);
    EXPECT_EQ(map->countdown(), 30u);  // the idle timeout runs again
    EXPECT_TRUE(map->timerActive(mapWindow::kSecondTimer));

    pressWhenEventDialogOpens(kIdOk);
    map->click(centreOf(catalogue[0].labelBox));
    processEvents();
    EXPECT_EQ(frame.commands, (std::vector<int>{kCmdStartEvent}));
    EXPECT_EQ(currentEventName, "a.evt");
}

TEST_F(MapWindowTest, SelectStationsDrawsEveryStationWithItsComponents) {
    auto map = openMap();
    pressWhenEventDialogOpens(kIdEventSelectStations);
    map->click(centreOf(catalogue[2].labelBox));
    processEvents();
    ASSERT_EQ(map->mode(), 1);
    ASSERT_EQ(stationList.size(), 2u);
    map->paintPending();

    // ABC (first in the listing): Z and N-S, neither chosen.
    const Station& abc = stationList[0];
    const Station& xyz = stationList[1];
    ASSERT_EQ(abc.stationCode.substr(0, 3), "ABC");
    Point a = map->projection().point(60, 100);
    EXPECT_EQ(abc.markBox, (Rect{a.x - 8, a.y - 8, a.x + 9, a.y + 9}));
    EXPECT_EQ(pixelAt(*map, a), colours::kWhite);                   // Z circle
    EXPECT_EQ(pixelAt(*map, {a.x - 1, a.y + 6}), colours::kWhite);  // N-S bar
    EXPECT_EQ(pixelAt(*map, {a.x - 6, a.y}), colours::kBlue);       // no E-W bar
    EXPECT_EQ(pixelAt(*map, {a.x - 5, a.y - 5}), colours::kBlue);   // the box
    EXPECT_EQ(pixelAt(*map, {a.x - 8, a.y + 3}), colours::kBlack);  // its outline
    // XYZ: Z chosen (red), E-W available (white), no N-S.
    Point x = map->projection().point(-20, -60);
    EXPECT_EQ(pixelAt(*map, x), colours::kRed);
    EXPECT_EQ(pixelAt(*map, {x.x - 7, x.y}), colours::kWhite);
    EXPECT_EQ(pixelAt(*map, {x.x + 6, x.y - 1}), colours::kWhite);
    EXPECT_EQ(pixelAt(*map, {x.x, x.y + 6}), colours::kBlue);
    EXPECT_EQ(xyz.used, (std::array<bool, 3>{true, false, false}));
    // The event's star replaces its label.
    Point star = centreOf(catalogue[2].markBox);
    EXPECT_EQ(pixelAt(*map, star), colours::kRed);
}

TEST_F(MapWindowTest, StationChoiceIsWrittenToTheEventFile) {
    auto map = openMap();
    pressWhenEventDialogOpens(kIdEventSelectStations);
    map->click(centreOf(catalogue[2].labelBox));
    processEvents();
    map->paintPending();
    ASSERT_EQ(stationList.size(), 2u);

    // At XYZ: Z off, E-W on, for all stations.
    whenDialogOpens([](QDialog* d) {
        auto* s = static_cast<stationDialog*>(d);
        static_cast<QCheckBox*>(s->control(kIdComponentZ))->click();
        static_cast<QCheckBox*>(s->control(kIdComponentEastWest))->click();
        static_cast<QRadioButton*>(s->control(kIdAllStations))->click();
        static_cast<QAbstractButton*>(s->control(kIdOk))->click();
    });
    int before = clicks;
    map->click(centreOf(stationList[1].markBox));
    processEvents();
    EXPECT_EQ(clicks, before + 1);
    EXPECT_EQ(stationList[1].used, (std::array<bool, 3>{false, false, true}));
    EXPECT_EQ(stationList[0].used, (std::array<bool, 3>{false, false, false}));
    Event reread(dir.file("c.evt"));
    ASSERT_EQ(reread.stationFiles.size(), 1u);
    EXPECT_EQ(reread.stationFiles[0].fileName, "XYZ.BHE");
    EXPECT_EQ(reread.name, "New Mexico");
    Point x = map->projection().point(-20, -60);
    EXPECT_EQ(pixelAt(*map, {x.x - 7, x.y}), colours::kRed);  // E-W now chosen

    // Cancel changes nothing, in the list or the file.
    std::string fileBefore = reread.text({"XYZ.BHE"});
    whenDialogOpens([](QDialog* d) {
        auto* s = static_cast<stationDialog*>(d);
        static_cast<QCheckBox*>(s->control(kIdComponentZ))->click();
        s->reject();
    });
    map->click(centreOf(stationList[0].markBox));
    processEvents();
    EXPECT_EQ(stationList[0].used, (std::array<bool, 3>{false, false, false}));
    EXPECT_EQ(Event(dir.file("c.evt")).text({"XYZ.BHE"}), fileBefore);
    EXPECT_EQ(Event(dir.file("c.evt")).stationFiles.size(), 1u);

    // The star starts the event.
    map->click(centreOf(catalogue[2].markBox));
    processEvents();
    EXPECT_EQ(frame.commands, (std::vector<int>{kCmdStartEvent}));
    EXPECT_EQ(currentEventName, "c.evt");
}

TEST_F(MapWindowTest, NoFilesFoundLeavesStationModeWithOnlyTheStar) {
    MessageBoxRecorder boxes;
    auto map = openMap();
    pressWhenEventDialogOpens(kIdEventSelectStations);
    map->click(centreOf(catalogue[0].labelBox));  // "a" has no data directory
    processEvents();
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.calls()[0].text, "No files found");
    EXPECT_EQ(boxes.calls()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(map->mode(), 1);
    EXPECT_TRUE(stationList.empty());
    map->paintPending();
    map->click({1, 1});
    processEvents();
    EXPECT_TRUE(frame.commands.empty());
    map->click(centreOf(catalogue[0].markBox));
    processEvents();
    EXPECT_EQ(frame.commands, (std::vector<int>{kCmdStartEvent}));
    EXPECT_EQ(currentEventName, "a.evt");
}

TEST_F(MapWindowTest, IdleTimeoutStartsTheFirstEventOrEndsTheProgram) {
    settings.timeout = 30;
    auto map = openMap();
    EXPECT_EQ(map->countdown(), 30u);
    tick(*map, 29);
    EXPECT_TRUE(frame.commands.empty());
    tick(*map);
    EXPECT_EQ(frame.commands, (std::vector<int>{kCmdStartEvent}));
    EXPECT_EQ(currentEventName, "a.evt");
    tick(*map, 40);  // the countdown ran out: nothing more
    EXPECT_EQ(frame.commands.size(), 1u);

    frame.commands.clear();
    settings.exitWhenDone = true;
    auto second = openMap();
    tick(*second, 30);
    EXPECT_EQ(frame.commands, (std::vector<int>{kCmdExit}));
}

TEST_F(MapWindowTest, NoTimeoutMeansNoIdleActionAndEmptyCatalogueWaits) {
    auto map = openMap();
    tick(*map, 100);
    EXPECT_TRUE(frame.commands.empty());
    map->setIdleTimeout(2);
    for (const char* name : {"a.evt", "B.EVT", "c.evt"}) std::filesystem::remove(dir.file(name));
    settings.timeout = 5;
    auto empty = openMap();
    EXPECT_TRUE(catalogue.empty());
    tick(*empty, 5);
    EXPECT_TRUE(frame.commands.empty());
    EXPECT_EQ(empty->countdown(), 5u);  // waits again
    tick(*map, 2);                      // the old map's catalogue is gone too
    EXPECT_TRUE(frame.commands.empty());
}

TEST_F(MapWindowTest, TutorialDemonstrationShowsThePageThenTouchesTheTutorialEvent) {
    settings.tutorial = true;
    settings.tutorialEvent = "c.EVT";
    tutorialList = {{"TUT_MAP.INF", 2}, {"TUT_EPI.INF", 40}};
    auto page = std::make_shared<PageState>();
    mapServices.openTutorial = [page](QWidget*, const std::string& topic) {
        page->topic = topic;
        return std::make_unique<FakePage>(page);
    };
    auto map = openMap();
    EXPECT_EQ(map->countdown(), 1u);
    tick(*map);
    EXPECT_EQ(page->topic, "TUT_MAP.INF");
    EXPECT_TRUE(map->hasTutorialWindow());
    tick(*map, 2);  // the page's two seconds
    EXPECT_TRUE(page->open);
    tick(*map);
    EXPECT_FALSE(page->open);
    EXPECT_EQ(map->tutorialStep(), 2);
    Rect label = catalogue[2].labelBox;
    tick(*map);  // touch: click and pressed label
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(pixelAt(*map, {label.left + 1, label.top + 1}), colours::kGrey);
    tick(*map);  // released
    EXPECT_EQ(pixelAt(*map, {label.left + 1, label.top + 1}), colours::kWhite);
    EXPECT_TRUE(frame.commands.empty());
    tick(*map);
    EXPECT_EQ(frame.commands, (std::vector<int>{kCmdStartEvent}));
    EXPECT_EQ(currentEventName, "c.evt");
}

TEST_F(MapWindowTest, TutorialPageCancelledOrClickedAway) {
    settings.tutorial = true;
    settings.tutorialEvent = "nothing.evt";  // falls back to the first event
    settings.timeout = 0;
    tutorialList = {{"TUT_MAP.INF", 20}};
    auto page = std::make_shared<PageState>();
    mapServices.openTutorial = [page](QWidget*, const std::string&) {
        return std::make_unique<FakePage>(page);
    };
    auto map = openMap();
    tick(*map, 3);
    page->open = false;
    page->cancel = true;
    tick(*map);
    EXPECT_FALSE(map->hasTutorialWindow());
    EXPECT_EQ(map->tutorialStep(), 0);
    EXPECT_EQ(map->countdown(), 0u);  // no timeout: the map waits for a touch
    tick(*map, 30);
    EXPECT_TRUE(frame.commands.empty());

    // A page closed without Cancel or Continue ends the tutorial mode.
    *page = PageState{};
    settings.timeout = 7;
    auto second = openMap();
    tick(*second, 2);
    page->open = false;
    tick(*second);
    EXPECT_FALSE(settings.tutorial);
    EXPECT_EQ(second->countdown(), 7u);
    tick(*second, 7);
    EXPECT_EQ(currentEventName, "a.evt");

    // Continue goes on with the demonstration at once.
    frame.commands.clear();
    settings.tutorial = true;
    *page = PageState{};
    auto third = openMap();
    tick(*third, 2);
    page->open = false;
    page->proceed = true;
    tick(*third);
    EXPECT_EQ(third->tutorialStep(), 2);
    tick(*third, 3);
    EXPECT_EQ(frame.commands, (std::vector<int>{kCmdStartEvent}));
    EXPECT_EQ(currentEventName, "a.evt");
}

TEST_F(MapWindowTest, DefaultTutorialPageIsAGuidedTutorialWindow) {
    mapServices.openTutorial = openTutorialWindow;
    settings.tutorial = true;
    writeText(dir.file("TUT_MAP.INF"), "Touch an earthquake.\n");
    tutorialList = {{"TUT_MAP.INF", 1}};
    auto map = openMap();
    tick(*map);
    ASSERT_TRUE(map->hasTutorialWindow());
    std::vector<myInfo*> pages;
    for (QWidget* w : map->findChildren<QWidget*>())
        if (auto* page = dynamic_cast<myInfo*>(w)) pages.push_back(page);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0]->mode(), myInfo::kGuided);
    EXPECT_TRUE(pages[0]->isVisible());
    EXPECT_NE(pages[0]->text().find("Touch an earthquake."), std::string::npos);
    QPointer<myInfo> page = pages[0];
    tick(*map, 2);  // its second, then it is closed and goes away
    EXPECT_TRUE(page.isNull() || !page->isVisible());
    EXPECT_FALSE(map->hasTutorialWindow());
}

TEST_F(MapWindowTest, InformationAndExitButtons) {
    settings.timeout = 12;
    std::vector<std::string> opened;
    mapServices.openInformation = [&](const std::string& f) { opened.push_back(f); };
    auto map = openMap();
    tick(*map, 5);
    map->informationButton()->click();
    EXPECT_EQ(opened, (std::vector<std::string>{"MAP_EV.INF"}));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(map->countdown(), 12u);
    map->exitButton()->click();
    processEvents();
    EXPECT_EQ(frame.commands, (std::vector<int>{kCmdExit}));

    settings.canExit = false;
    settings.exitLabel = "Leave";
    auto locked = openMap();
    EXPECT_EQ(locked->exitButton(), nullptr);
    EXPECT_NE(locked->informationButton(), nullptr);
}

// Renders the map of a working directory to a picture for people to look
// at: the test's own directory, or ORVANE_MAP_DIR when it is set.
TEST_F(MapWindowTest, RendersAPicture) {
    const char* other = std::getenv("ORVANE_MAP_DIR");
    std::unique_ptr<ScopedCurrentDir> there;
    if (other) there = std::make_unique<ScopedCurrentDir>(other);
    auto map = std::make_unique<mapWindow>();
    map->resize(1280, 760);
    map->paintPending();
    QImage picture = map->grab().toImage();
    std::filesystem::create_directories(ORVANE_BINARY_DIR "/pictures");
    EXPECT_TRUE(picture.save(ORVANE_BINARY_DIR "/pictures/map.png"));
    EXPECT_FALSE(catalogue.empty());
    // The title box is yellow and sits below the map.
    Rect map_ = map->projection().mapRect();
    QRgb below = picture.pixel(map_.left + width(map_) / 2 - 60, map_.bottom + 15);
    EXPECT_EQ(qRed(below), 255);
    EXPECT_EQ(qGreen(below), 255);

    // Station mode of the first event.
    pressWhenEventDialogOpens(kIdEventSelectStations);
    MessageBoxRecorder boxes;
    map->click(centreOf(catalogue[0].labelBox));
    processEvents();
    map->paintPending();
    EXPECT_TRUE(map->grab().toImage().save(ORVANE_BINARY_DIR "/pictures/map_stations.png"));
    EXPECT_EQ(map->mode(), 1);
}
