// The history lists: receipts, HS/HC, and the operations of the history window.
#include "CalcEngine.h"

#include "NumberText.h"
#include "Pricing.h"
#include "ReceiptTotal.h"
#include "TextFunctions.h"
#include "ValueKinds.h"

#include <algorithm>

namespace bansho {

namespace {
bool IsOperator(char c) {
    return c == '+' || c == '-' || c == '*' || c == '/';
}
} // namespace

bool CalcEngine::NewReceiptDue() const {
    // A pricing row at the end is a calculation still going on, not a finished receipt; while
    // a tax bill is open its items stay on the receipt. A second keying for the re-key check
    // never starts a new receipt: the first one stays.
    return option_.HistSet == 2 && status_.PendOpe == '=' && !hist_.empty() &&
           CountsInTotal(hist_.back().Mark()) && !(billOnReceipt_ && !bill_.empty()) &&
           !check_.Active();
}

std::string CalcEngine::HistRow(std::size_t i) const {
    const HistoryEntry& e = hist_[i];
    if (IsTaxItemMark(e.Mark())) return TaxItemRow(i);
    const RowMark mark = e.Mark();
    if (mark == RowMark::Time || mark == RowMark::Date)
        return KindRowText(e.Glyph(), TCalcNum{std::string(e.Number()), false, KindOfMark(mark)});
    const std::string_view label = RowMarkLabel(mark);
    if (!label.empty()) return HistoryRowText(' ', e.Number()) + " " + std::string(label);
    return HistoryRowText(e.Glyph(), e.Number());
}

void CalcEngine::AddHistoryEntry() {
    if (DispNum.Text.empty()) DispNum.Text.assign(1, '0');
    hist_.emplace_back(DispNum.Text, RowGlyph(), MarkOfKind(DispNum.Kind));
    histCounted_.push_back(option_.HistSet == 2 && recordCounted_);
    recordCounted_ = false;
    Tell([this](ReceiptObserver& o) { o.RowAppended(hist_.size() - 1); });
    RefreshHistCount();
}

char CalcEngine::RowGlyph() const {
    const std::string& number = DispNum.Text;
    const bool negative = !number.empty() && number.front() == '-';
    const char pend = status_.PendOpe;
    // A row stores the operator it shows, so that it counts as it reads wherever it stands.
    // A number recorded with no operator pending adds itself with its own sign.
    // A row without a glyph counts as "+" (HistoryEntry::Ope).
    // Items of the tax bill and values of the pricing keys on the receipt are no rows of the
    // calculation: the first row is the first of the chain, in the first keying as in the
    // second for the re-key check.
    const bool first =
        check_.Active() ? check_.Keyed() == 0 : FirstChainRow(hist_) == hist_.cend();
    if (first) {
        // The first row shows a negative number with its own sign and no operator glyph, and
        // otherwise only "+" or "-": a pending multiply or divide has nothing to act on here.
        return negative ? ' ' : (pend == '-' ? '-' : '+');
    }
    return IsOperator(pend) ? pend : '+';
}

void CalcEngine::ClearHistory() {
    DisplayBatch batch(*this);
    // In the input receipt the receipt is the bill: its count goes with it.
    if (option_.HistSet == 2) recordCounted_ = false; // no row of the new receipt carries it
    if (option_.HistSet == 2 && itemCount_ != 0) {
        itemCount_ = 0;
        RefreshItemsMark();
    }
    if (hist_.empty()) return;
    Cleared own;
    TakeRows(clearing_ ? *clearing_ : own);
    Tell([](ReceiptObserver& o) { o.HistoryCleared(); });
    if (receipt_) receipt_->LampOff();
    RefreshHistCount();
    if (!clearing_) Commit(std::move(own));
}

bool CalcEngine::EnterCorrectionMode() {
    if (!OpeKey('=')) return false;
    if (!hist_.empty() && receipt_) receipt_->LampOn();
    return true;
}

void CalcEngine::RecallHistoryEntry(std::size_t i) {
    if (i >= hist_.size()) return;
    timeEntry_.Finish(); // the recalled row is the entry now
    TakeRecalled(TCalcNum{CutText(hist_[i].Number(), kCalcNumTextMax), false,
                          KindOfMark(hist_[i].Mark())});
}

bool CalcEngine::ReplaceHistoryEntry(std::size_t i, const std::string& number, char ope) {
    if (i >= hist_.size() || !IsOperator(ope)) return false;
    hist_[i].Set(number, ope);
    Tell([i](ReceiptObserver& o) { o.RowReplaced(i); });
    if (IsTaxItemMark(hist_[i].Mark())) RebuildBillFromReceipt();
    return true;
}

bool CalcEngine::InsertHistoryEntry(std::size_t i) {
    if (i > hist_.size()) return false;
    // A row inserted before a tax item is another item of the same rate and kind.
    const RowMark mark =
        i < hist_.size() && IsTaxItemMark(hist_[i].Mark()) ? hist_[i].Mark() : RowMark::None;
    hist_.emplace(hist_.begin() + static_cast<std::ptrdiff_t>(i), "0", '+', mark);
    histCounted_.insert(histCounted_.begin() + static_cast<std::ptrdiff_t>(i), false);
    Tell([i](ReceiptObserver& o) { o.RowInserted(i); });
    RefreshHistCount();
    if (mark != RowMark::None) RebuildBillFromReceipt();
    return true;
}

bool CalcEngine::RemoveHistoryEntry(std::size_t i) {
    if (i >= hist_.size()) return false;
    DisplayBatch batch(*this); // the row count and the item count change together
    const bool taxItem = IsTaxItemMark(hist_[i].Mark());
    hist_.erase(hist_.begin() + static_cast<std::ptrdiff_t>(i));
    // A counted amount taken out of the receipt is no longer an item of the bill.
    if (histCounted_[i] && itemCount_ > 0) --itemCount_;
    histCounted_.erase(histCounted_.begin() + static_cast<std::ptrdiff_t>(i));
    RefreshItemsMark();
    Tell([i](ReceiptObserver& o) { o.RowRemoved(i); });
    RefreshHistCount();
    if (taxItem) RebuildBillFromReceipt();
    return true;
}

bool CalcEngine::SwapHistoryEntries(std::size_t i, std::size_t j) {
    if (i == j || i >= hist_.size() || j >= hist_.size()) return false;
    std::swap(hist_[i], hist_[j]);
    std::swap(histCounted_[i], histCounted_[j]);
    Tell([i, j](ReceiptObserver& o) { o.RowsSwapped(i, j); });
    if (IsTaxItemMark(hist_[i].Mark()) || IsTaxItemMark(hist_[j].Mark())) RebuildBillFromReceipt();
    return true;
}

bool CalcEngine::ReceiptTotal(TCalcNum& total, std::string* badText) const {
    return FoldReceipt(hist_, option_.Acount, option_.Decimals, option_.Rounding, total, badText,
                       bothEnds_);
}

bool CalcEngine::RecalcHistory() {
    if (option_.HistSet == 2) {
        timeEntry_.Finish();
        // Every row counts by the operator it stores, which is the one it shows.
        TCalcNum r;
        std::string bad;
        if (!ReceiptTotal(r, &bad)) return ConvertFailed(bad);
        ResNum = r;
        status_.EditTarget = 'R';
        ShowNum(ResNum);
        // A receipt of tax items without a calculation (values of the pricing keys may stand
        // beside them) shows the bill's total with tax.
        const bool taxItems = std::any_of(hist_.begin(), hist_.end(), [](const HistoryEntry& e) {
            return IsTaxItemMark(e.Mark());
        });
        if (taxItems && FirstChainRow(hist_) == hist_.cend()) {
            BillStep = 0;
            if (!BillTotal()) return false;
        }
    }
    host_.FocusMain();
    return true;
}

std::string CalcEngine::HistoryCopyText(std::size_t last) const {
    std::string text;
    if (hist_.empty()) return text;
    const std::size_t end = std::min(last, hist_.size() - 1);
    for (std::size_t i = 0; i <= end; ++i) {
        text += HistRow(i);
        text += '\n';
    }
    return text;
}

void CalcEngine::CopyHistoryToClip(std::size_t last) {
    if (hist_.empty()) return;
    host_.SetClipboardText(HistoryCopyText(last));
}

} // namespace bansho
