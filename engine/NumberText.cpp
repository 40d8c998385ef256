#include "NumberText.h"

#include "TextFunctions.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>

namespace {

using u64 = std::uint64_t;
using u128 = unsigned __int128;

// Powers of ten up to 10^27 are exact in the 64-bit significand of long double.
constexpr int kExactPow10 = 27;
const std::array<long double, kExactPow10 + 1> kPow10L = [] {
    std::array<long double, kExactPow10 + 1> a{};
    long double p = 1.0L;
    for (auto& x : a) {
        x = p;
        p *= 10.0L;
    }
    return a;
}();

// 10^0 .. 10^38, all of which fit into 128 bits.
const std::array<u128, 39> kPow10U128 = [] {
    std::array<u128, 39> a{};
    u128 p = 1;
    for (auto& x : a) {
        x = p;
        p *= 10;
    }
    return a;
}();

u128 Pow10U128(int k) {
    return kPow10U128[static_cast<std::size_t>(k)];
}

int BitLength(u128 v) {
    int n = 0;
    while (v != 0) {
        v >>= 1;
        ++n;
    }
    return n;
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
            exp = drop;
            if (round && (sticky || (sig & 1))) {
                ++sig;
                if (sig == 0) {
                    sig = static_cast<u64>(1) << 63;
                    ++exp;
                }
            }
            return std::ldexp(static_cast<long double>(sig), exp);
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
    const bool sticky = r != 0 || stickyIn;
    if (round && (sticky || (sig & 1))) {
        ++sig;
        if (sig == 0) {
            sig = static_cast<u64>(1) << 63;
            ++exp;
        }
    }
    return std::ldexp(static_cast<long double>(sig), exp);
}

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

constexpr u64 kPow10U64[] = {1ULL,
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

namespace {

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

namespace {

// A result on its way to text: nothing (not finite, 1e50 or more), zero, or digits.
struct TResultDigits {
    bool overflow = false; // the register gets its Error flag
    bool empty = false;    // no text at all
    bool zero = false;     // "0." (point) or "0"
    bool neg = false;
    u64 top = 0; // the digits, first one worth 10^p
    int p = 0;
    bool point = true; // the truncating mode always writes the point
};

TResultDigits ResultDigits(long double r, int acount, int decimals) {
    TResultDigits d;
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
    if (acount == 0) {
        if (!RoundDigits(d.top, d.p, d.p + decimals + 1)) {
            d.zero = true;
            return d;
        }
        d.overflow = d.p + 1 > 15; // more than 15 integer digits
        return d;
    }
    // Rounding mode.
    RoundDigits(d.top, d.p, 15);
    d.overflow = d.p >= 15 || d.p < -4;
    return d;
}

void WriteResult(const TResultDigits& d, std::string& text) {
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
    const TResultDigits d = ResultDigits(r, acount, decimals);
    overflow = d.overflow;
    WriteResult(d, text);
}

// How many decimals an operand carries; a text without a point counts its whole length.
int OperandDecimals(std::string_view t) {
    for (std::size_t i = 0; i < t.size(); ++i)
        if (t[i] == '.') return static_cast<int>(t.size() - i - 1);
    return static_cast<int>(t.size());
}

// A register's text is cut to 15 digits, plus its sign and point.
void CutToDigitLimit(std::string& t) {
    if (t.size() > 15) t.resize(std::min(t.size(), DigitLimit(t))); // the limit is 15 or more
}

} // namespace

std::string FormatResult(long double r, int acount, int decimals, bool& overflow) {
    std::string text;
    FormatInto(r, acount, decimals, overflow, text);
    return text;
}

bool CalcNumbers(TCalcNum& dst, TCalcNum& src, char ope, char mode, int acount,
                 std::string* badText) {
    for (TCalcNum* n : {&dst, &src}) {
        if (!n->Text.empty() && n->Text.back() == '.') n->Text.pop_back();
        if (n->Text.empty()) n->Text = "0";
    }
    const int decDst = OperandDecimals(dst.Text);
    const int decSrc = OperandDecimals(src.Text);
    long double a = 0.0L, b = 0.0L;
    if (!ParseNumber(dst.Text, a)) {
        if (badText) *badText = dst.Text;
        return false;
    }
    if (!ParseNumber(src.Text, b)) {
        if (badText) *badText = src.Text;
        return false;
    }
    // A failed operand gives a failed result: its text is only the first characters of an
    // overflow, or an untouched first operand, and must not pass for a number.
    if (src.Error) dst.Error = true;
    if (dst.Error) return true;
    long double r = 0.0L;
    const long double hundred = 100.0L;
    if (mode == '%') {
        switch (ope) {
        case '+':
            r = a * ((b + hundred) / hundred);
            break;
        case '-':
            r = a * ((hundred - b) / hundred);
            break;
        case '*':
            r = a * (b / hundred);
            break;
        case '/':
            if (b == 0.0L)
                dst.Error = true;
            else
                r = a / (b / hundred);
            break;
        default:
            return true;
        }
    } else {
        switch (ope) {
        case '+':
            r = a + b;
            break;
        case '-':
            r = a - b;
            break;
        case '*':
            r = a * b;
            break;
        case '/':
            if (b == 0.0L)
                dst.Error = true;
            else
                r = a / b;
            break;
        default:
            return true;
        }
    }
    if (dst.Error) return true;
    if (acount != 0 && acount != 1) return true;
    const int decimals = (ope == '+' || ope == '-') ? std::max(decDst, decSrc) : 15;
    bool overflow = false;
    FormatInto(r, acount, decimals, overflow, dst.Text);
    CutToDigitLimit(dst.Text);
    dst.Error = overflow;
    return true;
}

std::string NotFloatMessage(std::string_view text) {
    std::string m = "'";
    m += text;
    m += "' は浮動小数点数ではありません。";
    return m;
}

// ---- TChainTotal ----------------------------------------------------------------------------

TChainTotal::TChainTotal(int acount) : acount_(acount) {}

bool TChainTotal::Step(std::string_view srcText, char ope) {
    if (acount_ != 0 && acount_ != 1) return false;
    if (ope != '+' && ope != '-' && ope != '*' && ope != '/') return false;
    // The operand as CalcNumbers reads it: the register's first 22 characters (the text is
    // ASCII, so characters are bytes), a trailing point dropped, empty read as "0".
    for (const char c : srcText)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    std::string_view src =
        srcText.substr(0, std::min<std::size_t>(srcText.size(), kCalcNumTextMax));
    if (!src.empty() && src.back() == '.') src.remove_suffix(1);
    if (src.empty()) src = "0";
    long double b = 0.0L;
    if (!ParseNumber(src, b)) return false;
    const int decSrc = OperandDecimals(src);

    long double r = 0.0L;
    switch (ope) {
    case '+':
        r = value_ + b;
        break;
    case '-':
        r = value_ - b;
        break;
    case '*':
        r = value_ * b;
        break;
    default:
        if (b == 0.0L) return false;
        r = value_ / b;
        break;
    }
    const int decimals = (ope == '+' || ope == '-') ? std::max(decimals_, decSrc) : 15;
    const TResultDigits d = ResultDigits(r, acount_, decimals);
    if (d.overflow) return false;

    // The next step reads the text this one writes, cut to the digit limit and without a
    // trailing point: its digits as one integer m with k of them decimals, read as m / 10^k
    // exactly as ParseNumber does, and its decimals counted as OperandDecimals counts them.
    empty_ = false;
    zero_ = d.zero;
    neg_ = d.neg;
    top_ = d.top;
    p_ = d.p;
    point_ = d.point;
    if (d.zero) {
        value_ = 0.0L;
        decimals_ = 1; // "0"
        return true;
    }
    int nd = 1; // digits of top, then without trailing zeros
    while (nd < 20 && d.top >= kPow10U64[nd])
        ++nd;
    u64 digits = d.top;
    while (nd > 1 && digits % 10 == 0) {
        digits /= 10;
        --nd;
    }
    const int intLen = d.p >= 0 ? d.p + 1 : 1;
    const int fracLen = d.p >= 0 ? std::max(0, nd - intLen) : -d.p - 1 + nd;
    const int kept = std::min(fracLen, 15 - intLen); // decimals left by the digit limit
    u64 m = 0;
    if (d.p >= 0) {
        const int total = intLen + kept;
        m = total >= nd ? digits * kPow10U64[total - nd] : digits / kPow10U64[nd - total];
    } else {
        const int fromDigits = kept - (-d.p - 1); // decimals that are digits, not zeros
        m = fromDigits <= 0 ? 0 : digits / kPow10U64[nd - fromDigits];
    }
    const long double v =
        m == 0 ? 0.0L : static_cast<long double>(m) / kPow10L[static_cast<std::size_t>(kept)];
    value_ = d.neg ? -v : v;
    decimals_ = kept > 0 ? kept : (d.neg ? 1 : 0) + intLen;
    return true;
}

TCalcNum TChainTotal::Total() const {
    TCalcNum t;
    if (empty_) return t;
    TResultDigits d;
    d.zero = zero_;
    d.neg = neg_;
    d.top = top_;
    d.p = p_;
    d.point = point_;
    WriteResult(d, t.Text);
    CutToDigitLimit(t.Text);
    return t;
}
