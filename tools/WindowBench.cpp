// What a user waits for in the windows: a keystroke with its repaint, fitting the display
// font to every window width from 280 to 3840 pixels, a zoom step of the window, and the
// window actions on a receipt of 1,000,000 rows (a key typed, HC, AC, copy, delete, move).
// Runs offscreen; beeps and message boxes are switched off.
#include "Beep.h"
#include "CalcEngine.h"
#include "DisplayFontMeasure.h"
#include "Fonts.h"
#include "KeyMapping.h"
#include "LayoutRule.h"
#include "MessageBoxes.h"
#include "ReceiptListView.h"
#include "THForm.h"
#include "TMForm.h"

#include <QApplication>
#include <QLabel>
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
    CalcEngine& Engine() { return main->Engine(); }

    // Input-receipt rows as typing records them: the number shown, with "+" pending.
    void Append(int n) {
        CalcEngine& e = Engine();
        const char pend = e.Status().PendOpe;
        e.Status().PendOpe = '+';
        for (int i = 0; i < n; ++i) {
            e.DispNum.Text = std::to_string(1000 + i % 9000) + ".25";
            e.AddHistoryEntry();
        }
        e.Status().PendOpe = pend;
    }
    void FillTo(int rows) {
        if (Engine().HistoryCount() > static_cast<std::size_t>(rows)) Engine().ClearHistory();
        Append(rows - static_cast<int>(Engine().HistoryCount()));
        QApplication::processEvents();
    }
    // One key as the main window gets it, and the repaint that shows it.
    void Key(int code) {
        main->FormKeyDown(code, 0);
        main->repaint();
        hist->HistWin->viewport()->repaint();
    }
};

Windows& Shared() {
    static Windows* w = new Windows; // kept until the end: Qt's statics go first
    return *w;
}

// ---- The display font and the layout rule ----

bansho::DisplayFontMeasure DisplayFont() {
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    return bansho::MeasureWithFont(f);
}

// Dragging the window wider: each width starts from the size fitted to the one before.
void BM_FitFontEveryWidth(benchmark::State& state) {
    const auto m = DisplayFont();
    for (auto _ : state) {
        int size = 64;
        for (int w = 280; w <= 3840; ++w)
            size = bansho::FitDisplayFontSize(size, w, m.sampleWidth);
        benchmark::DoNotOptimize(size);
    }
    state.SetItemsProcessed(state.iterations() * (3840 - 280 + 1));
    state.SetLabel("items = widths fitted");
}
BENCHMARK(BM_FitFontEveryWidth)->Unit(benchmark::kMillisecond);

// A jump to a width from the design font (a settings file with another width, a zoom key).
void BM_FitFontFromDesignSize(benchmark::State& state) {
    const auto m = DisplayFont();
    const int width = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(bansho::FitDisplayFontSize(64, width, m.sampleWidth));
}
BENCHMARK(BM_FitFontFromDesignSize)
    ->Arg(280)
    ->Arg(600)
    ->Arg(1920)
    ->Arg(3840)
    ->Unit(benchmark::kMicrosecond);

// The whole layout rule for every width, as a drag through all of them computes it.
void BM_LayoutRuleEveryWidth(benchmark::State& state) {
    const auto m = DisplayFont();
    for (auto _ : state) {
        bansho::LayoutInput in;
        for (int w = 280; w <= 3840; ++w) {
            in.width = w;
            in.fontSize = bansho::ComputeLayout(in, m).fontSize;
        }
        benchmark::DoNotOptimize(in.fontSize);
    }
    state.SetItemsProcessed(state.iterations() * (3840 - 280 + 1));
}
BENCHMARK(BM_LayoutRuleEveryWidth)->Unit(benchmark::kMillisecond);

// Command 90 or 91 (wider or narrower by MoveDot pixels), laid out and painted.
void BM_ZoomStep(benchmark::State& state) {
    Windows& w = Shared();
    int step = 0;
    for (auto _ : state) {
        w.main->ExecCommand((step++ / 20) % 2 == 0 ? 90 : 91);
        w.main->repaint();
    }
    state.SetLabel("width " + std::to_string(w.main->width()));
}
BENCHMARK(BM_ZoomStep)->Unit(benchmark::kMicrosecond);

// ---- Keystrokes ----

// A digit and C, each with its repaint (the history is empty).
void BM_KeystrokeDigit(benchmark::State& state) {
    Windows& w = Shared();
    w.Engine().AllClear();
    w.Engine().ClearHistory();
    for (auto _ : state) {
        w.Key(vk::Key0 + 5);
        w.Key(vk::End);
    }
    state.SetItemsProcessed(state.iterations() * 2);
    state.SetLabel("items = keystrokes");
}
BENCHMARK(BM_KeystrokeDigit)->Unit(benchmark::kMicrosecond);

