// The history lists: receipts, HS/HC, and the operations of the history window.
#include "CalcEngine.h"

#include "NumberText.h"
#include "Pricing.h"
#include "ReceiptTotal.h"
#include "TextFunctions.h"
#include "ValueKinds.h"

namespace bansho {

namespace {
bool IsOperator(char c) {
    return c == '+' || c == '-' || c == '*' || c == '/';
}
} // namespace

bool CalcEngine::NewReceiptDue() const {
    // A pricing row at the end is a calculation still going on, not a finished receipt; a
    // second keying for the re-key check never starts a new receipt: the first one stays.
    return option_.HistSet == 2 && status_.PendOpe == '=' && !hist_.empty() &&
           CountsInTotal(hist_.back().Mark()) && !check_.Active();
}

std::string CalcEngine::HistRow(std::size_t i) const {
    const HistoryEntry& e = hist_[i];
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
    if (receipt_) receipt_->RowAppended(hist_.size() - 1);
    RefreshHistCount();
}

char CalcEngine::RowGlyph() const {
    const std::string& number = DispNum.Text;
    const bool negative = !number.empty() && number.front() == '-';
    const char pend = status_.PendOpe;
    // A row stores the operator it shows, so that it counts as it reads wherever it stands.
    // A number recorded with no operator pending adds itself with its own sign.
    // A row without a glyph counts as "+" (HistoryEntry::Ope).
    const bool first = check_.Active() ? check_.Keyed() == 0 : FirstCountedRowDue();
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
    if (option_.HistSet == 2 && itemCount_ != 0) {
        itemCount_ = 0;
        RefreshItemsMark();
    }
    if (hist_.empty()) return;
    hist_.clear();
    histCounted_.clear();
    if (receipt_) {
        receipt_->HistoryCleared();
        receipt_->LampOff();
    }
    RefreshHistCount();
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
    if (receipt_) receipt_->RowReplaced(i);
    return true;
}

bool CalcEngine::InsertHistoryEntry(std::size_t i) {
    if (i > hist_.size()) return false;
    hist_.emplace(hist_.begin() + static_cast<std::ptrdiff_t>(i), "0", '+');
    histCounted_.insert(histCounted_.begin() + static_cast<std::ptrdiff_t>(i), false);
    if (receipt_) receipt_->RowInserted(i);
    RefreshHistCount();
    return true;
}

bool CalcEngine::RemoveHistoryEntry(std::size_t i) {
    if (i >= hist_.size()) return false;
    DisplayBatch batch(*this); // the row count and the item count change together
    hist_.erase(hist_.begin() + static_cast<std::ptrdiff_t>(i));
    // A counted amount taken out of the receipt is no longer an item of the bill.
    if (histCounted_[i] && itemCount_ > 0) --itemCount_;
    histCounted_.erase(histCounted_.begin() + static_cast<std::ptrdiff_t>(i));
    RefreshItemsMark();
    if (receipt_) receipt_->RowRemoved(i);
    RefreshHistCount();
    return true;
}

bool CalcEngine::SwapHistoryEntries(std::size_t i, std::size_t j) {
    if (i == j || i >= hist_.size() || j >= hist_.size()) return false;
    std::swap(hist_[i], hist_[j]);
    std::swap(histCounted_[i], histCounted_[j]);
    if (receipt_) receipt_->RowsSwapped(i, j);
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
