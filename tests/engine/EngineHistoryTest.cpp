// Receipts, HS/HC and the operations the history window runs on the three lists.
#include "EngineRig.h"
#include "TextFunctions.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string_view>
#include <utility>
#include <vector>

using namespace bansho;
using namespace bansho::testing;

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>; // operator, number

Rows Lists(const CalcEngine& e) {
    Rows r;
    for (std::size_t i = 0; i < e.HistoryCount(); ++i)
        r.emplace_back(std::string(1, e.HistOpe(i)), e.HistNumber(i));
    return r;
}

// Every row as the list shows it.
std::vector<std::string> AllRows(const CalcEngine& e) {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < e.HistoryCount(); ++i)
        rows.push_back(e.HistRow(i));
    return rows;
}

void ExpectConsistent(const EngineRig& rig) {
    const CalcEngine& e = rig.engine;
    EXPECT_EQ(rig.receipt.rows, AllRows(e));
    EXPECT_EQ(rig.receipt.fault, "");
    const std::string count =
        e.HistoryCount() ? " H " + std::to_string(e.HistoryCount()) : std::string();
    EXPECT_EQ(e.Display().PanelCount, count);
}

EngineOptions Hist(int histSet) {
    EngineOptions o;
    o.histSet = histSet;
    return o;
}

struct ReceiptCase {
    const char* name;
    int histSet;
    const char* keys;
    Rows rows;
};

const ReceiptCase kReceipts[] = {
    {"input receipt 5 + 3 =", 2, "5 + 3 =", {{"+", "5"}, {"+", "3"}}},
    {"input receipt 5 + 3 * 2 =", 2, "5 + 3 * 2 =", {{"+", "5"}, {"+", "3"}, {"*", "2"}}},
    {"input receipt: next number starts a new receipt", 2, "5 + 3 = 7", {}},
    {"input receipt: new receipt after M+ with CalcMem", 2, "5 + 3 M+ 7 +", {{"+", "7"}}},
    {"input receipt records a recalled memory as shown", 2, "4 M+ AC MR + 1 =",
     {{"+", "4"}, {"+", "1"}}},
    {"input receipt: a negative first number adds itself",
     2,
     "5 neg + 2 =",
     {{"+", "-5"}, {"+", "2"}}},
    {"input receipt: a first row after HC in mid-calculation stores the + it shows",
     2,
     "5 * HC 3 + 2 =",
     {{"+", "3"}, {"+", "2"}}},
    {"input receipt: a first row after HC keeps a pending minus",
     2,
     "5 - HC 3 + 2 =",
     {{"-", "3"}, {"+", "2"}}},
    {"input receipt records the tax amount", 2, "1000 TI + 1 =", {{"+", "1100."}, {"+", "1"}}},
    {"input receipt: constant calculation adds nothing", 2, "2 * * 3 = 4 =", {{"+", "2"}}},
    {"input receipt: operator change records nothing", 2, "5 + - 3 =", {{"+", "5"}, {"-", "3"}}},
    {"calculation receipt 5 + 3 = 2 * 3 =", 1, "5 + 3 = 2 * 3 =", {{"+", "8"}, {"*", "6"}}},
    {"calculation receipt: a first percent result stores the + it shows", 1, "200 * 15 %",
     {{"+", "30"}}},
    {"calculation receipt: a later percent result keeps its multiply", 1, "5 + 3 = 200 * 15 %",
     {{"+", "8"}, {"*", "30"}}},
    {"calculation receipt: operators record nothing", 1, "5 + 3 +", {}},
    {"user memo records only HS", 0, "5 + 3 = HS", {{"+", "8"}}},
    {"HS with nothing shown records 0", 0, "HS", {{"+", "0"}}},
    {"HS records the pending operator", 0, "5 * 3 - HS", {{"-", "15."}}},
    {"HS of a later negative with nothing pending adds it", 0, "5 HS AC 3 neg HS",
     {{"+", "5"}, {"+", "-3"}}},
    {"HC empties", 2, "5 + 3 HC", {}},
    {"AC keeps a user memo", 0, "5 HS AC", {{"+", "5"}}},
    {"AC keeps a calculation receipt", 1, "5 + 3 = AC", {{"+", "8"}}},
    {"AC empties an input receipt", 2, "5 + 3 AC", {}},
};

