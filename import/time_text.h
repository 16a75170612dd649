#pragma once
// Instants as data centres write them: ISO 8601 text to and from seconds of
// the Unix epoch (UTC, leap seconds ignored, as miniSEED times count them).

#include <optional>
#include <string>
#include <string_view>

namespace orvane::import {

/// Calendar fields of an instant; `second` holds the fraction.
struct CivilTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0;
    double second = 0;
};

/// Days since 1970-01-01 of a proleptic Gregorian date.
long long daysFromCivil(int year, int month, int day);

/// "YYYY-MM-DD[THH:MM[:SS[.s...]]][Z]" (a blank may stand for the "T"); each
/// field in its range. Anything else gives nullopt.
std::optional<double> parseIsoTime(std::string_view text);

CivilTime civilFromEpoch(double seconds);

/// "YYYY-MM-DDTHH:MM:SS" with `decimals` digits of the second (0 to 6).
std::string isoTime(double seconds, int decimals = 0);

/// A real number in C notation, whatever the locale; the whole text must be
/// the number (blanks around it allowed) and it must be finite.
std::optional<double> parseNumber(std::string_view text);

/// `value` with `decimals` digits after the point, whatever the locale.
std::string fixed(double value, int decimals);

}  // namespace orvane::import
