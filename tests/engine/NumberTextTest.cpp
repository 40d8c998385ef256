#include "NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <random>
#include <string>

using namespace bansho;

namespace {

TEST(ParseNumber, Grammar) {
    const struct {
        const char* text;
        bool ok;
        long double value;
    } rows[] = {
        {"0", true, 0.0L},        {"5", true, 5.0L},      {"-5", true, -5.0L},
        {"  12", true, 12.0L},    {" -12", true, -12.0L}, {"1.5", true, 1.5L},
        {".5", true, 0.5L},       {"5.", true, 5.0L},     {"-0.25", true, -0.25L},
        {"000123", true, 123.0L}, {"\t7", true, 7.0L},    {"", false, 0},
        {"-", false, 0},          {".", false, 0},        {"-.", false, 0},
        {"1.2.3", false, 0},      {"1,000", false, 0},    {"1,5", false, 0},
        {"+5", false, 0},         {"1e5", false, 0},      {"5 ", false, 0},
        {"--5", false, 0},        {"5-", false, 0},       {"abc", false, 0},
        {"１", false, 0},         {"0x10", false, 0},     {"inf", false, 0},
        {"nan", false, 0},
    };
    for (const auto& r : rows) {
        long double v = -99.0L;
        EXPECT_EQ(ParseNumber(r.text, v), r.ok) << r.text;
        if (r.ok) {
            EXPECT_EQ(v, r.value) << r.text;
        }
    }
}

// The parser agrees bit for bit with the C library's correctly rounded conversion, read in
// the "C" locale, on random texts of a register's length.
TEST(ParseNumber, NearestExtendedValue) {
    locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    ASSERT_NE(c, static_cast<locale_t>(0));
    std::mt19937_64 rng(7);
    for (int i = 0; i < 200000; ++i) {
        const int intDigits = static_cast<int>(rng() % 22);
        const int fracDigits = static_cast<int>(rng() % (22 - intDigits));
        std::string t = (rng() % 4 == 0) ? "-" : "";
        for (int k = 0; k < intDigits; ++k)
            t += static_cast<char>('0' + rng() % 10);
        if (fracDigits > 0 || intDigits == 0) {
            t += '.';
            for (int k = 0; k < std::max(fracDigits, 1); ++k)
                t += static_cast<char>('0' + rng() % 10);
        }
        if (t.size() > 22) t.resize(22);
        long double mine = 0, ref = 0;
        ASSERT_TRUE(ParseNumber(t, mine)) << t;
        ref = strtold_l(t.c_str(), nullptr, c);
        ASSERT_EQ(mine, ref) << t;
    }
    // Halfway cases between neighbouring extended values.
    for (const char* t :
         {"18446744073709551617", "18446744073709551619", "9223372036854775807.5",
          "0.000000000000000000001", "1234567890123456789012", "36893488147419103231"}) {
        long double mine = 0;
        ASSERT_TRUE(ParseNumber(t, mine));
        EXPECT_EQ(mine, strtold_l(t, nullptr, c)) << t;
    }
    freelocale(c);
}

TEST(FormatResult, TruncatingMode) {
    const struct {
        long double r;
        int decimals;
        const char* text;
        bool overflow;
    } rows[] = {
        {8.0L, 1, "8.", false},
        {0.0L, 3, "0.", false},
        {-0.0L, 3, "0.", false},
        {0.1L + 0.2L, 1, "0.3", false},
        {1.0L / 3.0L, 15, "0.333333333333333", false},
        {2.0L / 3.0L, 15, "0.666666666666667", false},
        {20000.0L / 3.0L, 15, "6666.66666666666667", false}, // 18 digits, cut later
        {-2.5L, 0, "-3.", false},                            // half away from zero
        {2.5L, 0, "3.", false},
        {-0.0004L, 3, "0.", false}, // no sign on a zero result
        {999999999999999.0L, 1, "999999999999999.", false},
        {1e15L, 1, "1000000000000000.", true},
        {1e18L, 15, "1000000000000000000.", true},
        {123456789012345.0625L, 4, "123456789012345.063", false}, // a true tie at 18 digits
    };
    for (const auto& r : rows) {
        bool overflow = false;
        EXPECT_EQ(FormatResult(r.r, 0, r.decimals, overflow), r.text) << r.text;
        EXPECT_EQ(overflow, r.overflow) << r.text;
    }
}

TEST(FormatResult, RoundingMode) {
    const struct {
        long double r;
        const char* text;
        bool overflow;
    } rows[] = {
        {8.0L, "8", false},
        {0.0L, "0", false},
        {-2.75L, "-2.75", false},
        {0.5L, "0.5", false},
        {1.0L / 3.0L, "0.333333333333333", false},
        {20000.0L / 3.0L, "6666.66666666667", false},
        {0.0001L, "0.0001", false},
        {0.00001L, "0.00001", true},
        {999999999999999.4L, "999999999999999", false},
        {999999999999999.5L, "1000000000000000", true}, // rounds up to 10^15
        {1e20L, "100000000000000000000", true},
    };
    for (const auto& r : rows) {
        bool overflow = false;
        EXPECT_EQ(FormatResult(r.r, 1, 0, overflow), r.text) << r.text;
        EXPECT_EQ(overflow, r.overflow) << r.text;
    }
}

TEST(CalcNumbers, Results) {
    const struct {
        const char* name;
        const char* a;
        const char* b;
        char ope;
        char mode;
        int acount;
        const char* text;
        bool error;
    } rows[] = {
        {"sum keeps the point", "5", "3", '+', ' ', 0, "8.", false},
        {"sum rounding", "5", "3", '+', ' ', 1, "8", false},
        {"trailing point normalised", "8.", "2.", '*', ' ', 0, "16.", false},
        {"empty reads as zero", "", "7", '+', ' ', 0, "7.", false},
        {"quotient cut to the display", "1", "3", '/', ' ', 0, "0.33333333333333", false},
        {"tax base / 108", "1000", "108", '/', ' ', 0, "9.25925925925925", false},
        {"tax amount", "9.25925925925925", "8", '*', ' ', 0, "74.074074074074", false},
        {"tax excluded", "1000", "74.074074074074", '-', ' ', 0, "925.925925925926", false},
        {"percent plus", "200", "15", '+', '%', 0, "230.", false},
        {"percent minus", "200", "15", '-', '%', 0, "170.", false},
        {"percent times", "200", "15", '*', '%', 0, "30.", false},
        {"percent divide", "200", "50", '/', '%', 0, "400.", false},
        {"divide by zero", "5", "0", '/', ' ', 0, "5", true},
        {"percent divide by zero", "5", "0", '/', '%', 0, "5", true},
        {"overflow keeps its first characters", "999999999999999", "10", '*', ' ', 0,
         "9999999999999990", true},
        {"negative sum", "-1.5", "-2.25", '+', ' ', 0, "-3.75", false},
        {"blank-led operand", " 5", "2", '-', ' ', 0, "3.", false},
        {"unknown acount leaves the normalised text", "8.", "2", '+', ' ', 2, "8", false},
    };
    for (const auto& r : rows) {
        TCalcNum a{r.a, false}, b{r.b, false};
        std::string bad;
        ASSERT_TRUE(CalcNumbers(a, b, r.ope, r.mode, r.acount, &bad)) << r.name;
        EXPECT_EQ(a.Text, r.text) << r.name;
        EXPECT_EQ(a.Error, r.error) << r.name;
    }
}

TEST(CalcNumbers, ErroredDestinationIsNotComputed) {
    TCalcNum a{"12.", true}, b{"3", false};
    ASSERT_TRUE(CalcNumbers(a, b, '+', ' ', 0, nullptr));
    EXPECT_EQ(a.Text, "12");
    EXPECT_TRUE(a.Error);
}

TEST(CalcNumbers, ErroredOperandGivesAnErroredResult) {
    TCalcNum a{"12", false}, b{"1999999999999998", true};
    ASSERT_TRUE(CalcNumbers(a, b, '+', ' ', 0, nullptr));
    EXPECT_EQ(a.Text, "12");
    EXPECT_TRUE(a.Error);
}

TEST(CalcNumbers, TextThatIsNotANumber) {
    TCalcNum a{"5.", false}, b{"1.2.3.", false};
    std::string bad;
    EXPECT_FALSE(CalcNumbers(a, b, '+', ' ', 0, &bad));
    EXPECT_EQ(bad, "1.2.3"); // the text after normalising
    EXPECT_EQ(a.Text, "5");  // normalising stays
    EXPECT_FALSE(a.Error);
    EXPECT_EQ(NotFloatMessage(bad), "'1.2.3' は浮動小数点数ではありません。");
}

// The fast fold of a receipt must give exactly what CalcNumbers gives on the texts, step by
// step, or decline the step. Random chains of every kind of row, in both modes.
TEST(ChainTotal, GivesTheTextsOfCalcNumbers) {
    std::mt19937_64 rng(20261207);
    auto digits = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i)
            s += static_cast<char>('0' + rng() % 10);
        return s;
    };
    auto row = [&]() -> std::string {
        switch (rng() % 16) {
        case 0:
            return "";
        case 1:
            return " " + digits(1 + static_cast<int>(rng() % 5));
        case 2:
            return "-" + digits(1 + static_cast<int>(rng() % 8));
        case 3:
            return digits(1 + static_cast<int>(rng() % 22));
        case 4:
            return "0." + std::string(rng() % 20, '0') + digits(1 + static_cast<int>(rng() % 6));
        case 5:
            return digits(1 + static_cast<int>(rng() % 3)) + ".";
        case 6:
            return "999999999999999";
        case 7:
            return "0.0001";
        case 8:
            return "0";
        case 9:
            return "1.2.3";
        case 10:
            return digits(1 + static_cast<int>(rng() % 16)) + "." +
                   digits(static_cast<int>(rng() % 16));
        default:
            return digits(1 + static_cast<int>(rng() % 7)) + "." +
                   digits(static_cast<int>(rng() % 4));
        }
    };
    long taken = 0;
    for (int chain = 0; chain < 4000; ++chain) {
        const int acount = static_cast<int>(rng() % 2);
        RunningTotal fast(acount);
        TCalcNum slow;
        const int rows = 1 + static_cast<int>(rng() % 30);
        for (int i = 0; i < rows; ++i) {
            const std::string text = row();
            const char ope = "+-*/"[rng() % 4];
            const bool ok = fast.Step(text, ope);
            TCalcNum src{text.substr(0, 22), false};
            std::string bad;
            const bool read = CalcNumbers(slow, src, ope, ' ', acount, &bad);
            if (!ok) break; // declined: the caller goes on with CalcNumbers
            ++taken;
            ASSERT_TRUE(read) << text;
            ASSERT_FALSE(slow.Error) << text;
            ASSERT_EQ(fast.Total(), slow) << "chain " << chain << ", row " << i << " '" << text
                                          << "' " << ope << " (mode " << acount << ")";
        }
    }
    EXPECT_GT(taken, 10000); // most steps are taken, or the test proves little
}

TEST(ChainTotal, DeclinesWhatOnlyCalcNumbersCanShow) {
    RunningTotal t(0);
    EXPECT_TRUE(t.Step("5", '+'));
    EXPECT_FALSE(t.Step("0", '/'));               // division by zero
    EXPECT_FALSE(t.Step("abc", '+'));             // not a number: the message
    EXPECT_FALSE(t.Step("\xef\xbc\x95", '+'));    // a full-width digit
    EXPECT_FALSE(t.Step("999999999999999", '*')); // more than 15 integer digits
    EXPECT_TRUE(t.Step("99999999999999", '*'));
    EXPECT_EQ(t.Total().Text, "499999999999995."); // declined steps changed nothing
    EXPECT_FALSE(RunningTotal(2).Step("1", '+'));  // a mode that does not exist
    EXPECT_EQ(RunningTotal(1).Total().Text, "");   // the empty register
}

} // namespace
