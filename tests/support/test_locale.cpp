// Linked into the test programs that CTest runs a second time in a comma
// locale: applies the locale named by ORVANE_TEST_LOCALE to the whole
// program before any test, as a user's desktop does to the programs (Qt
// applies LC_ALL when the application object is made). A locale that cannot
// be applied stops every test: a run that silently stayed in "C" would prove
// nothing.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "tests/support/comma_locale.h"

namespace {

class TestLocale : public ::testing::Environment {
  public:
    void SetUp() override {
        const char* name = std::getenv("ORVANE_TEST_LOCALE");
        if (!name || !*name) return;
        bool applied = std::setlocale(LC_ALL, name) && orvane::testing::decimalMarkIsComma();
        if (applied) return;
        if (orvane::testing::inContinuousIntegration())
            FAIL() << "locale " << name << " with a decimal comma is missing: scripts/install-deps generates it";
        GTEST_SKIP() << "comma locale " << name << " is missing: run scripts/install-deps";
    }
};

[[maybe_unused]] ::testing::Environment* const registered =
    ::testing::AddGlobalTestEnvironment(new TestLocale);

}  // namespace
