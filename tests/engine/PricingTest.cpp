// The pricing keys, the item count and the conversion key through the engine's commands.
#include "EngineRig.h"
#include "DecimalRounding.h"
#include "ReceiptTotal.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>
#include <vector>

using namespace bansho;
using namespace bansho::testing;

namespace {

// #55 原価, #56 売価, #57 粗利率, #58 件数, #59 conversion.
TEST(PricingKeys, WorkedExamples) {
    struct Row {
        const char* keys;
        const char* caption;
        const char* label;
    } rows[] = {
        {"1500 #55 20 #57 #56", "1,875.", "売価"},
        {"1500 #55 20 #57 #56 #56", "375.", "粗利"},
        {"1500 #55 20 #57 #56 #56 #56", "1,875.", "売価"},
        {"2000 #56 30 #57 #55", "1,400.", "原価"},
        {"1500 #55 2000 #56 #57", "25.", "粗利率"},
        {"1500 #55 2000 #56 #57 #57", "500.", "粗利"},
        {"100 #55 20 #57 #56", "125.", "売価"},
        {"20 #57 100 #55 #56", "125.", "売価"},     // any order
        {"1500 #55", "1,500.", "原価"},              // a typed number is stored and labelled
        {"1000 + 500 = #55 20 #57 #56", "1,875.", "売価"}, // a result is taken as typed
        {"100 #55 100 #57 #56", "- E -  ", "売価"},  // margin 100: the error display
        {"100 #55 150 #57 #56", "- E -  ", "売価"},
        {"0 #56 100 #55 #57", "- E -  ", "粗利率"},  // sell 0 for the margin
        {"1500 #55 20 #57 #56 * 3 =", "5,625.", ""}, // the price goes on as an amount
        {"1500 #55 20 #57 #56 7", "7.", ""},         // a digit starts a new number
    };
    for (const auto& r : rows) {
        EngineRig rig;
        rig.Keys(r.keys);
        EXPECT_EQ(rig.Caption(), r.caption) << r.keys;
        EXPECT_EQ(rig.engine.Display().NumMark, r.label) << r.keys;
    }
}

TEST(PricingKeys, AKeyWithoutItsTwoOtherValuesBeepsAndChangesNothing) {
    EngineRig rig;
    rig.Keys("1500 #55");
    const int beeps = rig.host.beeps;
    rig.Keys("#56");
    EXPECT_EQ(rig.host.beeps, beeps + 1);
    EXPECT_EQ(rig.Caption(), "1,500.");
    EXPECT_TRUE(rig.engine.SellNum.Text.empty());
}

TEST(PricingKeys, ResultsObeyTheDecimalSelection) {
    struct Row {
        int decimals, rule;
        const char* caption;
    } rows[] = {
        {-1, 0, "1,428.57142857142"}, {0, 0, "1,428."}, {0, 1, "1,429."}, {2, 2, "1,428.58"},
        {2, 1, "1,428.57"},           {4, 0, "1,428.5714"},
    };
    for (const auto& r : rows) {
        EngineOptions o;
        o.decimals = r.decimals;
        o.rounding = r.rule;
        EngineRig rig(o);
        rig.Keys("1000 #55 30 #57 #56");
        EXPECT_EQ(rig.Caption(), r.caption) << r.decimals << " " << r.rule;
    }
}

TEST(PricingKeys, AllClearEmptiesTheThree) {
    EngineRig rig;
    rig.Keys("1500 #55 20 #57 #56 AC");
    EXPECT_TRUE(rig.engine.CostNum.Text.empty());
    EXPECT_TRUE(rig.engine.SellNum.Text.empty());
    EXPECT_TRUE(rig.engine.MarginNum.Text.empty());
    rig.Keys("#56");
    EXPECT_EQ(rig.Caption(), "0.");
}

TEST(PricingKeys, TheReceiptReadsAsTheCalculationDidAndItsTotalLeavesThePricesOut) {
    EngineRig rig; // input receipt
    rig.Keys("1500 #55 20 #57 #56 #56 100 + 200 =");
    ASSERT_EQ(rig.engine.HistoryCount(), 6u);
    EXPECT_EQ(rig.engine.HistRow(0), "                 1,500. 原価");
    EXPECT_EQ(rig.engine.HistRow(1), "                    20. 粗利率");
    EXPECT_EQ(rig.engine.HistRow(2), "                 1,875. 売価");
    EXPECT_EQ(rig.engine.HistRow(3), "                   375. 粗利");
    EXPECT_EQ(rig.engine.HistRow(4), "                 ＋100.");
    TCalcNum total;
    ASSERT_TRUE(rig.engine.ReceiptTotal(total, nullptr));
    EXPECT_EQ(total.Text, "300.");
    ASSERT_TRUE(rig.engine.RecalcHistory());
    EXPECT_EQ(rig.Caption(), "300.");

    // The calculation receipt keeps only what the keys computed.
    EngineOptions calc;
    calc.histSet = 1;
    EngineRig r1(calc);
    r1.Keys("2000 #56 30 #57 #55");
    ASSERT_EQ(r1.engine.HistoryCount(), 1u);
    EXPECT_EQ(r1.engine.HistRow(0), "                 1,400. 原価");
    // The user memo records nothing by itself.
    EngineOptions memo;
    memo.histSet = 0;
    EngineRig r0(memo);
    r0.Keys("2000 #56 30 #57 #55");
    EXPECT_EQ(r0.engine.HistoryCount(), 0u);
}

TEST(ItemCount, TheKeyShowsTheCountUntilTheNextKey) {
    EngineRig rig;
    rig.Keys("100 + 200 + 300 +");
    EXPECT_EQ(rig.engine.Display().PanelItems, "件数 3");
    EXPECT_EQ(rig.engine.Display().ItemsMark, "");
    rig.Keys("#58");
    EXPECT_EQ(rig.Caption(), "3.");
    EXPECT_EQ(rig.engine.Display().NumMark, "件数");
    rig.Keys("=");
    EXPECT_EQ(rig.Caption(), "600.");
    EXPECT_EQ(rig.engine.Display().NumMark, "");
    rig.engine.SetStatusBarShown(false);
    EXPECT_EQ(rig.engine.Display().ItemsMark, "件数 3");
    rig.Keys("AC");
    EXPECT_EQ(rig.engine.Display().PanelItems, "");
    EXPECT_EQ(rig.engine.ItemCount(), 0);
}

// The count, from the rule as the guide gives it: an amount typed and entered with +, - or =
// is an item; the first tax key on a typed amount counts it, and nothing counts it again; a
// result an operator shows is no item (its amounts were counted); AC starts at 0. In the input
// receipt the receipt is the bill: a new receipt or HC starts at 0, a deleted row of a counted
// amount takes its item away (the first row recorded for the amount carries its count), an
// inserted row adds none.
struct CountModel {
    int histSet = 2;
    int count = 0;
    bool entry = false;   // an amount typed (or shown by a tax key) waits for an operator
    bool counted = false; // the amount on the display has been counted, or is a result
    bool owed = false;    // ... counted, and no row carries its count yet
    bool afterEquals = true;
    char lastOpe = 0;       // the last operator, until a digit (twice the same is the constant)
    bool blank = true;      // nothing shown since AC: the tax keys are left out there
    std::vector<bool> rows; // input receipt: whether each row's amount was counted

