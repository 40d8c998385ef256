// The journal's compaction in the background: while it runs, typing goes on into the old file;
// at every step it can be stopped at, the journal on the disk holds every record written (what
// a kill leaves), and at its end the snapshot holds them too. A child process appending rows
// while compacting over and over is killed at random moments: the next start reads every row
// it had written, in order, missing at most the one being written.
#include "ReceiptJournal.h"
#include "KeepTempDir.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <random>
#include <string>
#include <vector>

using namespace bansho;
using namespace bansho::keep;
using bansho::testing::TempDir;
namespace fs = std::filesystem;

namespace {

// The rows, memory, GT and kind of a state on one line, for comparing.
std::string OneLine(const KeptState& s) {
    std::string out;
    for (const HistoryEntry& r : s.Rows)
        out += std::string(1, r.Glyph()) + std::string(r.Number()) + " ";
    return out + "| M " + s.Memory.Text + " GT " + s.GrandTotal.Text + " K " +
           std::to_string(s.Kind);
}

// Writes records to the journal and applies them to a model of what it keeps.
struct Writer {
    Journal& journal;
    KeptState model;
    void Put(const std::string& framed) {
        std::string_view body;
        std::size_t size = 0;
        ASSERT_EQ(ReadFrame(framed, body, size), FrameStatus::Ok);
        ASSERT_TRUE(ApplyRecord(body, model));
        journal.Write(framed);
    }
    void Row(const std::string& number, char glyph = '+') {
        std::string r;
        AppendRow(r, HistoryEntry(number, glyph));
        Put(r);
    }
    void Index(RecordType type, std::uint64_t i) {
        std::string r;
        AppendIndex(r, type, i);
        Put(r);
    }
    void Values(const std::string& memory, const std::string& gt, int kind) {
        std::string r;
        AppendValues(r, TCalcNum{memory, false, ValueKind::Number},
                     TCalcNum{gt, false, ValueKind::Number}, kind);
        std::string_view rest(r);
        std::string_view body;
        std::size_t size = 0;
        while (ReadFrame(rest, body, size) == FrameStatus::Ok) {
            Put(std::string(rest.substr(0, size)));
            rest.remove_prefix(size);
        }
    }
};

// The compaction stopped at each of its steps while rows, a removal, a swap and new values are
// written: the file on the disk holds all of it there, and the new journal holds all of it at
// the end, smaller than the old.
using Step = Journal::CompactionStep;
class StoppedAt : public ::testing::TestWithParam<Step> {};

TEST_P(StoppedAt, EveryRecordWrittenMeanwhileIsKept) {
    TempDir dir;
    const std::string path = dir.File("b.journal");
    std::mutex m;
    std::condition_variable cv;
    bool parked = false, go = false;
    {
        Journal j(path);
        KeptState st;
        ASSERT_EQ(j.Open(st), Journal::Status::Keeping);
        Writer w{j, {}};
        for (int i = 0; i < 3000; ++i) // rows the snapshot no longer needs
            w.Row(std::to_string(i), '-');
        std::string clear;
        AppendClear(clear);
        w.Put(clear);
        for (int i = 0; i < 500; ++i)
            w.Row(std::to_string(1000 + i));
        w.Values("12", "345", 2);
        const std::uint64_t before = j.Size();
        j.SetCompactionHook([&, step = GetParam()](Step at) {
            if (at != step) return;
            std::unique_lock lock(m);
            parked = true;
            cv.notify_all();
            cv.wait(lock, [&] { return go; });
        });
        ASSERT_TRUE(j.StartCompaction());
        EXPECT_FALSE(j.StartCompaction()); // one at a time
        {
            std::unique_lock lock(m);
            ASSERT_TRUE(cv.wait_for(lock, std::chrono::seconds(60), [&] { return parked; }));
        }
        // Typing goes on while the compaction waits at its step.
        for (int i = 0; i < 40; ++i)
            w.Row(std::to_string(2000 + i), '*');
        w.Index(RecordType::Remove, 3);
        std::string swap;
        AppendSwap(swap, 0, 7);
        w.Put(swap);
        w.Values("99", "100", 1);
        // What a kill here leaves: every record, in the old journal or in the new one.
        KeptState onDisk;
        ASSERT_TRUE(PeekJournal(path, onDisk));
        EXPECT_EQ(OneLine(onDisk), OneLine(w.model));
        {
            std::lock_guard lock(m);
            go = true;
            cv.notify_all();
        }
        ASSERT_TRUE(j.WaitForCompaction());
        EXPECT_EQ(j.CompactionCount(), 1u);
        EXPECT_LT(j.Size(), before / 2);
        EXPECT_EQ(j.Size(), fs::file_size(path));
        w.Row("7777"); // into the new file
        ASSERT_TRUE(PeekJournal(path, onDisk));
        EXPECT_EQ(OneLine(onDisk), OneLine(w.model));
        st = w.model;
        j.Close();
        // Only the journal and its lock are left; the next start reads the same.
        EXPECT_EQ(dir.Names(), "b.journal b.journal.lock ");
        Journal k(path);
        KeptState again;
        ASSERT_EQ(k.Open(again), Journal::Status::Keeping);
        EXPECT_EQ(OneLine(again), OneLine(st));
        EXPECT_EQ(k.CutBytes(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, StoppedAt,
                         ::testing::Values(Step::SnapshotSynced, Step::TailCopied, Step::Replaced));

// A clean close, or a snapshot of the engine's rows, gives up a running compaction first: its
// temporary is gone and the snapshot is what the journal holds.
TEST(CompactionTest, ASnapshotGivesUpARunningCompaction) {
    TempDir dir;
    const std::string path = dir.File("b.journal");
    Journal j(path);
    KeptState st;
    ASSERT_EQ(j.Open(st), Journal::Status::Keeping);
    Writer w{j, {}};
    for (int i = 0; i < 20000; ++i)
        w.Row(std::to_string(i));
    ASSERT_TRUE(j.StartCompaction());
    std::deque<HistoryEntry> rows{HistoryEntry("5", '+')};
    ASSERT_TRUE(j.Compact(rows, {"1", false}, {"2", false}, 0));
    EXPECT_FALSE(j.Compacting());
    j.Close();
    EXPECT_EQ(dir.Names(), "b.journal b.journal.lock ");
    ASSERT_TRUE(PeekJournal(path, st));
    EXPECT_EQ(OneLine(st), "+5 | M 1 GT 2 K 0");
}

// --- Killed while compacting ----------------------------------------------------------------

// The child: opens the journal, appends the rows that follow the kept ones (row i holds "i+1")
// with a replaced row now and then (records a snapshot drops), compacting over and over, and
// after each row tells the parent "<rows> <compacting> <compactions>". Never ends by itself.
[[noreturn]] void AppendAndCompact(const std::string& path, int out, unsigned seed) {
    Journal j(path, std::chrono::milliseconds(5));
    KeptState st;
    if (j.Open(st) != Journal::Status::Keeping) ::_exit(3);
    std::size_t rows = st.Rows.size();
    std::mt19937 rng(seed);
    for (;;) {
        if (!j.Compacting()) j.StartCompaction();
        std::string rec;
        AppendRow(rec, HistoryEntry(std::to_string(rows + 1), '+'));
        if (rng() % 4 == 0 && rows > 0) // the last row again, as it was
            AppendRowAt(rec, RecordType::Replace, rows - 1, HistoryEntry(std::to_string(rows), '+'));
        j.Write(rec);
        ++rows;
        char line[64];
        const int n = std::snprintf(line, sizeof line, "%zu %d %llu\n", rows, j.Compacting() ? 1 : 0,
                                    static_cast<unsigned long long>(j.CompactionCount()));
        if (::write(out, line, static_cast<std::size_t>(n)) != n) ::_exit(4);
        if (rows > 2'000'000) ::_exit(5);
        ::usleep(100); // a fast typist's rows, many to each compaction
    }
}

TEST(CompactionTest, AKillAtAnyMomentKeepsEveryRowWritten) {
    TempDir dir;
    const std::string path = dir.File("b.journal");
    {
        // A start with rows already kept makes each compaction take a while.
        Journal j(path);
        KeptState st;
        ASSERT_EQ(j.Open(st), Journal::Status::Keeping);
        std::string recs;
        for (int i = 1; i <= 30000; ++i)
            AppendRow(recs, HistoryEntry(std::to_string(i), '+'));
        j.Write(recs);
    }
    std::mt19937 rng(20261208);
    int killedCompacting = 0;
    unsigned long long compactions = 0;
    const int rounds = 40;
    for (int round = 0; round < rounds; ++round) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(fds[0]);
            AppendAndCompact(path, fds[1], static_cast<unsigned>(round));
        }
        ::close(fds[1]);
        FILE* in = ::fdopen(fds[0], "r");
        ASSERT_NE(in, nullptr);
        // Kill after a random number of rows told, then read what it told before dying.
        const unsigned long long killAfter = 1 + rng() % 2000;
        unsigned long long told = 0, lastCompactions = 0, seen = 0;
        int compacting = 0;
        char line[64];
        while (std::fgets(line, sizeof line, in)) {
            unsigned long long rows = 0, done = 0;
            if (std::sscanf(line, "%llu %d %llu", &rows, &compacting, &done) != 3) break;
            told = rows;
            lastCompactions = done;
            if (++seen == killAfter) ::kill(child, SIGKILL);
        }
        std::fclose(in);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "round " << round << ": the child ended by itself, status " << status;
        killedCompacting += compacting;
        compactions += lastCompactions;
        KeptState st;
        ASSERT_TRUE(PeekJournal(path, st)) << "round " << round;
        ASSERT_GE(st.Rows.size(), told) << "round " << round;
        ASSERT_LE(st.Rows.size(), told + 1) << "round " << round;
        for (std::size_t i = 0; i < st.Rows.size(); ++i)
            ASSERT_EQ(st.Rows[i].Number(), std::to_string(i + 1)) << "round " << round;
    }
    // The kills did come while compacting, and compactions did finish.
    EXPECT_GT(killedCompacting, rounds / 4);
    EXPECT_GT(compactions, 0u);
    RecordProperty("KilledWhileCompacting", killedCompacting);
    RecordProperty("CompactionsFinished", static_cast<int>(compactions));
    // The next start removes what the killed compactions left.
    Journal j(path);
    KeptState st;
    ASSERT_EQ(j.Open(st), Journal::Status::Keeping);
    j.Close();
    EXPECT_EQ(dir.Names(), "b.journal b.journal.lock ");
}

} // namespace
