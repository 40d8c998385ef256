// Operator keys, constant calculation, grand total, tax display and memory.
#include "CalcEngine.h"

#include "TextFunctions.h"

namespace bansho {

namespace {
bool IsOperator(char c) {
    return c == '+' || c == '-' || c == '*' || c == '/';
}
} // namespace

bool CalcEngine::OpeKey(char key) {
    DisplayBatch batch(*this);
    if (IsOperator(key) && receipt_) receipt_->LampOff();
    timeEntry_.Finish(); // an operator closes the field of a time being typed
    // An amount entered with an operator that adds to the total is an item of the bill.
    const int countBefore = itemCount_;
    const bool countedBefore = shownCounted_;
    const bool owedBefore = recordCounted_;
    if (!InNum.Text.empty() && (key == '+' || key == '-' || key == '=' || key == '%'))
        CountItem();
    // The row recorded for the amount carries its count when the amount was counted (by this
    // key or a tax key before it) and no row carries that count yet.
    recordCounted_ = recordCounted_ && shownCounted_ && !InNum.Text.empty();
    const bool ok = status_.ConstMode ? OpeConst(key) : OpeNormal(key);
    if (!ok) {
        itemCount_ = countBefore;
        shownCounted_ = countedBefore;
        recordCounted_ = owedBefore;
        RefreshItemsMark();
        return false;
    }
    // What the operator shows is a result: its amounts were counted as they were entered, so a
    // tax key on it counts no item (100 + 200 = and a tax key are two items, not three).
    shownCounted_ = true;
    recordCounted_ = false;
    status_.LastKey = key;
    return true;
}

bool CalcEngine::OpeNormal(char key) {
    const char ope = key == '%' ? '=' : key;
    if (InNum.Text.empty()) {
        if (IsOperator(ope) && ope == status_.LastKey) {
            // The same operator twice: the shown value becomes the constant.
            status_.ConstMode = true;
            RefreshKMark();
            KNum = DispNum;
            status_.ConstOpe = ope;
        } else {
            status_.ConstMode = false;
            RefreshKMark();
            status_.PendOpe = ope;
        }
        ShowOpeMark(status_.PendOpe);
        return true;
    }
    status_.EditTarget = 'R';
    status_.ConstMode = false;
    if (check_.Active()) {
        if (!CheckEntry()) return true; // stopped: the entry stays on display
    } else if (option_.HistSet == 2) {
        AddHistoryEntry();
    }
    if (IsOperator(status_.PendOpe)) {
        if (!CalcResult(ResNum, InNum, status_.PendOpe, key)) return false;
    } else {
        ResNum = DispNum;
    }
    if (ope == '=') {
        // A failed result does not count towards the grand total, nor does a time or a date:
        // the total is of amounts. A second keying for the re-key check is not a new amount
        // either. The grand total adds the result exactly as it is shown, and is not rounded
        // again.
        if (!ResNum.Error && ResNum.Kind == ValueKind::Number && !check_.Active() &&
            !Calc(GTNum, ResNum, '+', ' '))
            return false;
        ShowNum(ResNum);
        if (check_.Active())
            CheckFinish();
        else if (option_.HistSet == 1)
            AddHistoryEntry();
    } else {
        ShowNum(ResNum);
    }
    ClearNum(InNum);
    status_.PendOpe = ope;
    ShowOpeMark(status_.PendOpe);
    return true;
}

bool CalcEngine::OpeConst(char key) {
    const char ope = key == '%' ? '=' : key;
    if (IsOperator(ope)) {
        status_.ConstMode = false;
        RefreshKMark();
        status_.PendOpe = ope;
        ShowOpeMark(ope);
        ResNum = DispNum;
        ClearNum(InNum);
        return true;
    }
    if (!InNum.Text.empty()) {
        if (!CalcResult(InNum, KNum, status_.ConstOpe, key)) return false;
        ShowNum(InNum);
        ClearNum(InNum);
    } else {
        // On a copy: DispNum is the last number shown without error, and a failed result
        // must not leave its leftover digits there for copy, HS or M+ to take as a number.
        TCalcNum shown = DispNum;
        if (!CalcResult(shown, KNum, status_.ConstOpe, key)) return false;
        ShowNum(shown);
    }
    ShowOpeMark('=');
    return true;
}

void CalcEngine::GTRecall() {
    DisplayBatch batch(*this);
    TakeRecalled(GTNum);
}

bool CalcEngine::TaxIncluded(int rate) {
    DisplayBatch batch(*this);
    if (TaxStep == 0 && DispNum.Kind != ValueKind::Number) { // no tax on a time or a date
        host_.Beep();
        return true;
    }
    const bool newAmount = TaxStep == 0;
    const bool otherRate = TaxStep != 0 && rate != TaxRateKey;
    if (newAmount || (TaxMode == 3 && TaxStep == 3) || otherRate) {
        // Another rate's key recomputes the amount the running display started from.
        const TCalcNum base = otherRate ? cycleAmount_ : DispNum;
        TakeTaxRate(rate);
        TCalcNum& rateNum = RateRegister(rate);
        TaxAmtNum = base;
        TaxInNum = base;
        TaxOutNum = base;
        if (!CalcResult(TaxAmtNum, rateNum, '*', '%')) return false;
        if (option_.Decimals < 0) {
            if (!Calc(TaxInNum, rateNum, '+', '%')) return false;
        } else {
            // The tax is rounded and the amount with tax derived from it, so that base + tax
            // is always the amount shown with tax.
            if (!Calc(TaxInNum, TaxAmtNum, '+', ' ')) return false;
        }
        cycleAmount_ = base;
        TaxRateKey = static_cast<std::uint8_t>(rate);
        if (otherRate) TaxMode = 0; // the cycle starts again at its first step
        // The first press on an amount counts it, as the bill counts it; the count goes with
        // the item's receipt row when the bill puts one there now.
        if (newAmount) CountItem();
        CountTaxItem(rate, false, newAmount);
    }
    if (TaxMode != 1) {
        TaxMode = 1;
        TaxStep = 1;
    }
    ShowTaxStep();
    return true;
}

bool CalcEngine::TaxExcluded(int rate) {
    DisplayBatch batch(*this);
    if (TaxStep == 0 && DispNum.Kind != ValueKind::Number) {
        host_.Beep();
        return true;
    }
    const bool newAmount = TaxStep == 0;
    const bool otherRate = TaxStep != 0 && rate != TaxRateKey;
    if (newAmount || (TaxMode == 1 && TaxStep == 1) || otherRate) {
        const TCalcNum base = otherRate ? cycleAmount_ : DispNum;
        TakeTaxRate(rate);
        TCalcNum& rateNum = RateRegister(rate);
        TaxInNum = base;
        TaxOutNum = base;
        TaxAmtNum = base;
        if (option_.Decimals < 0) {
            TCalcNum w{"100", false};
            if (!Calc(w, rateNum, '+', ' ')) return false;
            if (!Calc(TaxAmtNum, w, '/', ' ')) return false;
            if (!Calc(TaxAmtNum, rateNum, '*', ' ')) return false;
        } else if (!TaxContained(base, rateNum, TaxAmtNum)) {
            return false;
        }
        // base = amount with tax - the tax as shown
        if (!Calc(TaxOutNum, TaxAmtNum, '-', ' ')) return false;
        cycleAmount_ = base;
        TaxRateKey = static_cast<std::uint8_t>(rate);
        if (otherRate) TaxMode = 0;
        // The first press on an amount counts it, as the bill counts it; the count goes with
        // the item's receipt row when the bill puts one there now.
        if (newAmount) CountItem();
        CountTaxItem(rate, true, newAmount);
    }
    if (TaxMode != 3) {
        TaxMode = 3;
        TaxStep = 3;
    }
    ShowTaxStep();
    return true;
}

void CalcEngine::ShowTaxStep() {
    DisplayBatch batch(*this);
    std::string label;
    switch (TaxStep) {
    case 1:
        InNum = TaxInNum;
        label = "税込";
        break;
    case 2:
        InNum = TaxAmtNum;
        label = "税額";
        break;
    case 3:
        InNum = TaxOutNum;
        label = "税抜";
        break;
    default:
        break;
    }
    status_.EditTarget = 'T';
    ShowNum(InNum);
    // The base amount carries no label.
    if (TaxMode == 1 && label == "税抜") label.clear();
    if (TaxMode == 3 && label == "税込") label.clear();
    // An amount at rate 2 says so: "税込8%".
    if (!label.empty() && TaxRateKey == 2) label += RateText(TaxNum2) + "%";
    display_.NumMark = label;
    if (TaxMode == 1)
        TaxStep = TaxStep >= 3 ? 1 : TaxStep + 1;
    else
        TaxStep = TaxStep <= 1 ? 3 : TaxStep - 1;
}

// ---- Memory ----

void CalcEngine::MemClear() {
    DisplayBatch batch(*this);
    ClearNum(MemNum);
    RefreshMemMark();
}

bool CalcEngine::MemAddSub(char ope) {
    DisplayBatch batch(*this);
    if (option_.CalcMem) {
        // Complete the pending calculation, like "=" without grand total and history.
        status_.EditTarget = 'R';
        if (InNum.Text.empty() || !IsOperator(status_.PendOpe)) {
            ResNum = DispNum;
        } else if (!CalcResult(ResNum, InNum, status_.PendOpe, ' ')) {
            return false;
        }
        ShowNum(ResNum);
        status_.PendOpe = '=';
        ShowOpeMark('=');
        ClearNum(InNum);
    }
    // The memory adds exactly the number (or time, or date) shown, and is not rounded again.
    if (!CalcAny(MemNum, DispNum, ope, ' ')) return false;
    RefreshMemMark();
    return true;
}

void CalcEngine::MemRecall() {
    DisplayBatch batch(*this);
    TakeRecalled(MemNum);
}

void CalcEngine::MemSwap() {
    DisplayBatch batch(*this);
    const TCalcNum t = MemNum;
    MemNum = DispNum;
    TakeRecalled(t);
}

} // namespace bansho
