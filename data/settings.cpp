#include "data/settings.h"

#include <cmath>
#include <cstdio>
#include <functional>

#include "data/files.h"
#include "data/text_scan.h"

namespace orvane {

Settings settings;

namespace {

constexpr const char* kAudioNames[] = {"NONE", "PC", "EQ", "CHIME"};
constexpr const char* kViewNames[] = {"ALL", "3D", "XS"};

// A value handler: scans what follows the key and reports whether it scanned.
using Handler = std::function<bool(std::string_view)>;

// A flag that is set by default is only ever cleared by the file, one that is
// clear by default only ever set: a later line never changes it back.
Handler clearUnlessYes(bool& flag) {
    return [&flag](std::string_view rest) {
        auto w = scanWord(rest, 80);
        if (w && !isYes(*w)) flag = false;
        return w.has_value();
    };
}
Handler setIfYes(bool& flag) {
    return [&flag](std::string_view rest) {
        auto w = scanWord(rest, 80);
        if (w && isYes(*w)) flag = true;
        return w.has_value();
    };
}
Handler word(std::size_t width, std::function<void(const std::string&)> store) {
    return [width, store](std::string_view rest) {
        auto w = scanWord(rest, width);
        if (w) store(*w);
        return w.has_value();
    };
}
Handler number(std::uint32_t& field) {
    return [&field](std::string_view rest) {
        auto v = scanUnsigned(rest);
        if (v) field = *v;
        return v.has_value();
    };
}
template <std::size_t N>
Handler named(const char* const (&names)[N], std::int32_t& field) {
    return word(80, [&names, &field](const std::string& w) {
        for (std::size_t i = 0; i < N; ++i)
            if (equalsNoCase(w, names[i])) field = static_cast<std::int32_t>(i);
    });
}

// Applies one line to the record: the first key that matches and whose value
// scans consumes the line; other lines are ignored.
void applyLine(Settings& s, std::string_view line) {
    static constexpr std::string_view kExitLabel = "EXIT LABEL: ";
    const std::pair<const char*, Handler> keys[] = {
        {"WORKING DIRECTORY: ",
         word(Settings::kStoredWorkingDirectoryWidth, [&](const std::string& w) { s.workingDirectory = w; })},
        {"PHASE: ", word(Settings::kStoredPhaseNameWidth, [&](const std::string& w) { s.appendPhase(w); })},
        {"TITLE BAR: ", setIfYes(s.titleBar)},
        {"MENU BAR: ", clearUnlessYes(s.menuBar)},
        {"BASE LEVEL MIDI: ", setIfYes(s.baseLevelMidi)},
        {"LABEL PHASES ON CROSS-SECTION: ", setIfYes(s.labelPhasesOnCrossSection)},
        {"INITIAL TIMEOUT: ", number(s.initialTimeout)},
        {"SECONDS TO PAUSE AT END: ", number(s.secondsToPauseAtEnd)},
        {"TIMEOUT: ", number(s.timeout)},
        {"LABEL PHASES ON EARTH VIEW: ", setIfYes(s.labelPhasesOnEarthView)},
        {"LABEL PHASES ON SEISMOGRAM: ", setIfYes(s.labelPhasesOnSeismogram)},
        {"ALL PHASES ON CROSS-SECTION: ", setIfYes(s.allPhasesOnCrossSection)},
        {"P* PHASES ON CROSS-SECTION: ", setIfYes(s.pPhasesOnCrossSection)},
        {"S* PHASES ON CROSS-SECTION: ", setIfYes(s.sPhasesOnCrossSection)},
        {"SPECIFIED PHASES ON CROSS-SECTION: ", setIfYes(s.specifiedPhasesOnCrossSection)},
        {"CAN EXIT: ", clearUnlessYes(s.canExit)},
        {nullptr, nullptr},  // the exit label, matched without regard to case
        {"TUTORIAL EVENT: ",
         word(Settings::kTutorialEventWidth, [&](const std::string& w) { s.tutorialEvent = w; })},
        {"SELECT COMPONENTS: ", clearUnlessYes(s.selectComponents)},
        {"SELECT VIEW: ", clearUnlessYes(s.selectView)},
        {"RUN SCRIPT: ", setIfYes(s.runScript)},
        {"RIGHT BUTTON RESTART: ", setIfYes(s.rightButtonRestart)},
        {"SHOW EVENT INFORMATION: ", clearUnlessYes(s.showEventInformation)},
        {"SHOW WELCOME SCREEN: ", clearUnlessYes(s.showWelcomeScreen)},
        {"TUTORIAL: ", setIfYes(s.tutorial)},
        {"SLIDER: ", clearUnlessYes(s.slider)},
        {"EXIT WHEN DONE: ", setIfYes(s.exitWhenDone)},
        {"AUDIO: ", named(kAudioNames, s.audio)},
        {"VIEW: ", named(kViewNames, s.view)},
        {"BUTTON HEIGHT: ",
         [&](std::string_view rest) {
             // A height that is not a positive number would make every button
             // vanish or overflow its size; such a value does not scan.
             auto v = scanFloat(rest);
             if (!v || !(*v > 0)) return false;
             s.buttonHeight = *v;
             return true;
         }},
        {"SCIENCE ON A SPHERE: ", setIfYes(s.scienceOnASphere)},
    };
    for (const auto& [key, handler] : keys) {
        if (!key) {
            if (line.size() >= kExitLabel.size() &&
                equalsNoCase(line.substr(0, kExitLabel.size()), kExitLabel)) {
                std::string_view label = line.substr(kExitLabel.size());
                if (!label.empty() && label.back() == '\r') label.remove_suffix(1);
                s.exitLabel = cut(label, Settings::kExitLabelWidth);
                // A carriage return left at its end would be taken for the
                // line end once the label is written and read again.
                while (!s.exitLabel.empty() && s.exitLabel.back() == '\r') s.exitLabel.pop_back();
                return;
            }
            continue;
        }
        if (auto rest = matchKey(line, key); rest && handler(*rest)) return;
    }
}

}  // namespace

void Settings::applyDefaults() {
    const bool p = pPhasesOnCrossSection;
    const bool sp = sPhasesOnCrossSection;
    const bool specified = specifiedPhasesOnCrossSection;
    *this = Settings{};
    pPhasesOnCrossSection = p;
    sPhasesOnCrossSection = sp;
    specifiedPhasesOnCrossSection = specified;
    timeout = initialTimeout;
}

void Settings::appendPhase(std::string_view name) { phases.push_back(cut(name, kStoredPhaseNameWidth)); }

void Settings::read(const std::string& path) {
    applyDefaults();
    std::FILE* file = openFile(path, "r");
    if (!file) return;
    std::string line;
    while (readLinePiece(file, line, 79)) {
        if (line.size() < 5) continue;
        if (line.back() == '\n') line.pop_back();
        applyLine(*this, line);
    }
    std::fclose(file);
    if (allPhasesOnCrossSection) {
        pPhasesOnCrossSection = false;
        sPhasesOnCrossSection = false;
    } else if (pPhasesOnCrossSection) {
        sPhasesOnCrossSection = false;
    }
    tutorialSaved = tutorial;
}

std::string Settings::text() const {
    std::string out;
    auto line = [&out](const char* key, std::string_view value) {
        out += key;
        out += ": ";
        out += value;
        out += '\n';
    };
    line("WORKING DIRECTORY", workingDirectory);
    line("TITLE BAR", yesNo(titleBar));
    line("MENU BAR", yesNo(menuBar));
    line("LABEL PHASES ON CROSS-SECTION", yesNo(labelPhasesOnCrossSection));
    line("LABEL PHASES ON EARTH VIEW", yesNo(labelPhasesOnEarthView));
    line("LABEL PHASES ON SEISMOGRAM", yesNo(labelPhasesOnSeismogram));
    line("ALL PHASES ON CROSS-SECTION", yesNo(allPhasesOnCrossSection));
    line("P* PHASES ON CROSS-SECTION", yesNo(pPhasesOnCrossSection));
    line("S* PHASES ON CROSS-SECTION", yesNo(sPhasesOnCrossSection));
    line("SPECIFIED PHASES ON CROSS-SECTION", yesNo(specifiedPhasesOnCrossSection));
    line("BASE LEVEL MIDI", yesNo(baseLevelMidi));
    line("INITIAL TIMEOUT", format("%u", initialTimeout));
    line("TIMEOUT", format("%u", timeout));
    line("SECONDS TO PAUSE AT END", format("%u", secondsToPauseAtEnd));
    line("CAN EXIT", yesNo(canExit));
    line("EXIT LABEL", exitLabel);
    line("TUTORIAL EVENT", tutorialEvent);
    line("TUTORIAL", yesNo(tutorialSaved));
    line("SELECT COMPONENTS", yesNo(selectComponents));
    line("SELECT VIEW", yesNo(selectView));
    line("RUN SCRIPT", yesNo(runScript));
    line("RIGHT BUTTON RESTART", yesNo(rightButtonRestart));
    line("SHOW EVENT INFORMATION", yesNo(showEventInformation));
    line("SHOW WELCOME SCREEN", yesNo(showWelcomeScreen));
    line("SLIDER", yesNo(slider));
    line("EXIT WHEN DONE", yesNo(exitWhenDone));
    line("AUDIO", audioName(audio) ? audioName(audio) : "");
    line("VIEW", viewName(view) ? viewName(view) : "");
    line("BUTTON HEIGHT", format("%g", static_cast<double>(buttonHeight)));
    line("SCIENCE ON A SPHERE", yesNo(scienceOnASphere));
    for (const std::string& phase : phases) line("PHASE", phase);
    return out;
}

bool Settings::write(const std::string& path) const { return writeFileAtomically(path, text()); }

void readSettings() { settings.read(kSettingsFileName); }

int writeSettings() { return settings.write(kSettingsFileName) ? 1 : 0; }

void appendPhase(std::string_view name) { settings.appendPhase(name); }

void freePhases() { settings.freePhases(); }

bool isYes(std::string_view text) { return equalsNoCase(text, "YES"); }

const char* yesNo(bool flag) { return flag ? "YES" : "NO"; }

const char* audioName(std::int32_t audio) {
    return audio >= 0 && audio < 4 ? kAudioNames[audio] : nullptr;
}

const char* viewName(std::int32_t view) {
    return view >= 0 && view < 3 ? kViewNames[view] : nullptr;
}

}  // namespace orvane
