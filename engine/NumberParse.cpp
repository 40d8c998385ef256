// The number reader: decimal text to the nearest long double, whatever the user's locale.
#include "NumberText.h"
#include "NumberTextInternal.h"

#include <cmath>

namespace bansho {

using namespace numbertext;

namespace {

int BitLength(u128 v) {
    int n = 0;
    while (v != 0) {
        v >>= 1;
        ++n;
    }
    return n;
}

// sig * 2^exp rounded half to even in its last bit: `round` is the first bit dropped,
// `sticky` whether any bit after it was set.
long double RoundHalfEven(u64 sig, int exp, bool round, bool sticky) {
    if (round && (sticky || (sig & 1))) {
        ++sig;
        if (sig == 0) { // carried out of 64 bits: 2^64 * 2^exp
            sig = static_cast<u64>(1) << 63;
            ++exp;
        }
    }
    return std::ldexp(static_cast<long double>(sig), exp);
}

// Nearest long double to (M + a little when sticky) / 10^k, M < 10^36, k <= 36, by exact
// binary long division and round-half-even.
long double DivideExact(u128 m, int k, bool stickyIn) {
    const u128 d = Pow10U128(k);
    u128 q = m / d;
    u128 r = m % d;
    u64 sig = 0;
    int exp = 0; // value = sig * 2^exp before rounding
    int have = 0;
    if (q != 0) {
        const int nb = BitLength(q);
        if (nb > 64) {
            const int drop = nb - 64;
            sig = static_cast<u64>(q >> drop);
            const u128 rest = q & ((static_cast<u128>(1) << drop) - 1);
            const bool round = (rest >> (drop - 1)) & 1;
            const bool sticky =
                (rest & ((static_cast<u128>(1) << (drop - 1)) - 1)) != 0 || r != 0 || stickyIn;
            return RoundHalfEven(sig, drop, round, sticky);
        }
        sig = static_cast<u64>(q);
        have = nb;
    }
    // Fraction bits, one at a time; leading zero bits of a pure fraction only move the exponent.
    while (have < 64) {
        r <<= 1;
        const bool bit = r >= d;
        if (bit) r -= d;
        if (have == 0 && !bit) {
            --exp;
            if (exp < -400) return 0.0L; // never reached for texts of a register's length
            continue;
        }
        sig = (sig << 1) | (bit ? 1 : 0);
        ++have;
        --exp;
    }
    r <<= 1;
    const bool round = r >= d;
    if (round) r -= d;
    return RoundHalfEven(sig, exp, round, r != 0 || stickyIn);
}

// Any length of text: up to 36 significant digits are kept exactly, the rest only as "more".
bool ParseGeneral(std::string_view text, long double& value) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    bool neg = false;
    if (i < text.size() && text[i] == '-') {
        neg = true;
        ++i;
    }
    u64 m64 = 0;         // the first 19 significant digits, in 64 bits while they fit
    u128 m = 0;          // all of them, once there are more
    int kept = 0;        // significant digits held
    int exp10 = 0;       // value = m * 10^exp10 (+ sticky)
    bool sticky = false; // a dropped digit was not zero
    bool anyDigit = false;
    bool point = false;
    constexpr int kMaxKept = 36;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.') {
            if (point) return false;
            point = true;
            continue;
        }
        if (c < '0' || c > '9') return false;
        anyDigit = true;
        const int d = c - '0';
        if (kept == 0 && d == 0) {
            if (point) --exp10;
            continue;
        }
        if (kept < kMaxKept) {
            if (kept < 19)
                m64 = m64 * 10 + static_cast<u64>(d);
            else
                m = (kept == 19 ? static_cast<u128>(m64) : m) * 10 + static_cast<u128>(d);
            ++kept;
            if (point) --exp10;
        } else {
            if (d != 0) sticky = true;
            if (!point) ++exp10;
        }
    }
    if (!anyDigit) return false;
    if (kept <= 19) m = m64;
    long double v = 0.0L;
    if (m == 0) {
        v = 0.0L;
    } else if (!sticky && (m >> 64) == 0 && exp10 >= -kExactPow10 && exp10 <= kExactPow10) {
        // One correctly rounded operation on exact operands.
        const long double mm = static_cast<long double>(static_cast<u64>(m));
        v = exp10 >= 0 ? mm * kPow10L[static_cast<std::size_t>(exp10)]
                       : mm / kPow10L[static_cast<std::size_t>(-exp10)];
    } else if (exp10 <= 0 && exp10 >= -kMaxKept) {
        v = DivideExact(m, -exp10, sticky);
    } else {
        // Longer than any register text; close enough.
        v = static_cast<long double>(m) * std::pow(10.0L, static_cast<long double>(exp10));
    }
    value = neg ? -v : v;
    return true;
}

} // namespace

bool ParseNumber(std::string_view text, long double& value) {
    // The texts of registers and receipts: at most 19 significant digits, read in one pass
    // into 64 bits; anything longer or smaller goes to the general reader.
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end && static_cast<unsigned char>(*p) <= ' ')
        ++p;
    const bool neg = p < end && *p == '-';
    if (neg) ++p;
    u64 m = 0;
    int kept = 0;
    int exp10 = 0;
    bool anyDigit = false;
    for (; p < end; ++p) {
        const unsigned d = static_cast<unsigned char>(*p) - static_cast<unsigned>('0');
        if (d > 9) break;
        anyDigit = true;
        if (kept == 0 && d == 0) continue;
        if (kept == 19) return ParseGeneral(text, value);
        m = m * 10 + d;
        ++kept;
    }
    if (p < end && *p == '.') {
        for (++p; p < end; ++p) {
            const unsigned d = static_cast<unsigned char>(*p) - static_cast<unsigned>('0');
            if (d > 9) break;
            anyDigit = true;
            --exp10;
            if (kept == 0 && d == 0) continue;
            if (kept == 19) return ParseGeneral(text, value);
            m = m * 10 + d;
            ++kept;
        }
    }
    if (p != end || !anyDigit) return false; // another character, a second point, no digit
    if (exp10 < -kExactPow10) return ParseGeneral(text, value);
    // One correctly rounded operation on exact operands.
    const long double v =
        m == 0 ? 0.0L : static_cast<long double>(m) / kPow10L[static_cast<std::size_t>(-exp10)];
    value = neg ? -v : v;
    return true;
}

} // namespace bansho
