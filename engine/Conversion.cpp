#include "Conversion.h"

#include "ExactDecimal.h"
#include "TextFunctions.h"

namespace bansho {

bool IsValidRate(std::string_view rate) {
    for (const char c : rate)
        if (c != '.' && (c < '0' || c > '9')) return false; // no sign, no blank
    ExactNumber r;
    return !rate.empty() && rate != "." && ReadExact(rate, r) && r.digits != 0;
}

bool IsValidRateName(std::string_view name) {
    bool visible = false;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < ' ' || c == ',' || c == '"' || u == 0x7F) return false;
        if (c != ' ') visible = true;
    }
    return visible && TextWidth(name) <= kRateNameWidth;
}

bool ConvertFromHome(std::string_view amount, std::string_view rate, int acount, int decimals,
                     int rule, TCalcNum& result) {
    ExactNumber a, r;
    if (!ReadExact(amount, a) || !ReadExact(rate, r) || r.digits == 0) return false;
    const ExactRatio q{a.negative && a.digits != 0, a.digits * r.digits,
                       Pow10Exact(a.scale + r.scale)};
    result = WriteRatio(q, acount, decimals, rule);
    return true;
}

bool ConvertToHome(std::string_view amount, std::string_view rate, int acount, int decimals,
                   int rule, TCalcNum& result) {
    ExactNumber a, r;
    if (!ReadExact(amount, a) || !ReadExact(rate, r) || r.digits == 0) return false;
    const ExactRatio q{a.negative && a.digits != 0, a.digits * Pow10Exact(r.scale),
                       Pow10Exact(a.scale) * r.digits};
    result = WriteRatio(q, acount, decimals, rule);
    return true;
}

} // namespace bansho
