#include "data/text_scan.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <limits>

namespace orvane {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

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
    while (i < text.size() && isDigit(text[i])) ++i;
    return i > digits ? i : 0;
}

// from_chars knows a leading "-" but not a "+".
std::string_view withoutPlus(std::string_view number) {
    return !number.empty() && number[0] == '+' ? number.substr(1) : number;
}

// --- UTF-8 -----------------------------------------------------------------------

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Bytes of the character a lead byte starts, 0 for a byte no character starts with.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// --- formatting ------------------------------------------------------------------

struct Conversion {
    bool left = false, zero = false, plus = false, space = false, alternate = false;
    int width = 0;
    int precision = -1;  // none given
    char conversion = 0;
};

// Pads `prefix` + `body` to the width: blanks before, blanks after, or zeros
// between the sign (or "0x") and the digits.
void appendPadded(std::string& out, const Conversion& s, std::string_view prefix, std::string_view body,
                  bool zerosAllowed) {
    std::size_t length = prefix.size() + body.size();
    std::size_t fill = s.width > 0 && static_cast<std::size_t>(s.width) > length
                           ? static_cast<std::size_t>(s.width) - length
                           : 0;
    if (s.left) {
        out.append(prefix).append(body).append(fill, ' ');
    } else if (s.zero && zerosAllowed) {
        out.append(prefix).append(fill, '0').append(body);
    } else {
        out.append(fill, ' ').append(prefix).append(body);
    }
}

const char* signOf(bool negative, const Conversion& s) {
    if (negative) return "-";
    if (s.plus) return "+";
    return s.space ? " " : "";
}

void appendUpper(std::string& out, std::string_view text) {
    for (char c : text) out.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
}

// "%f", "%e", "%g" as printf prints them in the "C" locale: std::to_chars
// with a precision is defined to give exactly that text.
void appendReal(std::string& out, const Conversion& s, double value) {
    const char kind = static_cast<char>(s.conversion | 0x20);
    const bool upper = s.conversion != kind;
    const int precision = s.precision < 0 ? 6 : std::min(s.precision, 4000);
    const bool finite = std::isfinite(value);
    const std::chars_format how = kind == 'f'   ? std::chars_format::fixed
                                  : kind == 'e' ? std::chars_format::scientific
                                                : std::chars_format::general;
    std::string digits(400 + static_cast<std::size_t>(precision), '\0');
    auto result = std::to_chars(digits.data(), digits.data() + digits.size(), std::fabs(value), how,
                                precision);
    digits.resize(result.ec == std::errc() ? static_cast<std::size_t>(result.ptr - digits.data()) : 0);
    if (s.alternate && finite && kind != 'g' && digits.find('.') == std::string::npos) {
        std::size_t e = digits.find('e');
        digits.insert(e == std::string::npos ? digits.size() : e, 1, '.');
    }
    std::string body;
    if (upper) appendUpper(body, digits);
    else body = digits;
    appendPadded(out, s, signOf(std::signbit(value), s), body, finite);
}

void appendInteger(std::string& out, const Conversion& s, bool negative, unsigned long long magnitude) {
    const char c = s.conversion;
    const int base = c == 'x' || c == 'X' ? 16 : c == 'o' ? 8 : 10;
    char buffer[72];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, base);
    std::string digits(buffer, result.ptr);
    if (s.precision == 0 && magnitude == 0) digits.clear();
    if (s.precision > 0 && digits.size() < static_cast<std::size_t>(std::min(s.precision, 4000)))
        digits.insert(0, static_cast<std::size_t>(std::min(s.precision, 4000)) - digits.size(), '0');
    std::string prefix;
    if (c == 'd' || c == 'i') prefix = signOf(negative, s);
    if (s.alternate && base == 16 && magnitude != 0) prefix = c == 'X' ? "0X" : "0x";
    if (s.alternate && base == 8 && (digits.empty() || digits[0] != '0')) digits.insert(0, 1, '0');
    std::string body;
    if (c == 'X') appendUpper(body, digits);
    else body = digits;
    appendPadded(out, s, prefix, body, s.precision < 0);
}

}  // namespace

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

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
    if (n == 0) return std::nullopt;
    std::string_view digits = withoutPlus(text.substr(0, n));
    std::int32_t value = 0;
    auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc()) return std::nullopt;
    if (rest) *rest = text.substr(n);
    return value;
}

std::optional<std::uint32_t> scanUnsigned(std::string_view text) {
    text = skipBlanks(text);
    if (!text.empty() && text[0] == '+') text.remove_prefix(1);
    std::size_t n = integerLength(text, false);
    if (n == 0) return std::nullopt;
    std::uint32_t value = 0;
    auto result = std::from_chars(text.data(), text.data() + n, value);
    if (result.ec != std::errc()) return std::nullopt;
    return value;
}

