#include "SelectedResult.h"

#include "DecimalRounding.h"
#include "NumberText.h"
#include "TextFunctions.h"
#include "WideInt.h"

#include <algorithm>

namespace bansho {

namespace {

// A register text's value exactly: (neg ? -1 : 1) * digits / 10^scale.
struct ExactNumber {
    bool neg = false;
    WideInt digits;
    int scale = 0;
};

// More significant digits than this come only from a text that is no register's: such a
// text goes the way of the long double step.
constexpr int kMaxDigits = 40;

enum class Read { Ok, NotANumber, TooLong };

// The grammar of ParseNumber: blanks and control characters in front, an optional '-', digits,
// an optional '.' and digits, at least one digit.
Read ReadExact(std::string_view t, ExactNumber& n) {
    std::size_t i = 0;
    while (i < t.size() && static_cast<unsigned char>(t[i]) <= ' ')
        ++i;
    n = ExactNumber{};
    n.neg = i < t.size() && t[i] == '-';
    if (n.neg) ++i;
    bool anyDigit = false, point = false;
    int significant = 0;
    // The digits gather in 64 bits, eighteen at a time.
    WideInt::u64 chunk = 0, chunkScale = 1;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9') return Read::NotANumber;
        anyDigit = true;
        if (point) ++n.scale;
        if (significant == 0 && c == '0') continue;
        if (++significant > kMaxDigits) return Read::TooLong;
        chunk = chunk * 10 + static_cast<WideInt::u64>(c - '0');
        chunkScale *= 10;
        if (chunkScale == 1000000000000000000ULL) {
            n.digits.MulSmall(chunkScale);
            n.digits.AddSmall(chunk);
            chunk = 0;
            chunkScale = 1;
        }
    }
    if (!anyDigit) return Read::NotANumber;
    n.digits.MulSmall(chunkScale);
    n.digits.AddSmall(chunk);
    if (n.scale > kMaxDigits) return Read::TooLong;
    return Read::Ok;
}

// A signed magnitude and the sum of two of them.
struct Signed {
    bool neg = false;
    WideInt mag;
};

Signed Add(const Signed& a, const Signed& b) {
    if (a.neg == b.neg) return {a.neg, a.mag + b.mag};
    if (b.mag < a.mag) return {a.neg, a.mag - b.mag};
    return {b.neg, b.mag - a.mag};
}

// The exact value of the result as a fraction (neg ? -1 : 1) * num / den.
struct Fraction {
    bool neg = false;
    WideInt num;
    WideInt den;
};

enum class Worked { Ok, DivisionByZero, NoResult };

Worked Work(const ExactNumber& a, const ExactNumber& b, char ope, bool percent, Fraction& f) {
    const WideInt scaleA = WideInt::Pow10(a.scale);
    const WideInt scaleB = WideInt::Pow10(b.scale);
    const WideInt hundred(100);
    f.neg = a.neg != b.neg;
    switch (ope) {
    case '+':
    case '-': {
        if (percent) {
            // a × (100 ± b) ÷ 100
            const Signed c = Add({false, hundred * scaleB}, {b.neg != (ope == '-'), b.digits});
            f.neg = a.neg != c.neg;
            f.num = a.digits * c.mag;
            f.den = scaleA * scaleB * hundred;
        } else {
            const int s = std::max(a.scale, b.scale);
            const Signed sum = Add({a.neg, a.digits * WideInt::Pow10(s - a.scale)},
                                   {b.neg != (ope == '-'), b.digits * WideInt::Pow10(s - b.scale)});
            f.neg = sum.neg;
            f.num = sum.mag;
            f.den = WideInt::Pow10(s);
        }
        return Worked::Ok;
    }
    case '*':
        f.num = a.digits * b.digits;
        f.den = scaleA * scaleB;
        if (percent) f.den = f.den * hundred;
        return Worked::Ok;
    case '/':
        if (b.digits.IsZero()) return Worked::DivisionByZero;
        f.num = a.digits * scaleB;
        if (percent) f.num = f.num * hundred;
        f.den = b.digits * scaleA;
        return Worked::Ok;
    default:
        return Worked::NoResult;
    }
}

constexpr int kDisplayDigits = 15;

// f rounded to `decimals` places by `rule`, or to as many as the display shows beside its whole
// part, written into text. False for an overflow (the text then holds the first digits).
bool WriteRounded(const Fraction& f, int decimals, int rule, int acount, std::string& text) {
    const WideInt limit = WideInt::Pow10(kDisplayDigits);
    WideInt whole, rest;
    WideInt::DivMod(f.num, f.den, whole, rest);
    text.clear();
    if (!(whole < limit)) {
        // Whatever the rule, the whole part keeps its sixteen digits or more.
        if (f.neg) text += '-';
        text += whole.ToDecimal().substr(0, kDisplayDigits);
        if (acount == 0) text += '.';
        return false;
    }
    int wholeDigits = 1;
    for (WideInt::u64 w = whole.Low(); w >= 10; w /= 10)
        ++wholeDigits;
    const int places = std::min(decimals, kDisplayDigits - wholeDigits);

    WideInt q, r;
    WideInt::DivMod(f.num * WideInt::Pow10(places), f.den, q, r);
    WideInt::u64 units = q.Low(); // below 10^15: the whole part and the places fit the display
    bool up = false;
    if (rule == kRoundHalfUp)
        up = !(r + r < f.den);
    else if (rule == kRoundUp)
        up = !r.IsZero();
    if (up) ++units;

    // The units as digits, with a zero in front of a pure fraction.
    const std::string digits = std::to_string(units);
    const auto kept = static_cast<std::size_t>(places);
    std::string all(digits.size() <= kept ? kept + 1 - digits.size() : 0, '0');
    all += digits;
    const std::size_t wholeLength = all.size() - kept;
    std::size_t end = all.size();
    while (end > wholeLength && all[end - 1] == '0')
        --end;
    if (f.neg && units != 0) text += '-';
    text.append(all, 0, wholeLength);
    if (end > wholeLength) {
        text += '.';
        text.append(all, wholeLength, end - wholeLength);
    } else if (acount == 0) {
        text += '.';
    }
    return wholeLength <= static_cast<std::size_t>(kDisplayDigits); // a carry into a 16th digit
}

void Normalise(TCalcNum& n) {
    if (!n.Text.empty() && n.Text.back() == '.') n.Text.pop_back();
    if (n.Text.empty()) n.Text.assign(1, '0');
}

} // namespace