    void Type() {
        if (histSet == 2 && afterEquals && !rows.empty()) {
            rows.clear();
            count = 0;
        }
        entry = true;
        counted = false;
        owed = false;
        lastOpe = 0;
        blank = false;
    }
    void Operator(char k) {
        if (entry) {
            if ((k == '+' || k == '-' || k == '=') && !counted) {
                ++count;
                owed = true;
            }
            if (histSet == 2) rows.push_back(owed);
        }
        entry = false;
        counted = true; // a result
        owed = false;
        afterEquals = k == '=';
        lastOpe = k;
    }
    void Tax() {
        if (!counted) {
            ++count;
            counted = true;
            owed = true;
        }
        entry = true;
    }
    // Key 48: a total of the bill is no item; an operator after it enters it as the amount.
    void Total() {
        counted = true;
        owed = false;
        entry = true;
    }
    void AllClear() {
        const char last = lastOpe; // AC leaves the last key alone
        const int hs = histSet;
        *this = CountModel{};
        histSet = hs;
        lastOpe = last;
    }
    void Delete(std::size_t i) {
        if (rows[i]) --count;
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i));
    }
    void Insert(std::size_t i) { rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(i), false); }
    void ClearReceipt() {
        rows.clear();
        if (histSet == 2) {
            count = 0;
            owed = false;
        }
    }
};

