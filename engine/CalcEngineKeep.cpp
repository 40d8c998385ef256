// Clearing undone (command 64) and the kept receipt: what a clear took, brought back; the rows
// and values of a kept receipt put in place at start; the keeper told of changed values.
#include "CalcEngine.h"

#include <algorithm>
#include <utility>

namespace bansho {

void CalcEngine::SetKeeper(ReceiptObserver* keeper) {
    keeper_ = keeper;
    // The keeper starts from the values as they stand.
    notedMem_ = MemNum;
    notedGT_ = GTNum;
    notedKind_ = option_.HistSet;
}

void CalcEngine::NoteValues() {
    if (!keeper_) return;
    if (MemNum == notedMem_ && GTNum == notedGT_ && option_.HistSet == notedKind_) return;
    notedMem_ = MemNum;
    notedGT_ = GTNum;
    notedKind_ = option_.HistSet;
    keeper_->ValuesChanged();
}

void CalcEngine::TakeRows(Cleared& into) {
    into.HasRows = true;
    into.Rows = std::move(hist_);
    hist_.clear(); // a moved-from deque is empty, and now surely so
    into.Counted = std::move(histCounted_);
    histCounted_.clear();
}

void CalcEngine::Commit(Cleared&& cleared) {
    // A clear that took nothing (AC on an empty receipt) leaves the last undo as it was.
    if (cleared.Any()) undo_ = std::move(cleared);
}

void CalcEngine::TakeBill(Cleared& into) {
    if (bill_.empty()) return;
    into.HasBill = true;
    into.Bill = bill_;
    into.BillOnReceipt = billOnReceipt_;
    into.BillRows = billRows_;
}

void CalcEngine::PutBackBill(Cleared& from) {
    bill_ = std::move(from.Bill);
    billOnReceipt_ = from.BillOnReceipt;
    billRows_ = std::min(from.BillRows, bill_.size());
    cycleItem_ = -1;
    cycleRow_ = -1;
    BillStep = 0; // the tax-total key starts again from the bill's total
}

void CalcEngine::UndoClear() {
    DisplayBatch batch(*this);
    if (!undo_.Any()) {
        host_.Beep();
        return;
    }
    Cleared back = std::move(undo_);
    undo_ = Cleared{};
    Cleared now; // what stands in their place now: the next undo brings it back
    if (back.HasRows) {
        // The rows the check or the correction mode worked on are gone.
        check_.Stop();
        checkLabel_.clear();
        TakeRows(now);
        hist_ = std::move(back.Rows);
        histCounted_ = std::move(back.Counted);
        histCounted_.resize(hist_.size(), false);
        if (receipt_) receipt_->LampOff();
        Tell([](ReceiptObserver& o) { o.RowsReset(); });
    }
    if (back.HasGT) {
        now.HasGT = true;
        now.GT = GTNum;
        GTNum = back.GT;
    }
    if (back.HasMem) {
        now.HasMem = true;
        now.Mem = MemNum;
        MemNum = back.Mem;
    }
    if (back.HasBill) {
        TakeBill(now);
        PutBackBill(back);
    }
    if (back.HasCount) {
        now.HasCount = itemCount_ != 0;
        now.ItemCount = itemCount_;
        itemCount_ = back.ItemCount;
        RefreshItemsMark();
    }
    undo_ = std::move(now);
    RefreshMarks();
}

void CalcEngine::RestoreKept(std::deque<HistoryEntry> rows, const TCalcNum& memory,
                             const TCalcNum& gt) {
    DisplayBatch batch(*this);
    hist_ = std::move(rows);
    histCounted_.assign(hist_.size(), false); // the item count starts anew
    MemNum = memory;
    GTNum = gt;
    Tell([](ReceiptObserver& o) { o.RowsReset(); });
    // An input receipt holds nothing from before its AC: its tax items are the bill.
    if (option_.HistSet == 2) {
        RebuildBillFromReceipt();
        billOnReceipt_ = !bill_.empty();
    }
    // An input receipt goes on where it stopped: its re-total is the running result, "+"
    // pending, so that the next number is added to it instead of starting a new receipt.
    TCalcNum total;
    if (option_.HistSet == 2 && !hist_.empty() && ReceiptTotal(total, nullptr)) {
        ResNum = total;
        status_.PendOpe = '+';
        status_.EditTarget = 'R';
        ShowNum(ResNum);
        ShowOpeMark(status_.PendOpe);
    }
    RefreshMarks();
    NoteValues();
}

void CalcEngine::ClearKept() {
    DisplayBatch batch(*this);
    Cleared took;
    if (!GTNum.Text.empty() || GTNum.Error) {
        took.HasGT = true;
        took.GT = GTNum;
    }
    if (!MemNum.Text.empty() || MemNum.Error) {
        took.HasMem = true;
        took.Mem = MemNum;
    }
    clearing_ = &took;
    ClearHistory();
    clearing_ = nullptr;
    ClearNum(GTNum);
    ClearNum(MemNum);
    Commit(std::move(took));
    RefreshMarks();
    NoteValues();
}

} // namespace bansho
