#include "data/text_scan.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace orvane {

namespace {

bool isBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string_view skipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    return text.substr(i);
}

// Length of the leading decimal-integer text ("-12"), 0 when there is none.
std::size_t integerLength(std::string_view text, bool allowSign) {
    std::size_t i = 0;
    if (allowSign && i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    return i > digits ? i : 0;
}

}  // namespace

std::optional<std::string_view> matchKey(std::string_view line, std::string_view key) {
    std::size_t at = 0;
    for (char k : key) {
        if (k == ' ') {
            while (at < line.size() && isBlank(line[at])) ++at;
            continue;
        }
        if (at >= line.size() || line[at] != k) return std::nullopt;
        ++at;
    }
    return line.substr(at);
}

std::optional<std::string> scanWord(std::string_view text, std::size_t maxChars) {
    text = skipBlanks(text);
    std::size_t n = 0;
    while (n < text.size() && !isBlank(text[n])) ++n;
    if (n == 0) return std::nullopt;
    return std::string(text.substr(0, std::min(n, maxChars)));
}

std::optional<std::int32_t> scanInt(std::string_view text, std::string_view* rest) {
    text = skipBlanks(text);
    std::size_t n = integerLength(text, true);
    if (n == 0 || n > 40) return std::nullopt;
    std::string digits(text.substr(0, n));
    errno = 0;
    long long value = std::strtoll(digits.c_str(), nullptr, 10);
    if (errno == ERANGE || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    if (rest) *rest = text.substr(n);
    return static_cast<std::int32_t>(value);
}

std::optional<std::uint32_t> scanUnsigned(std::string_view text) {
    text = skipBlanks(text);
    if (!text.empty() && text[0] == '+') text.remove_prefix(1);
    std::size_t n = integerLength(text, false);
    if (n == 0 || n > 40) return std::nullopt;
    std::string digits(text.substr(0, n));
    errno = 0;
    unsigned long long value = std::strtoull(digits.c_str(), nullptr, 10);
    if (errno == ERANGE || value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::optional<float> scanFloat(std::string_view text, std::string_view* rest) {
    text = skipBlanks(text);
    // A bounded copy: a number never needs more than this many characters.
    std::string copy(text.substr(0, std::min<std::size_t>(text.size(), 64)));
    char* end = nullptr;
    errno = 0;
    double value = std::strtod(copy.c_str(), &end);
    if (end == copy.c_str()) return std::nullopt;
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        return std::nullopt;
    if (rest) *rest = text.substr(static_cast<std::size_t>(end - copy.c_str()));
    return static_cast<float>(value);
}

std::string cut(std::string_view text, std::size_t maxChars) {
    return std::string(text.substr(0, std::min(text.size(), maxChars)));
}

std::string format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    va_list again;
    va_copy(again, args);
    int n = std::vsnprintf(nullptr, 0, fmt, args);
    va_end(args);
    std::string out;
    if (n > 0) {
        out.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), fmt, again);
        out.resize(static_cast<std::size_t>(n));
    }
    va_end(again);
    return out;
}

}  // namespace orvane
