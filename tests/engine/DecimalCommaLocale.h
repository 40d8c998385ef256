#pragma once
// A German locale (decimal comma) for the tests that prove the locale never matters: the
// system's own when installed, else the one the build made with localedef in TEST_LOCALE_DIR.
#include <clocale>
#include <cstdlib>
#include <string>

namespace bansho::testing {

inline const char* kDecimalCommaLocale = "de_DE.UTF-8";

// Returns the environment prefix ("LC_ALL=de_DE.UTF-8", with LOCPATH when the build's copy
// is used) for child processes, or an empty text when no such locale can be had. Leaves this
// process in the "C" locale, with LOCPATH set when needed.
inline std::string PrepareDecimalCommaLocale() {
    std::string env;
    if (!std::setlocale(LC_ALL, kDecimalCommaLocale)) {
        setenv("LOCPATH", TEST_LOCALE_DIR, 1);
        if (!std::setlocale(LC_ALL, kDecimalCommaLocale)) return {};
        env = "LOCPATH='" TEST_LOCALE_DIR "' ";
    }
    std::setlocale(LC_ALL, "C");
    return env + "LC_ALL=" + kDecimalCommaLocale;
}

} // namespace bansho::testing
