#pragma once
// An independent model of a result under the decimal selector, written apart from the engine:
// the operands are read as exact fractions of decimal-digit strings, the operation is worked
// on those fractions with schoolbook arithmetic on digit strings, and the exact value is
// rounded to n places by the rule and then shown:
//  - 切捨 (0) toward zero, 四捨五入 (1) half away from zero, 切上 (2) away from zero;
//  - when the whole part leaves the 15 digits of the display fewer than n places, it is
//    rounded by the same rule at the last place the display shows;
//  - a whole part of more than 15 digits after the rounding is the error display;
//  - fraction zeros are dropped, "-0" never shows; the truncating mode (acount 0) writes
//    whole numbers with their point ("8."), the rounding mode without ("8").
#include "CalcModel.h"

#include <string>

namespace bansho::testing {

// dst := dst ope src (mode '%' for the percent forms: a × ((b + 100) ÷ 100), a × ((100 − b)
// ÷ 100), a × (b ÷ 100), a ÷ (b ÷ 100)) rounded as above; division by zero and an errored
// operand give an error. Operands that end in '.' or are empty read as the calculator reads
// them.
void ModelSelected(ModelNum& dst, const ModelNum& src, char ope, char mode, int acount,
                   int decimals, int rule);

// The tax in an amount with tax: amount × rate ÷ (100 + rate), rounded as above.
ModelNum ModelTaxContained(const std::string& amount, const std::string& rate, int acount,
                           int decimals, int rule);

} // namespace bansho::testing
