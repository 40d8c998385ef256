#include "NumberText.h"

#include "DecimalRounding.h"
#include "ReceiptTotal.h"
#include "SelectedResult.h"
#include "TextFunctions.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <deque>
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

// A receipt totalled one row at a time, each row through the step the chain takes under the
// decimal selection; a first row that adds is the number the chain started with, as typed.
bool TotalStepByStep(const std::deque<HistoryEntry>& rows, int acount, int decimals, int rule,
                     TCalcNum& total, std::string* badText) {
    total = TCalcNum{};
    for (const HistoryEntry& e : rows) {
        TCalcNum n{CutText(e.Number(), kCalcNumTextMax), false};
        if (&e == &rows.front() && decimals >= 0 && e.Ope() == '+') {
            if (!CalcNumbers(total, n, '+', ' ', acount, badText)) return false;
        } else if (!CalcSelected(total, n, e.Ope(), ' ', acount, decimals, rule, badText)) {
            return false;
        }
    }
    return true;
}

// The fold of a whole receipt gives what the step-by-step total gives, whatever the rows:
// amounts at the 15-digit edge and past it, many decimals, both signs, sums that cancel down
// to the last digits, halves in the digits beyond the eighteenth, overflows and divisions by
// zero half-way, texts that are not numbers, every operator a row can carry, both modes and
// every decimal selection.
TEST(FoldReceipt, GivesTheTotalOfTheStepByStepFold) {
    std::mt19937_64 rng(20260511);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto digits = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i)
            s += static_cast<char>('0' + pick(10));
        return s;
    };
    auto withPoint = [&](std::string d) {
        d.insert(static_cast<std::size_t>(pick(static_cast<int>(d.size()) + 1)), ".");
        return d;
    };
    auto amount = [&]() -> std::string {
        switch (pick(15)) {
        case 0:
            return "999999999999999";
        case 1:
            return withPoint(digits(15)); // fifteen digits, the point anywhere
        case 2:
            return "0." + std::string(static_cast<std::size_t>(pick(14)), '0') +
                   digits(1 + pick(15));
        case 3: // nines before and after the point
            return std::string(static_cast<std::size_t>(1 + pick(15)), '9') + "." +
                   std::string(static_cast<std::size_t>(pick(8)), '9');
        case 4: // a half, or just below one, far down the digits
            return digits(1 + pick(3)) + "." +
                   std::string(static_cast<std::size_t>(pick(13)), '0') + (pick(2) ? "5" : "4999");
        case 5:
            return withPoint(digits(23 + pick(8))); // longer than a register holds
        case 6: {
            static const char* const kNotNumbers[] = {"1.2.3", "abc", "-",   ".",           "1-2",
                                                      "+5",    "1e5", "--1", "\xef\xbc\x95"};
            return kNotNumbers[pick(static_cast<int>(std::size(kNotNumbers)))];
        }
        case 7: {
            static const char* const kOdd[] = {"", "0", "-0", ".5", "5.", " 12", "-.5", "00012.50"};
            return kOdd[pick(static_cast<int>(std::size(kOdd)))];
        }
        case 8:
            return "1" + std::string(static_cast<std::size_t>(pick(16)), '0');
        case 9:
            return withPoint(digits(16 + pick(4))); // more digits than a result keeps
        case 10: { // a fraction that ends on a half after nines or a 4 and nines
            static const char* const kTails[] = {"5",      "95",   "995",   "9995",   "99995",
                                                 "999995", "4995", "49995", "499995", "4999995"};
            return std::string(pick(2) ? "0." : ".") +
                   std::string(static_cast<std::size_t>(pick(4)), pick(2) ? '9' : '0') +
                   kTails[pick(static_cast<int>(std::size(kTails)))];
        }
        default:
            return digits(1 + pick(6)) + "." + digits(pick(4));
        }
    };
    long rows = 0;
    for (int receipt = 0; receipt < 6000; ++receipt) {
        const int acount = pick(2);
        const int decimals = pick(2) ? kDecimalsFloat : pick(kDecimalsMax + 1);
        const int rule = pick(3);
        std::deque<HistoryEntry> receiptRows;
        TCalcNum running;
        const int n = 1 + pick(40);
        for (int i = 0; i < n; ++i) {
            std::string text;
            char glyph = "+-*/ "[pick(5)];
            if (!running.Text.empty() && pick(4) == 0) {
                // The total as it stands with a half added, or with a digit changed, or less
                // one in its last whole digit and written with eighteen decimals and taken
                // away: rows that cancel the total down to its last digits, or to a power of
                // ten that only the eighteenth decimal tells from the number below it.
                text = running.Text;
                const std::size_t point = text.find('.');
                switch (pick(3)) {
                case 0:
                    text += point == std::string::npos ? ".5" : "5";
                    break;
                case 1:
                    text.back() = static_cast<char>('0' + pick(10));
                    break;
                default: {
                    const std::size_t last = (point == std::string::npos ? text.size() : point) - 1;
                    if (text[last] > '0' && text[last] <= '9') --text[last];
                    if (point == std::string::npos) text += '.';
                    while (text.size() - text.find('.') - 1 < 18)
                        text += '0';
                    glyph = '-';
                }
                }
            } else {
                text = amount();
            }
            if (pick(3) == 0 && !text.empty() && text.front() != '-') text.insert(0, "-");
            receiptRows.emplace_back(text, glyph);
            std::string ignored;
            TotalStepByStep(receiptRows, acount, decimals, rule, running, &ignored);
        }
        rows += n;

        TCalcNum expected, total;
        std::string expectedBad, bad;
        const bool expectedOk =
            TotalStepByStep(receiptRows, acount, decimals, rule, expected, &expectedBad);
        const bool ok = FoldReceipt(receiptRows, acount, decimals, rule, total, &bad);
        std::string listing;
        for (const HistoryEntry& e : receiptRows)
            listing += std::string(1, e.Glyph()) + " " + std::string(e.Number()) + "\n";
        ASSERT_EQ(ok, expectedOk) << listing;
        if (ok)
            ASSERT_EQ(total, expected)
                << "mode " << acount << ", decimals " << decimals << ", rule " << rule << ":\n"
                << listing << "gives " << total.Text;
        else
            ASSERT_EQ(bad, expectedBad) << listing;
    }
    EXPECT_GT(rows, 100000);
}

