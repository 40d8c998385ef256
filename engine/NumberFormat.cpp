// The result writer: a long double to register text through 18 significant digits, with the
// wide integer that scales the binary value to decimal exactly.
#include "NumberText.h"
#include "NumberTextInternal.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace bansho {

using namespace numbertext;

namespace {

// A small unsigned big integer, just wide enough for the scaled results below: with |r|
// between 1e-50 and 1e50, sig * 5^s stays below 2^225 and sig * 2^e * 10^s below 2^142.
struct Big {
    static constexpr int N = 4;
    std::array<u64, N> w{}; // little-endian limbs

    explicit Big(u64 v) { w[0] = v; }
    void MulSmall(u64 m) {
        u64 carry = 0;
        for (auto& x : w) {
            const u128 p = static_cast<u128>(x) * m + carry;
            x = static_cast<u64>(p);
            carry = static_cast<u64>(p >> 64);
        }
    }
    void DivSmall(u64 d) {
        u128 rem = 0;
        for (int i = N - 1; i >= 0; --i) {
            const u128 cur = (rem << 64) | w[static_cast<std::size_t>(i)];
            w[static_cast<std::size_t>(i)] = static_cast<u64>(cur / d);
            rem = cur % d;
        }
    }
    void Shl(int bits) {
        const int limbs = bits / 64;
        const int b = bits % 64;
        for (int i = N - 1; i >= 0; --i) {
            u64 v = 0;
            const int src = i - limbs;
            if (src >= 0) {
                v = w[static_cast<std::size_t>(src)] << b;
                if (b != 0 && src - 1 >= 0) v |= w[static_cast<std::size_t>(src - 1)] >> (64 - b);
            }
            w[static_cast<std::size_t>(i)] = v;
        }
    }
    void Shr(int bits) {
        const int limbs = bits / 64;
        const int b = bits % 64;
        for (int i = 0; i < N; ++i) {
            u64 v = 0;
            const int src = i + limbs;
            if (src < N) {
                v = w[static_cast<std::size_t>(src)] >> b;
                if (b != 0 && src + 1 < N) v |= w[static_cast<std::size_t>(src + 1)] << (64 - b);
            }
            w[static_cast<std::size_t>(i)] = v;
        }
    }
    u128 Low128() const { return (static_cast<u128>(w[1]) << 64) | w[0]; }
};

constexpr u64 kPow5_27 = 7450580596923828125ULL; // 5^27

void MulPow5(Big& b, int n) {
    while (n >= 27) {
        b.MulSmall(kPow5_27);
        n -= 27;
    }
    u64 p = 1;
    for (int i = 0; i < n; ++i)
        p *= 5;
    if (p != 1) b.MulSmall(p);
}

void DivPow5(Big& b, int n) {
    while (n >= 27) {
        b.DivSmall(kPow5_27);
        n -= 27;
    }
    u64 p = 1;
    for (int i = 0; i < n; ++i)
        p *= 5;
    if (p != 1) b.DivSmall(p);
}

// floor(sig * 2^e * 10^s), known to fit into 128 bits.
u128 ScaledFloor(u64 sig, int e, int s) {
    if (s >= 0 && s <= 27) {
        // sig * 5^s fits into 128 bits: the usual sizes of a calculator's numbers.
        u128 v = static_cast<u128>(sig) *
                 static_cast<u128>(kPow10U128[static_cast<std::size_t>(s)] >> s);
        const int sh = e + s;
        if (sh >= 0) return v << sh;
        return -sh >= 128 ? 0 : v >> -sh;
    }
    Big b(sig);
    if (s >= 0) {
        MulPow5(b, s);
        const int sh = e + s;
        if (sh >= 0)
            b.Shl(sh);
        else
            b.Shr(-sh);
    } else {
        const int t = -s;
        const int sh = e - t;
        if (sh >= 0)
            b.Shl(sh);
        else
            b.Shr(-sh);
        DivPow5(b, t);
    }
    return b.Low128();
}

int DecimalDigits(u128 v) {
    // The values here have 19 or 20 digits; start there and walk either way.
    int n = 19;
    while (n > 1 && v < kPow10U128[static_cast<std::size_t>(n - 1)])
        --n;
    while (n < 39 && v >= kPow10U128[static_cast<std::size_t>(n)])
        ++n;
    return n;
}

// |r| = sig * 2^(biased - 16383 - 63) rounded half away from zero to 18 significant digits:
// top (10^17 <= top < 10^18) and the power of ten of its first digit. False for zero.
bool Significant18(u64 sig, int biased, u64& top, int& p) {
    if (sig == 0) return false;
    const int e = biased - 16383 - 63; // |r| = sig * 2^e
    const int ex = e + 64;             // |r| in [2^(ex-1), 2^ex)
    // floor((ex - 1) * log10(2)) for the exponents that can occur here.
    int pEst = ((ex - 1) * 78913) >> 18;
    u128 q = 0;
    int nd = 0;
    int s = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        s = 18 - pEst;
        q = ScaledFloor(sig, e, s);
        nd = DecimalDigits(q);
        if (nd >= 19 && nd <= 20) break;
        pEst += (nd < 19) ? -1 : 1;
    }
    const int k = nd - 18;
    if (k <= 0) {
        top =
            static_cast<u64>(q * Pow10U128(-k)); // not reached: the estimate is off by one at most
    } else {
        // q has 19 or 20 digits: one division (in 64 bits when q fits), the rest in 64 bits.
        const u128 pk = Pow10U128(k);
        // k is 1 or 2 here; dividing by those constants spares a hardware divide.
        if ((q >> 64) != 0)
            top = static_cast<u64>(q / pk);
        else if (k == 1)
            top = static_cast<u64>(q) / 10;
        else if (k == 2)
            top = static_cast<u64>(q) / 100;
        else
            top = static_cast<u64>(q) / static_cast<u64>(pk);
        const u128 rest = q - static_cast<u128>(top) * pk;
        if (rest >= 5 * Pow10U128(k - 1)) ++top;
    }
    p = nd - 1 - s;
    if (top == kPow10U64[18]) {
        top /= 10;
        ++p;
    }
    return true;
}

