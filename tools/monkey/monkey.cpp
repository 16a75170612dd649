#include "tools/monkey/monkey.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "app/layout_window.h"
#include "app/my_frame.h"
#include "platform/window.h"

namespace orvane {

namespace {

// Keys a visitor may press: Enter, Escape, the arrows, space, tab.
constexpr Qt::Key kKeys[] = {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Left,
                             Qt::Key_Right,  Qt::Key_Up,    Qt::Key_Down,   Qt::Key_Space,
                             Qt::Key_Tab};

// The window a widget is shown in; input goes to it as if from the screen.
QWindow* windowOf(QWidget* widget) {
    if (!widget) return nullptr;
    QWidget* top = widget->window();
    return top && top->isVisible() ? top->windowHandle() : nullptr;
}

}  // namespace

std::atomic<std::int64_t> monkeyHeartbeat{0};
std::atomic<std::int64_t> monkeyFinishing{0};

std::int64_t steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

Monkey::Monkey(std::uint64_t seed, double seconds, std::string scratch)
    : QObject(qApp),
      rng_(seed),
      endMs_(steadyMs() + static_cast<std::int64_t>(seconds * 1000)),
      scratch_(std::move(scratch)) {
    beat();
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
    timer_.start(200);
}

Monkey::~Monkey() {
    std::printf("orvane-monkey: %ld inputs:", total());
    for (const auto& [kind, n] : counts_) std::printf(" %s %ld,", kind.c_str(), n);
    std::printf("\n");
    std::fflush(stdout);
}

long Monkey::total() const {
    long n = 0;
    for (const auto& [kind, count] : counts_) n += count;
    return n;
}

void Monkey::beat() { monkeyHeartbeat.store(steadyMs()); }

void Monkey::tick() {
    beat();
    hookFrame();
    if (auto* frame = dynamic_cast<myFrame*>(mainWindow())) {
        // Coverage: how often the monkey got as far as an event's views.
        QWidget* layout = frame->layoutWindow();
        if (layout && layout != lastLayout_) count("(event views built)");
        lastLayout_ = layout;
    }
    if (steadyMs() >= endMs_) finishing_ = true;
    if (finishing_) {
        finish();
    } else {
        // Posted, so that an input that opens a modal dialog returns only
        // when the dialog closes while this timer goes on answering it.
        QMetaObject::invokeMethod(this, [this] { act(); }, Qt::QueuedConnection);
    }
    timer_.start(std::uniform_int_distribution<int>(5, 60)(rng_));
}

void Monkey::hookFrame() {
    auto* frame = dynamic_cast<myFrame*>(mainWindow());
    if (!frame || hooked_) return;
    hooked_ = true;
    // "Make bitmap" asks for a name: none, a fresh file, a directory standing
    // in the way, or a directory that does not exist.
    frame->askBitmapName = [this]() -> std::optional<std::string> {
        count("bitmap name");
        switch (std::uniform_int_distribution<int>(0, 3)(rng_)) {
            case 0: return std::nullopt;
            case 1: return scratch_ + "/saved.bmp";
            case 2: {
                std::error_code ec;
                std::filesystem::create_directories(scratch_ + "/taken.bmp", ec);
                return scratch_ + "/taken.bmp";
            }
            default: return scratch_ + "/missing/saved.bmp";
        }
    };
}

void Monkey::act() {
    if (finishing_) return;
    if (QWidget* modal = QApplication::activeModalWidget()) {
        answerModal(modal);
        return;
    }
    int dice = std::uniform_int_distribution<int>(0, 99)(rng_);
    if (held_ && dice < 30) {
        releaseHeld();
        return;
    }
    QWidget* window = pickWindow();
    if (!window) return;
    if (dice < 40)
        click(window, Qt::LeftButton);
    else if (dice < 50)
        click(window, Qt::RightButton);
    else if (dice < 58)
        pressOnly(window, dice % 2 ? Qt::LeftButton : Qt::RightButton);
    else if (dice < 78)
        key(window);
    else if (dice < 88)
        menuCommand();
    else
        dragSlider();
}

QWidget* Monkey::pickWindow() {
    if (QWidget* popup = QApplication::activePopupWidget()) return popup;
    std::vector<QWidget*> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowHandle() && w->width() > 0 && w->height() > 0) shown.push_back(w);
    if (shown.empty()) return nullptr;
    return shown[std::uniform_int_distribution<std::size_t>(0, shown.size() - 1)(rng_)];
}

void Monkey::click(QWidget* window, Qt::MouseButton button) {
    QPointer<QWidget> guard(window);
    QPoint at(std::uniform_int_distribution<int>(0, window->width() - 1)(rng_),
              std::uniform_int_distribution<int>(0, window->height() - 1)(rng_));
    count(button == Qt::LeftButton ? "left click" : "right click");
    if (QWindow* w = windowOf(window)) QTest::mousePress(w, button, Qt::NoModifier, at);
    if (guard)
        if (QWindow* w = windowOf(guard)) QTest::mouseRelease(w, button, Qt::NoModifier, at);
}

void Monkey::pressOnly(QWidget* window, Qt::MouseButton button) {
    if (held_) releaseHeld();
    QPoint at(std::uniform_int_distribution<int>(0, window->width() - 1)(rng_),
              std::uniform_int_distribution<int>(0, window->height() - 1)(rng_));
    count("press");
    held_ = window;
    heldButton_ = button;
    heldAt_ = at;
    if (QWindow* w = windowOf(window)) QTest::mousePress(w, button, Qt::NoModifier, at);
}

