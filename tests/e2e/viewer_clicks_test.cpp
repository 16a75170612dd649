// A person's presses on the running viewer: the right button that brings the
// map back from every surface, the click every button makes, information
// windows that close where they are touched, and the map's station mode that
// must not time out while stations are being chosen.
#include <QPushButton>
#include <QTimer>

#include "app/layout_window.h"
#include "app/side_panel.h"
#include "map/map_window.h"
#include "platform/command_ids.h"
#include "tests/e2e/viewer_session.h"
#include "views/child_3d.h"
#include "views/child_seis.h"
#include "views/child_xs.h"

namespace orvane::e2e {
namespace {

// The map as a person finds it: shown and painted, with its event labels.
bool mapReady(const ViewerSession& s) {
    return s.mapShown() && !catalogue.empty() && !catalogue[0].labelBox.empty();
}

void touchFirstEvent(ViewerSession& s) {
    ASSERT_TRUE(waitUntil([&] { return mapReady(s); })) << "the map never showed its events";
    const Rect& box = catalogue[0].labelBox;
    press(s.frame().mapWindow(), {(box.left + box.right) / 2, (box.top + box.bottom) / 2});
}

// From the map, a press on the event's label starts it (no event dialog).
void startTheEvent(ViewerSession& s) {
    touchFirstEvent(s);
    ASSERT_TRUE(waitUntil([&] { return s.layoutShown(); })) << "the event did not start";
    ASSERT_TRUE(waitUntil([&] { return s.run().tickPeriod != 0; })) << "the run did not start";
}

// Where a right press lands in the running viewer.
enum class Surface {
    Welcome,
    Globe,
    CrossSection,
    Seismograms,
    StationNames,
    Panel,
    PanelButton,
    GlobeInfoButton,
    SeismogramInfoButton,
    LeftFiller,
    RightFiller,
};

std::string surfaceName(const ::testing::TestParamInfo<Surface>& info) {
    switch (info.param) {
        case Surface::Welcome: return "Welcome";
        case Surface::Globe: return "Globe";
        case Surface::CrossSection: return "CrossSection";
        case Surface::Seismograms: return "Seismograms";
        case Surface::StationNames: return "StationNames";
        case Surface::Panel: return "Panel";
        case Surface::PanelButton: return "PanelButton";
        case Surface::GlobeInfoButton: return "GlobeInfoButton";
        case Surface::SeismogramInfoButton: return "SeismogramInfoButton";
        case Surface::LeftFiller: return "LeftFiller";
        case Surface::RightFiller: return "RightFiller";
    }
    return "Unknown";
}

class RightButtonRestart : public ::testing::TestWithParam<Surface> {};

// The right button tears down the very window it is pressed in: the map
// must come back and the program must live on.
TEST_P(RightButtonRestart, BringsTheMapBackFromEverySurface) {
    const Surface surface = GetParam();
    const bool fillers = surface == Surface::LeftFiller || surface == Surface::RightFiller;
    ViewerSession s;
    s.settingsFile(std::string("RIGHT BUTTON RESTART: YES\nSELECT COMPONENTS: NO\n"
                               "SHOW EVENT INFORMATION: NO\n") +
                   (surface == Surface::Welcome ? "" : "SHOW WELCOME SCREEN: NO\n") +
                   (fillers ? "VIEW: 3D\n" : ""));
    s.addEvent();
    s.start();

    QWidget* target = nullptr;
    if (surface == Surface::Welcome) {
        ASSERT_TRUE(waitUntil([&] { return s.frame().welcomePane() != nullptr; }));
        target = s.frame().welcomePane();
    } else {
        startTheEvent(s);
        myLayoutWindow* layout = s.frame().layoutWindow();
        childSlider* panel = layout->slider();
        switch (surface) {
            case Surface::Globe: target = layout->globe(); break;
            case Surface::CrossSection: target = layout->crossSection(); break;
            case Surface::Seismograms: target = layout->seismograms(); break;
            case Surface::StationNames: target = layout->station(); break;
            case Surface::Panel: target = panel; break;
            case Surface::PanelButton: target = buttonNamed(panel, "Pause"); break;
            case Surface::GlobeInfoButton: target = buttonNamed(layout->globe(), "Info"); break;
            case Surface::SeismogramInfoButton:
                target = buttonNamed(layout->seismograms(), "Info");
                break;
            case Surface::LeftFiller: target = layout->leftPanel(); break;
            case Surface::RightFiller: target = layout->rightPanel(); break;
            default: break;
        }
    }
    ASSERT_NE(target, nullptr);
    ASSERT_TRUE(target->isVisible());
    // A point that belongs to this surface and not to a child of it.
    QPoint at = target->rect().center();
    if (surface == Surface::Panel) at = {target->width() / 2, target->height() - 5};
    if (surface == Surface::Globe || surface == Surface::CrossSection) at = {10, 10};
    QWidget* under = widgetUnder(target, at);
    ASSERT_EQ(under, target) << "a press there reaches a " << under->metaObject()->className()
                             << " at " << under->geometry().x() << "," << under->geometry().y()
                             << " " << under->width() << "x" << under->height() << ", not the "
                             << target->metaObject()->className() << " at " << target->x() << ","
                             << target->y() << " " << target->width() << "x" << target->height();

    press(target, at, Qt::RightButton);
    ASSERT_TRUE(waitUntil([&] { return s.mapShown(); })) << "the map did not come back";
    EXPECT_EQ(s.frame().layoutWindow(), nullptr);
    EXPECT_EQ(s.frame().welcomePane(), nullptr);
    // The program goes on: the map takes an event again.
    startTheEvent(s);
}

INSTANTIATE_TEST_SUITE_P(Viewer, RightButtonRestart,
                         ::testing::Values(Surface::Welcome, Surface::Globe, Surface::CrossSection,
                                           Surface::Seismograms, Surface::StationNames,
                                           Surface::Panel, Surface::PanelButton,
                                           Surface::GlobeInfoButton, Surface::SeismogramInfoButton,
                                           Surface::LeftFiller, Surface::RightFiller),
                         surfaceName);

TEST(RightButton, DoesNothingWhenRestartIsOff) {
    ViewerSession s;
    s.settingsFile("SELECT COMPONENTS: NO\nSHOW EVENT INFORMATION: NO\nSHOW WELCOME SCREEN: NO\n");
    s.addEvent();
    s.start();
    startTheEvent(s);
    press(s.frame().layoutWindow()->globe(), {10, 10}, Qt::RightButton);
    idle(200);
    EXPECT_TRUE(s.layoutShown());
}

// Every button of the viewer clicks, and information windows close where a
// person touches them, with the same click as their Back button.
TEST(ViewerButtons, ClickAndInformationWindowsCloseWhereTouched) {
    ViewerSession s;
    s.settingsFile("SELECT COMPONENTS: NO\nSHOW EVENT INFORMATION: NO\n");
    s.addEvent();
    s.start();

    // Start on the welcome screen.
    ASSERT_TRUE(waitUntil([&] { return s.frame().welcomePane() != nullptr; }));
    textButton* start = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (start = buttonNamed(s.frame().welcomePane(), "Start")); }));
    int clicks = s.sound.clicks;
    pressMiddle(start);
    EXPECT_EQ(s.sound.clicks, clicks + 1);

    startTheEvent(s);
    EXPECT_GT(s.sound.clicks, clicks + 1) << "touching an event on the map clicks";

    // Pause on the panel: a click, and the caption a person reads changes.
    childSlider* panel = s.frame().layoutWindow()->slider();
    textButton* pause = buttonNamed(panel, "Pause");
    ASSERT_NE(pause, nullptr);
    clicks = s.sound.clicks;
    pressMiddle(pause);
    EXPECT_EQ(s.sound.clicks, clicks + 1);
    EXPECT_EQ(pause->caption(), "Resume");
    EXPECT_TRUE(paused);

    // Event Info opens the event's text; a press anywhere in it is Back.
    textButton* info = buttonNamed(panel, "Event Info");
    ASSERT_NE(info, nullptr);
    pressMiddle(info);
    myHelp* window = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (window = shownWindow<myHelp>()); }));
    EXPECT_NE(window->text().find("The test earthquake."), std::string::npos);
    clicks = s.sound.clicks;
    press(window, {window->textBox().left + 20, window->textBox().top + 10});
    EXPECT_TRUE(waitUntil([&] { return shownWindow<myHelp>() == nullptr; }));
    EXPECT_EQ(s.sound.clicks, clicks + 1) << "a press in an information window clicks as Back does";
}

