// The small text work of every keystroke and every history row: thousands separators, the
// aligned history row, comma text of the function-key sets, and a whole keystroke through
// the engine (without a window).
#include "CalcEngine.h"
#include "CommaText.h"
#include "KeyConfig.h"
#include "NullEngineHost.h"
#include "Options.h"
#include "TextFunctions.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace bansho;

namespace {

using NullHost = NullEngineHost;

const char* const kNumbers[] = {
    "8.", "-1234", "1234567.891", "123456789012345.", "-12345678901234.5", "0.00001"};

void BM_InsertThousands(benchmark::State& state) {
    const char* n = kNumbers[state.range(0)];
    for (auto _ : state)
        benchmark::DoNotOptimize(InsertThousands(n));
    state.SetLabel(n);
}
BENCHMARK(BM_InsertThousands)->DenseRange(0, 5);

void BM_HistoryRowText(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(HistoryRowText('*', "-12345678901234.5"));
}
BENCHMARK(BM_HistoryRowText);

void BM_SplitFactoryCaptions(benchmark::State& state) {
    const std::string text(kFactoryFuncDispStr[2]);
    for (auto _ : state)
        benchmark::DoNotOptimize(SplitCommaText(text));
}
BENCHMARK(BM_SplitFactoryCaptions);

void BM_JoinFactoryCaptions(benchmark::State& state) {
    const auto items = SplitCommaText(kFactoryFuncDispStr[2]);
    for (auto _ : state)
        benchmark::DoNotOptimize(JoinCommaText(items));
}
BENCHMARK(BM_JoinFactoryCaptions);

// A digit key and C in the engine alone: entry, display model and marks.
void BM_EngineDigitKey(benchmark::State& state) {
    TOption option;
    TCalcStatus status;
    SetBuiltInDefaults(option, status);
    SetFileDefaults(option);
    NullHost host;
    CalcEngine engine(option, status, host);
    engine.AllClear();
    for (auto _ : state) {
        engine.ExecCommand(5);
        engine.ExecCommand(25);
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_EngineDigitKey);

// "7" then "×" in the input receipt: a row recorded and a product calculated per pair.
void BM_EngineOperatorKey(benchmark::State& state) {
    TOption option;
    TCalcStatus status;
    SetBuiltInDefaults(option, status);
    SetFileDefaults(option);
    option.Acount = static_cast<std::uint8_t>(state.range(0));
    NullHost host;
    CalcEngine engine(option, status, host);
    engine.AllClear();
    long n = 0;
    for (auto _ : state) {
        engine.ExecCommand(1);
        engine.ExecCommand(19);
        if (++n % 1000 == 0) engine.AllClear(); // keeps the receipt short
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_EngineOperatorKey)->Arg(0)->Arg(1);

} // namespace

BENCHMARK_MAIN();