std::optional<float> scanFloat(std::string_view text, std::string_view* rest) {
    text = skipBlanks(text);
    std::string_view number = withoutPlus(text);
    if (number.size() < text.size() && !number.empty() && number[0] == '-') return std::nullopt;
    double value = 0;
    auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc()) return std::nullopt;
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        return std::nullopt;
    if (rest) *rest = number.substr(static_cast<std::size_t>(result.ptr - number.data()));
    return static_cast<float>(value);
}

std::string cut(std::string_view text, std::size_t maxChars) {
    return std::string(text.substr(0, std::min(text.size(), maxChars)));
}

std::string cutUtf8(std::string_view text, std::size_t maxBytes) {
    // Walk whole characters; `fits` is the end of the last one within maxBytes.
    std::size_t at = 0, fits = 0;
    bool multibyte = false;
    while (at < text.size()) {
        std::size_t n = sequenceLength(static_cast<unsigned char>(text[at]));
        std::size_t whole = 1;
        while (n > 1 && whole < n && at + whole < text.size() &&
               isContinuation(static_cast<unsigned char>(text[at + whole])))
            ++whole;
        if (n == 0 || whole < n) {
            // The last character cut short by an earlier, byte-counting
            // writer is left out; anything else is not UTF-8 at all.
            bool cutShort = n > 1 && at + whole == text.size() && multibyte;
            if (cutShort) return std::string(text.substr(0, std::min(at, fits)));
            return cut(text, maxBytes);
        }
        multibyte = multibyte || n > 1;
        at += n;
        if (at <= maxBytes) fits = at;
    }
    return std::string(text.substr(0, fits));
}

std::string format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string out;
    const char* p = fmt;
    while (*p) {
        if (*p != '%') {
            out.push_back(*p++);
            continue;
        }
        const char* start = p++;
        if (*p == '%') {
            out.push_back('%');
            ++p;
            continue;
        }
        Conversion s;
        for (;; ++p) {
            if (*p == '-') s.left = true;
            else if (*p == '0') s.zero = true;
            else if (*p == '+') s.plus = true;
            else if (*p == ' ') s.space = true;
            else if (*p == '#') s.alternate = true;
            else break;
        }
        if (*p == '*') {
            int w = va_arg(args, int);
            if (w < 0) s.left = true;
            s.width = w < 0 ? (w == std::numeric_limits<int>::min() ? 0 : -w) : w;
            ++p;
        } else {
            for (; isDigit(*p); ++p) s.width = std::min(s.width * 10 + (*p - '0'), 100000);
        }
        if (*p == '.') {
            ++p;
            s.precision = 0;
            if (*p == '*') {
                int precision = va_arg(args, int);
                s.precision = precision < 0 ? -1 : precision;
                ++p;
            } else {
                for (; isDigit(*p); ++p) s.precision = std::min(s.precision * 10 + (*p - '0'), 100000);
            }
        }
        std::string length;
        while (*p && std::strchr("hlzjtL", *p)) length.push_back(*p++);
        s.conversion = *p;
        if (*p) ++p;
        switch (s.conversion) {
            case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': {
                double v = length == "L" ? static_cast<double>(va_arg(args, long double))
                                         : va_arg(args, double);
                appendReal(out, s, v);
                break;
            }
            case 'd': case 'i': {
                long long v;
                if (length == "hh") v = static_cast<signed char>(va_arg(args, int));
                else if (length == "h") v = static_cast<short>(va_arg(args, int));
                else if (length == "l") v = va_arg(args, long);
                else if (length == "ll") v = va_arg(args, long long);
                else if (length == "z" || length == "t") v = va_arg(args, std::ptrdiff_t);
                else if (length == "j") v = va_arg(args, std::intmax_t);
                else v = va_arg(args, int);
                unsigned long long magnitude =
                    v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
                appendInteger(out, s, v < 0, magnitude);
                break;
            }
            case 'u': case 'x': case 'X': case 'o': {
                unsigned long long v;
                if (length == "hh") v = static_cast<unsigned char>(va_arg(args, unsigned));
                else if (length == "h") v = static_cast<unsigned short>(va_arg(args, unsigned));
                else if (length == "l") v = va_arg(args, unsigned long);
                else if (length == "ll") v = va_arg(args, unsigned long long);
                else if (length == "z" || length == "t") v = va_arg(args, std::size_t);
                else if (length == "j") v = va_arg(args, std::uintmax_t);
                else v = va_arg(args, unsigned);
                appendInteger(out, s, false, v);
                break;
            }
            case 'c': {
                char c = static_cast<char>(va_arg(args, int));
                appendPadded(out, s, "", std::string_view(&c, 1), false);
                break;
            }
            case 's': {
                const char* text = va_arg(args, const char*);
                std::string_view v = text ? std::string_view(text) : std::string_view("(null)");
                if (s.precision >= 0) v = v.substr(0, std::min<std::size_t>(v.size(), s.precision));
                appendPadded(out, s, "", v, false);
                break;
            }
            default:
                // Not a conversion this formatter knows: kept as written.
                out.append(start, p);
                break;
        }
    }
    va_end(args);
    return out;
}

}  // namespace orvane
