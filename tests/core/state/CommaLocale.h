// The C library's locale of a German user, whose decimal separator is the comma: the desktop program
// runs under it (Qt takes the user's locale for the whole process). While a CommaLocale lives, printf
// and strtod write and read "7,2"; a test that needs it fails when the locale is not installed
// (scripts/install-deps generates it), so it never passes by testing nothing.
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace tolvex::testing {

inline constexpr const char* kCommaLocale = "de_DE.UTF-8";

class CommaLocale {
public:
    CommaLocale() : saved_(std::setlocale(LC_ALL, nullptr)) {
        active_ = std::setlocale(LC_ALL, kCommaLocale) != nullptr &&
                  std::string(std::localeconv()->decimal_point) == ",";
    }
    ~CommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    // Use as ASSERT_TRUE(locale.active()) << ...: false when the locale could not be set.
    [[nodiscard]] bool active() const { return active_; }

private:
    std::string saved_;
    bool active_ = false;
};

}  // namespace tolvex::testing
