// Cost of the engine's arithmetic: one Calc in each mode, the text conversions on their own,
// and re-totalling an input receipt of 1,000,000 rows.
#include "CalcEngine.h"
#include "NullEngineHost.h"
#include "NumberText.h"
#include "Options.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace bansho;

namespace {

using NullHost = NullEngineHost;

struct Case {
    const char* a;
    const char* b;
    char ope;
};
constexpr Case kCases[] = {
    {"1234.5", "678.25", '+'}, {"20000", "3", '/'},         {"123456789012.5", "7.25", '*'},
    {"0.1", "0.2", '+'},       {"999999.999", "1000", '-'}, {"1", "3", '/'},
    {"8.5", "15", '*'},        {"-42.125", "0.0003", '/'},
};

void CalcInMode(benchmark::State& state, int acount) {
    std::size_t i = 0;
    for (auto _ : state) {
        const Case& c = kCases[i++ % std::size(kCases)];
        TCalcNum dst{c.a, false};
        TCalcNum src{c.b, false};
        CalcNumbers(dst, src, c.ope, ' ', acount, nullptr);
        benchmark::DoNotOptimize(dst);
    }
}

void BM_CalcTruncating(benchmark::State& state) {
    CalcInMode(state, 0);
}
void BM_CalcRounding(benchmark::State& state) {
    CalcInMode(state, 1);
}

void BM_ParseNumber(benchmark::State& state) {
    long double v = 0;
    for (auto _ : state) {
        ParseNumber("123456789.012345", v);
        benchmark::DoNotOptimize(v);
    }
}

void BM_FormatResult(benchmark::State& state) {
    const long double r = 20000.0L / 3.0L;
    bool overflow = false;
    for (auto _ : state) {
        std::string t = FormatResult(r, static_cast<int>(state.range(0)), 15, overflow);
        benchmark::DoNotOptimize(t);
    }
}

// Re-totals an input receipt of one million rows (the history window's recalculation).
void BM_FoldChain1M(benchmark::State& state) {
    TOption option;
    TCalcStatus status;
    SetBuiltInDefaults(option, status);
    SetFileDefaults(option);
    option.Acount = static_cast<std::uint8_t>(state.range(0));
    NullHost host;
    CalcEngine engine(option, status, host);
    engine.AllClear();
    constexpr std::size_t kRows = 1'000'000;
    // Each group of four returns to where it started, so the chain never overflows and
    // every row is really calculated: ((x + 12.5) * 3 - 37.5) / 3 = x.
    static const char* const kNumbers[] = {"12.5", "3", "37.5", "3"};
    static const char kOpes[] = {'+', '*', '-', '/'};
    for (std::size_t i = 0; i < kRows; ++i) {
        engine.InsertHistoryEntry(i);
        engine.ReplaceHistoryEntry(i, kNumbers[i % 4], kOpes[i % 4]);
    }
    for (auto _ : state) {
        engine.RecalcHistory();
        benchmark::DoNotOptimize(engine.ResNum);
    }
    if (engine.ResNum.Error) state.SkipWithError("the chain overflowed");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kRows));
}

} // namespace

BENCHMARK(BM_CalcTruncating);
BENCHMARK(BM_CalcRounding);
BENCHMARK(BM_ParseNumber);
BENCHMARK(BM_FormatResult)->Arg(0)->Arg(1);
BENCHMARK(BM_FoldChain1M)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
