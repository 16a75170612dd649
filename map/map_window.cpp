#include "map/map_window.h"

#include <QMouseEvent>
#include <QPointer>
#include <algorithm>
#include <cmath>

#include "data/catalogue.h"
#include "data/settings.h"
#include "map/selection_dialogs.h"
#include "platform/bitmap.h"
#include "platform/command_ids.h"
#include "platform/message_box.h"
#include "platform/system.h"
#include "ui/buttons.h"
#include "ui/kit.h"
#include "ui/text_windows.h"

namespace orvane {

namespace {

class TutorialPage : public MapPopup {
  public:
    explicit TutorialPage(myInfo* window) : window_(window) {}
    ~TutorialPage() override {
        if (window_) window_->deleteLater();
    }
    bool isOpen() const override { return window_ && window_->isVisible(); }
    bool cancelPressed() const override { return window_ && window_->cancelPressed(); }
    bool continuePressed() const override { return window_ && window_->continuePressed(); }
    void close() override {
        if (window_) window_->closeWindow();
    }

  private:
    QPointer<myInfo> window_;
};

constexpr Colour kStationBlue = colours::kBlue;
constexpr int kLabelBevel = 2;
constexpr int kMapBevel = 4;

bool startable(int index) {
    return index >= 0 && index < static_cast<int>(catalogue.size()) &&
           !catalogue[index].fileName.empty();
}

int firstStartable() {
    for (int i = 0; i < static_cast<int>(catalogue.size()); ++i)
        if (startable(i)) return i;
    return -1;
}

}  // namespace

std::unique_ptr<MapPopup> openTutorialWindow(QWidget* parent, const std::string& topic) {
    auto* window = new myInfo(parent, topic, myInfo::kGuided);
    window->show();
    return std::make_unique<TutorialPage>(window);
}

MapServices mapServices{openTutorialWindow, {}, {}, {}, {}};

QImage earthquakeIcon(int id) {
    QImage registered = bitmapResource(id);
    if (!registered.isNull()) return registered;
    // A star of eight points, red on its own; touched, yellow.
    auto picture = std::make_shared<QImage>(21, 21, QImage::Format_ARGB32_Premultiplied);
    picture->fill(Qt::transparent);
    DrawingContext dc(picture);
    std::vector<Point> star;
    for (int k = 0; k < 16; ++k) {
        double angle = k * M_PI / 8;
        double r = k % 2 == 0 ? 10.0 : 4.0;
        star.push_back({10 + static_cast<int>(std::lround(r * std::sin(angle))),
                        10 - static_cast<int>(std::lround(r * std::cos(angle)))});
    }
    dc.selectPen(stock::kBlackPen);
    dc.selectBrush(Brush::solid(id == kIconEarthquakeTouched ? colours::kYellow : colours::kRed));
    dc.polygon(star);
    return *picture;
}

mapWindow::mapWindow(QWidget* parent) : SurfaceWindow(parent) {
    setBackground(colours::kGrey);
    scanCatalogue();
    countdown_ = settings.tutorial ? 1 : settings.timeout;
    setTimer(kSecondTimer, 1000);
}

mapWindow::~mapWindow() = default;

void mapWindow::setIdleTimeout(unsigned seconds) { countdown_ = seconds; }

// --- painting ------------------------------------------------------------

void mapWindow::layOut(DrawingContext& dc, const Rect& area) {
    dc.selectFont(Font::system());
    int letterHeight = dc.textExtent("N").height;
    projection_ = MapProjection(mapArea(area, letterHeight));
    const Rect& map = projection_.mapRect();
    strip_ = {map.left, map.bottom + kMapBevel, map.right, area.bottom};
}

void mapWindow::paint(DrawingContext& dc, const Rect& area) {
    layOut(dc, area);
    const Rect& map = projection_.mapRect();
    if (world_.isNull()) world_ = loadBitmap("world.bmp");
    if (!world_.isNull()) dc.stretchImage(map, world_);
    drawBevel(dc, inflate(map, kMapBevel), std::nullopt, true, kMapBevel, 0);
    drawTitle(dc, area);
    if (!painted_) createButtons(dc);
    painted_ = true;

    dc.selectFont(Font::system());
    if (mode_ == 0) {
        placeEvents(dc);
        for (int i = 0; i < static_cast<int>(catalogue.size()); ++i) drawLabel(dc, i, false);
    } else {
        if (selectedEvent_ >= 0 && selectedEvent_ < static_cast<int>(catalogue.size())) {
            Event& event = catalogue[selectedEvent_];
            // The mark follows the current size of the map.
            event.markBox =
                centredBox(projection_.point(event.latitude, event.longitude), {21, 21});
            dc.drawIcon({event.markBox.left, event.markBox.top}, earthquakeIcon(kIconEarthquake));
        }
        drawStations(dc);
    }
    if (mapServices.allowClose) mapServices.allowClose();
}

void mapWindow::drawTitle(DrawingContext& dc, const Rect&) {
    const char* title = mode_ == 0 ? "Select an earthquake" : "Touch earthquake when done";
    int letterHeight = dc.textExtent("N").height;
    int fontHeight = std::max(1, std::min(letterHeight * 3 / 2, orvane::height(strip_) - 4));
    Font previous = dc.selectFont(Font::create("Times Roman", fontHeight, 700));
    Size extent = dc.textExtent(title);
    Point centre{(strip_.left + strip_.right) / 2, (strip_.top + strip_.bottom) / 2};
    Rect box = centredBox(centre, {extent.width + 12, extent.height + 4});
    dc.fillRect(box, Brush::solid(colours::kYellow));
    dc.setBackgroundMode(BackgroundMode::Transparent);
    drawText(dc, {centre.x, box.top + 2}, title, colours::kBlack, kAlignCentre | kAlignTop);
    dc.selectFont(previous);
}

void mapWindow::createButtons(DrawingContext& dc) {
    dc.selectFont(Font::system());
    int average = std::max(1, dc.textMetrics().averageCharWidth);
    int letterHeight = dc.textExtent("N").height;
    int h = static_cast<int>(settings.buttonHeight * static_cast<float>(letterHeight));
    h = std::clamp(h, 1, 1000);
    int y = (strip_.top + strip_.bottom) / 2 - h / 2;
    if (settings.canExit) {
        int w = (static_cast<int>(settings.exitLabel.size()) + 3) * average;
        exitButton_ =
            new textButton(this, kCmdMapExit, settings.exitLabel, strip_.left + 5, y, w, h);
        exitButton_->show();
    }
    int w = 13 * average;
    informationButton_ =
        new textButton(this, kCmdMapInformation, "Information", strip_.right - 5 - w, y, w, h);
    informationButton_->show();
}

void mapWindow::placeEvents(DrawingContext& dc) {
    int average = dc.textMetrics().averageCharWidth;
    int textHeight = dc.textMetrics().height;
    std::vector<Point> points;
    std::vector<Size> sizes;
    for (Event& event : catalogue) {
        Point p = projection_.point(event.latitude, event.longitude);
        event.markBox = {p.x - 10, p.y - 10, p.x + 11, p.y + 11};
        int w = std::max(dc.textExtent(event.name).width, dc.textExtent(event.displayDate).width);
        points.push_back(p);
        sizes.push_back({w + 3 * average, 3 * textHeight});
    }
    std::vector<Rect> labels = placeLabels(points, sizes, projection_.mapRect());
    for (std::size_t i = 0; i < labels.size(); ++i) catalogue[i].labelBox = labels[i];
}

void mapWindow::drawLabel(DrawingContext& dc, int index, bool pressed) {
    if (index < 0 || index >= static_cast<int>(catalogue.size())) return;
    const Event& event = catalogue[index];
    const Rect& box = event.labelBox;
    drawBevel(dc, box, colours::kLightGrey, pressed, kLabelBevel, 0);
    int d = pressed ? 1 : 0;
    Point middle{(box.left + box.right) / 2 + d, (box.top + box.bottom) / 2 + d};
    dc.setBackgroundMode(BackgroundMode::Transparent);
    drawText(dc, middle, event.name, colours::kRed, kAlignCentre | kAlignBottom);
    drawText(dc, middle, event.displayDate, colours::kRed, kAlignCentre | kAlignTop);
}

void mapWindow::drawStation(DrawingContext& dc, int index) {
    if (index < 0 || index >= static_cast<int>(stationList.size())) return;
    Station& station = stationList[index];
    Point p = projection_.point(station.latitude, station.longitude);
    station.markBox = {p.x - 8, p.y - 8, p.x + 9, p.y + 9};
    KeepDrawingObjects keep(dc);
    dc.selectPen(Pen::solid(colours::kBlack, 2));
    dc.selectBrush(Brush::solid(kStationBlue));
    dc.rectangle(station.markBox);

    dc.selectFont(Font::system());
    dc.setBackgroundMode(BackgroundMode::Transparent);
    int align = kAlignCentre | kAlignBottom;
    drawText(dc, {p.x + 2, p.y - 7}, station.stationCode, colours::kBlack, align);
    drawText(dc, {p.x + 1, p.y - 8}, station.stationCode, colours::kBlack, align);
    drawText(dc, {p.x, p.y - 9}, station.stationCode, colours::kWhite, align);

    dc.selectPen(stock::kNullPen);
    auto colour = [&](int c) {
        return Brush::solid(station.used[c] ? colours::kRed : colours::kWhite);
    };
    if (station.available[kEastWest])
        dc.fillRect(rectAt(p.x - 9, p.y - 1, 17, 2), colour(kEastWest));
    if (station.available[kNorthSouth])
        dc.fillRect(rectAt(p.x - 2, p.y - 9, 3, 17), colour(kNorthSouth));
    if (station.available[kVertical]) {
        dc.selectBrush(colour(kVertical));
        dc.ellipse({p.x - 3, p.y - 3, p.x + 4, p.y + 4});
    }
}

void mapWindow::drawStations(DrawingContext& dc) {
    for (int i = 0; i < static_cast<int>(stationList.size()); ++i) drawStation(dc, i);
}

// --- touching ------------------------------------------------------------

void mapWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        QPoint at = event->position().toPoint();
        click({at.x(), at.y()});
        return;
    }
    SurfaceWindow::mousePressEvent(event);
}

