#include "platform/message_box.h"

#include <QMessageBox>
#include <QWidget>

#include "platform/qt_text.h"
#include "platform/window.h"

namespace orvane {

namespace {

void showDialog(const MessageBoxCall& call) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (call.icon) {
        case MessageIcon::Exclamation:
            icon = QMessageBox::Warning;
            break;
        case MessageIcon::Information:
            icon = QMessageBox::Information;
            break;
        case MessageIcon::Question:
            icon = QMessageBox::Question;
            break;
        case MessageIcon::Stop:
            icon = QMessageBox::Critical;
            break;
        case MessageIcon::None:
            break;
    }
    QMessageBox box(icon, toQString(call.caption), toQString(call.text), QMessageBox::Ok,
                    qobject_cast<QWidget*>(mainWindow()));
    box.exec();
}

MessageBoxHandler& handlerSlot() {
    static MessageBoxHandler handler;
    return handler;
}

}  // namespace

void messageBox(const std::string& text, const std::string& caption, MessageIcon icon) {
    MessageBoxCall call{text, caption, icon};
    if (handlerSlot())
        handlerSlot()(call);
    else
        showDialog(call);
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(handlerSlot(), std::move(handler));
}

MessageBoxRecorder::MessageBoxRecorder()
    : previous_(
          setMessageBoxHandler([this](const MessageBoxCall& call) { calls_.push_back(call); })) {}

MessageBoxRecorder::~MessageBoxRecorder() { setMessageBoxHandler(std::move(previous_)); }

}  // namespace orvane
