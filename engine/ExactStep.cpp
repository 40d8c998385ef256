// The exact step of a receipt's running total: +, - and * worked on the decimal digits in a
// 128-bit integer, taken only where the step in long double is proved to give the same digits
// (NumberTextInternal.h tells why).
#include "NumberTextInternal.h"

#include <algorithm>

namespace bansho::numbertext {

namespace {

constexpr u64 kFirst18 = 100000000000000000ULL; // 10^17, the smallest 18-digit number
constexpr int kMaxDigits = 18;

// Decimal digits of v > 0.
int DigitCount(u128 v) {
    const u64 hi = static_cast<u64>(v >> 64);
    if (hi == 0) return DigitCount64(static_cast<u64>(v));
    const int t = ((128 - __builtin_clzll(hi)) * 1233) >> 12; // as DigitCount64 does
    return t + (v >= Pow10U128(t) ? 1 : 0);
}

} // namespace

bool ExactStep(bool neg, u64 digits, int scale, int decimals, const ExactOperand& b, char ope,
               int acount, ResultDigits& d) {
    if (ope != '+' && ope != '-' && ope != '*') return false;

    // The exact result X = (xneg ? -1 : 1) * x / 10^s, and W (NumberTextInternal.h) as w in
    // the same unit.
    u128 x = 0;
    u128 w = 0;
    int s = 0;
    bool xneg = false;
    int keepDecimals = 15; // a product keeps 15 decimals, a sum those of its operands
    if (ope == '*') {
        x = static_cast<u128>(digits) * b.digits;
        w = x;
        s = scale + b.scale;
        xneg = neg != b.neg;
    } else {
        s = std::max(scale, b.scale);
        const u128 l = static_cast<u128>(digits) * kPow10U64[s - scale];
        const u128 r = static_cast<u128>(b.digits) * kPow10U64[s - b.scale];
        const bool rneg = b.neg != (ope == '-');
        w = l + r;
        if (neg == rneg) {
            x = w;
            xneg = neg;
        } else if (l >= r) {
            x = l - r;
            xneg = neg;
        } else {
            x = r - l;
            xneg = rneg;
        }
        keepDecimals = std::max(decimals, b.decimals);
    }

    d = ResultDigits{};
    d.point = acount == 0;
    if (x == 0) {
        // Operands that cancel, or a factor of zero: the 80-bit step gives zero exactly too (a
        // zero's sign is never written).
        d.zero = true;
        return true;
    }
    d.neg = xneg;
    const int n = DigitCount(x);
    d.p = n - 1 - s;
    if (n <= kMaxDigits) {
        if (!ClearOfRounding18(static_cast<u64>(x), n, w)) return false;
        if (acount == 0 ? s <= keepDecimals : n <= 15) {
            // Nothing to round: the digits of X as they are.
            d.top = static_cast<u64>(x);
            d.overflow = acount == 0 ? d.p + 1 > 15 : d.p >= 15 || d.p < -4;
            return !d.overflow;
        }
        d.top = static_cast<u64>(x) * kPow10U64[kMaxDigits - n];
    } else {
        // More than 18 digits: rounded here half away from zero, as SplitResult rounds r,
        // where r cannot land on the other side of the boundary.
        const int drop = n - kMaxDigits;
        const u128 unit = Pow10U128(drop);
        u64 top = static_cast<u64>(x / unit);
        const u128 rest = x - static_cast<u128>(top) * unit;
        const u128 half = unit / 2;
        if (top == kFirst18) return false; // just above a power of ten: the finer side is near
        const u128 distance = rest > half ? rest - half : half - rest;
        if ((w >> 62) >= distance) return false; // W * 4 * 2^-64 >= distance, or a tie
        if (rest >= half) ++top;
        if (top == kPow10U64[kMaxDigits]) {
            top = kFirst18;
            ++d.p;
        }
        d.top = top;
    }
    RoundResultDigits(d, acount, keepDecimals);
    return !d.overflow;
}

} // namespace bansho::numbertext