TEST(ItemCount, AgreesWithTheModelOverRandomKeysWithReceiptCorrections) {
    for (int histSet = 0; histSet <= 2; ++histSet) {
        std::mt19937 rng(5800 + histSet);
        for (int run = 0; run < 200; ++run) {
            EngineOptions o;
            o.histSet = histSet;
            EngineRig rig(o);
            CountModel m;
            m.histSet = histSet;
            std::string log;
            for (int step = 0; step < 60; ++step) {
                const unsigned pick = rng() % 100;
                std::string keys;
                if (pick < 35) {
                    keys = std::to_string(1 + rng() % 999);
                    m.Type();
                } else if (pick < 65) {
                    static const char ops[] = {'+', '-', '=', '*', '+', '='};
                    char k = ops[rng() % 6];
                    if (k == m.lastOpe) k = '='; // twice the same operator is the constant
                    if (k == '=' && m.lastOpe == '=') k = '-';
                    keys = std::string(1, k);
                    m.Operator(k);
                } else if (pick < 77 && !m.blank) {
                    // Rate 2's keys put the bill's items on the receipt, which the model of
                    // the input receipt's rows leaves to the tax bill's own model.
                    static const char* const taxKeys[] = {"TI", "TE", "#46", "#47"};
                    keys = taxKeys[rng() % (histSet == 2 ? 2 : 4)];
                    m.Tax();
                } else if (pick < 80) {
                    keys = "AC";
                    m.AllClear();
                } else if (pick < 82) {
                    keys = "HC";
                    m.ClearReceipt();
                } else if (pick < 83) {
                    keys = "#58";
                } else if (pick < 84 && histSet != 2 && !m.blank) {
                    keys = "#48";
                    m.Total();
                } else if (histSet == 2 && !m.rows.empty() && pick < 92) {
                    const std::size_t i = rng() % m.rows.size();
                    ASSERT_TRUE(rig.engine.RemoveHistoryEntry(i));
                    m.Delete(i);
                    keys = "del:" + std::to_string(i);
                } else if (histSet == 2 && pick < 96) {
                    const std::size_t i = rng() % (m.rows.size() + 1);
                    ASSERT_TRUE(rig.engine.InsertHistoryEntry(i));
                    m.Insert(i);
                    keys = "ins:" + std::to_string(i);
                } else if (histSet == 2 && m.rows.size() >= 2) {
                    const std::size_t i = rng() % m.rows.size(), j = rng() % m.rows.size();
                    if (i != j) {
                        ASSERT_TRUE(rig.engine.SwapHistoryEntries(i, j));
                        std::vector<bool>::swap(m.rows[i], m.rows[j]);
                    }
                    keys = "swap";
                } else {
                    continue;
                }
                if (keys.find(':') == std::string::npos && keys != "swap") rig.Keys(keys);
                log += keys + " ";
                ASSERT_EQ(rig.engine.ItemCount(), m.count) << "receipt " << histSet << ": " << log;
                if (histSet == 2) {
                    ASSERT_EQ(rig.engine.HistoryCount(), m.rows.size()) << log;
                }
            }
        }
    }
}

