#pragma once
// The real viewer, started the way the program starts it, in a working
// directory of its own; and a person's hands: presses and keys that Qt
// delivers through the window under the pointer to whatever widget is there.
//
// Nothing here calls a handler directly: a press goes to the top-level
// window as the window system would send it, so grabs, propagation to
// parents and widgets deleted on the way behave as they do for a user.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <charconv>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/my_app.h"
#include "app/layout_window.h"
#include "app/my_frame.h"
#include "app/run_state.h"
#include "app/sound.h"
#include "data/catalogue.h"
#include "data/event_loading.h"
#include "data/sac.h"
#include "data/settings.h"
#include "model/geometry.h"
#include "platform/audio_engine.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "tests/data/trace_files.h"
#include "tests/support/temp_dir.h"
#include "ui/buttons.h"
#include "ui/text_windows.h"
#include "views/child_view.h"

namespace orvane::e2e {

/// What the program would have played, by kind.
class SoundRecorder : public AudioEngine {
  public:
    static constexpr int kClickNote = 77;

    bool hasSynthesizer() const override { return true; }
    void sendShortMessage(std::uint32_t message) override {
        const std::uint32_t status = message & 0xF0;
        const std::uint32_t note = (message >> 8) & 0x7F;
        const std::uint32_t velocity = (message >> 16) & 0x7F;
        if (status == 0x90 && velocity > 0 && note == kClickNote) ++clicks;
    }
    void resetMidi() override {}
    bool startTune(const std::vector<std::uint8_t>&) override {
        ++tunes;
        return true;
    }
    void stopTune() override {}
    bool playPcm(const std::uint8_t*, std::size_t) override { return false; }
    bool pcmPlaying() const override { return false; }
    void stopPcm() override {}
    void beep(BeepKind) override { ++beeps; }

    int clicks = 0;
    int tunes = 0;
    int beeps = 0;
};

/// Runs Qt's event loop until `done` or `ms` milliseconds have passed.
inline bool waitUntil(const std::function<bool()>& done, int ms = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QTest::qWait(10);
    }
    return true;
}

/// Lets the event loop run for `ms` milliseconds.
inline void idle(int ms) { QTest::qWait(ms); }

/// The widget Qt delivers a press at `local` (in `widget`'s coordinates) to.
inline QWidget* widgetUnder(QWidget* widget, QPoint local) {
    QWidget* top = widget->window();
    const QPoint inTop = widget->mapTo(top, local);
    QWidget* child = top->childAt(inTop);
    return child ? child : top;
}

/// A press (and, unless `release` is false, the release) of `button` at
/// `local` in `widget`, sent to its top-level window as the window system
/// sends it. Qt finds the widget under the pointer itself.
inline void press(QWidget* widget, QPoint local, Qt::MouseButton button = Qt::LeftButton,
                  bool release = true) {
    QWidget* top = widget->window();
    QWindow* window = top->windowHandle();
    ASSERT_NE(window, nullptr) << "the window is not shown";
    const QPoint at = widget->mapTo(top, local);
    QTest::mousePress(window, button, {}, at);
    if (release) QTest::mouseRelease(window, button, {}, at);
}

/// A press in the middle of `widget`.
inline void pressMiddle(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
    press(widget, widget->rect().center(), button);
}

/// A key pressed and released in the active window (or `widget`'s window).
inline void key(QWidget* widget, Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
    QWindow* window = widget->window()->windowHandle();
    ASSERT_NE(window, nullptr);
    QTest::keyClick(window, k, modifiers);
}

/// The shown top-level window of type W, or null.
template <class W>
W* shownWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* typed = dynamic_cast<W*>(w); typed && typed->isVisible()) return typed;
    return nullptr;
}

/// Every shown top-level window of type W.
template <class W>
std::vector<W*> shownWindows() {
    std::vector<W*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* typed = dynamic_cast<W*>(w); typed && typed->isVisible()) found.push_back(typed);
    return found;
}

