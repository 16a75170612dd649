#include "app/my_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "app/layout_window.h"
#include "app/sound.h"
#include "data/catalogue.h"
#include "data/event_loading.h"
#include "data/files.h"
#include "data/settings.h"
#include "map/map_window.h"
#include "platform/bitmap.h"
#include "platform/command_ids.h"
#include "platform/memory_surface.h"
#include "platform/message_box.h"
#include "platform/system.h"
#include "ui/help.h"
#include "ui/kit.h"
#include "ui/settings_dialogs.h"
#include "ui/text_windows.h"
#include "views/child_3d.h"
#include "views/child_seis.h"
#include "views/child_view.h"
#include "views/child_xs.h"

namespace orvane {
namespace {

// A text window as the run controller sees it. The window may already be
// gone (destroyed with its parent); it then counts as closed.
template <class W>
class PopupOf : public TextPopup {
  public:
    explicit PopupOf(W* window) : window_(window) {}
    ~PopupOf() override { delete window_.data(); }
    bool closed() const override { return !window_ || window_->closed(); }
    void close() override {
        if (window_) window_->closeWindow();
    }

  protected:
    QPointer<W> window_;
};

class TutorialPopup : public PopupOf<myInfo> {
  public:
    using PopupOf::PopupOf;
    bool continuePressed() const override { return window_ && window_->continuePressed(); }
    bool nextPressed() const override { return window_ && window_->nextPressed(); }
    bool previousPressed() const override { return window_ && window_->previousPressed(); }
    bool cancelPressed() const override { return window_ && window_->cancelPressed(); }
};

// When a text window goes away its owner becomes the active window again,
// as the system does for an owned pop-up. The run it held goes on at once:
// the activation arrives later, or never when the frame kept the focus.
class ReactivateOwnerOnHide : public QObject {
  public:
    ReactivateOwnerOnHide(QWidget* popup, QWidget* owner) : QObject(popup), owner_(owner) {
        popup->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide && owner_ && owner_->isVisible()) {
            held = false;
            owner_->activateWindow();
        }
        return false;
    }

  private:
    QPointer<QWidget> owner_;
};

struct MenuItem {
    const char* caption;
    int id;
};

}  // namespace

myFrame::myFrame(welcomeWindow* welcome) : welcomePane_(welcome) {
    // No sizing border and no maximize box; without a title bar a bare
    // pop-up window.
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
    if (settings.titleBar)
        flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint;
    else
        flags |= Qt::FramelessWindowHint;
    setWindowFlags(flags);
    setWindowTitle("Orvane");
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(grey);
    if (welcome) {
        welcome->setParent(this);
        setCentralWidget(welcome);
    }
    run_.initialiseTutorial();
    setRunController(&run_);
    // What the map window reaches of the run and of this frame.
    mapServices.openInformation = [this](const std::string& name) { showInformation(name); };
    mapServices.setCurrentEventName = [](const std::string& name) { currentEventName = name; };
    mapServices.allowClose = [] { canClose = true; };
    mapServices.firstTutorialPage = []() -> std::optional<MapTutorialPage> {
        if (tutorialList.empty()) return std::nullopt;
        return MapTutorialPage{tutorialList[0].topic, tutorialList[0].waitLimit};
    };
    if (settings.menuBar) buildMenu();
    // The Enter key (accelerator table 1) goes to the welcome window.
    auto* enter = new QShortcut(QKeySequence(Qt::Key_Return), this);
    connect(enter, &QShortcut::activated, this, [this] { command(kCmdEnter); });
    auto* enterPad = new QShortcut(QKeySequence(Qt::Key_Enter), this);
    connect(enterPad, &QShortcut::activated, this, [this] { command(kCmdEnter); });
}

myFrame::~myFrame() {
    mapServices.openInformation = nullptr;
    // The popups go before the windows they belong to.
    run_.closePopups();
    if (runController() == &run_) setRunController(nullptr);
}

