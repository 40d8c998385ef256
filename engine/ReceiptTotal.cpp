#include "ReceiptTotal.h"

#include "DecimalRounding.h"
#include "NumberText.h"
#include "Pricing.h"
#include "TextFunctions.h"

#include <algorithm>

namespace bansho {

bool FoldReceipt(const std::deque<HistoryEntry>& rows, int acount, int decimals, int rule,
                 TCalcNum& total, std::string* badText) {
    // Rows of plain numbers are folded as values, the total written out once; from the first
    // row that needs more (an error, an overflow, a text that is not a number, a result that
    // the decimal selection rounds) on, each row goes through the plain arithmetic step as
    // Calc takes it.
    RunningTotal chain(acount, decimals);
    auto it = rows.cbegin();
    // The rows lie in blocks of a few hundred bytes spread over the heap; each block is asked
    // for well before the fold reaches it, or a million rows wait on memory more than they
    // take to add.
    constexpr std::ptrdiff_t kAhead = 256;
    auto ahead = rows.size() > static_cast<std::size_t>(kAhead) ? it + kAhead : rows.cend();
    // Rows of the pricing keys stand beside the calculation and are not part of the total.
    while (it != rows.cend() &&
           (!CountsInTotal(it->Mark()) || chain.Step(it->Number(), it->Ope()))) {
        ++it;
        if (ahead != rows.cend()) {
            __builtin_prefetch(&*ahead);
            ++ahead;
        }
    }
    total = chain.Total();
    for (; it != rows.cend(); ++it) {
        if (!CountsInTotal(it->Mark())) continue;
        TCalcNum n{CutText(it->Number(), kCalcNumTextMax), false};
        if (!CalcNumbers(total, n, it->Ope(), ' ', acount, badText)) return false;
        RoundRegister(total, decimals, rule, acount);
    }
    return true;
}

} // namespace bansho
