// The whole efficient frontier in process: 1000 x 10 from a worksheet, and
// 2000 x 60 built in memory (beyond the worksheet's limits).
#include "core/optimizer/Frontier.h"
#include "core/worksheet/WorksheetTable.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace {

using namespace korvel;

// Returns in percent with two decimals, as typed: each share has its own mean
// and spread (the same distribution as the Go benchmark's worksheets).
ShareReturns RandomReturns(int32_t shares, int32_t periods, uint32_t seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> shareMean(1.0, 1.5);
    std::uniform_real_distribution<double> shareSpread(0.5, 8.0);
    ShareReturns returns;
    returns.shares = shares;
    returns.periods = periods;
    for (int32_t i = 0; i < shares; ++i) {
        std::normal_distribution<double> period(shareMean(random), shareSpread(random));
        for (int32_t p = 0; p < periods; ++p)
            returns.values.push_back(std::round(period(random) * 100) / 100);
    }
    return returns;
}

WorksheetTable SheetOf(const ShareReturns& returns) {
    WorksheetTable sheet(returns.shares + 1, returns.periods + 2);
    char text[32];
    for (int32_t i = 0; i < returns.shares; ++i) {
        sheet.SetTextMatrix(i + 1, 1, "Share " + std::to_string(i + 1));
        for (int32_t p = 0; p < returns.periods; ++p) {
            std::snprintf(text, sizeof text, "%.2f", returns.At(i, p));
            sheet.SetTextMatrix(i + 1, p + 2, text);
        }
    }
    return sheet;
}

void Report(benchmark::State& state, const FrontierResult& result) {
    state.counters["breakpoints"] = static_cast<double>(result.points.size());
    state.counters["pivots"] = static_cast<double>(result.pivots);
    state.counters["done"] = result.outcome == FrontierOutcome::Done;
}

void BM_Frontier_1000x10_Worksheet(benchmark::State& state) {
    static const WorksheetTable sheet = SheetOf(RandomReturns(1000, 10, 1));
    FrontierResult result;
    for (auto _ : state) {
        result = ComputeFrontier(sheet);
        benchmark::DoNotOptimize(result.points.data());
    }
    Report(state, result);
}
BENCHMARK(BM_Frontier_1000x10_Worksheet)->Unit(benchmark::kMillisecond);

void BM_Frontier_2000x60_InMemory(benchmark::State& state) {
    static const ShareReturns returns = RandomReturns(2000, 60, 1);
    FrontierResult result;
    for (auto _ : state) {
        result = ComputeFrontier(returns);
        benchmark::DoNotOptimize(result.points.data());
    }
    Report(state, result);
}
BENCHMARK(BM_Frontier_2000x60_InMemory)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
