// The pricing keys (原価, 売価, 粗利率), the bill's item count and the conversion rates.
#include "CalcEngine.h"

#include "Conversion.h"
#include "NumberText.h"
#include "Pricing.h"
#include "TextFunctions.h"

namespace bansho {

namespace {

bool IsPricingKey(unsigned c) {
    return c == CommandNumber(Command::CostPrice) || c == CommandNumber(Command::SellPrice) ||
           c == CommandNumber(Command::MarginRate);
}

bool IsOperatorKey(unsigned c) {
    return c >= CommandNumber(Command::Add) && c <= CommandNumber(Command::Percent);
}

const char* LabelOf(Command key) {
    switch (key) {
    case Command::CostPrice: return "原価";
    case Command::SellPrice: return "売価";
    default: return "粗利率";
    }
}

RowMark MarkOf(Command key) {
    switch (key) {
    case Command::CostPrice: return RowMark::CostPrice;
    case Command::SellPrice: return RowMark::SellPrice;
    default: return RowMark::MarginRate;
    }
}

constexpr const char* kProfitLabel = "粗利";
constexpr const char* kNoRateLabel = "レート未設定";

} // namespace

// ---- Shared ----

void CalcEngine::ShowKeyValue(const TCalcNum& value, const std::string& label) {
    DisplayBatch batch(*this);
    if (value.Error) {
        // The error display, as after a division by zero; the registers keep their values.
        ClearNum(InNum);
        ShowNum(value);
        display_.NumMark = label;
        return;
    }
    InNum = value;
    entryShown_ = true;
    NewAmount();
    status_.EditTarget = 'T';
    ShowNum(InNum);
    display_.NumMark = label; // until the next refresh of the NUM mark, as the tax labels
}

void CalcEngine::AddMarkedRow(const std::string& number, RowMark mark, bool result) {
    // The input receipt records every value the keys take or give; the calculation receipt
    // only what they compute. A second keying for the re-key check records nothing.
    if (check_.Active()) return;
    if (option_.HistSet == 2 || (option_.HistSet == 1 && result)) {
        hist_.emplace_back(number.empty() ? std::string("0") : number, ' ', mark);
        histCounted_.push_back(false);
        Tell([this](ReceiptObserver& o) { o.RowAppended(hist_.size() - 1); });
        RefreshHistCount();
    }
}

// ---- Pricing ----

bool CalcEngine::ComputePricing(Command key, TCalcNum& result) {
    const PricingFormat f{option_.Acount, option_.Decimals, option_.Rounding};
    std::string_view bad;
    bool read = false;
    switch (key) {
    case Command::CostPrice:
        if (SellNum.Text.empty() || MarginNum.Text.empty()) return false;
        read = CostFromSell(SellNum.Text, MarginNum.Text, f, result, &bad);
        break;
    case Command::SellPrice:
        if (CostNum.Text.empty() || MarginNum.Text.empty()) return false;
        read = SellFromCost(CostNum.Text, MarginNum.Text, f, result, &bad);
        break;
    default:
        if (CostNum.Text.empty() || SellNum.Text.empty()) return false;
        read = MarginFrom(CostNum.Text, SellNum.Text, f, result, &bad);
        break;
    }
    if (!read) ConvertFailed(std::string(bad));
    return read;
}

void CalcEngine::PricingKey(Command key) {
    DisplayBatch batch(*this);
    TCalcNum& slot = key == Command::CostPrice   ? CostNum
                     : key == Command::SellPrice ? SellNum
                                                 : MarginNum;
    const unsigned before = previousCommand_;
    const bool fresh = !IsPricingKey(before) && (!InNum.Text.empty() || IsOperatorKey(before));
    if (fresh) {
        // The number on the display becomes this value; a time or a date is no price.
        if (DispNum.Kind != ValueKind::Number) {
            host_.Beep();
            return;
        }
        TCalcNum value = DispNum;
        if (value.Text.empty()) value.Text = "0";
        slot = value;
        pricingShown_ = key;
        profitShown_ = false;
        ShowKeyValue(value, LabelOf(key));
        AddMarkedRow(value.Text, MarkOf(key), false);
        return;
    }
    if (before == static_cast<unsigned>(key) && pricingShown_ == key) {
        // The same key again: the margin in money, then the value again.
        if (!profitShown_) {
            if (CostNum.Text.empty() || SellNum.Text.empty()) {
                host_.Beep();
                return;
            }
            TCalcNum profit;
            std::string_view bad;
            const PricingFormat f{option_.Acount, option_.Decimals, option_.Rounding};
            if (!ProfitFrom(CostNum.Text, SellNum.Text, f, profit, &bad)) {
                ConvertFailed(std::string(bad));
                return;
            }
            profitShown_ = true;
            ShowKeyValue(profit, kProfitLabel);
            if (!profit.Error) AddMarkedRow(profit.Text, RowMark::Profit, true);
        } else {
            profitShown_ = false;
            ShowKeyValue(slot, LabelOf(key));
        }
        return;
    }
    TCalcNum result;
    if (!ComputePricing(key, result)) {
        if (!stopped_) host_.Beep(); // the other two are not both known
        return;
    }
    pricingShown_ = key;
    profitShown_ = false;
    if (!result.Error) slot = result;
    ShowKeyValue(result, LabelOf(key));
    if (!result.Error) AddMarkedRow(result.Text, MarkOf(key), true);
}

// ---- Item count ----

void CalcEngine::CountItem() {
    // The second keying of a re-key check keys the bill's items again: they are counted already.
    if (shownCounted_ || check_.Active()) return;
    shownCounted_ = true;
    recordCounted_ = true; // until a row carries the count
    ++itemCount_;
    RefreshItemsMark();
}

void CalcEngine::RefreshItemsMark() {
    DisplayBatch batch(*this);
    display_.PanelItems = itemCount_ > 0 ? "件数 " + std::to_string(itemCount_) : std::string();
    display_.ItemsMark = statusBarShown_ ? std::string() : display_.PanelItems;
    if (countShown_) ShowCountCaption(); // a corrected receipt changes the count shown
}

void CalcEngine::ShowCountCaption() {
    display_.Error = false;
    display_.Caption = InsertThousands(std::to_string(itemCount_)) + ".";
    if (styledFont_) display_.Caption += ' ';
    display_.NumMark = "件数";
}

void CalcEngine::ShowItemCount() {
    DisplayBatch batch(*this);
    if (!countShown_) countSaved_ = display_;
    countShown_ = true;
    ShowCountCaption();
}

bool CalcEngine::RestoreAfterCount() {
    // Nothing showed a number since the count covered it (ShowNum ends the cover), so the
    // caption kept is still that of DispNum.
    if (!countShown_) return false;
    DisplayBatch batch(*this);
    countShown_ = false;
    display_.Error = countSaved_.Error;
    display_.Caption = countSaved_.Caption;
    display_.NumMark = countSaved_.NumMark;
    return true;
}

// ---- Conversion ----

void CalcEngine::ConvertKey() {
    DisplayBatch batch(*this);
    const std::string* rates[3] = {nullptr, &option_.Rate2, &option_.Rate3};
    const std::string* names[3] = {&option_.RateName1, &option_.RateName2, &option_.RateName3};
    auto usable = [&](int u) { return u == 0 || IsValidRate(*rates[u]); };
    if (!usable(1) && !usable(2)) {
        host_.Beep();
        display_.NumMark = kNoRateLabel;
        return;
    }
    int from = convUnit_;
    if (previousCommand_ != CommandNumber(Command::ConvertRate)) {
        // A new conversion: the amount on the display is in the home unit; a time or a date
        // has no rate.
        if (DispNum.Kind != ValueKind::Number) {
            host_.Beep();
            return;
        }
        from = 0;
        convBase_ = DispNum;
        if (convBase_.Text.empty()) convBase_.Text = "0";
    }
    int to = (from + 1) % 3;
    while (!usable(to))
        to = (to + 1) % 3;
    TCalcNum result;
    bool read = false;
    if (to == 0) // back home, from the amount on the display
        read = ConvertToHome(DispNum.Text, *rates[from], option_.Acount, option_.Decimals,
                             option_.Rounding, result);
    else
        read = ConvertFromHome(convBase_.Text, *rates[to], option_.Acount, option_.Decimals,
                               option_.Rounding, result);
    if (!read) {
        ConvertFailed(to == 0 ? DispNum.Text : convBase_.Text);
        return;
    }
    convUnit_ = to;
    const std::string& name = *names[to];
    ShowKeyValue(result, name.empty() ? "C" + std::to_string(to + 1) : name);
}

} // namespace bansho
