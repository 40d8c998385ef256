#pragma once
// What the number reader, the result writer and the arithmetic step of NumberText.h share:
// the power-of-ten tables and a result on its way to text. Not for use outside them.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace bansho::numbertext {

using u64 = std::uint64_t;
using u128 = unsigned __int128;

// Powers of ten up to 10^27 are exact in the 64-bit significand of long double.
inline constexpr int kExactPow10 = 27;
inline constexpr std::array<long double, kExactPow10 + 1> kPow10L = [] {
    std::array<long double, kExactPow10 + 1> a{};
    long double p = 1.0L;
    for (auto& x : a) {
        x = p;
        p *= 10.0L;
    }
    return a;
}();

// 10^0 .. 10^38, all of which fit into 128 bits.
inline constexpr std::array<u128, 39> kPow10U128 = [] {
    std::array<u128, 39> a{};
    u128 p = 1;
    for (auto& x : a) {
        x = p;
        p *= 10;
    }
    return a;
}();

inline u128 Pow10U128(int k) {
    return kPow10U128[static_cast<std::size_t>(k)];
}

inline constexpr u64 kPow10U64[] = {1ULL,
                                    10ULL,
                                    100ULL,
                                    1000ULL,
                                    10000ULL,
                                    100000ULL,
                                    1000000ULL,
                                    10000000ULL,
                                    100000000ULL,
                                    1000000000ULL,
                                    10000000000ULL,
                                    100000000000ULL,
                                    1000000000000ULL,
                                    10000000000000ULL,
                                    100000000000000ULL,
                                    1000000000000000ULL,
                                    10000000000000000ULL,
                                    100000000000000000ULL,
                                    1000000000000000000ULL,
                                    10000000000000000000ULL};

// Decimal digits of v > 0.
inline int DigitCount64(u64 v) {
    // t = floor(log10(2^bits)) is the number of digits or one less.
    const int t = ((64 - __builtin_clzll(v)) * 1233) >> 12;
    return t + (v >= kPow10U64[t] ? 1 : 0);
}

// A result on its way to text: nothing (not finite, 1e50 or more), zero, or digits.
struct ResultDigits {
    bool overflow = false; // the register gets its Error flag
    bool empty = false;    // no text at all
    bool zero = false;     // "0." (point) or "0"
    bool neg = false;
    u64 top = 0; // the digits, first one worth 10^p
    int p = 0;
    bool point = true; // the truncating mode always writes the point
};

ResultDigits SplitResult(long double r, int acount, int decimals);
// The last part of SplitResult: d holds the 18 significant digits of a non-zero result (top
// from 10^17 to 10^18 - 1), rounded as `acount` and `decimals` say, with the overflow marked.
void RoundResultDigits(ResultDigits& d, int acount, int decimals);

void WriteResult(const ResultDigits& d, std::string& text);
// FormatResult into a string that already exists (a register's text keeps its buffer).
void FormatInto(long double r, int acount, int decimals, bool& overflow, std::string& text);

// ---- Exact steps of a receipt's running total ----
//
// A step of the running total works on 80-bit numbers: it reads each operand to the nearest
// long double (relative error at most 2^-64) and rounds the sum or product once more, so its
// result r lies within 4 * 2^-64 * W of the exact result X, where W is |a| + |b| for a sum and
// |X| for a product. SplitResult rounds r half away from zero to 18 significant digits before
// anything else; when X is further than that from every point where the 18-digit rounding
// changes, r and X round to the same 18 digits, and all that follows depends only on those.
// So a step worked exactly on the decimal digits gives the same text wherever that holds.

// An operand the exact steps take, "[-]digits[.digits]" with at most 18 significant digits and
// 18 decimals: (neg ? -1 : 1) * digits / 10^scale, and the decimals the step counts for it (the
// characters after the point, or without a point the whole length).
struct ExactOperand {
    bool neg = false;
    u64 digits = 0;
    int scale = 0;
    int decimals = 0;
};

// False for any other text (blanks, signs, letters, more digits): the step in long double.
inline bool ReadExactOperand(std::string_view t, ExactOperand& o) {
    const char* p = t.data();
    const char* const end = p + t.size();
    o.neg = p < end && *p == '-';
    if (o.neg) ++p;
    const char* const first = p;
    u64 m = 0;
    unsigned d = 0;
    while (p < end && (d = static_cast<unsigned char>(*p) - static_cast<unsigned>('0')) <= 9) {
        m = m * 10 + d;
        ++p;
    }
    int count = static_cast<int>(p - first);
    int scale = 0;
    const bool point = p < end && *p == '.';
    if (point) {
        const char* const fraction = ++p;
        while (p < end && (d = static_cast<unsigned char>(*p) - static_cast<unsigned>('0')) <= 9) {
            m = m * 10 + d;
            ++p;
        }
        scale = static_cast<int>(p - fraction);
        count += scale;
    }
    if (p != end || count == 0) return false;
    if (count > 18) {
        // Zeros in front do not count, nor are they in m; read again without them.
        if (scale > 18) return false;
        m = 0;
        int significant = 0;
        for (p = first; p < end; ++p) {
            d = static_cast<unsigned char>(*p) - static_cast<unsigned>('0');
            if (d > 9 || (m == 0 && d == 0)) continue;
            if (++significant > 18) return false;
            m = m * 10 + d;
        }
    }
    o.digits = m;
    o.scale = scale;
    o.decimals = point ? scale : static_cast<int>(t.size());
    return true;
}

// For an exact result X = x / 10^s of n <= 18 digits (x > 0) and W = w / 10^s: true when r
// cannot round to other 18 digits than X. X is its own 18-digit rounding, half a unit of the
// 18th digit from the nearest boundary, or a twentieth of it below a power of ten (where the
// digits below are ten times finer); counted in units of the 20th digit, that is 50 or 5.
inline bool ClearOfRounding18(u64 x, int n, u128 w) {
    if ((w >> 64) != 0) return false;
    const u128 distance = x == kPow10U64[n - 1] ? 5 : 50;
    return static_cast<u128>(static_cast<u64>(w)) * kPow10U64[20 - n] < (distance << 62);
}

// One step, total := total ope b, with the total (neg ? -1 : 1) * digits / 10^scale counted as
// `decimals` decimals. Gives in d exactly what SplitResult gives for the step in long double;
// false, with d undefined, where that is not proved (a division, a result close to a rounding
// boundary, an overflow): the step is then to be worked in long double.
bool ExactStep(bool neg, u64 digits, int scale, int decimals, const ExactOperand& b, char ope,
               int acount, ResultDigits& d);

} // namespace bansho::numbertext