void mapWindow::click(Point p) {
    if (mode_ == 0)
        clickEvent(p);
    else
        clickStation(p);
}

void mapWindow::clickEvent(Point p) {
    auto hit = std::find_if(catalogue.begin(), catalogue.end(),
                            [&](const Event& e) { return e.labelBox.contains(p.x, p.y); });
    if (hit == catalogue.end()) return;
    int index = static_cast<int>(hit - catalogue.begin());
    // An event whose file could not be read has no name to start: starting
    // an empty name would run the previous event again.
    if (!startable(index)) return;
    selectedEvent_ = index;
    settings.tutorial = false;
    closeTutorial();
    killTimer(kSecondTimer);
    playClick();
    DrawingContext dc = surface();
    dc.selectFont(Font::system());
    drawLabel(dc, index, true);

    if (!settings.selectComponents) {
        startEvent(index);
        return;
    }
    waitDispatching(kWaitAfterTouchMs);
    {
        DrawingContext raised = surface();
        raised.selectFont(Font::system());
        drawLabel(raised, index, false);
    }
    evtDialog dialog(this, catalogue[index]);
    if (dialog.exec() != QDialog::Accepted) {
        // Nobody chose: the unattended display goes on by itself again.
        restartCountdown();
        return;
    }
    if (!dialog.selectStations()) {
        startEvent(index);
        return;
    }
    mode_ = 1;
    invalidate();
    showStations();
}

