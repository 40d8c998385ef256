// Key sequences through ExecCommand and what the display shows afterwards.
#include "EngineRig.h"

#include <gtest/gtest.h>

using namespace bansho;
using namespace bansho::testing;

namespace {

struct DisplayCase {
    const char* name;
    EngineOptions options;
    const char* keys;
    const char* caption;
};

EngineOptions Trunc() {
    return {};
}
EngineOptions Round() {
    EngineOptions o;
    o.acount = 1;
    return o;
}
EngineOptions Rate(const char* rate) {
    EngineOptions o;
    o.taxRate = rate;
    return o;
}
EngineOptions NoCalcMem() {
    EngineOptions o;
    o.calcMem = false;
    return o;
}

const DisplayCase kDisplayCases[] = {
    // Start and entry
    {"start shows 0.", Trunc(), "", "0."},
    {"sixteenth digit is refused", Trunc(), "1234567890123456", "123,456,789,012,345."},
    {"point first gives 0.", Trunc(), ".", "0."},
    {"point first then 5 gives 0.5", Trunc(), ".5", "0.5"},
    {"second and third zero are refused", Trunc(), "000", "0."},
    {"000 after 0. gives 0.000", Trunc(), "0. k000", "0.000"},
    {"000 after 13 digits adds only two zeros", Trunc(), "1234567890123 k000",
     "123,456,789,012,300."},
    {"7 after a lone 0 replaces it", Trunc(), "07", "7."},
    {"second point is refused", Trunc(), "1.2.3", "1.23"},
    {"sign change on 5", Trunc(), "5 neg", "-5."},
    {"second sign change shows 5 again", Trunc(), "5 neg neg", "5."},
    {"sign change on nothing keeps 0.", Trunc(), "neg", "0."},
    {"negative thousands after the first group", Trunc(), "1234567 neg", "-1,234,567."},
    {"-123 has no separator", Trunc(), "123 neg", "-123."},
    {"shift-right on 1.5 gives 1.", Trunc(), "1.5 ->", "1."},
    {"shift-right on 1. empties the register", Trunc(), "1.5 -> ->", "0."},
    {"shift-right on 12 gives 1", Trunc(), "12 ->", "1."},
    {"shift-right of a result works on the shown value", Trunc(), "123 + 4 + ->", "12."},
    {"C keeps the pending operation", Trunc(), "5 + 3 C 4 =", "9."},
    // Arithmetic
    {"5 + 3 = shows 8.", Trunc(), "5 + 3 =", "8."},
    {"0.1 + 0.2 truncating", Trunc(), "0.1 + 0.2 =", "0.3"},
    {"0.1 + 0.2 rounding", Round(), "0.1 + 0.2 =", "0.3"},
    {"1 / 3 truncating", Trunc(), "1 / 3 =", "0.33333333333333"},
    {"1 / 3 rounding", Round(), "1 / 3 =", "0.33333333333333"},
    {"20000 / 3 truncating cuts", Trunc(), "20000 / 3 =", "6,666.66666666666"},
    {"20000 / 3 rounding rounds", Round(), "20000 / 3 =", "6,666.66666666667"},
    {"1 / 100000 truncating", Trunc(), "1 / 100000 =", "0.00001"},
    {"1 / 100000 rounding has no plain form", Round(), "1 / 100000 =", "- E -  "},
    {"0.0001 is still plain when rounding", Round(), "1 / 10000 =", "0.0001"},
    {"15 digits times 10 overflows", Trunc(), "123456789012345 * 10 =", "- E -  "},
    {"15 digits times 10 overflows rounding", Round(), "123456789012345 * 10 =", "- E -  "},
    {"15 nines plus 1 overflows", Trunc(), "999999999999999 + 1 =", "- E -  "},
    {"product of 10^18 overflows", Trunc(), "1000000000 * 1000000000 =", "- E -  "},
    {"largest 15-digit value fits", Trunc(), "999999999999998 + 1 =", "999,999,999,999,999."},
    {"5 / 0 = is an error", Trunc(), "5 / 0 =", "- E -  "},
    {"percent division by zero is an error", Trunc(), "5 / 0 %", "- E -  "},
    {"after an error 3 + 2 = shows 5", Trunc(), "5 / 0 = 3 + 2 =", "5."},
    {"error stays through the chain", Trunc(), "5 / 0 + 7 +", "- E -  "},
    {"200 * 15 % gives 30", Trunc(), "200 * 15 %", "30."},
    {"200 + 15 % gives 230", Trunc(), "200 + 15 %", "230."},
    {"200 - 15 % gives 170", Trunc(), "200 - 15 %", "170."},
    {"200 / 50 % gives 400", Trunc(), "200 / 50 %", "400."},
    {"5 + + 3 = gives 8", Trunc(), "5 + + 3 =", "8."},
    {"constant then 10 = gives 15", Trunc(), "5 + + 3 = 10 =", "15."},
    {"constant then = alone gives 20", Trunc(), "5 + + 3 = 10 = =", "20."},
    {"2 * * = shows 4", Trunc(), "2 * * =", "4."},
    {"2 * * = = shows 8", Trunc(), "2 * * = =", "8."},
    {"2 * * = = = shows 16", Trunc(), "2 * * = = =", "16."},
    {"8 / / 40 = divides by the constant", Trunc(), "8 / / 40 =", "5."},
    {"3 - - 10 = subtracts the constant", Trunc(), "3 - - 10 =", "7."},
    {"an operator ends the constant calculation", Trunc(), "2 * * 5 = + 1 =", "11."},
    {"second operator replaces the first", Trunc(), "5 + * 3 =", "15."},
    {"= without a number ends without result", Trunc(), "5 + = 3 =", "3."},
    {"chain has no precedence", Trunc(), "2 + 3 * 4 =", "20."},
    {"sum keeps the finer operand's decimals", Trunc(), "1.25 + 2.5 =", "3.75"},
    {"difference to zero shows 0.", Trunc(), "0.5 - 0.5 =", "0."},
    {"negative result", Trunc(), "3 - 5 =", "-2."},
    {"negative fraction rounding mode", Round(), "1 - 3.75 =", "-2.75"},
    {"rounding mode drops the point of whole results", Round(), "5 + 3 + =", "8."},
    {"GT recall after two sums", Trunc(), "5 + 3 = 2 * 4 = GT", "16."},
    {"GT recall then 5 appends to the whole number shown", Trunc(), "5 + 3 = 2 * 4 = GT 5",
     "165."},
    {"GT of 10 then 1000 gives 101,000", Trunc(), "10 = GT 1000", "101,000."},
    {"a recalled grand total with decimals takes the digit after them", Trunc(),
     "2.5 = GT 1", "2.51"},
    {"GT recall then 5 in rounding mode", Round(), "5 + 3 = 2 * 4 = GT 5", "165."},
    {"percent adds to the grand total", Trunc(), "200 * 15 % 10 + 5 = GT", "45."},
    {"constant results do not add to GT", Trunc(), "2 * * 3 = GT", "0."},
    {"error result does not add to GT", Trunc(), "4 + 1 = 5 / 0 = GT", "5."},
    // Tax
    {"tax included 1000 at 10", Trunc(), "1000 TI", "1,100."},
    {"tax included second press shows the tax", Trunc(), "1000 TI TI", "100."},
    {"tax included third press shows the base", Trunc(), "1000 TI TI TI", "1,000."},
    {"tax included fourth press starts again", Trunc(), "1000 TI TI TI TI", "1,100."},
    {"tax excluded 1100 at 10", Trunc(), "1100 TE", "1,000."},
    {"tax excluded second press", Trunc(), "1100 TE TE", "100."},
    {"tax excluded third press shows the base", Trunc(), "1100 TE TE TE", "1,100."},
    {"tax excluded 1000 at 8 truncating", Rate("8"), "1000 TE", "925.925925925926"},
    {"tax excluded 1000 at 8 shows the cut tax", Rate("8"), "1000 TE TE", "74.074074074074"},
    {"tax included 1000 at 8", Rate("8"), "1000 TI", "1,080."},
    {"tax included 1000 at 8 then the tax", Rate("8"), "1000 TI TI", "80."},
    {"a digit ends the tax display", Trunc(), "1000 TI 7", "7."},
    {"the shown tax amount is the next operand", Trunc(), "1000 TI + 1 =", "1,101."},
    {"switching at the base computes afresh", Trunc(), "1000 TI TI TI TE", "909.090909090909"},
    // Memory
    {"M+ 5 M+ 3 MR shows 8", Trunc(), "5 M+ 3 M+ MR", "8."},
    {"M- to zero shows 0.", Trunc(), "5 M+ 3 M+ 8 M- MR", "0."},
    {"AC keeps the memory", Trunc(), "5 M+ AC MR", "5."},
    {"CalcMem completes the calculation", Trunc(), "5 + 3 M+", "8."},
    {"CalcMem puts the result in memory", Trunc(), "5 + 3 M+ AC MR", "8."},
    {"CalcMem: next number starts afresh", Trunc(), "5 + 3 M+ 2 =", "2."},
    {"without CalcMem the typed number goes in", NoCalcMem(), "5 + 3 M+ MR", "3."},
    {"without CalcMem the chain continues", NoCalcMem(), "5 + 3 M+ =", "8."},
    {"MRV with empty memory shows 0.", Trunc(), "7 MRV", "0."},
    {"MRV moves the shown value into memory", Trunc(), "7 MRV MR", "7."},
    {"MRV exchanges", Trunc(), "4 M+ 9 MRV", "4."},
    {"MR then 5 appends to the whole number shown", Trunc(), "8 M+ MR 5", "85."},
    {"MR after M+ of 10 then 1 gives 101", Trunc(), "10 M+ MR 1", "101."},
    {"MR then a point and 5 gives 10.5", Trunc(), "10 M+ MR . 5", "10.5"},
    {"MRV then 1 appends to the whole number shown", Trunc(), "10 M+ 5 MRV 1", "101."},
    {"a recalled negative result takes the digit", Trunc(), "10 neg M+ MR 1", "-101."},
    {"MR then 5 rounding", Round(), "8 M+ MR 5", "85."},
    {"memory overflow shows the error on MR", Trunc(), "999999999999999 M+ M+ MR", "- E -  "},
    {"MC after an overflow clears it", Trunc(), "999999999999999 M+ M+ MC MR", "0."},
    {"a failed memory does not pass for a number", Round(),
     "0.0001 M+ 0.00005 M- 1 + MR =", "- E -  "},
    {"M+ after a failed constant result takes the last number shown", Trunc(), "0 / / 5 = = M+ MR",
     "5."},
    // Clipboard
    {"paste shows the text", Trunc(), "paste:1234.5", "1,234.5"},
    {"pasted number calculates", Trunc(), "paste:1234.5 + 0.5 =", "1,235."},
    {"pasted text is not validated", Trunc(), "paste:abcdef", "abc,def."},
    {"cut clears the entry", Trunc(), "5 + 3 cut", "0."},
};

void PrintTo(const DisplayCase& c, std::ostream* os) {
    *os << c.name << ": " << c.keys;
}

class DisplayTable : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayTable, ShowsCaption) {
    const DisplayCase& c = GetParam();
    EngineRig rig(c.options);
    rig.Keys(c.keys);
    EXPECT_EQ(rig.Caption(), c.caption) << "keys: " << c.keys;
    EXPECT_TRUE(rig.host.errors.empty());
}

