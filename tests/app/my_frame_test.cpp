// The main frame: event start and its layouts, the view commands, Map, Exit,
// Make bitmap, information windows, the menu and the program's start-up and end.
#include "app/my_frame.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMenuBar>
#include <QMouseEvent>
#include <filesystem>
#include <fstream>

#include "app/layout_window.h"
#include "app/my_app.h"
#include "data/catalogue.h"
#include "data/event_loading.h"
#include "data/settings.h"
#include "map/map_window.h"
#include "platform/command_ids.h"
#include "platform/message_box.h"
#include "platform/system.h"
#include "platform/window.h"
#include "tests/app/run_host_fake.h"
#include "tests/support/temp_dir.h"
#include "ui/kit.h"

namespace orvane {
namespace {

class FrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::freshProgramState();
        settings.showEventInformation = false;
        screenWidth = 1920;
        screenHeight = 1080;
        std::ofstream(dir.file("quake.evt")) << "EVENT NAME: Test quake\n"
                                                "EVENT MAGNITUDE: 2.0\n"
                                                "TIME ACCELERATION: 20\n";
        QImage earth(64, 64, QImage::Format_RGB32);
        earth.fill(QColor(0, 0, 160));
        earth.save(QString::fromStdString(dir.file("earth180.bmp")), "BMP");
    }
    void TearDown() override {
        frame.reset();
        test::freshProgramState();
    }
    void makeFrame(bool welcome = true) {
        frame = std::make_unique<myFrame>(welcome ? new welcomeWindow() : nullptr);
        frame->resize(1920, 1040);
        frame->show();
    }
    std::vector<std::string> menuCaptions() const {
        std::vector<std::string> captions;
        for (QAction* a : frame->menuBar()->actions()) captions.push_back(a->text().toStdString());
        return captions;
    }

    MessageBoxRecorder messages;
    TempDir dir;
    ScopedCurrentDir inDir{dir.path()};
    std::unique_ptr<myFrame> frame;
};

TEST_F(FrameTest, EventStartReplacesTheWelcomeWindowWithTheLayout) {
    makeFrame();
    ASSERT_NE(frame->welcomePane(), nullptr);
    frame->startEventNamed("quake.evt");
    EXPECT_EQ(frame->welcomePane(), nullptr);
    ASSERT_NE(frame->layoutWindow(), nullptr);
    EXPECT_EQ(frame->centralWidget(), frame->layoutWindow());
    EXPECT_EQ(frame->builtView(), kViewAll);
    EXPECT_EQ(loadedEvent().name, "Test quake");
    EXPECT_TRUE(messages.calls().empty());
    EXPECT_TRUE(frame->run().showEarth && frame->run().showCrossSection &&
                frame->run().showSeismograms);
    EXPECT_TRUE(frame->run().timerActive(kOpeningTimer));
    EXPECT_FALSE(canClose);
    EXPECT_TRUE(viewsReady);
    EXPECT_GT(panelSize.width, 0);
    EXPECT_EQ(panelSize.width % 9, 0);  // nine letters of the frame's font
    EXPECT_EQ(panelSize.height, frame->clientSize().height);
    // The opening pulse lets the program close again and ends in the tick timer.
    for (int i = 0; i < 10 && frame->run().timerActive(kOpeningTimer); ++i)
        frame->onTimer(kOpeningTimer);
    EXPECT_TRUE(canClose);
    EXPECT_TRUE(frame->run().timerActive(kTickTimer));
    frame->onTimer(kTickTimer);
    EXPECT_EQ(frame->run().clock, 10.0f);
}

TEST_F(FrameTest, FailedLoadKeepsTheCurrentClient) {
    makeFrame();
    frame->startEventNamed("missing.evt");
    EXPECT_NE(frame->welcomePane(), nullptr);
    EXPECT_EQ(frame->layoutWindow(), nullptr);
    EXPECT_FALSE(frame->run().timerActive(kOpeningTimer));
}

