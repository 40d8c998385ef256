#include "ReceiptTotal.h"

#include "DecimalRounding.h"
#include "NumberText.h"
#include "TextFunctions.h"

#include <algorithm>

namespace bansho {

bool FoldReceipt(const std::deque<HistoryEntry>& rows, int acount, int decimals, int rule,
                 TCalcNum& total, std::string* badText) {
    // Rows of plain numbers are folded as values, the total written out once; from the first
    // row that needs more (an error, an overflow, a text that is not a number) on, each row
    // goes through the plain arithmetic step as Calc takes it.
    RunningTotal chain(acount);
    auto it = rows.cbegin();
    // Rounded steps need each step's text, so a selection folds every row through the
    // arithmetic step.
    while (decimals < 0 && it != rows.cend() && chain.Step(it->Number(), it->Ope()))
        ++it;
    total = chain.Total();
    for (; it != rows.cend(); ++it) {
        TCalcNum n{CutText(it->Number(), kCalcNumTextMax), false};
        if (!CalcNumbers(total, n, it->Ope(), ' ', acount, badText)) return false;
        RoundRegister(total, decimals, rule, acount);
    }
    return true;
}

} // namespace bansho
