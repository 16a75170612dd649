#pragma once
// The small formatted-scan vocabulary of the settings and event files: keys
// whose blanks match any run of white space, one-word values and numbers.
// Each function reads from a view and never writes past a field: words are
// cut to the width the caller gives.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

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

/// printf into a std::string.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace orvane
