#include "ExactDecimal.h"

#include "TextFunctions.h"

namespace bansho {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string DigitsOf(ExactUInt v) {
    if (v == 0) return "0";
    std::string s;
    while (v != 0) {
        s.insert(s.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
        v /= 10;
    }
    return s;
}

// The quotient's whole part and its first `places` decimals as one digit string (the whole
// part first, at least one digit), rounded to those places by the rule.
std::string RoundedDigits(const ExactRatio& r, int places, int rule) {
    const ExactUInt whole = r.num / r.den;
    ExactUInt rest = r.num % r.den;
    std::string digits = DigitsOf(whole);
    for (int i = 0; i < places; ++i) {
        rest *= 10;
        digits += static_cast<char>('0' + static_cast<int>(rest / r.den));
        rest %= r.den;
    }
    bool up = false;
    if (rule == 1)
        up = rest >= r.den - rest; // at least half a unit of the last place
    else if (rule == 2)
        up = rest != 0;
    if (up) {
        std::size_t k = digits.size();
        while (k > 0 && digits[k - 1] == '9')
            digits[--k] = '0';
        if (k == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[k - 1];
    }
    return digits;
}

// The text of digits with `places` decimals: no leading zeros in the whole part, trailing
// fraction zeros dropped, a '.' without fraction only when pointAlways; "-0" never.
std::string Compose(bool negative, const std::string& digits, int places, bool pointAlways,
                    bool& overflow) {
    const std::size_t p = static_cast<std::size_t>(places);
    std::string whole = digits.substr(0, digits.size() - p);
    std::string fraction = digits.substr(digits.size() - p);
    const std::size_t first = whole.find_first_not_of('0');
    whole = first == std::string::npos ? "0" : whole.substr(first);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    overflow = whole.size() > 15;
    const bool zero = whole == "0" && fraction.empty();
    std::string out = negative && !zero ? "-" : "";
    out += whole;
    if (!fraction.empty())
        out += "." + fraction;
    else if (pointAlways)
        out += '.';
    return out;
}

TCalcNum Failed() {
    return TCalcNum{"", true};
}

} // namespace

ExactUInt Pow10Exact(int k) {
    ExactUInt p = 1;
    for (int i = 0; i < k; ++i)
        p *= 10;
    return p;
}

bool ReadExact(std::string_view text, ExactNumber& n) {
    n = ExactNumber{};
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i < text.size() && text[i] == '-') {
        n.negative = true;
        ++i;
    }
    bool point = false;
    int significant = 0;
    std::size_t digitsSeen = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (!IsDigit(c)) return false;
        ++digitsSeen;
        if (n.digits != 0 || c != '0') ++significant;
        if (significant > kExactDigitsMax) return false;
        if (point && n.scale >= 15) return false; // at most 15 decimals
        n.digits = n.digits * 10 + static_cast<ExactUInt>(c - '0');
        if (point) ++n.scale;
    }
    if (digitsSeen == 0 && (n.negative || point)) return false; // "-" or "." alone
    if (n.digits == 0) n.negative = false;
    return true;
}

TCalcNum WriteRatio(const ExactRatio& r, int acount, int decimals, int rule) {
    const bool pointAlways = acount == 0;
    const ExactUInt whole = r.num / r.den;
    if (whole >= Pow10Exact(15)) {
        // At least 16 whole digits before any rounding.
        return Failed();
    }
    bool overflow = false;
    std::string text;
    if (decimals >= 0) {
        if (acount == 1 && r.num != 0 && r.num * 10000 < r.den) return Failed();
        text = Compose(r.negative, RoundedDigits(r, decimals, rule), decimals, pointAlways,
                       overflow);
        if (overflow) return Failed();
        return TCalcNum{text, false};
    }
    int places = 15;
    if (acount == 1) {
        if (r.num != 0 && r.num * 10000 < r.den) return Failed();
        // 15 significant digits: those of the whole part first, then as many decimals as
        // are left, counted from the first significant one.
        if (whole != 0) {
            places = 15 - static_cast<int>(DigitsOf(whole).size());
        } else {
            int zeros = 0;
            ExactUInt rest = r.num;
            while (rest != 0 && rest * 10 < r.den) {
                rest *= 10;
                ++zeros;
            }
            places = zeros + 15;
        }
    }
    text = Compose(r.negative, RoundedDigits(r, places, 1), places, pointAlways, overflow);
    if (overflow) return Failed();
    return TCalcNum{CutText(text, DigitLimit(text)), false};
}

} // namespace bansho
