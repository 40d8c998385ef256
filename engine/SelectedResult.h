#pragma once
// A result under the decimal selection, worked exactly: the decimal digits of both operands give
// the exact value of the operation, which is rounded once, to the selected places by the selected
// rule, and only then written as a register's text. Nothing is cut to the display before the
// rounding.
#include "CalcNum.h"

#include <string>

namespace bansho {

// dst := dst ope src as CalcNumbers takes it (the same operands normalised in place, the same
// texts that stop it with *badText, the same errors for a failed operand and a division by
// zero), but with a decimal selection (decimals >= 0) the result is the exact value rounded to
// `decimals` places by `rule` - or to the last place the fifteen digits of the display show,
// when the whole part leaves fewer - and written "8." (acount 0) or "8" (acount 1), fraction
// zeros dropped, "-0" never. A rounded whole part of more than 15 digits is an overflow. At F
// (decimals < 0) and in a mode that does not exist it is CalcNumbers.
bool CalcSelected(TCalcNum& dst, TCalcNum& src, char ope, char mode, int acount, int decimals,
                  int rule, std::string* badText);

// The tax contained in an amount with tax at `rate` percent, amount × rate ÷ (100 + rate),
// exactly, rounded and written as CalcSelected writes a result. False, with the text in
// *badText, when an operand does not read as a number; a rate of -100 gives an error.
bool TaxContainedSelected(const TCalcNum& amount, const TCalcNum& rate, int acount, int decimals,
                          int rule, TCalcNum& tax, std::string* badText);

} // namespace bansho
