// The demonstration's guided tutorial, run from the map to its end through
// the real viewer: every page opens at its time and the views then show
// what the page talks about.
//
// With ORVANE_DEMO_DIR naming a directory made by orvane-demo the run uses
// that directory (its Tohoku seismograms and pictures); otherwise the
// demonstration's texts and the build's tables with a Tohoku-like event of
// its own. With ORVANE_SHOTS_DIR set, a picture of the screen is saved at
// each page (run it under Xvfb with QT_QPA_PLATFORM=xcb to see it as a
// class would).
#include <QPainter>
#include <QScreen>
#include <cstdlib>
#include <set>

#include "app/layout_window.h"
#include "model/travel_time_table.h"
#include "tests/e2e/viewer_session.h"
#include "tools/demo/demo_events.h"
#include "tools/demo/texts.h"
#include "views/child_3d.h"
#include "views/child_seis.h"
#include "views/child_xs.h"

namespace orvane::e2e {
namespace {

std::unique_ptr<ViewerSession> demoSession() {
    const char* demo = std::getenv("ORVANE_DEMO_DIR");
    if (demo && *demo) return std::make_unique<ViewerSession>(std::filesystem::path(demo));
    auto s = std::make_unique<ViewerSession>();
    const DemoEvent& quake = tutorialEvent();
    // A hundred times as fast keeps the tour short; the pages still open
    // within a few seconds of their times.
    // Stations near, far, and in the shadow of the core.
    const std::vector<TestStation> stations{
        {"INCN", 37.48f, 126.62f}, {"COLA", 64.87f, -147.86f}, {"TSUM", -19.20f, 17.58f}};
    s->addEventAt({float(quake.latitude), float(quake.longitude), float(quake.depth),
                   float(quake.magnitude), facingViewAngle(quake.longitude)},
                  stations, 3600, "TIME ACCELERATION: 100\nTIME LIMIT: 3600\n");
    s->write("tutorial.txt", tutorialListText(tutorialSteps()));
    for (const TextFile& topic : tutorialTopics()) s->write(topic.name, topic.content);
    return s;
}

// The names of the fronts the cross-section draws at whole second t.
std::set<std::string> frontsAt(int t, float depth) {
    TravelTimeTable table;
    std::set<std::string> names;
    if (!table.loadTravelTimeTables(depth)) return names;
    table.readTimeStep(
        t, [](std::string_view name) { return childXS::wantsPhase(name, settings); },
        [&](const WavefrontRecord& r) { names.insert(std::string(r.phaseName)); });
    return names;
}

bool anyStartsWith(const std::set<std::string>& names, std::string_view prefix) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& n) { return n.starts_with(prefix); });
}

// Pixels of a colour in a view's picture on the screen.
int pixelsOf(QWidget* view, QRgb colour) {
    const QImage picture = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (colour & 0xFFFFFF)) ++count;
    }
    return count;
}

// Pixels of a colour inside the outer core of the cross-section.
int pixelsInCore(childXS* view, QRgb colour) {
    const QImage picture = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // A little inside the core's edge, where fronts touch it from outside.
    const double core = 0.53 * view->radius();
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const double dx = x - view->centre().x, dy = y - view->centre().y;
            if (dx * dx + dy * dy < core * core && (picture.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                ++count;
        }
    return count;
}

void saveShot(const std::string& name, ViewerSession& s) {
    const char* dir = std::getenv("ORVANE_SHOTS_DIR");
    if (!dir || !*dir) return;
    std::filesystem::create_directories(dir);
    QImage shot;
    if (QGuiApplication::platformName() == "offscreen") {
        // No screen to photograph: the frame with the open windows over it.
        shot = s.frame().grab().toImage();
        QPainter painter(&shot);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != &s.frame() && w->isVisible() && dynamic_cast<myHelpBase*>(w))
                painter.drawPixmap(w->geometry().topLeft() - s.frame().geometry().topLeft(),
                                   w->grab());
    } else {
        shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    }
    shot.save(QString::fromStdString(std::string(dir) + "/" + name + ".png"), "PNG");
}

