#pragma once
// Drives the modal dialogs a command opens: each step is given the next modal
// dialog that appears, and may set its controls and close it. A dialog left
// over when the steps have run out is cancelled, so a test never hangs.

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace orvane {

class ModalDriver {
  public:
    using Step = std::function<void(QDialog*)>;

    explicit ModalDriver(std::vector<Step> steps) : steps_(steps.begin(), steps.end()) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(5);
    }

    /// Titles of the dialogs met, in order.
    const std::vector<std::string>& seen() const { return seen_; }
    bool done() const { return steps_.empty(); }

  private:
    void poll() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->property("driven").toBool()) return;
        dialog->setProperty("driven", true);
        seen_.push_back(dialog->windowTitle().toStdString());
        if (steps_.empty()) {
            dialog->reject();
            return;
        }
        Step step = steps_.front();
        steps_.pop_front();
        step(dialog);
    }

    std::deque<Step> steps_;
    std::vector<std::string> seen_;
    QTimer timer_;
};

}  // namespace orvane
