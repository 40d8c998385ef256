// Dispatch, all-clear, number entry, the display model and the clipboard commands.
#include "CalcEngine.h"

#include "NumberText.h"
#include "PasteText.h"
#include "TextFunctions.h"

#include <utility>

namespace {

constexpr const char* kErrorCaption = "- E -  ";

// Length of the last UTF-8 character of a non-empty text (a stray byte counts alone).
std::size_t LastCharLen(const std::string& s) {
    std::size_t n = 1;
    while (n < s.size() && n < 4 && (static_cast<unsigned char>(s[s.size() - n]) & 0xC0) == 0x80)
        ++n;
    const auto lead = static_cast<unsigned char>(s[s.size() - n]);
    if (n > 1 && (lead & 0xC0) != 0xC0) return 1;
    return n;
}

} // namespace

CalcEngine::CalcEngine(TOption& option, TCalcStatus& status, EngineHost& host)
    : option_(option), status_(status), host_(host) {}

void CalcEngine::ExecCommand(unsigned command) {
    stopped_ = false;
    switch (command) {
    case 0:
        AppendZeros(InNum, "0");
        break;
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9: {
        const char digit[2] = {static_cast<char>('0' + command), '\0'};
        AppendDigits(InNum, digit);
        break;
    }
    case 16:
        AppendDigits(InNum, ".");
        break;
    case 17:
        OpeKey('+');
        break;
    case 18:
        OpeKey('-');
        break;
    case 19:
        OpeKey('*');
        break;
    case 20:
        OpeKey('/');
        break;
    case 21:
        OpeKey('=');
        break;
    case 22:
        OpeKey('%');
        break;
    case 23:
        NegateNum(EditRegister());
        break;
    case 24:
        AllClear();
        break;
    case 25:
        ClearEntry();
        break;
    case 26:
        ClearHistory();
        break;
    case 27:
        AddHistoryEntry();
        break;
    case 28: // show the history window
        host_.WindowCommand(command);
        break;
    case 29:
        MemClear();
        break;
    case 30:
        MemAddSub('+');
        break;
    case 31:
        MemAddSub('-');
        break;
    case 32:
        MemRecall();
        break;
    case 33:
        MemSwap();
        break;
    case 34:
        GTRecall();
        break;
    case 35:
        ShiftRight(EditRegister());
        break;
    case 36:
        AppendZeros(EditRegister(), "00");
        break;
    case 37:
        AppendZeros(EditRegister(), "000");
        break;
    case 38:
        TaxIncluded();
        break;
    case 39:
        TaxExcluded();
        break;
    case 40:
        CutToClip();
        break;
    case 41:
        CopyToClip();
        break;
    case 42:
        PasteFromClip();
        break;
    case 50:
    case 51:
    case 52:
    case 54: // print the receipt
    case 88:
    case 89:
    case 90:
    case 91:
    case 92:
    case 93:
    case 94:
    case 95:
    case 96:
    case 97:
    case 98:
    case 99:
    case 100:
    case 150:
    case 151:
    case 200:
    case 201:
    case 202:
    case 203:
    case 204:
    case 205:
    case 254:
        host_.WindowCommand(command);
        // The NUM-key mode, the status bar or the settings may have changed meanwhile.
        if (command == 51)
            RefreshNumMark();
        else if (command == 52 || command == 151)
            RefreshMarks();
        break;
    default:
        break; // no action; the focus still returns to the main window
    }
    if (!stopped_) host_.FocusMain();
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
}

void CalcEngine::AllClear() {
    ResetEngine();
    if (option_.HistSet == 2) ClearHistory();
    ShowNum(ResNum);
    ShowOpeMark(status_.PendOpe);
}

TCalcNum& CalcEngine::EditRegister() {
    return status_.EditTarget == 'T' ? InNum : ResNum;
}

// ---- Entry ----

void CalcEngine::AppendDigits(TCalcNum& reg, std::string_view s) {
    if (s.empty()) return;
    if (reg.Text == "0") reg.Text.clear(); // the new digit replaces a lone zero
    if (NewReceiptDue()) ClearHistory();
    if (TaxStep != 0) {
        ClearNum(reg);
        TaxStep = 0;
        TaxMode = 0;
    }
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
    if (reg.Text == "0" || (reg.Text.empty() && (s == "00" || s == "000"))) {
        host_.Beep();
        return;
    }
    AppendDigits(reg, s);
}

