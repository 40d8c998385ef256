#include "ValueKinds.h"

#include "CalendarDate.h"
#include "DecimalRounding.h"
#include "NumberText.h"
#include "SelectedResult.h"
#include "TextFunctions.h"
#include "TimeValue.h"

#include <algorithm>
#include <optional>

namespace bansho {

RowMark MarkOfKind(ValueKind kind) {
    switch (kind) {
    case ValueKind::Time:
        return RowMark::Time;
    case ValueKind::Date:
        return RowMark::Date;
    default:
        return RowMark::None;
    }
}

ValueKind KindOfMark(RowMark mark) {
    switch (mark) {
    case RowMark::Time:
        return ValueKind::Time;
    case RowMark::Date:
        return ValueKind::Date;
    default:
        return ValueKind::Number;
    }
}

std::string ValueText(const TCalcNum& n, bool separators) {
    const auto v = ParseSeconds(n.Text);
    switch (n.Kind) {
    case ValueKind::Time: {
        if (!v) return n.Text;
        std::string t = TimeText(*v);
        if (!separators) t.erase(std::remove(t.begin(), t.end(), ','), t.end());
        return t;
    }
    case ValueKind::Date: {
        const std::string t = v ? DateText(*v) : std::string();
        return t.empty() ? n.Text : t;
    }
    default:
        return n.Text;
    }
}

std::string KindRowText(char ope, const TCalcNum& n) {
    const std::string s = OpeToGlyph(ope) + ValueText(n, true);
    const std::size_t w = TextWidth(s);
    return std::string(w < 22 ? 22 - w : 0, ' ') + s;
}

namespace {

// A plain operand read exactly: (-1)^negative × mantissa / 10^scale.
struct Exact {
    bool negative = false;
    __int128 mantissa = 0;
    int scale = 0;
};

std::optional<Exact> ReadExact(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    Exact e;
    if (i < text.size() && text[i] == '-') {
        e.negative = true;
        ++i;
    }
    bool point = false, digit = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9' && e.scale < 30 && e.mantissa < (static_cast<__int128>(1) << 90)) {
            digit = true;
            e.mantissa = e.mantissa * 10 + (c - '0');
            if (point) ++e.scale;
        } else {
            return std::nullopt;
        }
    }
    if (!digit) return std::nullopt;
    return e;
}

__int128 Pow10(int k) {
    __int128 p = 1;
    while (k-- > 0)
        p *= 10;
    return p;
}

// A plain result written as CalcNumbers writes one, with `decimals` places in the cut mode.
void WritePlain(TCalcNum& dst, long double r, int acount, int decimals) {
    bool overflow = false;
    std::string t = FormatResult(r, acount, decimals, overflow);
    dst.Text = CutText(t, DigitLimit(t));
    dst.Error = overflow;
    dst.Kind = ValueKind::Number;
}

void WriteTime(TCalcNum& dst, __int128 seconds) {
    dst.Kind = ValueKind::Time;
    if (seconds <= -kTimeSecondsLimit || seconds >= kTimeSecondsLimit) {
        dst.Error = true;
        return;
    }
    dst.Text = SecondsText(static_cast<std::int64_t>(seconds));
}

void WriteDate(TCalcNum& dst, __int128 day) {
    dst.Kind = ValueKind::Date;
    if (day < 0 || day > LastDayNumber()) {
        dst.Error = true;
        return;
    }
    dst.Text = SecondsText(static_cast<std::int64_t>(day));
}

void Fail(TCalcNum& dst) {
    dst.Error = true;
}

} // namespace

