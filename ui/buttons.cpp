#include "ui/buttons.h"

#include <QMouseEvent>

#include "data/settings.h"
#include "platform/bitmap.h"
#include "platform/command_ids.h"
#include "platform/window.h"
#include "ui/kit.h"

namespace orvane {

std::function<void()> clickHook;

void playClick() {
    if (clickHook) clickHook();
}

namespace {

std::string cutCaption(std::string_view caption) {
    return std::string(caption.substr(0, std::min(caption.size(), textButton::kMaxCaption)));
}

Colour upperLeft(bool pressed) { return pressed ? kit::kGrey : kit::kWhite; }
Colour lowerRight(bool pressed) { return pressed ? kit::kWhite : kit::kGrey; }

}  // namespace

void drawPictureButtonFace(DrawingContext& dc, int w, int h, std::optional<Colour> fill,
                           bool pressed, const QImage& picture) {
    {
        KeepDrawingObjects keep(dc);
        dc.setBrushOrigin({0, 0});
        int b = buttonBevelWidth(h);
        if (fill) dc.fillRect({0, 0, w, h}, Brush::solid(*fill));
        dc.selectPen(stock::kNullPen);
        dc.selectBrush(Brush::solid(upperLeft(pressed)));
        dc.polygon({{1, 1}, {1, h - 1}, {b, h - b}, {b, b}, {w - b, b}, {w - 1, 1}, {1, 1}});
        dc.selectBrush(Brush::solid(lowerRight(pressed)));
        dc.polygon({{1, h - 1},
                    {w - 1, h - 1},
                    {w - 1, 1},
                    {w - b, b},
                    {w - b, h - b},
                    {b, h - b},
                    {1, h - 1}});
    }
    if (!picture.isNull())
        dc.drawImage({(w - picture.width()) / 2, (h - picture.height() + 1) / 2}, picture);
}

void drawTextButtonFace(DrawingContext& dc, const Rect& r, std::optional<Colour> fill,
                        bool pressed) {
    KeepDrawingObjects keep(dc);
    dc.setBrushOrigin({0, 0});
    // The same two bands as a bevel, then a one-pixel black outline.
    drawBevel(dc, r, fill, pressed, buttonBevelWidth(height(r)), 0);
    dc.selectPen(stock::kBlackPen);
    dc.selectBrush(stock::kNullBrush);
    dc.rectangle(r);
}

void drawTextButtonCaption(DrawingContext& dc, const Rect& face, std::string_view caption,
                           bool pressed) {
    Rect r = shrink(face, 5);
    int d = pressed ? 1 : 0;
    TextMetrics m = dc.textMetrics();
    dc.setTextColour(kit::kRed);
    dc.setBackgroundMode(BackgroundMode::Transparent);
    Point c{r.left + width(r) / 2 + d, r.top + height(r) / 2 + d};
    // First word above the centre, the rest below it. Nothing of a caption
    // with more than two words is dropped.
    std::size_t start = caption.find_first_not_of(' ');
    std::string_view first, rest;
    if (start != std::string_view::npos) {
        std::size_t end = caption.find(' ', start);
        first = caption.substr(start, end == std::string_view::npos ? caption.size() : end - start);
        if (end != std::string_view::npos) {
            rest = caption.substr(end);
            rest.remove_prefix(std::min(rest.size(), rest.find_first_not_of(' ')));
            while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
        }
    }
    if (!rest.empty() && 2 * m.height < height(r)) {
        dc.setTextAlign(kAlignCentre | kAlignBottom);
        dc.textOut(c, first);
        dc.setTextAlign(kAlignCentre | kAlignTop);
        dc.textOut(c, rest);
    } else {
        dc.setTextAlign(kAlignCentre | kAlignBaseline);
        dc.textOut({c.x, c.y + m.ascent / 2}, caption);
    }
}

void ClickingButton::clicked() {
    if (clicks_) playClick();
    OwnerDrawButton::clicked();
}

void ClickingButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    OwnerDrawButton::mousePressEvent(event);
}

myButton::myButton(QWidget* parent, int commandId, int bitmapId, int x, int y, int w, int h)
    : ClickingButton(parent, commandId, x, y, w, h), bitmap_(bitmapResource(bitmapId)) {}

void myButton::drawItem(DrawingContext& dc, const Rect& item, bool pressed) {
    drawPictureButtonFace(dc, orvane::width(item), orvane::height(item), kit::kLightGrey, pressed,
                          bitmap_);
}

textButton::textButton(QWidget* parent, int commandId, std::string_view caption, int x, int y,
                       int w, int h)
    : ClickingButton(parent, commandId, x, y, w, h),
      caption_(cutCaption(caption)),
      rect_(rectAt(x, y, w, h)) {}

void textButton::setCaption(std::string_view caption) {
    caption_ = cutCaption(caption);
    update();
}

void textButton::paintInto(DrawingContext& dc, bool pressed) {
    drawTextButtonFace(dc, rect_, kit::kLightGrey, pressed);
    drawTextButtonCaption(dc, rect_, caption_, pressed);
}

void textButton::drawItem(DrawingContext& dc, const Rect& item, bool pressed) {
    drawTextButtonFace(dc, item, kit::kLightGrey, pressed);
    drawTextButtonCaption(dc, item, caption_, pressed);
}

void textButton::mousePressEvent(QMouseEvent* event) {
    // Posted: the map destroys the window this button sits in.
    if (event->button() == Qt::RightButton && settings.rightButtonRestart)
        postCommand(mainWindow(), kCmdMap);
    ClickingButton::mousePressEvent(event);
}

}  // namespace orvane
