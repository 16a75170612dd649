#include "platform/owner_draw_button.h"

#include <QPainter>

#include "platform/window.h"

namespace orvane {

OwnerDrawButton::OwnerDrawButton(QWidget* parent, int commandId, int x, int y, int w, int h)
    : QAbstractButton(parent), commandId_(commandId) {
    setGeometry(x, y, w, h);
    connect(this, &QAbstractButton::clicked, this, [this] { clicked(); });
}

void OwnerDrawButton::clicked() { sendCommand(parentWidget(), commandId_); }

QImage OwnerDrawButton::render() {
    auto picture = std::make_shared<QImage>(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    picture->fill(Qt::white);
    DrawingContext dc(picture);
    drawItem(dc, Rect{0, 0, width(), height()}, isDown());
    return *picture;
}

void OwnerDrawButton::paintEvent(QPaintEvent*) {
    QImage face = render();
    QPainter painter(this);
    painter.drawImage(0, 0, face);
}

}  // namespace orvane