bool CalcValues(TCalcNum& dst, TCalcNum& src, char ope, char mode, int acount, bool bothEnds,
                std::string* badText) {
    if (dst.Kind == ValueKind::Number && src.Kind == ValueKind::Number)
        return CalcNumbers(dst, src, ope, mode, acount, badText);
    // An empty register is a zero of the other's kind for a sum (and, for a time, a
    // difference): an empty memory takes the first time or date added to it.
    const bool dstEmpty = dst.Kind == ValueKind::Number && TrimLeftBlanks(dst.Text).empty();
    if (dstEmpty && !dst.Error && mode != '%' &&
        (ope == '+' || (ope == '-' && src.Kind == ValueKind::Time))) {
        const bool error = src.Error;
        dst = src;
        dst.Error = error;
        if (ope == '-' && !error) {
            const auto s = ParseSeconds(src.Text);
            if (s) dst.Text = SecondsText(-*s);
        }
        return true;
    }
    // A plain operand must read as a number, as in the plain arithmetic.
    std::optional<Exact> plain;
    for (TCalcNum* n : {&dst, &src}) {
        if (n->Kind != ValueKind::Number) continue;
        if (!n->Text.empty() && n->Text.back() == '.') n->Text.pop_back();
        if (n->Text.empty()) n->Text = "0";
        plain = ReadExact(n->Text);
        if (!plain) {
            if (badText) *badText = n->Text;
            return false;
        }
    }
    if (src.Error) dst.Error = true;
    if (dst.Error || (acount != 0 && acount != 1)) return true;
    const std::optional<std::int64_t> a =
        dst.Kind == ValueKind::Number ? std::optional<std::int64_t>(0) : ParseSeconds(dst.Text);
    const std::optional<std::int64_t> b =
        src.Kind == ValueKind::Number ? std::optional<std::int64_t>(0) : ParseSeconds(src.Text);
    if (!a || !b || mode == '%') {
        Fail(dst);
        return true;
    }
    const ValueKind ka = dst.Kind;
    const ValueKind kb = src.Kind;
    using K = ValueKind;
    const bool add = ope == '+', sub = ope == '-';
    if (ka == K::Time && kb == K::Time && (add || sub)) {
        WriteTime(dst, add ? static_cast<__int128>(*a) + *b : static_cast<__int128>(*a) - *b);
    } else if (ka == K::Time && kb == K::Time && ope == '/') {
        if (*b == 0)
            Fail(dst);
        else
            WritePlain(dst, static_cast<long double>(*a) / static_cast<long double>(*b), acount, 15);
    } else if (ope == '*' && ((ka == K::Time && kb == K::Number) || (ka == K::Number && kb == K::Time))) {
        // Hours times a number: a plain number (7:30 × 800 = 6,000).
        const std::int64_t seconds = ka == K::Time ? *a : *b;
        const long double n = static_cast<long double>(plain->mantissa) /
                              static_cast<long double>(Pow10(plain->scale)) * (plain->negative ? -1 : 1);
        WritePlain(dst, static_cast<long double>(seconds) * n / 3600.0L, acount, 15);
    } else if (ka == K::Time && kb == K::Number && ope == '/') {
        if (plain->mantissa == 0) {
            Fail(dst);
        } else {
            // seconds × 10^scale / mantissa, to the nearest second, half away from zero.
            const __int128 num = static_cast<__int128>(*a < 0 ? -*a : *a) * Pow10(plain->scale);
            __int128 q = num / plain->mantissa;
            if ((num % plain->mantissa) * 2 >= plain->mantissa) ++q;
            const bool negative = (*a < 0) != plain->negative;
            WriteTime(dst, negative ? -q : q);
        }
    } else if (ka == K::Date && kb == K::Date && sub) {
        WritePlain(dst, static_cast<long double>(DaysBetween(*b, *a, bothEnds)), acount, 0);
    } else if ((add || sub) && ((ka == K::Date && kb == K::Number) ||
                                (add && ka == K::Number && kb == K::Date))) {
        // Whole days only.
        const __int128 unit = Pow10(plain->scale);
        if (plain->mantissa % unit != 0) {
            Fail(dst);
        } else {
            __int128 days = plain->mantissa / unit;
            if (plain->negative) days = -days;
            const std::int64_t day = ka == K::Date ? *a : *b;
            WriteDate(dst, sub ? day - days : day + days);
        }
    } else {
        Fail(dst);
    }
    return true;
}

TCalcNum HoursOfTime(const TCalcNum& time, int acount) {
    TCalcNum out;
    const auto s = ParseSeconds(time.Text);
    if (!s) {
        out.Error = true;
        return out;
    }
    WritePlain(out, static_cast<long double>(*s) / 3600.0L, acount, 15);
    return out;
}

TCalcNum TimeOfHours(const TCalcNum& hours) {
    TCalcNum out;
    out.Kind = ValueKind::Time;
    const auto s = SecondsFromHours(hours.Text);
    if (!s || hours.Error)
        out.Error = true;
    else
        out.Text = SecondsText(*s);
    return out;
}

bool CalcValuesSelected(TCalcNum& dst, TCalcNum& src, char ope, char mode, int acount,
                        bool bothEnds, int decimals, int rule, std::string* badText) {
    if (dst.Kind == ValueKind::Number && src.Kind == ValueKind::Number)
        return CalcSelected(dst, src, ope, mode, acount, decimals, rule, badText);
    if (!CalcValues(dst, src, ope, mode, acount, bothEnds, badText)) return false;
    if (dst.Kind == ValueKind::Number) RoundRegister(dst, decimals, rule, acount);
    return true;
}

} // namespace bansho