void Monkey::releaseHeld() {
    QPointer<QWidget> window = held_;
    held_ = nullptr;
    if (!window) return;
    QWindow* w = windowOf(window);
    if (!w) return;
    // Released somewhere else of the same window, after moving there.
    QPoint to(std::uniform_int_distribution<int>(0, std::max(0, window->width() - 1))(rng_),
              std::uniform_int_distribution<int>(0, std::max(0, window->height() - 1))(rng_));
    count("release");
    QTest::mouseMove(w, (heldAt_ + to) / 2);
    if (window && windowOf(window) == w) QTest::mouseRelease(w, heldButton_, Qt::NoModifier, to);
}

void Monkey::key(QWidget* window) {
    QWindow* w = windowOf(window);
    if (!w) return;
    if (std::uniform_int_distribution<int>(0, 2)(rng_) == 0) {
        // Alt and a letter: the menu's mnemonics and the dialogs' buttons.
        auto letter = static_cast<Qt::Key>(Qt::Key_A + std::uniform_int_distribution<int>(0, 25)(rng_));
        count("alt-letter");
        QTest::keyClick(w, letter, Qt::AltModifier);
        return;
    }
    count("key");
    QTest::keyClick(w, kKeys[std::uniform_int_distribution<std::size_t>(0, std::size(kKeys) - 1)(rng_)]);
}

void Monkey::menuCommand() {
    auto* frame = dynamic_cast<myFrame*>(mainWindow());
    if (!frame || !frame->isVisible()) return;
    auto* bar = qobject_cast<QMenuBar*>(frame->menuWidget());
    if (!bar || !bar->isVisible()) return;
    std::vector<QPointer<QAction>> actions;
    for (QAction* top : bar->actions()) {
        if (!top->menu()) continue;
        for (QAction* a : top->menu()->actions())
            if (!a->isSeparator() && a->isEnabled() && !a->menu()) actions.push_back(a);
    }
    if (actions.empty()) return;
    QPointer<QAction> action = actions[std::uniform_int_distribution<std::size_t>(0, actions.size() - 1)(rng_)];
    // Visitors seldom leave: Exit is taken one time in five, so that runs
    // get as far as the events.
    if (action->text().contains("xit") && std::uniform_int_distribution<int>(0, 4)(rng_) != 0) return;
    count("menu command");
    action->trigger();
}

void Monkey::dragSlider() {
    auto* frame = dynamic_cast<myFrame*>(mainWindow());
    if (!frame) return;
    std::vector<QSlider*> sliders;
    for (QSlider* s : frame->findChildren<QSlider*>())
        if (s->isVisible() && s->isEnabled() && s->height() > 0) sliders.push_back(s);
    if (sliders.empty()) return;
    QSlider* slider = sliders[std::uniform_int_distribution<std::size_t>(0, sliders.size() - 1)(rng_)];
    QWindow* w = windowOf(slider);
    if (!w) return;
    QPointer<QSlider> guard(slider);
    auto inside = [&] {
        return slider->mapTo(slider->window(),
                             QPoint(std::uniform_int_distribution<int>(0, slider->width() - 1)(rng_),
                                    std::uniform_int_distribution<int>(0, slider->height() - 1)(rng_)));
    };
    QPoint from = inside(), to = inside();
    count("slider drag");
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
    for (int step = 1; step <= 4 && guard; ++step) QTest::mouseMove(w, from + (to - from) * step / 4);
    if (guard && windowOf(guard) == w) QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, to);
}

void Monkey::answerModal(QWidget* modal) {
    QWindow* w = windowOf(modal);
    if (!w) return;
    int dice = std::uniform_int_distribution<int>(0, 99)(rng_);
    std::vector<QAbstractButton*> buttons;
    for (QAbstractButton* b : modal->findChildren<QAbstractButton*>())
        if (b->isVisible() && b->isEnabled() && b->width() > 0) buttons.push_back(b);
    if (dice < 45 && !buttons.empty()) {
        QAbstractButton* b = buttons[std::uniform_int_distribution<std::size_t>(0, buttons.size() - 1)(rng_)];
        count("dialog button");
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, b->mapTo(modal, b->rect().center()));
    } else if (dice < 60) {
        count("dialog enter");
        QTest::keyClick(w, Qt::Key_Return);
    } else if (dice < 75) {
        count("dialog escape");
        QTest::keyClick(w, Qt::Key_Escape);
    } else if (dice < 90) {
        key(modal);
    } else {
        click(modal, Qt::LeftButton);
    }
}

void Monkey::finish() {
    // Whatever is open is closed as a visitor would, then the program ends.
    held_ = nullptr;
    ++closeTries_;
    QWidget* open = QApplication::activePopupWidget();
    if (!open) open = QApplication::activeModalWidget();
    if (closeTries_ == 1) monkeyFinishing.store(steadyMs());
    if (open && closeTries_ % 100 == 0)
        std::fprintf(stderr, "orvane-monkey: still open after %d tries: %s \"%s\"\n", closeTries_,
                    open->metaObject()->className(), qPrintable(open->windowTitle()));
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        return;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (closeTries_ > 20)
            modal->close();
        else if (QWindow* w = windowOf(modal))
            QTest::keyClick(w, Qt::Key_Escape);
        return;
    }
    if (closeTries_ % 100 == 0) std::fprintf(stderr, "orvane-monkey: quitting again (%d)\n", closeTries_);
    // exit(), not quit(): quit() first asks the windows to close, and the
    // frame may refuse (it may not close while it builds a map or a run).
    QCoreApplication::exit(0);
}

}  // namespace orvane
