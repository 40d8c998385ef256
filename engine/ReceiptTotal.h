#pragma once
// The re-total of an input receipt as a pure fold, shared by the re-total command and the
// printed receipt.
#include "CalcNum.h"
#include "HistoryEntry.h"

#include <deque>
#include <string>

namespace bansho {

// Whether a row of this kind stands on the receipt beside the calculation and never counts in
// it: an item of the tax bill or a value of the pricing keys.
bool BesideChain(RowMark mark);

// The first row of the calculation: the first that does not stand beside it; cend() when
// there is none.
std::deque<HistoryEntry>::const_iterator FirstChainRow(const std::deque<HistoryEntry>& rows);

// Folds the rows left to right from the empty register: total := total ope_i number_i, each
// number cut to a register's 22 bytes, each row counted by the first character of its stored
// operator; exactly the texts that Calc gives step by step (an overflow or a division by zero
// leaves the total in its error state). With a decimal selection (decimals 0-4) each step is
// worked and rounded as the chain shows it (CalcValuesSelected), except a first row that counts
// '+': that is the number the chain started with as typed, and it starts the total unrounded.
// Times and dates (rows with their marks) count by their own rules, date differences counting
// both ends when `bothEnds`. Rows beside the chain are passed over; the first row is the first
// of the chain. False, with the text that does not read as a number in *badText, when a row
// stops the fold; the total is then undefined.
bool FoldReceipt(const std::deque<HistoryEntry>& rows, int acount, int decimals, int rule,
                 TCalcNum& total, std::string* badText, bool bothEnds = false);

} // namespace bansho