/// The child button with `caption` inside `parent`, or null.
inline textButton* buttonNamed(QWidget* parent, const std::string& caption) {
    for (textButton* b : parent->findChildren<textButton*>())
        if (b->caption() == caption && b->isVisible()) return b;
    return nullptr;
}

/// A number as the files hold it, with a point whatever the locale.
inline std::string number(float value) {
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4);
    return std::string(text, result.ptr);
}

/// A station of the test events: code and position.
struct TestStation {
    std::string code;
    float latitude;
    float longitude;
};

/// A working directory with an event the viewer can run, and the viewer
/// itself once start() is called.
class ViewerSession {
  public:
    /// Epicentre and origin of the test event: 17 January 1994, 12:30:55.4.
    static constexpr float kLatitude = 0.0f;
    static constexpr float kLongitude = 0.0f;
    static constexpr const char* kEventFile = "1994011712.evt";
    static constexpr const char* kEventDirectory = "1994011712";

    ViewerSession() {
        resetProgramState();
        writePictures();
        copyTables();
    }

    /// A session in a copy of a prepared working directory (its files are
    /// linked, OV.INI is the session's own).
    explicit ViewerSession(const std::filesystem::path& prepared) {
        resetProgramState();
        for (const auto& entry : std::filesystem::directory_iterator(prepared)) {
            if (entry.path().filename() == "OV.INI") continue;
            std::error_code ec;
            std::filesystem::create_symlink(entry.path(), dir_.path() / entry.path().filename(), ec);
        }
    }

    ~ViewerSession() {
        app_.reset();
        useSoundEngine(nullptr);
        clickHook = nullptr;
        resetProgramState();
    }

    ViewerSession(const ViewerSession&) = delete;
    ViewerSession& operator=(const ViewerSession&) = delete;

    std::string path(const std::string& name) const { return dir_.file(name); }

    void write(const std::string& name, const std::string& text) const {
        std::filesystem::create_directories(std::filesystem::path(path(name)).parent_path());
        std::ofstream(path(name), std::ios::binary) << text;
    }

    /// OV.INI: the given lines after the ones every session needs (no welcome
    /// tune to wait for unless asked).
    void settingsFile(const std::string& lines) const { write("OV.INI", lines); }

    /// The test event: three stations at 30, 60 and 90 degrees east of the
    /// epicentre, recorded at one sample a second for `seconds`; `extra`
    /// lines go into the event file before the station lines.
    void addEvent(int seconds = 3000, const std::string& extra = "TIME ACCELERATION: 20\n",
                  float magnitude = 2.0f) const {
        addEventAt({0.0f, 0.0f, 10.0f, magnitude, 0}, stations(), seconds, extra);
    }

    /// Where and how large the test event is.
    struct Quake {
        float latitude, longitude, depth, magnitude;
        int viewAngle;
    };

    /// The test event at `quake`, recorded at `at` for `seconds`.
    void addEventAt(const Quake& quake, const std::vector<TestStation>& at, int seconds,
                    const std::string& extra) const {
        std::string text = "EVENT NAME: Test quake\n";
        text += "EVENT LATITUDE: " + number(quake.latitude) + "\n";
        text += "EVENT LONGITUDE: " + number(quake.longitude) + "\n";
        text += "EVENT DEPTH: " + number(quake.depth) + "\n";
        text += "EVENT MAGNITUDE: " + number(quake.magnitude) + "\n";
        text += "EVENT DATE: 1994/01/17\nORIGIN TIME: 12:30:55.4\n";
        text += "VIEW ANGLE: " + std::to_string(quake.viewAngle) + "\n" + extra;
        std::filesystem::create_directories(path(kEventDirectory));
        for (const TestStation& s : at) {
            writeTrace(s, seconds);
            text += "STATION FILE: " + s.code + ".BHZ\n";
        }
        write(kEventFile, text);
        write(std::string(kEventDirectory) + "/EVT.INF", "The test earthquake.\n");
    }

