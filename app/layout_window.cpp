#include "app/layout_window.h"

#include <QResizeEvent>
#include <algorithm>
#include <cmath>

#include "app/run_state.h"
#include "app/side_panel.h"
#include "app/sound.h"
#include "data/settings.h"
#include "ui/kit.h"
#include "views/child_view.h"

namespace orvane {
namespace {

constexpr int kStationColumnWidth = 47;

Rect at(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

int percentOf(int length, int percent) { return length * percent / 100; }

void place(QWidget* child, const Rect& r) {
    if (child) child->setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace

int allViewsMargin(Size screen) {
    if (screen.width <= 0) return 0;
    const int free = (screen.width - screen.height * 4 / 3) / 2;
    return std::max(0, static_cast<int>(free * 100.0 / screen.width));
}

int singleViewMargin(Size screen) {
    if (screen.width <= 0) return 0;
    const int free = (screen.width - screen.height) / 2;
    return static_cast<int>(free * 100.0 / screen.width);
}

int computeViewPercent(int panelWidth, int clientHeight, Size screen) {
    const int fourThirds = clientHeight * 4 / 3;
    // A client without height leaves no room for the panel to take.
    const int p = fourThirds > 0 ? panelWidth * 100 / fourThirds : 0;
    int percent = 100 - p;
    if (screen.height > 0) {
        const double r = static_cast<double>(screen.width) / screen.height;
        if (r > 1.33) percent = static_cast<int>(percent * 1.3333 / r);
    }
    return std::max(0, percent / 2);
}

Rect computeSliderRect(Size panel, Size letter) {
    return {panel.width * 3 / 100, panel.height * 60 / 100, 3 * letter.width, panel.height};
}

LayoutRects computeLayout(std::int32_t view, Size layout, Size screen, int panelWidth,
                          int viewPercent) {
    LayoutRects r;
    const int w = layout.width;
    const int h = layout.height;
    if (view == kViewAll) {
        const int size = percentOf(w, viewPercent);
        r.globe = at(percentOf(w, allViewsMargin(screen)), h - size, size, size);
        r.crossSection = at(r.globe.right, r.globe.top, size, h - r.globe.top);
        r.slider = at(r.crossSection.right, 0, panelWidth, h);
        r.station = at(r.globe.left, 0, kStationColumnWidth, r.globe.top);
        r.seismograms = {r.station.right, 0, r.slider.left, r.globe.top};
        return r;
    }
    Rect single = at(percentOf(w, singleViewMargin(screen)), 0, h, h);
    (view == kView3d ? r.globe : r.crossSection) = single;
    r.slider = at(single.right, 0, panelWidth, h);
    r.leftPanel = {0, 0, single.left, h};
    r.rightPanel = {r.slider.right, 0, w, h};
    return r;
}

childStation::childStation(QWidget* parent) : SurfaceWindow(parent) {
    // The system's face colour.
    setBackground(colours::kLightGrey);
}

void childStation::setNames(std::vector<std::pair<std::string, int>> names) {
    names_ = std::move(names);
    invalidate();
}

void childStation::paint(DrawingContext& dc, const Rect& area) {
    drawBevel(dc, area, std::nullopt, false, 2, 0);
    measureLetterSize(dc);
    dc.setBackgroundMode(BackgroundMode::Transparent);
    for (const auto& [name, baseline] : names_)
        drawText(dc, {area.right - letterSize.width, baseline}, name, colours::kBlack,
                 kAlignRight | kAlignBaseline);
}

myLayoutWindow::myLayoutWindow(QWidget* parent, std::int32_t view, Size size)
    : Window(parent), view_(view) {
    sound().stopTune();
    viewsReady = false;
    const bool all = view == kViewAll;
    if (all) {
        station_ = new childStation(this);
    } else {
        leftPanel_ = new sidePanel(this);
        rightPanel_ = new sidePanel(this);
    }
    slider_ = new childSlider(this, panelSize.width, sliderRect);
    resize(size.width, size.height);
    arrange(size);
}

myLayoutWindow::~myLayoutWindow() = default;

void myLayoutWindow::resizeEvent(QResizeEvent* event) {
    Window::resizeEvent(event);
    arrange({event->size().width(), event->size().height()});
}

void myLayoutWindow::arrange(Size size) {
    rects_ = computeLayout(view_, size, {screenWidth, screenHeight}, panelSize.width, viewPercent);
    place(station_, rects_.station);
    place(slider_, rects_.slider);
    place(leftPanel_, rects_.leftPanel);
    place(rightPanel_, rects_.rightPanel);
}

}  // namespace orvane