bool CalcSelected(TCalcNum& dst, TCalcNum& src, char ope, char mode, int acount, int decimals,
                  int rule, std::string* badText) {
    if (decimals < 0 || (acount != 0 && acount != 1))
        return CalcNumbers(dst, src, ope, mode, acount, badText);
    Normalise(dst);
    Normalise(src);
    ExactNumber a, b;
    const Read readA = ReadExact(dst.Text, a);
    const Read readB = readA == Read::Ok ? ReadExact(src.Text, b) : Read::Ok;
    if (readA == Read::NotANumber || readB == Read::NotANumber) {
        if (badText) *badText = readA == Read::NotANumber ? dst.Text : src.Text;
        return false;
    }
    if (readA == Read::TooLong || readB == Read::TooLong) {
        // Longer than any register: the long double step, its text rounded.
        if (!CalcNumbers(dst, src, ope, mode, acount, badText)) return false;
        RoundRegister(dst, decimals, rule, acount);
        return true;
    }
    // A failed operand gives a failed result, as CalcNumbers has it.
    if (src.Error) dst.Error = true;
    if (dst.Error) return true;
    Fraction f;
    switch (Work(a, b, ope, mode == '%', f)) {
    case Worked::DivisionByZero:
        dst.Error = true;
        return true;
    case Worked::NoResult:
        return true;
    case Worked::Ok:
        break;
    }
    dst.Error = !WriteRounded(f, decimals, rule, acount, dst.Text);
    return true;
}

bool TaxContainedSelected(const TCalcNum& amount, const TCalcNum& rate, int acount, int decimals,
                          int rule, TCalcNum& tax, std::string* badText) {
    TCalcNum base = amount;
    TCalcNum percent = rate;
    Normalise(base);
    Normalise(percent);
    ExactNumber a, r;
    for (const TCalcNum* n : {&base, &percent}) {
        if (ReadExact(n->Text, n == &base ? a : r) != Read::Ok) {
            if (badText) *badText = n->Text;
            return false;
        }
    }
    // amount × rate ÷ (100 + rate), with the rate as digits / 10^scale
    const Signed divisor = Add({false, WideInt(100) * WideInt::Pow10(r.scale)}, {r.neg, r.digits});
    tax = base;
    if (divisor.mag.IsZero()) {
        tax.Error = true;
        return true;
    }
    Fraction f;
    f.neg = (a.neg != r.neg) != divisor.neg;
    f.num = a.digits * r.digits;
    f.den = WideInt::Pow10(a.scale) * divisor.mag;
    tax.Error = !WriteRounded(f, decimals, rule, acount, tax.Text);
    return true;
}

} // namespace bansho