// "1" then "+" in the input receipt: each "+" records a row and adds it to the running total.
void BM_KeystrokeOperator(benchmark::State& state) {
    Windows& w = Shared();
    w.main->Option().HistSet = 2;
    w.Engine().AllClear();
    for (auto _ : state) {
        w.Key(vk::Key0 + 1);
        w.Key(vk::Add);
    }
    state.SetItemsProcessed(state.iterations() * 2);
    w.Engine().AllClear();
}
BENCHMARK(BM_KeystrokeOperator)->Unit(benchmark::kMicrosecond);

// The same with a million rows in the receipt.
void BM_KeystrokeOperatorAtMillion(benchmark::State& state) {
    Windows& w = Shared();
    w.main->Option().HistSet = 2;
    w.FillTo(kRows);
    w.Engine().Status().PendOpe = '+';
    for (auto _ : state) {
        w.Key(vk::Key0 + 1);
        w.Key(vk::Add);
    }
    state.SetItemsProcessed(state.iterations() * 2);
    state.counters["rows"] = static_cast<double>(w.Engine().HistoryCount());
}
BENCHMARK(BM_KeystrokeOperatorAtMillion)->Unit(benchmark::kMicrosecond);

// ---- Window actions on a receipt of a million rows ----

void BM_HCAtMillion(benchmark::State& state) {
    Windows& w = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        w.FillTo(kRows);
        state.ResumeTiming();
        w.main->ExecCommand(26);
        QApplication::processEvents();
        w.hist->HistWin->viewport()->repaint();
    }
}
BENCHMARK(BM_HCAtMillion)->Unit(benchmark::kMillisecond)->Iterations(2);

// AC in the input receipt empties the receipt as well.
void BM_ACAtMillion(benchmark::State& state) {
    Windows& w = Shared();
    w.main->Option().HistSet = 2;
    for (auto _ : state) {
        state.PauseTiming();
        w.FillTo(kRows);
        state.ResumeTiming();
        w.main->ExecCommand(24);
        QApplication::processEvents();
        w.main->repaint();
    }
}
BENCHMARK(BM_ACAtMillion)->Unit(benchmark::kMillisecond)->Iterations(2);

// Copy with the last row selected: every row to the clipboard.
void BM_CopyAllAtMillion(benchmark::State& state) {
    Windows& w = Shared();
    w.FillTo(kRows);
    w.hist->SelectRow(kRows - 1);
    for (auto _ : state) {
        w.hist->CopySelected();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_CopyAllAtMillion)->Unit(benchmark::kMillisecond)->Iterations(3);

// Delete on the first row: the lists close up and the chain is re-totalled.
void BM_DeleteFirstAtMillion(benchmark::State& state) {
    Windows& w = Shared();
    w.main->Option().HistSet = 2;
    w.FillTo(kRows);
    for (auto _ : state) {
        w.hist->SelectRow(0);
        w.hist->DeleteSelected();
        QApplication::processEvents();
        w.main->repaint();
        w.hist->HistWin->viewport()->repaint();
        state.PauseTiming();
        w.Append(1);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteFirstAtMillion)->Unit(benchmark::kMillisecond)->Iterations(3);

// Move up on the second row: two rows change places and the chain is re-totalled.
void BM_MoveUpAtMillion(benchmark::State& state) {
    Windows& w = Shared();
    w.main->Option().HistSet = 2;
    w.FillTo(kRows);
    for (auto _ : state) {
        w.hist->SelectRow(1);
        w.hist->MoveUp();
        QApplication::processEvents();
        w.main->repaint();
        w.hist->HistWin->viewport()->repaint();
    }
}
BENCHMARK(BM_MoveUpAtMillion)->Unit(benchmark::kMillisecond)->Iterations(3);

// Down (select the next row), which runs the equals step first.
void BM_SelectNextAtMillion(benchmark::State& state) {
    Windows& w = Shared();
    w.FillTo(kRows);
    w.hist->SelectRow(0);
    for (auto _ : state) {
        w.hist->SelectNext();
        w.hist->HistWin->viewport()->repaint();
    }
}
BENCHMARK(BM_SelectNextAtMillion)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bansho::platform::InstallFontSubstitutions();
    bansho::platform::SetBeepHook([] {});
    bansho::platform::SetMessageHook([](const bansho::platform::MessageRequest&) { return false; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
