#pragma once
// Runs tests under a locale whose decimal mark is a comma, as a German,
// French or Brazilian desktop hands it to the programs. scripts/install-deps
// generates de_DE.UTF-8; without it a test fails in continuous integration
// and is skipped, with the reason, elsewhere.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

namespace orvane::testing {

inline constexpr const char* kCommaLocale = "de_DE.UTF-8";

inline bool inContinuousIntegration() {
    const char* ci = std::getenv("CI");
    return ci && *ci && std::strcmp(ci, "false") != 0 && std::strcmp(ci, "0") != 0;
}

inline bool decimalMarkIsComma() { return std::strcmp(std::localeconv()->decimal_point, ",") == 0; }

/// Switches the whole process to the comma locale, and back when it goes.
class ScopedCommaLocale {
  public:
    ScopedCommaLocale() {
        const char* old = std::setlocale(LC_ALL, nullptr);
        old_ = old ? old : "C";
        active_ = std::setlocale(LC_ALL, kCommaLocale) && decimalMarkIsComma();
    }
    ~ScopedCommaLocale() { std::setlocale(LC_ALL, old_.c_str()); }
    ScopedCommaLocale(const ScopedCommaLocale&) = delete;
    ScopedCommaLocale& operator=(const ScopedCommaLocale&) = delete;

    bool active() const { return active_; }

  private:
    std::string old_;
    bool active_ = false;
};

}  // namespace orvane::testing

/// In a test or SetUp: stops with a failure (in CI) or a skip when the comma
/// locale could not be made current.
#define ORVANE_REQUIRE_COMMA_LOCALE(scoped)                                                    \
    do {                                                                                       \
        if (!(scoped).active()) {                                                              \
            if (::orvane::testing::inContinuousIntegration())                                  \
                FAIL() << "locale " << ::orvane::testing::kCommaLocale                         \
                       << " is missing: scripts/install-deps generates it";                    \
            GTEST_SKIP() << "comma locale " << ::orvane::testing::kCommaLocale                 \
                         << " is missing: run scripts/install-deps";                           \
        }                                                                                      \
    } while (false)
