#include "NumberText.h"

#include "TextFunctions.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

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

// A small unsigned big integer, just wide enough for the scaled results below.
struct Big {
    static constexpr int N = 8;
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
    int n = 1;
    while (n < 39 && v >= kPow10U128[static_cast<std::size_t>(n)])
        ++n;
    return n;
}

// |r| rounded half away from zero to 18 significant digits: digits (18 chars, first one not
// '0') and the power of ten of the first digit. False for zero.
bool Significant18(long double r, std::string& digits, int& p) {
    if (r == 0.0L) return false;
    // The 80-bit format holds the 64-bit significand (explicit leading bit) in its low eight
    // bytes and the biased exponent in the next two; reading them avoids slow x87 rounding.
    static_assert(sizeof(long double) >= 10 && std::numeric_limits<long double>::digits == 64);
    const long double a = std::fabs(r);
    unsigned char raw[sizeof(long double)];
    std::memcpy(raw, &a, sizeof a);
    u64 sig = 0;
    std::memcpy(&sig, raw, 8);
    const int biased = (raw[8] | (raw[9] << 8)) & 0x7FFF;
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
    u64 top = 0;
    if (k <= 0) {
        top =
            static_cast<u64>(q * Pow10U128(-k)); // not reached: the estimate is off by one at most
    } else {
        // q has 19 or 20 digits: one wide division, the rest in 64 bits.
        const u128 pk = Pow10U128(k);
        top = static_cast<u64>(q / pk);
        const u128 rest = q - static_cast<u128>(top) * pk;
        if (rest >= 5 * Pow10U128(k - 1)) ++top;
    }
    p = nd - 1 - s;
    if (top == static_cast<u64>(Pow10U128(18))) {
        top /= 10;
        ++p;
    }
    digits.assign(18, '0');
    for (int i = 17; i >= 0; --i) {
        digits[static_cast<std::size_t>(i)] = static_cast<char>('0' + top % 10);
        top /= 10;
    }
    return true;
}

// Rounds a digit string (first digit worth 10^p) half away from zero, keeping `keep` digits.
// keep may be 0 or negative. Returns false when nothing is left (the value rounds to zero).
bool RoundDigits(std::string& digits, int& p, int keep) {
    if (keep >= static_cast<int>(digits.size())) return true;
    if (keep < 0) return false;
    const bool up = digits[static_cast<std::size_t>(keep)] >= '5';
    digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
            digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++digits[static_cast<std::size_t>(i)];
        } else {
            digits.insert(digits.begin(), '1');
            ++p;
        }
    }
    // Nothing left, or only zeros.
    return digits.find_first_not_of('0') != std::string::npos;
}

// Plain text of digits with the first worth 10^p: integer part (at least "0") and fraction.
void SplitDigits(const std::string& digits, int p, std::string& intPart, std::string& frac) {
    intPart.clear();
    frac.clear();
    const int n = static_cast<int>(digits.size());
    if (p >= 0) {
        for (int i = 0; i <= p; ++i)
            intPart += (i < n) ? digits[static_cast<std::size_t>(i)] : '0';
        for (int i = p + 1; i < n; ++i)
            frac += digits[static_cast<std::size_t>(i)];
    } else {
        intPart = "0";
        frac.assign(static_cast<std::size_t>(-p - 1), '0');
        frac += digits;
    }
}

} // namespace

bool ParseNumber(std::string_view text, long double& value) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    bool neg = false;
    if (i < text.size() && text[i] == '-') {
        neg = true;
        ++i;
    }
    u128 m = 0;
    int kept = 0;        // significant digits held in m
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
            m = m * 10 + static_cast<u128>(d);
            ++kept;
            if (point) --exp10;
        } else {
            if (d != 0) sticky = true;
            if (!point) ++exp10;
        }
    }
    if (!anyDigit) return false;
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

std::string FormatResult(long double r, int acount, int decimals, bool& overflow) {
    overflow = false;
    if (!std::isfinite(r)) {
        overflow = true;
        return {};
    }
    const bool neg = r < 0.0L;
    const long double a = std::fabs(r);
    std::string digits;
    int p = 0;
    bool nonZero = false;
    if (a >= 1e50L) {
        overflow = true;
        return {};
    }
    if (a != 0.0L && a < 1e-50L) {
        // Far below any decimal a result can keep.
        if (acount == 1) overflow = true;
        return acount == 1 ? std::string("0") : std::string("0.");
    }
    nonZero = Significant18(a, digits, p);

    std::string intPart, frac;
    if (acount == 0) {
        if (nonZero) nonZero = RoundDigits(digits, p, p + decimals + 1);
        if (!nonZero) return "0.";
        SplitDigits(digits, p, intPart, frac);
        while (!frac.empty() && frac.back() == '0')
            frac.pop_back();
        if (intPart.size() > 15) overflow = true;
        std::string t = neg ? "-" : "";
        t += intPart;
        t += '.';
        t += frac;
        return t;
    }
    // Rounding mode.
    if (!nonZero) return "0";
    RoundDigits(digits, p, 15);
    if (p >= 15 || p < -4) overflow = true;
    SplitDigits(digits, p, intPart, frac);
    while (!frac.empty() && frac.back() == '0')
        frac.pop_back();
    std::string t = neg ? "-" : "";
    t += intPart;
    if (!frac.empty()) {
        t += '.';
        t += frac;
    }
    return t;
}

bool CalcNumbers(TCalcNum& dst, TCalcNum& src, char ope, char mode, int acount,
                 std::string* badText) {
    for (TCalcNum* n : {&dst, &src}) {
        if (!n->Text.empty() && n->Text.back() == '.') n->Text.pop_back();
        if (n->Text.empty()) n->Text = "0";
    }
    // How many decimals each operand carries; a text without a point counts its whole length.
    auto dec = [](const std::string& t) {
        const std::size_t dot = t.find('.');
        return static_cast<int>(dot == std::string::npos ? t.size() : t.size() - dot - 1);
    };
    const int decDst = dec(dst.Text);
    const int decSrc = dec(src.Text);
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
    std::string t = FormatResult(r, acount, decimals, overflow);
    t.resize(std::min(t.size(), DigitLimit(t)));
    dst.Text = std::move(t);
    dst.Error = overflow;
    return true;
}

std::string NotFloatMessage(std::string_view text) {
    std::string m = "'";
    m += text;
    m += "' は浮動小数点数ではありません。";
    return m;
}
