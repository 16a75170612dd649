#pragma once
// The drawing kit both programs draw their three-dimensional look with:
// bevels, panels, recessed frames, base lines and aligned or shadowed text.
// Every function draws into the caller's context and leaves its pen, brush
// and brush origin as it found them (text colour, alignment and background
// mode are set, not restored, as the text functions say).

#include <optional>
#include <string_view>

#include "platform/drawing_context.h"

namespace orvane {

namespace kit {
inline constexpr Colour kWhite = colours::kWhite;
inline constexpr Colour kLightGrey = colours::kLightGrey;  ///< button faces
inline constexpr Colour kGrey = colours::kGrey;
inline constexpr Colour kBlack = colours::kBlack;
inline constexpr Colour kRed = colours::kRed;  ///< text button captions
}  // namespace kit

/// Puts the context's pen, brush and brush origin back when it goes.
class KeepDrawingObjects {
  public:
    explicit KeepDrawingObjects(DrawingContext& dc)
        : dc_(dc), pen_(dc.pen()), brush_(dc.brush()), origin_(dc.brushOrigin()) {}
    ~KeepDrawingObjects() {
        dc_.selectPen(pen_);
        dc_.selectBrush(brush_);
        dc_.setBrushOrigin(origin_);
    }
    KeepDrawingObjects(const KeepDrawingObjects&) = delete;
    KeepDrawingObjects& operator=(const KeepDrawingObjects&) = delete;

  private:
    DrawingContext& dc_;
    Pen pen_;
    Brush brush_;
    Point origin_;
};

/// Size of the letter "N" as last measured in some window's font; 0 x 0
/// until then.
extern Size letterSize;

/// Measures "N" in the context's current font into letterSize.
void measureLetterSize(const DrawingContext& dc);

/// Bevelled frame b pixels wide: white upper-left and grey lower-right
/// (exchanged when sunken). With f = 0 a fill colour fills the rectangle
/// first; with f > 0 it paints an inner frame f pixels wide inside the bevel.
void drawBevel(DrawingContext& dc, const Rect& r, std::optional<Colour> fill, bool sunken, int b,
               int f);

/// Black outline with a 2-pixel white highlight and black shadow; the fill
/// colour fills the rectangle (f = 0) or a band f pixels wide inside it.
void drawPanel(DrawingContext& dc, const Rect& r, std::optional<Colour> fill, int f);

/// Fills the rectangle shrunk by m, then outlines the rectangle in white.
void drawInsetOutline(DrawingContext& dc, const Rect& r, std::optional<Colour> fill, int m);

/// Black outline with grey and light grey edges outside it.
void drawRecessedFrame(DrawingContext& dc, const Rect& r);

/// White horizontal line 3 pixels above the bottom.
void drawBaseLine(DrawingContext& dc, const Rect& r);

/// Sets the alignment and the text colour and writes the text at p. The
/// background mode is left to the caller.
void drawText(DrawingContext& dc, Point p, std::string_view text, Colour colour, int align);

/// Text over two black shadows (offsets 1 and 2), transparent. With
/// `centre` the point is moved up by half the letter height first.
void drawShadowText(DrawingContext& dc, Point p, std::string_view text, Colour colour, int align,
                    bool centre);

/// Bevel width of a button of height h: h / 10 within 3..4.
int buttonBevelWidth(int h);

}  // namespace orvane
