#pragma once
// A push button that draws itself through a drawing context. A click (left
// button released over it) sends its command id to the parent window.

#include <QAbstractButton>

#include "platform/drawing_context.h"

namespace orvane {

class OwnerDrawButton : public QAbstractButton {
  public:
    /// Creates the button at x, y with size w x h in its parent.
    OwnerDrawButton(QWidget* parent, int commandId, int x, int y, int w, int h);

    int commandId() const { return commandId_; }
    /// The button's face as it would be painted now.
    QImage render();

  protected:
    /// Draws the whole item into `dc`; `item` is (0, 0, w, h).
    virtual void drawItem(DrawingContext& dc, const Rect& item, bool pressed) = 0;
    /// Called on a click; sends the command id to the parent.
    virtual void clicked();

    void paintEvent(QPaintEvent* event) override;

  private:
    int commandId_;
};

}  // namespace orvane