TEST_F(FrameTest, MissingGlobePictureIsReportedAndTheRunDoesNotStart) {
    std::filesystem::remove(dir.file("earth180.bmp"));
    makeFrame();
    frame->startEventNamed("quake.evt");
    ASSERT_EQ(messages.calls().size(), 1u);
    EXPECT_EQ(messages.calls()[0],
              (MessageBoxCall{"Unable to open file", "earth180.bmp", MessageIcon::Exclamation}));
    EXPECT_TRUE(canClose);
    EXPECT_FALSE(frame->run().timerActive(kOpeningTimer));
    // The cross-section alone needs no picture.
    settings.view = kViewXs;
    frame->startEventNamed("quake.evt");
    EXPECT_TRUE(frame->run().timerActive(kOpeningTimer));
}

TEST_F(FrameTest, CrossSectionWithoutRoomForBitmapsIsReported) {
    settings.view = kViewXs;
    settings.menuBar = false;
    frame = std::make_unique<myFrame>(nullptr);
    frame->resize(300, 8);
    frame->show();
    frame->startEventNamed("quake.evt");
    ASSERT_EQ(messages.calls().size(), 1u);
    EXPECT_EQ(messages.calls()[0], (MessageBoxCall{"Unable to create bitmaps", "Cross-Section View",
                                                   MessageIcon::Exclamation}));
    EXPECT_TRUE(canClose);
    EXPECT_FALSE(frame->run().timerActive(kOpeningTimer));
}

TEST_F(FrameTest, EventInformationHoldsTheRunAtStart) {
    settings.showEventInformation = true;
    makeFrame();
    frame->startEventNamed("quake.evt");
    EXPECT_TRUE(held);
    ASSERT_NE(frame->run().infoWindow(), nullptr);
    EXPECT_FALSE(frame->run().infoWindow()->closed());
}

TEST_F(FrameTest, ChoosingTheViewInForceDoesNothingAnotherRebuildsAtTheClock) {
    makeFrame();
    frame->startEventNamed("quake.evt");
    myLayoutWindow* first = frame->layoutWindow();
    frame->run().clock = 321.0f;
    frame->command(kCmdViewAll);
    EXPECT_EQ(frame->layoutWindow(), first);
    EXPECT_EQ(resumeTime, 0.0f);

    frame->command(kCmdViewEarth);
    EXPECT_EQ(settings.view, kView3d);
    EXPECT_EQ(resumeTime, 321.0f);
    ASSERT_NE(frame->layoutWindow(), nullptr);
    EXPECT_EQ(frame->layoutWindow()->view(), kView3d);
    EXPECT_NE(frame->layoutWindow()->leftPanel(), nullptr);
    EXPECT_TRUE(frame->run().showEarth);
    EXPECT_FALSE(frame->run().showCrossSection);
    EXPECT_FALSE(frame->run().showSeismograms);
    // The choice is kept in the settings file.
    Settings stored;
    stored.read(dir.file("OV.INI"));
    EXPECT_EQ(stored.view, kView3d);
    // The resumed run skips the opening pulse.
    frame->onTimer(kOpeningTimer);
    EXPECT_EQ(frame->run().clock, 321.0f);
    EXPECT_TRUE(frame->run().timerActive(kTickTimer));
}

TEST_F(FrameTest, MapCommandStopsTheRunAndDropsLayoutAndWelcome) {
    makeFrame();
    frame->startEventNamed("quake.evt");
    frame->run().tickPeriod = 500;
    frame->run().setTimer(kTickTimer, 500);
    frame->command(kCmdMap);
    EXPECT_EQ(frame->layoutWindow(), nullptr);
    EXPECT_EQ(frame->welcomePane(), nullptr);
    EXPECT_EQ(frame->run().tickPeriod, 0);
    EXPECT_EQ(frame->run().clock, 0.0f);
    for (int id : {kOpeningTimer, kTickTimer, kDeferredTimer})
        EXPECT_FALSE(frame->run().timerActive(id));
    // An event after the map builds a fresh layout.
    frame->startEventNamed("quake.evt");
    EXPECT_NE(frame->layoutWindow(), nullptr);
}

