#pragma once
// Exact decimal numbers and quotients for the keys that compute with stored values (prices,
// margins, conversion rates): a register's text read without any binary rounding, and a
// quotient of two such numbers written as a result is written, to the display's digits or
// to the decimal selection, rounded on its exact value.
// The wide integers of WideInt.h and SelectedResult.h work one step of two registers under a
// selection only; the pricing and conversion quotients join three stored values and are written
// exactly at F as well, within 15 digits, so 128 bits suffice for them here.
#include "CalcNum.h"

#include <string>
#include <string_view>

namespace bansho {

using ExactUInt = unsigned __int128;

// (negative ? -1 : 1) * digits / 10^scale, exactly.
struct ExactNumber {
    bool negative = false;
    ExactUInt digits = 0;
    int scale = 0;
};

// A quotient (negative ? -1 : 1) * num / den; den is never 0.
struct ExactRatio {
    bool negative = false;
    ExactUInt num = 0;
    ExactUInt den = 1;
};

// The most significant digits a number read here may hold; more is refused, so that the
// quotients of the pricing and conversion keys always fit.
inline constexpr int kExactDigitsMax = 15;

// Reads "[blanks][-]digits[.digits]" (".5" and "5." too; the empty text is 0) with at most
// kExactDigitsMax significant digits and 15 decimals. False for any other text.
bool ReadExact(std::string_view text, ExactNumber& n);

// 10^k for 0 <= k <= 38.
ExactUInt Pow10Exact(int k);

// The quotient as a register holds a result of the arithmetic keys:
//  at F (decimals < 0), acount 0: half away from zero to 15 decimals, '.' always, trailing
//    zeros dropped ("8."); acount 1: half away from zero to 15 significant digits, the shortest
//    plain form ("8", "0.5"), an error below 0.0001 (zero aside); either cut to 15 digits.
//  with a selection (decimals 0-4): the exact quotient rounded to that many places by the rule
//    (0 切捨, 1 四捨五入, 2 切上), in the same two forms.
// An error (Error set, empty text) when the whole part has more than 15 digits.
TCalcNum WriteRatio(const ExactRatio& r, int acount, int decimals, int rule);

} // namespace bansho
