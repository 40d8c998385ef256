#include "Pricing.h"

#include "ExactDecimal.h"

#include <algorithm>

namespace bansho {

namespace {

bool ReadBoth(std::string_view a, std::string_view b, ExactNumber& x, ExactNumber& y,
              std::string_view* bad) {
    if (!ReadExact(a, x)) {
        if (bad) *bad = a;
        return false;
    }
    if (!ReadExact(b, y)) {
        if (bad) *bad = b;
        return false;
    }
    return true;
}

// A signed value as a plain signed quantity over a common scale.
struct Signed {
    bool negative = false;
    ExactUInt magnitude = 0;
};

Signed Add(Signed a, Signed b) {
    if (a.negative == b.negative) return {a.negative, a.magnitude + b.magnitude};
    if (a.magnitude >= b.magnitude) return {a.negative, a.magnitude - b.magnitude};
    return {b.negative, b.magnitude - a.magnitude};
}

// 100 − margin, over 10^margin.scale; false when the margin is 100 or more.
bool RestOfHundred(const ExactNumber& m, Signed& rest) {
    const Signed hundred{false, 100 * Pow10Exact(m.scale)};
    rest = Add(hundred, Signed{!m.negative, m.digits});
    return !rest.negative && rest.magnitude != 0;
}

TCalcNum Written(bool negative, ExactUInt num, ExactUInt den, const PricingFormat& f) {
    const ExactRatio r{num != 0 && negative, num, den};
    return WriteRatio(r, f.acount, f.decimals, f.rule);
}

// Cost and sell over one scale: the two numbers as integers of 10^-scale.
void Align(const ExactNumber& cost, const ExactNumber& sell, Signed& c, Signed& s, int& scale) {
    scale = std::max(cost.scale, sell.scale);
    c = {cost.negative, cost.digits * Pow10Exact(scale - cost.scale)};
    s = {sell.negative, sell.digits * Pow10Exact(scale - sell.scale)};
}

} // namespace

bool SellFromCost(std::string_view cost, std::string_view margin, const PricingFormat& f,
                  TCalcNum& result, std::string_view* bad) {
    ExactNumber c, m;
    if (!ReadBoth(cost, margin, c, m, bad)) return false;
    Signed rest;
    if (!RestOfHundred(m, rest)) {
        result = TCalcNum{"", true};
        return true;
    }
    // c ÷ (rest / (100 · 10^m.scale)) with c = digits / 10^c.scale.
    result = Written(c.negative, c.digits * 100 * Pow10Exact(m.scale),
                     Pow10Exact(c.scale) * rest.magnitude, f);
    return true;
}

bool CostFromSell(std::string_view sell, std::string_view margin, const PricingFormat& f,
                  TCalcNum& result, std::string_view* bad) {
    ExactNumber s, m;
    if (!ReadBoth(sell, margin, s, m, bad)) return false;
    Signed rest;
    if (!RestOfHundred(m, rest)) {
        result = TCalcNum{"", true};
        return true;
    }
    result = Written(s.negative, s.digits * rest.magnitude, Pow10Exact(s.scale + m.scale + 2), f);
    return true;
}

bool MarginFrom(std::string_view cost, std::string_view sell, const PricingFormat& f,
                TCalcNum& result, std::string_view* bad) {
    ExactNumber cn, sn;
    if (!ReadBoth(cost, sell, cn, sn, bad)) return false;
    Signed c, s;
    int scale = 0;
    Align(cn, sn, c, s, scale);
    if (s.magnitude == 0) {
        result = TCalcNum{"", true};
        return true;
    }
    const Signed profit = Add(s, Signed{!c.negative, c.magnitude});
    result = Written(profit.negative != s.negative, profit.magnitude * 100, s.magnitude, f);
    return true;
}

bool ProfitFrom(std::string_view cost, std::string_view sell, const PricingFormat& f,
                TCalcNum& result, std::string_view* bad) {
    ExactNumber cn, sn;
    if (!ReadBoth(cost, sell, cn, sn, bad)) return false;
    Signed c, s;
    int scale = 0;
    Align(cn, sn, c, s, scale);
    const Signed profit = Add(s, Signed{!c.negative, c.magnitude});
    result = Written(profit.negative, profit.magnitude, Pow10Exact(scale), f);
    return true;
}

std::string_view RowMarkLabel(RowMark mark) {
    switch (mark) {
    case RowMark::CostPrice: return "原価";
    case RowMark::SellPrice: return "売価";
    case RowMark::MarginRate: return "粗利率";
    case RowMark::Profit: return "粗利";
    default: return {};
    }
}

bool CountsInTotal(RowMark mark) {
    return RowMarkLabel(mark).empty();
}

} // namespace bansho