void CalcEngine::NegateNum(TCalcNum& reg) {
    // Blanks and control characters in front go first, as the display and the arithmetic
    // skip them; a sign put before a pasted tab would make the number unreadable.
    reg.Text = TrimLeftBlanks(reg.Text);
    if (reg.Text.empty()) return;
    if (reg.Text.front() == '-')
        reg.Text.front() = ' '; // keeps the length; the next sign change drops the blank
    else
        AssignText(reg, "-" + reg.Text);
    ShowNum(reg);
}

void CalcEngine::ShiftRight(TCalcNum& reg) {
    if (reg.Text.empty()) reg = DispNum;
    if (reg.Text.empty()) {
        host_.Beep();
        return;
    }
    if (LastCharLen(reg.Text) == reg.Text.size()) {
        ClearNum(reg);
        host_.Beep();
        ShowNum(reg);
        return;
    }
    if (reg.Text.back() == '.') {
        reg.Text.pop_back(); // the point, then the digit before it
        reg.Text.resize(reg.Text.size() - LastCharLen(reg.Text));
    } else {
        reg.Text.resize(reg.Text.size() - LastCharLen(reg.Text));
    }
    ShowNum(reg);
}

void CalcEngine::ClearEntry() {
    ClearNum(InNum);
    ShowNum(InNum);
}

// ---- Display ----

void CalcEngine::ShowNum(const TCalcNum& n) {
    TCalcNum t{TrimLeftBlanks(n.Text), n.Error};
    if (t.Error) {
        host_.Beep();
        display_.Error = true;
        display_.Caption = kErrorCaption;
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
    display_.OpeMark = OpeToGlyph(c);
    host_.DisplayChanged();
}

namespace {
void PlaceMark(bool on, const char* text, bool statusBarShown, std::string& panel,
               std::string& label) {
    panel = on ? text : "";
    label = statusBarShown ? std::string() : panel;
}
} // namespace

void CalcEngine::RefreshGTMark() {
    PlaceMark(!GTNum.Text.empty(), "GT", statusBarShown_, display_.PanelGT, display_.TotMark);
    host_.DisplayChanged();
}

void CalcEngine::RefreshMemMark() {
    PlaceMark(!MemNum.Text.empty(), "M", statusBarShown_, display_.PanelM, display_.MemMark);
    host_.DisplayChanged();
}

void CalcEngine::RefreshKMark() {
    PlaceMark(status_.ConstMode, "K", statusBarShown_, display_.PanelK, display_.KctMark);
    host_.DisplayChanged();
}

void CalcEngine::RefreshNumMark() {
    PlaceMark(status_.UseNumKey, "NUM", statusBarShown_, display_.PanelNUM, display_.NumMark);
    host_.DisplayChanged();
}

void CalcEngine::RefreshHistCount() {
    display_.PanelCount =
        histNum_.empty() ? std::string() : " H " + std::to_string(histNum_.size());
    host_.DisplayChanged();
}

void CalcEngine::RefreshMarks() {
    RefreshGTMark();
    RefreshMemMark();
    RefreshKMark();
    RefreshNumMark();
    RefreshHistCount();
}

void CalcEngine::SetStatusBarShown(bool shown) {
    statusBarShown_ = shown;
    RefreshMarks();
}

// ---- Clipboard ----

void CalcEngine::CopyToClip() {
    if (DispNum.Text.empty()) DispNum.Text.assign(1, '0');
    host_.SetClipboardText(DispNum.Text);
}

void CalcEngine::CutToClip() {
    CopyToClip();
    ClearEntry();
}

void CalcEngine::PasteFromClip() {
    // A cell copied from a spreadsheet or a line from a terminal ends in a line break;
    // trailing blanks and control characters would only make the number unreadable later.
    std::string text = host_.GetClipboardText();
    if (auto number = NormalisePastedNumber(text)) {
        text = std::move(*number);
    } else {
        while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
            text.pop_back();
    }
    AssignText(InNum, text);
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