void PrintTo(const ReceiptCase& c, std::ostream* os) {
    *os << c.name << ": " << c.keys;
}

class ReceiptTable : public ::testing::TestWithParam<ReceiptCase> {};

TEST_P(ReceiptTable, RecordsRows) {
    const ReceiptCase& c = GetParam();
    EngineRig rig(Hist(c.histSet));
    rig.Keys(c.keys);
    EXPECT_EQ(Lists(rig.engine), c.rows) << c.keys;
    ExpectConsistent(rig);
}

std::string ReceiptName(const ::testing::TestParamInfo<ReceiptCase>& info) {
    std::string n;
    for (const char* p = info.param.name; *p; ++p)
        n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return n + "_" + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(Engine, ReceiptTable, ::testing::ValuesIn(kReceipts), ReceiptName);

TEST(EngineHistoryRows, AlignedOnThePoint) {
    EngineRig rig;
    rig.Keys("1234 + 5 =");
    ASSERT_EQ(rig.engine.HistoryCount(), 2u);
    EXPECT_EQ(rig.engine.HistRow(0), std::string(15, ' ') + "＋1,234.");
    EXPECT_EQ(rig.engine.HistRow(1), std::string(19, ' ') + "＋5.");
}

TEST(EngineHistoryRows, FirstRowGlyphRule) {
    const struct {
        const char* keys;
        std::string row0;
    } rows[] = {
        {"5 neg +", std::string(20, ' ') + "-5."}, // no glyph for a negative first number
        {"5 + HC 3 -", std::string(19, ' ') + "＋3."},
        {"5 - HC 3 +", std::string(19, ' ') + "－3."},
        {"5 * HC 3 +", std::string(19, ' ') + "＋3."},
    };
    for (const auto& r : rows) {
        EngineRig rig;
        rig.Keys(r.keys);
        ASSERT_EQ(rig.engine.HistoryCount(), 1u) << r.keys;
        EXPECT_EQ(rig.engine.HistRow(0), r.row0) << r.keys;
    }
}

TEST(EngineHistoryRows, LaterRowsShowTheirOperator) {
    EngineRig rig;
    rig.Keys("5 + 3 neg - 2 * 1.5 / 3 =");
    const std::vector<std::string> expect = {
        std::string(19, ' ') + "＋5.", std::string(18, ' ') + "＋-3.",
        std::string(19, ' ') + "－2.", std::string(19, ' ') + "×1.5",
        std::string(19, ' ') + "÷3.",
    };
    EXPECT_EQ(AllRows(rig.engine), expect);
}

TEST(EngineHistoryWindow, RecalcFoldsLeftToRight) {
    EngineRig rig;
    rig.Keys("100 + 3 + 50 +"); // three rows, then given their operators
    ASSERT_EQ(rig.engine.HistoryCount(), 3u);
    ASSERT_TRUE(rig.engine.ReplaceHistoryEntry(0, "100", '+'));
    ASSERT_TRUE(rig.engine.ReplaceHistoryEntry(1, "3", '*'));
    ASSERT_TRUE(rig.engine.ReplaceHistoryEntry(2, "50", '-'));
    ASSERT_TRUE(rig.engine.RecalcHistory());
    EXPECT_EQ(rig.Caption(), "250.");
    EXPECT_EQ(rig.status.EditTarget, 'R');
    ASSERT_TRUE(rig.engine.SwapHistoryEntries(1, 0));
    ASSERT_TRUE(rig.engine.RecalcHistory());
    EXPECT_EQ(rig.Caption(), "50.");
    EXPECT_EQ(Lists(rig.engine), (Rows{{"*", "3"}, {"+", "100"}, {"-", "50"}}));
    ExpectConsistent(rig);
}

TEST(EngineHistoryWindow, NegativeFirstRowCountsAsNegative) {
    EngineRig rig;
    rig.Keys("5 neg + 2 =");
    EXPECT_EQ(rig.Caption(), "-3.");
    ASSERT_TRUE(rig.engine.RecalcHistory());
    EXPECT_EQ(rig.Caption(), "-3.");
}

TEST(EngineHistoryWindow, LaterNegativeRowKeepsItsOperator) {
    EngineRig rig;
    rig.Keys("5 - 3 neg =");
    EXPECT_EQ(rig.Caption(), "8.");
    ASSERT_TRUE(rig.engine.RecalcHistory());
    EXPECT_EQ(rig.Caption(), "8.");
}

// A row counts as it reads, wherever it stands: moving, inserting or deleting other rows,
// or storing a row back as the edit dialog shows it, never changes what it adds.
struct RetotalCase {
    const char* name;
    const char* keys;
    const char* edits; // swap:I:J, del:I, ins:I, keep:I (OK in the dialog without a change)
    const char* total;
};

const RetotalCase kRetotals[] = {
    {"a later negative row moved to the top", "10 - 5 neg =", "swap:1:0", "15."},
    {"a negative first row kept in the dialog and moved down", "5 neg + 3 =", "keep:0 swap:0:1",
     "-2."},
    {"a negative first row below an inserted row", "5 neg + 3 =", "ins:0", "-2."},
    {"a subtracted negative row that becomes the first", "2 + 3 - 5 neg =", "del:0 del:0", "5."},
    {"the first row after HC in mid-calculation", "5 * HC 3 + 2 =", "", "5."},
    {"the first row after HC in mid-calculation, kept in the dialog", "5 * HC 3 + 2 =", "keep:0",
     "5."},
    {"a pending minus kept on the first row after HC", "5 - HC 3 + 2 =", "swap:0:1", "-1."},
};

void PrintTo(const RetotalCase& c, std::ostream* os) {
    *os << c.name << ": " << c.keys << " / " << c.edits;
}

class RetotalTable : public ::testing::TestWithParam<RetotalCase> {};

TEST_P(RetotalTable, ARowCountsAsItReadsWhereverItStands) {
    const RetotalCase& c = GetParam();
    EngineRig rig;
    rig.Keys(c.keys);
    std::istringstream in(c.edits);
    std::string t;
    while (in >> t) {
        const std::size_t i = std::stoul(t.substr(t.find(':') + 1));
        CalcEngine& e = rig.engine;
        if (t.starts_with("swap:"))
            ASSERT_TRUE(e.SwapHistoryEntries(i, std::stoul(t.substr(t.rfind(':') + 1))));
        else if (t.starts_with("del:"))
            ASSERT_TRUE(e.RemoveHistoryEntry(i));
        else if (t.starts_with("ins:"))
            ASSERT_TRUE(e.InsertHistoryEntry(i));
        else if (t.starts_with("keep:"))
            ASSERT_TRUE(e.ReplaceHistoryEntry(i, e.HistNumber(i), e.HistOpe(i)));
        else
            FAIL() << "unknown edit " << t;
    }
    ASSERT_TRUE(rig.engine.RecalcHistory());
    EXPECT_EQ(rig.Caption(), c.total);
    ExpectConsistent(rig);
}

std::string RetotalName(const ::testing::TestParamInfo<RetotalCase>& info) {
    std::string n;
    for (const char* p = info.param.name; *p; ++p)
        n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return n + "_" + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(Engine, RetotalTable, ::testing::ValuesIn(kRetotals), RetotalName);

// A receipt row read as a person reads it: the glyph after the blanks ("+" for none) and the
// number with its separators removed.
struct ReadRow {
    char ope = 0; // 0: a glyph that is not one of the four
    bool glyph = false;
    std::string number;
};

ReadRow ReadReceiptRow(const std::string& row) {
    ReadRow r;
    std::string_view v(row);
    while (v.starts_with(' '))
        v.remove_prefix(1);
    static const std::pair<const char*, char> kGlyphs[] = {
        {"＋", '+'}, {"－", '-'}, {"×", '*'}, {"÷", '/'}};
    r.ope = '+';
    for (const auto& [g, ope] : kGlyphs) {
        if (v.starts_with(g)) {
            r.ope = ope;
            r.glyph = true;
            v.remove_prefix(std::string_view(g).size());
        }
    }
    for (const char c : v)
        if (c != ',') r.number += c;
    return r;
}

long long ReadInteger(std::string text) {
    if (text.ends_with('.')) text.pop_back();
    return text.empty() ? 0 : std::stoll(text);
}

// Every row stores the operator it shows; a row without a glyph holds a negative number and
// adds it.
void ExpectRowsStoreWhatTheyShow(const CalcEngine& e, const std::string& keys) {
    for (std::size_t i = 0; i < e.HistoryCount(); ++i) {
        const ReadRow r = ReadReceiptRow(e.HistRow(i));
        ASSERT_EQ(std::string(1, r.ope), std::string(1, e.HistOpe(i)))
            << "row " << i << " '" << e.HistRow(i) << "' after " << keys;
        if (!r.glyph) {
            ASSERT_TRUE(r.number.starts_with('-'))
                << "row " << i << " '" << e.HistRow(i) << "' after " << keys;
        }
    }
}

// The total of an addition-and-subtraction receipt as its rows read.
long long TotalAsRead(const CalcEngine& e) {
    long long total = 0;
    for (const std::string& row : AllRows(e)) {
        const ReadRow r = ReadReceiptRow(row);
        const long long n = ReadInteger(r.number);
        total += r.ope == '-' ? -n : n;
    }
    return total;
}

// Random receipts of whole numbers: typed with sign changes, HS between, HC in the middle of
// a calculation, then rows moved, inserted, deleted and stored back with + or -. Every row
// stores the operator it shows in every receipt kind, and in the input receipt the re-total
// equals the rows as they read, in whatever order they stand.
TEST(EngineHistoryProperty, ReceiptsTotalAsTheyReadInEveryOrder) {
    std::mt19937 rng(1704);
    for (int round = 0; round < 1500; ++round) {
        const int histSet = round % 3;
        EngineRig rig(Hist(histSet));
        std::string keys;
        char lastOpe = '=';
        const int terms = 1 + static_cast<int>(rng() % 9);
        for (int t = 0; t < terms; ++t) {
            keys += std::to_string(rng() % 1000);
            if (rng() % 3 == 0) keys += " neg";
            if (rng() % 6 == 0 && lastOpe != '*') keys += " HS";
            if (t + 1 == terms) {
                keys += " =";
            } else if (rng() % 7 == 0) {
                keys += " * HC "; // the receipt starts again in mid-calculation
                lastOpe = '*';
                continue;
            } else {
                lastOpe = rng() % 2 ? '+' : '-';
                keys += std::string(" ") + lastOpe + " ";
            }
            if (histSet == 1 && rng() % 3 == 0 && t + 1 < terms) {
                keys += "= "; // a result for the calculation receipt
                lastOpe = '=';
            }
            keys += ' ';
        }
        rig.Keys(keys);
        ASSERT_NO_FATAL_FAILURE(ExpectRowsStoreWhatTheyShow(rig.engine, keys));
        if (histSet != 2 || rig.engine.HistoryCount() == 0) continue;

        CalcEngine& e = rig.engine;
        ASSERT_TRUE(e.RecalcHistory());
        ASSERT_EQ(ReadInteger(e.ResNum.Text), TotalAsRead(e)) << keys;
        const long long recorded = TotalAsRead(e);
        std::string edits;
        for (int step = 0; step < 12 && e.HistoryCount() > 0; ++step) {
            const std::size_t n = e.HistoryCount();
            const std::size_t i = rng() % n;
            const unsigned pick = rng() % 10;
            if (pick < 6 && n > 1) {
                const std::size_t j = (i + 1) % n;
                e.SwapHistoryEntries(i, j);
                edits += " swap:" + std::to_string(i) + ":" + std::to_string(j);
            } else if (pick == 6) {
                e.InsertHistoryEntry(i);
                edits += " ins:" + std::to_string(i);
            } else if (pick == 7 && n > 1) {
                e.RemoveHistoryEntry(i);
                edits += " del:" + std::to_string(i);
            } else if (pick == 8) {
                e.ReplaceHistoryEntry(i, e.HistNumber(i), e.HistOpe(i));
                edits += " keep:" + std::to_string(i);
            } else {
                const char ope = rng() % 2 ? '+' : '-';
                e.ReplaceHistoryEntry(i, std::to_string(rng() % 500), ope);
                edits += std::string(" set:") + std::to_string(i) + ":" + ope;
            }
            ASSERT_TRUE(e.RecalcHistory());
            ASSERT_NO_FATAL_FAILURE(ExpectRowsStoreWhatTheyShow(e, keys + " /" + edits));
            ASSERT_EQ(ReadInteger(e.ResNum.Text), TotalAsRead(e)) << keys << " /" << edits;
        }
        // Moves alone never change the total.
        if (e.HistoryCount() > 1 && edits.find("ins") == std::string::npos &&
            edits.find("del") == std::string::npos && edits.find("set") == std::string::npos) {
            ASSERT_EQ(ReadInteger(e.ResNum.Text), recorded) << keys << " /" << edits;
        }
    }
}

TEST(EngineHistoryWindow, RecalcOnlyInInputReceipt) {
    EngineRig rig(Hist(1));
    rig.Keys("5 + 3 = 7");
    const int focus = rig.host.focusCalls;
    ASSERT_TRUE(rig.engine.RecalcHistory());
    EXPECT_EQ(rig.Caption(), "7."); // not recalculated
    EXPECT_EQ(rig.host.focusCalls, focus + 1);
}

TEST(EngineHistoryWindow, DivisionByZeroInTheChainShowsTheError) {
    EngineRig rig;
    rig.Keys("6 / 0 + 1 +");
    ASSERT_TRUE(rig.engine.RecalcHistory());
    EXPECT_EQ(rig.Caption(), "- E -  ");
    EXPECT_EQ(rig.engine.HistoryCount(), 3u);
}

TEST(EngineHistoryWindow, RowThatIsNotANumberStops) {
    EngineRig rig;
    rig.Keys("5 + 3 =");
    ASSERT_TRUE(rig.engine.ReplaceHistoryEntry(1, "1.2.3", '+'));
    const std::string before = rig.Caption();
    EXPECT_FALSE(rig.engine.RecalcHistory());
    ASSERT_EQ(rig.host.errors.size(), 1u);
    EXPECT_EQ(rig.host.errors[0], "'1.2.3' は浮動小数点数ではありません。");
    EXPECT_EQ(rig.Caption(), before);
}

TEST(EngineHistoryWindow, LoneDotReadsAsZero) {
    // The trailing point goes in the normalising step, leaving an empty text, which is 0.
    EngineRig rig;
    rig.Keys("5 + 3 =");
    ASSERT_TRUE(rig.engine.ReplaceHistoryEntry(1, ".", '+'));
    EXPECT_TRUE(rig.engine.RecalcHistory());
    EXPECT_EQ(rig.Caption(), "5.");
}

TEST(EngineHistoryWindow, LongRowUsesItsFirst22Characters) {
    EngineRig rig;
    rig.Keys("5 HS");
    ASSERT_TRUE(rig.engine.ReplaceHistoryEntry(0, "1234567890123456789012999", '+'));
    EXPECT_EQ(rig.engine.HistNumber(0), "1234567890123456789012999"); // stored as given
    rig.engine.RecallHistoryEntry(0);
    EXPECT_EQ(rig.engine.InNum.Text, "1234567890123456789012");
}

TEST(EngineHistoryWindow, InsertRemoveReplace) {
    EngineRig rig;
    rig.Keys("1 + 2 + 3 +");
    ASSERT_TRUE(rig.engine.InsertHistoryEntry(0));
    EXPECT_EQ(rig.engine.HistRow(0), std::string(19, ' ') + "＋0.");
    EXPECT_EQ(Lists(rig.engine), (Rows{{"+", "0"}, {"+", "1"}, {"+", "2"}, {"+", "3"}}));
    ExpectConsistent(rig);
    ASSERT_TRUE(rig.engine.ReplaceHistoryEntry(0, "1234567.5", '-'));
    EXPECT_EQ(rig.engine.HistRow(0), AlignNumber("－1,234,567.5"));
    ExpectConsistent(rig);
    ASSERT_TRUE(rig.engine.RemoveHistoryEntry(3));
    EXPECT_EQ(Lists(rig.engine), (Rows{{"-", "1234567.5"}, {"+", "1"}, {"+", "2"}}));
    ExpectConsistent(rig);
    ASSERT_TRUE(rig.engine.InsertHistoryEntry(3)); // at the end
    EXPECT_EQ(rig.engine.HistoryCount(), 4u);
    ExpectConsistent(rig);
    // Out of range and invalid requests change nothing.
    EXPECT_FALSE(rig.engine.InsertHistoryEntry(9));
    EXPECT_FALSE(rig.engine.RemoveHistoryEntry(4));
    EXPECT_FALSE(rig.engine.SwapHistoryEntries(0, 4));
    EXPECT_FALSE(rig.engine.SwapHistoryEntries(1, 1));
    EXPECT_FALSE(rig.engine.ReplaceHistoryEntry(4, "1", '+'));
    EXPECT_FALSE(rig.engine.ReplaceHistoryEntry(0, "1", '='));
    EXPECT_EQ(rig.engine.HistoryCount(), 4u);
    ExpectConsistent(rig);
}

TEST(EngineHistoryWindow, CopyRowsUpToTheSelectedOne) {
    EngineRig rig;
    rig.Keys("1 + 2 + 3 + 4 +");
    const auto r = AllRows(rig.engine);
    EXPECT_EQ(rig.engine.HistoryCopyText(2), r[0] + "\n" + r[1] + "\n" + r[2] + "\n");
    rig.engine.CopyHistoryToClip(0);
    EXPECT_EQ(rig.host.clipboard, r[0] + "\n");
    EXPECT_EQ(rig.engine.HistoryCopyText(99).size(),
              r[0].size() + r[1].size() + r[2].size() + r[3].size() + 4);
    EngineRig empty;
    empty.host.clipboard = "kept";
    empty.engine.CopyHistoryToClip(0);
    EXPECT_EQ(empty.host.clipboard, "kept");
}

TEST(EngineHistoryWindow, RecallActsAsTyped) {
    EngineRig rig;
    rig.Keys("12.5 + 3 =");
    rig.engine.RecallHistoryEntry(0);
    EXPECT_EQ(rig.engine.InNum.Text, "12.5");
    EXPECT_EQ(rig.Caption(), "12.5");
    EXPECT_EQ(rig.status.EditTarget, 'T');
    EXPECT_EQ(rig.engine.HistoryCount(), 2u); // recalling does not start a new receipt
    rig.Keys("* 2 =");
    EXPECT_EQ(rig.Caption(), "25.");
}

TEST(EngineHistoryWindow, ADigitAfterARecalledRowIsAppendedToTheWholeNumberShown) {
    EngineRig rig;
    rig.Keys("1000 TI + 1 +"); // the first row holds the amount with tax as a result, "1100."
    ASSERT_EQ(rig.engine.HistNumber(0), "1100.");
    rig.engine.RecallHistoryEntry(0);
    EXPECT_EQ(rig.Caption(), "1,100.");
    rig.Keys("5");
    EXPECT_EQ(rig.Caption(), "11,005.");
    rig.engine.RecallHistoryEntry(0);
    rig.Keys(". 5");
    EXPECT_EQ(rig.Caption(), "1,100.5");
}

TEST(EngineHistoryWindow, CorrectionModeRecordsTheTypedNumberAndLightsTheLamp) {
    EngineRig rig;
    rig.Keys("5 + 3");
    ASSERT_TRUE(rig.engine.EnterCorrectionMode());
    EXPECT_EQ(Lists(rig.engine), (Rows{{"+", "5"}, {"+", "3"}}));
    EXPECT_EQ(rig.receipt.selected, 1);
    EXPECT_TRUE(rig.receipt.lampOn);
    EXPECT_EQ(rig.Caption(), "8.");
    rig.Keys("+"); // an operator key puts the lamp out
    EXPECT_FALSE(rig.receipt.lampOn);
    ASSERT_TRUE(rig.engine.EnterCorrectionMode());
    rig.Keys("HC");
    EXPECT_FALSE(rig.receipt.lampOn);
    EngineRig empty;
    ASSERT_TRUE(empty.engine.EnterCorrectionMode());
    EXPECT_FALSE(empty.receipt.lampOn);
}

// Any command sequence, with pastes of arbitrary bytes and window operations in between,
// keeps the three sequences (and the window's mirror) of one length.
TEST(EngineHistoryInvariant, RandomCommandsKeepTheListsTogether) {
    std::mt19937 rng(20240607);
    for (int round = 0; round < 12; ++round) {
        EngineOptions o;
        o.histSet = round % 3;
        o.acount = (round / 3) % 2;
        o.calcMem = round % 2 == 0;
        EngineRig rig(o);
        for (int step = 0; step < 3000; ++step) {
            const unsigned pick = rng() % 100;
            if (pick < 70) {
                static const unsigned kCmds[] = {0,  1,  2,  3,  5,  7,  9,  16, 17, 18, 19, 20,
                                                 21, 22, 23, 24, 25, 26, 27, 29, 30, 31, 32, 33,
                                                 34, 35, 36, 37, 38, 39, 40, 41, 42, 255};
                rig.engine.ExecCommand(kCmds[rng() % std::size(kCmds)]);
            } else if (pick < 75) {
                std::string bytes(rng() % 30, '\0');
                for (auto& b : bytes)
                    b = static_cast<char>(rng() % 256);
                rig.host.clipboard = bytes;
                rig.engine.ExecCommand(42);
            } else {
                const std::size_t n = rig.engine.HistoryCount() + 1;
                const std::size_t i = rng() % n, j = rng() % n;
                switch (rng() % 8) {
                case 0:
                    rig.engine.InsertHistoryEntry(i);
                    break;
                case 1:
                    rig.engine.RemoveHistoryEntry(i);
                    break;
                case 2:
                    rig.engine.SwapHistoryEntries(i, j);
                    break;
                case 3:
                    rig.engine.ReplaceHistoryEntry(i, std::to_string(rng() % 1000) + ".5",
                                                   "+-*/"[j % 4]);
                    break;
                case 4:
                    rig.engine.RecalcHistory();
                    break;
                case 5:
                    rig.engine.RecallHistoryEntry(i);
                    break;
                case 6:
                    rig.engine.EnterCorrectionMode();
                    break;
                default:
                    rig.engine.CopyHistoryToClip(i);
                    break;
                }
            }
            ASSERT_NO_FATAL_FAILURE(ExpectConsistent(rig)) << "round " << round << " step " << step;
            for (const TCalcNum* r : {&rig.engine.InNum, &rig.engine.ResNum, &rig.engine.DispNum,
                                      &rig.engine.GTNum, &rig.engine.MemNum, &rig.engine.KNum})
                ASSERT_LE(TextWidth(r->Text), 22u);
        }
    }
}

} // namespace

// An entry keeps its number and glyph through copies, moves and rewrites, whether the number
// fits in place (22 bytes and less) or not (a longer text stored by the edit dialog).
TEST(HistoryEntryStore, NumbersOfEveryLengthSurviveCopiesMovesAndRewrites) {
    const std::string lengths[] = {"", "0", "-12345678901234.5", std::string(22, '7'),
                                   std::string(23, '8'), std::string(64, '9')};
    for (const std::string& n : lengths) {
        HistoryEntry a(n, ' ');
        EXPECT_EQ(a.Number(), n);
        EXPECT_EQ(a.Glyph(), ' ');
        EXPECT_EQ(a.Ope(), '+') << "a row without a glyph counts as +";
        HistoryEntry copy(a);
        HistoryEntry moved(std::move(a));
        EXPECT_EQ(copy.Number(), n);
        EXPECT_EQ(moved.Number(), n);
        for (const std::string& other : lengths) {
            HistoryEntry b(other, '*');
            b = copy;
            EXPECT_EQ(b.Number(), n);
            EXPECT_EQ(b.Ope(), '+');
            HistoryEntry c(other, '/');
            c = HistoryEntry(n, '-');
            EXPECT_EQ(c.Number(), n);
            EXPECT_EQ(c.Ope(), '-');
            c.Set(other, '*');
            EXPECT_EQ(c.Number(), other);
            EXPECT_EQ(c.Glyph(), '*');
            std::swap(b, c);
            EXPECT_EQ(b.Number(), other);
            EXPECT_EQ(c.Number(), n);
        }
    }
}
