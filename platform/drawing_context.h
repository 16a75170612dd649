#pragma once
// The drawing context every window, view and kit function draws through. It
// keeps the state and the geometry rules of the classic Windows graphics
// interface (current objects, alignment flags, background mode, viewport
// origin, rectangles without their right and bottom edge, arcs running
// counter-clockwise) on top of a QImage, so drawing code written to those
// rules lands on the same pixels.
//
// A context draws into a shared pixel store; several contexts may share one
// (as several device contexts of one window do), each with its own state.
// Selecting an object returns the previous one; putting it back is the
// caller's business.

#include <QPointer>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/draw_types.h"

class QImage;
class QPainter;
class QWidget;

namespace orvane {

/// Text alignment flags; combine one horizontal and one vertical flag.
enum TextAlign : int {
    kAlignLeft = 0,
    kAlignRight = 2,
    kAlignCentre = 6,
    kAlignTop = 0,
    kAlignBottom = 8,
    kAlignBaseline = 24,
};

enum class BackgroundMode { Transparent = 1, Opaque = 2 };

struct Pen {
    enum class Style { Solid, Null };
    Style style = Style::Solid;
    int width = 1;  ///< 0 draws one pixel wide, like 1
    Colour colour = colours::kBlack;

    static Pen solid(Colour c, int w = 1) { return {Style::Solid, w, c}; }
    static Pen null() { return {Style::Null, 1, colours::kBlack}; }
    bool isNull() const { return style == Style::Null; }
    bool operator==(const Pen&) const = default;
};

struct Brush {
    enum class Style { Solid, Null };
    Style style = Style::Solid;
    Colour colour = colours::kWhite;

    static Brush solid(Colour c) { return {Style::Solid, c}; }
    static Brush null() { return {Style::Null, colours::kBlack}; }
    bool isNull() const { return style == Style::Null; }
    bool operator==(const Brush&) const = default;
};

/// A font by face name and pixel height. An empty face is the system font
/// (the application's default font); height 0 keeps that font's size.
/// "Arial", "Times Roman", "MS Sans Serif" and friends are served by the
/// Liberation fonts; a face named "... Bold" is drawn bold.
struct Font {
    std::string face;
    int height = 0;
    int weight = 400;  ///< 400 normal, 700 bold
    bool italic = false;
    /// False draws only whole pixels of the text colour, no blended fringes
    /// (for pictures whose colours carry a meaning, such as the frames).
    bool antialiased = true;

    static Font system() { return {}; }
    static Font create(std::string face, int height, int weight = 400) {
        return {std::move(face), height, weight, false};
    }
    bool operator==(const Font&) const = default;
};

struct TextMetrics {
    int height = 0;  ///< ascent + descent
    int ascent = 0;
    int descent = 0;
    int averageCharWidth = 0;
    int externalLeading = 0;
};

/// The stock objects.
namespace stock {
inline const Pen kBlackPen = Pen::solid(colours::kBlack);
inline const Pen kWhitePen = Pen::solid(colours::kWhite);
inline const Pen kNullPen = Pen::null();
inline const Brush kWhiteBrush = Brush::solid(colours::kWhite);
inline const Brush kLightGreyBrush = Brush::solid(colours::kLightGrey);
inline const Brush kGreyBrush = Brush::solid(colours::kGrey);
inline const Brush kDarkGreyBrush = Brush::solid(colours::kDarkGrey);
inline const Brush kBlackBrush = Brush::solid(colours::kBlack);
inline const Brush kNullBrush = Brush::null();
}  // namespace stock

/// Flags of word-wrapped text output.
enum TextBoxFlags : int {
    kTextBoxLeft = 0,
    kTextBoxCentre = 1,
    kTextBoxRight = 2,
};

class DrawingContext {
  public:
    /// A context without pixels: everything draws nothing, measuring works.
    DrawingContext();
    /// A context on a pixel store; when `repaint` is given, every drawing
    /// operation asks that widget to repaint (a window's own surface).
    explicit DrawingContext(std::shared_ptr<QImage> pixels, QWidget* repaint = nullptr);