TEST(ConversionKey, GoesHomeToEachRateAndBackWithTheRatesName) {
    EngineRig rig;
    rig.option.RateName1 = "円";
    rig.option.RateName2 = "USD";
    rig.option.Rate2 = "0.0067";
    rig.option.RateName3 = "坪";
    rig.option.Rate3 = "3.30579";
    struct Step {
        const char* caption;
        const char* label;
    } steps[] = {{"0.67", "USD"}, {"330.579", "坪"}, {"100.", "円"}, {"0.67", "USD"}};
    rig.Keys("100");
    for (const auto& s : steps) {
        rig.Keys("#59");
        EXPECT_EQ(rig.Caption(), s.caption);
        EXPECT_EQ(rig.engine.Display().NumMark, s.label);
    }
    // A converted amount is an amount: it goes on into the calculation, a digit starts anew.
    rig.Keys("* 2 =");
    EXPECT_EQ(rig.Caption(), "1.34");
    rig.Keys("5 #59");
    EXPECT_EQ(rig.Caption(), "0.0335");

    // One rate only: home and that rate; a unit without a name shows its place.
    EngineRig one;
    one.option.Rate3 = "2";
    one.Keys("7 #59");
    EXPECT_EQ(one.Caption(), "14.");
    EXPECT_EQ(one.engine.Display().NumMark, "C3");
    one.Keys("#59");
    EXPECT_EQ(one.Caption(), "7.");
}

TEST(ConversionKey, WithoutRatesItSaysSoAndBeeps) {
    EngineRig rig;
    rig.Keys("100");
    const int beeps = rig.host.beeps;
    rig.Keys("#59");
    EXPECT_EQ(rig.host.beeps, beeps + 1);
    EXPECT_EQ(rig.Caption(), "100.");
    EXPECT_EQ(rig.engine.Display().NumMark, "レート未設定");
}

// A receipt whose pricing rows come first (or anywhere) totals as the same receipt without
// them: the first amount of the total starts it unrounded under a selection, as the first
// number typed starts the chain, wherever the rows the total leaves out stand.
TEST(PricingKeys, TheReceiptTotalIgnoresPricingRowsBeforeTheFirstAmount) {
    const char* firsts[] = {"1.239", "-7.6666", "999999999999999", "0.00000000000000005",
                            "123456789012.3456789012345", "12345678901234567890123.5"};
    const RowMark marks[] = {RowMark::CostPrice, RowMark::SellPrice, RowMark::MarginRate,
                             RowMark::Profit};
    int compared = 0;
    for (const char* first : firsts)
        for (int acount = 0; acount < 2; ++acount)
            for (int decimals = kDecimalsFloat; decimals <= 4; ++decimals)
                for (int rule = 0; rule < 3; ++rule) {
                    const std::deque<HistoryEntry> plain = {
                        {first, '+'}, {"2.555", '+'}, {"1.115", '*'}};
                    std::deque<HistoryEntry> marked = plain;
                    const RowMark mark = marks[compared % 4];
                    marked.emplace_front("1500.", ' ', mark);
                    marked.emplace(marked.begin() + 2, "25.", ' ', mark);
                    TCalcNum expected, total;
                    std::string expectedBad, bad;
                    const bool expectedOk =
                        FoldReceipt(plain, acount, decimals, rule, expected, &expectedBad);
                    const bool ok = FoldReceipt(marked, acount, decimals, rule, total, &bad);
                    ASSERT_EQ(ok, expectedOk) << first << " at " << decimals;
                    if (ok) {
                        EXPECT_EQ(total, expected)
                            << first << " mode " << acount << " at " << decimals << " rule " << rule
                            << ": " << total.Text << " for " << expected.Text;
                    }
                    ++compared;
                }
    EXPECT_EQ(compared, 6 * 2 * 6 * 3);
}

} // namespace
