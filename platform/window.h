#pragma once
// Window services: numeric commands sent or posted to windows, periodic
// timers by numeric id, activation notices, and the program's main window.
//
// Every window class of the programs derives from WindowBase over the Qt
// widget it stands on (Window, FrameWindow, DialogWindow) and overrides
// command(id), onTimer(id) and onActivated(active) as its Part says.

#include <QDialog>
#include <QEvent>
#include <QMainWindow>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

class QTimer;

namespace orvane {

/// Something that handles numeric commands (menu items, buttons, messages
/// from other windows).
class CommandTarget {
  public:
    virtual ~CommandTarget() = default;
    virtual void command(int id) = 0;
};

/// Delivers a command now to `target` or, when it does not handle commands,
/// to its nearest ancestor that does. Returns whether anyone took it.
bool sendCommand(QObject* target, int id);

/// Delivers the command the same way once control is back in the event loop,
/// after the sender has returned. Dropped when the target is gone by then.
void postCommand(QObject* target, int id);

/// The program's main window, to which other windows send their commands.
void setMainWindow(QObject* window);
QObject* mainWindow();
/// sendCommand to the main window; false when there is none.
bool sendToMainWindow(int id);

/// Periodic timers by numeric id, owned by one window. Setting an id that is
/// already running restarts it with the new period.
class WindowTimers {
  public:
    explicit WindowTimers(std::function<void(int)> onTimer);
    ~WindowTimers();
    WindowTimers(const WindowTimers&) = delete;
    WindowTimers& operator=(const WindowTimers&) = delete;

    /// Starts (or restarts) timer `id` with a period of `ms` milliseconds
    /// (0 fires as often as the event loop allows). Returns true.
    bool set(int id, int ms);
    /// Stops timer `id`; false when it was not running.
    bool kill(int id);
    bool active(int id) const;

  private:
    std::function<void(int)> onTimer_;
    std::map<int, std::unique_ptr<QTimer>> timers_;
};

template <class Base>
class WindowBase : public Base, public CommandTarget {
  public:
    template <class... Args>
    explicit WindowBase(Args&&... args) : Base(std::forward<Args>(args)...) {}

    /// SetTimer: timer `id` fires onTimer(id) every `ms` milliseconds.
    bool setTimer(int id, int ms) { return timers_.set(id, ms); }
    /// KillTimer.
    bool killTimer(int id) { return timers_.kill(id); }
    bool timerActive(int id) const { return timers_.active(id); }

    void command(int) override {}
    virtual void onTimer(int) {}
    /// The window became the active window (true) or stopped being it.
    virtual void onActivated(bool) {}

  protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::WindowActivate) onActivated(true);
        if (e->type() == QEvent::WindowDeactivate) onActivated(false);
        return Base::event(e);
    }

  private:
    WindowTimers timers_{[this](int id) { onTimer(id); }};
};

using Window = WindowBase<QWidget>;
using FrameWindow = WindowBase<QMainWindow>;
using DialogWindow = WindowBase<QDialog>;

}  // namespace orvane
