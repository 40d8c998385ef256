// The decimal selector and the rounding rule: worked cases through the keys, the exact
// rounding of register texts, and the selectors' own commands and mark.
#include "DecimalRounding.h"
#include "EngineRig.h"
#include "ExactModel.h"
#include "SelectedResult.h"
#include "RandomRounds.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace bansho;
using namespace bansho::testing;

namespace {

constexpr int kCut = 0, kHalf = 1, kUp = 2;

EngineOptions Sel(int decimals, int rounding, const char* rate = "10", int acount = 0,
                  bool calcMem = true) {
    EngineOptions o;
    o.calcMem = calcMem;
    o.decimals = decimals;
    o.rounding = rounding;
    o.taxRate = rate;
    o.acount = acount;
    return o;
}

struct SelectorCase {
    const char* name;
    EngineOptions options;
    const char* keys;
    const char* caption;
};

const SelectorCase kSelectorCases[] = {
    // Division, each rule, positive and negative
    {"10/3 at 0 cut gives 3", Sel(0, kCut), "10 / 3 =", "3."},
    {"10/3 at 0 half gives 3", Sel(0, kHalf), "10 / 3 =", "3."},
    {"10/3 at 0 up gives 4", Sel(0, kUp), "10 / 3 =", "4."},
    {"-10/3 at 0 cut gives -3", Sel(0, kCut), "10 neg / 3 =", "-3."},
    {"-10/3 at 0 half gives -3", Sel(0, kHalf), "10 neg / 3 =", "-3."},
    {"-10/3 at 0 up gives -4", Sel(0, kUp), "10 neg / 3 =", "-4."},
    {"10/3 at 2 cut gives 3.33", Sel(2, kCut), "10 / 3 =", "3.33"},
    {"10/3 at 2 up gives 3.34", Sel(2, kUp), "10 / 3 =", "3.34"},
    {"2/3 at 2 cut gives 0.66", Sel(2, kCut), "2 / 3 =", "0.66"},
    {"2/3 at 2 half gives 0.67", Sel(2, kHalf), "2 / 3 =", "0.67"},
    {"-2/3 at 2 half gives -0.67", Sel(2, kHalf), "2 / 3 neg =", "-0.67"},
    {"2/3 at 3 cut gives 0.666", Sel(3, kCut), "2 / 3 =", "0.666"},
    {"1/3 at 4 up gives 0.3334", Sel(4, kUp), "1 / 3 =", "0.3334"},
    {"1/3 at 1 half gives 0.3", Sel(1, kHalf), "1 / 3 =", "0.3"},
    // The .5 ties
    {"2.5 at 0 cut gives 2", Sel(0, kCut), "5 / 2 =", "2."},
    {"2.5 at 0 half gives 3", Sel(0, kHalf), "5 / 2 =", "3."},
    {"2.5 at 0 up gives 3", Sel(0, kUp), "5 / 2 =", "3."},
    {"-2.5 at 0 cut gives -2", Sel(0, kCut), "5 neg / 2 =", "-2."},
    {"-2.5 at 0 half gives -3", Sel(0, kHalf), "5 neg / 2 =", "-3."},
    {"-2.5 at 0 up gives -3", Sel(0, kUp), "5 neg / 2 =", "-3."},
    {"0.125 at 2 cut gives 0.12", Sel(2, kCut), "1 / 8 =", "0.12"},
    {"0.125 at 2 half gives 0.13", Sel(2, kHalf), "1 / 8 =", "0.13"},
    {"-0.125 at 2 half gives -0.13", Sel(2, kHalf), "1 neg / 8 =", "-0.13"},
    // Multiplication, addition, subtraction
    {"1.375 at 2 cut gives 1.37", Sel(2, kCut), "1.25 * 1.1 =", "1.37"},
    {"1.375 at 2 half gives 1.38", Sel(2, kHalf), "1.25 * 1.1 =", "1.38"},
    {"1.375 at 1 up gives 1.4", Sel(1, kUp), "1.25 * 1.1 =", "1.4"},
    {"0.124 at 2 half stays 0.12", Sel(2, kHalf), "0.123 + 0.001 =", "0.12"},
    {"0.124 at 2 up gives 0.13", Sel(2, kUp), "0.123 + 0.001 =", "0.13"},
    {"0.995 at 2 half carries to 1", Sel(2, kHalf), "1 - 0.005 =", "1."},
    {"0.995 at 2 cut gives 0.99", Sel(2, kCut), "1 - 0.005 =", "0.99"},
    {"-0.4 at 0 cut is zero without a sign", Sel(0, kCut), "0.4 neg * 1 =", "0."},
    {"-0.4 at 0 up gives -1", Sel(0, kUp), "0.4 neg * 1 =", "-1."},
    {"9.99 at 1 half carries into the whole part", Sel(1, kHalf), "9.99 * 1 =", "10."},
    {"an exact result is unchanged", Sel(1, kCut), "12.5 + 1 =", "13.5"},
    {"an entry is not a result and keeps its digits", Sel(0, kCut), "1.2345 =", "1.2345"},
    // Percent and chains
    {"33.3 percent at 0 cut gives 33", Sel(0, kCut), "333 * 10 %", "33."},
    {"33.3 percent at 0 up gives 34", Sel(0, kUp), "333 * 10 %", "34."},
    {"each chain step is rounded", Sel(0, kCut), "10 / 3 * 3 =", "9."},
    {"a chain step is shown rounded", Sel(0, kUp), "10 / 3 +", "4."},
    {"F keeps every digit", Sel(-1, kCut), "10 / 3 * 3 =", "9.99999999999999"},
    {"round-to-15-digits form has no point", Sel(0, kHalf, "10", 1), "5 / 2 =", "3."},
    // Constant steps, memory and grand total
    {"constant division at 0 cut", Sel(0, kCut), "3 / / 10 =", "3."},
    {"constant division at 1 up", Sel(1, kUp), "3 / / 10 =", "3.4"},
    {"M+ adds the rounded results", Sel(0, kCut), "10 / 3 M+ 20 / 3 M+ MR", "9."},
    {"M- subtracts the rounded result", Sel(0, kUp), "10 / 3 M- MR", "-4."},
    {"grand total sums the rounded results", Sel(0, kCut), "10 / 3 = 20 / 3 = GT", "9."},
    {"grand total at F", Sel(-1, kCut), "10 / 3 = 20 / 3 = GT", "9.99999999999999"},
    // Tax: the tax is rounded, the other amount derived from it
    {"1234 with 10% tax at 0 cut", Sel(0, kCut), "1234 TI", "1,357."},
    {"1234 with 10% tax: the tax at 0 cut", Sel(0, kCut), "1234 TI TI", "123."},
    {"1234 with 10% tax: the base", Sel(0, kCut), "1234 TI TI TI", "1,234."},
    {"1234 with 10% tax at 0 up", Sel(0, kUp), "1234 TI", "1,358."},
    {"1234 with 8% tax at 0 cut", Sel(0, kCut, "8"), "1234 TI", "1,332."},
    {"1234 with 8% tax at 0 half", Sel(0, kHalf, "8"), "1234 TI TI", "99."},
    {"1234 with 8% tax at 0 half, with tax", Sel(0, kHalf, "8"), "1234 TI", "1,333."},
    {"1000 less 8% tax at 0 cut", Sel(0, kCut, "8"), "1000 TE", "926."},
    {"1000 less 8% tax: the tax at 0 cut", Sel(0, kCut, "8"), "1000 TE TE", "74."},
    {"1000 less 8% tax at 0 up", Sel(0, kUp, "8"), "1000 TE", "925."},
    {"1000 less 10% tax at 0 cut", Sel(0, kCut), "1000 TE", "910."},
    {"1000 less 10% tax at 0 half", Sel(0, kHalf), "1000 TE", "909."},
    {"negative 1234 with 10% tax at 0 cut", Sel(0, kCut), "1234 neg TI", "-1,357."},
    {"negative 1234 with 10% tax at 0 up", Sel(0, kUp), "1234 neg TI", "-1,358."},
    {"negative 1000 less 8% tax at 0 cut", Sel(0, kCut, "8"), "1000 neg TE", "-926."},
    {"1234 with 10% tax at 2 keeps the cents", Sel(2, kCut), "1234 TI", "1,357.4"},
    {"1234 with 10% tax at F", Sel(-1, kCut), "1234 TI", "1,357.4"},
    // The exact result is rounded, not the one cut to the display's fifteen digits
    {"200,000,000,000 / 3 at 4 half rounds the exact quotient", Sel(4, kHalf),
     "200000000000 / 3 =", "66,666,666,666.6667"},
    {"1 / 200,000,000,000,000 at 2 up is 0.01", Sel(2, kUp), "1 / 200000000000000 =", "0.01"},
    {"999,999,999,999,999 + 0.6 at 0 half rounds past 15 digits: error", Sel(0, kHalf),
     "999999999999999 + 0.6 =", "- E -  "},
    {"999,999,999,999,999 + 0.4 at 0 half stays", Sel(0, kHalf), "999999999999999 + 0.4 =",
     "999,999,999,999,999."},
    {"10,000,000,000,000 + 0.01 at 1 cut drops the fraction zero", Sel(1, kCut),
     "10000000000000 + 0.01 =", "10,000,000,000,000."},
    {"a whole part of 12 digits leaves 3 places, half", Sel(4, kHalf), "2000000000000 / 3 =",
     "666,666,666,666.667"},
    {"a whole part of 12 digits leaves 3 places, up", Sel(4, kUp), "1000000000000 / 3 =",
     "333,333,333,333.334"},
    {"a whole part of 15 digits leaves none, up", Sel(2, kUp), "999999999999998 + 0.001 =",
     "999,999,999,999,999."},
    {"a product's sixteenth digit is rounded, not cut", Sel(4, kUp),
     "0.00000000000001 * 0.5 =", "0.0001"},
    {"the rounding mode rounds the exact result too", Sel(3, kUp, "10", 1), "2 / 3 =",
     "0.667"},
    {"the rounding mode at 4 places keeps 0.0001, not the error", Sel(4, kHalf, "10", 1),
     "1 / 15000 =", "0.0001"},
    {"a percent form rounds its exact value", Sel(0, kHalf), "5 * 10 %", "1."},
    {"tax excluded rounds the exact tax contained", Sel(0, kUp), "11000000000000.1 TE TE",
     "1,000,000,000,001."},
    // The grand total and the memory add exactly the numbers shown
    {"GT adds the typed 0.55 twice as shown", Sel(0, kHalf), "0.55 = 0.55 = GT", "1.1"},
    {"memory adds the typed 0.55 twice as shown", Sel(0, kHalf), ".55 M+ .55 M+ MR", "1.1"},
    {"memory without CalcMem adds the typed number as shown", Sel(0, kHalf, "10", 0, false),
     "0.55 M+ AC 0.55 M+ MR", "1.1"},
    {"GT adds a rounded result as shown", Sel(0, kHalf), "0.55 + 0 = 0.55 = GT", "1.55"},
    {"memory adds a result completed by M+ as shown", Sel(0, kHalf), "0.55 + 0 M+ MR", "1."},
};

TEST(DecimalSelector, WorkedCases) {
    for (const auto& c : kSelectorCases) {
        EngineRig rig(c.options);
        rig.Keys(c.keys);
        EXPECT_EQ(rig.Caption(), c.caption) << c.name;
        EXPECT_TRUE(rig.host.errors.empty()) << c.name;
    }
}

TEST(DecimalSelector, ReTotalRoundsEachStepAsTheChainShowedIt) {
    for (int rule : {kCut, kHalf, kUp}) {
        EngineRig rig(Sel(0, rule));
        rig.Keys("10 / 3 * 7 / 2 + 0.5 =");
        const std::string shown = rig.Caption();
        ASSERT_TRUE(rig.engine.RecalcHistory());
        EXPECT_EQ(rig.Caption(), shown) << "rule " << rule;
    }
}

// A chain's first number is shown as typed; the re-total takes it so too.
TEST(DecimalSelector, ReTotalTakesTheFirstNumberAsTyped) {
    const struct {
        EngineOptions options;
        const char* keys;
        const char* caption;
    } rows[] = {
        {Sel(0, kHalf), "0.4 + 0.4 =", "1."},
        {Sel(0, kCut), "0.9 + 0.9 =", "1."},
        {Sel(1, kUp), "0.25 * 2 =", "0.5"},
        {Sel(0, kHalf), "0.4 - 0.4 =", "0."},
        {Sel(2, kHalf, "10", 1), "1.005 + 0 =", "1.01"},
    };
    for (const auto& r : rows) {
        EngineRig rig(r.options);
        rig.Keys(r.keys);
        EXPECT_EQ(rig.Caption(), r.caption) << r.keys;
        ASSERT_TRUE(rig.engine.RecalcHistory());
        EXPECT_EQ(rig.Caption(), r.caption) << r.keys << ", re-totalled";
    }
}

// Random chains of typed numbers under every selection: the re-total of the input receipt
// shows what the chain showed at its "=".
TEST(DecimalSelector, ReTotalShowsWhatTheChainShowedOnRandomChains) {
    std::mt19937_64 rng(2026120701);
    auto number = [&] {
        std::string n;
        const int whole = static_cast<int>(rng() % 8);
        n += whole == 0 ? "0" : std::to_string(1 + rng() % 9);
        for (int i = 1; i < whole; ++i)
            n += static_cast<char>('0' + rng() % 10);
        const int places = static_cast<int>(rng() % 6);
        if (places > 0) n += '.';
        for (int i = 0; i < places; ++i)
            n += static_cast<char>('0' + rng() % 10);
        if (rng() % 7 == 0) n += " neg";
        return n;
    };
    int checked = 0;
    for (int chain = 0; chain < 3000; ++chain) {
        EngineRig rig(Sel(static_cast<int>(rng() % 5), static_cast<int>(rng() % 3), "10",
                          static_cast<int>(rng() % 2)));
        std::string keys = number();
        const int steps = 1 + static_cast<int>(rng() % 6);
        for (int i = 0; i < steps; ++i)
            keys += std::string(" ") + "+-*/"[rng() % 4] + " " + number();
        keys += " =";
        rig.Keys(keys);
        if (rig.engine.Display().Error) continue; // a division by zero or an overflow
        const std::string shown = rig.Caption();
        ASSERT_TRUE(rig.engine.RecalcHistory());
        ASSERT_EQ(rig.Caption(), shown) << keys << " at " << rig.option.Decimals << " places, rule "
                                        << rig.option.Rounding << ", mode " << rig.option.Acount;
        ++checked;
    }
    EXPECT_GT(checked, 2500);
}

// The exact step against the independent model, on random operands of every length a
// register holds, every operator and percent form, every selection, rule and mode.
TEST(DecimalSelector, TheExactStepAgreesWithTheModel) {
    std::mt19937_64 rng(2026120702);
    auto operand = [&] {
        const int digits = 1 + static_cast<int>(rng() % (rng() % 4 == 0 ? 21 : 15));
        const int point = static_cast<int>(rng() % (digits + 1));
        std::string n = rng() % 4 == 0 ? "-" : "";
        for (int i = 0; i < digits; ++i) {
            if (i == point && i > 0) n += '.';
            n += static_cast<char>('0' + rng() % 10);
        }
        if (rng() % 9 == 0) n += '.';
        return n.substr(0, 22);
    };
    for (int i = 0; i < RandomRounds(60000); ++i) {
        const int acount = static_cast<int>(rng() % 2);
        const int decimals = static_cast<int>(rng() % 5);
        const int rule = static_cast<int>(rng() % 3);
        const char ope = "+-*/"[rng() % 4];
        const char mode = rng() % 4 == 0 ? '%' : ' ';
        const std::string a = operand(), b = operand();
        TCalcNum dst{a, false}, src{b, false};
        ASSERT_TRUE(CalcSelected(dst, src, ope, mode, acount, decimals, rule, nullptr));
        ModelNum want{a, false};
        ModelSelected(want, ModelNum{b, false}, ope, mode, acount, decimals, rule);
        const std::string what = a + " " + ope + mode + " " + b + " at " +
                                 std::to_string(decimals) + " rule " + std::to_string(rule) +
                                 " mode " + std::to_string(acount);
        ASSERT_EQ(dst.Error, want.error) << what << " gives " << dst.Text;
        if (!want.error) {
            ASSERT_EQ(dst.Text, want.text) << what;
        }
    }
    for (int i = 0; i < 20000; ++i) {
        const int acount = static_cast<int>(rng() % 2);
        const int decimals = static_cast<int>(rng() % 5);
        const int rule = static_cast<int>(rng() % 3);
        const std::string amount = operand();
        const std::string rate = std::to_string(rng() % 30) + (rng() % 3 ? "" : ".5");
        TCalcNum tax;
        ASSERT_TRUE(TaxContainedSelected(TCalcNum{amount, false}, TCalcNum{rate, false}, acount,
                                         decimals, rule, tax, nullptr));
        const ModelNum want = ModelTaxContained(amount, rate, acount, decimals, rule);
        ASSERT_EQ(tax.Error, want.error) << amount << " at " << rate << "%";
        if (!want.error) {
            ASSERT_EQ(tax.Text, want.text) << amount << " at " << rate << "%";
        }
    }
}

TEST(DecimalSelector, RoundingPastFifteenDigitsOverflows) {
    bool overflow = false;
    EXPECT_EQ(RoundDecimalText("999999999999999.5", 0, kUp, true, overflow), "1000000000000000.");
    EXPECT_TRUE(overflow);
    EXPECT_EQ(RoundDecimalText("999999999999999.4", 0, kHalf, true, overflow), "999999999999999.");
    EXPECT_FALSE(overflow);
    TCalcNum n{"999999999999999.5", false};
    RoundRegister(n, 0, kHalf, 0);
    EXPECT_TRUE(n.Error);
}

TEST(DecimalSelector, TextsThatAreNoPlainNumberAreLeftAlone) {
    const struct {
        const char* text;
        int decimals;
        const char* out;
    } rows[] = {
        {"abc", 0, "abc"},      {"1.2.3", 0, "1.2.3"},  {"", 0, ""},        {"-", 0, "-"},
        {"12.34", -1, "12.34"}, {"12.34", 2, "12.34"},  {"12.", 0, "12."},  {"1e5", 0, "1e5"},
        {"12.30", 1, "12.3"},   {"  7.25", 1, "7.2"},   {"-0.05", 1, "0."}, {".75", 1, "0.7"},
    };
    for (const auto& r : rows) {
        bool overflow = false;
        EXPECT_EQ(RoundDecimalText(r.text, r.decimals, kCut, true, overflow), r.out) << r.text;
        EXPECT_FALSE(overflow) << r.text;
    }
}

TEST(DecimalSelector, CommandsCycleTheSelectionAndShowTheMark) {
    EngineRig rig;
    EXPECT_EQ(rig.engine.Display().PanelSelector, "");
    const char* marks[] = {"0 切捨", "1 切捨", "2 切捨", "3 切捨", "4 切捨", ""};
    for (const char* m : marks) {
        rig.Keys("#44");
        EXPECT_EQ(rig.engine.Display().PanelSelector, m);
        EXPECT_EQ(rig.engine.Display().SelectorMark, ""); // the status bar shows it
    }
    EXPECT_EQ(rig.option.Decimals, -1);
    rig.Keys("#44 #45");
    EXPECT_EQ(rig.engine.Display().PanelSelector, "0 四捨五入");
    rig.Keys("#45");
    EXPECT_EQ(rig.engine.Display().PanelSelector, "0 切上");
    rig.Keys("#45");
    EXPECT_EQ(rig.engine.Display().PanelSelector, "0 切捨");
    EXPECT_EQ(rig.option.Rounding, 0);
    rig.engine.SetStatusBarShown(false);
    EXPECT_EQ(rig.engine.Display().SelectorMark, "0 切捨");
    EXPECT_EQ(rig.engine.Display().PanelSelector, "0 切捨");
    rig.Keys("10 / 4 =");
    EXPECT_EQ(rig.Caption(), "2.");
}

} // namespace
