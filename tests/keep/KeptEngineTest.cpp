// The engine's state across a restart with the receipt kept, and the undo of the last clear.
#include "EngineRig.h"
#include "ReceiptKeeper.h"
#include "KeepTempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

using namespace bansho;
using namespace bansho::keep;
using bansho::testing::EngineRig;
using bansho::testing::TempDir;
namespace fs = std::filesystem;

namespace {

// What the user sees of the kept state: every row as drawn with its mark, memory, grand total,
// receipt kind and the re-total.
std::string Seen(EngineRig& rig) {
    std::string out;
    for (std::size_t i = 0; i < rig.engine.HistoryCount(); ++i)
        out += rig.engine.HistRow(i) + "|" + std::to_string(static_cast<int>(rig.engine.HistMark(i))) + "\n";
    TCalcNum total;
    std::string bad;
    const bool ok = rig.engine.ReceiptTotal(total, &bad);
    out += "total " + (ok ? total.Text : "bad " + bad) + "\n";
    out += "M " + rig.engine.MemNum.Text + " GT " + rig.engine.GTNum.Text + " kind " +
           std::to_string(rig.option.HistSet) + "\n";
    return out;
}

// A new start as after a crash of the running copy, which still holds the journal: a fresh
// engine (its start-up all-clear done), the journal's whole records read into it.
std::string Restart(const std::string& path, EngineRig& rig) {
    KeptState st;
    EXPECT_TRUE(PeekJournal(path, st));
    RestoreInto(rig.engine, std::move(st));
    return Seen(rig);
}

// A real start after the copy ended: the journal opened with its lock.
std::string Reopen(const std::string& path, EngineRig& rig) {
    Journal j(path);
    KeptState st;
    EXPECT_EQ(j.Open(st), Journal::Status::Keeping) << j.Problem();
    RestoreInto(rig.engine, std::move(st));
    return Seen(rig);
}

} // namespace

// Every kind of change of the kept state, each followed by a restart without a clean close (as
// after a crash): the restarted program shows what the first one showed.
TEST(KeptEngineTest, EveryKindOfStateComesBackAfterARestart) {
    const char* steps[] = {
        "12 + 30 + 5 -",            // rows
        "2 * 3 =",                  // a result and the grand total
        "7 M+ 2 M-",                // memory
        "#60",                      // a time key on the result
        "AC",                       // AC empties the input receipt and the grand total
        "#64",                      // and the undo brings them back
        "HC",                       // history clear
        "#64",
        "paste:123456789012345678901234567890 HS", // a row longer than any register
        "20261207 #61 HS",          // a date row
        "1000 #38 150 #46",         // tax items of both rates
        "#38",                      // a further press moves the item to rate 1
        "1500 #55 20 #57 #56",      // the pricing keys' labelled rows
    };
    TempDir dir;
    const std::string path = dir.File("b.journal");
    EngineRig first;
    Journal journal(path);
    KeptState none;
    ASSERT_EQ(journal.Open(none), Journal::Status::Keeping);
    ReceiptKeeper keeper(first.engine, journal, true);
    for (const char* step : steps) {
        first.Keys(step);
        EngineRig second;
        EXPECT_EQ(Restart(path, second), Seen(first)) << "after " << step;
    }
    // The receipt kind and the row edits of the history window.
    first.option.HistSet = 1;
    first.engine.ExecCommand(151); // the customization dialog's command (its window changed the kind)
    ASSERT_TRUE(first.engine.InsertHistoryEntry(1));
    ASSERT_TRUE(first.engine.ReplaceHistoryEntry(0, "-44.5", '-'));
    ASSERT_TRUE(first.engine.SwapHistoryEntries(0, first.engine.HistoryCount() - 1));
    ASSERT_TRUE(first.engine.RemoveHistoryEntry(1));
    EngineRig second;
    EXPECT_EQ(Restart(path, second), Seen(first));
    EXPECT_EQ(second.option.HistSet, 1);
    // The restored receipt selects its last row.
    EXPECT_EQ(second.receipt.selected, static_cast<int>(second.engine.HistoryCount()) - 1);
    // The copy ends without a clean close: the next start reads the same.
    journal.Close();
    EngineRig third;
    EXPECT_EQ(Reopen(path, third), Seen(first));
    // A clean close's compaction keeps the same.
    {
        Journal j(path);
        KeptState st;
        ASSERT_EQ(j.Open(st), Journal::Status::Keeping);
        ReceiptKeeper again(third.engine, j, false);
        ASSERT_TRUE(again.Compact());
    }
    EngineRig fourth;
    EXPECT_EQ(Reopen(path, fourth), Seen(first));
}

