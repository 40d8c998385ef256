#include "SpokenDisplay.h"

namespace bansho {

namespace {
void Add(std::string& out, const std::string& mark) {
    if (mark.empty()) return;
    if (!out.empty()) out += ' ';
    out += mark;
}
} // namespace

std::string SpokenNumber(const DisplayModel& d) {
    // The error form "- E -  " would be read out as dashes.
    if (d.Error) return "エラー";
    std::string s = d.Caption;
    // The blank kept for a styled font is layout, not part of the number.
    while (!s.empty() && s.back() == ' ') s.pop_back();
    while (!s.empty() && s.front() == ' ') s.erase(0, 1);
    return s;
}

std::string SpokenMarks(const DisplayModel& d) {
    std::string out;
    // The panels hold the marks whether the status bar is shown or not.
    Add(out, d.PanelGT);
    Add(out, d.PanelM);
    Add(out, d.PanelK);
    Add(out, d.PanelNUM);
    Add(out, d.OpeMark);
    // The label beside the number carries a tax-step label ("税込", "税額", "税抜") in place
    // of the NUM mark until the mark is refreshed.
    if (d.NumMark != "NUM") Add(out, d.NumMark);
    // The decimal and rounding selection, "0 切捨", while it is not F.
    Add(out, d.PanelSelector);
    // The bill's item count, "件数 3".
    Add(out, d.PanelItems);
    return out;
}

} // namespace bansho