void myFrame::buildMenu() {
    QMenuBar* bar = menuBar();
    auto add = [this](QMenu* menu, const MenuItem& item) {
        QAction* action = menu->addAction(item.caption);
        const int id = item.id;
        connect(action, &QAction::triggered, this, [this, id] { command(id); });
        return action;
    };
    QMenu* quakes = bar->addMenu("&Earthquakes");
    add(quakes, {"&List", kCmdList});
    add(quakes, {"&Map", kCmdMap});
    if (settings.canExit) {
        quakes->addSeparator();
        add(quakes, {"E&xit", kCmdExit});
    }
    QMenu* options = bar->addMenu("&Options");
    for (const MenuItem& item : {MenuItem{"&Phases...", kCmdPhases},
                                 {"&Speed...", kCmdSpeed},
                                 {"&Audio...", kCmdAudio},
                                 {"&Time window...", kCmdTimeWindow},
                                 {"Se&lect View...", kCmdSelectView}})
        add(options, item);
    QMenu* view = options->addMenu("&View");
    add(view, {"&Earth", kCmdViewEarth});
    add(view, {"&Cross-Section", kCmdViewCrossSection});
    add(view, {"&Both with Seismograms", kCmdViewAll});
    options->addSeparator();
    add(options, {"&Make bitmap...", kCmdMakeBitmap});
    scriptAction_ = add(options, {"Run from Script", kCmdRunFromScript});
    scriptAction_->setCheckable(true);
    scriptAction_->setChecked(settings.runScript);
    add(options, {"&Restart", kCmdRestart});
    QMenu* help = bar->addMenu("&Help");
    add(help, {"&Help contents", kCmdHelpContents});
    add(help, {"&About", kCmdAbout});
    // The fourth popup exists only while the program may be ended by the user.
    if (settings.canExit) add(bar->addMenu("E&xit"), {"E&xit", kCmdExit});
}

void myFrame::setUp() {
    if (!settings.showWelcomeScreen) run_.postDeferred(kDeferWelcome, 1);
    run_.setTimer(kSecondTimer, 1000);
}

Size myFrame::clientSize() const {
    int height = this->height();
    if (QMenuBar* bar = menuWidget() ? menuBar() : nullptr) height -= bar->sizeHint().height();
    return {width(), std::max(0, height)};
}

void myFrame::onTimer(int id) {
    run_.onTimer(id);
    // "Input waiting" covers what arrived since the previous tick.
    if (id == kTickTimer) markInputTick();
}

void myFrame::onActivated(bool active) { held = !active; }

void myFrame::closeEvent(QCloseEvent* event) {
    if (canClose)
        event->accept();
    else
        event->ignore();
}

void myFrame::mousePressEvent(QMouseEvent* event) {
    // Posted: the map replaces the window this press is still being
    // delivered through.
    if (event->button() == Qt::RightButton && settings.rightButtonRestart)
        postCommand(this, kCmdMap);
    FrameWindow::mousePressEvent(event);
}

void myFrame::withTickStopped(const std::function<bool()>& body) {
    if (run_.tickPeriod != 0) run_.killTimer(kTickTimer);
    if (body()) return;
    if (run_.tickPeriod != 0) run_.setTimer(kTickTimer, run_.tickPeriod);
}

void myFrame::command(int id) {
    switch (id) {
        case kCmdList:
            listEvents();
            break;
        case kCmdPhases:
            run_.stopTutorial();
            withTickStopped([this] {
                phaseDialog dialog(this);
                if (accepted(dialog)) writeSettings();
                return false;
            });
            break;
        case kCmdSpeed:
            withTickStopped([this] {
                speedDialog dialog(this, loadedEvent().timeAcceleration);
                if (accepted(dialog))
                    loadedEvent().timeAcceleration = static_cast<float>(dialog.value());
                return false;
            });
            break;
        case kCmdAudio:
            withTickStopped([this] {
                audioDialog dialog(this);
                if (accepted(dialog)) {
                    settings.audio = dialog.value();
                    writeSettings();
                }
                return false;
            });
            break;
        case kCmdTimeWindow:
            withTickStopped([this] {
                time_windowDialog dialog(this, loadedEvent().timeWindow);
                // The next tick lays the seismograms out again.
                if (accepted(dialog))
                    loadedEvent().timeWindow =
                        static_cast<std::int16_t>(std::clamp(dialog.value() * 60, 60, 32767));
                return false;
            });
            break;
        case kCmdSelectView:
            selectView();
            break;
        case kCmdMap:
            showMap();
            break;
        case kCmdExit:
            exitProgram();
            break;
        case kCmdViewEarth:
            changeView(kView3d);
            break;
        case kCmdViewCrossSection:
            changeView(kViewXs);
            break;
        case kCmdViewAll:
            changeView(kViewAll);
            break;
        case kCmdRunFromScript:
            settings.runScript = !settings.runScript;
            writeSettings();
            if (scriptAction_) scriptAction_->setChecked(settings.runScript);
            break;
        case kCmdRestart:
            if (run_.tickPeriod != 0) run_.restartRequested = true;
            break;
        case kCmdHelpContents:
        case kCmdHelpContentsToo:
            openHelp(0);
            break;
        case kCmdAbout:
            about();
            break;
        case kCmdMakeBitmap:
            makeBitmap();
            break;
        case kCmdStartEvent:
            run_.startEvent();
            break;
        case kCmdSeismogramInfo:
            openInformation("SEIS.INF");
            break;
        case kCmdCrossSectionInfo:
            openInformation("XS.INF");
            break;
        case kCmdEarthInfo:
            openInformation("3D.INF");
            break;
        case kCmdEventInfo:
            openInformation(joinPath(loadedEvent().eventDirectory, "EVT.INF"));
            break;
        case kCmdBrowseTutorial:
            run_.browseTutorial();
            break;
        case kCmdEnter:
            if (welcomePane_) welcomePane_->command(kCmdEnter);
            break;
        default:
            break;
    }
}

