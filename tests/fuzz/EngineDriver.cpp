#include "EngineDriver.h"

#include "NumberText.h"
#include "Pricing.h"
#include "SelectedResult.h"
#include "TaxBill.h"
#include "TextFunctions.h"
#include "ValueKinds.h"

#include <sstream>
#include <utility>

namespace bansho::testing {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "1,234.5", "-12.", "0." (an optional trailing blank is removed by the caller), or the
// lone minus left when shift-right takes the last digit of a negative number, with any
// decimals typed after it ("-.", "-.05"), and ".05" when its sign is changed away.
bool IsShownNumberForm(const std::string& s) {
    const std::size_t lead = s.starts_with('-') ? 1 : 0;
    if (s.size() > lead && s[lead] == '.')
        return s.find_first_not_of("0123456789", lead + 1) == std::string::npos;
    std::size_t i = 0;
    if (i < s.size() && s[i] == '-') ++i;
    std::size_t group = 0;
    bool firstGroup = true;
    bool any = false;
    for (; i < s.size() && s[i] != '.'; ++i) {
        if (s[i] == ',') {
            if (group == 0 || (firstGroup && group > 3) || (!firstGroup && group != 3))
                return false;
            firstGroup = false;
            group = 0;
            continue;
        }
        if (!IsDigit(s[i])) return false;
        ++group;
        any = true;
    }
    if (!any || (firstGroup && group > 3) || (!firstGroup && group != 3)) return false;
    if (i == s.size()) return false; // the point is always shown
    for (++i; i < s.size(); ++i) {
        if (!IsDigit(s[i])) return false;
    }
    return true;
}

std::string WithoutSeparators(const std::string& s) {
    std::string t;
    for (const char c : s) {
        if (c != ',') t += c;
    }
    return t;
}

// Column (1-based, Shift_JIS widths) of the first '.' of a row.
std::size_t PointColumn(const std::string& row) {
    const std::size_t dot = row.find('.');
    if (dot == std::string::npos) return 0;
    return TextWidth(std::string_view(row).substr(0, dot)) + 1;
}

bool IsOperator(char c) {
    return c == '+' || c == '-' || c == '*' || c == '/';
}

const char* kRegisterNames[] = {"InNum", "ResNum", "DispNum",  "GTNum",     "MemNum",
                                "KNum",  "TaxNum", "TaxInNum", "TaxAmtNum", "TaxOutNum"};

} // namespace

bool IsTypedNumberForm(const std::string& text) {
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') ++i;
    const std::size_t digitsStart = i;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    if (i == digitsStart) return false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
    }
    return i == text.size();
}

// ---- DriverHost ----

void DriverHost::WindowCommand(unsigned command) {
    // What the window layer does where the engine shows the effect.
    if (command == 51 && status) status->UseNumKey = !status->UseNumKey;
    if (command == 52 && engine) engine->SetStatusBarShown(!engine->StatusBarShown());
}

// ---- EngineDriver ----

EngineDriver::EngineDriver(const DriverConfig& config) : engine_(option_, status_, host_) {
    SetBuiltInDefaults(option_, status_);
    SetFileDefaults(option_);
    option_.HistSet = config.HistSet;
    option_.Acount = config.Acount;
    option_.CalcMem = config.CalcMem;
    option_.TaxRate = config.TaxRate;
    status_.UseNumKey = config.NumKey;
    host_.engine = &engine_;
    host_.status = &status_;
    engine_.SetStyledFont(config.StyledFont);
    engine_.SetStatusBarShown(config.StatusBar);
    engine_.AllClear();
}

void EngineDriver::Command(unsigned command) {
    const bool checkStopped = engine_.Check().Current() == ReKeyCheck::State::Stopped;
    engine_.ExecCommand(command);
    // The count key covers the display until the next key (unless a re-key check stands at a
    // difference, which keeps the display); a key without a command is none.
    if (command == static_cast<unsigned>(bansho::Command::ItemCount)) {
        countKeyLast_ = true;
        if (engine_.CountShown() == checkStopped && countFault_.empty())
            countFault_ = checkStopped ? "the count covers a check stopped at a difference"
                                       : "the count key does not show the count";
    } else if (command != static_cast<unsigned>(bansho::Command::None)) {
        countKeyLast_ = false;
    }
}

void EngineDriver::SetClipboard(std::string text) {
    if (!IsTypedNumberForm(TrimLeftBlanks(CutText(text, kCalcNumTextMax)))) oddTextPasted_ = true;
    host_.clipboard = std::move(text);
}

