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

} // namespace bansho::testing
