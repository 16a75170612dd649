// orvane-maint: creates and edits event files, sets the viewer's options and
// opens the information texts for editing. Works in the current directory.
#include <clocale>

#include "app/sound.h"
#include "app/user_directory.h"
#include "data/command_line.h"
#include "data/settings.h"
#include "maint/maint_frame.h"
#include "platform/startup.h"
#include "ui/buttons.h"

namespace {

const orvane::ProgramInfo kProgram{
    "orvane-maint", "[--user-data]",
    "The maintenance program of the Orvane viewer: creates and edits the event files, sets the viewer's\n"
    "options in OV.INI and opens the information texts for editing, in the current directory.",
    {{"--user-data", "work in $XDG_DATA_HOME/orvane, made with the demonstration data at first"}}};

}  // namespace

int main(int argc, char** argv) {
    using namespace orvane;
    const CommandLine line = readCommandLine(kProgram, argc, argv);
    if (line.exit) return line.status;
    TMyApp app(argc, argv);
    // Qt applied the user's locale; numbers in files keep their "." anyway.
    std::setlocale(LC_NUMERIC, "C");
    QGuiApplication::setDesktopFileName("orvane-maint");
    initialiseWindowing();
    if (line.has("--user-data")) {
        const UserDirectory entered = enterUserDirectory(userWorkingDirectory(), installedDemoMaker());
        if (entered != UserDirectory::Ready) return entered == UserDirectory::Failed ? 1 : 0;
    }
    readSettings();
    openSoundOutput();
    clickHook = [] { sound().click(); };
    ovmFrame* frame = app.initMainWindow();
    frame->show();
    int result = app.exec();
    freePhases();
    releaseSound();
    return result;
}