// v / 10^k for k = 0..19, each a division by a constant (a multiplication, not a divide).
template <std::size_t... K> u64 DivPow10(u64 v, int k, std::index_sequence<K...>) {
    u64 q = v;
    static_cast<void>(((k == static_cast<int>(K) ? (q = v / kPow10U64[K], true) : false) || ...));
    return q;
}
u64 DivPow10(u64 v, int k) {
    return DivPow10(v, k, std::make_index_sequence<std::size(kPow10U64)>{});
}

// Rounds the 18 digits of `top` (first digit worth 10^p) half away from zero to `keep`
// digits (keep may be 0 or negative). A carry out of the first digit gives one digit more
// and raises p. False when nothing is left (the value rounds to zero).
bool RoundDigits(u64& top, int& p, int keep) {
    if (keep >= 18) return true;
    if (keep < 0) return false;
    const u64 unit = kPow10U64[18 - keep];
    u64 q = DivPow10(top, 18 - keep);
    if (top - q * unit >= unit / 2) ++q;
    if (q == 0) return false;
    if (q == kPow10U64[keep]) ++p; // 99.9 -> 100: one digit more
    top = q;
    return true;
}

// Writes the decimal digits of v (at least one) ending just before `end`; returns the start.
constexpr char kDigitPairs[] = "00010203040506070809101112131415161718192021222324"
                               "25262728293031323334353637383940414243444546474849"
                               "50515253545556575859606162636465666768697071727374"
                               "75767778798081828384858687888990919293949596979899";

// Exactly eight digits of v < 10^8, zeros in front, into p[0..7].
void WriteEight(std::uint32_t v, char* p) {
    const std::uint32_t hi = v / 10000, lo = v % 10000;
    std::memcpy(p, kDigitPairs + 2 * (hi / 100), 2);
    std::memcpy(p + 2, kDigitPairs + 2 * (hi % 100), 2);
    std::memcpy(p + 4, kDigitPairs + 2 * (lo / 100), 2);
    std::memcpy(p + 6, kDigitPairs + 2 * (lo % 100), 2);
}

// The digits of v < 10^8 without zeros in front (at least one digit), ending before `end`.
char* WriteShort(std::uint32_t v, char* end) {
    char* p = end;
    while (v >= 100) {
        p -= 2;
        std::memcpy(p, kDigitPairs + 2 * (v % 100), 2);
        v /= 100;
    }
    if (v >= 10) {
        p -= 2;
        std::memcpy(p, kDigitPairs + 2 * v, 2);
    } else {
        *--p = static_cast<char>('0' + v);
    }
    return p;
}

// Writes the decimal digits of v (at least one) ending just before `end`; returns the start.
// Eight digits at a time, so that the divisions do not wait on one another.
char* WriteDigits(u64 v, char* end) {
    constexpr u64 k8 = 100000000ULL;
    if (v < k8) return WriteShort(static_cast<std::uint32_t>(v), end);
    const u64 high = v / k8;
    WriteEight(static_cast<std::uint32_t>(v % k8), end - 8);
    if (high < k8) return WriteShort(static_cast<std::uint32_t>(high), end - 8);
    WriteEight(static_cast<std::uint32_t>(high % k8), end - 16);
    return WriteShort(static_cast<std::uint32_t>(high / k8), end - 16);
}

