#include "ui/kit.h"

#include <algorithm>

namespace orvane {

Size letterSize;

namespace {

void outline(DrawingContext& dc, const Rect& r) {
    dc.moveTo({r.left, r.top});
    dc.lineTo({r.right, r.top});
    dc.lineTo({r.right, r.bottom});
    dc.lineTo({r.left, r.bottom});
    dc.lineTo({r.left, r.top});
}

// Bands f pixels wide along the four inner edges of r, in the current brush.
void bands(DrawingContext& dc, const Rect& r, int f) {
    int w = width(r), h = height(r);
    dc.patBlt(r.left, r.top, w, f);
    dc.patBlt(r.left, r.bottom - f, w, f);
    dc.patBlt(r.left, r.top, f, h);
    dc.patBlt(r.right - f, r.top, f, h);
}

}  // namespace

void measureLetterSize(const DrawingContext& dc) { letterSize = dc.textExtent("N"); }

int buttonBevelWidth(int h) { return std::clamp(h / 10, 3, 4); }

void drawBevel(DrawingContext& dc, const Rect& r, std::optional<Colour> fill, bool sunken, int b,
               int f) {
    KeepDrawingObjects keep(dc);
    if (fill && f == 0) dc.fillRect(r, Brush::solid(*fill));
    if (b == 0) return;
    Rect in = shrink(r, b);
    dc.selectPen(stock::kNullPen);
    dc.selectBrush(Brush::solid(sunken ? kit::kGrey : kit::kWhite));
    dc.polygon({{r.left, r.top},
                {r.left, r.bottom},
                {in.left, in.bottom},
                {in.left, in.top},
                {in.right, in.top},
                {r.right, r.top}});
    dc.selectBrush(Brush::solid(sunken ? kit::kWhite : kit::kGrey));
    dc.polygon({{r.right, r.bottom},
                {r.right, r.top},
                {in.right, in.top},
                {in.right, in.bottom},
                {in.left, in.bottom},
                {r.left, r.bottom}});
    if (f > 0 && fill) {
        dc.selectBrush(Brush::solid(*fill));
        bands(dc, in, f);
    }
}

void drawPanel(DrawingContext& dc, const Rect& r, std::optional<Colour> fill, int f) {
    KeepDrawingObjects keep(dc);
    int w = width(r), h = height(r);
    if (fill) {
        if (f > 0) {
            dc.selectBrush(Brush::solid(*fill));
            bands(dc, r, f);
        } else {
            dc.fillRect(r, Brush::solid(*fill));
        }
    }
    dc.selectPen(stock::kBlackPen);
    outline(dc, r);
    dc.selectBrush(stock::kWhiteBrush);
    dc.patBlt(r.left + 1, r.top + 1, w - 2, 2);
    dc.patBlt(r.left + 1, r.top + 2, 2, h - 4);
    dc.selectBrush(stock::kBlackBrush);
    dc.patBlt(r.left + 2, r.bottom - 2, w - 2, 2);
    dc.patBlt(r.right - 2, r.top + 2, 2, h - 3);
}

void drawInsetOutline(DrawingContext& dc, const Rect& r, std::optional<Colour> fill, int m) {
    KeepDrawingObjects keep(dc);
    if (fill) dc.fillRect(shrink(r, m), Brush::solid(*fill));
    dc.selectPen(stock::kWhitePen);
    dc.selectBrush(stock::kNullBrush);
    dc.rectangle(r);
}

void drawRecessedFrame(DrawingContext& dc, const Rect& r) {
    KeepDrawingObjects keep(dc);
    int w = width(r), h = height(r);
    dc.selectPen(stock::kBlackPen);
    outline(dc, r);
    dc.selectBrush(stock::kGreyBrush);
    dc.patBlt(r.left - 2, r.top - 2, w + 4, 2);
    dc.patBlt(r.left - 2, r.top, 2, h + 2);
    dc.selectBrush(stock::kLightGreyBrush);
    dc.patBlt(r.left - 1, r.bottom + 1, w + 3, 2);
    dc.patBlt(r.right + 1, r.top - 1, 2, h + 3);
}

void drawBaseLine(DrawingContext& dc, const Rect& r) {
    KeepDrawingObjects keep(dc);
    dc.selectPen(stock::kWhitePen);
    dc.moveTo({r.right, r.bottom - 3});
    dc.lineTo({r.left, r.bottom - 3});
}

void drawText(DrawingContext& dc, Point p, std::string_view text, Colour colour, int align) {
    dc.setTextAlign(align);
    dc.setTextColour(colour);
    dc.textOut(p, text);
}

void drawShadowText(DrawingContext& dc, Point p, std::string_view text, Colour colour, int align,
                    bool centre) {
    dc.setBackgroundMode(BackgroundMode::Transparent);
    if (letterSize.width == 0 && letterSize.height == 0) measureLetterSize(dc);
    if (centre) p.y -= letterSize.height / 2;
    drawText(dc, p + Point{1, 1}, text, kit::kBlack, align);
    drawText(dc, p + Point{2, 2}, text, kit::kBlack, align);
    drawText(dc, p, text, colour, align);
}

}  // namespace orvane
