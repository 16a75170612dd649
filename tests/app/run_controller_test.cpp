// The run controller driven through a recording host: the opening pulse, the
// tick (clock, adaptive period, views, end detection), the pause at the end,
// script mode, the idle timeout, deferred commands and the tutorial.
#include "app/run_controller.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/command_ids.h"
#include "platform/message_box.h"
#include "tests/app/run_host_fake.h"

namespace orvane {
namespace {

using test::FakePopup;
using test::FakePopupState;
using test::FakeRunHost;

class RunControllerTest : public ::testing::Test {
  protected:
    void SetUp() override { test::freshProgramState(); }
    void TearDown() override { test::freshProgramState(); }

    // Fires timer `id` if it is running.
    bool fire(int id) {
        if (!host.running(id)) return false;
        run.onTimer(id);
        return true;
    }
    // Runs the opening pulse to its end.
    void finishPulse() {
        run.setTimer(kOpeningTimer, 100);
        for (int i = 0; i < 100 && fire(kOpeningTimer); ++i) {
        }
    }
    // One tick, `ms` after the previous one.
    void tickAfter(std::uint32_t ms) {
        host.now += ms;
        ASSERT_TRUE(fire(kTickTimer));
    }
    void addTrace(float endTime) {
        auto trace = std::make_unique<KSAC>("/nonexistent/trace", false);
        trace->endTime = endTime;
        loadedEvent().traceList.push_back(std::move(trace));
    }
    // As event start leaves them: every view shown, seismograms laid out.
    void allViews() {
        run.showEarth = run.showCrossSection = run.showSeismograms = true;
        run.drawnTimeWindow = loadedEvent().timeWindow;
    }

