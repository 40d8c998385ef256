#pragma once
// A bill at two tax rates: the items keyed with a tax key, their totals per rate with each
// rate's tax rounded once on the rate's total, the steps the tax-total key shows, and the
// invoice block of the printed receipt. Pure: the engine keeps the bill and feeds it.
#include "CalcNum.h"
#include "HistoryEntry.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bansho {

inline constexpr int kTaxRateCount = 2; // rate 1 (the standard rate), rate 2 (the reduced rate)

// One item of the bill: the amount as it was shown when its tax key was first pressed, the
// rate it is taxed at (0: rate 1, 1: rate 2), and whether that amount already includes the tax
// (keyed with a tax-excluded key) or is a price before tax (keyed with a tax-included key).
struct BillItem {
    std::string amount;
    int rate = 0;
    bool withTax = false;

    friend bool operator==(const BillItem&, const BillItem&) = default;
};

// The receipt mark of a tax-keyed item, and back. A mark that is not one of the four tax
// marks gives no item.
RowMark TaxItemMark(int rate, bool withTax);
constexpr bool IsTaxItemMark(RowMark mark) {
    return mark >= RowMark::TaxRate1BeforeTax && mark <= RowMark::TaxRate2WithTax;
}
std::optional<BillItem> TaxItemOfRow(const HistoryEntry& row);

// What a rate's items come to.
struct RateTotals {
    bool used = false; // the rate has items
    TCalcNum beforeTax, tax, withTax;
};

struct BillTotals {
    std::array<RateTotals, kTaxRateCount> rate;
    TCalcNum beforeTax, tax, withTax; // the whole bill
};

// How the totals are computed: the calculator's arithmetic mode and decimal selection.
struct BillArithmetic {
    int acount = 0;
    int decimals = -1; // F: taxes unrounded
    int rule = 0;
};

// The totals of `items` at `rates` (percent, as register texts). Within a rate, the prices
// before tax are summed and their tax taken once on the sum (sum × rate ÷ 100); the prices
// with tax are summed apart and the tax they contain taken once on that sum
// (sum ÷ (100 + rate) × rate); each tax is rounded by the decimal selection (none at F).
// A rate's total before tax is the sum before tax plus the sum with tax less its tax; its tax
// is the two taxes; its total with tax is the sum before tax plus its tax plus the sum with
// tax. The bill's totals add the rates' totals. An overflow leaves the total concerned in
// error. False, with the text that does not read as a number in *badText, when an amount or
// a rate does not read.
bool ComputeBill(const std::vector<BillItem>& items,
                 const std::array<TCalcNum, kTaxRateCount>& rates, const BillArithmetic& how,
                 BillTotals& totals, std::string* badText);

// One step of the tax-total key: the amount and its label.
struct BillStep {
    TCalcNum amount;
    std::string label;
};

// The steps in order: the bill with tax ("合計税込"), before tax ("合計税抜"), its tax
// ("合計税額"), then for each rate that has items its total before tax ("10%対象"), its tax
// ("10%税額") and its total with tax ("10%税込"). `rateTexts` are the rates as shown ("10").
std::vector<BillStep> BillSteps(const BillTotals& totals,
                                const std::array<std::string, kTaxRateCount>& rateTexts);

// A rate as a label shows it: the register's text without blanks and without a trailing
// point or trailing fraction zeros ("10", "8", "8.5").
std::string RateText(const TCalcNum& rate);

// The invoice block that ends the printed receipt: for each rate with items
// "10%対象 ¥1,620 消費税 ¥162", then the totals, and a footnote when reduced-rate items are
// marked. An amount in error prints as "E".
std::vector<std::string> InvoiceLines(const BillTotals& totals,
                                      const std::array<std::string, kTaxRateCount>& rateTexts);

// The row text of a tax-keyed item on the receipt: a reduced-rate (rate 2) item is marked
// "※"; the price before tax is marked "外", the price with tax "内" ("※外 150.").
std::string TaxItemRowText(const BillItem& item);

// A tax rate as the customization dialog takes it: a number from 0 to 100 with at most one
// point ("8", "8.5", "10."); full-width digits and point are read as their ASCII forms and
// blanks around it are dropped. No value for anything else ("abc", "-5", "101", "10%", "").
std::optional<std::string> ParseTaxRate(std::string_view text);

} // namespace bansho
