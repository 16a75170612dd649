#include "import/time_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace orvane::import {

namespace {

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// Exactly `width` digits at the front of `text`.
std::optional<int> digits(std::string_view& text, std::size_t width) {
    if (text.size() < width) return std::nullopt;
    int value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    text.remove_prefix(width);
    return value;
}

bool take(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

long long daysFromCivil(int year, int month, int day) {
    long long y = static_cast<long long>(year) - (month <= 2);
    long long era = (y >= 0 ? y : y - 399) / 400;
    long long yoe = y - era * 400;
    long long doy = (153LL * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::optional<double> parseIsoTime(std::string_view text) {
    text = trim(text);
    auto year = digits(text, 4);
    if (!year || !take(text, '-')) return std::nullopt;
    auto month = digits(text, 2);
    if (!month || !take(text, '-')) return std::nullopt;
    auto day = digits(text, 2);
    if (!day || *month < 1 || *month > 12 || *day < 1 || *day > daysInMonth(*year, *month))
        return std::nullopt;
    int hour = 0, minute = 0;
    double second = 0;
    if (!text.empty() && text != "Z") {
        if (!take(text, 'T') && !take(text, ' ')) return std::nullopt;
        auto h = digits(text, 2);
        if (!h || !take(text, ':')) return std::nullopt;
        auto m = digits(text, 2);
        if (!m || *h > 23 || *m > 59) return std::nullopt;
        hour = *h;
        minute = *m;
        if (take(text, ':')) {
            auto s = digits(text, 2);
            if (!s || *s > 59) return std::nullopt;
            second = *s;
            if (take(text, '.')) {
                double scale = 0.1;
                std::size_t count = 0;
                while (!text.empty() && text.front() >= '0' && text.front() <= '9') {
                    second += (text.front() - '0') * scale;
                    scale /= 10;
                    text.remove_prefix(1);
                    ++count;
                }
                if (count == 0) return std::nullopt;
            }
        }
        take(text, 'Z');
        if (!text.empty()) return std::nullopt;
    } else {
        text = {};
    }
    return static_cast<double>(daysFromCivil(*year, *month, *day)) * 86400.0 + hour * 3600.0 +
           minute * 60.0 + second;
}

CivilTime civilFromEpoch(double seconds) {
    double days = std::floor(seconds / 86400.0);
    double rest = seconds - days * 86400.0;
    long long z = static_cast<long long>(days) + 719468;
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    CivilTime t;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2));
    t.hour = static_cast<int>(rest / 3600.0);
    rest -= t.hour * 3600.0;
    t.minute = static_cast<int>(rest / 60.0);
    t.second = rest - t.minute * 60.0;
    return t;
}

std::string isoTime(double seconds, int decimals) {
    decimals = decimals < 0 ? 0 : decimals > 6 ? 6 : decimals;
    // Whole units of the last digit, so that 59.9999 s never prints as 60.
    long long scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    long long units = std::llround(seconds * static_cast<double>(scale));
    long long perDay = 86400LL * scale;
    long long days = units >= 0 ? units / perDay : -((-units + perDay - 1) / perDay);
    long long rest = units - days * perDay;
    CivilTime t = civilFromEpoch(static_cast<double>(days) * 86400.0);
    long long fraction = rest % scale;
    long long secondsOfDay = rest / scale;
    char text[64];
    int n = std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02lld:%02lld:%02lld", t.year, t.month, t.day,
                          secondsOfDay / 3600, secondsOfDay / 60 % 60, secondsOfDay % 60);
    if (decimals > 0) std::snprintf(text + n, sizeof text - n, ".%0*lld", decimals, fraction);
    return text;
}

std::optional<double> parseNumber(std::string_view text) {
    text = trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string fixed(double value, int decimals) {
    char text[400];
    auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return ec == std::errc() ? std::string(text, end) : std::string("0");
}

}  // namespace orvane::import