    // --- state -----------------------------------------------------------
    Point setViewportOrigin(Point origin);
    Point viewportOrigin() const { return origin_; }
    int setTextAlign(int flags);
    int textAlign() const { return align_; }
    BackgroundMode setBackgroundMode(BackgroundMode mode);
    BackgroundMode backgroundMode() const { return bkMode_; }
    Colour setBackgroundColour(Colour c);
    Colour backgroundColour() const { return bkColour_; }
    Colour setTextColour(Colour c);
    Colour textColour() const { return textColour_; }
    Pen selectPen(const Pen& pen);
    const Pen& pen() const { return pen_; }
    Brush selectBrush(const Brush& brush);
    const Brush& brush() const { return brush_; }
    Font selectFont(const Font& font);
    const Font& font() const { return font_; }
    Point setBrushOrigin(Point origin);
    Point brushOrigin() const { return brushOrigin_; }
    /// Limits drawing to a rectangle given in surface (device) coordinates.
    void setClipRect(const Rect& deviceRect);
    void clearClip();
    /// The area drawing may reach, in logical coordinates.
    Rect clipBox() const;

    // --- the surface -------------------------------------------------------
    bool hasPixels() const;
    /// Size of the pixel store (0 x 0 without one).
    Size surfaceSize() const;
    /// The pixel store itself (may be null).
    const std::shared_ptr<QImage>& pixels() const { return pixels_; }
    /// The colour at a logical point, or nothing outside the surface.
    std::optional<Colour> pixel(Point p) const;

    // --- lines and shapes --------------------------------------------------
    void moveTo(Point p);
    /// A line from the current position to p, without p itself; p becomes
    /// the current position.
    void lineTo(Point p);
    Point currentPosition() const { return current_; }
    /// Connected lines through the points, without the last point.
    void polyline(const std::vector<Point>& points);
    /// A closed polygon, filled with the brush (alternate rule) and outlined
    /// with the pen.
    void polygon(const std::vector<Point>& points);
    /// Outlined with the pen, filled with the brush; a null pen leaves the
    /// filled area one pixel smaller on the right and bottom.
    void rectangle(const Rect& r);
    /// Ellipse inscribed in the bounding box, same rules as rectangle.
    void ellipse(const Rect& box);
    /// Part of the ellipse in `box`, counter-clockwise from where the ray from
    /// the centre through `start` meets it to where the ray through `end`
    /// does; start = end draws the whole ellipse.
    void arc(const Rect& box, Point start, Point end);
    /// Fills the rectangle with a brush; the pen is not used.
    void fillRect(const Rect& r, const Brush& brush);
    /// Paints x, y, w, h with the current brush (pattern copy).
    void patBlt(int x, int y, int w, int h);

    // --- text ---------------------------------------------------------------
    /// Writes text at p under the alignment flags; in opaque mode the text's
    /// cell is first filled with the background colour.
    void textOut(Point p, std::string_view text);
    Size textExtent(std::string_view text) const;
    TextMetrics textMetrics() const;
    /// Lays text out word-wrapped in the rectangle's width (line breaks in the
    /// text are kept) and draws it clipped to the rectangle, aligned by
    /// `flags`. Returns the height used.
    int drawTextBox(const Rect& r, std::string_view text, int flags = kTextBoxLeft);
    /// The rectangle the same layout needs: left and top as given, right at
    /// the widest line, bottom after the last line.
    Rect measureTextBox(const Rect& r, std::string_view text) const;
    /// The lines of that layout.
    std::vector<std::string> wrapText(std::string_view text, int width) const;

    // --- copies -------------------------------------------------------------
    /// Plain source copy of w x h pixels from `source` at (sx, sy) to (x, y),
    /// both in their context's logical coordinates. Pixels outside the
    /// source's surface are left as they were.
    void bitBlt(int x, int y, int w, int h, const DrawingContext& source, int sx, int sy);
    /// Copy of a source rectangle stretched into a destination rectangle.
    void stretchBlt(const Rect& dest, const DrawingContext& source, const Rect& src);
    /// A picture copied with its top-left corner at p.
    void drawImage(Point p, const QImage& image);
    /// An icon (a picture with transparency) drawn over what is there, its
    /// top-left corner at p.
    void drawIcon(Point p, const QImage& icon);
    /// A picture (or part of it) stretched into a destination rectangle.
    void stretchImage(const Rect& dest, const QImage& image, const Rect& src);
    void stretchImage(const Rect& dest, const QImage& image);

  private:
    bool begin(QPainter& painter) const;
    void changed() const;
    void thinLines(const std::vector<Point>& points);
    Rect deviceClip() const;

    std::shared_ptr<QImage> pixels_;
    QPointer<QWidget> repaint_;
    Point origin_;
    int align_ = 0;
    BackgroundMode bkMode_ = BackgroundMode::Opaque;
    Colour bkColour_ = colours::kWhite;
    Colour textColour_ = colours::kBlack;
    Pen pen_ = stock::kBlackPen;
    Brush brush_ = stock::kWhiteBrush;
    Font font_;
    Point brushOrigin_;
    std::optional<Rect> clip_;
    Point current_;
};

}  // namespace orvane
