#include "app/run_controller.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "data/event_loading.h"
#include "data/settings.h"
#include "platform/command_ids.h"
#include "platform/message_box.h"
#include "views/child_view.h"

namespace orvane {
namespace {

// No earthquake is larger; a damaged event file must not make the opening
// pulse last for ever.
constexpr float kLargestPulseMagnitude = 10.0f;
constexpr std::int32_t kEndRecheckSeconds = 3600;

std::int32_t toInt32(std::uint32_t value) {
    return static_cast<std::int32_t>(
        std::min<std::uint32_t>(value, std::numeric_limits<std::int32_t>::max()));
}

std::int16_t toPeriod(std::int32_t ms) {
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(ms, 1, 32767));
}

// The clock in whole seconds for the cross-section (16 bits).
std::int16_t wholeSeconds(float clock) {
    if (!(clock > -32768.0f)) return -32768;
    if (clock >= 32767.0f) return 32767;
    return static_cast<std::int16_t>(clock);
}

}  // namespace

RunController::RunController(RunHost& host) : host_(host) {}

RunController::~RunController() = default;

void RunController::setTimer(int id, int ms) {
    if (ms == 0) return;
    bool set = host_.setWindowTimer(id, ms);
    if (id >= 1 && id <= 4) timerActive_[id] = set;
}

void RunController::killTimer(int id) {
    if (id < 1 || id > 4 || !timerActive_[id]) return;
    host_.killWindowTimer(id);
    timerActive_[id] = false;
}

bool RunController::timerActive(int id) const { return id >= 1 && id <= 4 && timerActive_[id]; }

void RunController::onTimer(int id) {
    switch (id) {
        case kOpeningTimer:
            openingPulse();
            break;
        case kTickTimer:
            tick();
            break;
        case kDeferredTimer:
            deferred();
            break;
        case kSecondTimer:
            everySecond();
            break;
        default:
            messageBox("Unknown timer", "????", MessageIcon::Exclamation);
            break;
    }
}

void RunController::postDeferred(std::int32_t code, int ms) {
    deferredCommand = code;
    setTimer(kDeferredTimer, ms);
}

void RunController::closePopups() {
    if (infoWindow_) {
        if (!infoWindow_->closed()) infoWindow_->close();
        infoWindow_.reset();
    }
    destroyTutorialWindow();
    setIdleCountdown(toInt32(settings.timeout));
    held = false;
}

void RunController::destroyTutorialWindow() {
    if (!tutorialWindow_) return;
    if (!tutorialWindow_->closed()) tutorialWindow_->close();
    tutorialWindow_.reset();
}

void RunController::setInfoWindow(std::unique_ptr<TextPopup> window) {
    infoWindow_ = std::move(window);
}

void RunController::stopTutorial() {
    settings.tutorial = false;
    tutorialBrowsing = false;
    tutorialIndex = 0;
}

void RunController::browseTutorial() {
    stopTutorial();
    closePopups();
    tutorialIndex = 1;
    tutorialBrowsing = true;
}

void RunController::startEvent() {
    held = false;
    paused = false;
    host_.pauseChanged();
    resumeTime = 0;
    host_.startEventNamed(currentEventName);
}

void RunController::initialiseTutorial() {
    if (settings.tutorial) {
        tutorialIndex = 1;
        if (tutorialList.size() > 1) nextTutorialTime = toInt32(tutorialList[1].showAfter);
    } else {
        tutorialIndex = 0;
    }
}

void RunController::openingPulse() {
    killTimer(kOpeningTimer);
    if (held) {
        // Waits until the frame is active again or the idle timeout lets go.
        setTimer(kOpeningTimer, 100);
        return;
    }
    closePopups();
    held = false;
    canClose = true;
    viewsReady = true;

    if (resumeTime != 0) {
        clock = resumeTime;
        tickPeriod = toPeriod(settings.timerInterval);
        setTimer(kTickTimer, tickPeriod);
        lastTickCount = host_.systemTickCount();
        host_.showMinutes(clock);
        return;
    }
    if (clock == 0) {
        // The sequencer gets the synthesizer to itself for the earthquake sound.
        host_.closeMidi();
        if (settings.audio != 0) host_.playTune("EQ.MID");
        host_.showMinutes(0);
    }
    clock += 0.5f;
    float magnitude = loadedEvent().magnitude;
    if (!(magnitude <= kLargestPulseMagnitude)) magnitude = kLargestPulseMagnitude;
    host_.drawPulse((magnitude - clock) / 4);
    if (clock >= magnitude) {
        clock = 0;
        host_.stopTune();
        tickPeriod = toPeriod(settings.timerInterval);
        setTimer(kTickTimer, tickPeriod);
        lastTickCount = host_.systemTickCount();
        host_.openMidi();
    } else {
        setTimer(kOpeningTimer, 100);
    }
}