void mapWindow::showStations() {
    stationList = buildStationList(catalogue[selectedEvent_], [](std::string_view message) {
        messageBox(std::string(message), "Select Stations");
    });
}

void mapWindow::clickStation(Point p) {
    if (!startable(selectedEvent_)) return;
    Event& event = catalogue[selectedEvent_];
    if (event.markBox.contains(p.x, p.y)) {
        playClick();
        surface().drawIcon({event.markBox.left, event.markBox.top},
                           earthquakeIcon(kIconEarthquakeTouched));
        startEvent(selectedEvent_);
        return;
    }
    auto hit = std::find_if(stationList.begin(), stationList.end(),
                            [&](const Station& s) { return s.markBox.contains(p.x, p.y); });
    if (hit == stationList.end()) return;
    int index = static_cast<int>(hit - stationList.begin());
    playClick();
    GreatCircle path = greatCircle(hit->latitude, hit->longitude, event.latitude, event.longitude);
    stationDialog dialog(this, *hit, path.arc, path.backAzimuth);
    if (dialog.exec() != QDialog::Accepted) return;
    dialog.applyToStation();
    if (event.write(stationList)) {
        // The catalogue keeps what the file now says.
        event.stationFiles.clear();
        for (const Station& s : stationList)
            for (int c = 0; c < 3; ++c)
                if (s.used[c]) {
                    StationFile f;
                    f.fileName = s.componentFile[c];
                    event.stationFiles.push_back(f);
                }
    }
    DrawingContext dc = surface();
    if (dialog.allStations())
        drawStations(dc);
    else
        drawStation(dc, index);
}

