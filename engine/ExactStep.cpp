// The exact step of a receipt's running total: +, - and * worked on the decimal digits in a
// 128-bit integer, taken only where the step on 80-bit numbers is proved to give the same
// digits.
//
// Why it gives the same: the 80-bit step reads each operand to the nearest long double
// (relative error at most 2^-64) and rounds the sum or product once more, so its result r lies
// within 4 * 2^-64 * W of the exact result X, where W is |a| + |b| for a sum and |X| for a
// product. ResultDigits rounds r half away from zero to 18 significant digits before anything
// else; when X is further than that from every point where the 18-digit rounding changes,
// r and X round to the same 18 digits, and all that follows depends only on those.
#include "NumberTextInternal.h"

#include <algorithm>

namespace numbertext {

namespace {

constexpr u64 kFirst18 = 100000000000000000ULL; // 10^17, the smallest 18-digit number
constexpr int kMaxDigits = 18;                  // of an operand the exact step takes
constexpr int kMaxScale = 18;                   // decimals of an operand it takes

// An operand "[-]digits[.digits]": its value (neg ? -1 : 1) * digits / 10^scale, and the
// decimals the step counts for it (the characters after the point, or without a point the
// whole length).
struct Operand {
    bool neg = false;
    u64 digits = 0;
    int scale = 0;
    int decimals = 0;
};

bool ReadOperand(std::string_view t, Operand& o) {
    const char* p = t.data();
    const char* const end = p + t.size();
    o.neg = p < end && *p == '-';
    if (o.neg) ++p;
    u64 m = 0;
    int significant = 0;
    int scale = 0;
    bool point = false;
    bool anyDigit = false;
    for (; p < end; ++p) {
        const unsigned d = static_cast<unsigned char>(*p) - static_cast<unsigned>('0');
        if (d > 9) {
            if (*p != '.' || point) return false; // blanks, signs, letters: the long way
            point = true;
            continue;
        }
        anyDigit = true;
        if (point) ++scale;
        if (m == 0 && d == 0) continue; // zeros in front
        if (++significant > kMaxDigits) return false;
        m = m * 10 + d;
    }
    if (!anyDigit || scale > kMaxScale) return false;
    o.digits = m;
    o.scale = scale;
    o.decimals = point ? scale : static_cast<int>(t.size());
    return true;
}

int BitLength(u128 v) {
    const u64 hi = static_cast<u64>(v >> 64);
    if (hi != 0) return 128 - __builtin_clzll(hi);
    const u64 lo = static_cast<u64>(v);
    return lo == 0 ? 0 : 64 - __builtin_clzll(lo);
}

// Decimal digits of v > 0.
int DigitCount(u128 v) {
    const int t = (BitLength(v) * 1233) >> 12; // floor(log10(2^bits)), one too many at most
    return t + (v >= Pow10U128(t) ? 1 : 0);
}

} // namespace

bool ExactStep(bool neg, u64 digits, int scale, int decimals, std::string_view src, char ope,
               int acount, TResultDigits& d) {
    if (ope != '+' && ope != '-' && ope != '*') return false;
    Operand b;
    if (!ReadOperand(src, b)) return false;

    // The exact result: (xneg ? -1 : 1) * x / 10^s, and W (see above) in the same unit.
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
        const u128 l = static_cast<u128>(digits) * Pow10U128(s - scale);
        const u128 r = static_cast<u128>(b.digits) * Pow10U128(s - b.scale);
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

    d = TResultDigits{};
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
        // X has 18 digits or fewer: it is its own 18-digit rounding, half a unit of the 18th
        // digit from the nearest boundary, or a twentieth of it below a power of ten (where
        // the digits below are ten times finer). Counted in units of the 20th digit, the
        // distance is 50 or 5.
        if ((w >> 64) != 0) return false;
        const u64 top = static_cast<u64>(x) * kPow10U64[kMaxDigits - n];
        const u128 distance = top == kFirst18 ? 5 : 50;
        if (w * Pow10U128(20 - n) >= (distance << 62)) return false;
        d.top = top;
    } else {
        // More than 18 digits: rounded here half away from zero, as ResultDigits rounds r,
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

} // namespace numbertext
