#pragma once
// Decimal text <-> 80-bit extended numbers, independent of the user's locale, and the pure
// arithmetic step that every calculation of the engine goes through.
#include "CalcNum.h"

#include <string>
#include <string_view>

namespace bansho::numbertext {
struct ExactOperand;
struct ResultDigits;
} // namespace bansho::numbertext

namespace bansho {

// Reads "[blanks][-]digits[.digits]" (at least one digit; ".5" and "5." read too) into the
// nearest long double. The point is always '.'; no locale, no exponent, no '+'. False for
// any other text.
bool ParseNumber(std::string_view text, long double& value);

// Writes a result as register text.
//  acount 0 (cut): rounded to 18 significant digits, then half away from zero to `decimals`
//    places; always a '.', trailing zeros removed (eight is "8."). Overflow when the integer
//    part has more than 15 digits.
//  acount 1 (round): 18 significant digits, then half away from zero to 15 significant digits,
//    shortest plain form ("8", "0.5", "-2.25"). Overflow at 10^15 or more, or non-zero below
//    0.0001.
// The text is not yet cut to the digit limit. Non-finite values overflow.
std::string FormatResult(long double r, int acount, int decimals, bool& overflow);

// dst := dst ope src (ope '+', '-', '*', '/'; mode '%' for the percent forms, anything else
// plain). Both operands are normalised in place first (trailing '.' dropped, empty -> "0").
// An errored dst is left with its normalised text; an errored src makes dst errored too. Returns
// false, with the operand text that does not read as a number in *badText, when a conversion fails;
// nothing is then written.
bool CalcNumbers(TCalcNum& dst, TCalcNum& src, char ope, char mode, int acount,
                 std::string* badText);

// A running total for folding number texts left to right (the re-total of a receipt). Each
// step is exactly CalcNumbers(total, src, ope, ' ', acount) on the total's text, but the total
// is carried as its value and its text is written only when asked for. A step that this
// cannot take (a text that is not a plain ASCII number, an overflow, a division by zero, an
// unknown operator or mode) returns false and changes nothing: go on from Total() with
// CalcNumbers, which gives the texts, errors and messages of that step.
//
// With a decimal selection (decimals 0-4) each step is worked and rounded exactly
// (CalcSelected); then only sums whose digits need no rounding are taken.
class RunningTotal {
public:
    // Starts as the empty register.
    explicit RunningTotal(int acount, int decimals = -1);
    // total := total ope src; srcText as a register or receipt holds it.
    bool Step(std::string_view srcText, char ope);
    // The total as CalcNumbers would have left it (its Error is never set).
    TCalcNum Total() const;

private:
    // The total's text as the next step reads it, as a long double.
    long double Value() const;
    // A sum that keeps every digit, taken exactly; false when it may not.
    bool ShortSum(const numbertext::ExactOperand& b, bool minus);
    // Takes the result of a step.
    void Settle(const numbertext::ResultDigits& d);
    // Takes the sum that ShortSum left, if any.
    void Settle();

    int acount_;
    int selection_; // decimals of the selection, or negative for none
    // The total's text as the next step reads it (cut to the digit limit): the value
    // (neg_ ? -1 : 1) * digits_ / 10^scale_, exactly.
    unsigned long long digits_ = 0;
    int scale_ = 0;
    int decimals_ = 1;  // its decimals as the next step counts them ("" reads as "0")
    bool empty_ = true; // the empty register
    bool zero_ = false; // "0." or "0"
    bool neg_ = false;
    // Only digits_, scale_ and neg_ hold, with trailing zeros in digits_: the exact sum the
    // last steps left, its text not yet written (Settle).
    bool plain_ = false;
    unsigned long long top_ = 0; // the digits of the last result, the first worth 10^p_
    int p_ = 0;
    bool point_ = true;
};

// "'%s' は浮動小数点数ではありません。" with the text in place of %s.
std::string NotFloatMessage(std::string_view text);

} // namespace bansho
