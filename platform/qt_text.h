#pragma once
// Text crossing between the program's byte strings and Qt. Files made on
// Windows hold Latin-1 (code page 1252) text; our own strings are UTF-8.

#include <QString>
#include <string>
#include <string_view>

namespace orvane {

/// UTF-8 when the bytes are valid UTF-8, Latin-1 otherwise (never fails).
QString toQString(std::string_view text);

/// UTF-8 bytes of a Qt string.
std::string toStdString(const QString& text);

}  // namespace orvane
