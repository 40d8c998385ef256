// A receipt of 1,000,000 rows through the real history window: appending it, re-totalling it,
// and what one more row, a scroll, a deletion, a move and emptying it cost once it is there.
// Runs offscreen.
#include "CalcEngine.h"
#include "Fonts.h"
#include "MessageBoxes.h"
#include "ReceiptListView.h"
#include "THForm.h"
#include "TMForm.h"

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

using namespace bansho;

namespace {

constexpr int kRows = 1'000'000;

struct Windows {
    QTemporaryDir dir;
    std::unique_ptr<bansho::TMForm> main;
    std::unique_ptr<bansho::THForm> hist;

    Windows() {
        main = std::make_unique<bansho::TMForm>(std::filesystem::path(dir.path().toStdString()) /
                                                "bench.ENV");
        main->show();
        hist = std::make_unique<bansho::THForm>(*main);
        hist->ShowHistory();
        QApplication::processEvents();
    }
    ~Windows() {
        hist.reset();
        main->hide();
        main.reset();
    }
    CalcEngine& Engine() { return main->Engine(); }

    // Rows as the input receipt records them: the number shown, with "+" pending.
    void Append(int n) {
        CalcEngine& e = Engine();
        e.Status().PendOpe = '+';
        for (int i = 0; i < n; ++i) {
            e.DispNum.Text = std::to_string(1000 + i % 9000) + ".25";
            e.AddHistoryEntry();
        }
    }
};

Windows& Shared() {
    static Windows* w = new Windows; // kept to the end: destroyed after QApplication it crashes
    return *w;
}

// A full receipt in the shared windows (built once, reused by the benchmarks that need one).
Windows& WithMillion() {
    Windows& w = Shared();
    if (w.Engine().HistoryCount() < static_cast<std::size_t>(kRows)) {
        w.Engine().ClearHistory();
        w.Append(kRows);
        QApplication::processEvents();
    }
    return w;
}

void BM_AppendMillionRows(benchmark::State& state) {
    Windows& w = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        w.Engine().ClearHistory();
        QApplication::processEvents();
        state.ResumeTiming();
        w.Append(kRows);
        QApplication::processEvents(); // the list shows the new last row
    }
    state.counters["rows"] = static_cast<double>(w.hist->HistWin->Count());
    state.counters["per_row"] = benchmark::Counter(
        kRows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AppendMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RecalcMillionRows(benchmark::State& state) {
    Windows& w = WithMillion();
    w.main->Option().HistSet = 2;
    for (auto _ : state) {
        w.hist->RecalcHistory();
        QApplication::processEvents();
    }
    state.counters["rows"] = static_cast<double>(w.Engine().HistoryCount());
    state.SetLabel(w.Engine().Display().Caption);
}
BENCHMARK(BM_RecalcMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);

// One more row typed at the end of a full receipt, painted.
void BM_AppendOneAtMillion(benchmark::State& state) {
    Windows& w = WithMillion();
    for (auto _ : state) {
        w.Append(1);
        w.hist->HistWin->viewport()->repaint();
    }
    state.counters["rows"] = static_cast<double>(w.Engine().HistoryCount());
}
BENCHMARK(BM_AppendOneAtMillion)->Unit(benchmark::kMicrosecond);

// Jumping to another place of a full receipt and painting it.
void BM_ScrollAtMillion(benchmark::State& state) {
    Windows& w = WithMillion();
    QScrollBar* bar = w.hist->HistWin->verticalScrollBar();
    int step = 0;
    for (auto _ : state) {
        bar->setValue(
            static_cast<int>((static_cast<long long>(step++) * 7919 * 127) % (bar->maximum() + 1)));
        w.hist->HistWin->viewport()->repaint();
    }
}
BENCHMARK(BM_ScrollAtMillion)->Unit(benchmark::kMicrosecond);

// Selecting the previous row (Up), which runs the equals step first.
void BM_SelectPreviousAtMillion(benchmark::State& state) {
    Windows& w = WithMillion();
    w.main->WinOptions().Cycle = true;
    for (auto _ : state) {
        w.hist->SelectPrevious();
        w.hist->HistWin->viewport()->repaint();
    }
}
BENCHMARK(BM_SelectPreviousAtMillion)->Unit(benchmark::kMicrosecond);

// Deleting the first row of a full receipt (the lists close up) without the re-total.
void BM_RemoveFirstRowAtMillion(benchmark::State& state) {
    Windows& w = WithMillion();
    for (auto _ : state) {
        w.Engine().RemoveHistoryEntry(0);
        w.hist->HistWin->viewport()->repaint();
        state.PauseTiming();
        w.Append(1);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RemoveFirstRowAtMillion)->Unit(benchmark::kMicrosecond);

// Exchanging the first two rows of a full receipt (the move) without the re-total.
void BM_SwapFirstRowsAtMillion(benchmark::State& state) {
    Windows& w = WithMillion();
    for (auto _ : state) {
        w.Engine().SwapHistoryEntries(0, 1);
        w.hist->HistWin->viewport()->repaint();
    }
}
BENCHMARK(BM_SwapFirstRowsAtMillion)->Unit(benchmark::kMicrosecond);

// Emptying a full receipt (HC without the rest of the command), and filling it again untimed.
void BM_ClearMillionRows(benchmark::State& state) {
    Windows& w = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        WithMillion();
        state.ResumeTiming();
        w.Engine().ClearHistory();
        w.hist->HistWin->viewport()->repaint();
    }
}
BENCHMARK(BM_ClearMillionRows)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bansho::platform::InstallFontSubstitutions();
    bansho::platform::SetMessageHook([](const bansho::platform::MessageRequest&) { return false; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
