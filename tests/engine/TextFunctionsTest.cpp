#include "TextFunctions.h"
#include "CalcNum.h"

#include <gtest/gtest.h>

using namespace bansho;

namespace {

TEST(TextFunctions, InsertThousands) {
    const struct {
        const char* in;
        const char* out;
    } rows[] = {
        {"", ""},
        {"1", "1"},
        {"123", "123"},
        {"1234", "1,234"},
        {"1234567.891", "1,234,567.891"},
        {"-1234", "-1,234"},
        {"-123", "-123"},
        {"-123456", "-123,456"},
        {"123456", "123,456"},
        {"0.123456", "0.123456"}, // decimals are never grouped
        {"1234.", "1,234."},
        {"  1234", "1,234"}, // leading blanks go
        {"123456789012345.", "123,456,789,012,345."},
        {"abcdefg", "a,bcd,efg"},  // text is grouped like digits
        {"１２３４", "１,２３４"}, // characters, not bytes
    };
    for (const auto& r : rows)
        EXPECT_EQ(InsertThousands(r.in), r.out) << r.in;
}

TEST(TextFunctions, AlignNumberPutsThePointInColumn23) {
    EXPECT_EQ(AlignNumber("＋1,234"), std::string(15, ' ') + "＋1,234.");
    EXPECT_EQ(AlignNumber("＋0"), std::string(19, ' ') + "＋0.");
    EXPECT_EQ(AlignNumber("-5"), std::string(20, ' ') + "-5.");
    EXPECT_EQ(AlignNumber("×0.25"), std::string(19, ' ') + "×0.25");
    // Too long to pad: no blanks, never a negative count.
    EXPECT_EQ(AlignNumber("＋123,456,789,012,345,678"), "＋123,456,789,012,345,678.");
}

TEST(TextFunctions, Glyphs) {
    EXPECT_EQ(OpeToGlyph('+'), "＋");
    EXPECT_EQ(OpeToGlyph('-'), "－");
    EXPECT_EQ(OpeToGlyph('*'), "×");
    EXPECT_EQ(OpeToGlyph('/'), "÷");
    EXPECT_EQ(OpeToGlyph('='), "");
    EXPECT_EQ(OpeToGlyph(' '), "");
    for (char c : {'+', '-', '*', '/'})
        EXPECT_EQ(GlyphToOpe(OpeToGlyph(c)), c);
    EXPECT_EQ(GlyphToOpe("x"), '/');
    EXPECT_EQ(GlyphToOpe(""), '/');
}

TEST(TextFunctions, TrimAndLimit) {
    EXPECT_EQ(TrimRightChar("1.2000", '0'), "1.2");
    EXPECT_EQ(TrimRightChar("000", '0'), "");
    EXPECT_EQ(TrimRightChar("5.", '0'), "5.");
    EXPECT_EQ(TrimLeftBlanks(" \t\r 5"), "5");
    EXPECT_EQ(DigitLimit("123"), 15u);
    EXPECT_EQ(DigitLimit("1.5"), 16u);
    EXPECT_EQ(DigitLimit("-1.5"), 17u);
    EXPECT_EQ(DigitLimit("-15"), 16u);
}

TEST(TextFunctions, AssignKeepsTwentyTwoBytesWithoutSplittingCharacters) {
    TCalcNum n;
    n.Error = true;
    AssignText(n, "12345678901234567890123");
    EXPECT_EQ(n.Text, "1234567890123456789012");
    EXPECT_TRUE(n.Error); // assignment of a text leaves the flag
    AssignText(n, "123456789012345678901あ");
    EXPECT_EQ(n.Text, "123456789012345678901"); // the two-byte character would not fit
    EXPECT_EQ(HistoryRowText('+', "1234"), std::string(15, ' ') + "＋1,234.");
}

} // namespace
