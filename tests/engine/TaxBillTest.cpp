// Tax rates as the dialog takes them, the receipt's tax rows and the bill's worked examples
// through the engine's keys.
#include "EngineRig.h"
#include "TaxBill.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace bansho;
using namespace bansho::testing;

namespace {

TEST(TaxRateText, OnlyNumbersFromZeroToHundred) {
    const struct {
        const char* text;
        std::optional<std::string> rate;
    } kRows[] = {
        {"8", "8"},          {"10", "10"},       {"  8.5 ", "8.5"},   {"0", "0"},
        {"100", "100"},      {"100.0", "100.0"}, {"10.", "10."},      {"８", "8"},
        {"１０．５", "10.5"}, {"\xE3\x80\x80" "8", "8"},
        {"abc", std::nullopt}, {"-5", std::nullopt}, {"101", std::nullopt},
        {"10%", std::nullopt}, {"", std::nullopt},   {"  ", std::nullopt},
        {".", std::nullopt},   {"1.2.3", std::nullopt}, {"100.01", std::nullopt},
        {"1e2", std::nullopt}, {"12345678901234567890123", std::nullopt},
    };
    for (const auto& r : kRows)
        EXPECT_EQ(ParseTaxRate(r.text), r.rate) << r.text;
}

TEST(TaxBillRows, MarksSayRateAndKind) {
    EXPECT_EQ(TaxItemRowText({"150", 1, false}), std::string(14, ' ') + "※外 150.");
    EXPECT_EQ(TaxItemRowText({"1100", 0, true}), std::string(14, ' ') + "内 1,100.");
    // The number's point stays in column 23, as on every row.
    EXPECT_EQ(TaxItemRowText({"5", 0, false}), std::string(18, ' ') + "外 5.");
    EXPECT_EQ(TaxItemRowText({"12.25", 1, true}), std::string(15, ' ') + "※内 12.25");
    // A corrected row's text keeps a leading tab of its own; only the alignment's blanks make
    // room for the mark.
    EXPECT_EQ(TaxItemRowText({"\t7", 0, true}), std::string(17, ' ') + "内 \t7.");
    for (int rate : {0, 1})
        for (bool withTax : {false, true}) {
            const RowMark m = TaxItemMark(rate, withTax);
            EXPECT_TRUE(IsTaxItemMark(m));
            const auto item = TaxItemOfRow(HistoryEntry("12", '+', m));
            ASSERT_TRUE(item.has_value());
            EXPECT_EQ(*item, (BillItem{"12", rate, withTax}));
        }
    EXPECT_FALSE(IsTaxItemMark(RowMark::None));
    EXPECT_FALSE(TaxItemOfRow(HistoryEntry("12", '+')).has_value());
}

// The worked examples, at 0 places 切捨 with rate 1 = 10 and rate 2 = 8.
TEST(TaxBillExamples, WorkedExamplesThroughTheKeys) {
    const struct {
        const char* keys;
        std::vector<std::string> shown; // each press of the tax-total key
    } kRows[] = {
        {"1000 TI 150 #46 620 TI",
         {"1,944.", "1,770.", "174.", "1,620.", "162.", "1,782.", "150.", "12.", "162.", "1,944."}},
        {"105 TI 105 TI 105 TI", {"346.", "315.", "31.", "315.", "31.", "346."}},
        {"1100 TE 540 #47",
         {"1,640.", "1,500.", "140.", "1,000.", "100.", "1,100.", "500.", "40.", "540."}},
    };
    for (const auto& r : kRows) {
        EngineOptions o;
        o.decimals = 0;
        o.rounding = 0;
        EngineRig rig(o);
        rig.Keys(r.keys);
        for (std::size_t i = 0; i < r.shown.size(); ++i) {
            rig.Keys("#48");
            EXPECT_EQ(rig.Caption(), r.shown[i]) << r.keys << " press " << i + 1;
        }
    }
}

TEST(TaxBillExamples, AllClearEmptiesTheBill) {
    EngineOptions o;
    o.decimals = 0;
    o.histSet = 1;
    EngineRig rig(o);
    rig.Keys("1000 TI 150 #46 AC #48");
    EXPECT_EQ(rig.Caption(), "0.");
    EXPECT_TRUE(rig.engine.BillItems().empty());
    EXPECT_EQ(rig.engine.HistoryCount(), 2u) << "the calculation receipt keeps its rows";
    rig.Keys("#48 #48 #48");
    EXPECT_EQ(rig.engine.Display().NumMark, "合計税込") << "no rate has items";
}

TEST(TaxBillExamples, ReceiptReTotalLeavesTaxItemsOut) {
    EngineOptions o;
    o.decimals = 0;
    EngineRig rig(o);
    FakeReceipt receipt(rig.engine);
    rig.Keys("1000 #46 + 500 =");
    EXPECT_EQ(rig.Caption(), "1,580.");
    ASSERT_EQ(rig.engine.HistoryCount(), 3u);
    EXPECT_TRUE(IsTaxItemMark(rig.engine.HistMark(0)));
    ASSERT_TRUE(rig.engine.RecalcHistory());
    EXPECT_EQ(rig.Caption(), "1,580.");
    // Correcting the item re-totals the bill, not the chain.
    ASSERT_TRUE(rig.engine.ReplaceHistoryEntry(0, "2000", '+'));
    EXPECT_EQ(receipt.rows[0], rig.engine.HistRow(0));
    ASSERT_TRUE(rig.engine.RecalcHistory());
    EXPECT_EQ(rig.Caption(), "1,580.");
    rig.Keys("#48");
    EXPECT_EQ(rig.Caption(), "2,160.");
}

TEST(TaxBillExamples, InputReceiptStaysOpenDuringABill) {
    EngineRig rig;
    rig.Keys("1000 #46 5 TI");
    EXPECT_EQ(rig.engine.HistoryCount(), 2u) << "a digit after an item keeps the receipt";
    rig.Keys("AC 3 + 4 = 5");
    EXPECT_EQ(rig.engine.HistoryCount(), 0u) << "without a bill a new receipt begins";
}

} // namespace
