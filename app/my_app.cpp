#include "app/my_app.h"

#include <QApplication>
#include <QScreen>
#include <clocale>
#include <cstdlib>
#include <filesystem>

#include "app/my_frame.h"
#include "app/run_state.h"
#include "app/sound.h"
#include "app/user_directory.h"
#include "app/welcome_window.h"
#include "data/catalogue.h"
#include "data/event_loading.h"
#include "data/settings.h"
#include "platform/program_icon.h"
#include "platform/startup.h"
#include "platform/system.h"
#include "platform/window.h"
#include "ui/buttons.h"
#include "views/child_seis.h"
#include "views/child_view.h"

namespace orvane {

void prepareStartUp() {
    readSettings();
    if (!settings.workingDirectory.empty()) {
        // Every later relative name, "OV.INI" at the end included, is in there.
        std::error_code ignored;
        std::filesystem::current_path(settings.workingDirectory, ignored);
    }
    const Size screen = screenSize();
    screenWidth = screen.width;
    screenHeight = screen.height;
    scanCatalogue();
    loadTutorialList("tutorial.txt", tutorialList);
    viewsReady = false;
}

void finishProgram() {
    writeSettings();
    sound().closeWave();
    releaseTraces();
    catalogue.clear();
    stationList.clear();
    tutorialList.clear();
    sound().stopTune();
    sound().closeMidi();
    settings.freePhases();
}

TMyApp::TMyApp() = default;

TMyApp::~TMyApp() {
    if (frame_ && mainWindow() == frame_.get()) setMainWindow(nullptr);
}

void TMyApp::initMainWindow() {
    auto* welcome = new welcomeWindow();
    frame_ = std::make_unique<myFrame>(welcome);
    setMainWindow(frame_.get());
    if (settings.showWelcomeScreen) sound().playTune("OV.MID", frame_.get());
    frame_->setWindowIcon(programIcon());
    frame_->setWindowTitle("Orvane");
    viewsReady = false;
    // Without a window manager "maximized" means nothing: cover the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        frame_->setGeometry(screen->availableGeometry());
    frame_->showMaximized();
    frame_->setUp();
}

int TMyApp::run() { return QApplication::exec(); }

void startViewer(TMyApp& app, bool openSound) {
    initialiseWindowing();
    prepareStartUp();
    if (openSound) openSoundOutput();
    // Every button of the viewer clicks before it acts, the welcome
    // window's and the map's too, so the output is open before the first run.
    clickHook = [] { sound().click(); };
    sound().openMidi();
    seismogramSounds = {
        [](std::uint32_t type) { sound().messageBeep(type); },
        [](const std::uint8_t* bytes, std::int32_t length) { sound().playSamples(bytes, length); },
        [] { sound().closeWave(); }};
    app.initMainWindow();
}

int runViewer(int argc, char** argv, bool userDirectory) {
    // Without any display the program still runs, on the offscreen platform.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) useOffscreenPlatform();
    QApplication application(argc, argv);
    // Qt applied the user's locale; numbers in files keep their "." anyway.
    std::setlocale(LC_NUMERIC, "C");
    QGuiApplication::setDesktopFileName("orvane");
    if (userDirectory) {
        const UserDirectory entered = enterUserDirectory(userWorkingDirectory(), installedDemoMaker());
        if (entered != UserDirectory::Ready) return entered == UserDirectory::Failed ? 1 : 0;
    }
    int status = 0;
    {
        TMyApp app;
        startViewer(app);
        status = app.run();
    }
    finishProgram();
    releaseSound();
    return status != 0 ? 1 : 0;
}

}  // namespace orvane