void mapWindow::startEvent(int index) {
    if (!startable(index)) return;
    if (mapServices.setCurrentEventName) mapServices.setCurrentEventName(catalogue[index].fileName);
    // Posted: starting an event takes the map off the screen.
    postCommand(mainWindow(), kCmdStartEvent);
}

// --- buttons -------------------------------------------------------------

void mapWindow::command(int id) {
    if (id == kCmdMapExit) {
        postCommand(mainWindow(), kCmdExit);
    } else if (id == kCmdMapInformation) {
        playClick();
        closeTutorial();
        if (mapServices.openInformation)
            mapServices.openInformation(mode_ == 0 ? "MAP_EV.INF" : "MAP_ST.INF");
        // Only a countdown that runs starts again: touching an event stopped
        // it while the user chooses stations.
        if (timerActive(kSecondTimer) && settings.timeout != 0) countdown_ = settings.timeout;
    }
}

void mapWindow::closeTutorial() {
    if (!tutorial_) return;
    if (tutorial_->isOpen()) tutorial_->close();
    tutorial_.reset();
}

void mapWindow::restartCountdown() {
    if (settings.timeout == 0) return;
    countdown_ = settings.timeout;
    if (!timerActive(kSecondTimer)) setTimer(kSecondTimer, 1000);
}

// --- idle timeout and tutorial demonstration ----------------------------

int mapWindow::eventToStart() const {
    if (settings.tutorial) {
        int index = findCatalogueEvent(catalogue, settings.tutorialEvent);
        if (index >= 0) return index;
    }
    // The first entry, or the first that can be started at all.
    return firstStartable();
}

void mapWindow::onTimer(int id) {
    if (id != kSecondTimer) return;
    if (tutorial_ && !tutorial_->isOpen() && tutorial_->cancelPressed()) {
        tutorial_.reset();
        countdown_ = settings.timeout;
        tutorialStep_ = 0;
        invalidate();
    }
    if (countdown_ == 0) return;
    if (--countdown_ != 0) return;

    int target = eventToStart();
    if (settings.tutorial && tutorialStep_ < 4) {
        switch (tutorialStep_) {
            case 0:
                if (auto page = mapServices.firstTutorialPage ? mapServices.firstTutorialPage()
                                                              : std::nullopt;
                    page && mapServices.openTutorial) {
                    tutorial_ = mapServices.openTutorial(this, page->topic);
                    tutorialTime_ = page->waitLimit;
                }
                break;
            case 1:
                if (!tutorial_ || !tutorial_->isOpen()) {
                    bool goOn = tutorial_ && tutorial_->continuePressed();
                    tutorial_.reset();
                    if (!goOn) {
                        // The page went away without Continue: no demonstration.
                        settings.tutorial = false;
                        tutorialStep_ = 0;
                        countdown_ = settings.timeout;
                        return;
                    }
                } else if (tutorialTime_ > 0) {
                    --tutorialTime_;
                    countdown_ = 1;
                    return;
                } else {
                    closeTutorial();
                }
                break;
            case 2:
            case 3: {
                if (tutorialStep_ == 2) playClick();
                DrawingContext dc = surface();
                dc.selectFont(Font::system());
                if (mode_ == 0) drawLabel(dc, target, tutorialStep_ == 2);
                break;
            }
        }
        countdown_ = 1;
        ++tutorialStep_;
        return;
    }
    idleAction();
}

void mapWindow::idleAction() {
    if (tutorial_ && tutorial_->isOpen()) {
        closeTutorial();
        invalidate();
        countdown_ = settings.timeout;
        return;
    }
    tutorial_.reset();
    int target = eventToStart();
    if (settings.tutorial || !settings.exitWhenDone) {
        // Nothing to start: the map stays and waits again.
        if (target < 0)
            countdown_ = settings.timeout;
        else
            startEvent(target);
    } else {
        postCommand(mainWindow(), kCmdExit);
    }
}

}  // namespace orvane
