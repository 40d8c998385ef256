// The decimal selector and the rounding rule: results rounded on their decimal digits.
#include "CalcEngine.h"

#include "DecimalRounding.h"

namespace bansho {

void CalcEngine::RoundResult(TCalcNum& n) const {
    if (n.Kind != ValueKind::Number) return; // whole seconds and days have no decimals
    RoundRegister(n, option_.Decimals, option_.Rounding, option_.Acount);
}

void CalcEngine::CycleDecimals() {
    option_.Decimals = NextDecimals(option_.Decimals);
    RefreshSelectorMark();
}

void CalcEngine::CycleRounding() {
    option_.Rounding = NextRounding(option_.Rounding);
    RefreshSelectorMark();
}

void CalcEngine::RefreshSelectorMark() {
    DisplayBatch batch(*this);
    display_.PanelSelector = DecimalSelectorMark(option_.Decimals, option_.Rounding);
    // The both-ends switch of the day counts shares the panel.
    if (bothEnds_) display_.PanelSelector += display_.PanelSelector.empty() ? "両端" : " 両端";
    display_.SelectorMark = statusBarShown_ ? std::string() : display_.PanelSelector;
}

} // namespace bansho
