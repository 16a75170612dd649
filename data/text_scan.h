#pragma once
// The small formatted-scan vocabulary of the settings and event files: keys
// whose blanks match any run of white space, one-word values and numbers.
// Each function reads from a view and never writes past a field: words are
// cut to the width the caller gives. Numbers read and print with a "." and
// blanks are ASCII blanks whatever locale the process runs in, so a file
// written under one user's locale reads the same under every other.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

/// The blanks of a formatted scan in the "C" locale (space, tab, line and
/// page ends); a locale's other blanks, such as a Latin-1 no-break space,
/// belong to words.
bool isBlank(char c);

/// Matches `key` at the start of `line` as a formatted scan does: letters and
/// punctuation must match exactly, a blank in the key matches any run of white
/// space including none. Returns the rest of the line after the key.
std::optional<std::string_view> matchKey(std::string_view line, std::string_view key);

/// The next white-space-delimited word, cut to `maxChars` characters.
std::optional<std::string> scanWord(std::string_view text, std::size_t maxChars);

/// A decimal integer after optional white space ("%d"); values that do not
/// fit 32 bits do not scan. `rest` receives what follows the number.
std::optional<std::int32_t> scanInt(std::string_view text, std::string_view* rest = nullptr);

/// A decimal unsigned integer ("%u"); a sign or a value over 32 bits does not scan.
std::optional<std::uint32_t> scanUnsigned(std::string_view text);

/// A finite decimal real ("%f", "%g"); NaN and infinities do not scan.
std::optional<float> scanFloat(std::string_view text, std::string_view* rest = nullptr);

/// Copies at most `maxChars` characters of `text`.
std::string cut(std::string_view text, std::size_t maxChars);

/// At most `maxBytes` bytes of `text`, never ending inside a UTF-8 character:
/// a character that would not fit whole is left out. Text that is not UTF-8
/// (a Windows code page) is cut at `maxBytes`.
std::string cutUtf8(std::string_view text, std::size_t maxBytes);

/// printf into a std::string, in the "C" locale whatever the process's
/// locale: reals always print with a ".". Takes the conversions d i u x X o
/// c s f F e E g G and %%, with flags, width, precision and length.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace orvane