TEST(DemoTutorial, EveryPageOpensOnTimeOverViewsThatShowWhatItSays) {
    std::unique_ptr<ViewerSession> session = demoSession();
    ViewerSession& s = *session;
    const DemoEvent& quake = tutorialEvent();
    // The demonstration names its event after the date; the session's own
    // event is named after the test date.
    const std::string event =
        std::getenv("ORVANE_DEMO_DIR") ? toEvent(quake).fileName : ViewerSession::kEventFile;
    s.settingsFile("SHOW WELCOME SCREEN: NO\nTUTORIAL: YES\nTUTORIAL EVENT: " + event +
                   "\nSHOW EVENT INFORMATION: YES\n");
    const std::vector<TutorialStep> steps = tutorialSteps();
    s.start();

    // The map's own page, then the event's description.
    ASSERT_TRUE(waitUntil([] { return shownWindow<myInfo>() != nullptr; }, 20000));
    saveShot("00-map", s);
    pressMiddle(buttonNamed(shownWindow<myInfo>(), "Continue"));
    myHelp* description = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (description = shownWindow<myHelp>()); }, 20000));
    pressMiddle(buttonNamed(description, "Back"));

    // Pages 1 .. n-2 open in turn; the last entry only marks the end.
    for (std::size_t i = 1; i + 1 < steps.size(); ++i) {
        const TutorialStep& step = steps[i];
        SCOPED_TRACE(step.topic);
        myInfo* page = nullptr;
        // The tick that carries the clock past the page's time is followed
        // by the one that opens it, and that one no longer moves the clock.
        // How far a tick moves it depends on how busy the machine is.
        float firstPast = -1;
        ASSERT_TRUE(waitUntil(
            [&] {
                const float now = s.run().clock;
                if (firstPast < 0 && now > float(step.showAfter)) firstPast = now;
                page = shownWindow<myInfo>();
                return page && now > float(step.showAfter);
            },
            60000))
            << "no page after " << step.showAfter << " s";
        const float clock = s.run().clock;
        const int t = static_cast<int>(clock);
        EXPECT_EQ(clock, firstPast) << "the clock ran on past " << step.showAfter
                                    << " s before the page opened";
        idle(300);  // the views have drawn this tick
        saveShot(std::to_string(i) + "-" + step.topic, s);

        myLayoutWindow* layout = s.frame().layoutWindow();
        ASSERT_NE(layout, nullptr);
        const std::set<std::string> fronts = frontsAt(t, float(quake.depth));
        const QRgb red = qRgb(255, 0, 0), cyan = qRgb(0, 255, 255), yellow = qRgb(255, 255, 0);
        if (step.topic == "TUT_P.INF") {
            EXPECT_TRUE(fronts.count("P"));
            EXPECT_GT(pixelsOf(layout->crossSection(), red), 50);
            EXPECT_GT(pixelsOf(layout->globe(), red), 20) << "the P circle on the globe";
        } else if (step.topic == "TUT_S.INF") {
            EXPECT_TRUE(fronts.count("S"));
            EXPECT_TRUE(fronts.count("ScS")) << "S has met the core and bounces off it";
            EXPECT_GT(pixelsOf(layout->crossSection(), cyan), 50);
            EXPECT_EQ(pixelsInCore(layout->crossSection(), cyan), 0)
                << "the liquid outer core carries no S front";
        } else if (step.topic == "TUT_SURF.INF") {
            EXPECT_GT(pixelsOf(layout->globe(), yellow), 50) << "the surface-wave band";
        } else if (step.topic == "TUT_SHAD.INF") {
            EXPECT_TRUE(fronts.count("Pdiff")) << "the dashed front the page points at";
            EXPECT_TRUE(anyStartsWith(fronts, "PK")) << "waves through the core";
        } else if (step.topic == "TUT_SEIS.INF") {
            // At the nearest station P, S and the surface waves have come.
            const auto& traces = loadedEvent().traceList;
            ASSERT_FALSE(traces.empty());
            const KSAC& nearest = *traces.front();
            const float surface = nearest.floatWord(sac::GCARC) * 111.19f / 3.5f;
            EXPECT_GT(nearest.arrivalP, 0);
            EXPECT_GT(nearest.arrivalS, nearest.arrivalP);
            EXPECT_GT(float(t), surface) << nearest.stationCode;
        }
        pressMiddle(buttonNamed(page, "Continue"));
        ASSERT_TRUE(waitUntil([&] { return shownWindow<myInfo>() != page; }));
    }
    // After the last entry's time the tour goes back to the map.
    ASSERT_TRUE(waitUntil([&] { return s.mapShown(); }, 120000));
    EXPECT_FALSE(settings.tutorial);
}

}  // namespace
}  // namespace orvane::e2e
