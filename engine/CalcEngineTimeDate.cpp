// The time key, the date key and the both-ends switch of the day counts.
#include "CalcEngine.h"

#include "CalendarDate.h"
#include "Commands.h"
#include "TextFunctions.h"
#include "ValueKinds.h"

namespace bansho {

namespace {
// The label beside the number when the typed digits are no date.
constexpr const char* kNoDateLabel = "日付×";
} // namespace

void CalcEngine::ShowTimeEntry() {
    DisplayBatch batch(*this);
    InNum.Text = SecondsText(timeEntry_.Seconds());
    InNum.Error = false;
    InNum.Kind = ValueKind::Time;
    status_.EditTarget = 'T';
    ShowNum(InNum);
    // The fields as typed: "7:", "7:3", "7:30:".
    display_.Caption = timeEntry_.Text();
    if (styledFont_) display_.Caption += ' ';
}

bool CalcEngine::TimeEntryCommand(unsigned command) {
    DisplayBatch batch(*this);
    const auto c = static_cast<Command>(command);
    if (command <= 9) {
        const char digit[2] = {static_cast<char>('0' + command), '\0'};
        if (!timeEntry_.Type(digit)) {
            host_.Beep(); // a field has two digits at most
            return true;
        }
        status_.LastKey = static_cast<char>('0' + command);
        ShowTimeEntry();
        return true;
    }
    switch (c) {
    case Command::DoubleZero:
        if (!timeEntry_.Type("00")) {
            host_.Beep();
            return true;
        }
        ShowTimeEntry();
        return true;
    case Command::Point:
    case Command::TripleZero:
        host_.Beep(); // minutes and seconds are whole
        return true;
    case Command::ShiftRight:
        if (!timeEntry_.Back()) {
            // Back at the hours: they are the number being typed again.
            InNum.Text = timeEntry_.Hours();
            InNum.Kind = ValueKind::Number;
            ShowNum(InNum);
        } else {
            ShowTimeEntry();
        }
        return true;
    case Command::TimeKey:
        timeEntry_.Close();
        if (timeEntry_.Active()) {
            ShowTimeEntry();
        } else {
            ShowNum(InNum); // complete: shown as a time
        }
        return true;
    case Command::None:
        return true; // a key without a command changes nothing, the entry goes on
    default:
        // Any other key ends the entry; the time typed so far is the entry.
        timeEntry_.Finish();
        ShowNum(InNum);
        return false;
    }
}

void CalcEngine::TimeKey() {
    DisplayBatch batch(*this);
    const std::string typed = TrimLeftBlanks(InNum.Text);
    if (!typed.empty()) {
        if (InNum.Error || InNum.Kind == ValueKind::Date) {
            host_.Beep();
            return;
        }
        if (InNum.Kind == ValueKind::Time) {
            // A whole time being entered (recalled, or all three fields closed): decimal hours.
            InNum = HoursOfTime(InNum, option_.Acount);
        } else if (typed.find_first_not_of("0123456789") == std::string::npos &&
                   status_.LastKey >= '0' && status_.LastKey <= '9') {
            // Digits just typed are the hours: the minutes are next.
            if (!timeEntry_.Start(typed)) {
                host_.Beep(); // more hours than a time can show
                return;
            }
            status_.LastKey = ':';
            ShowTimeEntry();
            return;
        } else {
            // Decimal hours, a negative number of them, or a number recalled, pasted or turned
            // from a time: a whole time at once.
            InNum = TimeOfHours(InNum);
        }
        status_.EditTarget = 'T';
        status_.LastKey = ':';
        ShowNum(InNum);
        return;
    }
    if (status_.PendOpe == '=' && display_.Error) {
        host_.Beep(); // a failed result has nothing to turn into hours
        return;
    }
    if (status_.PendOpe == '=' && !DispNum.Text.empty() && DispNum.Kind != ValueKind::Date) {
        // A result on display: time <-> decimal hours, as the next entry.
        InNum = DispNum.Kind == ValueKind::Time ? HoursOfTime(DispNum, option_.Acount)
                                                : TimeOfHours(DispNum);
        status_.EditTarget = 'T';
        status_.LastKey = ':';
        ShowNum(InNum);
        return;
    }
    // The start of a number: no hours, the minutes are next ("[時] 45" is 0:45:00).
    if (NewReceiptDue()) ClearHistory();
    TaxStep = 0;
    TaxMode = 0;
    timeEntry_.Start("");
    status_.LastKey = ':';
    ShowTimeEntry();
}

void CalcEngine::DateKey() {
    DisplayBatch batch(*this);
    std::string typed = TrimLeftBlanks(InNum.Text);
    if (!typed.empty() && typed.back() == '.') typed.pop_back(); // a recalled "20261207."
    const auto day = InNum.Kind == ValueKind::Number && !InNum.Error
                         ? ParseDateDigits(typed)
                         : std::nullopt;
    if (!day) {
        // Never a wrong date: the digits stay as typed, to be corrected.
        host_.Beep();
        display_.NumMark = kNoDateLabel;
        return;
    }
    InNum.Text = SecondsText(*day);
    InNum.Kind = ValueKind::Date;
    status_.EditTarget = 'T';
    status_.LastKey = ':';
    ShowNum(InNum);
}

void CalcEngine::ToggleBothEnds() {
    DisplayBatch batch(*this);
    bothEnds_ = !bothEnds_;
    RefreshSelectorMark();
}

} // namespace bansho