void EngineDriver::SetHistSet(std::uint8_t histSet) {
    option_.HistSet = histSet;
}

void EngineDriver::SetAcount(std::uint8_t acount) {
    option_.Acount = acount;
}

void EngineDriver::SetCalcMem(bool on) {
    option_.CalcMem = on;
}

void EngineDriver::SetTaxRate(std::string rate) {
    option_.TaxRate = std::move(rate);
}

void EngineDriver::EnterCorrection() {
    engine_.EnterCorrectionMode();
}

void EngineDriver::Recall(std::size_t i) {
    engine_.RecallHistoryEntry(i);
}

void EngineDriver::Replace(std::size_t i, const std::string& number, char ope) {
    if (TextWidth(number) > kCalcNumTextMax) longRowStored_ = true;
    if (!IsTypedNumberForm(TrimLeftBlanks(CutText(number, kCalcNumTextMax))))
        oddTextPasted_ = true; // a recall shows it as it stands
    engine_.ReplaceHistoryEntry(i, number, ope);
}

void EngineDriver::Insert(std::size_t i) {
    engine_.InsertHistoryEntry(i);
}

void EngineDriver::Remove(std::size_t i) {
    engine_.RemoveHistoryEntry(i);
}

void EngineDriver::Swap(std::size_t i, std::size_t j) {
    engine_.SwapHistoryEntries(i, j);
}

void EngineDriver::Recalc() {
    // The re-total must be Calc on every row, left to right, whatever shortcut it takes; under
    // a decimal selection each step worked and rounded as the chain shows it, and a first row
    // that adds taken as typed. Items of the tax bill and the rows of the pricing keys stand
    // beside the chain and take no part; a receipt of tax items without a calculation shows
    // the bill's total instead.
    TCalcNum want;
    bool readable = true;
    bool noChainRow = true; // no row of the calculation yet
    bool taxItem = false;
    for (std::size_t i = 0; i < engine_.HistoryCount() && readable; ++i) {
        if (IsTaxItemMark(engine_.HistMark(i))) {
            taxItem = true;
            continue;
        }
        if (!RowMarkLabel(engine_.HistMark(i)).empty()) continue;
        const bool first = std::exchange(noChainRow, false);
        TCalcNum n{CutText(engine_.HistNumber(i), kCalcNumTextMax), false,
                   KindOfMark(engine_.HistMark(i))};
        if (first && option_.Decimals >= 0 && engine_.HistOpe(i) == '+') {
            readable = CalcValues(want, n, '+', ' ', option_.Acount, engine_.BothEnds(), nullptr);
        } else {
            readable = CalcValuesSelected(want, n, engine_.HistOpe(i), ' ', option_.Acount,
                                          engine_.BothEnds(), option_.Decimals,
                                          option_.Rounding, nullptr);
        }
    }
    const std::size_t errorsBefore = host_.notFloatErrors;
    const bool ok = engine_.RecalcHistory();
    if (option_.HistSet != 2 || (noChainRow && taxItem)) return;
    if (ok != readable || (host_.notFloatErrors != errorsBefore) == readable) {
        if (recalcFault_.empty()) recalcFault_ = "the re-total reads the rows differently";
    } else if (readable && !(engine_.ResNum == want)) {
        if (recalcFault_.empty())
            recalcFault_ = "the re-total gives '" + engine_.ResNum.Text + "', Calc on every row '" +
                           want.Text + "'";
    }
}

void EngineDriver::CopyHistory(std::size_t last) {
    const std::string before = host_.clipboard;
    engine_.CopyHistoryToClip(last);
    // The copy is a receipt, not a number: a later paste of it is pasted text like any other.
    if (host_.clipboard != before) SetClipboard(host_.clipboard);
}

