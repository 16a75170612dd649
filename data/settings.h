#pragma once
// The program-wide options of both programs, kept in "OV.INI".

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

/// Sound made when a wave arrives at a station.
enum AudioChoice : std::int32_t { kAudioNone = 0, kAudioPc = 1, kAudioEq = 2, kAudioChime = 3 };

/// View layout: both Earth views with seismograms, the globe, the cross-section.
enum ViewChoice : std::int32_t { kViewAll = 0, kView3d = 1, kViewXs = 2 };

struct Settings {
    static constexpr std::size_t kWorkingDirectoryWidth = 63;
    static constexpr std::size_t kTutorialEventWidth = 15;
    static constexpr std::size_t kExitLabelWidth = 23;
    static constexpr std::size_t kFrameFileNameWidth = 15;
    static constexpr std::size_t kPhaseNameWidth = 80;
    /// The file is read in pieces of at most 79 characters, so a value longer
    /// than a piece holds after its key and ": " would come back cut. The
    /// working directory and phase names are kept to what reads back whole.
    static constexpr std::size_t kStoredWorkingDirectoryWidth = 79 - sizeof("WORKING DIRECTORY: ") + 1;
    static constexpr std::size_t kStoredPhaseNameWidth = 79 - sizeof("PHASE: ") + 1;

    std::string workingDirectory;
    bool titleBar = false;
    bool canExit = true;
    bool menuBar = true;
    bool selectComponents = true;
    bool baseLevelMidi = false;
    bool selectView = true;
    bool labelPhasesOnEarthView = false;
    bool labelPhasesOnCrossSection = false;
    bool labelPhasesOnSeismogram = false;
    bool allPhasesOnCrossSection = false;
    bool pPhasesOnCrossSection = false;
    bool sPhasesOnCrossSection = false;
    bool specifiedPhasesOnCrossSection = false;
    bool rightButtonRestart = false;
    bool runScript = false;
    bool showEventInformation = true;
    bool showWelcomeScreen = true;
    bool tutorial = false;       ///< tutorial mode in force for this run
    bool tutorialSaved = false;  ///< tutorial mode written back as "TUTORIAL"
    bool slider = true;
    bool scienceOnASphere = false;
    std::string frameFileName;  ///< not stored
    std::string tutorialEvent;
    std::vector<std::string> phases;  ///< specified phases in file order, duplicates kept
    std::int32_t timerInterval = 500;  ///< not stored
    std::int32_t audio = kAudioChime;
    std::int32_t view = kViewAll;
    std::int32_t currentView = kViewAll;  ///< not stored
    std::uint32_t initialTimeout = 0;
    std::uint32_t timeout = 0;
    std::uint32_t secondsToPauseAtEnd = 1;
    std::string exitLabel = "Exit";
    bool exitWhenDone = false;
    float buttonHeight = 2.0f;

    /// Sets every field to its default. The P*, S* and specified phase
    /// choices are left as they are: they start clear with the program.
    void applyDefaults();

    /// Defaults, then the file at `path` if it can be opened.
    void read(const std::string& path);

    /// The file's text for the current values.
    std::string text() const;

    /// Replaces the file at `path` atomically; false when it cannot be written.
    bool write(const std::string& path) const;

    void appendPhase(std::string_view name);
    void freePhases() { phases.clear(); }
};

/// The one settings record of the program.
extern Settings settings;

/// The settings file, in the current directory.
inline constexpr const char* kSettingsFileName = "OV.INI";

/// Reads "OV.INI" from the current directory into `settings`.
void readSettings();

/// Writes `settings` to "OV.INI" in the current directory: nonzero on success.
int writeSettings();

void appendPhase(std::string_view name);
void freePhases();

/// True when `text` is "YES" in any case.
bool isYes(std::string_view text);

/// "YES" for a nonzero flag, else "NO".
const char* yesNo(bool flag);

/// Stored names of the audio and view choices; nullptr outside the table.
const char* audioName(std::int32_t audio);
const char* viewName(std::int32_t view);

}  // namespace orvane
