#include "CalendarDate.h"

namespace bansho {

namespace {

// Days from 0000-03-01 of the proleptic Gregorian calendar: a year is counted from March, so
// that the leap day is the last day of its year and the months before it never move.
std::int64_t DaysFromMarchEpoch(int y, int m, int d) {
    if (m <= 2) --y;
    const std::int64_t era = y / 400; // years are positive here
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (m + 9) % 12; // March 0 .. February 11
    const std::int64_t doy = (153 * mp + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

const std::int64_t kEpoch = DaysFromMarchEpoch(kFirstDateYear, 1, 1);

} // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<std::int64_t> DayNumber(const CivilDate& date) {
    if (date.Year < kFirstDateYear || date.Year > kLastDateYear) return std::nullopt;
    if (date.Month < 1 || date.Month > 12) return std::nullopt;
    if (date.Day < 1 || date.Day > DaysInMonth(date.Year, date.Month)) return std::nullopt;
    return DaysFromMarchEpoch(date.Year, date.Month, date.Day) - kEpoch;
}

std::int64_t LastDayNumber() {
    return DaysFromMarchEpoch(kLastDateYear, 12, 31) - kEpoch;
}

std::optional<CivilDate> DateOfDay(std::int64_t day) {
    if (day < 0 || day > LastDayNumber()) return std::nullopt;
    const std::int64_t z = day + kEpoch;
    const std::int64_t era = z / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    CivilDate c;
    c.Day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    c.Month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    c.Year = static_cast<int>(yoe + era * 400 + (c.Month <= 2 ? 1 : 0));
    return c;
}

std::optional<std::int64_t> ParseDateDigits(std::string_view digits) {
    if (digits.size() != 8) return std::nullopt;
    int v[8];
    for (std::size_t i = 0; i < 8; ++i) {
        if (digits[i] < '0' || digits[i] > '9') return std::nullopt;
        v[i] = digits[i] - '0';
    }
    CivilDate c;
    c.Year = v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3];
    c.Month = v[4] * 10 + v[5];
    c.Day = v[6] * 10 + v[7];
    return DayNumber(c);
}

namespace {
void AppendDigits(std::string& out, int value, int width) {
    std::string s = std::to_string(value);
    if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<std::size_t>(width) - s.size(), '0');
    out += s;
}
} // namespace

std::string DateText(std::int64_t day) {
    const auto c = DateOfDay(day);
    if (!c) return {};
    std::string out;
    AppendDigits(out, c->Year, 4);
    out += '-';
    AppendDigits(out, c->Month, 2);
    out += '-';
    AppendDigits(out, c->Day, 2);
    return out;
}

std::string DateDigits(std::int64_t day) {
    const auto c = DateOfDay(day);
    if (!c) return {};
    std::string out;
    AppendDigits(out, c->Year, 4);
    AppendDigits(out, c->Month, 2);
    AppendDigits(out, c->Day, 2);
    return out;
}

std::int64_t DaysBetween(std::int64_t from, std::int64_t to, bool bothEnds) {
    const std::int64_t d = to - from;
    if (!bothEnds) return d;
    return d >= 0 ? d + 1 : d - 1;
}

} // namespace bansho
