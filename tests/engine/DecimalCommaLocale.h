#pragma once
// A German locale (decimal comma) for the tests that prove the locale never matters. When the
// system has none installed, one is built with localedef into a scratch folder that LOCPATH
// then names, for this process and for the programs it starts.
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

inline const char* kDecimalCommaLocale = "de_DE.UTF-8";

// Returns the environment prefix ("LOCPATH=... LC_ALL=de_DE.UTF-8") for child processes, or
// an empty text when no such locale can be had. Leaves this process in the "C" locale.
inline std::string PrepareDecimalCommaLocale() {
    if (std::setlocale(LC_ALL, kDecimalCommaLocale)) {
        std::setlocale(LC_ALL, "C");
        return std::string("LC_ALL=") + kDecimalCommaLocale;
    }
    const auto dir = std::filesystem::temp_directory_path() / "bansho-engine-locale";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    const std::string target = (dir / kDecimalCommaLocale).string();
    if (!std::filesystem::exists(target)) {
        const std::string cmd = "localedef -i de_DE -f UTF-8 '" + target + "' >/dev/null 2>&1";
        (void)std::system(cmd.c_str()); // warnings give a non-zero status with a usable locale
    }
    setenv("LOCPATH", dir.c_str(), 1);
    if (!std::setlocale(LC_ALL, kDecimalCommaLocale)) return {};
    std::setlocale(LC_ALL, "C");
    return "LOCPATH='" + dir.string() + "' LC_ALL=" + kDecimalCommaLocale;
}