void RunController::adaptTickPeriod() {
    thisTickCount = host_.systemTickCount();
    if (lastTickCount != 0) {
        const std::uint32_t elapsed = thisTickCount - lastTickCount;
        std::int32_t period = tickPeriod;
        if (static_cast<std::int64_t>(elapsed) > period + period / 10)
            period += period / 10;
        else
            period -= period / 10;
        tickPeriod = toPeriod(period);
        settings.timerInterval = tickPeriod;
    }
    lastTickCount = thisTickCount;
}

void RunController::tick() {
    killTimer(kTickTimer);
    const bool exporting = settings.scienceOnASphere;
    if (!exporting) adaptTickPeriod();

    if (settings.tutorial) {
        if (!guidedTutorial()) return;
    } else if (tutorialBrowsing && settings.tutorialSaved) {
        browsingTutorial();
    }

    if (clock == 0 || resumeTime != 0) {
        // First tick of a run.
        resumeTime = 0;
        if (showCrossSection) {
            host_.crossSectionPresent();
            host_.crossSectionLoadTables();
        }
        host_.stopTune();
    }

    host_.readSpeed();
    LoadedEvent& event = loadedEvent();

    if (!held && !paused) {
        closePopups();
        if (endCountdown == 0) {
            if (exporting)
                clock += event.timeAcceleration / 8;
            else
                clock += tickPeriod * event.timeAcceleration / 1000;
        }
        if (!(clock >= 10.0f)) clock = 10.0f;

        if (showCrossSection && !host_.inputWaiting()) {
            if (host_.crossSectionDrawWaves(wholeSeconds(clock))) {
                host_.crossSectionPresent();
                host_.crossSectionReset();
            }
        }
        host_.showMinutes(clock);
        if (showEarth && !host_.inputWaiting()) {
            host_.globeDrawWaves(clock);
            host_.globePresent();
            host_.globeReset();
            // The frame buffer keeps the current picture for repainting.
            if (exporting)
                host_.globeExportFrame(clock);
            else
                host_.globeDrawWaves(clock);
        }
        if (showSeismograms && !host_.inputWaiting()) {
            if (drawnTimeWindow != event.timeWindow) {
                host_.seismogramLayout(clock);
                drawnTimeWindow = event.timeWindow;
                host_.seismogramRepaint();
            } else {
                host_.seismogramAdvance(clock);
            }
        }
        if (endCountdown == 0) {
            bool finished = false;
            if (!exporting && showSeismograms && !event.traceList.empty()) {
                finished =
                    std::none_of(event.traceList.begin(), event.traceList.end(),
                                 [this](const auto& trace) { return trace->endTime > clock; });
            }
            if (finished || clock > event.timeLimit) {
                endCountdown =
                    settings.secondsToPauseAtEnd != 0 ? toInt32(settings.secondsToPauseAtEnd) : 1;
            }
        }
    }

    if (restartRequested) {
        clock = 0;
        restartRequested = false;
        killTimer(kTickTimer);
        endCountdown = 0;
        host_.stopTune();
        if (showEarth) host_.globeClear();
        if (showCrossSection) host_.crossSectionClear();
        if (showSeismograms) {
            host_.seismogramAdvance(0);
            host_.seismogramRepaint();
        }
        setTimer(kOpeningTimer, 50);
        return;
    }
    setTimer(kTickTimer, exporting ? 10 : tickPeriod);
}