bool myFrame::accepted(QDialog& dialog) {
    return (runDialog ? runDialog(dialog) : dialog.exec()) == QDialog::Accepted;
}

void myFrame::listEvents() {
    run_.stopTutorial();
    withTickStopped([this] {
        eventDialog dialog(this);
        // OK without a choice is taken as Cancel: there is nothing to start.
        if (!accepted(dialog) || dialog.value().empty()) return false;
        currentEventName = dialog.value();
        resumeTime = 0;
        run_.startEvent();
        return true;
    });
}

void myFrame::selectView() {
    run_.stopTutorial();
    const std::int32_t before = settings.view;
    withTickStopped([this, before] {
        viewDialog dialog(this);
        if (!accepted(dialog)) return false;
        writeSettings();
        if (settings.view == before) return false;
        resumeTime = run_.clock;
        startEventNamed("");
        return true;
    });
}

void myFrame::changeView(std::int32_t view) {
    if (settings.view == view) return;
    settings.view = view;
    writeSettings();
    resumeTime = run_.clock;
    startEventNamed("");
}

void myFrame::openInformation(const std::string& path) {
    run_.stopTutorial();
    sound().click();
    showInformation(path);
}

void myFrame::showInformation(const std::string& path) {
    run_.closePopups();
    auto* window = new myHelp(this, path);
    new ReactivateOwnerOnHide(window, this);
    run_.setInfoWindow(std::make_unique<PopupOf<myHelp>>(window));
    run_.setIdleCountdown(
        static_cast<std::int32_t>(std::min<std::uint32_t>(settings.timeout, INT32_MAX)));
    window->show();
}

std::unique_ptr<TextPopup> myFrame::openTutorial(const TutorialEntry& entry, TutorialMode mode,
                                                 TutorialPosition position) {
    auto* window =
        new myInfo(this, entry.topic, static_cast<int>(mode), static_cast<int>(position));
    new ReactivateOwnerOnHide(window, this);
    window->show();
    return std::make_unique<TutorialPopup>(window);
}

