#pragma once
// Message boxes. The few errors the programs show go through messageBox();
// tests put a MessageBoxRecorder in place to see them without a dialog.

#include <functional>
#include <string>
#include <vector>

namespace orvane {

enum class MessageIcon { None, Exclamation, Information, Question, Stop };

struct MessageBoxCall {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::Exclamation;

    bool operator==(const MessageBoxCall&) const = default;
};

using MessageBoxHandler = std::function<void(const MessageBoxCall&)>;

/// Shows a modal message box with an OK button, owned by the main window.
void messageBox(const std::string& text, const std::string& caption,
                MessageIcon icon = MessageIcon::Exclamation);

/// Replaces the way message boxes are shown; returns the previous handler.
/// An empty handler restores the real dialog.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

/// While it lives, message boxes are recorded instead of shown.
class MessageBoxRecorder {
  public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<MessageBoxCall>& calls() const { return calls_; }

  private:
    std::vector<MessageBoxCall> calls_;
    MessageBoxHandler previous_;
};

}  // namespace orvane