// Two rows whose exact sum or product lies so close to a point where the eighteenth digit
// rounds the other way, or cancels so far, that the step in long double gives other digits
// than the exact result: the fold must give what the step in long double gives.
TEST(FoldReceipt, StepsNearARoundingBoundaryGiveTheLongDoubleDigits) {
    const struct {
        const char* first;
        char ope;
        const char* second;
        int acount;
        const char* text;
        bool error;
    } rows[] = {
        {"2061615631691", '+', "0.999995", 0, "2061615631691.99", false},
        {"389716271838730", '+', "0.999499995", 0, "389716271838731.", false},
        {"999999999999999", '+', "0.999499995", 0, "1000000000000000", true},
        {"-99999999999999", '*', "0.99995", 0, "-99994999999999.", false},
        {"-6378404095227", '+', "6339210449690.62680", 0, "-39193645536.3731", false},
        {"99999999", '-', "99682728.6339207315", 1, "317270.366079268", false},
        {"-7580087219284", '+', "7626901405054.3", 0, "46814185770.3000", false},
        {"6198734789177", '-', "6195889628934.277", 0, "2845160242.72300", false},
    };
    for (const auto& r : rows) {
        std::deque<HistoryEntry> receipt;
        receipt.emplace_back(r.first, '+');
        receipt.emplace_back(r.second, r.ope);
        TCalcNum expected, total;
        ASSERT_TRUE(TotalStepByStep(receipt, r.acount, kDecimalsFloat, 0, expected, nullptr));
        ASSERT_TRUE(FoldReceipt(receipt, r.acount, kDecimalsFloat, 0, total, nullptr));
        EXPECT_EQ(expected, (TCalcNum{r.text, r.error})) << r.first << r.ope << r.second;
        EXPECT_EQ(total, (TCalcNum{r.text, r.error})) << r.first << r.ope << r.second;
    }
}

} // namespace