void myFrame::about() {
    QDialog dialog(this);
    dialog.setWindowTitle("About Orvane");
    auto* layout = new QVBoxLayout(&dialog);
    for (const char* line : {"Orvane", "Version 4.0", "May 23 2014"}) {
        auto* label = new QLabel(line, &dialog);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    auto* ok = new QPushButton("OK", &dialog);
    connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    layout->addWidget(ok);
    dialog.exec();
}

void myFrame::makeBitmap() {
    run_.stopTutorial();
    std::optional<std::string> name;
    if (askBitmapName) {
        name = askBitmapName();
    } else {
        QString chosen = QFileDialog::getSaveFileName(this, QString(), QString(),
                                                      "Bitmap Files (*.BMP) (*.bmp)");
        if (!chosen.isEmpty()) name = chosen.toStdString();
    }
    if (!name || name->empty()) return;
    // The closed dialog is painted away before the picture is taken.
    QCoreApplication::processEvents();
    QWidget* client = centralWidget();
    saveBitmap(windowPicture(client ? client : this), *name);
    run_.restartRequested = true;
}

QWidget* myFrame::takeClient() {
    QWidget* old = takeCentralWidget();
    if (old) {
        old->setParent(this);
        old->hide();
    }
    return old;
}

void myFrame::destroyWelcome() {
    if (!welcomePane_) return;
    if (centralWidget() == welcomePane_) takeClient();
    delete welcomePane_.data();
}

void myFrame::destroyMap() {
    if (!mapWindow_) return;
    if (centralWidget() == mapWindow_) takeClient();
    delete mapWindow_.data();
}

void myFrame::destroyLayout() {
    if (!layoutWindow_) return;
    if (centralWidget() == layoutWindow_) takeClient();
    delete layoutWindow_;
    layoutWindow_ = nullptr;
}

void myFrame::showMap() {
    canClose = false;
    run_.clock = 0;
    resumeTime = 0;
    run_.killTimer(kOpeningTimer);
    run_.killTimer(kTickTimer);
    run_.killTimer(kDeferredTimer);
    run_.tickPeriod = 0;
    destroyMap();
    takeClient();
    auto* map = new orvane::mapWindow(this);
    mapWindow_ = map;
    setCentralWidget(map);
    map->show();
    if (settings.timeout != 0 && !settings.tutorial) map->setIdleTimeout(settings.timeout);
    destroyLayout();
    destroyWelcome();
    builtView_ = 100;
}

void myFrame::exitProgram() {
    run_.killTimer(kTickTimer);
    run_.killTimer(kDeferredTimer);
    run_.killTimer(kOpeningTimer);
    run_.killTimer(kSecondTimer);
    destroyWelcome();
    destroyMap();
    destroyLayout();
    close();
}

void myFrame::startEventNamed(const std::string& name) {
    // 1. Letter size and which views this layout has.
    {
        MemorySurface measure;
        measure.createBitmap(8, 8);
        measureLetterSize(measure);
    }
    settings.currentView = settings.view;
    run_.showEarth = settings.currentView == kViewAll || settings.currentView == kView3d;
    run_.showCrossSection = settings.currentView == kViewAll || settings.currentView == kViewXs;
    run_.showSeismograms = settings.currentView == kViewAll;

    // 2. Panel and view sizes.
    const Size client = clientSize();
    panelSize = {9 * letterSize.width, client.height};
    viewPercent = computeViewPercent(panelSize.width, client.height, {screenWidth, screenHeight});
    sliderRect = computeSliderRect(panelSize, letterSize);

    // 3, 4. Load; a failure leaves everything as it is.
    run_.killTimer(kOpeningTimer);
    run_.killTimer(kTickTimer);
    canClose = false;
    if (!loadEvent(name)) return;

    // 5, 6. A new layout when the view changed or the map is showing.
    if (settings.currentView != builtView_ || mapWindow_) {
        myLayoutWindow* previous = layoutWindow_;
        takeClient();  // the map stays, hidden, until the next Map command
        layoutWindow_ = new myLayoutWindow(this, settings.currentView, client);
        setCentralWidget(layoutWindow_);
        layoutWindow_->show();
        delete previous;
        builtView_ = settings.currentView;
    }
    destroyWelcome();

    // 7. Surfaces of the shown drawing views, at their final size.
    if (QLayout* own = layout()) own->activate();
    child3D* g = run_.showEarth ? globe() : nullptr;
    childSeis* seis = run_.showSeismograms ? seismograms() : nullptr;
    childXS* xs = run_.showCrossSection ? crossSection() : nullptr;
    if (xs) xs->setUpSurfaces();
    if (g) {
        g->setUpSurfaces();
        if (settings.scienceOnASphere) g->prepareExportBuffer();
    }
    // 8. Pictures; without them the run does not start.
    if (g) {
        const std::string picture = g->globePictureName();
        if (!g->loadGlobePicture(picture)) {
            messageBox("Unable to open file", picture, MessageIcon::Exclamation);
            canClose = true;
            return;
        }
    }
    if (xs && !xs->createBitmaps()) {
        messageBox("Unable to create bitmaps", "Cross-Section View", MessageIcon::Exclamation);
        canClose = true;
        return;
    }
    // 9. Backgrounds.
    run_.clock = 0;
    if (g) {
        g->drawBackground();
        if (settings.scienceOnASphere) g->drawExportStations();
        g->update();
    }
    if (xs) {
        xs->drawBackground();
        xs->update();
    }
    if (seis) {
        seis->layoutTraces(0);
        seis->invalidate();
        showStationNames();
    }
    run_.drawnTimeWindow = loadedEvent().timeWindow;

    // 10. The event's own description first, holding the run. Not the Event
    // Info command: a guided tutorial goes on after it, and nobody clicked.
    if (settings.showEventInformation) {
        showInformation(joinPath(loadedEvent().eventDirectory, "EVT.INF"));
        held = true;
    }
    // 11.
    run_.setIdleCountdown(
        static_cast<std::int32_t>(std::min<std::uint32_t>(settings.timeout, INT32_MAX)));
    run_.setTimer(kOpeningTimer, 100);
    viewsReady = true;
}

void myFrame::showStationNames() {
    childStation* station = layoutWindow_ ? layoutWindow_->station() : nullptr;
    childSeis* seis = seismograms();
    if (!station || !seis) return;
    std::vector<std::pair<std::string, int>> names;
    const auto& traces = loadedEvent().traceList;
    for (std::size_t i = 0; i < traces.size(); ++i)
        names.emplace_back(traces[i]->stationCode, seis->baseline(i));
    station->setNames(std::move(names));
}

// --- RunHost -------------------------------------------------------------

bool myFrame::setWindowTimer(int id, int ms) { return setTimer(id, ms); }
void myFrame::killWindowTimer(int id) { killTimer(id); }
std::uint32_t myFrame::systemTickCount() { return tickCount(); }
bool myFrame::inputWaiting() { return orvane::inputWaiting(); }
void myFrame::stopTune() { sound().stopTune(); }
void myFrame::playTune(const std::string& name) { sound().playTune(name, this); }
void myFrame::openMidi() { sound().openMidi(); }
void myFrame::closeMidi() { sound().closeMidi(); }

child3D* myFrame::globe() const { return layoutWindow_ ? layoutWindow_->globe() : nullptr; }

childSeis* myFrame::seismograms() const {
    return layoutWindow_ ? layoutWindow_->seismograms() : nullptr;
}

void myFrame::drawPulse(float size) {
    // Each step erases the previous circle itself.
    if (child3D* g = run_.showEarth ? globe() : nullptr) g->drawEpicentrePulse(size);
    if (childXS* xs = run_.showCrossSection ? crossSection() : nullptr) xs->drawFocusPulse(size);
}

childXS* myFrame::crossSection() const {
    return layoutWindow_ ? layoutWindow_->crossSection() : nullptr;
}

void myFrame::crossSectionLoadTables() {
    if (childXS* xs = crossSection()) xs->loadTravelTimeTables();
}
bool myFrame::crossSectionDrawWaves(std::int16_t t) {
    childXS* xs = crossSection();
    return xs && xs->drawWaves(t);
}
void myFrame::crossSectionPresent() {
    if (childXS* xs = crossSection()) xs->present();
}
void myFrame::crossSectionReset() {
    if (childXS* xs = crossSection()) xs->reset();
}
void myFrame::crossSectionClear() {
    if (childXS* xs = crossSection()) xs->clear();
}

void myFrame::globeDrawWaves(float t) {
    if (child3D* g = globe()) g->drawWaves(t);
}
void myFrame::globePresent() {
    if (child3D* g = globe()) g->present();
}
void myFrame::globeReset() {
    if (child3D* g = globe()) g->reset();
}
void myFrame::globeClear() {
    if (child3D* g = globe()) g->clear();
}
void myFrame::globeExportFrame(float t) {
    if (child3D* g = globe()) g->exportFrame(t);
}
void myFrame::seismogramLayout(float t) {
    if (childSeis* s = seismograms()) s->layoutTraces(t);
}
void myFrame::seismogramAdvance(float t) {
    if (childSeis* s = seismograms()) s->advanceTo(t);
}
void myFrame::seismogramRepaint() {
    if (childSeis* s = seismograms()) s->invalidate();
}

void myFrame::readSpeed() {
    if (layoutWindow_ && layoutWindow_->slider()) layoutWindow_->slider()->readSpeed();
}

void myFrame::showMinutes(float t) {
    if (layoutWindow_ && layoutWindow_->slider()) layoutWindow_->slider()->showMinutes(t);
}

void myFrame::pauseChanged() {
    if (layoutWindow_ && layoutWindow_->slider()) layoutWindow_->slider()->refreshPauseButton();
}

std::size_t myFrame::catalogueSize() { return catalogue.size(); }
std::string myFrame::catalogueName(std::size_t index) {
    return index < catalogue.size() ? catalogue[index].fileName : std::string();
}

// --- ControlPanelHost ------------------------------------------------------

bool myFrame::paused() const { return orvane::paused; }
void myFrame::setPaused(bool value) { orvane::paused = value; }
void myFrame::setResumeTime(float seconds) { resumeTime = seconds; }

}  // namespace orvane
