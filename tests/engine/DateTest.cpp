// Dates and day counts against the calendar of the C++ standard library.
#include "CalendarDate.h"
#include "EngineRig.h"
#include "RandomRounds.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>

using namespace bansho;
using namespace bansho::testing;
namespace chr = std::chrono;

namespace {

std::string Digits8(const chr::year_month_day& d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02u%02u", static_cast<int>(d.year()),
                  static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()));
    return buf;
}

std::string Dashed(const chr::year_month_day& d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", static_cast<int>(d.year()),
                  static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()));
    return buf;
}

const chr::sys_days kFirst = chr::sys_days{chr::year{1900} / 1 / 1};
const chr::sys_days kLast = chr::sys_days{chr::year{2999} / 12 / 31};

// Every day of the range reads back as the library's date, in order.
TEST(CalendarDate, EveryDayOfTheRangeIsTheLibrarysDate) {
    long expected = 0;
    for (chr::sys_days d = kFirst; d <= kLast; d += chr::days{1}, ++expected) {
        const chr::year_month_day ymd{d};
        const auto day = ParseDateDigits(Digits8(ymd));
        ASSERT_TRUE(day) << Digits8(ymd);
        ASSERT_EQ(*day, expected) << Digits8(ymd);
        ASSERT_EQ(DateText(*day), Dashed(ymd));
        ASSERT_EQ(DateDigits(*day), Digits8(ymd));
        ASSERT_EQ(ParseDateText(Dashed(ymd)), day) << Dashed(ymd);
    }
    EXPECT_EQ(LastDayNumber(), expected - 1);
    EXPECT_EQ(DateText(-1), "");
    EXPECT_EQ(DateText(expected), "");
}

// Eight digits that the library calls no valid date, or that lie outside 1900-2999, are none.
TEST(CalendarDate, ImpossibleDigitsAreNoDate) {
    std::mt19937 rng(7);
    for (int i = 0; i < 200000; ++i) {
        const int y = 1880 + static_cast<int>(rng() % 1140);
        const unsigned m = rng() % 14, d = rng() % 33;
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04d%02u%02u", y, m, d);
        const chr::year_month_day ymd{chr::year{y}, chr::month{m}, chr::day{d}};
        const bool valid = ymd.ok() && y >= 1900 && y <= 2999;
        ASSERT_EQ(ParseDateDigits(buf).has_value(), valid) << buf;
        ASSERT_EQ(ParseDateText(buf).has_value(), valid) << buf;
        std::snprintf(buf, sizeof buf, "%04d-%u-%u", y, m, d);
        ASSERT_EQ(ParseDateText(buf).has_value(), valid) << buf;
    }
    for (const char* bad : {"2026-12-7-", "26-12-07", "2026-012-07", "2026--07", "2026-12-",
                            "-2026-12-07", "2026/12/07", "2026-12-07 "})
        EXPECT_FALSE(ParseDateText(bad)) << bad;
    for (const char* bad : {"2026123", "202612070", "2026-1207", " 20261207", "2026120.", ""})
        EXPECT_FALSE(ParseDateDigits(bad)) << bad;
}

// 100,000 random pairs typed on the keys: date − date counts the days after the first, and
// one more with both ends counted; the first date plus the plain count is the second.
TEST(CalendarDate, DayCountsThroughTheKeysAgreeWithTheLibrary) {
    std::mt19937_64 rng(2026);
    EngineRig rig;
    const long span = (kLast - kFirst).count() + 1;
    bool bothEnds = false;
    const int pairs = RandomRounds(100000);
    for (int i = 0; i < pairs; ++i) {
        if (i == pairs / 2) {
            rig.Key("#62"); // the second half counts both ends
            bothEnds = true;
        }
        const chr::sys_days a = kFirst + chr::days{static_cast<long>(rng() % span)};
        const chr::sys_days b = kFirst + chr::days{static_cast<long>(rng() % span)};
        rig.Keys(Digits8(chr::year_month_day{a}) + " #61 - " + Digits8(chr::year_month_day{b}) +
                 " #61 =");
        long days = (a - b).count();
        if (bothEnds) days += days >= 0 ? 1 : -1;
        ASSERT_EQ(rig.engine.DispNum.Text, std::to_string(days))
            << Digits8(chr::year_month_day{a}) << " - " << Digits8(chr::year_month_day{b});
        ASSERT_EQ(rig.engine.DispNum.Kind, ValueKind::Number);
        if (i % 10 == 0) {
            // The first date plus the difference without both ends is the second date again.
            const long back = (b - a).count();
            const std::string n = std::to_string(back < 0 ? -back : back);
            rig.Keys("AC " + Digits8(chr::year_month_day{a}) + " #61 " + (back < 0 ? "- " : "+ ") +
                     n + " =");
            ASSERT_EQ(rig.Caption(), Dashed(chr::year_month_day{b}));
        }
        rig.Key("AC");
    }
    EXPECT_EQ(rig.host.beeps, 0);
}

} // namespace
