#include "data/settings.h"

#include <gtest/gtest.h>
#include <fstream>
#include <sstream>

#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"
#include "tests/support/write_faults.h"

using namespace orvane;

namespace {

// Reads settings from the given file text, starting from a fresh program.
Settings readText(const std::string& text) {
    TempDir dir;
    std::ofstream(dir.file("OV.INI"), std::ios::binary) << text;
    Settings s;
    s.read(dir.file("OV.INI"));
    return s;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

const char* const kDefaultFile =
    "WORKING DIRECTORY: \n"
    "TITLE BAR: NO\n"
    "MENU BAR: YES\n"
    "LABEL PHASES ON CROSS-SECTION: NO\n"
    "LABEL PHASES ON EARTH VIEW: NO\n"
    "LABEL PHASES ON SEISMOGRAM: NO\n"
    "ALL PHASES ON CROSS-SECTION: NO\n"
    "P* PHASES ON CROSS-SECTION: NO\n"
    "S* PHASES ON CROSS-SECTION: NO\n"
    "SPECIFIED PHASES ON CROSS-SECTION: NO\n"
    "BASE LEVEL MIDI: NO\n"
    "INITIAL TIMEOUT: 0\n"
    "TIMEOUT: 0\n"
    "SECONDS TO PAUSE AT END: 1\n"
    "CAN EXIT: YES\n"
    "EXIT LABEL: Exit\n"
    "TUTORIAL EVENT: \n"
    "TUTORIAL: NO\n"
    "SELECT COMPONENTS: YES\n"
    "SELECT VIEW: YES\n"
    "RUN SCRIPT: NO\n"
    "RIGHT BUTTON RESTART: NO\n"
    "SHOW EVENT INFORMATION: YES\n"
    "SHOW WELCOME SCREEN: YES\n"
    "SLIDER: YES\n"
    "EXIT WHEN DONE: NO\n"
    "AUDIO: CHIME\n"
    "VIEW: ALL\n"
    "BUTTON HEIGHT: 2\n"
    "SCIENCE ON A SPHERE: NO\n";

}  // namespace

TEST(SettingsDefaults, MissingFileLeavesDefaults) {
    TempDir dir;
    Settings s;
    s.titleBar = true;
    s.exitLabel = "changed";
    s.appendPhase("PKP");
    s.read(dir.file("OV.INI"));
    EXPECT_FALSE(s.titleBar);
    EXPECT_EQ(s.exitLabel, "Exit");
    EXPECT_TRUE(s.phases.empty());
    EXPECT_EQ(s.timerInterval, 500);
    EXPECT_EQ(s.audio, kAudioChime);
    EXPECT_EQ(s.secondsToPauseAtEnd, 1u);
    EXPECT_FLOAT_EQ(s.buttonHeight, 2.0f);
}

TEST(SettingsDefaults, DefaultFileIsWrittenByteForByte) {
    TempDir dir;
    Settings s;
    ASSERT_TRUE(s.write(dir.file("OV.INI")));
    EXPECT_EQ(slurp(dir.file("OV.INI")), kDefaultFile);
}

TEST(SettingsDefaults, ProgramWideRecordIsReadAndWrittenInCurrentDirectory) {
    TempDir dir;
    ScopedCurrentDir here(dir.path());
    std::ofstream("ov.ini") << "TITLE BAR: YES\n";  // found without regard to case
    readSettings();
    EXPECT_TRUE(settings.titleBar);
    appendPhase("SKS");
    EXPECT_NE(writeSettings(), 0);
    EXPECT_NE(slurp("ov.ini").find("PHASE: SKS\n"), std::string::npos);
    freePhases();
    EXPECT_TRUE(settings.phases.empty());
    readSettings();
    ASSERT_EQ(settings.phases.size(), 1u);
    settings.applyDefaults();
}

TEST(SettingsPhaseChoices, AllWinsOverStarPhases) {
    Settings s = readText("ALL PHASES ON CROSS-SECTION: YES\nS* PHASES ON CROSS-SECTION: YES\n");
    EXPECT_TRUE(s.allPhasesOnCrossSection);
    EXPECT_FALSE(s.pPhasesOnCrossSection);
    EXPECT_FALSE(s.sPhasesOnCrossSection);
}

TEST(SettingsPhaseChoices, PWinsOverSAndSpecifiedIsIndependent) {
    Settings s = readText(
        "S* PHASES ON CROSS-SECTION: YES\nP* PHASES ON CROSS-SECTION: YES\n"
        "SPECIFIED PHASES ON CROSS-SECTION: YES\n");
    EXPECT_TRUE(s.pPhasesOnCrossSection);
    EXPECT_FALSE(s.sPhasesOnCrossSection);
    EXPECT_TRUE(s.specifiedPhasesOnCrossSection);
    Settings only = readText("S* PHASES ON CROSS-SECTION: yes\n");
    EXPECT_TRUE(only.sPhasesOnCrossSection);
}

TEST(SettingsFlags, YesInAnyCaseSetsAndAnythingElseClears) {
    Settings s = readText("CAN EXIT: no\nTITLE BAR: yes\nSLIDER: maybe\n");
    EXPECT_FALSE(s.canExit);
    EXPECT_TRUE(s.titleBar);
    EXPECT_FALSE(s.slider);
    EXPECT_FALSE(readText("CAN EXIT: maybe\n").canExit);
    EXPECT_TRUE(readText("CAN EXIT: Yes\n").canExit);
}

TEST(SettingsFlags, NeverChangedBackByALaterLine) {
    Settings s = readText("CAN EXIT: NO\nCAN EXIT: YES\nTITLE BAR: YES\nTITLE BAR: NO\n");
    EXPECT_FALSE(s.canExit);
    EXPECT_TRUE(s.titleBar);
}

TEST(SettingsFlags, KeysAreUpperCaseButBlanksAreLoose) {
    Settings s = readText("title bar: YES\nMENU   BAR:NO\n");
    EXPECT_FALSE(s.titleBar);
    EXPECT_FALSE(s.menuBar);
}

TEST(SettingsFlags, TutorialIsCopiedToTheSavedFlag) {
    Settings s = readText("TUTORIAL: YES\n");
    EXPECT_TRUE(s.tutorial);
    EXPECT_TRUE(s.tutorialSaved);
}

TEST(SettingsExitLabel, KeepsBlanksCaseAndIsCut) {
    EXPECT_EQ(readText("EXIT LABEL: Leave the Museum\n").exitLabel, "Leave the Museum");
    EXPECT_EQ(readText("exit label: Auf Wiedersehen\n").exitLabel, "Auf Wiedersehen");
    EXPECT_EQ(readText("EXIT LABEL: This label is thirty chars\n").exitLabel,
              "This label is thirty ch");
    // A label ending in a Windows line end does not keep the carriage return.
    EXPECT_EQ(readText("EXIT LABEL: Bye now\r\n").exitLabel, "Bye now");
}

TEST(SettingsWords, OnlyTheFirstWordIsKeptAndWordsAreCutToTheirField) {
    EXPECT_EQ(readText("WORKING DIRECTORY: /srv/orvane data\n").workingDirectory, "/srv/orvane");
    // A read takes 79 characters, so a long directory keeps what fits in the
    // first piece and the rest of the line is ignored.
    Settings s = readText("WORKING DIRECTORY: " + std::string(70, 'd') + "\n");
    EXPECT_EQ(s.workingDirectory, std::string(60, 'd'));
    EXPECT_EQ(readText("TUTORIAL EVENT: 19940117120000000.evt\n").tutorialEvent,
              "199401171200000");
}

TEST(SettingsEnumerations, NamesWithoutCaseAndUnknownNamesIgnored) {
    EXPECT_EQ(readText("AUDIO: chime\n").audio, kAudioChime);
    EXPECT_EQ(readText("AUDIO: eq\n").audio, kAudioEq);
    EXPECT_EQ(readText("AUDIO: PC\nAUDIO: trumpet\n").audio, kAudioPc);
    EXPECT_EQ(readText("VIEW: xs\n").view, kViewXs);
    EXPECT_EQ(readText("VIEW: 3d\n").view, kView3d);
    EXPECT_EQ(readText("VIEW: sideways\n").view, kViewAll);
}

TEST(SettingsNumbers, TimeoutKeysAreKeptApart) {
    Settings a = readText("TIMEOUT: 30\n");
    EXPECT_EQ(a.timeout, 30u);
    EXPECT_EQ(a.initialTimeout, 0u);
    Settings b = readText("INITIAL TIMEOUT: 45\n");
    EXPECT_EQ(b.initialTimeout, 45u);
    EXPECT_EQ(b.timeout, 0u);
}

TEST(SettingsNumbers, MalformedNumbersLeaveTheField) {
    Settings s = readText(
        "TIMEOUT: soon\nSECONDS TO PAUSE AT END: -3\nINITIAL TIMEOUT: 99999999999\n"
        "BUTTON HEIGHT: nan\nBUTTON HEIGHT: -1\nBUTTON HEIGHT: 1e999\n");
    EXPECT_EQ(s.timeout, 0u);
    EXPECT_EQ(s.secondsToPauseAtEnd, 1u);
    EXPECT_EQ(s.initialTimeout, 0u);
    EXPECT_FLOAT_EQ(s.buttonHeight, 2.0f);
    EXPECT_FLOAT_EQ(readText("BUTTON HEIGHT: 2.5\n").buttonHeight, 2.5f);
}

TEST(SettingsLines, ShortLinesAreSkipped) {
    Settings s = readText("\n\nP:X\n\r\nPHASE:P\nPHASE: PKP\n");
    EXPECT_EQ(s.phases, (std::vector<std::string>{"P", "PKP"}));
}

TEST(SettingsLines, LongLinesAreReadInPiecesAndJunkIsHarmless) {
    std::string junk;
    for (int i = 0; i < 4000; ++i) junk.push_back(static_cast<char>(i * 37 % 256));
    std::string text = junk + "\n" + std::string(200, 'x') + "\nTITLE BAR: YES\n" +
                       std::string("SLIDER:\0 NO\n", 12) + "CAN EXIT: NO\n";
    Settings s = readText(text);
    EXPECT_TRUE(s.titleBar);
    EXPECT_TRUE(s.slider);  // cut at the NUL: no value, line ignored
    EXPECT_FALSE(s.canExit);
    // A key continued past the 79th character becomes a line of its own.
    Settings split = readText(std::string(79, ' ') + "TITLE BAR: YES\n");
    EXPECT_TRUE(split.titleBar);
}

TEST(SettingsPhases, DuplicatesKeptInOrderAndWrittenAfterAllKeys) {
    Settings s = readText("PHASE: PKP\nTITLE BAR: YES\nPHASE: PKP\nPHASE: ScS\n");
    EXPECT_EQ(s.phases, (std::vector<std::string>{"PKP", "PKP", "ScS"}));
    std::string text = s.text();
    EXPECT_NE(text.find("SCIENCE ON A SPHERE: NO\nPHASE: PKP\nPHASE: PKP\nPHASE: ScS\n"),
              std::string::npos);
    EXPECT_EQ(text.size() - text.rfind("PHASE: ScS\n"), std::string("PHASE: ScS\n").size());
}

TEST(SettingsRoundTrip, EveryStoredFieldSurvives) {
    Settings s;
    s.workingDirectory = "/srv/orvane";
    s.titleBar = true;
    s.canExit = false;
    s.menuBar = false;
    s.selectComponents = false;
    s.baseLevelMidi = true;
    s.selectView = false;
    s.labelPhasesOnEarthView = true;
    s.labelPhasesOnCrossSection = true;
    s.labelPhasesOnSeismogram = true;
    s.specifiedPhasesOnCrossSection = true;
    s.pPhasesOnCrossSection = true;
    s.rightButtonRestart = true;
    s.runScript = true;
    s.showEventInformation = false;
    s.showWelcomeScreen = false;
    s.tutorialSaved = true;
    s.slider = false;
    s.scienceOnASphere = true;
    s.tutorialEvent = "1994011712.evt";
    s.phases = {"P", "PKIKP", "P"};
    s.audio = kAudioEq;
    s.view = kViewXs;
    s.initialTimeout = 120;
    s.timeout = 60;
    s.secondsToPauseAtEnd = 7;
    s.exitLabel = "Good bye";
    s.exitWhenDone = true;
    s.buttonHeight = 2.75f;

    TempDir dir;
    ASSERT_TRUE(s.write(dir.file("OV.INI")));
    Settings r;
    r.read(dir.file("OV.INI"));
    EXPECT_EQ(r.workingDirectory, s.workingDirectory);
    EXPECT_EQ(r.titleBar, s.titleBar);
    EXPECT_EQ(r.canExit, s.canExit);
    EXPECT_EQ(r.menuBar, s.menuBar);
    EXPECT_EQ(r.selectComponents, s.selectComponents);
    EXPECT_EQ(r.baseLevelMidi, s.baseLevelMidi);
    EXPECT_EQ(r.selectView, s.selectView);
    EXPECT_EQ(r.labelPhasesOnEarthView, s.labelPhasesOnEarthView);
    EXPECT_EQ(r.labelPhasesOnCrossSection, s.labelPhasesOnCrossSection);
    EXPECT_EQ(r.labelPhasesOnSeismogram, s.labelPhasesOnSeismogram);
    EXPECT_EQ(r.allPhasesOnCrossSection, s.allPhasesOnCrossSection);
    EXPECT_EQ(r.pPhasesOnCrossSection, s.pPhasesOnCrossSection);
    EXPECT_EQ(r.sPhasesOnCrossSection, s.sPhasesOnCrossSection);
    EXPECT_EQ(r.specifiedPhasesOnCrossSection, s.specifiedPhasesOnCrossSection);
    EXPECT_EQ(r.rightButtonRestart, s.rightButtonRestart);
    EXPECT_EQ(r.runScript, s.runScript);
    EXPECT_EQ(r.showEventInformation, s.showEventInformation);
    EXPECT_EQ(r.showWelcomeScreen, s.showWelcomeScreen);
    EXPECT_EQ(r.tutorial, s.tutorialSaved);
    EXPECT_EQ(r.tutorialSaved, s.tutorialSaved);
    EXPECT_EQ(r.slider, s.slider);
    EXPECT_EQ(r.scienceOnASphere, s.scienceOnASphere);
    EXPECT_EQ(r.tutorialEvent, s.tutorialEvent);
    EXPECT_EQ(r.phases, s.phases);
    EXPECT_EQ(r.audio, s.audio);
    EXPECT_EQ(r.view, s.view);
    EXPECT_EQ(r.initialTimeout, s.initialTimeout);
    EXPECT_EQ(r.timeout, s.timeout);
    EXPECT_EQ(r.secondsToPauseAtEnd, s.secondsToPauseAtEnd);
    EXPECT_EQ(r.exitLabel, s.exitLabel);
    EXPECT_EQ(r.exitWhenDone, s.exitWhenDone);
    EXPECT_FLOAT_EQ(r.buttonHeight, s.buttonHeight);
}

// Values pressed against their key take more of a 79-character read than
// the file written back gives them; they must still come back whole.
TEST(SettingsRoundTrip, LongestValuesReadBackAsWritten) {
    TempDir dir;
    Settings s = readText("WORKING DIRECTORY:" + std::string(70, 'd') + "\nPHASE:" + std::string(80, 'P') +
                          "\nEXIT LABEL: Leave\r\r\n");
    EXPECT_EQ(s.exitLabel, "Leave");
    EXPECT_EQ(s.workingDirectory, std::string(60, 'd'));
    ASSERT_EQ(s.phases.size(), 1u);
    EXPECT_EQ(s.phases[0], std::string(72, 'P'));
    ASSERT_TRUE(s.write(dir.file("OV.INI")));
    Settings again;
    again.read(dir.file("OV.INI"));
    EXPECT_EQ(again.text(), s.text());
}

TEST(SettingsWrite, FailureKeepsTheOldFile) {
    TempDir dir;
    std::string path = dir.file("OV.INI");
    std::ofstream(path) << "TITLE BAR: YES\n";
    Settings big;
    EXPECT_EQ(resultUnderFileSizeLimit([&] { return big.write(path); }, 64), false);
    EXPECT_EQ(slurp(path), "TITLE BAR: YES\n");
    Settings s;
    EXPECT_FALSE(s.write(dir.file("missing/OV.INI")));
}

TEST(SettingsWrite, EveryFaultFailsCleanlyAndKeepsTheOldFile) {
    for (WriteFault fault : kWriteFaults) {
        SCOPED_TRACE(faultName(fault));
        TempDir dir;
        Settings s;
        s.exitLabel = "Changed";
        const std::string path = dir.file("OV.INI");
        FaultOutcome out = writeUnderFault(fault, path, "TITLE BAR: YES\n", [&] { return s.write(path); });
        expectFailedCleanly(out);
    }
}

TEST(SettingsHelpers, YesNo) {
    EXPECT_TRUE(isYes("yEs"));
    EXPECT_FALSE(isYes("YES "));
    EXPECT_FALSE(isYes("Y"));
    EXPECT_STREQ(yesNo(true), "YES");
    EXPECT_STREQ(yesNo(false), "NO");
}
