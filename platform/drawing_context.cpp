#include "platform/drawing_context.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/fonts.h"
#include "platform/qt_text.h"

namespace orvane {

namespace {

QColor qtColour(Colour c) { return QColor(c.red, c.green, c.blue); }

QRgb rgb(Colour c) { return qRgb(c.red, c.green, c.blue); }

QRect qtRect(const Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

QPolygonF polygonAt(const std::vector<Point>& points, double shift) {
    QPolygonF poly;
    poly.reserve(qsizetype(points.size()));
    for (const Point& p : points) poly << QPointF(p.x + shift, p.y + shift);
    return poly;
}

// Pens wider than a pixel: centred on the pixel centres, round ends and joins.
QPen widePen(const Pen& pen) {
    return QPen(qtColour(pen.colour), pen.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

bool isThin(const Pen& pen) { return pen.width <= 1; }

// Splits text into paragraphs at "\r\n", "\n" or "\r".
std::vector<std::string_view> paragraphs(std::string_view text) {
    std::vector<std::string_view> result;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            result.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    result.push_back(text.substr(start));
    return result;
}

}  // namespace

DrawingContext::DrawingContext() = default;

DrawingContext::DrawingContext(std::shared_ptr<QImage> pixels, QWidget* repaint)
    : pixels_(std::move(pixels)), repaint_(repaint) {}

Point DrawingContext::setViewportOrigin(Point origin) { return std::exchange(origin_, origin); }
int DrawingContext::setTextAlign(int flags) { return std::exchange(align_, flags); }
BackgroundMode DrawingContext::setBackgroundMode(BackgroundMode mode) {
    return std::exchange(bkMode_, mode);
}
Colour DrawingContext::setBackgroundColour(Colour c) { return std::exchange(bkColour_, c); }
Colour DrawingContext::setTextColour(Colour c) { return std::exchange(textColour_, c); }
Pen DrawingContext::selectPen(const Pen& pen) { return std::exchange(pen_, pen); }
Brush DrawingContext::selectBrush(const Brush& brush) { return std::exchange(brush_, brush); }
Font DrawingContext::selectFont(const Font& font) { return std::exchange(font_, font); }
Point DrawingContext::setBrushOrigin(Point origin) { return std::exchange(brushOrigin_, origin); }
void DrawingContext::setClipRect(const Rect& deviceRect) { clip_ = deviceRect; }
void DrawingContext::clearClip() { clip_.reset(); }

bool DrawingContext::hasPixels() const { return pixels_ && !pixels_->isNull(); }

Size DrawingContext::surfaceSize() const {
    if (!hasPixels()) return {};
    return {pixels_->width(), pixels_->height()};
}

Rect DrawingContext::deviceClip() const {
    Size s = surfaceSize();
    Rect all{0, 0, s.width, s.height};
    return clip_ ? intersect(all, *clip_) : all;
}

Rect DrawingContext::clipBox() const { return offset(deviceClip(), Point{} - origin_); }

std::optional<Colour> DrawingContext::pixel(Point p) const {
    if (!hasPixels()) return std::nullopt;
    Point d = p + origin_;
    if (d.x < 0 || d.y < 0 || d.x >= pixels_->width() || d.y >= pixels_->height())
        return std::nullopt;
    QRgb v = pixels_->pixel(d.x, d.y);
    return Colour{std::uint8_t(qRed(v)), std::uint8_t(qGreen(v)), std::uint8_t(qBlue(v))};
}

bool DrawingContext::begin(QPainter& painter) const {
    if (!hasPixels()) return false;
    Rect clip = deviceClip();
    if (clip.empty()) return false;
    if (!painter.begin(pixels_.get())) return false;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(qtRect(clip));
    painter.translate(origin_.x, origin_.y);
    return true;
}

void DrawingContext::changed() const {
    if (repaint_) repaint_->update();
}

// One-pixel lines are rasterised here rather than by QPainter so that they
// follow the classic rule exactly: the end point itself is not drawn. Only
// the steps whose major coordinate lies within the clip are walked, so a line
// with far-away ends costs no more than one across the surface.
void DrawingContext::thinLines(const std::vector<Point>& points) {
    if (!hasPixels() || pen_.isNull() || points.size() < 2) return;
    Rect clip = deviceClip();
    if (clip.empty()) return;
    uchar* bits = pixels_->bits();
    qsizetype stride = pixels_->bytesPerLine();
    QRgb colour = rgb(pen_.colour);
    for (std::size_t s = 1; s < points.size(); ++s) {
        Point a = points[s - 1], b = points[s];
        std::int64_t x0 = std::int64_t(a.x) + origin_.x, y0 = std::int64_t(a.y) + origin_.y;
        std::int64_t dx = std::abs(std::int64_t(b.x) - a.x);
        std::int64_t dy = std::abs(std::int64_t(b.y) - a.y);
        int sx = b.x > a.x ? 1 : -1, sy = b.y > a.y ? 1 : -1;
        bool xMajor = dx >= dy;
        std::int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
        std::int64_t m0 = xMajor ? x0 : y0, n0 = xMajor ? y0 : x0;
        int ms = xMajor ? sx : sy, ns = xMajor ? sy : sx;
        std::int64_t lo = xMajor ? clip.left : clip.top;
        std::int64_t hi = (xMajor ? clip.right : clip.bottom) - 1;
        // Steps i in [first, last] keep the major coordinate m0 + i * ms inside.
        std::int64_t first = std::max<std::int64_t>(ms > 0 ? lo - m0 : m0 - hi, 0);
        std::int64_t last = std::min<std::int64_t>(ms > 0 ? hi - m0 : m0 - lo, major - 1);
        if (first > last) continue;
        // The error term after `first` steps, as the step-by-step walk leaves it.
        std::int64_t e0 = major / 2;
        std::int64_t owed = first * minor - e0;
        std::int64_t k = owed > 0 ? (owed + major - 1) / major : 0;
        std::int64_t err = e0 - first * minor + k * major;
        std::int64_t m = m0 + first * ms, n = n0 + k * ns;
        for (std::int64_t i = first; i <= last; ++i) {
            std::int64_t x = xMajor ? m : n, y = xMajor ? n : m;
            if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom)
                reinterpret_cast<QRgb*>(bits + y * stride)[x] = colour;
            m += ms;
            err -= minor;
            if (err < 0) {
                n += ns;
                err += major;
            }
        }
    }
}

void DrawingContext::moveTo(Point p) { current_ = p; }

void DrawingContext::lineTo(Point p) {
    polyline({current_, p});
    current_ = p;
}

void DrawingContext::polyline(const std::vector<Point>& points) {
    if (points.size() < 2 || pen_.isNull() || !hasPixels()) return;
    if (isThin(pen_)) {
        thinLines(points);
    } else {
        QPainter painter;
        if (!begin(painter)) return;
        painter.setPen(widePen(pen_));
        painter.drawPolyline(polygonAt(points, 0.5));
    }
    changed();
}

void DrawingContext::polygon(const std::vector<Point>& points) {
    if (points.size() < 2 || !hasPixels()) return;
    if (!brush_.isNull()) {
        QPainter painter;
        if (begin(painter)) {
            QPainterPath path;
            path.setFillRule(Qt::OddEvenFill);
            path.addPolygon(polygonAt(points, 0.0));
            path.closeSubpath();
            painter.fillPath(path, qtColour(brush_.colour));
        }
    }
    if (!pen_.isNull()) {
        std::vector<Point> closed = points;
        closed.push_back(points.front());
        if (isThin(pen_)) {
            thinLines(closed);
        } else {
            QPainter painter;
            if (begin(painter)) {
                painter.setPen(widePen(pen_));
                painter.drawPolyline(polygonAt(closed, 0.5));
            }
        }
    }
    changed();
}

void DrawingContext::rectangle(const Rect& r) {
    if (r.empty() || !hasPixels()) return;
    if (pen_.isNull()) {
        fillRect({r.left, r.top, r.right - 1, r.bottom - 1}, brush_);
        return;
    }
    if (isThin(pen_)) {
        fillRect(shrink(r, 1), brush_);
        Point tl{r.left, r.top}, tr{r.right - 1, r.top};
        Point br{r.right - 1, r.bottom - 1}, bl{r.left, r.bottom - 1};
        thinLines({tl, tr, br, bl, tl});
        if (width(r) == 1 || height(r) == 1) fillRect(r, Brush::solid(pen_.colour));
    } else {
        QPainter painter;
        if (!begin(painter)) return;
        painter.setPen(
            QPen(qtColour(pen_.colour), pen_.width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(brush_.isNull() ? QBrush() : QBrush(qtColour(brush_.colour)));
        painter.drawRect(QRectF(r.left + 0.5, r.top + 0.5, width(r) - 1, height(r) - 1));
    }
    changed();
}

void DrawingContext::ellipse(const Rect& box) {
    if (box.empty() || !hasPixels()) return;
    QPainter painter;
    if (!begin(painter)) return;
    if (pen_.isNull()) {
        if (!brush_.isNull()) {
            QPainterPath path;
            path.addEllipse(QRectF(box.left, box.top, width(box) - 1, height(box) - 1));
            painter.fillPath(path, qtColour(brush_.colour));
        }
    } else {
        painter.setPen(isThin(pen_) ? QPen(qtColour(pen_.colour), 0) : widePen(pen_));
        painter.setBrush(brush_.isNull() ? QBrush() : QBrush(qtColour(brush_.colour)));
        painter.drawEllipse(QRectF(box.left + 0.5, box.top + 0.5, width(box) - 1, height(box) - 1));
    }
    changed();
}

void DrawingContext::arc(const Rect& box, Point start, Point end) {
    if (box.empty() || pen_.isNull() || !hasPixels()) return;
    double cx = (box.left + box.right) / 2.0, cy = (box.top + box.bottom) / 2.0;
    double a = width(box) / 2.0, b = height(box) / 2.0;
    // Angles on the ellipse's own parameter, counted counter-clockwise as
    // seen on the screen (y grows downwards).
    auto angle = [&](Point p) {
        double deg = std::atan2(-(p.y - cy) / b, (p.x - cx) / a) * 180.0 / M_PI;
        return deg < 0 ? deg + 360.0 : deg;
    };
    double from = angle(start), to = angle(end);
    double span = to - from;
    if (span <= 0) span += 360.0;
    QPainter painter;
    if (!begin(painter)) return;
    painter.setPen(isThin(pen_) ? QPen(qtColour(pen_.colour), 0) : widePen(pen_));
    painter.drawArc(QRectF(box.left + 0.5, box.top + 0.5, width(box) - 1, height(box) - 1),
                    int(std::lround(from * 16)), int(std::lround(span * 16)));
    changed();
}

void DrawingContext::fillRect(const Rect& r, const Brush& brush) {
    if (r.empty() || brush.isNull() || !hasPixels()) return;
    Rect d = intersect(offset(r, origin_), deviceClip());
    if (d.empty()) return;
    QRgb colour = rgb(brush.colour);
    for (int y = d.top; y < d.bottom; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(pixels_->scanLine(y));
        std::fill(line + d.left, line + d.right, colour);
    }
    changed();
}

void DrawingContext::patBlt(int x, int y, int w, int h) {
    if (w < 0) {
        x += w;
        w = -w;
    }
    if (h < 0) {
        y += h;
        h = -h;
    }
    fillRect(rectAt(x, y, w, h), brush_);
}

// --- text -------------------------------------------------------------------

void DrawingContext::textOut(Point p, std::string_view text) {
    if (!hasPixels() || text.empty()) return;
    QFont qfont = qtFont(font_);
    QFontMetrics fm(qfont);
    QString s = toQString(text);
    int w = fm.horizontalAdvance(s);
    int h = fm.height();
    int left = p.x;
    if ((align_ & kAlignCentre) == kAlignCentre)
        left = p.x - w / 2;
    else if (align_ & kAlignRight)
        left = p.x - w;
    int top = p.y;
    if ((align_ & kAlignBaseline) == kAlignBaseline)
        top = p.y - fm.ascent();
    else if (align_ & kAlignBottom)
        top = p.y - h;
    if (bkMode_ == BackgroundMode::Opaque)
        fillRect(rectAt(left, top, w, h), Brush::solid(bkColour_));
    QPainter painter;
    if (!begin(painter)) return;
    painter.setFont(qfont);
    painter.setPen(qtColour(textColour_));
    painter.drawText(QPointF(left, top + fm.ascent()), s);
    changed();
}

Size DrawingContext::textExtent(std::string_view text) const {
    QFontMetrics fm(qtFont(font_));
    return {fm.horizontalAdvance(toQString(text)), fm.height()};
}

TextMetrics DrawingContext::textMetrics() const {
    QFontMetrics fm(qtFont(font_));
    return {fm.height(), fm.ascent(), fm.descent(), fm.averageCharWidth(), fm.leading()};
}

std::vector<std::string> DrawingContext::wrapText(std::string_view text, int width) const {
    QFontMetrics fm(qtFont(font_));
    auto measure = [&](const std::string& s) { return fm.horizontalAdvance(toQString(s)); };
    std::vector<std::string> lines;
    for (std::string_view para : paragraphs(text)) {
        std::string line;
        std::size_t i = 0;
        while (i < para.size()) {
            std::size_t gapStart = i;
            while (i < para.size() && (para[i] == ' ' || para[i] == '\t')) ++i;
            std::string gap(para.substr(gapStart, i - gapStart));
            std::size_t wordStart = i;
            while (i < para.size() && para[i] != ' ' && para[i] != '\t') ++i;
            std::string word(para.substr(wordStart, i - wordStart));
            if (word.empty()) break;  // trailing blanks are not laid out
            if (gapStart == 0) {
                line = gap + word;  // indentation at the start of a paragraph stays
            } else if (line.empty()) {
                line = word;  // a line never starts with the blanks of a break
            } else if (measure(line + gap + word) <= width) {
                line += gap + word;
            } else {
                lines.push_back(line);
                line = word;  // a word wider than the box stands alone
            }
        }
        lines.push_back(line);
    }
    return lines;
}

Rect DrawingContext::measureTextBox(const Rect& r, std::string_view text) const {
    QFontMetrics fm(qtFont(font_));
    std::vector<std::string> lines = wrapText(text, width(r));
    int widest = 0;
    for (const std::string& line : lines)
        widest = std::max(widest, int(fm.horizontalAdvance(toQString(line))));
    return {r.left, r.top, r.left + widest, r.top + int(lines.size()) * fm.height()};
}

int DrawingContext::drawTextBox(const Rect& r, std::string_view text, int flags) {
    QFont qfont = qtFont(font_);
    QFontMetrics fm(qfont);
    std::vector<std::string> lines = wrapText(text, width(r));
    int used = int(lines.size()) * fm.height();
    if (!hasPixels()) return used;
    std::optional<Rect> oldClip = clip_;
    Rect box = offset(r, origin_);
    clip_ = oldClip ? intersect(*oldClip, box) : box;
    int y = r.top;
    for (const std::string& line : lines) {
        QString s = toQString(line);
        int w = fm.horizontalAdvance(s);
        int x = r.left;
        if (flags & kTextBoxCentre)
            x = r.left + (width(r) - w) / 2;
        else if (flags & kTextBoxRight)
            x = r.right - w;
        if (bkMode_ == BackgroundMode::Opaque)
            fillRect(rectAt(x, y, w, fm.height()), Brush::solid(bkColour_));
        QPainter painter;
        if (begin(painter)) {
            painter.setFont(qfont);
            painter.setPen(qtColour(textColour_));
            painter.drawText(QPointF(x, y + fm.ascent()), s);
        }
        y += fm.height();
    }
    clip_ = oldClip;
    changed();
    return used;
}

// --- copies -----------------------------------------------------------------

void DrawingContext::bitBlt(int x, int y, int w, int h, const DrawingContext& source, int sx,
                            int sy) {
    if (w <= 0 || h <= 0 || !hasPixels() || !source.hasPixels()) return;
    // Only the part of the source rectangle that lies on the source surface
    // is copied.
    Rect src = rectAt(sx + source.origin_.x, sy + source.origin_.y, w, h);
    Size ss = source.surfaceSize();
    Rect srcOn = intersect(src, {0, 0, ss.width, ss.height});
    if (srcOn.empty()) return;
    Point shift{srcOn.left - src.left, srcOn.top - src.top};
    QImage copy = source.pixels_->copy(qtRect(srcOn));  // safe when both are one surface
    QPainter painter;
    if (!begin(painter)) return;
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(x + shift.x, y + shift.y), copy);
    changed();
}

void DrawingContext::stretchBlt(const Rect& dest, const DrawingContext& source, const Rect& src) {
    if (!source.hasPixels()) return;
    QImage copy = *source.pixels_;
    stretchImage(dest, copy, offset(src, source.origin_));
}

void DrawingContext::drawImage(Point p, const QImage& image) {
    if (image.isNull()) return;
    stretchImage(rectAt(p.x, p.y, image.width(), image.height()), image);
}

void DrawingContext::drawIcon(Point p, const QImage& icon) {
    if (icon.isNull() || !hasPixels()) return;
    QPainter painter;
    if (!begin(painter)) return;
    painter.drawImage(QPoint(p.x, p.y), icon);  // blended by its alpha
    changed();
}

void DrawingContext::stretchImage(const Rect& dest, const QImage& image) {
    stretchImage(dest, image, {0, 0, image.width(), image.height()});
}

void DrawingContext::stretchImage(const Rect& dest, const QImage& image, const Rect& src) {
    if (dest.empty() || src.empty() || image.isNull() || !hasPixels()) return;
    QPainter painter;
    if (!begin(painter)) return;
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRectF(qtRect(dest)), image, QRectF(qtRect(src)));
    changed();
}

}  // namespace orvane