// Choosing stations on the map takes as long as it takes: the idle timeout
// that touching the event stopped stays stopped, also after the map's
// Information button.
TEST(MapStationMode, InformationDoesNotRestartTheIdleTimeout) {
    ViewerSession s;
    s.settingsFile("SHOW WELCOME SCREEN: NO\nTIMEOUT: 2\n");
    s.addEvent();
    s.start();

    // The event dialog is modal: answer it with "Select Stations" the way a
    // person does, by pressing the button.
    bool answered = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || answered) return;
        for (QPushButton* b : dialog->findChildren<QPushButton*>())
            if (b->text().remove('&') == "Select Stations") {
                answered = true;
                QTest::mouseClick(b, Qt::LeftButton);
                return;
            }
    });
    answer.start(20);
    touchFirstEvent(s);
    ASSERT_TRUE(waitUntil([&] { return answered; }));
    auto* map = dynamic_cast<mapWindow*>(s.frame().mapWindow());
    ASSERT_NE(map, nullptr);
    ASSERT_TRUE(waitUntil([&] { return map->mode() == 1; }));

    textButton* information = map->informationButton();
    ASSERT_NE(information, nullptr);
    pressMiddle(information);
    myHelp* window = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (window = shownWindow<myHelp>()); }));
    press(window, {window->textBox().left + 20, window->textBox().top + 10});

    // Twice the timeout later the user is still choosing stations.
    idle(4500);
    EXPECT_TRUE(s.mapShown());
    EXPECT_EQ(map->mode(), 1);
    EXPECT_FALSE(s.frame().layoutWindow());
}

}  // namespace
}  // namespace orvane::e2e
