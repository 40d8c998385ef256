#include "ReceiptTotal.h"

#include "SelectedResult.h"
#include "NumberText.h"
#include "Pricing.h"
#include "TaxBill.h"
#include "TextFunctions.h"
#include "ValueKinds.h"

#include <algorithm>

namespace bansho {

bool BesideChain(RowMark mark) {
    return IsTaxItemMark(mark) || !CountsInTotal(mark);
}

std::deque<HistoryEntry>::const_iterator FirstChainRow(const std::deque<HistoryEntry>& rows) {
    return std::find_if(rows.cbegin(), rows.cend(),
                        [](const HistoryEntry& row) { return !BesideChain(row.Mark()); });
}

bool FoldReceipt(const std::deque<HistoryEntry>& rows, int acount, int decimals, int rule,
                 TCalcNum& total, std::string* badText, bool bothEnds) {
    // Rows of plain numbers are folded as values, the total written out once; from the first
    // row that needs more (an error, an overflow, a text that is not a number, a result that
    // the decimal selection rounds) on, each row goes through the arithmetic step as the chain
    // takes it.
    RunningTotal chain(acount, decimals);
    auto it = rows.cbegin();
    // The rows lie in blocks of a few hundred bytes spread over the heap; each block is asked
    // for well before the fold reaches it, or a million rows wait on memory more than they
    // take to add.
    constexpr std::ptrdiff_t kAhead = 256;
    auto ahead = rows.size() > static_cast<std::size_t>(kAhead) ? it + kAhead : rows.cend();
    // Items of the tax bill and values of the pricing keys stand on the receipt beside the
    // chain, not in it; a time or a date goes by its own rules below.
    while (it != rows.cend() &&
           (BesideChain(it->Mark()) ||
            (it->Mark() == RowMark::None && chain.Step(it->Number(), it->Ope())))) {
        ++it;
        if (ahead != rows.cend()) {
            __builtin_prefetch(&*ahead);
            ++ahead;
        }
    }
    total = chain.Total();
    // The chain's first row is the first that stands in it.
    const auto first = FirstChainRow(rows);
    for (; it != rows.cend(); ++it) {
        if (BesideChain(it->Mark())) continue;
        TCalcNum n{CutText(it->Number(), kCalcNumTextMax), false, KindOfMark(it->Mark())};
        if (it == first && decimals >= 0 && it->Ope() == '+') {
            // The first number starts the chain as it was typed, never rounded; so it starts
            // the total.
            if (!CalcValues(total, n, '+', ' ', acount, bothEnds, badText)) return false; // 0 + n is n
            continue;
        }
        if (!CalcValuesSelected(total, n, it->Ope(), ' ', acount, bothEnds, decimals, rule,
                                badText))
            return false;
    }
    return true;
}

} // namespace bansho