// The plain text of a digit value whose first digit is worth 10^p: optional '-', the
// integer part (at least "0"), and the fraction without trailing zeros, after a '.' that is
// always written (`point` true) or only before a fraction, into `text`. `intDigits` gets the
// length of the integer part.
void PlainText(bool neg, u64 value, int p, bool point, int& intDigits, std::string& text) {
    char digitBuf[24];
    char* const dEnd = digitBuf + sizeof digitBuf;
    const char* d = WriteDigits(value, dEnd);
    int n = static_cast<int>(dEnd - d);
    while (n > 1 && d[n - 1] == '0') // trailing zeros are only ever cut from the fraction
        --n;

    char out[160]; // p lies within -52..51 and there are at most 19 digits
    char* o = out;
    if (neg) *o++ = '-';
    if (p >= 0) {
        const int intLen = p + 1;
        const int fromDigits = std::min(intLen, n);
        std::memcpy(o, d, static_cast<std::size_t>(fromDigits));
        o += fromDigits;
        for (int i = fromDigits; i < intLen; ++i)
            *o++ = '0';
        intDigits = intLen;
        const int fracLen = n > intLen ? n - intLen : 0;
        if (point || fracLen > 0) *o++ = '.';
        std::memcpy(o, d + intLen, static_cast<std::size_t>(fracLen));
        o += fracLen;
    } else {
        *o++ = '0';
        intDigits = 1;
        *o++ = '.';
        for (int i = 0; i < -p - 1; ++i)
            *o++ = '0';
        std::memcpy(o, d, static_cast<std::size_t>(n));
        o += n;
    }
    text.assign(out, static_cast<std::size_t>(o - out));
}

} // namespace

namespace numbertext {

ResultDigits SplitResult(long double r, int acount, int decimals) {
    ResultDigits d;
    d.point = acount == 0;
    // The 80-bit format holds the 64-bit significand (explicit leading bit) in its low eight
    // bytes, then the sign and the biased exponent. Reading them once spares the x87 unit a
    // chain of comparisons that each wait for the last.
    static_assert(sizeof(long double) >= 10 && std::numeric_limits<long double>::digits == 64);
    unsigned char raw[sizeof(long double)];
    std::memcpy(raw, &r, 10);
    u64 sig = 0;
    std::memcpy(&sig, raw, 8);
    const int biased = (raw[8] | (raw[9] << 8)) & 0x7FFF;
    const int ex2 = biased - 16383; // |r| in [2^ex2, 2^(ex2 + 1)) when normal
    // Not finite, or 1e50 and more (1e50 lies between 2^166 and 2^167).
    if (biased == 0x7FFF || ex2 > 166 || (ex2 == 166 && std::fabs(r) >= 1e50L)) {
        d.overflow = true;
        d.empty = true;
        return d;
    }
    // Far below any decimal a result can keep (1e-50 lies between 2^-167 and 2^-166).
    if (sig != 0 && (ex2 < -167 || (ex2 == -167 && std::fabs(r) < 1e-50L))) {
        d.overflow = acount == 1;
        d.zero = true;
        d.point = acount != 1;
        return d;
    }
    d.neg = (raw[9] & 0x80) != 0;
    if (!Significant18(sig, biased, d.top, d.p)) {
        d.zero = true;
        return d;
    }
    RoundResultDigits(d, acount, decimals);
    return d;
}

void RoundResultDigits(ResultDigits& d, int acount, int decimals) {
    if (acount == 0) {
        if (!RoundDigits(d.top, d.p, d.p + decimals + 1)) {
            d.zero = true;
            return;
        }
        d.overflow = d.p + 1 > 15; // more than 15 integer digits
        return;
    }
    // Rounding mode.
    RoundDigits(d.top, d.p, 15);
    d.overflow = d.p >= 15 || d.p < -4;
}

void WriteResult(const ResultDigits& d, std::string& text) {
    if (d.empty) {
        text.clear();
    } else if (d.zero) {
        text.assign(d.point ? "0." : "0");
    } else {
        int intDigits = 0;
        PlainText(d.neg, d.top, d.p, d.point, intDigits, text);
    }
}

// FormatResult into a string that already exists (a register's text keeps its buffer).
void FormatInto(long double r, int acount, int decimals, bool& overflow, std::string& text) {
    const ResultDigits d = SplitResult(r, acount, decimals);
    overflow = d.overflow;
    WriteResult(d, text);
}

} // namespace numbertext

std::string FormatResult(long double r, int acount, int decimals, bool& overflow) {
    std::string text;
    FormatInto(r, acount, decimals, overflow, text);
    return text;
}

} // namespace bansho