    FakeRunHost host;
    RunController run{host};
};

TEST_F(RunControllerTest, OpeningPulseShrinksInHalfStepsWhileTheQuakeSounds) {
    loadedEvent().magnitude = 2.0f;
    settings.audio = kAudioChime;
    canClose = false;
    finishPulse();
    // Four steps: clock 0.5, 1, 1.5, 2.
    ASSERT_EQ(host.pulses.size(), 4u);
    EXPECT_FLOAT_EQ(host.pulses[0], 0.375f);
    EXPECT_FLOAT_EQ(host.pulses[3], 0.0f);
    EXPECT_EQ(host.log[0], "closeMidi");
    EXPECT_EQ(host.log[1], "playTune EQ.MID");
    EXPECT_EQ(host.log[2], "minutes 0");
    EXPECT_TRUE(host.logged("openMidi"));
    EXPECT_EQ(run.clock, 0.0f);
    EXPECT_EQ(run.tickPeriod, 500);
    EXPECT_EQ(host.timers.at(kTickTimer), 500);
    EXPECT_TRUE(canClose);
    EXPECT_TRUE(viewsReady);
}

TEST_F(RunControllerTest, OpeningPulseIsSilentWithoutArrivalSound) {
    settings.audio = kAudioNone;
    finishPulse();
    EXPECT_FALSE(host.logged("playTune EQ.MID"));
    EXPECT_TRUE(host.running(kTickTimer));
}

TEST_F(RunControllerTest, OpeningPulseOfADamagedMagnitudeStillEnds) {
    loadedEvent().magnitude = std::numeric_limits<float>::quiet_NaN();
    finishPulse();
    EXPECT_TRUE(host.running(kTickTimer));
    EXPECT_LE(host.pulses.size(), 20u);
    loadedEvent().magnitude = 1e9f;
    host.pulses.clear();
    finishPulse();
    EXPECT_LE(host.pulses.size(), 20u);
}

TEST_F(RunControllerTest, HeldPulseWaitsUntilLetGo) {
    held = true;
    run.setTimer(kOpeningTimer, 100);
    fire(kOpeningTimer);
    fire(kOpeningTimer);
    EXPECT_TRUE(host.pulses.empty());
    EXPECT_EQ(host.timers.at(kOpeningTimer), 100);
    held = false;
    fire(kOpeningTimer);
    EXPECT_EQ(host.pulses.size(), 1u);
}

TEST_F(RunControllerTest, ResumeSkipsThePulseAndContinuesAtTheSavedClock) {
    allViews();
    resumeTime = 1234.0f;
    host.now = 1000;
    run.setTimer(kOpeningTimer, 100);
    fire(kOpeningTimer);
    EXPECT_TRUE(host.pulses.empty());
    EXPECT_EQ(run.clock, 1234.0f);
    EXPECT_EQ(lastTickCount, 1000u);
    EXPECT_TRUE(host.logged("minutes 1234"));
    // The first tick still loads the tables, then the clock goes on from there.
    tickAfter(500);
    EXPECT_EQ(resumeTime, 0.0f);
    EXPECT_TRUE(host.logged("xs.load"));
    EXPECT_FLOAT_EQ(run.clock, 1234.0f + 450 * 20 / 1000.0f);
}

TEST_F(RunControllerTest, FirstTickJumpsToTenSecondsAndLoadsTheTables) {
    allViews();
    loadedEvent().timeAcceleration = 1;
    finishPulse();
    host.log.clear();
    tickAfter(500);
    EXPECT_EQ(run.clock, 10.0f);
    // The first tick presents the cross-section and loads its tables before drawing.
    ASSERT_GE(host.log.size(), 4u);
    EXPECT_EQ(host.log[0], "xs.present");
    EXPECT_EQ(host.log[1], "xs.load");
    EXPECT_EQ(host.log[2], "stopTune");
    EXPECT_TRUE(host.logged("xs.draw 10"));
    EXPECT_TRUE(host.logged("minutes 10"));
    EXPECT_TRUE(host.logged("globe.draw 10"));
    EXPECT_TRUE(host.logged("seis.advance 10"));
    // Later ticks do not load again.
    host.log.clear();
    tickAfter(500);
    EXPECT_FALSE(host.logged("xs.load"));
}

TEST_F(RunControllerTest, NegativeAccelerationRunsBackToTenSecondsAndStays) {
    finishPulse();
    run.clock = 100.0f;
    loadedEvent().timeAcceleration = -20;
    for (int i = 0; i < 20; ++i) tickAfter(500);
    EXPECT_EQ(run.clock, 10.0f);
}

TEST_F(RunControllerTest, TickPeriodFollowsTheMachineInTenths) {
    finishPulse();
    host.now = 10000;
    lastTickCount = 10000;
    tickAfter(100);
    EXPECT_EQ(run.tickPeriod, 450);
    tickAfter(100);
    EXPECT_EQ(run.tickPeriod, 405);
    EXPECT_EQ(settings.timerInterval, 405);
    EXPECT_EQ(host.timers.at(kTickTimer), 405);
    // A machine slower than the period makes it grow.
    tickAfter(1000);
    EXPECT_EQ(run.tickPeriod, 445);
    tickAfter(1000);
    EXPECT_EQ(run.tickPeriod, 489);
    // Exactly a tenth over is not slower.
    tickAfter(489 + 48);
    EXPECT_EQ(run.tickPeriod, 441);
}

TEST_F(RunControllerTest, TickPeriodBelowTenNoLongerChangesAndNeverOverflows) {
    finishPulse();
    run.tickPeriod = 9;
    lastTickCount = host.now = 5;
    tickAfter(1);
    EXPECT_EQ(run.tickPeriod, 9);
    run.tickPeriod = 32000;
    tickAfter(100000);
    EXPECT_EQ(run.tickPeriod, 32767);
}

TEST_F(RunControllerTest, WaitingInputSkipsDrawingButNotTheClock) {
    allViews();
    finishPulse();
    tickAfter(500);
    const float before = run.clock;
    host.log.clear();
    host.input = true;
    tickAfter(500);
    EXPECT_GT(run.clock, before);
    EXPECT_TRUE(host.logged("minutes " + FakeRunHost::num(run.clock)));
    for (const auto& entry : host.log) {
        EXPECT_EQ(entry.find("xs."), std::string::npos) << entry;
        EXPECT_EQ(entry.find("globe."), std::string::npos) << entry;
        EXPECT_EQ(entry.find("seis."), std::string::npos) << entry;
    }
}

TEST_F(RunControllerTest, UnchangedCrossSectionIsNotPresented) {
    run.showCrossSection = true;
    finishPulse();
    tickAfter(500);
    host.crossSectionChanges = false;
    host.log.clear();
    tickAfter(500);
    EXPECT_FALSE(host.logged("xs.present"));
    EXPECT_FALSE(host.logged("xs.reset"));
}

TEST_F(RunControllerTest, GlobeIsDrawnPresentedResetAndDrawnAgain) {
    run.showEarth = true;
    finishPulse();
    tickAfter(500);
    host.log.clear();
    tickAfter(500);
    const std::string t = FakeRunHost::num(run.clock);
    std::vector<std::string> globe;
    for (const auto& e : host.log)
        if (e.rfind("globe.", 0) == 0) globe.push_back(e);
    EXPECT_EQ(globe, (std::vector<std::string>{"globe.draw " + t, "globe.present", "globe.reset",
                                               "globe.draw " + t}));
}

TEST_F(RunControllerTest, HeldOrPausedRunKeepsTickingWithoutAdvancing) {
    allViews();
    finishPulse();
    tickAfter(500);
    const float clock = run.clock;
    paused = true;
    host.log.clear();
    tickAfter(500);
    EXPECT_EQ(run.clock, clock);
    EXPECT_TRUE(host.logged("readSpeed"));
    EXPECT_FALSE(host.logged("minutes " + FakeRunHost::num(clock)));
    EXPECT_TRUE(host.running(kTickTimer));
    paused = false;
    held = true;
    tickAfter(500);
    EXPECT_EQ(run.clock, clock);
    EXPECT_TRUE(host.running(kTickTimer));
}

TEST_F(RunControllerTest, ChangedTimeWindowLaysTheSeismogramsOutAgain) {
    run.showSeismograms = true;
    run.drawnTimeWindow = 1800;
    finishPulse();
    tickAfter(500);
    EXPECT_TRUE(host.logged("seis.advance 10"));
    loadedEvent().timeWindow = 600;
    host.log.clear();
    tickAfter(500);
    EXPECT_TRUE(host.logged("seis.layout " + FakeRunHost::num(run.clock)));
    EXPECT_TRUE(host.logged("seis.repaint"));
    EXPECT_EQ(run.drawnTimeWindow, 600);
}

TEST_F(RunControllerTest, EndOfRecordingRepeatsTheRunOneSecondLater) {
    allViews();
    addTrace(30.0f);
    addTrace(25.0f);
    finishPulse();
    tickAfter(500);  // 10 s
    tickAfter(500);  // 19 s
    EXPECT_EQ(endCountdown, 0);
    tickAfter(500);  // 27.1 s: one trace still going
    EXPECT_EQ(endCountdown, 0);
    tickAfter(500);  // past both
    EXPECT_EQ(endCountdown, 1);
    // The clock stands during the pause at the end.
    const float clock = run.clock;
    tickAfter(500);
    EXPECT_EQ(run.clock, clock);
    run.onTimer(kSecondTimer);
    EXPECT_TRUE(run.restartRequested);
    host.log.clear();
    tickAfter(500);
    EXPECT_EQ(run.clock, 0.0f);
    EXPECT_FALSE(run.restartRequested);
    EXPECT_EQ(endCountdown, 0);
    EXPECT_FALSE(host.running(kTickTimer));
    EXPECT_EQ(host.timers.at(kOpeningTimer), 50);
    EXPECT_TRUE(host.logged("globe.clear"));
    EXPECT_TRUE(host.logged("xs.clear"));
    EXPECT_TRUE(host.logged("seis.advance 0"));
    EXPECT_TRUE(host.logged("seis.repaint"));
}

TEST_F(RunControllerTest, NoPauseAtEndKeepsTheRunStandingAndLooksAgainHourly) {
    run.showSeismograms = true;
    addTrace(12.0f);
    settings.secondsToPauseAtEnd = 0;
    finishPulse();
    tickAfter(500);
    tickAfter(500);
    ASSERT_EQ(endCountdown, 1);
    run.onTimer(kSecondTimer);
    EXPECT_EQ(endCountdown, 3600);
    EXPECT_FALSE(run.restartRequested);
    EXPECT_TRUE(host.commands.empty());
}

TEST_F(RunControllerTest, LongerPauseAtEndCountsDown) {
    run.showSeismograms = true;
    addTrace(12.0f);
    settings.secondsToPauseAtEnd = 3;
    finishPulse();
    tickAfter(500);
    tickAfter(500);
    ASSERT_EQ(endCountdown, 3);
    run.onTimer(kSecondTimer);
    run.onTimer(kSecondTimer);
    EXPECT_FALSE(run.restartRequested);
    run.onTimer(kSecondTimer);
    EXPECT_TRUE(run.restartRequested);
}

TEST_F(RunControllerTest, WithoutSeismogramsOnlyTheTimeLimitEndsTheRun) {
    run.showEarth = true;
    addTrace(12.0f);
    loadedEvent().timeLimit = 100;
    finishPulse();
    while (run.clock <= 100.0f) {
        EXPECT_EQ(endCountdown, 0) << run.clock;
        tickAfter(500);
    }
    EXPECT_EQ(endCountdown, 1);
}

TEST_F(RunControllerTest, ExitWhenDoneWithoutScriptEndsAfterTheFirstRun) {
    settings.exitWhenDone = true;
    endCountdown = 1;
    run.onTimer(kSecondTimer);
    EXPECT_EQ(host.commands, std::vector<int>{kCmdExit});
    EXPECT_FALSE(run.restartRequested);
}

TEST_F(RunControllerTest, ScriptModeRunsTheCatalogueAndExitsAfterTheLast) {
    settings.runScript = true;
    settings.exitWhenDone = true;
    host.catalogue = {"a.evt", "b.evt", "c.evt"};
    paused = true;
    for (int run_ = 0; run_ < 2; ++run_) {
        endCountdown = 1;
        run.onTimer(kSecondTimer);
    }
    EXPECT_EQ(host.started, (std::vector<std::string>{"b.evt", "c.evt"}));
    EXPECT_EQ(currentEventName, "c.evt");
    EXPECT_FALSE(paused);
    EXPECT_TRUE(host.commands.empty());
    endCountdown = 1;
    run.onTimer(kSecondTimer);
    EXPECT_EQ(host.commands, std::vector<int>{kCmdExit});
    EXPECT_EQ(scriptIndex, 0);
    EXPECT_EQ(host.started.size(), 2u);
}

TEST_F(RunControllerTest, ScriptModeWithoutExitStartsOverAtTheFirstEvent) {
    settings.runScript = true;
    host.catalogue = {"a.evt", "b.evt"};
    run.restartRequested = true;
    for (int i = 0; i < 3; ++i) {
        endCountdown = 1;
        run.onTimer(kSecondTimer);
    }
    EXPECT_EQ(host.started, (std::vector<std::string>{"b.evt", "a.evt", "b.evt"}));
    EXPECT_FALSE(run.restartRequested);
}

TEST_F(RunControllerTest, ScriptModeWithAnEmptyCatalogueRepeatsTheRun) {
    settings.runScript = true;
    endCountdown = 1;
    run.onTimer(kSecondTimer);
    EXPECT_TRUE(host.started.empty());
    EXPECT_TRUE(run.restartRequested);
}

TEST_F(RunControllerTest, IdleTimeoutResumesAPausedRunAndClosesTheInformation) {
    settings.timeout = 5;
    auto info = std::make_shared<FakePopupState>();
    run.setInfoWindow(std::make_unique<FakePopup>(info));
    run.setIdleCountdown(5);
    paused = true;
    held = true;
    for (int i = 0; i < 4; ++i) run.onTimer(kSecondTimer);
    EXPECT_TRUE(paused);
    EXPECT_FALSE(info->destroyed);
    run.onTimer(kSecondTimer);
    EXPECT_FALSE(paused);
    EXPECT_FALSE(held);
    EXPECT_TRUE(host.logged("pauseChanged"));
    EXPECT_TRUE(info->hidden);
    EXPECT_TRUE(info->destroyed);
    EXPECT_EQ(run.infoWindow(), nullptr);
    EXPECT_EQ(run.idleCountdown, 5);
}

TEST_F(RunControllerTest, WithoutTimeoutAPausedRunWaitsForTheUser) {
    settings.timeout = 0;
    run.closePopups();
    paused = true;
    for (int i = 0; i < 100; ++i) run.onTimer(kSecondTimer);
    EXPECT_TRUE(paused);
}

TEST_F(RunControllerTest, RunningTickClosesPopupsAndKeepsTheIdleCountdownFull) {
    settings.timeout = 30;
    finishPulse();
    auto info = std::make_shared<FakePopupState>();
    info->closed = true;
    run.setInfoWindow(std::make_unique<FakePopup>(info));
    run.setIdleCountdown(3);
    tickAfter(500);
    EXPECT_TRUE(info->destroyed);
    EXPECT_FALSE(info->hidden);  // it had closed itself
    EXPECT_EQ(run.idleCountdown, 30);
}

TEST_F(RunControllerTest, DeferredCommandsRunOnceFromTheTimer) {
    run.tickPeriod = 500;
    endCountdown = 7;
    run.postDeferred(kDeferRepeat);
    EXPECT_EQ(host.timers.at(kDeferredTimer), 5);
    fire(kDeferredTimer);
    EXPECT_TRUE(run.restartRequested);
    EXPECT_EQ(endCountdown, 0);
    EXPECT_EQ(run.deferredCommand, kDeferNone);
    EXPECT_FALSE(host.running(kDeferredTimer));
    EXPECT_TRUE(host.logged("stopTune"));

    run.postDeferred(kDeferViews);
    fire(kDeferredTimer);
    resumeTime = 55;
    run.postDeferred(kDeferMap);
    fire(kDeferredTimer);
    EXPECT_EQ(resumeTime, 0.0f);
    run.postDeferred(kDeferWelcome, 50);
    EXPECT_EQ(host.timers.at(kDeferredTimer), 50);
    fire(kDeferredTimer);
    run.postDeferred(kDeferNothing);
    fire(kDeferredTimer);
    EXPECT_EQ(host.commands, (std::vector<int>{kCmdSelectView, kCmdMap, kCmdMap}));
}

TEST_F(RunControllerTest, RepeatWithoutARunDoesNotRestart) {
    run.tickPeriod = 0;
    run.postDeferred(kDeferRepeat);
    fire(kDeferredTimer);
    EXPECT_FALSE(run.restartRequested);
}

TEST_F(RunControllerTest, UnknownTimerOnlyShowsAMessage) {
    MessageBoxRecorder recorder;
    run.clock = 42;
    run.onTimer(7);
    ASSERT_EQ(recorder.calls().size(), 1u);
    EXPECT_EQ(recorder.calls()[0],
              (MessageBoxCall{"Unknown timer", "????", MessageIcon::Exclamation}));
    EXPECT_EQ(run.clock, 42.0f);
    EXPECT_TRUE(host.log.empty());
}

TEST_F(RunControllerTest, TimersAreOnlyKilledWhenSetAndPeriodZeroSetsNothing) {
    run.setTimer(kTickTimer, 0);
    EXPECT_FALSE(host.running(kTickTimer));
    EXPECT_FALSE(run.timerActive(kTickTimer));
    host.timers[kTickTimer] = 99;  // not set through the controller
    run.killTimer(kTickTimer);
    EXPECT_TRUE(host.running(kTickTimer));
    run.setTimer(kTickTimer, 20);
    EXPECT_TRUE(run.timerActive(kTickTimer));
    run.killTimer(kTickTimer);
    EXPECT_FALSE(host.running(kTickTimer));
    EXPECT_FALSE(run.timerActive(kTickTimer));
}

TEST_F(RunControllerTest, FrameExportStepsAnEighthOfTheAccelerationEveryTenMs) {
    settings.scienceOnASphere = true;
    run.showEarth = true;
    run.showSeismograms = true;
    addTrace(5.0f);  // long ended: export mode does not end by the recording
    finishPulse();
    host.now = 1000;
    lastTickCount = 0;
    tickAfter(3000);
    EXPECT_EQ(run.clock, 10.0f);
    tickAfter(3000);
    EXPECT_FLOAT_EQ(run.clock, 12.5f);
    EXPECT_EQ(run.tickPeriod, 500);  // not adapted
    EXPECT_EQ(lastTickCount, 0u);
    EXPECT_EQ(host.timers.at(kTickTimer), 10);
    EXPECT_TRUE(host.logged("globe.export 12.5"));
    EXPECT_EQ(endCountdown, 0);
}

// --- Tutorial ------------------------------------------------------------

class TutorialTest : public RunControllerTest {
  protected:
    void SetUp() override {
        RunControllerTest::SetUp();
        tutorialList = {{"intro", 0, 60},
                        {"one", 20, 30},
                        {"two", 40, 30},
                        {"three", 60, 30},
                        {"four", 80, 30}};
    }
    // The Tutorial button pressed while a run is ticking.
    void startBrowsing() {
        run.tickPeriod = 500;
        run.setTimer(kTickTimer, 500);
        run.browseTutorial();
    }
    std::vector<std::string> topics() const {
        std::vector<std::string> names;
        for (const auto& t : host.tutorials) names.push_back(t->topic);
        return names;
    }
};

TEST_F(TutorialTest, GuidedTutorialShowsEntriesOneToThreeThenReturnsToTheMap) {
    settings.tutorial = true;
    run.initialiseTutorial();
    EXPECT_EQ(run.tutorialIndex, 1);
    EXPECT_EQ(run.nextTutorialTime, 20);
    finishPulse();
    // The clock runs at about 9 s a tick. Each page holds the run from the
    // tick that opens it until the user closes it with Continue (the frame
    // then lets the run go on).
    for (int i = 0; i < 40 && host.commands.empty(); ++i) {
        const float before = run.clock;
        tickAfter(500);
        if (!host.tutorials.empty() && !host.tutorials.back()->closed) {
            EXPECT_TRUE(held) << "a page just opened holds the run";
            tickAfter(500);
            EXPECT_EQ(run.clock, before) << "the clock waits under the page";
            EXPECT_FALSE(host.tutorials.back()->hidden) << "the page stays up";
            host.tutorials.back()->closed = true;
            host.tutorials.back()->continuePressed = true;
            held = false;
        }
    }
    EXPECT_EQ(topics(), (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(host.commands, std::vector<int>{kCmdMap});
    EXPECT_GT(run.clock, 80.0f);
    EXPECT_FALSE(settings.tutorial);
    EXPECT_EQ(run.tutorialIndex, 0);
    // The tick that returns to the map does not set the tick timer again.
    EXPECT_FALSE(host.running(kTickTimer));
    for (const auto& t : host.tutorials) EXPECT_EQ(t->mode, TutorialMode::Guided);
}

TEST_F(TutorialTest, GuidedPageSetsTheIdleCountdownToItsWaitLimit) {
    settings.tutorial = true;
    settings.timeout = 0;
    run.initialiseTutorial();
    run.clock = 25;
    run.tickPeriod = 500;
    held = true;  // the window has the focus
    run.setTimer(kTickTimer, 500);
    tickAfter(500);
    ASSERT_EQ(topics(), std::vector<std::string>{"one"});
    EXPECT_EQ(run.idleCountdown, 30);
    EXPECT_EQ(run.nextTutorialTime, 40);
}

TEST_F(TutorialTest, CancelInGuidedModeEndsTheTutorial) {
    settings.tutorial = true;
    run.initialiseTutorial();
    run.clock = 25;
    run.tickPeriod = 500;
    held = true;
    run.setTimer(kTickTimer, 500);
    tickAfter(500);
    ASSERT_EQ(host.tutorials.size(), 1u);
    host.tutorials[0]->closed = true;
    host.tutorials[0]->cancelPressed = true;
    tickAfter(500);
    EXPECT_FALSE(settings.tutorial);
    EXPECT_TRUE(host.tutorials[0]->destroyed);
    EXPECT_EQ(run.tutorialWindow(), nullptr);
    // Cancel pressed in the same tick the next page was due: no further page.
    settings.tutorial = true;
    run.initialiseTutorial();
    run.clock = 25;
    tickAfter(500);
    ASSERT_EQ(host.tutorials.size(), 2u);
    host.tutorials[1]->closed = true;
    host.tutorials[1]->cancelPressed = true;
    run.clock = 45;
    tickAfter(500);
    EXPECT_EQ(host.tutorials.size(), 2u);
    EXPECT_FALSE(settings.tutorial);
}

TEST_F(TutorialTest, BrowsingPagesThroughEntriesOneAndTwoOfFive) {
    settings.tutorialSaved = true;
    settings.tutorial = true;
    startBrowsing();
    EXPECT_FALSE(settings.tutorial);
    held = true;
    auto press = [&](bool FakePopupState::*button) {
        host.tutorials.back()->closed = true;
        (*host.tutorials.back()).*button = true;
        tickAfter(500);
    };
    tickAfter(500);
    press(&FakePopupState::nextPressed);
    press(&FakePopupState::nextPressed);  // already at the last page
    press(&FakePopupState::previousPressed);
    press(&FakePopupState::previousPressed);  // already at the first page
    EXPECT_EQ(topics(), (std::vector<std::string>{"one", "two", "two", "one", "one"}));
    EXPECT_EQ(host.tutorials[0]->position, TutorialPosition::First);
    EXPECT_EQ(host.tutorials[1]->position, TutorialPosition::Last);
    EXPECT_EQ(host.tutorials[3]->position, TutorialPosition::First);
    for (const auto& t : host.tutorials) EXPECT_EQ(t->mode, TutorialMode::Browse);
    press(&FakePopupState::cancelPressed);
    EXPECT_FALSE(run.tutorialBrowsing);
    EXPECT_EQ(run.tutorialIndex, 0);
    EXPECT_EQ(host.tutorials.size(), 5u);
}

TEST_F(TutorialTest, BrowsingSixEntriesHasAMiddlePage) {
    tutorialList.push_back({"five", 100, 30});
    settings.tutorialSaved = true;
    startBrowsing();
    held = true;
    tickAfter(500);
    host.tutorials.back()->closed = true;
    host.tutorials.back()->nextPressed = true;
    tickAfter(500);
    ASSERT_EQ(host.tutorials.size(), 2u);
    EXPECT_EQ(host.tutorials[1]->topic, "two");
    EXPECT_EQ(host.tutorials[1]->position, TutorialPosition::Middle);
    EXPECT_EQ(run.idleCountdown, 30);
}

TEST_F(TutorialTest, BrowsingAListTooShortToPageShowsNothing) {
    tutorialList.resize(3);
    settings.tutorialSaved = true;
    startBrowsing();
    tickAfter(500);
    EXPECT_TRUE(host.tutorials.empty());
    EXPECT_FALSE(run.tutorialBrowsing);
}

TEST_F(TutorialTest, BrowsingNeedsTheSavedTutorialSetting) {
    settings.tutorialSaved = false;
    startBrowsing();
    tickAfter(500);
    EXPECT_TRUE(host.tutorials.empty());
}

TEST_F(TutorialTest, IdleExpiryEndsBrowsing) {
    settings.tutorialSaved = true;
    startBrowsing();
    held = true;
    tickAfter(500);
    ASSERT_EQ(run.idleCountdown, 30);
    for (int i = 0; i < 30; ++i) run.onTimer(kSecondTimer);
    EXPECT_FALSE(run.tutorialBrowsing);
    EXPECT_TRUE(host.tutorials[0]->destroyed);
    EXPECT_FALSE(held);
}

TEST_F(TutorialTest, TutorialWithOneEntryGoesBackToTheMapAtOnce) {
    tutorialList.resize(1);
    settings.tutorial = true;
    run.initialiseTutorial();
    finishPulse();
    tickAfter(500);  // clock 0 is not past anything yet
    EXPECT_TRUE(host.commands.empty());
    tickAfter(500);
    EXPECT_EQ(host.commands, std::vector<int>{kCmdMap});
    EXPECT_TRUE(host.tutorials.empty());
}

}  // namespace
}  // namespace orvane
