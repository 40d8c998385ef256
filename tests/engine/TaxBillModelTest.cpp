// The tax bill against a model written from what a shop's bill must show: items at two
// rates, prices before tax and prices with tax summed apart, each sum's tax taken once and
// rounded by the decimal selection, the totals in the order the tax-total key shows them.
// Random bills go through the engine's keys and the receipt's corrections.
#include "CalcModel.h"
#include "EngineRig.h"
#include "ExactModel.h"
#include "TaxBill.h"
#include "RandomRounds.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace bansho;
using namespace bansho::testing;

namespace {

struct ModelItem {
    std::string amount;
    int rate = 0; // 0: rate 1, 1: rate 2
    bool withTax = false;
};

struct ModelStep {
    ModelNum amount;
    std::string label;
};

// a + b; a total past fifteen digits is an error, and so is whatever adds it.
ModelNum Plus(ModelNum a, const ModelNum& b, int acount) {
    if (a.error || b.error) return ModelNum{"", true};
    ModelNum s = b;
    ModelCalc(a, s, '+', ' ', acount);
    return a;
}

// What the tax-total key shows, step by step, for these items.
std::vector<ModelStep> ModelBill(const std::vector<ModelItem>& items, const std::string rates[2],
                                 int acount, int decimals, int rule) {
    ModelNum totalBefore{"", false}, totalTax{"", false}, totalWith{"", false};
    std::vector<ModelStep> perRate;
    for (int r = 0; r < 2; ++r) {
        bool used = false;
        ModelNum before{"", false}, with{"", false};
        for (const ModelItem& it : items) {
            if (it.rate != r) continue;
            used = true;
            if (it.withTax)
                with = Plus(with, ModelNum{it.amount, false}, acount);
            else
                before = Plus(before, ModelNum{it.amount, false}, acount);
        }
        if (!used) continue;
        ModelNum rate{rates[r], false};
        // Tax on the prices before tax, once on their sum, rounded once from its exact value.
        ModelNum taxOnBefore = before;
        if (decimals < 0)
            ModelCalc(taxOnBefore, rate, '*', '%', acount);
        else
            ModelSelected(taxOnBefore, rate, '*', '%', acount, decimals, rule);
        // Tax contained in the prices with tax, once on their sum, likewise.
        ModelNum taxInWith = with;
        if (decimals < 0) {
            ModelNum divisor{"100", false};
            ModelCalc(divisor, rate, '+', ' ', acount);
            ModelCalc(taxInWith, divisor, '/', ' ', acount);
            ModelCalc(taxInWith, rate, '*', ' ', acount);
        } else if (!with.error) {
            taxInWith = ModelTaxContained(with.text, rates[r], acount, decimals, rule);
        }

        ModelNum rateBefore = Plus(before, with, acount);
        ModelCalc(rateBefore, taxInWith, '-', ' ', acount);
        const ModelNum rateTax = Plus(taxOnBefore, taxInWith, acount);
        const ModelNum rateWith = Plus(Plus(before, taxOnBefore, acount), with, acount);
        std::string shown = rates[r];
        perRate.push_back({rateBefore, shown + "%対象"});
        perRate.push_back({rateTax, shown + "%税額"});
        perRate.push_back({rateWith, shown + "%税込"});
        totalBefore = Plus(totalBefore, rateBefore, acount);
        totalTax = Plus(totalTax, rateTax, acount);
        totalWith = Plus(totalWith, rateWith, acount);
    }
    std::vector<ModelStep> steps = {
        {totalWith, "合計税込"}, {totalBefore, "合計税抜"}, {totalTax, "合計税額"}};
    steps.insert(steps.end(), perRate.begin(), perRate.end());
    return steps;
}

std::string RandomAmount(std::mt19937_64& rng) {
    const unsigned kind = rng() % 20;
    std::string n;
    const int whole = kind == 0 ? 15 : 1 + static_cast<int>(rng() % 7);
    n += static_cast<char>('1' + rng() % 9);
    for (int i = 1; i < whole; ++i)
        n += static_cast<char>('0' + rng() % 10);
    if (kind >= 12 && whole < 13) {
        n += '.';
        const int frac = 1 + static_cast<int>(rng() % 3);
        for (int i = 0; i < frac; ++i)
            n += static_cast<char>('0' + rng() % 10);
    }
    return n;
}

std::string TypeKeys(const std::string& amount) {
    std::string keys;
    for (const char c : amount)
        keys += std::string(1, c) + " ";
    return keys;
}

unsigned TaxKey(int rate, bool withTax) {
    return rate == 0 ? (withTax ? 39u : 38u) : (withTax ? 47u : 46u);
}

// The receipt row of the k-th tax item.
std::size_t RowOfItem(const CalcEngine& e, std::size_t k) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < e.HistoryCount(); ++i) {
        if (!IsTaxItemMark(e.HistMark(i))) continue;
        if (seen++ == k) return i;
    }
    return e.HistoryCount();
}