    static std::vector<TestStation> stations() {
        return {{"AAA", 0.0f, 30.0f}, {"BBB", 0.0f, 60.0f}, {"CCC", 0.0f, 90.0f}};
    }

    /// tutorial.txt: one line per page, "showAfter waitLimit topic", and a
    /// one-line topic file for each page saying its number.
    void addTutorial(const std::vector<unsigned>& showAfter, unsigned waitLimit = 600) const {
        std::string list;
        for (std::size_t i = 0; i < showAfter.size(); ++i) {
            const std::string topic = "PAGE" + std::to_string(i) + ".TXT";
            list += std::to_string(showAfter[i]) + " " + std::to_string(waitLimit) + " " + topic +
                    "\n";
            write(topic, "Tutorial page " + std::to_string(i) + ".\n");
        }
        write("tutorial.txt", list);
    }

    /// Starts the viewer as the program does, with the sound going to
    /// `sound` and message boxes recorded.
    void start() {
        useSoundEngine(&sound);
        app_ = std::make_unique<TMyApp>();
        startViewer(*app_, false);
        // A classroom's wide screen rather than the offscreen platform's
        // square one, so every layout has its grey fillers.
        screenWidth = 1920;
        screenHeight = 1080;
        frame().setWindowState(Qt::WindowNoState);
        frame().setGeometry(0, 0, 1920, 1040);
        frame().show();
        QApplication::setActiveWindow(&frame());
        waitUntil([this] { return frame().isVisible(); }, 2000);
    }

    myFrame& frame() const { return *app_->frame(); }
    RunController& run() const { return frame().run(); }

    /// The map is the frame's client.
    bool mapShown() const {
        return frame().mapWindow() && frame().centralWidget() == frame().mapWindow();
    }
    /// An event's views are the frame's client.
    bool layoutShown() const {
        return frame().layoutWindow() &&
               frame().centralWidget() == static_cast<QWidget*>(frame().layoutWindow());
    }

    SoundRecorder sound;
    MessageBoxRecorder messages;

  private:
    static void resetProgramState() {
        resetRunValues();
        settings.applyDefaults();
        settings.tutorial = false;
        settings.tutorialSaved = false;
        tutorialList.clear();
        catalogue.clear();
        viewsReady = false;
        releaseTraces(loadedEvent());
    }

    void writePictures() const {
        QImage earth(200, 200, QImage::Format_RGB32);
        earth.fill(QColor(20, 60, 160));
        for (int angle = 0; angle < 360; angle += 45)
            earth.save(QString::fromStdString(path("earth" + std::to_string(angle) + ".bmp")),
                       "BMP");
    }

    void copyTables() const {
        for (const char* name :
             {"P.JB", "S.JB", "PP.JB", "SS.JB", "OV0.INX", "OV0.BIN", "OV600.INX", "OV600.BIN"}) {
            std::error_code ec;
            std::filesystem::copy_file(std::string(ORVANE_BINARY_DIR "/tables/") + name, path(name),
                                       ec);
        }
    }

    void writeTrace(const TestStation& s, int seconds) const {
        // The data tests' trace (same date and start), one sample a second.
        SacTrace t = testing::typicalTrace(0);
        t.delta = 1.0f;
        t.station = s.code;
        t.network = "XX";
        t.stationLatitude = s.latitude;
        t.stationLongitude = s.longitude;
        for (int k = 0; k < seconds; ++k)
            t.samples.push_back(100.0f * std::sin(0.3f * static_cast<float>(k)) + float(k % 7));
        ASSERT_TRUE(writeSac(path(std::string(kEventDirectory) + "/" + s.code + ".BHZ"), t));
    }

    TempDir dir_;
    ScopedCurrentDir inDir_{dir_.path()};
    std::unique_ptr<TMyApp> app_;
};

}  // namespace orvane::e2e
