#pragma once
// Conversion rates: the home unit (C1, rate 1) and two stored rates (C2, C3), each with a
// name ("USD" 0.0067, "坪" 3.30579). A rate is exact decimal text: how many of its unit one
// home unit is worth. An amount is converted exactly and its result rounded once, as a result
// of the arithmetic keys is.
#include "CalcNum.h"

#include <string>
#include <string_view>

namespace bansho {

// Settings texts: a rate is plain decimal digits with at most one point, greater than zero,
// at most 15 significant digits and 15 decimals ("0.0067", "3.30579", "150").
bool IsValidRate(std::string_view rate);
// A unit name: at most kRateNameWidth Shift_JIS bytes, no control character, no comma or quote
// (it sits in a settings line) - and not only blanks.
inline constexpr std::size_t kRateNameWidth = 12;
bool IsValidRateName(std::string_view name);

// amount × rate (home into the rate's unit) and amount ÷ rate (back home). False when the
// amount does not read as a number; the result's Error is set for an overflow. `rate` must be
// valid.
bool ConvertFromHome(std::string_view amount, std::string_view rate, int acount, int decimals,
                     int rule, TCalcNum& result);
bool ConvertToHome(std::string_view amount, std::string_view rate, int acount, int decimals,
                   int rule, TCalcNum& result);

} // namespace bansho