std::string CaseName(const ::testing::TestParamInfo<DisplayCase>& info) {
    std::string n;
    for (const char* p = info.param.name; *p; ++p)
        n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return n + "_" + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(Engine, DisplayTable, ::testing::ValuesIn(kDisplayCases), CaseName);

TEST(EngineEntry, RefusedKeysBeepAndChangeNothing) {
    const struct {
        const char* keys;
        int beeps;
        const char* text;
    } rows[] = {
        {"1234567890123456", 1, "123456789012345"},
        {"000", 2, "0"},
        {"k00", 1, ""},
        {"k000", 1, ""},
        {"1..", 1, "1."},
        {"->", 1, ""},
        {"5 ->", 1, ""},
    };
    for (const auto& r : rows) {
        EngineRig rig;
        rig.Keys(r.keys);
        EXPECT_EQ(rig.host.beeps, r.beeps) << r.keys;
        EXPECT_EQ(rig.engine.InNum.Text, r.text) << r.keys;
    }
}

TEST(EngineEntry, SignChangeKeepsABlankAndItsLimit) {
    EngineRig rig;
    rig.Keys("5 neg");
    EXPECT_EQ(rig.engine.InNum.Text, "-5");
    rig.Keys("neg");
    EXPECT_EQ(rig.engine.InNum.Text, " 5");
    EXPECT_EQ(rig.engine.DispNum.Text, "5");
    // The blank counts: 13 more digits fill the 15 characters and a 14th is refused.
    rig.Keys("1234567890123");
    EXPECT_EQ(rig.engine.InNum.Text, " 51234567890123");
    EXPECT_EQ(rig.host.beeps, 0);
    rig.Keys("4");
    EXPECT_EQ(rig.host.beeps, 1);
    EXPECT_EQ(rig.engine.InNum.Text, " 51234567890123");
}

TEST(EngineEntry, StyledFontAddsOneBlank) {
    EngineRig rig;
    rig.engine.SetStyledFont(true);
    rig.Keys("1234");
    EXPECT_EQ(rig.Caption(), "1,234. ");
    rig.Keys("/ 0 =");
    EXPECT_EQ(rig.Caption(), "- E -  ");
}

TEST(EngineEntry, ErrorBeepsEveryTimeItIsShown) {
    EngineRig rig;
    rig.Keys("5 / 0 =");
    EXPECT_EQ(rig.host.beeps, 1);
    EXPECT_TRUE(rig.engine.Display().Error);
    EXPECT_EQ(rig.engine.DispNum.Text, "0"); // the last good value stays
    rig.Keys("+ 3 +");
    EXPECT_EQ(rig.host.beeps, 2);
}

TEST(EngineClipboard, CopyTexts) {
    const struct {
        const char* keys;
        const char* clip;
    } rows[] = {
        {"AC copy", "0"},
        {"5 + 3 + copy", "8."},
        {"5 + 3 = copy", "8"},
        {"1234567 copy", "1234567"},
        {"5 neg copy", "-5"},
        {"5 + 3 cut", "3"},
        // The overflow shows the error form; its leftover digits are no number to copy.
        {"999999999999999 * * = = copy", "999999999999999"},
    };
    for (const auto& r : rows) {
        EngineRig rig;
        rig.Keys(r.keys);
        EXPECT_EQ(rig.host.clipboard, r.clip) << r.keys;
    }
}

TEST(EngineClipboard, PasteKeepsOnlyTwentyTwoCharacters) {
    EngineRig rig;
    rig.Keys("paste:12345678901234567890123456");
    EXPECT_EQ(rig.engine.InNum.Text, "1234567890123456789012");
    // Sixteen full-width digits are too many to read as a number, so the text is kept as it
    // came: two bytes each.
    rig.host.clipboard = "１２３４５６７８９０１２３４５６";
    rig.Keys("paste");
    EXPECT_EQ(rig.engine.InNum.Text, "１２３４５６７８９０１");
}

TEST(EngineClipboard, PastedLineEndsAndTrailingBlanksAreDropped) {
    const struct {
        const char* name;
        std::string clip;
        std::string text;
    } rows[] = {
        {"spreadsheet cell", "1234\r\n", "1234"},
        {"terminal line", "56.5\n", "56.5"},
        {"trailing tab and blanks", "-7\t  ", "-7"},
        {"inner text untouched", "1 2\n", "1 2"},
    };
    for (const auto& r : rows) {
        EngineRig rig;
        rig.host.clipboard = r.clip;
        rig.Keys("paste");
        EXPECT_EQ(rig.engine.InNum.Text, r.text) << r.name;
    }
    EngineRig rig;
    rig.host.clipboard = "1234\r\n";
    rig.Keys("paste + 1 =");
    EXPECT_EQ(rig.engine.Display().Caption, "1,235.");
}

TEST(EngineMarks, PlacedOnPanelsOrLabels) {
    EngineRig rig;
    rig.Keys("5 M+ 5 + 3 = 2 * *");
    const DisplayModel& d = rig.engine.Display();
    EXPECT_EQ(d.PanelGT, "GT");
    EXPECT_EQ(d.PanelM, "M");
    EXPECT_EQ(d.PanelK, "K");
    EXPECT_EQ(d.PanelNUM, "");
    EXPECT_EQ(d.TotMark, "");
    EXPECT_EQ(d.MemMark, "");
    EXPECT_EQ(d.KctMark, "");
    EXPECT_EQ(d.PanelCount, " H 1");
    rig.engine.SetStatusBarShown(false);
    EXPECT_EQ(d.TotMark, "GT");
    EXPECT_EQ(d.MemMark, "M");
    EXPECT_EQ(d.KctMark, "K");
    rig.status.UseNumKey = true;
    rig.engine.RefreshNumMark();
    EXPECT_EQ(d.NumMark, "NUM");
    EXPECT_EQ(d.PanelNUM, "NUM");
    rig.Keys("AC");
    EXPECT_EQ(d.TotMark, "");
    EXPECT_EQ(d.KctMark, "");
    EXPECT_EQ(d.MemMark, "M");
    EXPECT_EQ(d.PanelCount, "");
}

TEST(EngineMarks, ZeroMemoryKeepsTheMark) {
    EngineRig rig;
    rig.Keys("5 M+ 3 M+ 8 M-");
    EXPECT_EQ(rig.engine.Display().PanelM, "M");
    rig.Keys("MC");
    EXPECT_EQ(rig.engine.Display().PanelM, "");
}

TEST(EngineMarks, OperatorGlyph) {
    EngineRig rig;
    EXPECT_EQ(rig.engine.Display().OpeMark, "");
    const struct {
        const char* key;
        const char* glyph;
    } rows[] = {{"5 +", "＋"}, {"-", "－"}, {"*", "×"}, {"/", "÷"}, {"3 =", ""}};
    for (const auto& r : rows) {
        rig.Keys(r.key);
        EXPECT_EQ(rig.engine.Display().OpeMark, r.glyph) << r.key;
    }
}

TEST(EngineMarks, KShowsAtTheSecondOperator) {
    EngineRig rig;
    rig.Keys("5 +");
    EXPECT_EQ(rig.engine.Display().PanelK, "");
    rig.Keys("+");
    EXPECT_EQ(rig.engine.Display().PanelK, "K");
    EXPECT_EQ(rig.engine.KNum.Text, "5");
    rig.Keys("-");
    EXPECT_EQ(rig.engine.Display().PanelK, "");
}

TEST(EngineTax, LabelsFollowTheCycle) {
    const struct {
        const char* keys;
        const char* caption;
        const char* label;
    } rows[] = {
        {"1000 TI", "1,100.", "税込"},       {"1000 TI TI", "100.", "税額"},
        {"1000 TI TI TI", "1,000.", ""},     {"1100 TE", "1,000.", "税抜"},
        {"1100 TE TE", "100.", "税額"},      {"1100 TE TE TE", "1,100.", ""},
        {"1000 TI TI TE", "1,000.", "税抜"}, // relabel: same amounts, other cycle
    };
    for (const auto& r : rows) {
        EngineRig rig;
        rig.Keys(r.keys);
        EXPECT_EQ(rig.Caption(), r.caption) << r.keys;
        EXPECT_EQ(rig.engine.Display().NumMark, r.label) << r.keys;
    }
}

TEST(EngineTax, NextDisplayRefreshPutsNumBack) {
    EngineRig rig;
    rig.status.UseNumKey = true;
    rig.engine.SetStatusBarShown(false);
    rig.Keys("1000 TI");
    EXPECT_EQ(rig.engine.Display().NumMark, "税込");
    rig.Keys("+");
    EXPECT_EQ(rig.engine.Display().NumMark, "NUM");
}

TEST(EngineDispatch, UnassignedNumbersOnlyGiveFocus) {
    EngineRig rig;
    rig.Keys("12 + 3");
    const DisplayModel before = rig.engine.Display();
    const TCalcNum in = rig.engine.InNum, res = rig.engine.ResNum;
    const int beeps = rig.host.beeps;
    for (unsigned n : {10u, 15u, 43u, 49u, 87u, 101u, 149u, 152u, 199u, 206u, 253u, 255u, 256u,
                       1000u, 4294967295u}) {
        const int focus = rig.host.focusCalls;
        rig.engine.ExecCommand(n);
        EXPECT_EQ(rig.host.focusCalls, focus + 1) << n;
    }
    EXPECT_EQ(rig.engine.Display().Caption, before.Caption);
    EXPECT_EQ(rig.engine.InNum, in);
    EXPECT_EQ(rig.engine.ResNum, res);
    EXPECT_EQ(rig.host.beeps, beeps);
    EXPECT_TRUE(rig.host.windowCommands.empty());
}

TEST(EngineDispatch, WindowCommandsGoUpward) {
    EngineRig rig;
    const std::vector<unsigned> window = {28,  50,  51,  52,  53,  54,  88,  89,  90,  91,  92,
                                          93,  94,  95,  96,  97,  98,  99,  100, 150,
                                          151, 200, 201, 202, 203, 204, 205, 254};
    for (unsigned n : window)
        rig.engine.ExecCommand(n);
    EXPECT_EQ(rig.host.windowCommands, window);
    EXPECT_EQ(rig.host.focusCalls, static_cast<int>(window.size()));
}

TEST(EngineDispatch, NumToggleRefreshesTheMark) {
    EngineRig rig;
    rig.status.UseNumKey = true; // what the window layer does for command 51
    rig.engine.ExecCommand(51);
    EXPECT_EQ(rig.engine.Display().PanelNUM, "NUM");
}

// The host hears of a changed display once per command, after the command has run, and not
// at all when the command left everything shown as it was.
TEST(EngineDispatch, OneDisplayNotificationPerCommand) {
    const struct {
        const char* name;
        const char* before;
        const char* keys;
        int notifications;
    } cases[] = {
        {"digit", "", "5", 1},
        {"operator", "5", "+", 1},
        {"equals", "5 + 3", "=", 1},
        {"memory plus", "5", "M+", 1},
        {"memory plus after equals", "5 + 3 =", "M+", 1},
        {"all clear", "5 + 3", "AC", 1},
        {"paste", "", "paste:42", 1},
        {"tax included", "100", "TI", 1},
        {"window command that refreshes the marks", "", "#52", 0},
        {"command without action", "5", "#255", 0},
        {"unknown command number", "5", "#1000", 0},
        {"copy", "5", "copy", 0},
        {"zero on a zero display", "", "0", 0},
        {"all clear on a clear display", "", "AC", 0},
    };
    for (const auto& c : cases) {
        EngineRig rig;
        rig.Keys(c.before);
        const int before = rig.host.displayChanges;
        rig.Keys(c.keys);
        EXPECT_EQ(rig.host.displayChanges - before, c.notifications) << c.name;
    }
}

TEST(EngineDispatch, OneDisplayNotificationPerHistoryWindowOperation) {
    EngineRig rig;
    rig.Keys("5 + 3 + 2");
    int before = rig.host.displayChanges;
    ASSERT_TRUE(rig.engine.EnterCorrectionMode());
    EXPECT_EQ(rig.host.displayChanges - before, 1) << "correction mode";
    before = rig.host.displayChanges;
    rig.engine.RecallHistoryEntry(1);
    EXPECT_EQ(rig.host.displayChanges - before, 1) << "recall";
    before = rig.host.displayChanges;
    ASSERT_TRUE(rig.engine.RemoveHistoryEntry(0));
    ASSERT_TRUE(rig.engine.RecalcHistory());
    EXPECT_EQ(rig.host.displayChanges - before, 2) << "delete, then re-total";
    before = rig.host.displayChanges;
    rig.engine.SetStatusBarShown(false);
    EXPECT_EQ(rig.host.displayChanges - before, 1) << "marks beside the number";
}

TEST(EngineAllClear, StartState) {
    EngineRig rig;
    EXPECT_EQ(rig.status.PendOpe, '=');
    EXPECT_EQ(rig.status.EditTarget, 'R');
    EXPECT_FALSE(rig.status.ConstMode);
    EXPECT_EQ(rig.engine.TaxNum.Text, "10");
    EXPECT_EQ(rig.engine.DispNum.Text, "");
    EXPECT_EQ(rig.Caption(), "0.");
    EXPECT_EQ(rig.engine.Display().OpeMark, "");
}

TEST(EngineAllClear, ResetsRegistersButNotMemory) {
    EngineRig rig;
    rig.Keys("5 M+ 7 + 3 = 2 * * 1000 TI AC");
    EXPECT_TRUE(rig.engine.InNum.Text.empty());
    EXPECT_TRUE(rig.engine.ResNum.Text.empty());
    EXPECT_TRUE(rig.engine.GTNum.Text.empty());
    EXPECT_TRUE(rig.engine.KNum.Text.empty());
    EXPECT_TRUE(rig.engine.TaxInNum.Text.empty());
    EXPECT_EQ(rig.engine.TaxStep, 0);
    EXPECT_EQ(rig.engine.TaxMode, 0);
    EXPECT_EQ(rig.engine.MemNum.Text, "5.");
    EXPECT_EQ(rig.status.LastKey, '0'); // AC leaves the last key alone
}

TEST(EngineAllClear, ChangedTaxRatesApplyFromTheNextTaxKey) {
    EngineRig rig;
    rig.Keys("1000 TI");
    EXPECT_EQ(rig.Caption(), "1,100.");
    rig.option.TaxRate = "20";
    rig.option.TaxRate2 = "5";
    rig.Keys("TI"); // the running display steps through the amounts it has
    EXPECT_EQ(rig.Caption(), "100.");
    rig.Keys("1000 TI");
    EXPECT_EQ(rig.Caption(), "1,200.");
    rig.Keys("1000 #46");
    EXPECT_EQ(rig.Caption(), "1,050.");
    EXPECT_EQ(rig.engine.Display().NumMark, "税込5%");
    rig.Keys("AC");
    EXPECT_EQ(rig.engine.TaxNum.Text, "20");
    EXPECT_EQ(rig.engine.TaxNum2.Text, "5");
}

TEST(EngineAllClear, TaxRateIsCutToTwentyTwoCharacters) {
    EngineOptions o;
    o.taxRate = "123456789012345678901234567";
    EngineRig rig(o);
    EXPECT_EQ(rig.engine.TaxNum.Text, "1234567890123456789012");
}

TEST(EngineNotANumber, PastedTextStopsTheCommand) {
    EngineRig rig;
    rig.Keys("paste:abc + 1");
    EXPECT_EQ(rig.Caption(), "1.");
    const int focus = rig.host.focusCalls;
    rig.Keys("=");
    ASSERT_EQ(rig.host.errors.size(), 1u);
    EXPECT_EQ(rig.host.errors[0], "'abc' は浮動小数点数ではありません。");
    EXPECT_EQ(rig.host.focusCalls, focus); // the focus is not moved
    EXPECT_EQ(rig.Caption(), "1.");        // nothing is shown
    EXPECT_EQ(rig.status.PendOpe, '+');    // the operator stays pending
    EXPECT_EQ(rig.engine.InNum.Text, "1"); // normalised, not cleared
    EXPECT_EQ(rig.status.LastKey, '1');
    EXPECT_EQ(rig.engine.HistoryCount(), 2u); // the row recorded before the stop stays
}

TEST(EngineNotANumber, LoneMinusFromShiftRight) {
    EngineRig rig;
    rig.Keys("5 neg -> + 3 =");
    ASSERT_EQ(rig.host.errors.size(), 1u);
    EXPECT_EQ(rig.host.errors[0], "'-' は浮動小数点数ではありません。");
}

TEST(EngineEntry, SignChangeOfAPastedNumberAfterAControlCharacter) {
    EngineRig rig;
    rig.host.clipboard = "\t1100000";
    rig.Keys("paste 5 neg"); // the typed 5 makes the entry the register that neg changes
    EXPECT_EQ(rig.Caption(), "-11,000,005.");
    rig.Keys("+ 5 =");
    EXPECT_TRUE(rig.host.errors.empty());
    EXPECT_EQ(rig.Caption(), "-11,000,000.");
}

TEST(EngineNotANumber, PastedTextIntoMemory) {
    EngineRig rig;
    rig.Keys("paste:1,00 M+"); // not a thousands separator, so the paste keeps the text
    ASSERT_EQ(rig.host.errors.size(), 1u);
    EXPECT_EQ(rig.host.errors[0], "'1,00' は浮動小数点数ではありません。");
    // The memory operand was normalised before the conversion failed; the mark waits for
    // the next refresh.
    EXPECT_EQ(rig.engine.MemNum.Text, "0");
    EXPECT_EQ(rig.engine.Display().PanelM, "");
}

} // namespace