TEST_F(FrameTest, DialogsRunWithTheTickStoppedAndResumeIt) {
    makeFrame();
    frame->startEventNamed("quake.evt");
    frame->run().tickPeriod = 450;
    frame->run().setTimer(kTickTimer, 450);
    bool tickRunningInside = true;
    frame->runDialog = [&](QDialog&) {
        tickRunningInside = frame->run().timerActive(kTickTimer);
        return int(QDialog::Rejected);
    };
    for (int id : {kCmdPhases, kCmdSpeed, kCmdAudio, kCmdTimeWindow, kCmdSelectView, kCmdList}) {
        tickRunningInside = true;
        frame->command(id);
        EXPECT_FALSE(tickRunningInside) << id;
        EXPECT_TRUE(frame->run().timerActive(kTickTimer)) << id;
    }
    EXPECT_EQ(loadedEvent().timeAcceleration, 20.0f);
}

TEST_F(FrameTest, AcceptedDialogsChangeTheirValues) {
    makeFrame();
    frame->startEventNamed("quake.evt");
    frame->runDialog = [](QDialog& dialog) {
        dialog.accept();
        return int(QDialog::Accepted);
    };
    frame->command(kCmdSpeed);  // nothing clicked: the whole part of the speed
    EXPECT_EQ(loadedEvent().timeAcceleration, 20.0f);
    frame->command(kCmdTimeWindow);  // the minutes shown at opening
    EXPECT_EQ(loadedEvent().timeWindow, 1800);
    // A list dialog closed with OK but nothing chosen starts nothing.
    myLayoutWindow* layout = frame->layoutWindow();
    frame->command(kCmdList);
    EXPECT_EQ(frame->layoutWindow(), layout);
}

TEST_F(FrameTest, MapBecomesTheClientAndStartsTheEventItIsGiven) {
    settings.timeout = 30;
    makeFrame();
    frame->command(kCmdMap);
    ASSERT_NE(frame->mapWindow(), nullptr);
    EXPECT_EQ(frame->centralWidget(), frame->mapWindow());
    EXPECT_EQ(static_cast<mapWindow*>(frame->mapWindow())->countdown(), 30u);
    EXPECT_EQ(frame->welcomePane(), nullptr);
    // What the map does when an event is touched.
    mapServices.setCurrentEventName("quake.evt");
    paused = true;
    frame->command(kCmdStartEvent);
    EXPECT_FALSE(paused);
    ASSERT_NE(frame->layoutWindow(), nullptr);
    EXPECT_EQ(frame->centralWidget(), frame->layoutWindow());
    // The map stays, hidden, until the next Map command replaces it.
    ASSERT_NE(frame->mapWindow(), nullptr);
    EXPECT_FALSE(frame->mapWindow()->isVisible());
    mapServices.allowClose();
    EXPECT_TRUE(canClose);
}

TEST_F(FrameTest, ScriptModeTakesTheNextCatalogueEvent) {
    std::filesystem::copy_file(dir.file("quake.evt"), dir.file("second.evt"));
    scanCatalogue();
    ASSERT_EQ(catalogue.size(), 2u);
    settings.runScript = true;
    makeFrame();
    frame->startEventNamed("quake.evt");
    endCountdown = 1;
    frame->onTimer(kSecondTimer);
    EXPECT_EQ(currentEventName, "second.evt");
    EXPECT_TRUE(frame->run().timerActive(kOpeningTimer));
    catalogue.clear();
}

TEST_F(FrameTest, EnterKeyStartsTheWelcomeWindow) {
    makeFrame();
    setMainWindow(frame.get());
    frame->command(kCmdEnter);
    EXPECT_EQ(frame->run().deferredCommand, kDeferWelcome);
    EXPECT_TRUE(frame->run().timerActive(kDeferredTimer));
    frame->onTimer(kDeferredTimer);
    EXPECT_NE(frame->mapWindow(), nullptr);
    EXPECT_EQ(frame->welcomePane(), nullptr);
    setMainWindow(nullptr);
}

