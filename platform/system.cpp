#include "platform/system.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <chrono>

namespace orvane {

namespace {

std::uint64_t inputCount = 0;
std::uint64_t inputCountAtTick = 0;

class InputWatch : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
                ++inputCount;  // only a change of the count matters
                break;
            default:
                break;
        }
        return false;
    }
};

}  // namespace

std::uint32_t tickCount() {
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

Size screenSize() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    QRect g = screen->geometry();
    return {g.width(), g.height()};
}

void installInputWatch() {
    static InputWatch* watch = nullptr;
    QCoreApplication* app = QCoreApplication::instance();
    if (watch || !app) return;
    watch = new InputWatch(app);
    app->installEventFilter(watch);
    inputCountAtTick = inputCount;
}

bool inputWaiting() { return inputCount != inputCountAtTick; }

void markInputTick() { inputCountAtTick = inputCount; }

void waitDispatching(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms < 0 ? 0 : ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace orvane
