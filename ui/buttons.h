#pragma once
// The two owner-drawn buttons: myButton (a picture on a bevelled face) and
// textButton (a red caption on a bevelled face with a black outline).
//
// The Parts put the click sound in the handlers of the buttons' commands;
// windows below the application reach it through playClick(), which calls
// the hook the application installs. A button can also be asked to click by
// itself before it sends its command (setClicks).

#include <QImage>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/owner_draw_button.h"

namespace orvane {

/// Set by the application to its click sound; empty means silence.
extern std::function<void()> clickHook;
/// Plays the button click through clickHook.
void playClick();

/// Face of a myButton of size w x h: bevel (exchanged when pressed), the
/// optional fill, and the picture centred; the picture does not move when
/// pressed.
void drawPictureButtonFace(DrawingContext& dc, int w, int h, std::optional<Colour> fill,
                           bool pressed, const QImage& picture);

/// Face of a textButton at `r`: bevel (exchanged when pressed) and a black
/// outline.
void drawTextButtonFace(DrawingContext& dc, const Rect& r, std::optional<Colour> fill,
                        bool pressed);

/// Caption of a textButton whose face is `r`: red, on two lines meeting at
/// the centre when it has two words and room for them, else on one line;
/// one pixel right and down when pressed.
void drawTextButtonCaption(DrawingContext& dc, const Rect& r, std::string_view caption,
                           bool pressed);

class ClickingButton : public OwnerDrawButton {
  public:
    using OwnerDrawButton::OwnerDrawButton;
    /// With `on`, a click plays the click sound before the command is sent.
    void setClicks(bool on) { clicks_ = on; }

  protected:
    void clicked() override;
    /// Other buttons than the left one end at the button (they do not
    /// reach the parent window).
    void mousePressEvent(QMouseEvent* event) override;

  private:
    bool clicks_ = false;
};

class myButton : public ClickingButton {
  public:
    /// The picture is bitmap resource `bitmapId` (none when not registered).
    myButton(QWidget* parent, int commandId, int bitmapId, int x, int y, int w, int h);
    const QImage& bitmap() const { return bitmap_; }

  protected:
    void drawItem(DrawingContext& dc, const Rect& item, bool pressed) override;

  private:
    QImage bitmap_;
};

class textButton : public ClickingButton {
  public:
    static constexpr std::size_t kMaxCaption = 30;

    textButton(QWidget* parent, int commandId, std::string_view caption, int x, int y, int w,
               int h);

    const std::string& caption() const { return caption_; }
    /// Changes the caption (cut at 30 characters) and repaints the button.
    void setCaption(std::string_view caption);
    /// The rectangle given at construction, in the parent's coordinates.
    const Rect& storedRect() const { return rect_; }
    /// Draws face and caption at the stored rectangle into `dc` (for views
    /// that paint over their own children).
    void paintInto(DrawingContext& dc, bool pressed);

  protected:
    void drawItem(DrawingContext& dc, const Rect& item, bool pressed) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    std::string caption_;
    Rect rect_;
};

}  // namespace orvane
