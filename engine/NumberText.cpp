// The arithmetic step over register texts, and the running total of a receipt.
#include "NumberText.h"
#include "NumberTextInternal.h"

#include "TextFunctions.h"

#include <algorithm>

namespace bansho {

using namespace numbertext;

namespace {

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

// ---- RunningTotal ----------------------------------------------------------------------------

RunningTotal::RunningTotal(int acount, int decimals) : acount_(acount), selection_(decimals) {}

long double RunningTotal::Value() const {
    if (zero_) return 0.0L;
    const long double v = digits_ == 0 ? 0.0L
                                       : static_cast<long double>(digits_) /
                                             kPow10L[static_cast<std::size_t>(scale_)];
    return neg_ ? -v : v;
}

bool RunningTotal::Step(std::string_view srcText, char ope) {
    if (acount_ != 0 && acount_ != 1) return false;
    if (ope != '+' && ope != '-' && ope != '*' && ope != '/') return false;
    // The operand as CalcNumbers reads it: the register's first 22 characters (the text is
    // ASCII, so characters are bytes), a trailing point dropped, empty read as "0". A text
    // the exact steps take is ASCII.
    std::string_view src =
        srcText.substr(0, std::min<std::size_t>(srcText.size(), kCalcNumTextMax));
    if (!src.empty() && src.back() == '.') src.remove_suffix(1);
    if (src.empty()) src = "0";

    ResultDigits d;
    ExactOperand b;
    if (srcText.size() <= kCalcNumTextMax && ReadExactOperand(src, b)) {
        if ((ope == '+' || ope == '-') && ShortSum(b, ope == '-')) return true;
        if (selection_ >= 0) return false;
        Settle();
        if (ExactStep(neg_, digits_, scale_, decimals_, b, ope, acount_, d)) {
            Settle(d);
            return true;
        }
    }
    if (selection_ >= 0) return false;
    Settle();
    // In long double, as CalcNumbers works it.
    for (const char c : srcText)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    long double bv = 0.0L;
    if (!ParseNumber(src, bv)) return false;
    const int decSrc = OperandDecimals(src);
    const long double a = Value();
    long double r = 0.0L;
    switch (ope) {
    case '+':
        r = a + bv;
        break;
    case '-':
        r = a - bv;
        break;
    case '*':
        r = a * bv;
        break;
    default:
        if (bv == 0.0L) return false;
        r = a / bv;
        break;
    }
    const int decimals = (ope == '+' || ope == '-') ? std::max(decimals_, decSrc) : 15;
    d = SplitResult(r, acount_, decimals);
    if (d.overflow) return false;
    Settle(d);
    return true;
}

bool RunningTotal::ShortSum(const ExactOperand& b, bool minus) {
    // Sums of at most 15 digits and 14 decimals have nothing to round or cut: their text is
    // their digits. The total is kept as the exact sum, its text written when a step needs it.
    constexpr u64 kLimit = kPow10U64[15];
    const int s = std::max(scale_, b.scale);
    if (s > 14 || (selection_ >= 0 && s > selection_)) return false; // a selection rounds
    const u128 l = static_cast<u128>(digits_) * kPow10U64[s - scale_];
    const u128 r = static_cast<u128>(b.digits) * kPow10U64[s - b.scale];
    const bool rneg = b.neg != minus;
    u128 x = 0;
    bool neg = neg_;
    if (neg_ == rneg) {
        x = l + r;
        if (x >= kLimit) return false;
    } else {
        x = l >= r ? l - r : r - l;
        neg = l >= r ? neg_ : rneg;
        // Cancelling operands: clear of the 18-digit rounding when W = l + r is below 2.3 X,
        // for then W * 10^(20 - n) < 2.3 * 10^19 < 5 * 2^62 (ClearOfRounding18).
        if (x >= kLimit || (x != 0 && 10 * (l + r) >= 23 * x)) return false;
    }
    // Below 0.0001 the rounding mode overflows.
    if (acount_ == 1 && x != 0 && s >= 4 && x < kPow10U64[s - 4]) return false;
    empty_ = false;
    zero_ = false;
    plain_ = true;
    neg_ = neg;
    digits_ = static_cast<u64>(x);
    scale_ = s;
    return true;
}

void RunningTotal::Settle() {
    if (!plain_) return;
    plain_ = false;
    ResultDigits d;
    d.point = acount_ == 0;
    if (digits_ == 0) {
        d.zero = true;
    } else {
        d.neg = neg_;
        d.top = digits_;
        d.p = DigitCount64(digits_) - 1 - scale_;
    }
    Settle(d);
}

void RunningTotal::Settle(const ResultDigits& d) {
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
        digits_ = 0;
        scale_ = 0;
        decimals_ = 1; // "0"
        return;
    }
    int nd = DigitCount64(d.top); // then without trailing zeros
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
    digits_ = m;
    scale_ = kept;
    decimals_ = kept > 0 ? kept : (d.neg ? 1 : 0) + intLen;
}

TCalcNum RunningTotal::Total() const {
    TCalcNum t;
    if (empty_) return t;
    if (plain_) {
        RunningTotal settled = *this;
        settled.Settle();
        return settled.Total();
    }
    ResultDigits d;
    d.zero = zero_;
    d.neg = neg_;
    d.top = top_;
    d.p = p_;
    d.point = point_;
    WriteResult(d, t.Text);
    CutToDigitLimit(t.Text);
    return t;
}

} // namespace bansho
