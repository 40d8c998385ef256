#pragma once
// A shop's pricing: cost (原価), selling price (売価) and margin (粗利率, in percent of the
// selling price), any one from the other two, and the margin in money (粗利). Worked on the
// exact decimal values, each result rounded once as a result of the arithmetic keys is.
//
//   売価 = 原価 ÷ (1 − 粗利率/100)      原価 = 売価 × (1 − 粗利率/100)
//   粗利率 = (売価 − 原価) ÷ 売価 × 100   粗利 = 売価 − 原価
//
// A margin of 100 or more, or a selling price of 0 for the margin, is an error, as a division
// by zero is.
#include "CalcNum.h"
#include "HistoryEntry.h"

#include <string_view>

namespace bansho {

// The register texts of the values a result is computed from, and how results are written.
struct PricingFormat {
    int acount = 0;
    int decimals = -1; // -1 F, 0-4 places
    int rule = 0;      // 0 切捨, 1 四捨五入, 2 切上
};

// Each gives the result register (Error set for the error display). False when a text does
// not read as a number (at most 15 significant digits); `bad` then names that text.
bool SellFromCost(std::string_view cost, std::string_view margin, const PricingFormat& f,
                  TCalcNum& result, std::string_view* bad);
bool CostFromSell(std::string_view sell, std::string_view margin, const PricingFormat& f,
                  TCalcNum& result, std::string_view* bad);
bool MarginFrom(std::string_view cost, std::string_view sell, const PricingFormat& f,
                TCalcNum& result, std::string_view* bad);
bool ProfitFrom(std::string_view cost, std::string_view sell, const PricingFormat& f,
                TCalcNum& result, std::string_view* bad);

// The label a receipt row of the pricing keys shows after its number ("原価"); empty for any
// other row.
std::string_view RowMarkLabel(RowMark mark);
// False for the rows of the pricing keys, which are not part of a receipt's total.
bool CountsInTotal(RowMark mark);

} // namespace bansho
