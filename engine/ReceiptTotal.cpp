#include "ReceiptTotal.h"

#include "SelectedResult.h"
#include "NumberText.h"
#include "Pricing.h"
#include "TextFunctions.h"
#include "ValueKinds.h"

#include <algorithm>

namespace bansho {

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
    // Rows of the pricing keys stand beside the calculation and are not part of the total.
    bool started = false; // a row of the total has been folded
    while (it != rows.cend()) {
        if (CountsInTotal(it->Mark())) {
            if (it->Mark() != RowMark::None || !chain.Step(it->Number(), it->Ope())) break;
            started = true;
        }
        ++it;
        if (ahead != rows.cend()) {
            __builtin_prefetch(&*ahead);
            ++ahead;
        }
    }
    total = chain.Total();
    for (; it != rows.cend(); ++it) {
        if (!CountsInTotal(it->Mark())) continue;
        TCalcNum n{CutText(it->Number(), kCalcNumTextMax), false, KindOfMark(it->Mark())};
        const bool first = !started;
        started = true;
        if (first && decimals >= 0 && it->Ope() == '+') {
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
