#pragma once
// Times as whole seconds: the text a time is shown in ("1:23:45", "-0:01:30", "1,234:00:00"),
// the entry of a time field by field with the time key, and decimal hours both ways.
//
// Entry: the digits typed before the time key are the hours; the key closes them and opens the
// minutes, the next press closes the minutes and opens the seconds, the third closes the
// seconds. An operator closes whatever field is open, so "7 [時] 30 +" enters 7:30:00 in four
// keys. Minutes and seconds take at most two digits and carry past 59 (99 minutes are 1:39:00).
// A point in the hours ("8.75 [時]") makes them decimal hours, a complete time (8:45:00).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bansho {

// A time is shown with at most eleven hour digits, so that its digits stay within the fifteen
// of the display; a result beyond is an overflow.
inline constexpr std::int64_t kTimeHourLimit = 100'000'000'000; // 10^11 hours
inline constexpr std::int64_t kTimeSecondsLimit = kTimeHourLimit * 3600;

// |seconds| below the limit.
bool TimeInRange(std::int64_t seconds);

// "h:mm:ss" with thousands separators in the hours and '-' in front of a negative time:
// 5025 -> "1:23:45", -90 -> "-0:01:30", 4442400 -> "1,234:00:00".
std::string TimeText(std::int64_t seconds);

// The register text of a time ("[blanks][-]digits", the seconds): its value, or nullopt.
std::optional<std::int64_t> ParseSeconds(std::string_view text);
// The register text of a time: "27000", "-90".
std::string SecondsText(std::int64_t seconds);

// A plain number read as hours ("[blanks][-]digits[.digits]"), to the nearest whole second,
// half a second away from zero; exact on the decimal digits. nullopt for a text that is not a
// number or a time past the limit.
std::optional<std::int64_t> SecondsFromHours(std::string_view hours);

// Whole seconds as hours: numerator and denominator of the exact fraction, for the plain
// arithmetic to write (seconds / 3600).
inline constexpr std::int64_t kSecondsPerHour = 3600;

// A time being typed field by field.
class TimeEntry {
public:
    // Opens an entry whose hours are `hours` (digits only, possibly empty for none): the
    // minutes field is open. False (nothing opened) for hours of more than eleven digits.
    bool Start(std::string_view hours);
    bool Active() const { return field_ != Field::None; }
    // Digits ("5", "00") into the open field; false, nothing taken, when the field would have
    // more than two.
    bool Type(std::string_view digits);
    // The time key: closes the open field and opens the next; after the seconds the entry is
    // complete and no longer active.
    void Close();
    // Closes the entry where it stands (an operator ends it).
    void Finish() { field_ = Field::None; }
    // Removes the last digit of the open field; an empty field closes back to the one before.
    // False when only the hours were left: the entry is over and the hours are the number.
    bool Back();
    // The seconds typed so far (open fields count as typed).
    std::int64_t Seconds() const;
    // What the display shows while typing: "7:", "7:3", "7:30:", "7:30:4".
    std::string Text() const;
    const std::string& Hours() const { return hours_; }

private:
    enum class Field { None, Minutes, Seconds };
    Field field_ = Field::None;
    std::string hours_, minutes_, seconds_;
};

} // namespace bansho
