// A keystroke through the main window with the kept receipt's option on beside the option off:
// real key events (the keypad's "1" and "+") to the main window with the history window shown
// and, with the option on, the keeper attached as the program attaches it, each key with its
// repaint. The input receipt: each "+" records a row, which the keeper writes to the journal.
// Runs offscreen; the journal goes to a folder of its own under $TMPDIR.
#include "Beep.h"
#include "Fonts.h"
#include "KeptReceipt.h"
#include "MessageBoxes.h"
#include "ReceiptListView.h"
#include "THForm.h"
#include "TMForm.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

using namespace bansho;

namespace {

struct Windows {
    QTemporaryDir dir;
    std::unique_ptr<TMForm> main;
    std::unique_ptr<THForm> hist;
    std::unique_ptr<KeptReceipt> kept;

    explicit Windows(bool keep) {
        qputenv("XDG_STATE_HOME", (dir.path() + QStringLiteral("/state")).toUtf8());
        main = std::make_unique<TMForm>(std::filesystem::path(dir.path().toStdString()) /
                                        "bench.ENV");
        main->Option().HistSet = 2;
        main->Option().KeepReceipt = keep;
        main->show();
        hist = std::make_unique<THForm>(*main);
        hist->ShowHistory();
        kept = std::make_unique<KeptReceipt>(*main);
        if (kept->Keeping() != keep) std::abort();
        QApplication::processEvents();
    }
    ~Windows() {
        kept.reset();
        hist.reset();
        main.reset();
        qunsetenv("XDG_STATE_HOME");
    }
    void Key(Qt::Key key) {
        QTest::keyClick(main.get(), key, Qt::KeypadModifier);
        main->repaint();
        hist->HistWin->viewport()->repaint();
    }
};

// "1" then "+", `range(0)` rows already in the receipt.
void Typing(benchmark::State& state, bool keep) {
    Windows w(keep);
    CalcEngine& e = w.main->Engine();
    for (int i = 0; i < state.range(0); ++i) {
        w.Key(Qt::Key_1);
        w.Key(Qt::Key_Plus);
    }
    for (auto _ : state) {
        w.Key(Qt::Key_1);
        w.Key(Qt::Key_Plus);
    }
    state.SetItemsProcessed(state.iterations() * 2);
    state.counters["rows"] = static_cast<double>(e.HistoryCount());
    state.SetLabel("items = keystrokes");
}

void BM_WindowKeystrokeOptionOff(benchmark::State& state) {
    Typing(state, false);
}
void BM_WindowKeystrokeOptionOn(benchmark::State& state) {
    Typing(state, true);
}
BENCHMARK(BM_WindowKeystrokeOptionOff)->Arg(0)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowKeystrokeOptionOn)->Arg(0)->Arg(20000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::InstallFontSubstitutions();
    platform::SetBeepHook([] {});
    platform::SetMessageHook([](const platform::MessageRequest&) { return false; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
