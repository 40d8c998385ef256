#pragma once
// Dates of the Gregorian calendar from 1900-01-01 to 2999-12-31 as day numbers (1900-01-01 is
// day 0), read from the eight digits a user types (20261207) and shown as "2026-12-07".
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bansho {

inline constexpr int kFirstDateYear = 1900;
inline constexpr int kLastDateYear = 2999;

struct CivilDate {
    int Year = kFirstDateYear;
    int Month = 1; // 1-12
    int Day = 1;   // 1-31
};

// Leap years: every fourth, but not the hundredth unless also the four-hundredth (2000 is
// one, 2100 is not).
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// The day number of a date; nullopt for a date that does not exist or lies outside
// 1900-2999 (2026-02-30, 1899-12-31).
std::optional<std::int64_t> DayNumber(const CivilDate& date);
// The date of a day number; nullopt outside 1900-01-01..2999-12-31.
std::optional<CivilDate> DateOfDay(std::int64_t day);
// The last day number (2999-12-31).
std::int64_t LastDayNumber();

// Exactly eight digits YYYYMMDD, nothing else (no sign, point or blank): the day number.
std::optional<std::int64_t> ParseDateDigits(std::string_view digits);

// "2026-12-07": four-digit year, two-digit month and day. Empty for a day number outside the
// range.
std::string DateText(std::int64_t day);
// "20261207", the digits the date was typed as. Empty outside the range.
std::string DateDigits(std::int64_t day);

// Days from `from` to `to` (to - from: the number of days after the first). Counting both
// ends adds the first day too, so the count moves one further from zero: 0 becomes 1, 207
// becomes 208, -207 becomes -208.
std::int64_t DaysBetween(std::int64_t from, std::int64_t to, bool bothEnds);

} // namespace bansho