TEST_F(FrameTest, RightButtonGoesToTheMapOnlyWhenAllowed) {
    makeFrame();
    auto press = [&] {
        QMouseEvent event(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::RightButton,
                          Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(frame.get(), &event);
    };
    press();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->mapWindow(), nullptr);
    settings.rightButtonRestart = true;
    press();
    // Posted, so the press is delivered before the client is replaced.
    EXPECT_EQ(frame->mapWindow(), nullptr);
    QCoreApplication::processEvents();
    EXPECT_NE(frame->mapWindow(), nullptr);
}

TEST_F(FrameTest, RestartOnlyWhileARunIsActive) {
    makeFrame();
    frame->command(kCmdRestart);
    EXPECT_FALSE(frame->run().restartRequested);
    frame->run().tickPeriod = 500;
    frame->command(kCmdRestart);
    EXPECT_TRUE(frame->run().restartRequested);
}

TEST_F(FrameTest, MakeBitmapSavesTheClientAndRestarts) {
    makeFrame();
    frame->startEventNamed("quake.evt");
    const std::string name = dir.file("picture.noext");
    frame->askBitmapName = [&] { return std::optional<std::string>(name); };
    frame->command(kCmdMakeBitmap);
    ASSERT_TRUE(std::filesystem::exists(name));
    QImage saved(QString::fromStdString(name), "BMP");
    EXPECT_EQ(saved.size(), frame->centralWidget()->size());
    EXPECT_TRUE(frame->run().restartRequested);
    // Cancelled: nothing written, no restart.
    frame->run().restartRequested = false;
    frame->askBitmapName = [] { return std::optional<std::string>(); };
    frame->command(kCmdMakeBitmap);
    EXPECT_FALSE(frame->run().restartRequested);
}

TEST_F(FrameTest, InformationWindowsReplaceEachOther) {
    settings.timeout = 12;
    makeFrame();
    std::ofstream(dir.file("XS.INF")) << "The cross-section.\n";
    frame->command(kCmdCrossSectionInfo);
    TextPopup* first = frame->run().infoWindow();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(frame->run().idleCountdown, 12);
    frame->command(kCmdSeismogramInfo);
    EXPECT_NE(frame->run().infoWindow(), nullptr);
    frame->run().closePopups();
    EXPECT_EQ(frame->run().infoWindow(), nullptr);
}

TEST_F(FrameTest, ClosingTheEventInformationActivatesTheFrameAgain) {
    settings.showEventInformation = true;
    makeFrame();
    frame->activateWindow();
    frame->startEventNamed("quake.evt");
    ASSERT_TRUE(held);
    ASSERT_NE(frame->run().infoWindow(), nullptr);
    frame->run().infoWindow()->close();  // as its Back button does
    waitDispatching(20);
    EXPECT_FALSE(held);
}

TEST_F(FrameTest, ActivationHoldsAndReleasesTheRun) {
    makeFrame();
    frame->onActivated(false);
    EXPECT_TRUE(held);
    frame->onActivated(true);
    EXPECT_FALSE(held);
}

TEST_F(FrameTest, MayCloseFollowsCanClose) {
    makeFrame();
    canClose = false;
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    canClose = true;
    frame->command(kCmdExit);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_FALSE(frame->run().timerActive(kSecondTimer));
    EXPECT_EQ(frame->welcomePane(), nullptr);
}

TEST_F(FrameTest, MenuWithAndWithoutExit) {
    makeFrame();
    EXPECT_EQ(menuCaptions(),
              (std::vector<std::string>{"&Earthquakes", "&Options", "&Help", "E&xit"}));
    frame.reset();
    settings.canExit = false;
    makeFrame();
    EXPECT_EQ(menuCaptions(), (std::vector<std::string>{"&Earthquakes", "&Options", "&Help"}));
    for (QAction* a : frame->menuBar()->actions())
        for (QAction* item : a->menu()->actions()) EXPECT_NE(item->text(), "E&xit");
}

