#include "platform/window.h"

#include <QMetaObject>
#include <QTimer>

namespace orvane {

namespace {
QPointer<QObject>& mainWindowSlot() {
    static QPointer<QObject> window;
    return window;
}
}  // namespace

bool sendCommand(QObject* target, int id) {
    for (QObject* o = target; o; o = o->parent()) {
        if (auto* handler = dynamic_cast<CommandTarget*>(o)) {
            handler->command(id);
            return true;
        }
    }
    return false;
}

void postCommand(QObject* target, int id) {
    if (!target) return;
    QPointer<QObject> guard(target);
    // The target is the context object: if it goes away first, the call is
    // dropped by Qt.
    QMetaObject::invokeMethod(
        target,
        [guard, id] {
            if (guard) sendCommand(guard.data(), id);
        },
        Qt::QueuedConnection);
}

void setMainWindow(QObject* window) { mainWindowSlot() = window; }
QObject* mainWindow() { return mainWindowSlot().data(); }
bool sendToMainWindow(int id) { return sendCommand(mainWindow(), id); }

WindowTimers::WindowTimers(std::function<void(int)> onTimer) : onTimer_(std::move(onTimer)) {}

WindowTimers::~WindowTimers() = default;

bool WindowTimers::set(int id, int ms) {
    std::unique_ptr<QTimer>& timer = timers_[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer.get(), &QTimer::timeout, [this, id] { onTimer_(id); });
    }
    timer->start(ms < 0 ? 0 : ms);
    return true;
}

bool WindowTimers::kill(int id) {
    auto it = timers_.find(id);
    if (it == timers_.end() || !it->second->isActive()) return false;
    // Stopped, not destroyed: a handler may kill the timer that called it.
    it->second->stop();
    return true;
}

bool WindowTimers::active(int id) const {
    auto it = timers_.find(id);
    return it != timers_.end() && it->second->isActive();
}

}  // namespace orvane
