#include "CommandTable.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "Sjis.h"

using namespace bansho;

namespace {

// 44 and 45 (the decimal and rounding selectors), 46-48 (rate 2 and the tax total), 53 (印刷
// preview), 54 (印刷), 55-59 (pricing, item count, conversion), 60 to 63 (時間, 日付, 両端,
// 検算) and 64 (元に戻す) were added to the ranges the catalogue first left free.
bool InUndefinedRange(int n) {
    return (n >= 10 && n <= 15) || n == 43 || n == 49 ||
           (n >= 65 && n <= 87) || (n >= 101 && n <= 149) || (n >= 152 && n <= 199) ||
           (n >= 206 && n <= 253);
}

TEST(CommandTable, DefinedExactlyOutsideTheUndefinedRanges) {
    const auto& t = CommandTable();
    int defined = 0;
    for (int n = 0; n < kCommandCount; ++n) {
        const auto& r = t[static_cast<std::size_t>(n)];
        if (InUndefinedRange(n)) {
            EXPECT_TRUE(r.Code.empty() && r.Caption.empty() && r.Description.empty()) << n;
        } else {
            EXPECT_TRUE(r.Defined()) << n;
            ++defined;
        }
    }
    // The number ranges leave 80 defined commands, from "０入力" to "<< 未定義 >>".
    EXPECT_EQ(defined, 80);
}

TEST(CommandTable, CodesParseBackToTheirNumbers) {
    for (int n = 0; n < kCommandCount; ++n) {
        const auto& r = CommandOf(n);
        if (!r.Defined()) continue;
        ASSERT_EQ(r.Code.size(), 3u) << n;
        EXPECT_EQ(std::stoi(r.Code), n) << r.Code;
    }
    EXPECT_EQ(CommandOf(16).Code, "016");
    EXPECT_EQ(CommandOf(255).Code, "255");
}

TEST(CommandTable, FieldsFitTheirShiftJisByteLimits) {
    for (const auto& r : CommandTable()) {
        EXPECT_LE(sjis::Width(r.Code), kCodeMaxBytes);
        EXPECT_LE(sjis::Width(r.Caption), kCaptionMaxBytes) << r.Caption;
        EXPECT_LE(sjis::Width(r.Description), kDescriptionMaxBytes) << r.Description;
    }
}

TEST(CommandTable, SampleRecordsHoldTheirTexts) {
    struct Row {
        int No;
        const char* Caption;
        const char* Description;
    } rows[] = {
        {0, "０", "０入力"},
        {16, "．", "コンマ入力"},
        {23, "＋/－", "プラマイ反転"},
        {33, "ＭＲＶ", "表示数値とメモリ数値を入替"},
        {46, "税込み２", "税率２の税込み金額表示"},
        {47, "税抜き２", "税率２の税抜き金額表示"},
        {48, "税合計", "税計算合計 (税率別)"},
        {51, "ＮＵＭ", "NUM キーモードの一時的変更"},
        {55, "原価", "原価の記憶・計算"},
        {58, "件数", "件数の表示"},
        {59, "換算", "換算レートで換算"},
        {88, "拡大", "ウインドー１ドットズーム拡大"},
        {90, "拡大", "ウインドー高速ズーム拡大"},
        {151, "環境", "環境設定パネル"},
        {201, "クリア", "クリアメニュー"},
        {254, "終了", "バンショの終了"},
        {255, "****", "<< 未定義 >>"},
        {60, "時間", "時・分・秒の入力と時間換算"},
        {61, "日付", "日付入力（日数計算）"},
        {62, "両端", "日数計算の両端入れ切替"},
        {63, "検算", "再入力による検算"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(CommandOf(r.No).Caption, r.Caption) << r.No;
        EXPECT_EQ(CommandOf(r.No).Description, r.Description) << r.No;
    }
}

TEST(CommandTable, NumbersOutsideTheTableGiveAnEmptyRecord) {
    EXPECT_FALSE(CommandOf(-1).Defined());
    EXPECT_FALSE(CommandOf(256).Defined());
    EXPECT_FALSE(CommandOf(10).Defined());
}

TEST(CommandTable, RefillingEmptiesStaleRecords) {
    CommandTableArray t;
    t[10].Description = "left over";
    t[10].Code = "010";
    FillCommandTable(t);
    EXPECT_FALSE(t[10].Defined());
    EXPECT_TRUE(t[10].Code.empty());
    // Same captions on distinct records stay distinct records.
    EXPECT_EQ(t[92].Caption, t[96].Caption);
    EXPECT_NE(t[92].Description, t[96].Description);
}

} // namespace