// Random keying against a restart after each key: the journal always holds what is shown.
TEST(KeptEngineTest, RandomKeyingComesBackAfterEveryKey) {
    static const char* keys[] = {"1", "2", "0", "5", ".", "+", "-", "*", "/", "=", "%", "AC", "C",
                                 "HC", "HS", "M+", "M-", "MC", "MRV", "GT", "neg", "#64", "#60"};
    std::mt19937 rng(20261207);
    TempDir dir;
    const std::string path = dir.File("b.journal");
    EngineRig first;
    Journal journal(path);
    KeptState none;
    ASSERT_EQ(journal.Open(none), Journal::Status::Keeping);
    ReceiptKeeper keeper(first.engine, journal, true);
    for (int i = 0; i < 400; ++i) {
        const std::string key = keys[rng() % std::size(keys)];
        first.Keys(key);
        if (i % 20 == 19) {
            EngineRig again;
            ASSERT_EQ(Restart(path, again), Seen(first)) << "after key " << i << " (" << key << ")";
        }
    }
}

// Undo of the last clear, with no journal at all: AC and HC take rows, grand total; 64 brings
// them back, and 64 again takes them away again. A clear that took nothing keeps the undo.
TEST(KeptEngineTest, UndoBringsBackWhatTheLastClearTook) {
    EngineRig rig;
    rig.Keys("4 M+ 100 + 23 =");
    const std::string before = Seen(rig);
    const std::size_t rows = rig.engine.HistoryCount();
    ASSERT_GE(rows, 2u);
    rig.Keys("AC");
    EXPECT_EQ(rig.engine.HistoryCount(), 0u);
    EXPECT_EQ(rig.engine.GTNum.Text, "");
    rig.Keys("AC AC"); // nothing more to take: the undo stays
    rig.Keys("#64");
    EXPECT_EQ(Seen(rig), before);
    EXPECT_EQ(rig.receipt.rows.size(), rows); // the list was told
    EXPECT_EQ(rig.receipt.selected, static_cast<int>(rows) - 1);
    rig.Keys("#64"); // and back again
    EXPECT_EQ(rig.engine.HistoryCount(), 0u);
    rig.Keys("#64");
    EXPECT_EQ(Seen(rig), before);
    rig.Keys("HC");
    EXPECT_EQ(rig.engine.HistoryCount(), 0u);
    rig.Keys("#64");
    EXPECT_EQ(Seen(rig), before);
    // The menu's clearing of the kept state takes the memory as well; undone the same way.
    rig.engine.ClearKept();
    EXPECT_EQ(rig.engine.MemNum.Text, "");
    EXPECT_EQ(rig.engine.GTNum.Text, "");
    EXPECT_EQ(rig.engine.HistoryCount(), 0u);
    rig.Keys("#64");
    EXPECT_EQ(Seen(rig), before);
    // Nothing cleared yet in a new engine: a beep.
    EngineRig fresh;
    const int beeps = fresh.host.beeps;
    fresh.Keys("#64");
    EXPECT_EQ(fresh.host.beeps, beeps + 1);
}

// An input receipt holds only what came since AC: its tax items are the bill again after a
// restart, and the tax total counts them.
TEST(KeptEngineTest, TheInputReceiptsTaxItemsAreTheBillAfterARestart) {
    TempDir dir;
    const std::string path = dir.File("b.journal");
    {
        EngineRig first;
        Journal journal(path);
        KeptState none;
        ASSERT_EQ(journal.Open(none), Journal::Status::Keeping);
        ReceiptKeeper keeper(first.engine, journal, true);
        first.Keys("1000 #38 150 #46");
        ASSERT_EQ(first.engine.BillItems().size(), 2u);
    }
    EngineRig again;
    Reopen(path, again);
    EXPECT_EQ(again.engine.BillItems().size(), 2u);
    again.Keys("#48");
    EXPECT_EQ(again.engine.Display().Caption, "1,262."); // 1,100 at 10 % and 162 at 8 %
}

// The input receipt goes on after a restart: the next number is added to the kept rows (it does
// not start a new receipt), and the display shows the re-total it goes on from.
TEST(KeptEngineTest, TypingAfterARestartGoesOnWithTheKeptReceipt) {
    TempDir dir;
    const std::string path = dir.File("b.journal");
    {
        EngineRig first;
        Journal journal(path);
        KeptState none;
        ASSERT_EQ(journal.Open(none), Journal::Status::Keeping);
        ReceiptKeeper keeper(first.engine, journal, true);
        first.Keys("120 + 30 - 5 +");
    }
    EngineRig again;
    Reopen(path, again);
    ASSERT_EQ(again.engine.HistoryCount(), 3u);
    EXPECT_EQ(again.engine.Display().Caption, "145.");
    again.Keys("10 + =");
    EXPECT_EQ(again.engine.HistoryCount(), 4u);
    EXPECT_EQ(again.engine.HistNumber(3), "10");
    EXPECT_EQ(again.engine.Display().Caption, "155.");
}
