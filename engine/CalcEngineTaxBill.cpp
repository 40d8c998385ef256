// The tax bill: items counted by the tax keys, the tax-total key, the receipt's tax items.
#include "CalcEngine.h"

#include "TaxBill.h"

#include <utility>

namespace bansho {

void CalcEngine::ResetTaxBill() {
    ClearNum(TaxNum2);
    AssignText(TaxNum2, option_.TaxRate2);
    TaxRateKey = 1;
    BillStep = 0;
    bill_.clear();
    cycleItem_ = -1;
    cycleRow_ = -1;
    ClearNum(cycleAmount_);
    billOnReceipt_ = false;
    billRows_ = 0;
}

void CalcEngine::PutBillOnReceipt() {
    billOnReceipt_ = true;
    // The calculation and input receipts show the items with their rates.
    if (option_.HistSet != 1 && option_.HistSet != 2) return;
    for (; billRows_ < bill_.size(); ++billRows_) {
        const BillItem& item = bill_[billRows_];
        hist_.emplace_back(item.amount, '+', TaxItemMark(item.rate, item.withTax));
        // The item being shown carries its count when no row of the calculation took it.
        const bool current = static_cast<long>(billRows_) == cycleItem_;
        histCounted_.push_back(option_.HistSet == 2 && current && shownCounted_ &&
                               std::exchange(recordCounted_, false));
        if (static_cast<long>(billRows_) == cycleItem_) cycleRow_ = static_cast<long>(hist_.size()) - 1;
        Tell([this](ReceiptObserver& o) { o.RowAppended(hist_.size() - 1); });
    }
    RefreshHistCount();
}

void CalcEngine::TakeTaxRate(int rate) {
    TCalcNum& r = RateRegister(rate);
    ClearNum(r);
    AssignText(r, rate == 2 ? option_.TaxRate2 : option_.TaxRate);
}

void CalcEngine::CountTaxItem(int rate, bool withTax, bool newAmount) {
    if (check_.Active()) {
        // A second keying for the re-key check counts nothing again: the bill and the
        // receipt stay as the first keying left them.
        cycleItem_ = -1;
        cycleRow_ = -1;
        return;
    }
    const RowMark mark = TaxItemMark(rate - 1, withTax);
    if (!newAmount) {
        // The same amount under another key: the item it was counted as moves.
        if (cycleItem_ < 0 || static_cast<std::size_t>(cycleItem_) >= bill_.size()) return;
        BillItem& item = bill_[static_cast<std::size_t>(cycleItem_)];
        item.rate = rate - 1;
        item.withTax = withTax;
        if (cycleRow_ >= 0 && static_cast<std::size_t>(cycleRow_) < hist_.size()) {
            HistoryEntry& row = hist_[static_cast<std::size_t>(cycleRow_)];
            if (IsTaxItemMark(row.Mark())) {
                row.Set(row.Number(), row.Glyph(), mark);
                const auto row = static_cast<std::size_t>(cycleRow_);
                Tell([row](ReceiptObserver& o) { o.RowReplaced(row); });
            }
        }
        if (rate == 2) PutBillOnReceipt();
        return;
    }
    cycleItem_ = -1;
    cycleRow_ = -1;
    // A total of the bill on display is no new item.
    if (BillStep != 0) return;
    const std::string amount = cycleAmount_.Text.empty() ? "0" : cycleAmount_.Text;
    bill_.push_back(BillItem{amount, rate - 1, withTax});
    cycleItem_ = static_cast<long>(bill_.size()) - 1;
    if (billOnReceipt_ || rate == 2) PutBillOnReceipt();
}

void CalcEngine::RebuildBillFromReceipt() {
    bill_.clear();
    for (const HistoryEntry& row : hist_)
        if (auto item = TaxItemOfRow(row)) bill_.push_back(std::move(*item));
    billRows_ = bill_.size();
    cycleItem_ = -1;
    cycleRow_ = -1;
    BillStep = 0; // the tax-total key starts again from the bill's total
}

bool CalcEngine::ComputeBillTotals(BillTotals& totals, std::string* badText) const {
    std::array<TCalcNum, kTaxRateCount> rates;
    AssignText(rates[0], option_.TaxRate);
    AssignText(rates[1], option_.TaxRate2);
    const BillArithmetic how{option_.Acount, option_.Decimals, option_.Rounding};
    return ComputeBill(bill_, rates, how, totals, badText);
}

bool CalcEngine::BillTotal() {
    DisplayBatch batch(*this);
    if (!check_.Active()) PutBillOnReceipt(); // a re-key check leaves the receipt as it is
    TakeTaxRate(1);
    TakeTaxRate(2);
    BillTotals totals;
    std::string bad;
    if (!ComputeBillTotals(totals, &bad)) return ConvertFailed(bad);
    const auto steps = BillSteps(totals, {RateText(TaxNum), RateText(TaxNum2)});
    const std::size_t next = BillStep % steps.size();
    // The tax display ends; the amount shown is the next operand, as a tax amount is.
    TaxStep = 0;
    TaxMode = 0;
    InNum = steps[next].amount;
    status_.EditTarget = 'T';
    ShowNum(InNum);
    display_.NumMark = steps[next].label;
    BillStep = static_cast<std::uint8_t>(next + 1);
    // A total of the bill is no item: neither a tax key nor an operator counts it.
    shownCounted_ = true;
    recordCounted_ = false;
    return true;
}

std::vector<std::string> CalcEngine::InvoiceBlock() const {
    BillTotals totals;
    if (bill_.empty() || !ComputeBillTotals(totals, nullptr)) return {};
    TCalcNum r1, r2;
    AssignText(r1, option_.TaxRate);
    AssignText(r2, option_.TaxRate2);
    return InvoiceLines(totals, {RateText(r1), RateText(r2)});
}

std::string CalcEngine::TaxItemRow(std::size_t i) const {
    return TaxItemRowText(*TaxItemOfRow(hist_[i]));
}

} // namespace bansho
