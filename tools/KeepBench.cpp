// The kept receipt: a restart with 1,000,000 kept rows (time, and the engine's memory for the
// rows), a keystroke with the option on beside the option off, and how the flushes to the disk
// group while typing (how long a record waits for its flush: what a power cut can lose).
//
// The journal is written in $TMPDIR (a real disk gives real flush times; tmpfs gives none).
#include "CalcEngine.h"
#include "NullEngineHost.h"
#include "ReceiptKeeper.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

using namespace bansho;
using namespace bansho::keep;
namespace fs = std::filesystem;

namespace {

constexpr int kRows = 1'000'000;

std::string TempFolder() {
    const char* t = std::getenv("TMPDIR");
    std::string tmpl = std::string(t && *t ? t : "/var/tmp") + "/bansho-keep-bench-XXXXXX";
    if (!::mkdtemp(tmpl.data())) std::abort();
    return tmpl;
}

struct Engine {
    TOption option;
    TCalcStatus status;
    NullEngineHost host;
    CalcEngine engine{option, status, host};
    Engine() {
        SetBuiltInDefaults(option, status);
        SetFileDefaults(option);
        engine.AllClear();
    }
};

std::size_t HeapInUse() {
    return mallinfo2().uordblks + mallinfo2().hblkhd;
}

// A journal of a million rows as a clean close leaves it.
std::string MillionRowJournal(const std::string& dir) {
    const std::string path = dir + "/million.journal";
    std::deque<HistoryEntry> rows;
    for (int i = 0; i < kRows; ++i)
        rows.emplace_back(std::to_string(1000 + i % 9000) + ".25", '+');
    Journal j(path);
    KeptState st;
    if (j.Open(st) != Journal::Status::Keeping || !j.Compact(rows, {"12", false}, {"345", false}, 2))
        std::abort();
    return path;
}

void BM_RestartWithAMillionKeptRows(benchmark::State& state) {
    const std::string dir = TempFolder();
    const std::string path = MillionRowJournal(dir);
    double engineMB = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto e = std::make_unique<Engine>();
        malloc_trim(0);
        const std::size_t before = HeapInUse();
        state.ResumeTiming();
        Journal j(path);
        KeptState st;
        if (j.Open(st) != Journal::Status::Keeping) std::abort();
        RestoreInto(e->engine, std::move(st));
        state.PauseTiming();
        if (e->engine.HistoryCount() != kRows) std::abort();
        engineMB = static_cast<double>(HeapInUse() - before) / (1 << 20);
        j.Close();
        e.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = kRows;
    state.counters["engine_MB"] = engineMB;
    state.counters["journal_MB"] = static_cast<double>(fs::file_size(path)) / (1 << 20);
    fs::remove_all(dir);
}
BENCHMARK(BM_RestartWithAMillionKeptRows)->Unit(benchmark::kMillisecond)->Iterations(5);

// Keys of an input receipt: "1234 +" over and over, an AC now and then.
void Typing(benchmark::State& state, bool keep) {
    const std::string dir = TempFolder();
    Engine e;
    std::unique_ptr<Journal> journal;
    std::unique_ptr<ReceiptKeeper> keeper;
    if (keep) {
        journal = std::make_unique<Journal>(dir + "/typing.journal");
        KeptState st;
        if (journal->Open(st) != Journal::Status::Keeping) std::abort();
        keeper = std::make_unique<ReceiptKeeper>(e.engine, *journal, true);
    }
    static constexpr unsigned kKeys[] = {1, 2, 3, 4, 17};
    std::size_t n = 0;
    for (auto _ : state) {
        e.engine.ExecCommand(kKeys[n % 5]);
        if (++n % 5000 == 0) e.engine.ExecCommand(24); // AC
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    if (journal) {
        state.counters["flushes"] = static_cast<double>(journal->SyncCount());
        keeper.reset();
        journal->Close();
    }
    fs::remove_all(dir);
}

void BM_KeystrokeOptionOff(benchmark::State& state) {
    Typing(state, false);
}
void BM_KeystrokeOptionOn(benchmark::State& state) {
    Typing(state, true);
}
BENCHMARK(BM_KeystrokeOptionOff);
BENCHMARK(BM_KeystrokeOptionOn);

// Ten keys a second for `range(0)` seconds, each an appended row: how many flushes, and the
// longest a row waited for its flush (a power cut loses at most that).
void BM_FlushGroupingWhileTyping(benchmark::State& state) {
    const std::string dir = TempFolder();
    double flushes = 0, longestMs = 0, rows = 0;
    for (auto _ : state) {
        Engine e;
        Journal j(dir + "/sync.journal");
        KeptState st;
        if (j.Open(st) != Journal::Status::Keeping) std::abort();
        ReceiptKeeper keeper(e.engine, j, true);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(state.range(0));
        rows = 0;
        while (std::chrono::steady_clock::now() < end) {
            e.engine.ExecCommand(7);
            e.engine.ExecCommand(17);
            ++rows;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(400)); // the last group's flush
        flushes = static_cast<double>(j.SyncCount());
        longestMs = static_cast<double>(j.LongestWait().count()) / 1000.0;
    }
    state.counters["rows"] = rows;
    state.counters["flushes"] = flushes;
    state.counters["longest_wait_ms"] = longestMs;
    fs::remove_all(dir);
}
BENCHMARK(BM_FlushGroupingWhileTyping)->Arg(3)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