TEST_F(FrameTest, NoMenuBarWhenTheSettingsSaySo) {
    settings.menuBar = false;
    makeFrame();
    EXPECT_EQ(frame->menuWidget(), nullptr);
}

TEST_F(FrameTest, RunFromScriptTogglesAndIsStored) {
    makeFrame();
    frame->command(kCmdRunFromScript);
    EXPECT_TRUE(settings.runScript);
    Settings stored;
    stored.read(dir.file("OV.INI"));
    EXPECT_TRUE(stored.runScript);
    frame->command(kCmdRunFromScript);
    EXPECT_FALSE(settings.runScript);
}

TEST_F(FrameTest, SetUpWithoutWelcomeScreenGoesToTheMapAtOnce) {
    settings.showWelcomeScreen = false;
    makeFrame();
    frame->setUp();
    EXPECT_TRUE(frame->run().timerActive(kSecondTimer));
    EXPECT_TRUE(frame->run().timerActive(kDeferredTimer));
    EXPECT_EQ(frame->run().deferredCommand, kDeferWelcome);
    frame->onTimer(kDeferredTimer);
    EXPECT_EQ(frame->welcomePane(), nullptr);
    EXPECT_EQ(frame->run().deferredCommand, kDeferNone);
}

TEST_F(FrameTest, UnknownTimerReportedThroughTheFrame) {
    makeFrame();
    frame->onTimer(9);
    ASSERT_EQ(messages.calls().size(), 1u);
    EXPECT_EQ(messages.calls()[0].text, "Unknown timer");
}

TEST_F(FrameTest, PanelAndWelcomeReachTheFrameAsTheirHost) {
    makeFrame();
    setMainWindow(frame.get());
    auto* panelHost = dynamic_cast<ControlPanelHost*>(mainWindow());
    ASSERT_NE(panelHost, nullptr);
    panelHost->setPaused(true);
    EXPECT_TRUE(paused);
    panelHost->postDeferred(kDeferRepeat);
    EXPECT_EQ(frame->run().deferredCommand, kDeferRepeat);
    auto* welcomeHost = dynamic_cast<WelcomeHost*>(mainWindow());
    ASSERT_NE(welcomeHost, nullptr);
    welcomeHost->deferCommand(kDeferWelcome, 50);
    EXPECT_EQ(frame->run().deferredCommand, kDeferWelcome);
    setMainWindow(nullptr);
}

// --- Start-up and end ---------------------------------------------------------

TEST(StartUpTest, WorkingDirectoryReceivesTheSettingsWrittenAtTheEnd) {
    TempDir start, work;
    ScopedCurrentDir inStart(start.path());
    std::ofstream(start.file("OV.INI")) << "WORKING DIRECTORY: " << work.path().string() << "\n"
                                        << "TIMEOUT: 17\n";
    std::ofstream(work.file("tutorial.txt")) << "0 10 a.inf\n30 20 b.inf\n";
    prepareStartUp();
    EXPECT_EQ(std::filesystem::current_path(), work.path());
    EXPECT_EQ(tutorialList.size(), 2u);
    EXPECT_GT(screenWidth, 0);
    finishProgram();
    EXPECT_TRUE(tutorialList.empty());
    ASSERT_TRUE(std::filesystem::exists(work.file("OV.INI")));
    Settings stored;
    stored.read(work.file("OV.INI"));
    EXPECT_EQ(stored.timeout, 17u);
    settings.applyDefaults();
}

TEST(StartUpTest, MissingFilesGiveDefaultsAndAnEmptyTutorial) {
    TempDir start;
    ScopedCurrentDir inStart(start.path());
    tutorialList = {{"old", 1, 1}};
    prepareStartUp();
    EXPECT_TRUE(tutorialList.empty());
    EXPECT_TRUE(settings.showWelcomeScreen);
    EXPECT_FALSE(viewsReady);
    finishProgram();
    settings.applyDefaults();
}

}  // namespace
}  // namespace orvane
