#include "platform/fonts.h"

#include <QGuiApplication>

#include "data/files.h"
#include "platform/qt_text.h"

namespace orvane {

void registerFontSubstitutions() {
    static bool done = false;
    if (done) return;
    done = true;
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QFont::insertSubstitution("Arial Bold", "Liberation Sans");
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Times Roman", "Liberation Serif");
    QFont::insertSubstitution("Times New Roman", "Liberation Serif");
    QFont::insertSubstitution("Courier New", "Liberation Mono");
}

QFont qtFont(const Font& font) {
    registerFontSubstitutions();
    QFont result = QGuiApplication::font();
    std::string face = font.face;
    bool boldByName = false;
    constexpr std::string_view kBold = " Bold";
    if (face.size() > kBold.size() &&
        equalsNoCase(std::string_view(face).substr(face.size() - kBold.size()), kBold)) {
        // The face's full name asks for its bold member.
        face.resize(face.size() - kBold.size());
        boldByName = true;
    }
    if (!face.empty()) result.setFamilies({toQString(face), toQString(font.face)});
    int height = font.height < 0 ? -font.height : font.height;
    if (height > 0) result.setPixelSize(height);
    int weight = font.weight <= 0 ? 400 : font.weight;
    if (boldByName && weight < 700) weight = 700;
    result.setWeight(QFont::Weight(weight > 1000 ? 1000 : weight));
    result.setItalic(font.italic);
    if (!font.antialiased) result.setStyleStrategy(QFont::NoAntialias);
    return result;
}

Size dialogBaseUnits(const Font& font) {
    DrawingContext dc;
    dc.selectFont(font);
    TextMetrics m = dc.textMetrics();
    return {m.averageCharWidth, m.height};
}

Rect dialogToPixels(const Rect& r, Size units) {
    auto x = [&](int v) { return v * units.width / 4; };
    auto y = [&](int v) { return v * units.height / 8; };
    return {x(r.left), y(r.top), x(r.right), y(r.bottom)};
}

}  // namespace orvane
