#pragma once
// The value held by every register: a number as decimal text and an error flag.
#include <cstddef>
#include <string>
#include <string_view>

namespace bansho {

// At most this many single-byte characters fit into a register's text.
inline constexpr std::size_t kCalcNumTextMax = 22;

// What a register's text means. A plain number is decimal text; a time is its whole seconds
// ("27000" is 7:30:00, "-90" is -0:01:30); a date is its day number counted from 1900-01-01
// (day 0). The arithmetic of plain numbers never sees the other kinds.
enum class ValueKind : unsigned char {
    Number = 0,
    Time = 1,
    Date = 2,
};

struct TCalcNum {
    // Optional leading blanks, optional '-', digits, at most one '.' (always '.', never the
    // locale's separator). Empty means "no value" and reads as 0. Pasted text is kept as it is.
    std::string Text;
    // Set by an overflow or a division by zero; shown as the error form.
    bool Error = false;
    // What the text means; every assignment of a plain number leaves it Number.
    ValueKind Kind = ValueKind::Number;

    friend bool operator==(const TCalcNum&, const TCalcNum&) = default;
};

// Empties a register: no text, no error.
inline void ClearNum(TCalcNum& n) {
    n.Text.clear();
    n.Error = false;
    n.Kind = ValueKind::Number;
}

// Assigns a text to a register the way every assignment does: only the first 22 bytes
// (Shift_JIS widths; a double-byte character is never split) are kept. Error is untouched;
// the register holds a plain number afterwards.
void AssignText(TCalcNum& n, std::string_view text);

} // namespace bansho
