#pragma once
// A recording stand-in for the main frame as the run controller drives it:
// timers that fire only when a test says so, a tick count the test sets, and
// a log of every view, panel, sound and window operation.

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/run_controller.h"
#include "app/run_state.h"
#include "data/event_loading.h"
#include "data/settings.h"
#include "views/child_view.h"

namespace orvane::test {

struct FakePopupState {
    bool closed = false;
    bool hidden = false;
    bool destroyed = false;
    bool continuePressed = false;
    bool nextPressed = false;
    bool previousPressed = false;
    bool cancelPressed = false;
    std::string topic;
    TutorialMode mode = TutorialMode::Guided;
    TutorialPosition position = TutorialPosition::Middle;
};

class FakePopup : public TextPopup {
  public:
    explicit FakePopup(std::shared_ptr<FakePopupState> state) : state_(std::move(state)) {}
    ~FakePopup() override { state_->destroyed = true; }
    bool closed() const override { return state_->closed; }
    void close() override { state_->hidden = true; }
    bool continuePressed() const override { return state_->continuePressed; }
    bool nextPressed() const override { return state_->nextPressed; }
    bool previousPressed() const override { return state_->previousPressed; }
    bool cancelPressed() const override { return state_->cancelPressed; }

  private:
    std::shared_ptr<FakePopupState> state_;
};

class FakeRunHost : public RunHost {
  public:
    std::map<int, int> timers;  // running timers: id -> period
    std::uint32_t now = 0;
    bool input = false;
    bool crossSectionChanges = true;
    std::vector<std::string> log;
    std::vector<float> pulses;
    std::vector<std::shared_ptr<FakePopupState>> tutorials;
    std::vector<int> commands;
    std::vector<std::string> started;
    std::vector<std::string> catalogue;

    bool setWindowTimer(int id, int ms) override {
        timers[id] = ms;
        return true;
    }
    void killWindowTimer(int id) override { timers.erase(id); }
    std::uint32_t systemTickCount() override { return now; }
    bool inputWaiting() override { return input; }

    void stopTune() override { log.push_back("stopTune"); }
    void playTune(const std::string& name) override { log.push_back("playTune " + name); }
    void openMidi() override { log.push_back("openMidi"); }
    void closeMidi() override { log.push_back("closeMidi"); }
    void drawPulse(float size) override { pulses.push_back(size); }

    void crossSectionLoadTables() override { log.push_back("xs.load"); }
    bool crossSectionDrawWaves(std::int16_t t) override {
        log.push_back("xs.draw " + std::to_string(t));
        return crossSectionChanges;
    }
    void crossSectionPresent() override { log.push_back("xs.present"); }
    void crossSectionReset() override { log.push_back("xs.reset"); }
    void crossSectionClear() override { log.push_back("xs.clear"); }
    void globeDrawWaves(float t) override { log.push_back("globe.draw " + num(t)); }
    void globePresent() override { log.push_back("globe.present"); }
    void globeReset() override { log.push_back("globe.reset"); }
    void globeClear() override { log.push_back("globe.clear"); }
    void globeExportFrame(float t) override { log.push_back("globe.export " + num(t)); }
    void seismogramLayout(float t) override { log.push_back("seis.layout " + num(t)); }
    void seismogramAdvance(float t) override { log.push_back("seis.advance " + num(t)); }
    void seismogramRepaint() override { log.push_back("seis.repaint"); }
    void readSpeed() override { log.push_back("readSpeed"); }
    void showMinutes(float t) override { log.push_back("minutes " + num(t)); }
    void pauseChanged() override { log.push_back("pauseChanged"); }

    std::unique_ptr<TextPopup> openTutorial(const TutorialEntry& entry, TutorialMode mode,
                                            TutorialPosition position) override {
        auto state = std::make_shared<FakePopupState>();
        state->topic = entry.topic;
        state->mode = mode;
        state->position = position;
        tutorials.push_back(state);
        return std::make_unique<FakePopup>(state);
    }
    void frameCommand(int id) override { commands.push_back(id); }
    void startEventNamed(const std::string& name) override { started.push_back(name); }
    std::size_t catalogueSize() override { return catalogue.size(); }
    std::string catalogueName(std::size_t index) override { return catalogue.at(index); }

    bool running(int id) const { return timers.count(id) != 0; }
    bool logged(const std::string& entry) const {
        for (const auto& e : log)
            if (e == entry) return true;
        return false;
    }
    static std::string num(float t) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", t);
        return text;
    }
};

/// Program-wide values as at program start, with an event loaded that has
/// the given magnitude and no traces.
inline void freshProgramState(float magnitude = 2.0f) {
    resetRunValues();
    settings.applyDefaults();
    settings.tutorial = false;
    tutorialList.clear();
    viewsReady = false;
    LoadedEvent& event = loadedEvent();
    releaseTraces(event);
    event.magnitude = magnitude;
    event.timeAcceleration = 20;
    event.timeLimit = 7200;
    event.timeWindow = 1800;
}

}  // namespace orvane::test
