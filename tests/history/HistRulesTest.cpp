// The sizing and docking rules of the history window.
#include "HistRules.h"

#include <gtest/gtest.h>

using namespace bansho;

namespace {

struct RowCase {
    const char* name;
    int displayFont;
    int row;
    int listFont; // after fitting the design font (13) to the row
};

const RowCase kRowCases[] = {
    {"display 64 gives rows of 21 and a 20 px list font", 64, 21, 20},
    {"display 30 gives the 12 px floor", 30, 12, 11},
    {"display 100 gives the 30 px ceiling", 100, 30, 29},
    {"a character height counts by its magnitude", -64, 21, 20},
    {"display 39 gives rows of 13, which keeps the 13 px font", 39, 13, 13},
    {"display 36 gives rows of 12 from the 13 px font", 36, 12, 11},
    {"display 92 is the last below the ceiling", 92, 30, 29},
    {"display 89 gives 29", 89, 29, 28},
};

class RowHeightRule : public ::testing::TestWithParam<RowCase> {};

TEST_P(RowHeightRule, RowAndListFontFollowTheDisplayFont) {
    const RowCase& c = GetParam();
    const int row = HistRowHeight(c.displayFont);
    EXPECT_EQ(row, c.row);
    EXPECT_EQ(FitListFontHeight(13, row), c.listFont);
}

INSTANTIATE_TEST_SUITE_P(Cases, RowHeightRule, ::testing::ValuesIn(kRowCases),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(ListFontFit, FittingAgainAtTheSameRowKeepsTheFont) {
    for (int row = 12; row <= 30; ++row) {
        const int once = FitListFontHeight(13, row);
        EXPECT_EQ(FitListFontHeight(once, row), once) << row;
        EXPECT_TRUE(once == row - 1 || once == row) << row;
    }
}

TEST(ListFontFit, ABiggerFontShrinksToOneBelowTheRow) {
    EXPECT_EQ(FitListFontHeight(40, 21), 20);
    EXPECT_EQ(FitListFontHeight(21, 21), 21);
}

TEST(Docking, BelowTheMainWindowOnePixelApart) {
    const QRect r = DockedRect(QRect(455, 119, 600, 140), 256, false);
    EXPECT_EQ(r, QRect(455, 119 + 140 + 1, 600, 256));
}

TEST(Docking, AboveTheMainWindowMayLeaveTheScreen) {
    const QRect r = DockedRect(QRect(10, 100, 500, 140), 256, true);
    EXPECT_EQ(r.top(), -157);
    EXPECT_EQ(r.left(), 10);
    EXPECT_EQ(r.width(), 500);
}

TEST(SizeRule, HeightFloorAndMainWidth) {
    EXPECT_EQ(ClampHistSize(QSize(700, 200), 600), QSize(700, 214));
    EXPECT_EQ(ClampHistSize(QSize(500, 300), 600), QSize(600, 300));
    EXPECT_EQ(ClampHistSize(QSize(600, 214), 600), QSize(600, 214));
}

TEST(SidePanel, LampIsCentredOnePixelRight) {
    EXPECT_EQ(LedLeft(72, 24), 25);
    EXPECT_EQ(LedLeft(50, 24), 14);
    EXPECT_EQ(LedLeft(51, 24), 14);
}

TEST(Titles, ReceiptKinds) {
    EXPECT_EQ(ReceiptTitle(0), QStringLiteral(" ユーザーメモ"));
    EXPECT_EQ(ReceiptTitle(1), QStringLiteral(" 計算レシート"));
    EXPECT_EQ(ReceiptTitle(2), QStringLiteral(" 入力レシート"));
    EXPECT_TRUE(ReceiptTitle(3).isEmpty());
    EXPECT_EQ(InitialHistTitle(), QStringLiteral(" ヒストリー"));
}

} // namespace
