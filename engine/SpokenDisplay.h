#pragma once
// What a screen reader says of the display: the number as a word-free text ("1,234."), or
// "エラー" for the error form, and the marks that are lit, in the order they stand on the
// window (GT, M, K, NUM, the pending operator, the tax-step label, the decimal selection).
#include "DisplayModel.h"

#include <string>

namespace bansho {

std::string SpokenNumber(const DisplayModel& d);
std::string SpokenMarks(const DisplayModel& d);

} // namespace bansho
