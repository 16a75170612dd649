// orvane-maint: creates and edits event files, sets the viewer's options and
// opens the information texts for editing. Works in the current directory.
#include <clocale>

#include "app/sound.h"
#include "data/settings.h"
#include "maint/maint_frame.h"
#include "platform/startup.h"
#include "ui/buttons.h"

int main(int argc, char** argv) {
    using namespace orvane;
    readSettings();
    TMyApp app(argc, argv);
    // Qt applied the user's locale; numbers in files keep their "." anyway.
    std::setlocale(LC_NUMERIC, "C");
    initialiseWindowing();
    openSoundOutput();
    clickHook = [] { sound().click(); };
    ovmFrame* frame = app.initMainWindow();
    frame->show();
    int result = app.exec();
    freePhases();
    releaseSound();
    return result;
}
