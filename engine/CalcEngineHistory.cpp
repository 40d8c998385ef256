// The history lists: receipts, HS/HC, and the operations of the history window.
#include "CalcEngine.h"

#include "NumberText.h"
#include "TextFunctions.h"

namespace {
bool IsOperator(char c) {
    return c == '+' || c == '-' || c == '*' || c == '/';
}
} // namespace

bool CalcEngine::NewReceiptDue() const {
    return option_.HistSet == 2 && status_.PendOpe == '=' && !histNum_.empty();
}

void CalcEngine::AddHistoryEntry() {
    if (DispNum.Text.empty()) DispNum.Text.assign(1, '0');
    const std::string& number = DispNum.Text;
    const bool negative = !number.empty() && number.front() == '-';
    const char pend = status_.PendOpe;
    // A row stores the operator it shows, so that it counts as it reads wherever it stands.
    // A number recorded with no operator pending adds itself with its own sign.
    char ope = IsOperator(pend) ? pend : '+';
    char glyph = ope;
    if (histNum_.empty()) {
        // The first row shows a negative number with its own sign and no operator glyph, and
        // otherwise only "+" or "-": a pending multiply or divide has nothing to act on here.
        glyph = negative ? ' ' : (pend == '-' ? '-' : '+');
        ope = glyph == '-' ? '-' : '+';
    }
    histNum_.push_back(number);
    histOpe_.push_back(std::string(1, ope));
    histRows_.push_back(HistoryRowText(glyph, number));
    if (receipt_) receipt_->RowAppended(histNum_.size() - 1);
    RefreshHistCount();
}

void CalcEngine::ClearHistory() {
    if (histNum_.empty()) return;
    histNum_.clear();
    histOpe_.clear();
    histRows_.clear();
    if (receipt_) {
        receipt_->HistoryCleared();
        receipt_->LampOff();
    }
    RefreshHistCount();
}

bool CalcEngine::EnterCorrectionMode() {
    if (!OpeKey('=')) return false;
    if (!histNum_.empty() && receipt_) receipt_->LampOn();
    return true;
}

void CalcEngine::RecallHistoryEntry(std::size_t i) {
    if (i >= histNum_.size()) return;
    InNum.Text = CutText(histNum_[i], kCalcNumTextMax);
    InNum.Error = false;
    status_.EditTarget = 'T';
    ShowNum(InNum);
}

bool CalcEngine::ReplaceHistoryEntry(std::size_t i, const std::string& number, char ope) {
    if (i >= histNum_.size() || !IsOperator(ope)) return false;
    histNum_[i] = number;
    histOpe_[i] = std::string(1, ope);
    histRows_[i] = HistoryRowText(ope, number);
    if (receipt_) receipt_->RowReplaced(i);
    return true;
}

bool CalcEngine::InsertHistoryEntry(std::size_t i) {
    if (i > histNum_.size()) return false;
    const auto at = static_cast<std::ptrdiff_t>(i);
    histNum_.insert(histNum_.begin() + at, "0");
    histOpe_.insert(histOpe_.begin() + at, "+");
    histRows_.insert(histRows_.begin() + at, HistoryRowText('+', "0"));
    if (receipt_) receipt_->RowInserted(i);
    RefreshHistCount();
    return true;
}

bool CalcEngine::RemoveHistoryEntry(std::size_t i) {
    if (i >= histNum_.size()) return false;
    const auto at = static_cast<std::ptrdiff_t>(i);
    histNum_.erase(histNum_.begin() + at);
    histOpe_.erase(histOpe_.begin() + at);
    histRows_.erase(histRows_.begin() + at);
    if (receipt_) receipt_->RowRemoved(i);
    RefreshHistCount();
    return true;
}

bool CalcEngine::SwapHistoryEntries(std::size_t i, std::size_t j) {
    if (i == j || i >= histNum_.size() || j >= histNum_.size()) return false;
    std::swap(histNum_[i], histNum_[j]);
    std::swap(histOpe_[i], histOpe_[j]);
    std::swap(histRows_[i], histRows_[j]);
    if (receipt_) receipt_->RowsSwapped(i, j);
    return true;
}

bool CalcEngine::RecalcHistory() {
    if (option_.HistSet == 2) {
        // Every row counts by the operator it stores, which is the one it shows.
        auto rowOpe = [this](std::size_t i) {
            return histOpe_[i].empty() ? ' ' : histOpe_[i].front();
        };
        // Rows of plain numbers are folded as values, the total written out once; from the
        // first row that needs more (an error, an overflow, a text that is not a number) on,
        // Calc takes each row as it always does.
        const std::size_t count = histNum_.size();
        TChainTotal chain(option_.Acount);
        std::size_t i = 0;
        while (i < count && chain.Step(histNum_[i], rowOpe(i)))
            ++i;
        TCalcNum r = chain.Total();
        for (; i < count; ++i) {
            TCalcNum n{CutText(histNum_[i], kCalcNumTextMax), false};
            if (!Calc(r, n, rowOpe(i), ' ')) return false;
        }
        ResNum = r;
        status_.EditTarget = 'R';
        ShowNum(ResNum);
    }
    host_.FocusMain();
    return true;
}

std::string CalcEngine::HistoryCopyText(std::size_t last) const {
    std::string text;
    if (histRows_.empty()) return text;
    const std::size_t end = std::min(last, histRows_.size() - 1);
    for (std::size_t i = 0; i <= end; ++i) {
        text += histRows_[i];
        text += '\n';
    }
    return text;
}

void CalcEngine::CopyHistoryToClip(std::size_t last) {
    if (histRows_.empty()) return;
    host_.SetClipboardText(HistoryCopyText(last));
}
