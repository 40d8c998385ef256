#include "DecimalRounding.h"

#include <cstddef>

namespace bansho {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

const char* RuleName(int rule) {
    switch (rule) {
    case kRoundHalfUp: return "四捨五入";
    case kRoundUp: return "切上";
    default: return "切捨";
    }
}

} // namespace

std::string DecimalSelectorMark(int decimals, int rule) {
    if (decimals < 0 || decimals > kDecimalsMax) return {};
    return std::to_string(decimals) + " " + RuleName(rule);
}

int NextDecimals(int decimals) {
    if (decimals < kDecimalsFloat || decimals >= kDecimalsMax) return kDecimalsFloat;
    return decimals + 1;
}

int NextRounding(int rule) {
    return rule == kRoundCut ? kRoundHalfUp : rule == kRoundHalfUp ? kRoundUp : kRoundCut;
}

std::string RoundDecimalText(std::string_view text, int decimals, int rule, bool pointAlways,
                             bool& overflow) {
    overflow = false;
    const std::string unchanged(text);
    if (decimals < 0) return unchanged;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const bool negative = i < text.size() && text[i] == '-';
    if (negative) ++i;
    std::string whole, fraction;
    while (i < text.size() && IsDigit(text[i]))
        whole += text[i++];
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i]))
            fraction += text[i++];
    }
    if (i != text.size() || (whole.empty() && fraction.empty())) return unchanged;
    const auto places = static_cast<std::size_t>(decimals);
    if (fraction.size() <= places) return unchanged;

    const std::string_view dropped = std::string_view(fraction).substr(places);
    bool up = false;
    if (rule == kRoundHalfUp)
        up = dropped.front() >= '5';
    else if (rule == kRoundUp)
        up = dropped.find_first_not_of('0') != std::string_view::npos;

    // The kept digits as one decimal string, increased by one unit of the last place.
    std::string digits = (whole.empty() ? std::string("0") : whole) + fraction.substr(0, places);
    if (up) {
        std::size_t k = digits.size();
        while (k > 0 && digits[k - 1] == '9')
            digits[--k] = '0';
        if (k == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[k - 1];
    }
    std::string newWhole = digits.substr(0, digits.size() - places);
    std::string newFraction = digits.substr(digits.size() - places);
    const std::size_t firstSignificant = newWhole.find_first_not_of('0');
    newWhole = firstSignificant == std::string::npos ? "0" : newWhole.substr(firstSignificant);
    while (!newFraction.empty() && newFraction.back() == '0')
        newFraction.pop_back();
    overflow = newWhole.size() > 15;

    const bool zero = newWhole == "0" && newFraction.empty();
    std::string out = negative && !zero ? "-" : "";
    out += newWhole;
    if (!newFraction.empty())
        out += "." + newFraction;
    else if (pointAlways)
        out += '.';
    return out;
}

void RoundRegister(TCalcNum& n, int decimals, int rule, int acount) {
    if (decimals < 0 || n.Error) return;
    bool overflow = false;
    n.Text = RoundDecimalText(n.Text, decimals, rule, acount == 0, overflow);
    if (overflow) n.Error = true;
}

} // namespace bansho
