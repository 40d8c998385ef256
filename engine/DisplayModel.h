#pragma once
// What the main window shows of the engine. The window re-renders from it; no widget reads
// a register.
#include <string>

namespace bansho {

struct DisplayModel {
    // `DNumber`'s caption: "1,234." or the error form "- E -  "; one trailing blank is added
    // to a number while the display font is styled (CalcEngine::SetStyledFont).
    std::string Caption = "0.";
    // The caption is the error form: draw it in the error colour.
    bool Error = false;
    // `OpeMark`: the pending operator's glyph, or empty.
    std::string OpeMark;
    // Labels beside the number (`TotMark`, `MemMark`, `KctMark`, `NumMark`). They repeat the
    // marks only while the status bar is hidden; `NumMark` also carries the tax-step label
    // ("税込", "税額", "税抜") until the next refresh of the NUM mark.
    std::string TotMark, MemMark, KctMark, NumMark;
    // Status bar panels 0-4: "GT", "M", "K", "NUM" or empty; panel 4 " H <count>" or empty.
    std::string PanelGT, PanelM, PanelK, PanelNUM, PanelCount;
    // The decimal selector's mark ("0 切捨"; empty at F): in its status bar panel while the
    // bar is shown, beside the number while it is hidden.
    std::string PanelSelector, SelectorMark;
    // The bill's item count ("件数 12"; empty while it is 0): in its status bar panel while the
    // bar is shown, beside the number while it is hidden.
    std::string PanelItems, ItemsMark;

    bool operator==(const DisplayModel&) const = default;
};

} // namespace bansho
