#pragma once
// The re-key check (検算): a calculation's entries, as the input receipt recorded them, keyed a
// second time and compared entry by entry (the labelled values of the pricing keys and the
// items of a tax bill on the receipt, which stand outside the total, are none of them). The
// first entry that differs - another number, an operator, a time for a number, an entry too
// many or one missing at "=" - stops the check at its row.
#include "CalcNum.h"
#include "HistoryEntry.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bansho {

// One entry as a receipt row holds it: the number's text, the glyph the row shows and its mark.
struct KeyedEntry {
    std::string Number;
    char Glyph = '+';
    RowMark Mark = RowMark::None;
};

// Two entries are the same when their glyphs and marks are and their numbers have the same
// value: "5", "5." and "05" are one amount, "1.50" and "1.5" too.
bool SameEntry(const KeyedEntry& a, const KeyedEntry& b);
// The same value: a total compared with the first keying's.
bool SameValue(const TCalcNum& a, const TCalcNum& b);

class ReKeyCheck {
public:
    enum class State {
        Off,      // no check
        Checking, // the second keying goes on, every entry so far the same
        Stopped,  // an entry differed: Row() is where
    };

    // The first keying: the receipt's rows and the total shown after them.
    void Start(const std::deque<HistoryEntry>& rows, const TCalcNum& total);
    void Stop();
    State Current() const { return state_; }
    bool Active() const { return state_ != State::Off; }

    // The next entry of the second keying. False when it differs (the check stops there).
    bool Entry(const KeyedEntry& entry);
    // "=" after the last entry: true when every row was keyed again and the totals agree;
    // otherwise the check stops at the first row not keyed (or after the last row).
    bool Finish(const TCalcNum& total);

    // Entries of the second keying so far.
    std::size_t Keyed() const { return keyed_; }
    // Where the check stopped: a receipt row index (the row count when the entry lies past the
    // rows).
    std::size_t Row() const { return row_ < rowOf_.size() ? rowOf_[row_] : rowCount_; }
    // The first keying's row at Row(), if there is one.
    const KeyedEntry* First() const { return row_ < first_.size() ? &first_[row_] : nullptr; }
    // The second keying's entry at Row(), if one was keyed there.
    const std::optional<KeyedEntry>& Second() const { return second_; }

private:
    void StopAt(std::size_t row, std::optional<KeyedEntry> second);

    State state_ = State::Off;
    std::vector<KeyedEntry> first_;
    std::vector<std::size_t> rowOf_; // the receipt row of each entry of first_
    std::size_t rowCount_ = 0;       // the receipt's rows
    TCalcNum firstTotal_;
    std::size_t keyed_ = 0;
    std::size_t row_ = 0;           // the entry where the check stopped
    std::optional<KeyedEntry> second_;
};

} // namespace bansho
