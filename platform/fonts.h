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

}  // namespace orvane
