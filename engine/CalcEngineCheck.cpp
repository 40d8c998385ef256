// The re-key check (検算): the second keying of a calculation compared with its receipt.
#include "CalcEngine.h"

#include "Commands.h"
#include "ReceiptTotal.h"
#include "ValueKinds.h"

namespace bansho {

namespace {
constexpr const char* kCheckLabel = "検算";     // the check has begun
constexpr const char* kMatchLabel = "OK";       // the last entry was the same
constexpr const char* kStopLabel = "検算×";     // an entry differed
constexpr const char* kPassedLabel = "検算OK";  // every entry and the total were the same
constexpr const char* kFirstLabel = "前";       // the first keying's entry
constexpr const char* kSecondLabel = "今";      // the second keying's entry
} // namespace

bool CalcEngine::AllowedWhileStopped(unsigned command) const {
    const auto c = static_cast<Command>(command);
    return c == Command::ReKeyCheck || c == Command::AllClear || c == Command::Copy ||
           IsWindowCommand(command) || command > CommandNumber(Command::None);
}

void CalcEngine::ReKeyCheckKey() {
    DisplayBatch batch(*this);
    switch (check_.Current()) {
    case ReKeyCheck::State::Off: {
        // A calculation of the input receipt must have ended with "=".
        // A receipt of tax items alone holds no calculation to key again.
        if (option_.HistSet != 2 || FirstChainRow(hist_) == hist_.cend() || !InNum.Text.empty() ||
            status_.PendOpe != '=' || status_.ConstMode || timeEntry_.Active()) {
            host_.Beep();
            return;
        }
        check_.Start(hist_, ResNum); // the result, a failed one too
        for (TCalcNum* n : {&ResNum, &InNum, &KNum})
            ClearNum(*n);
        status_.EditTarget = 'R';
        TaxStep = 0;
        TaxMode = 0;
        checkLabel_ = kCheckLabel;
        showingFirst_ = false;
        ShowNum(ResNum);
        ShowOpeMark('=');
        return;
    }
    case ReKeyCheck::State::Checking:
        host_.Beep(); // the second keying is under way
        return;
    case ReKeyCheck::State::Stopped:
        break;
    }
    // Stopped: the first keying's entry and the second's in turn.
    showingFirst_ = !showingFirst_;
    TCalcNum shown;
    char glyph = ' ';
    const KeyedEntry* entry = showingFirst_ ? check_.First()
                                            : (check_.Second() ? &*check_.Second() : nullptr);
    if (entry) {
        shown = TCalcNum{entry->Number, false, KindOfMark(entry->Mark)};
        glyph = entry->Glyph;
    }
    checkLabel_ = showingFirst_ ? kFirstLabel : kSecondLabel;
    if (!entry && !showingFirst_) shown = ResNum; // nothing keyed there: the total so far
    ShowNum(shown);
    ShowOpeMark(glyph);
    if (receipt_ && check_.Row() < hist_.size()) receipt_->RowSelected(check_.Row());
}

bool CalcEngine::CheckEntry() {
    if (DispNum.Text.empty()) DispNum.Text.assign(1, '0');
    const KeyedEntry entry{DispNum.Text, RowGlyph(), MarkOfKind(DispNum.Kind)};
    if (!check_.Entry(entry)) {
        CheckStopped();
        return false;
    }
    checkLabel_ = kMatchLabel;
    return true;
}

void CalcEngine::CheckFinish() {
    if (!check_.Finish(ResNum)) {
        CheckStopped();
        return;
    }
    check_.Stop();
    checkLabel_.clear();
    RefreshNumMark();
    display_.NumMark = kPassedLabel; // until the next key refreshes the marks
}

void CalcEngine::CheckStopped() {
    host_.CheckBeep();
    checkLabel_ = kStopLabel;
    showingFirst_ = false;
    RefreshNumMark();
    if (receipt_ && check_.Row() < hist_.size()) receipt_->RowSelected(check_.Row());
}

} // namespace bansho
