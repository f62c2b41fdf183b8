// The Go command without windows on the largest worksheet: 1000 shares x 10 periods.
#include "core/optimizer/GoCommand.h"
#include "core/worksheet/WorksheetTable.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace korvel;

// Per-period returns in percent with two decimals, as a user types them: each
// share has its own mean and spread, so the optimum mixes several shares.
// A scale of 0.01 gives small returns typed to two decimals ("0.01", "-0.02",
// "0.00"): many ties and zero steps, the most pivots found among a few hundred
// random worksheets.
WorksheetTable RandomSheet(int32_t shares, int32_t periods, uint32_t seed, double scale = 1.0) {
    std::mt19937 random(seed);
    std::normal_distribution<double> shareMean(1.0, 1.5);
    std::uniform_real_distribution<double> shareSpread(0.5, 8.0);
    WorksheetTable sheet(shares + 1, periods + 2);
    char text[32];
    for (int32_t i = 1; i <= shares; ++i) {
        sheet.SetTextMatrix(i, 1, "Share " + std::to_string(i));
        std::normal_distribution<double> period(shareMean(random), shareSpread(random));
        for (int32_t p = 1; p <= periods; ++p) {
            std::snprintf(text, sizeof text, "%.2f", period(random) * scale);
            sheet.SetTextMatrix(i, p + 1, text);
        }
    }
    return sheet;
}

// Every share moves with the same pattern and a higher mean than the one
// before, so in exact arithmetic every share column is an alternative optimum.
// The big M's rounding noise (reduced costs near 1e-8) leaves a few dozen of
// them within the walk's 1e-10: the walk pivots and shows a solution each time.
WorksheetTable StaircaseSheet(int32_t shares, int32_t periods) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> pattern(-500, 500);
    std::vector<int> base(static_cast<size_t>(periods));
    for (int& b : base)
        b = pattern(random);
    WorksheetTable sheet(shares + 1, periods + 2);
    char text[32];
    for (int32_t i = 1; i <= shares; ++i) {
        sheet.SetTextMatrix(i, 1, "Share " + std::to_string(i));
        for (int32_t p = 1; p <= periods; ++p) {
            std::snprintf(text, sizeof text, "%.2f", (base[static_cast<size_t>(p - 1)] + i) * 0.01);
            sheet.SetTextMatrix(i, p + 1, text);
        }
    }
    return sheet;
}

class ContinueAlways : public SolutionPresenter {
public:
    PresenterAnswer Present(const SolutionRecord&) override { return PresenterAnswer::Continue; }
};

void RunGoOn(benchmark::State& state, const WorksheetTable& sheet, const std::string& minReturn) {
    SolutionRecord record;
    ContinueAlways presenter;
    GoResult result;
    for (auto _ : state) {
        result = RunGo(minReturn, sheet, record, presenter);
        benchmark::DoNotOptimize(result.solutionsShown);
    }
    state.counters["solvePivots"] = static_cast<double>(result.solvePivots);
    state.counters["walkPivots"] = result.walkPivots;
    state.counters["shown"] = result.solutionsShown;
    state.counters["done"] = result.outcome == GoOutcome::Done;
}

void BM_Go_1000x10(benchmark::State& state) {
    static const WorksheetTable sheet = RandomSheet(1000, 10, static_cast<uint32_t>(state.range(0)));
    RunGoOn(state, sheet, "1");
}
BENCHMARK(BM_Go_1000x10)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_Go_1000x10_Coarse(benchmark::State& state) {
    static const WorksheetTable sheet = RandomSheet(1000, 10, 13, 0.01);
    RunGoOn(state, sheet, "0.01");
}
BENCHMARK(BM_Go_1000x10_Coarse)->Unit(benchmark::kMicrosecond);

void BM_Go_1000x10_Staircase(benchmark::State& state) {
    static const WorksheetTable sheet = StaircaseSheet(1000, 10);
    RunGoOn(state, sheet, "0.01");
}
BENCHMARK(BM_Go_1000x10_Staircase)->Unit(benchmark::kMicrosecond);

// The parts of one Go on the realistic worksheet.
void BM_Validate_1000x10(benchmark::State& state) {
    static const WorksheetTable sheet = RandomSheet(1000, 10, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(ValidateInput("1", sheet).ok());
}
BENCHMARK(BM_Validate_1000x10)->Unit(benchmark::kMicrosecond);

void BM_BuildTableau_1000x10(benchmark::State& state) {
    static const WorksheetTable sheet = RandomSheet(1000, 10, 1);
    for (auto _ : state) {
        Tableau t = MakeTableauFor(sheet);
        BuildTableau(t, sheet, 1.0);
        benchmark::DoNotOptimize(t.At(t.ZRow(), 0));
    }
}
BENCHMARK(BM_BuildTableau_1000x10)->Unit(benchmark::kMicrosecond);

void BM_Pivot_1000x10(benchmark::State& state) {
    static const WorksheetTable sheet = RandomSheet(1000, 10, 1);
    Tableau t = MakeTableauFor(sheet);
    BuildTableau(t, sheet, 1.0);
    for (auto _ : state) {
        // Pivoting on the budget row's share column and back keeps the tableau sane.
        Pivot(t, 1, 1);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Pivot_1000x10)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
