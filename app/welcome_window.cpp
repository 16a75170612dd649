#include "app/welcome_window.h"

#include <algorithm>
#include <cstdio>

#include "app/sound.h"
#include "data/settings.h"
#include "platform/bitmap.h"
#include "platform/command_ids.h"
#include "ui/buttons.h"
#include "ui/kit.h"
#include "ui/text_windows.h"

namespace orvane {

namespace {

bool timesOut() { return settings.initialTimeout != 0; }

}  // namespace

welcomeWindow::welcomeWindow(QWidget* parent, WelcomeHost* host)
    : SurfaceWindow(parent), host_(host) {
    setBackground(kit::kBlack);
    if (timesOut()) {
        // Seconds beyond what a timer can hold wait as long as it can.
        unsigned long long ms = 1000ull * settings.initialTimeout;
        setTimer(kTimeoutTimer, int(std::min<unsigned long long>(ms, INT32_MAX)));
    }
}

welcomeWindow::~welcomeWindow() {
    if (timesOut()) killTimer(kTimeoutTimer);
}

void welcomeWindow::start() {
    sound().stopTune();
    if (timesOut()) killTimer(kTimeoutTimer);
    WelcomeHost* host = host_ ? host_ : dynamic_cast<WelcomeHost*>(mainWindow());
    if (host)
        host->deferCommand(5, 50);
    else
        postCommand(mainWindow(), kCmdMap);
}

void welcomeWindow::command(int id) {
    if (id == kCmdWelcomeStart) playClick();
    if (id == kCmdWelcomeStart || id == kCmdEnter) start();
}

void welcomeWindow::onTimer(int id) {
    if (timesOut()) killTimer(kTimeoutTimer);
    if (id == kTimeoutTimer) start();
}

void welcomeWindow::paint(DrawingContext& dc, const Rect& area) {
    measureLetterSize(dc);
    if (!settings.showWelcomeScreen) return;

    QImage picture = loadBitmap("OVINIT.BMP");
    if (!picture.isNull())
        dc.drawImage({(orvane::width(area) - picture.width()) / 2,
                      (orvane::height(area) - picture.height()) / 2},
                     picture);

    // White, so the lines can be read on the black pane.
    char version[32];
    std::snprintf(version, sizeof version, kVersionFormat, kVersion);
    dc.setBackgroundMode(BackgroundMode::Transparent);
    int x = area.right - letterSize.width;
    drawText(dc, {x, area.bottom - 7 * letterSize.height}, version, kit::kWhite,
             kAlignRight | kAlignBottom);
    drawText(dc, {x, area.bottom - 6 * letterSize.height}, kVersionDate, kit::kWhite,
             kAlignRight | kAlignBottom);

    if (!startButton_) {
        startButton_ = new textButton(this, kCmdWelcomeStart, "Start", area.right / 2 - 40,
                                      area.top + 20, 80, buttonPixelHeight(letterSize.height));
        startButton_->show();
    }
}

}  // namespace orvane