bool RunController::guidedTutorial() {
    const auto n = static_cast<std::int64_t>(tutorialList.size());
    if (clock > static_cast<float>(nextTutorialTime)) {
        if (tutorialIndex < 0 || tutorialIndex + 1 >= n) {
            // Past the last entry: back to the map.
            stopTutorial();
            destroyTutorialWindow();
            tutorialIndex = 0;
            host_.frameCommand(kCmdMap);
            return false;
        }
        const TutorialEntry entry = tutorialList[tutorialIndex];
        if (tutorialWindow_) {
            if (tutorialWindow_->closed() && tutorialWindow_->cancelPressed()) stopTutorial();
            destroyTutorialWindow();
        }
        // A Cancel pressed just now ends the tutorial; no further page opens.
        if (!settings.tutorial) return true;
        tutorialWindow_ = host_.openTutorial(entry, TutorialMode::Guided, TutorialPosition::Middle);
        holdForPage();
        setIdleCountdown(toInt32(entry.waitLimit));
        tutorialIndex += 1;
        nextTutorialTime = toInt32(tutorialList[tutorialIndex].showAfter);
    } else if (tutorialWindow_ && tutorialWindow_->closed()) {
        if (tutorialWindow_->cancelPressed()) {
            stopTutorial();
            tutorialWindow_.reset();
        } else if (tutorialWindow_->continuePressed()) {
            tutorialWindow_.reset();
        }
    }
    return true;
}

void RunController::holdForPage() {
    // The page takes the focus; the frame hears of it only later, so the
    // run waits from now on, and this tick does not close the page again.
    if (tutorialWindow_) held = true;
}

void RunController::browsingTutorial() {
    const auto n = static_cast<std::int32_t>(
        std::min<std::size_t>(tutorialList.size(), std::numeric_limits<std::int32_t>::max()));
    if (tutorialWindow_ && tutorialWindow_->closed()) {
        if (tutorialWindow_->nextPressed()) {
            tutorialIndex += 1;
        } else if (tutorialWindow_->previousPressed()) {
            tutorialIndex -= 1;
        } else if (tutorialWindow_->cancelPressed()) {
            tutorialBrowsing = false;
            tutorialIndex = 0;
        }
        tutorialWindow_.reset();
    }
    if (tutorialWindow_ || !tutorialBrowsing) return;
    if (n < 4) {
        // Browsing pages through entries 1 to n - 3: a shorter list has none.
        tutorialBrowsing = false;
        tutorialIndex = 0;
        return;
    }
    TutorialPosition position = TutorialPosition::Middle;
    if (tutorialIndex >= n - 3) {
        position = TutorialPosition::Last;
        tutorialIndex = n - 3;
    } else if (tutorialIndex <= 1) {
        position = TutorialPosition::First;
        tutorialIndex = 1;
    }
    const TutorialEntry& entry = tutorialList[tutorialIndex];
    tutorialWindow_ = host_.openTutorial(entry, TutorialMode::Browse, position);
    holdForPage();
    setIdleCountdown(toInt32(entry.waitLimit));
}

void RunController::deferred() {
    killTimer(kDeferredTimer);
    host_.stopTune();
    switch (deferredCommand) {
        case kDeferRepeat:
            endCountdown = 0;
            if (tickPeriod != 0) restartRequested = true;
            break;
        case kDeferViews:
            endCountdown = 0;
            host_.frameCommand(kCmdSelectView);
            break;
        case kDeferMap:
        case kDeferWelcome:
            endCountdown = 0;
            resumeTime = 0;
            host_.frameCommand(kCmdMap);
            break;
        default:
            break;
    }
    deferredCommand = kDeferNone;
}

void RunController::everySecond() {
    if (idleCountdown != 0) {
        idleCountdown -= 1;
        if (idleCountdown == 0) {
            held = false;
            paused = false;
            host_.pauseChanged();
            closePopups();
            tutorialBrowsing = false;
            setIdleCountdown(toInt32(settings.timeout));
        }
    }
    if (endCountdown == 0) return;
    endCountdown -= 1;
    if (endCountdown != 0) return;

    closePopups();
    tutorialBrowsing = false;
    if (settings.runScript) {
        restartRequested = false;
        const std::size_t count = host_.catalogueSize();
        scriptIndex += 1;
        if (scriptIndex < 0 || static_cast<std::size_t>(scriptIndex) >= count) {
            scriptIndex = 0;
            if (settings.exitWhenDone) {
                host_.frameCommand(kCmdExit);
                return;
            }
        }
        if (count == 0) {
            // Nothing in the catalogue to go on with: repeat this run.
            restartRequested = true;
            return;
        }
        currentEventName = host_.catalogueName(static_cast<std::size_t>(scriptIndex));
        startEvent();
    } else if (settings.exitWhenDone) {
        host_.frameCommand(kCmdExit);
    } else if (settings.secondsToPauseAtEnd == 0) {
        endCountdown = kEndRecheckSeconds;
    } else {
        restartRequested = true;
    }
}

}  // namespace orvane
