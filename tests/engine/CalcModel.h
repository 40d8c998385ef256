#pragma once
// An independent model of the calculator's arithmetic on decimal texts, written apart from
// the engine: the C library reads the operands (in the "C" locale) and prints the exact
// decimal expansion of each result, and the rounding is done on those digit strings.
#include <string>

namespace bansho::testing {

struct ModelNum {
    std::string text;
    bool error = false;
};

// dst := dst ope src as the calculator does it (mode '%' for the percent forms).
void ModelCalc(ModelNum& dst, ModelNum& src, char ope, char mode, int acount);

// A result under the decimal selector: `decimals` places (negative: F, unchanged) by rule
// 0 toward zero, 1 half away from zero, 2 away from zero.
void ModelRound(ModelNum& n, int decimals, int rule, int acount);

} // namespace bansho::testing
