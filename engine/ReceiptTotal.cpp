#include "ReceiptTotal.h"

#include "DecimalRounding.h"
#include "NumberText.h"
#include "TextFunctions.h"

#include <algorithm>

bool FoldReceipt(const std::vector<std::string>& numbers, const std::vector<std::string>& opes,
                 int acount, int decimals, int rule, TCalcNum& total, std::string* badText) {
    auto rowOpe = [&opes](std::size_t i) {
        return i >= opes.size() || opes[i].empty() ? ' ' : opes[i].front();
    };
    // Rows of plain numbers are folded as values, the total written out once; from the first
    // row that needs more (an error, an overflow, a text that is not a number) on, each row
    // goes through the plain arithmetic step as Calc takes it.
    const std::size_t count = numbers.size();
    TChainTotal chain(acount);
    std::size_t i = 0;
    // Rounded steps need each step's text, so a selection folds every row through the
    // arithmetic step.
    while (decimals < 0 && i < count && chain.Step(numbers[i], rowOpe(i)))
        ++i;
    total = chain.Total();
    for (; i < count; ++i) {
        TCalcNum n{CutText(numbers[i], kCalcNumTextMax), false};
        if (!CalcNumbers(total, n, rowOpe(i), ' ', acount, badText)) return false;
        RoundRegister(total, decimals, rule, acount);
    }
    return true;
}
