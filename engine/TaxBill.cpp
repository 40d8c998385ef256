#include "TaxBill.h"

#include "NumberText.h"
#include "SelectedResult.h"
#include "TextFunctions.h"

namespace bansho {

namespace {

constexpr RowMark kItemMarks[kTaxRateCount][2] = {
    {RowMark::TaxRate1BeforeTax, RowMark::TaxRate1WithTax},
    {RowMark::TaxRate2BeforeTax, RowMark::TaxRate2WithTax},
};

// dst := dst ope src as every calculation of the calculator takes it.
bool Step(TCalcNum& dst, const TCalcNum& src, char ope, char mode, int acount,
          std::string* badText) {
    TCalcNum s = src;
    return CalcNumbers(dst, s, ope, mode, acount, badText);
}

// The sums of one rate, before tax and with tax, and their taxes.
struct RateSums {
    TCalcNum sumBefore, sumWith, taxBefore, taxWith;
};

bool TaxesOf(RateSums& s, const TCalcNum& rate, const BillArithmetic& how, std::string* bad) {
    // The tax on the prices before tax: sum × rate ÷ 100, worked exactly and rounded once.
    s.taxBefore = s.sumBefore;
    TCalcNum percent = rate;
    if (!CalcSelected(s.taxBefore, percent, '*', '%', how.acount, how.decimals, how.rule, bad))
        return false;
    // The tax the prices with tax contain: sum × rate ÷ (100 + rate), worked exactly and
    // rounded once under a selection.
    if (how.decimals >= 0) {
        if (s.sumWith.Error) {
            s.taxWith = s.sumWith;
            return true;
        }
        return TaxContainedSelected(s.sumWith, rate, how.acount, how.decimals, how.rule,
                                    s.taxWith, bad);
    }
    TCalcNum hundred{"100", false};
    if (!Step(hundred, rate, '+', ' ', how.acount, bad)) return false;
    s.taxWith = s.sumWith;
    if (!Step(s.taxWith, hundred, '/', ' ', how.acount, bad)) return false;
    return Step(s.taxWith, rate, '*', ' ', how.acount, bad);
}

// An amount as the invoice prints it: "1,620", "12.5", "E" for an error.
std::string InvoiceAmount(const TCalcNum& n) {
    if (n.Error) return "E";
    std::string t = TrimLeftBlanks(n.Text);
    if (!t.empty() && t.back() == '.') t.pop_back();
    if (t.empty()) t = "0";
    return "¥" + InsertThousands(t);
}

} // namespace

RowMark TaxItemMark(int rate, bool withTax) {
    return kItemMarks[rate == 1 ? 1 : 0][withTax ? 1 : 0];
}

std::optional<BillItem> TaxItemOfRow(const HistoryEntry& row) {
    for (int r = 0; r < kTaxRateCount; ++r)
        for (int w = 0; w < 2; ++w)
            if (kItemMarks[r][w] == row.Mark())
                return BillItem{std::string(row.Number()), r, w == 1};
    return std::nullopt;
}

bool ComputeBill(const std::vector<BillItem>& items,
                 const std::array<TCalcNum, kTaxRateCount>& rates, const BillArithmetic& how,
                 BillTotals& totals, std::string* badText) {
    totals = BillTotals{};
    std::array<RateSums, kTaxRateCount> sums;
    for (const BillItem& item : items) {
        const int r = item.rate == 1 ? 1 : 0;
        totals.rate[static_cast<std::size_t>(r)].used = true;
        RateSums& s = sums[static_cast<std::size_t>(r)];
        const TCalcNum amount{CutText(item.amount, kCalcNumTextMax), false};
        if (!Step(item.withTax ? s.sumWith : s.sumBefore, amount, '+', ' ', how.acount, badText))
            return false;
    }
    for (std::size_t r = 0; r < sums.size(); ++r) {
        RateTotals& t = totals.rate[r];
        if (!t.used) continue;
        RateSums& s = sums[r];
        if (!TaxesOf(s, rates[r], how, badText)) return false;
        t.beforeTax = s.sumBefore;
        if (!Step(t.beforeTax, s.sumWith, '+', ' ', how.acount, badText)) return false;
        if (!Step(t.beforeTax, s.taxWith, '-', ' ', how.acount, badText)) return false;
        t.tax = s.taxBefore;
        if (!Step(t.tax, s.taxWith, '+', ' ', how.acount, badText)) return false;
        t.withTax = s.sumBefore;
        if (!Step(t.withTax, s.taxBefore, '+', ' ', how.acount, badText)) return false;
        if (!Step(t.withTax, s.sumWith, '+', ' ', how.acount, badText)) return false;
        if (!Step(totals.beforeTax, t.beforeTax, '+', ' ', how.acount, badText)) return false;
        if (!Step(totals.tax, t.tax, '+', ' ', how.acount, badText)) return false;
        if (!Step(totals.withTax, t.withTax, '+', ' ', how.acount, badText)) return false;
    }
    return true;
}

std::string RateText(const TCalcNum& rate) {
    std::string t = TrimLeftBlanks(rate.Text);
    while (!t.empty() && static_cast<unsigned char>(t.back()) <= ' ')
        t.pop_back();
    if (t.find('.') != std::string::npos) {
        t = TrimRightChar(t, '0');
        if (!t.empty() && t.back() == '.') t.pop_back();
    }
    return t.empty() ? "0" : t;
}

std::vector<BillStep> BillSteps(const BillTotals& totals,
                                const std::array<std::string, kTaxRateCount>& rateTexts) {
    std::vector<BillStep> steps = {
        {totals.withTax, "合計税込"}, {totals.beforeTax, "合計税抜"}, {totals.tax, "合計税額"}};
    for (std::size_t r = 0; r < totals.rate.size(); ++r) {
        const RateTotals& t = totals.rate[r];
        if (!t.used) continue;
        const std::string& rate = rateTexts[r];
        steps.push_back({t.beforeTax, rate + "%対象"});
        steps.push_back({t.tax, rate + "%税額"});
        steps.push_back({t.withTax, rate + "%税込"});
    }
    return steps;
}

std::vector<std::string> InvoiceLines(const BillTotals& totals,
                                      const std::array<std::string, kTaxRateCount>& rateTexts) {
    std::vector<std::string> lines;
    for (std::size_t r = 0; r < totals.rate.size(); ++r) {
        const RateTotals& t = totals.rate[r];
        if (!t.used) continue;
        lines.push_back(rateTexts[r] + "%対象 " + InvoiceAmount(t.beforeTax) + " 消費税 " +
                        InvoiceAmount(t.tax));
    }
    if (lines.empty()) return lines;
    lines.push_back("税抜合計 " + InvoiceAmount(totals.beforeTax));
    lines.push_back("消費税合計 " + InvoiceAmount(totals.tax));
    lines.push_back("税込合計 " + InvoiceAmount(totals.withTax));
    if (totals.rate[1].used) lines.push_back("※は軽減税率対象");
    return lines;
}

std::string TaxItemRowText(const BillItem& item) {
    // The row is drawn from what it stores alone, so a rate changed later does not change
    // rows already on the receipt.
    std::string prefix = item.rate == 1 ? "※" : "";
    prefix += item.withTax ? "内 " : "外 ";
    // The number stands where every row's number stands (its point in column 23); the mark
    // takes the blanks before it (a point in the rate must not move the number).
    std::string number = InsertThousands(item.amount);
    if (number.find('.') == std::string::npos) number += '.';
    // Only the alignment's own blanks give way: a stored text that begins with a blank or a
    // control character shows it, as any row does.
    const std::size_t pad = AlignNumber(number).size() - number.size();
    const std::size_t width = TextWidth(prefix);
    return (pad > width ? std::string(pad - width, ' ') : std::string()) + prefix + number;
}

std::optional<std::string> ParseTaxRate(std::string_view text) {
    std::string t;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        // Full-width digits U+FF10-FF19 (EF BC 90-99), the full-width point U+FF0E (EF BC 8E)
        // and the ideographic space U+3000 (E3 80 80).
        if (c == 0xEF && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xBC) {
            const auto d = static_cast<unsigned char>(text[i + 2]);
            if (d >= 0x90 && d <= 0x99) {
                t += static_cast<char>('0' + (d - 0x90));
                i += 2;
                continue;
            }
            if (d == 0x8E) {
                t += '.';
                i += 2;
                continue;
            }
        }
        if (c == 0xE3 && text.substr(i, 3) == "\xE3\x80\x80") {
            t += ' ';
            i += 2;
            continue;
        }
        t += static_cast<char>(c);
    }
    const auto first = t.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    t = t.substr(first, t.find_last_not_of(" \t") - first + 1);
    if (t.size() > kCalcNumTextMax) return std::nullopt;
    int digits = 0, points = 0;
    for (const char c : t) {
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c == '.')
            ++points;
        else
            return std::nullopt;
    }
    long double v = 0;
    if (digits == 0 || points > 1 || !ParseNumber(t, v) || v < 0 || v > 100) return std::nullopt;
    return t;
}

} // namespace bansho
