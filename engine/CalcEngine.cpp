// Dispatch, all-clear, number entry, the display model and the clipboard commands.
#include "CalcEngine.h"

#include "Commands.h"
#include "NumberText.h"
#include "PasteText.h"
#include "TextFunctions.h"
#include "Utf8.h"
#include "ValueKinds.h"

#include <utility>

namespace bansho {

namespace {

constexpr const char* kErrorCaption = "- E -  ";

// The keys that type into the entry register.
bool StartsEntry(unsigned command) {
    return command <= 9 || command == CommandNumber(Command::Point) ||
           command == CommandNumber(Command::DoubleZero) ||
           command == CommandNumber(Command::TripleZero);
}

} // namespace

CalcEngine::CalcEngine(TOption& option, TCalcStatus& status, EngineHost& host)
    : option_(option), status_(status), host_(host) {}

CalcEngine::DisplayBatch::DisplayBatch(CalcEngine& engine) : engine_(engine) {
    if (engine_.batchDepth_++ == 0) engine_.displayBefore_ = engine_.display_;
}

CalcEngine::DisplayBatch::~DisplayBatch() {
    if (--engine_.batchDepth_ == 0 && !(engine_.display_ == engine_.displayBefore_))
        engine_.host_.DisplayChanged();
}

void CalcEngine::ExecCommand(unsigned command) {
    stopped_ = false;
    {
        DisplayBatch batch(*this);
        RunCommand(command);
    }
    NoteValues();
    if (!stopped_) host_.FocusMain();
}

void CalcEngine::RunCommand(unsigned command) {
    const bool checkStopped = check_.Current() == ReKeyCheck::State::Stopped;
    // Key 58 lays the count over the display until the next key, which then finds the amount
    // and the last key as they were, except that a digit starts a new number: what is typed
    // next is what the display shows. A time being typed ends first, as at any other key.
    if (command == CommandNumber(Command::ItemCount) && !checkStopped) {
        if (timeEntry_.Active()) TimeEntryCommand(command);
        ShowItemCount();
        return;
    }
    const bool countCovered = command != CommandNumber(Command::None) && RestoreAfterCount();
    if (IsWindowCommand(command)) {
        host_.WindowCommand(command);
        // The NUM-key mode, the status bar or the settings may have changed meanwhile.
        const auto c = static_cast<Command>(command);
        if (c == Command::ToggleNumKey)
            RefreshNumMark();
        else if (c == Command::ToggleStatusBar || c == Command::Customize)
            RefreshMarks();
        return;
    }
    if (checkStopped && !AllowedWhileStopped(command)) {
        host_.Beep(); // the difference stays on display until 検算 or AC
        return;
    }
    // A key with no command (an arrow key, a key the user left free) changes nothing, not even
    // what the last key was, nor a time being typed.
    if (command == CommandNumber(Command::None)) return;
    if (timeEntry_.Active() && TimeEntryCommand(command)) return;
    // A value shown by a pricing or conversion key is not typed: a digit starts a new number.
    if ((std::exchange(entryShown_, false) || countCovered) && StartsEntry(command))
        ClearNum(InNum);
    RunEngineCommand(command);
    previousCommand_ = command;
}

void CalcEngine::RunEngineCommand(unsigned command) {
    switch (static_cast<Command>(command)) {
    case Command::Digit0:
        AppendZeros(InNum, "0");
        break;
    case Command::Digit1:
    case Command::Digit2:
    case Command::Digit3:
    case Command::Digit4:
    case Command::Digit5:
    case Command::Digit6:
    case Command::Digit7:
    case Command::Digit8:
    case Command::Digit9: {
        const char digit[2] = {static_cast<char>('0' + command), '\0'};
        AppendDigits(InNum, digit);
        break;
    }
    case Command::Point:
        AppendDigits(InNum, ".");
        break;
    case Command::Add:
        OpeKey('+');
        break;
    case Command::Subtract:
        OpeKey('-');
        break;
    case Command::Multiply:
        OpeKey('*');
        break;
    case Command::Divide:
        OpeKey('/');
        break;
    case Command::Equals:
        OpeKey('=');
        break;
    case Command::Percent:
        OpeKey('%');
        break;
    case Command::ChangeSign:
        NegateNum(EditRegister());
        break;
    case Command::AllClear:
        AllClear();
        break;
    case Command::ClearEntry:
        ClearEntry();
        break;
    case Command::HistoryClear:
        ClearHistory();
        break;
    case Command::HistoryStore: {
        // A row stored by hand carries no count: the amount's own row will.
        const bool owed = std::exchange(recordCounted_, false);
        AddHistoryEntry();
        recordCounted_ = owed;
        break;
    }
    case Command::MemoryClear:
        MemClear();
        break;
    case Command::MemoryAdd:
        MemAddSub('+');
        break;
    case Command::MemorySubtract:
        MemAddSub('-');
        break;
    case Command::MemoryRecall:
        MemRecall();
        break;
    case Command::MemorySwap:
        MemSwap();
        break;
    case Command::GrandTotal:
        GTRecall();
        break;
    case Command::ShiftRight:
        ShiftRight(EditRegister());
        break;
    case Command::DoubleZero:
        AppendZeros(EditRegister(), "00");
        break;
    case Command::TripleZero:
        AppendZeros(EditRegister(), "000");
        break;
    case Command::TaxIncluded:
        TaxIncluded();
        break;
    case Command::TaxExcluded:
        TaxExcluded();
        break;
    case Command::Cut:
        CutToClip();
        break;
    case Command::Copy:
        CopyToClip();
        break;
    case Command::Paste:
        PasteFromClip();
        break;
    case Command::DecimalSelector:
        CycleDecimals();
        break;
    case Command::RoundingSelector:
        CycleRounding();
        break;
    case Command::CostPrice:
    case Command::SellPrice:
    case Command::MarginRate:
        PricingKey(static_cast<Command>(command));
        break;
    case Command::ConvertRate:
        ConvertKey();
        break;
    case Command::TaxIncluded2:
        TaxIncluded(2);
        break;
    case Command::TaxExcluded2:
        TaxExcluded(2);
        break;
    case Command::TaxTotal:
        BillTotal();
        break;
    case Command::TimeKey:
        TimeKey();
        break;
    case Command::DateKey:
        DateKey();
        break;
    case Command::BothEnds:
        ToggleBothEnds();
        break;
    case Command::ReKeyCheck:
        ReKeyCheckKey();
        break;
    case Command::UndoClear:
        UndoClear();
        break;
    default:
        break; // no action; the focus still returns to the main window
    }
    // Any other key ends the stepping through the bill's totals.
    if (static_cast<Command>(command) != Command::TaxTotal) BillStep = 0;
}

void CalcEngine::ResetEngine() {
    for (TCalcNum* n : {&ResNum, &InNum, &GTNum, &KNum, &TaxNum, &TaxInNum, &TaxOutNum, &TaxAmtNum})
        ClearNum(*n);
    AssignText(TaxNum, option_.TaxRate);
    status_.EditTarget = 'R';
    status_.ConstMode = false;
    status_.PendOpe = '=';
    TaxStep = 0;
    TaxMode = 0;
    for (TCalcNum* n : {&CostNum, &SellNum, &MarginNum})
        ClearNum(*n);
    itemCount_ = 0;
    shownCounted_ = false;
    recordCounted_ = false;
    pricingShown_ = Command::None;
    profitShown_ = false;
    convUnit_ = 0;
    RefreshItemsMark();
    ResetTaxBill();
}

void CalcEngine::AllClear() {
    DisplayBatch batch(*this);
    // AC leaves a re-key check and a time being typed.
    check_.Stop();
    checkLabel_.clear();
    timeEntry_.Finish();
    // The grand total and the input receipt's rows that AC empties are one clear to undo.
    Cleared took;
    if (!GTNum.Text.empty() || GTNum.Error) {
        took.HasGT = true;
        took.GT = GTNum;
    }
    TakeBill(took);
    if (itemCount_ != 0) {
        took.HasCount = true;
        took.ItemCount = itemCount_;
    }
    clearing_ = &took;
    ResetEngine();
    if (option_.HistSet == 2) ClearHistory();
    clearing_ = nullptr;
    Commit(std::move(took));
    ShowNum(ResNum);
    ShowOpeMark(status_.PendOpe);
}

TCalcNum& CalcEngine::EditRegister() {
    return status_.EditTarget == 'T' ? InNum : ResNum;
}

// ---- Entry ----

void CalcEngine::AppendDigits(TCalcNum& reg, std::string_view s) {
    DisplayBatch batch(*this);
    if (s.empty()) return;
    if (reg.Text == "0") reg.Text.clear(); // the new digit replaces a lone zero
    if (NewReceiptDue()) ClearHistory();
    if (reg.Kind != ValueKind::Number) ClearNum(reg); // a digit after a time or date starts anew
    if (TaxStep != 0 || BillStep != 0) {
        ClearNum(reg);
        TaxStep = 0;
        TaxMode = 0;
    }
    NewAmount();
    status_.EditTarget = 'T';
    if (TextWidth(reg.Text) >= DigitLimit(reg.Text)) {
        host_.Beep();
        return;
    }
    if (reg.Text.find('.') != std::string::npos && s.front() == '.') {
        host_.Beep();
        return;
    }
    std::string t = reg.Text + std::string(s);
    if (t.front() == '.') t.insert(t.begin(), '0');
    reg.Text = CutText(t, DigitLimit(t));
    ShowNum(reg);
    status_.LastKey = s.front();
}

void CalcEngine::AppendZeros(TCalcNum& reg, std::string_view s) {
    DisplayBatch batch(*this);
    if (reg.Text == "0" || (reg.Text.empty() && (s == "00" || s == "000"))) {
        host_.Beep();
        return;
    }
    AppendDigits(reg, s);
}

void CalcEngine::NegateNum(TCalcNum& reg) {
    DisplayBatch batch(*this);
    // Blanks and control characters in front go first, as the display and the arithmetic
    // skip them; a sign put before a pasted tab would make the number unreadable.
    reg.Text = TrimLeftBlanks(reg.Text);
    if (reg.Text.empty()) return;
    if (reg.Kind == ValueKind::Date) { // a date has no sign
        host_.Beep();
        return;
    }
    const ValueKind kind = reg.Kind; // a time changes its sign as a number does
    if (reg.Text.front() == '-')
        reg.Text.front() = ' '; // keeps the length; the next sign change drops the blank
    else
        AssignText(reg, "-" + reg.Text);
    reg.Kind = kind;
    ShowNum(reg);
}

void CalcEngine::ShiftRight(TCalcNum& reg) {
    DisplayBatch batch(*this);
    if (reg.Text.empty()) reg = DispNum;
    if (reg.Text.empty() || reg.Kind != ValueKind::Number) { // a whole time or date: no digits
        host_.Beep();
        return;
    }
    if (utf8::LastCharLen(reg.Text) == reg.Text.size()) {
        ClearNum(reg);
        host_.Beep();
        ShowNum(reg);
        return;
    }
    if (reg.Text.back() == '.') {
        reg.Text.pop_back(); // the point, then the digit before it
        reg.Text.resize(reg.Text.size() - utf8::LastCharLen(reg.Text));
    } else {
        reg.Text.resize(reg.Text.size() - utf8::LastCharLen(reg.Text));
    }
    ShowNum(reg);
}

void CalcEngine::TakeRecalled(const TCalcNum& n) {
    DisplayBatch batch(*this);
    InNum = n;
    NewAmount();
    const std::string& t = InNum.Text;
    if (t.size() >= 2 && t.back() == '.' && t[t.size() - 2] >= '0' && t[t.size() - 2] <= '9')
        InNum.Text.pop_back();
    status_.EditTarget = 'T';
    ShowNum(InNum);
}

void CalcEngine::ClearEntry() {
    DisplayBatch batch(*this);
    NewAmount();
    ClearNum(InNum);
    ShowNum(InNum);
}

// ---- Display ----

void CalcEngine::ShowNum(const TCalcNum& n) {
    DisplayBatch batch(*this);
    countShown_ = false; // a number shown replaces the count's display
    TCalcNum t{TrimLeftBlanks(n.Text), n.Error, n.Kind};
    if (t.Error) {
        host_.Beep();
        display_.Error = true;
        display_.Caption = kErrorCaption;
    } else if (t.Kind != ValueKind::Number) {
        DispNum = t;
        display_.Error = false;
        display_.Caption = ValueText(t, true);
        if (styledFont_) display_.Caption += ' ';
    } else {
        DispNum = t;
        if (t.Text.find('.') == std::string::npos) t.Text = CutText(t.Text + ".", kCalcNumTextMax);
        if (t.Text == ".") t.Text = "0.";
        display_.Error = false;
        display_.Caption = InsertThousands(t.Text);
        if (styledFont_) display_.Caption += ' ';
    }
    RefreshMarks();
}

void CalcEngine::ShowOpeMark(char c) {
    DisplayBatch batch(*this);
    display_.OpeMark = OpeToGlyph(c);
}

namespace {
void PlaceMark(bool on, const char* text, bool statusBarShown, std::string& panel,
               std::string& label) {
    panel = on ? text : "";
    label = statusBarShown ? std::string() : panel;
}
} // namespace

void CalcEngine::RefreshGTMark() {
    DisplayBatch batch(*this);
    PlaceMark(!GTNum.Text.empty(), "GT", statusBarShown_, display_.PanelGT, display_.TotMark);
}

void CalcEngine::RefreshMemMark() {
    DisplayBatch batch(*this);
    PlaceMark(!MemNum.Text.empty(), "M", statusBarShown_, display_.PanelM, display_.MemMark);
}

void CalcEngine::RefreshKMark() {
    DisplayBatch batch(*this);
    PlaceMark(status_.ConstMode, "K", statusBarShown_, display_.PanelK, display_.KctMark);
}

void CalcEngine::RefreshNumMark() {
    DisplayBatch batch(*this);
    // Under the count's display the label stays "件数"; the mark waits for the number.
    std::string& label = countShown_ ? countSaved_.NumMark : display_.NumMark;
    PlaceMark(status_.UseNumKey, "NUM", statusBarShown_, display_.PanelNUM, label);
    // A running re-key check keeps its label beside the number; NUM stays in its panel.
    if (!checkLabel_.empty()) label = checkLabel_;
}

void CalcEngine::RefreshHistCount() {
    DisplayBatch batch(*this);
    display_.PanelCount =
        hist_.empty() ? std::string() : " H " + std::to_string(hist_.size());
}

void CalcEngine::RefreshMarks() {
    DisplayBatch batch(*this);
    RefreshGTMark();
    RefreshMemMark();
    RefreshKMark();
    RefreshNumMark();
    RefreshHistCount();
    RefreshSelectorMark();
    RefreshItemsMark();
}

void CalcEngine::SetStatusBarShown(bool shown) {
    DisplayBatch batch(*this);
    statusBarShown_ = shown;
    RefreshMarks();
}

// ---- Clipboard ----

void CalcEngine::CopyToClip() {
    if (DispNum.Text.empty()) DispNum.Text.assign(1, '0');
    // A time or a date goes as it is shown, without separators ("7:30:00", "2026-12-07").
    host_.SetClipboardText(DispNum.Kind == ValueKind::Number ? DispNum.Text
                                                             : ValueText(DispNum, false));
}

void CalcEngine::CutToClip() {
    DisplayBatch batch(*this);
    CopyToClip();
    ClearEntry();
}

void CalcEngine::PasteFromClip() {
    // Only the start of the clipboard is read, one byte more than a paste takes so that a
    // longer text is seen to be longer.
    const std::string head = host_.GetClipboardText(kPasteReadLimit + 1);
    std::optional<std::string> text =
        PastedEntryText(head, head.size() > kPasteReadLimit);
    if (!text) {
        host_.Beep(); // binary data, or a line too long to be a number
        return;
    }
    DisplayBatch batch(*this);
    AssignText(InNum, *text);
    NewAmount();
    ShowNum(InNum);
}

bool CalcEngine::ConvertFailed(const std::string& badText) {
    stopped_ = true;
    host_.ShowNotFloatError(NotFloatMessage(badText));
    return false;
}

bool CalcEngine::Calc(TCalcNum& dst, TCalcNum& src, char ope, char mode) {
    std::string bad;
    if (!CalcNumbers(dst, src, ope, mode, option_.Acount, &bad)) return ConvertFailed(bad);
    return true;
}

bool CalcEngine::CalcAny(TCalcNum& dst, TCalcNum& src, char ope, char mode) {
    std::string bad;
    if (!CalcValues(dst, src, ope, mode, option_.Acount, bothEnds_, &bad)) return ConvertFailed(bad);
    return true;
}

} // namespace bansho
