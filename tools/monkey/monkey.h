#pragma once
// Random real input for the running viewer: mouse presses and releases at
// random points of its windows, keys, menu commands, the speed slider
// dragged, and modal dialogs and message boxes answered at random. Every
// input is delivered from the event loop (queued), so an input that opens a
// modal dialog does not stop the monkey: it goes on inside the dialog's loop.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <map>
#include <random>
#include <string>

class QWidget;

namespace orvane {

class Monkey : public QObject {
  public:
    /// Sends input for `seconds`, then closes what is open and ends the
    /// event loop. Bitmaps the user saves go to `scratch`.
    Monkey(std::uint64_t seed, double seconds, std::string scratch);

    /// Prints how many inputs of each kind were sent.
    ~Monkey() override;

    /// How many inputs of each kind were sent.
    const std::map<std::string, long>& counts() const { return counts_; }
    long total() const;

  private:
    void tick();
    void act();
    void finish();
    void beat();
    void count(const char* kind) { ++counts_[kind]; }

    QWidget* pickWindow();
    void click(QWidget* window, Qt::MouseButton button);
    void pressOnly(QWidget* window, Qt::MouseButton button);
    void releaseHeld();
    void key(QWidget* target);
    void menuCommand();
    void dragSlider();
    void answerModal(QWidget* modal);
    void hookFrame();

    std::mt19937_64 rng_;
    std::int64_t endMs_;
    std::string scratch_;
    QTimer timer_;
    std::map<std::string, long> counts_;
    QPointer<QWidget> held_;  // a widget with a button held down
    Qt::MouseButton heldButton_ = Qt::NoButton;
    QPoint heldAt_;
    bool hooked_ = false;
    QWidget* lastLayout_ = nullptr;  // compared only, never used
    bool finishing_ = false;
    int closeTries_ = 0;
};

/// Milliseconds of the steady clock.
std::int64_t steadyMs();

/// steadyMs() when the monkey last had its turn in the event loop; a
/// watchdog thread reads it.
extern std::atomic<std::int64_t> monkeyHeartbeat;
/// steadyMs() when the monkey began to close the program, else 0.
extern std::atomic<std::int64_t> monkeyFinishing;

}  // namespace orvane