std::string EngineDriver::Check(bool full) const {
    std::ostringstream out;
    const CalcEngine& e = engine_;
    const DisplayModel& d = e.Display();

    if (!receipt_.fault.empty()) out << "window: " << receipt_.fault << "; ";
    if (!recalcFault_.empty()) out << recalcFault_ << "; ";
    if (!countFault_.empty()) out << countFault_ << "; ";

    // Registers.
    const TCalcNum* regs[] = {&e.InNum, &e.ResNum, &e.DispNum,  &e.GTNum,     &e.MemNum,
                              &e.KNum,  &e.TaxNum, &e.TaxInNum, &e.TaxAmtNum, &e.TaxOutNum};
    for (std::size_t i = 0; i < std::size(regs); ++i) {
        if (TextWidth(regs[i]->Text) > kCalcNumTextMax)
            out << kRegisterNames[i] << " holds " << TextWidth(regs[i]->Text) << " characters: '"
                << regs[i]->Text << "'; ";
    }
    if (e.DispNum.Error) out << "DispNum holds an error; ";

    // State.
    const TCalcStatus& s = status_;
    if (s.PendOpe != '=' && !IsOperator(s.PendOpe)) out << "PendOpe " << int(s.PendOpe) << "; ";
    if (s.EditTarget != 'R' && s.EditTarget != 'T')
        out << "EditTarget " << int(s.EditTarget) << "; ";
    if (s.ConstOpe != 0 && !IsOperator(s.ConstOpe)) out << "ConstOpe " << int(s.ConstOpe) << "; ";
    if (e.TaxStep > 3) out << "TaxStep " << int(e.TaxStep) << "; ";
    if (e.TaxMode != 0 && e.TaxMode != 1 && e.TaxMode != 3)
        out << "TaxMode " << int(e.TaxMode) << "; ";

    // Display: the count key's cover, until the next key, shows the count and nothing else;
    // at any other time the display agrees with DispNum.
    if (e.CountShown()) {
        if (!countKeyLast_) out << "the count is still shown after the next key; ";
        std::string count = InsertThousands(std::to_string(e.ItemCount())) + ".";
        if (e.StyledFont()) count += ' ';
        if (d.Error || d.Caption != count || d.NumMark != "件数")
            out << "the count key shows '" << d.Caption << "' " << d.NumMark << " for "
                << e.ItemCount() << " items; ";
    } else if (d.Error) {
        if (d.Caption != "- E -  ") out << "error caption '" << d.Caption << "'; ";
    } else if (e.TimeEntryActive()) {
        // The fields as typed ("7:3"); the time they make is checked when the entry ends.
    } else if (e.DispNum.Kind != ValueKind::Number) {
        std::string expect = ValueText(e.DispNum, true);
        if (e.StyledFont()) expect += ' ';
        if (d.Caption != expect)
            out << "caption '" << d.Caption << "' but the time or date '" << e.DispNum.Text << "'; ";
        if (expect.empty() || expect == e.DispNum.Text)
            out << "the time or date '" << e.DispNum.Text << "' has no text of its own; ";
    } else {
        std::string shown = e.DispNum.Text;
        if (shown.find('.') == std::string::npos) shown = CutText(shown + ".", kCalcNumTextMax);
        if (shown == ".") shown = "0.";
        std::string expect = InsertThousands(shown);
        if (e.StyledFont()) expect += ' ';
        if (!oddTextPasted_ && d.Caption != expect)
            out << "caption '" << d.Caption << "' but DispNum '" << e.DispNum.Text << "'; ";
        std::string bare = d.Caption;
        if (e.StyledFont() && !bare.empty() && bare.back() == ' ') bare.pop_back();
        // A text of 22 characters without a point has no room for the one the display adds.
        if (bare.find('.') == std::string::npos && TextWidth(e.DispNum.Text) >= kCalcNumTextMax)
            bare += '.';
        if (!oddTextPasted_ && !IsShownNumberForm(bare))
            out << "caption '" << d.Caption << "' is not a number (DispNum '" << e.DispNum.Text
                << "'); ";
        long double shownValue = 0, heldValue = 0;
        if (IsShownNumberForm(bare) && ParseNumber(WithoutSeparators(bare), shownValue) &&
            ParseNumber(e.DispNum.Text, heldValue) && shownValue != heldValue)
            out << "caption '" << d.Caption << "' shows another value than DispNum '"
                << e.DispNum.Text << "'; ";
    }
    // A constant calculation's "=" blanks the mark and leaves the pending operator.
    // A re-key check stopped at a difference shows the glyph of the entry on display.
    const bool checkShows = e.Check().Current() == ReKeyCheck::State::Stopped;
    if (d.OpeMark != OpeToGlyph(s.PendOpe) && !(s.ConstMode && d.OpeMark.empty()) && !checkShows)
        out << "operator mark '" << d.OpeMark << "' with '" << s.PendOpe << "' pending; ";

    // Marks.
    const std::string gt = e.GTNum.Text.empty() ? "" : "GT";
    const std::string m = e.MemNum.Text.empty() ? "" : "M";
    const std::string k = s.ConstMode ? "K" : "";
    const std::string num = s.UseNumKey ? "NUM" : "";
    // A calculation stopped by a text that is not a number leaves its operands normalised
    // (an empty grand total or memory becomes "0") and shows nothing, so those two marks
    // may come on only at the next refresh.
    const bool stopped = host_.notFloatErrors > 0;
    const bool gtLags = stopped && e.GTNum.Text == "0" && d.PanelGT.empty();
    const bool mLags = stopped && e.MemNum.Text == "0" && d.PanelM.empty();
    if (d.PanelGT != gt && !gtLags) out << "GT panel '" << d.PanelGT << "'; ";
    if (d.PanelM != m && !mLags) out << "M panel '" << d.PanelM << "'; ";
    if (d.PanelK != k) out << "K panel '" << d.PanelK << "'; ";
    if (d.PanelNUM != num) out << "NUM panel '" << d.PanelNUM << "'; ";
    const bool labels = !e.StatusBarShown();
    if (d.TotMark != (labels && !gtLags ? gt : "")) out << "GT label '" << d.TotMark << "'; ";
    if (d.MemMark != (labels && !mLags ? m : "")) out << "M label '" << d.MemMark << "'; ";
    if (d.KctMark != (labels ? k : "")) out << "K label '" << d.KctMark << "'; ";

    // History.
    const std::size_t n = e.HistoryCount();
    if (n != receipt_.rows.size()) {
        out << "history length " << n << ", window " << receipt_.rows.size() << "; ";
    } else {
        const std::string count = n == 0 ? "" : " H " + std::to_string(n);
        if (d.PanelCount != count) out << "count panel '" << d.PanelCount << "'; ";
        for (std::size_t i = 0; i < n; ++i) {
            if (!full && i != 0 && i + 1 != n) continue;
            const std::string num = e.HistNumber(i);
            const std::string ope(1, e.HistOpe(i));
            const std::string row = e.HistRow(i);
            if (receipt_.rows[i] != row) out << "window row " << i << " differs; ";
            if (const std::string_view label = RowMarkLabel(e.HistMark(i)); !label.empty()) {
                // A value of the pricing keys: its number after blanks, then its label.
                std::string tail = InsertThousands(num);
                if (tail.find('.') == std::string::npos) tail += '.';
                tail += " " + std::string(label);
                if (!row.ends_with(tail) ||
                    !TrimLeftBlanks(std::string_view(row).substr(0, row.size() - tail.size()))
                         .empty())
                    out << "row " << i << " '" << row << "' is no labelled value; ";
                continue;
            }
            if (e.HistMark(i) != RowMark::None && !IsTaxItemMark(e.HistMark(i))) {
                // A time or a date reads as it was shown, its last character before column 23.
                const TCalcNum v{num, false, KindOfMark(e.HistMark(i))};
                // A "+" row drawn without its glyph is a negative first row.
                const bool bare = ope[0] == '+' && row.find("＋") == std::string::npos;
                const std::string want = KindRowText(bare ? ' ' : ope[0], v);
                if (row != want) out << "row " << i << " '" << row << "' is no time or date; ";
                continue;
            }
            if (!IsOperator(ope[0])) out << "row " << i << " operator '" << ope << "'; ";
            if (!longRowStored_ && TextWidth(num) > kCalcNumTextMax)
                out << "row " << i << " number of " << TextWidth(num) << " characters; ";
            std::string tail = InsertThousands(num);
            if (tail.find('.') == std::string::npos) tail += '.';
            if (!row.ends_with(tail)) {
                out << "row " << i << " '" << row << "' does not show '" << num << "'; ";
            } else {
                // A row shows the operator it counts with; one without a glyph adds its own
                // negative number.
                const std::string head =
                    TrimLeftBlanks(std::string_view(row).substr(0, row.size() - tail.size()));
                // An item of the tax bill stands beside the chain and shows its rate instead.
                const bool reads = IsTaxItemMark(e.HistMark(i))
                                       ? (head == "外 " || head == "内 " || head == "※外 " ||
                                          head == "※内 ")
                                   : head.empty() ? ope == "+" && num.starts_with('-')
                                                  : head == OpeToGlyph(ope[0]);
                if (!reads) out << "row " << i << " '" << row << "' counts with '" << ope << "'; ";
            }
            // A tax item's rate may hold a point of its own; the number's point is the one.
            const std::size_t col =
                IsTaxItemMark(e.HistMark(i)) && row.ends_with(tail)
                    ? TextWidth(std::string_view(row).substr(0, row.size() - tail.size())) +
                          PointColumn(tail)
                    : PointColumn(row);
            const bool padded = !row.empty() && row[0] == ' ';
            if (col < 23 || (padded && col != 23))
                out << "row " << i << " has its point in column " << col << "; ";
        }
    }
    return out.str();
}

} // namespace bansho::testing
