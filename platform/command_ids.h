#pragma once
// Every numeric command id of the two programs' menus, buttons and windows.
// The numbers are fixed: windows talk to each other only through them.
// Some numbers mean different things in different windows (a dialog's 2 is
// its Cancel button, the maintenance menu's 1 its Controls item).

namespace orvane {

enum CommandId : int {
    // --- Viewer main frame: menu "COMMANDS" -------------------------------
    kCmdViewEarth = 101,          ///< View "&Earth": view 1
    kCmdViewCrossSection = 102,   ///< View "&Cross-Section": view 2
    kCmdViewAll = 103,            ///< View "&Both with Seismograms": view 0
    kCmdMap = 202,                ///< "&Map"; also right button, World Menu, welcome
    kCmdExit = 203,               ///< "E&xit", Exit button, end of script
    kCmdPhases = 204,             ///< "&Phases..."
    kCmdSpeed = 205,              ///< "&Speed..."
    kCmdAbout = 206,              ///< "&About"
    kCmdHelpContents = 207,       ///< "&Help contents"
    kCmdAudio = 208,              ///< "&Audio..."
    kCmdRestart = 209,            ///< "&Restart"
    kCmdTimeWindow = 211,         ///< "&Time window..."
    kCmdMakeBitmap = 212,         ///< "&Make bitmap..."
    kCmdSelectView = 213,         ///< "Se&lect View..."
    kCmdRunFromScript = 214,      ///< "Run from Script"
    kCmdList = 24332,             ///< Earthquakes "&List"
    kCmdHelpContentsToo = 11842,  ///< not in the menu; same as 207

    // --- Viewer main frame: messages from other windows -------------------
    kCmdEnter = 1010,             ///< the Enter key (accelerator table 1)
    kCmdStartEvent = 1025,        ///< map window: start currentEventName
    kCmdSeismogramInfo = 1039,    ///< open "SEIS.INF"
    kCmdCrossSectionInfo = 1040,  ///< open "XS.INF"
    kCmdEarthInfo = 1041,         ///< open "3D.INF"
    kCmdEventInfo = 1042,         ///< open the event's "EVT.INF"
    kCmdBrowseTutorial = 1051,    ///< browse the tutorial

    // --- Control panel buttons and slider ----------------------------------
    kCmdPanelPause = 1026,      ///< "Pause" / "Resume"
    kCmdPanelWorldMenu = 1027,  ///< "World Menu"
    kCmdPanelRepeat = 1028,     ///< "Repeat"
    kCmdPanelViews = 1029,      ///< "Views"
    kCmdPanelExit = 1030,       ///< exit label
    kCmdPanelEventInfo = 1031,  ///< "Event Info"
    kIdSpeedSlider = 1032,      ///< the speed slider control
    kCmdPanelTutorial = 1050,   ///< "Tutorial"

    // --- Welcome window, views, map ----------------------------------------
    kCmdWelcomeStart = 1033,    ///< "Start"
    kCmdViewInfoButton = 1036,  ///< a view's "Info" button, inside the view
    kCmdMapExit = 1047,         ///< map's exit button
    kCmdMapInformation = 1048,  ///< map's "Information" button

    // --- Information and tutorial windows -----------------------------------
    kCmdHelpBack = 1034,          ///< "Back"
    kCmdHelpMore = 1035,          ///< "More..."
    kCmdTutorialContinue = 1043,  ///< "Continue"
    kCmdTutorialNext = 1044,      ///< "Next"
    kCmdTutorialPrevious = 1045,  ///< "Previous"
    kCmdTutorialCancel = 1046,    ///< "Cancel"

    // --- Dialog buttons -------------------------------------------------------
    kIdOk = 1,                  ///< "OK" (also "GO" in the event dialog)
    kIdCancel = 2,              ///< "Cancel"; the view dialog's lower right picture
    kIdHelp = 9,                ///< "Help" of the settings and selection dialogs
    kIdViewAll = 556,           ///< view dialog: all views
    kIdViewEarth = 557,         ///< view dialog: globe
    kIdViewCrossSection = 558,  ///< view dialog: cross-section
    kIdSelectStations = 606,    ///< event dialog: "Select Stations"
    kIdEditorHelp = 760,        ///< event editor: "Help"

    // --- Maintenance frame: menu "M_COMMANDS" ----------------------------------
    kCmdMaintControls = 1,           ///< "&Controls..."
    kCmdMaintNew = 803,              ///< "&New"
    kCmdMaintOpen = 804,             ///< "&Open"
    kCmdMaintExit = 805,             ///< "E&xit" (two entries)
    kCmdMaintPhases = 806,           ///< "&Phases..."
    kCmdMaintAudio = 807,            ///< "&Audio..."
    kCmdMaintView = 808,             ///< "&View..."
    kCmdMaintHelp = 809,             ///< "&Orvane Help"
    kCmdMaintAbout = 810,            ///< "&About"
    kCmdMaintInitialTimeout = 813,   ///< "&Initial Timeout..."
    kCmdMaintTimeout = 815,          ///< "Time&out..."
    kCmdMaintEditInformation = 816,  ///< "&Edit Information..."
    kCmdMaintPauseAtEnd = 817,       ///< "&Pause at End..."
};

}  // namespace orvane
