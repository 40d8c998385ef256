#pragma once
// The decimal selector (F, 0-4 places) and the rounding rule of a desk calculator, applied to
// a result's decimal digits: exact, never through binary floating point.
#include "CalcNum.h"

#include <string>
#include <string_view>

namespace bansho {

inline constexpr int kDecimalsFloat = -1; // F: results as they come
inline constexpr int kDecimalsMax = 4;

enum RoundingRule : int {
    kRoundCut = 0,    // 切捨: toward zero
    kRoundHalfUp = 1, // 四捨五入: half away from zero
    kRoundUp = 2,     // 切上: away from zero
};

// The mark of a selection ("0 切捨", "2 四捨五入"); empty at F.
std::string DecimalSelectorMark(int decimals, int rule);

// The next setting of each selector: F -> 0 -> 1 -> 2 -> 3 -> 4 -> F; 切捨 -> 四捨五入 -> 切上 ->
// 切捨. A value out of range starts the cycle again.
int NextDecimals(int decimals);
int NextRounding(int rule);

// A register text "[blanks][-]digits[.digits]" rounded to `decimals` places by `rule`.
// Fraction zeros left at the end are dropped; without fraction digits the text ends in "."
// when `pointAlways` (the cut-below-the-digits form "8.") and has no point otherwise ("8").
// "-0" never results. Texts with at most `decimals` fraction digits, texts of any other form
// and decimals < 0 come back unchanged. `overflow` is set when the rounded whole part has
// more than 15 digits (999999999999999.5 rounded up).
std::string RoundDecimalText(std::string_view text, int decimals, int rule, bool pointAlways,
                             bool& overflow);

// A register holding a result, rounded in the form its acount writes (0: "8.", 1: "8"); an
// overflow sets its Error. Nothing happens at F (decimals < 0) or to a register in error.
// Results are rounded exactly by CalcSelected (SelectedResult.h); this rounds only the text
// of a step whose operands are longer than any register.
void RoundRegister(TCalcNum& n, int decimals, int rule, int acount);

} // namespace bansho