void CheckSteps(EngineRig& rig, const std::vector<ModelStep>& steps, const std::string& what) {
    for (std::size_t i = 0; i < steps.size() + 1; ++i) {
        rig.engine.ExecCommand(48);
        const ModelStep& m = steps[i % steps.size()];
        ASSERT_EQ(rig.engine.InNum.Error, m.amount.error) << what << " step " << i;
        if (!m.amount.error) {
            ASSERT_EQ(rig.engine.InNum.Text, m.amount.text) << what << " step " << i;
        }
        ASSERT_EQ(rig.engine.Display().NumMark, m.label) << what << " step " << i;
    }
}

TEST(TaxBillModel, RandomBillsAgreeWithTheModel) {
    std::mt19937_64 rng(20261207);
    static const char* kRates[] = {"10", "8", "5", "8.5", "0", "100", "3.25"};
    int bills = 0;
    for (; bills < RandomRounds(10000); ++bills) {
        EngineOptions o;
        o.acount = static_cast<int>(rng() % 4 == 0);
        o.decimals = static_cast<int>(rng() % 6) - 1;
        o.rounding = static_cast<int>(rng() % 3);
        o.histSet = 2;
        EngineRig rig(o);
        const std::string rates[2] = {kRates[rng() % 7], kRates[rng() % 7]};
        rig.option.TaxRate = rates[0];
        rig.option.TaxRate2 = rates[1];
        rig.engine.AllClear();

        std::vector<ModelItem> items;
        std::string log;
        const int count = 1 + static_cast<int>(rng() % 6);
        for (int i = 0; i < count; ++i) {
            ModelItem it{RandomAmount(rng), static_cast<int>(rng() % 2), rng() % 2 == 0};
            std::string keys = TypeKeys(it.amount);
            keys += "#" + std::to_string(TaxKey(it.rate, it.withTax)) + " ";
            const unsigned after = rng() % 6;
            if (after == 1) {
                // Further presses step through the cycle and count nothing.
                keys += "#" + std::to_string(TaxKey(it.rate, it.withTax)) + " ";
            } else if (after == 2) {
                // The other rate's key: the same amount is counted under it instead.
                it.rate = 1 - it.rate;
                it.withTax = rng() % 2 == 0;
                keys += "#" + std::to_string(TaxKey(it.rate, it.withTax)) + " ";
            } else if (after == 3) {
                // A calculation between items is no item.
                keys += "+ 7 = ";
            }
            rig.Keys(keys);
            log += keys;
            items.push_back(it);
        }
        const std::string what = "bill " + std::to_string(bills) + ": " + log + " rates " +
                                 rates[0] + "/" + rates[1] + " acount " +
                                 std::to_string(o.acount) + " decimals " +
                                 std::to_string(o.decimals) + " rule " + std::to_string(o.rounding);
        CheckSteps(rig, ModelBill(items, rates, o.acount, o.decimals, o.rounding), what);
        if (::testing::Test::HasFatalFailure()) return;

        // Corrections of the receipt's tax rows: the bill follows them.
        const int edits = static_cast<int>(rng() % 3);
        std::string editLog;
        for (int e = 0; e < edits && !items.empty(); ++e) {
            const std::size_t k = rng() % items.size();
            const std::size_t row = RowOfItem(rig.engine, k);
            ASSERT_LT(row, rig.engine.HistoryCount()) << what;
            const std::string fresh = RandomAmount(rng);
            switch (rng() % 4) {
            case 0:
                ASSERT_TRUE(rig.engine.ReplaceHistoryEntry(row, fresh, '+'));
                items[k].amount = fresh;
                editLog += " correct " + std::to_string(k) + "=" + fresh;
                break;
            case 1:
                ASSERT_TRUE(rig.engine.RemoveHistoryEntry(row));
                items.erase(items.begin() + static_cast<std::ptrdiff_t>(k));
                editLog += " delete " + std::to_string(k);
                break;
            case 2:
                // A row inserted before an item is an item of the same rate and kind.
                ASSERT_TRUE(rig.engine.InsertHistoryEntry(row));
                ASSERT_TRUE(rig.engine.ReplaceHistoryEntry(row, fresh, '+'));
                items.insert(items.begin() + static_cast<std::ptrdiff_t>(k),
                             ModelItem{fresh, items[k].rate, items[k].withTax});
                editLog += " insert " + std::to_string(k) + "=" + fresh;
                break;
            default:
                if (k + 1 < items.size()) {
                    const std::size_t next = RowOfItem(rig.engine, k + 1);
                    ASSERT_TRUE(rig.engine.SwapHistoryEntries(row, next));
                    std::swap(items[k], items[k + 1]);
                    editLog += " move " + std::to_string(k);
                }
                break;
            }
        }
        if (editLog.empty()) continue; // nothing was corrected
        if (items.empty()) {
            EXPECT_TRUE(rig.engine.BillItems().empty()) << what << editLog;
            continue;
        }
        CheckSteps(rig, ModelBill(items, rates, o.acount, o.decimals, o.rounding),
                   what + " then" + editLog);
        if (::testing::Test::HasFatalFailure()) return;
    }
    EXPECT_EQ(bills, RandomRounds(10000));
}

} // namespace
