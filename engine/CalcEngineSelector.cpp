// The decimal selector and the rounding rule: results worked exactly and rounded once.
#include "CalcEngine.h"

#include "DecimalRounding.h"
#include "SelectedResult.h"
#include "ValueKinds.h"

namespace bansho {

bool CalcEngine::CalcResult(TCalcNum& dst, TCalcNum& src, char ope, char mode) {
    std::string bad;
    if (!CalcValuesSelected(dst, src, ope, mode, option_.Acount, bothEnds_, option_.Decimals,
                            option_.Rounding, &bad))
        return ConvertFailed(bad);
    return true;
}

bool CalcEngine::TaxContained(const TCalcNum& amount, const TCalcNum& rate, TCalcNum& tax) {
    std::string bad;
    if (!TaxContainedSelected(amount, rate, option_.Acount, option_.Decimals, option_.Rounding,
                              tax, &bad))
        return ConvertFailed(bad);
    return true;
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
