#pragma once
// Fonts by the names the programs ask for, served by the Liberation fonts.

#include <QFont>

#include "platform/drawing_context.h"

namespace orvane {

/// Registers the substitutions "Arial", "Arial Bold" and "MS Sans Serif" ->
/// Liberation Sans, "Times Roman" -> Liberation Serif. Safe to call often.
void registerFontSubstitutions();

/// The Qt font for a font description (pixel size = height).
QFont qtFont(const Font& font);

/// Dialog base units of a font: its average character width and its height.
Size dialogBaseUnits(const Font& font = Font::system());

/// Dialog units to pixels the way the system converts them:
/// x * width / 4 and y * height / 8.
Rect dialogToPixels(const Rect& dialogUnits, Size baseUnits);

}  // namespace orvane
