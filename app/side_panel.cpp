#include "app/side_panel.h"

#include <QMouseEvent>
#include <QSlider>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "data/event_loading.h"
#include "data/settings.h"
#include "platform/command_ids.h"
#include "platform/window.h"
#include "ui/buttons.h"
#include "ui/kit.h"
#include "ui/text_windows.h"

namespace orvane {

namespace {

// Truncation towards zero into 16 bits; what is not a number counts as 0.
std::int16_t truncated16(float v) {
    if (!std::isfinite(v)) return v > 0 ? INT16_MAX : (v < 0 ? INT16_MIN : 0);
    return std::int16_t(std::clamp(std::trunc(double(v)), double(INT16_MIN), double(INT16_MAX)));
}

struct PanelButton {
    int id;
    bool (*shown)();
};

// Top to bottom.
constexpr PanelButton kPanelButtons[] = {
    {kCmdPanelExit, [] { return settings.canExit; }},
    {kCmdPanelWorldMenu, [] { return true; }},
    {kCmdPanelRepeat, [] { return true; }},
    {kCmdPanelPause, [] { return true; }},
    {kCmdPanelViews, [] { return settings.selectView; }},
    {kCmdPanelTutorial, [] { return settings.tutorialSaved; }},
    {kCmdPanelEventInfo, [] { return true; }},
};

std::string captionOf(int id) {
    switch (id) {
        case kCmdPanelExit:
            return settings.exitLabel;
        case kCmdPanelWorldMenu:
            return "World Menu";
        case kCmdPanelRepeat:
            return "Repeat";
        case kCmdPanelPause:
            return "Pause";
        case kCmdPanelViews:
            return "Views";
        case kCmdPanelTutorial:
            return "Tutorial";
        default:
            return "Event Info";
    }
}

}  // namespace

// --------------------------------------------------------------- sidePanel ---

sidePanel::sidePanel(QWidget* parent) : SurfaceWindow(parent) { setBackground(kit::kGrey); }

void sidePanel::paint(DrawingContext& dc, const Rect& area) {
    drawBevel(dc, area, std::nullopt, false, 2, 0);
}

// ------------------------------------------------------------- childSlider ---

std::string minutesText(float clock) {
    double t = std::isfinite(clock) ? std::trunc(double(clock)) : 0.0;
    // The clock runs from 10 s upwards; anything outside an unsigned count
    // of seconds shows 0.
    unsigned m = t > 0 && t < 4294967296.0 ? unsigned(t) / 60u : 0u;
    char text[16];
    std::snprintf(text, sizeof text, "%4u ", m);
    return text;
}

int sliderPositionFor(float acceleration) {
    return std::clamp(childSlider::speedMax - truncated16(acceleration), 0,
                      childSlider::speedMax - childSlider::speedMin);
}

childSlider::childSlider(QWidget* parent, int panelWidth, Rect& sliderRect, ControlPanelHost* host)
    : SurfaceWindow(parent), host_(host) {
    setBackground(kit::kLightGrey);
    DrawingContext dc;  // the panel's font is the system font
    measureLetterSize(dc);
    letter_ = letterSize;
    lastSpeed_ = truncated16(loadedEvent().timeAcceleration);

    int h = buttonPixelHeight(letter_.height);
    int y = 1;
    for (const PanelButton& b : kPanelButtons) {
        if (!b.shown()) continue;
        new textButton(this, b.id, captionOf(b.id), 0, y, std::max(1, panelWidth - 1), h);
        y += h;
    }
    sliderTop_ = y + 5 * letter_.height;
    sliderRect.top = sliderTop_;
    sliderArea_ = sliderRect;

    if (settings.slider) {
        slider_ = new QSlider(Qt::Vertical, this);
        slider_->setObjectName("1032");
        slider_->setGeometry(sliderArea_.left, sliderArea_.top,
                             std::max(1, orvane::width(sliderArea_)),
                             std::max(1, orvane::height(sliderArea_)));
        // Minimum at the top: the top stands for +100.
        slider_->setInvertedAppearance(true);
        slider_->setInvertedControls(true);
        slider_->setTickPosition(QSlider::TicksBothSides);
        setUpSlider();
    }
    refreshPauseButton();
}

void childSlider::setUpSlider() {
    slider_->setRange(0, speedMax - speedMin);
    slider_->setTickInterval(speedStep);
    slider_->setPageStep(speedStep);
    slider_->setSingleStep(1);
    slider_->setValue(speedMax - lastSpeed_);
    lastSpeed_ = truncated16(loadedEvent().timeAcceleration);
}

ControlPanelHost* childSlider::host() const {
    return host_ ? host_ : dynamic_cast<ControlPanelHost*>(mainWindow());
}

textButton* childSlider::button(int id) const {
    for (textButton* b : findChildren<textButton*>(Qt::FindDirectChildrenOnly))
        if (b->commandId() == id) return b;
    return nullptr;
}

void childSlider::readSpeed() { readSpeed(loadedEvent().timeAcceleration); }

void childSlider::readSpeed(float& timeAcceleration) {
    refreshPauseButton();
    if (!slider_) return;
    // An outside change (speed dialog, new event) moves the slider; a
    // whole number of the acceleration, as the slider can only show those.
    if (std::isfinite(timeAcceleration) && timeAcceleration != lastSpeed_)
        slider_->setValue(sliderPositionFor(timeAcceleration));
    lastSpeed_ = std::int16_t(-slider_->value() - speedMin);
    timeAcceleration = lastSpeed_;
}

void childSlider::refreshPauseButton() {
    ControlPanelHost* h = host();
    textButton* pause = button(kCmdPanelPause);
    if (!h || !pause) return;
    const char* caption = h->paused() ? "Resume" : "Pause";
    if (pause->caption() != caption) pause->setCaption(caption);
}

void childSlider::drawMinutes(DrawingContext& dc, float t) {
    if (minutesBox_.empty()) return;
    dc.setBackgroundMode(BackgroundMode::Opaque);
    dc.setBackgroundColour(kit::kWhite);
    drawText(dc, {minutesBox_.right, minutesBox_.top}, minutesText(t), kit::kBlack,
             kAlignRight | kAlignTop);
}

void childSlider::showMinutes(float t) {
    shownClock_ = t;
    if (minutesBox_.empty()) paintPending();
    DrawingContext dc = surface();
    drawMinutes(dc, t);
}

void childSlider::paint(DrawingContext& dc, const Rect& area) {
    Size box = dc.textExtent(" 0:00 ");
    minutesBox_ = rectAt((orvane::width(area) - box.width) / 2,
                         sliderTop_ - int(3.5 * letter_.height), box.width, box.height);
    drawBevel(dc, area, std::nullopt, false, 2, 0);
    drawBevel(dc, inflate(minutesBox_, 2), std::nullopt, true, 2, 0);
    dc.setBackgroundMode(BackgroundMode::Transparent);
    drawText(dc, {orvane::width(area) / 2, minutesBox_.top - 4}, "Minutes", kit::kBlack,
             kAlignCentre | kAlignBottom);
    dc.fillRect(minutesBox_, stock::kWhiteBrush);

    if (settings.slider) {
        drawText(dc, {orvane::width(area) / 2, sliderTop_ - letter_.height}, "SPEED", kit::kBlack,
                 kAlignCentre | kAlignBottom);
        int a = orvane::height(sliderArea_) - 10;
        char label[16];
        for (int v = speedMin; v <= speedMax; v += speedStep) {
            std::snprintf(label, sizeof label, "%4d", v);
            int y = sliderTop_ + 5 + a * 100 / 200 - v * a / 200;
            drawText(dc, {area.right - letter_.width, y}, label, kit::kBlack,
                     kAlignRight | kAlignBaseline);
        }
    }
    // A repaint keeps the minutes last shown.
    if (shownClock_) drawMinutes(dc, *shownClock_);
}

void childSlider::worldMenu() {
    playClick();
    if (ControlPanelHost* h = host()) {
        h->stopTutorial();
        h->postDeferred(3);
    }
}

void childSlider::command(int id) {
    ControlPanelHost* h = host();
    switch (id) {
        case kCmdPanelExit:
            playClick();
            sendToMainWindow(kCmdExit);
            break;
        case kCmdPanelWorldMenu:
            worldMenu();
            break;
        case kCmdPanelRepeat:
            playClick();
            if (!h) break;
            h->setPaused(false);
            refreshPauseButton();
            h->postDeferred(1);
            h->setResumeTime(0);
            break;
        case kCmdPanelPause:
            playClick();
            if (!h) break;
            h->setPaused(!h->paused());
            refreshPauseButton();
            break;
        case kCmdPanelViews:
            playClick();
            if (h) h->postDeferred(2);
            break;
        case kCmdPanelTutorial:
            playClick();
            sendToMainWindow(kCmdBrowseTutorial);
            break;
        case kCmdPanelEventInfo:
            sendToMainWindow(kCmdEventInfo);
            break;
        default:
            break;
    }
}

void childSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && settings.rightButtonRestart) worldMenu();
    event->accept();
}

}  // namespace orvane
