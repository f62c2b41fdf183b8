// The risk measures' solver in process, on returns held in memory: the
// single portfolio at a Min Return and the whole frontier, without the
// process start and the reading of the text that korvel-solve adds. With
// KORVEL_BENCH_RETURNS naming a returns CSV (compare_highs.py's: a header
// line, then a name and the returns per line) it solves those instead, and
// with KORVEL_BENCH_MAX_WEIGHT every weight is bounded by it.
#include "core/optimizer/MeasureSolver.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace {

using namespace korvel;

// Percent returns of compare_highs.py's form: three market factors, a drift
// per share and noise of its own (another generator, the same law).
ShareReturns FactorReturns(int32_t shares, int32_t periods, uint32_t seed) {
    std::mt19937_64 random(seed);
    std::normal_distribution<double> factor(0.02, 1.0), drift(0.03, 0.02), noise(0.0, 2.0);
    std::uniform_real_distribution<double> beta(0.2, 1.2);
    std::vector<double> factors(3 * static_cast<size_t>(periods));
    for (double& f : factors)
        f = factor(random);
    ShareReturns returns;
    returns.shares = shares;
    returns.periods = periods;
    for (int32_t i = 0; i < shares; ++i) {
        const double b[3] = {beta(random), beta(random), beta(random)};
        const double d = drift(random);
        for (int32_t p = 0; p < periods; ++p) {
            double r = d + noise(random);
            for (int k = 0; k < 3; ++k)
                r += b[k] * factors[static_cast<size_t>(k * periods + p)];
            returns.values.push_back(r);
        }
    }
    return returns;
}

// Empty when the file does not read as a table of numbers.
ShareReturns CsvReturns(const char* path) {
    std::ifstream in(path);
    std::string line;
    ShareReturns returns;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string field;
        std::getline(fields, field, ',');
        int32_t periods = 0;
        for (; std::getline(fields, field, ','); ++periods)
            returns.values.push_back(std::strtod(field.c_str(), nullptr));
        if (returns.shares > 0 && periods != returns.periods)
            return {};
        returns.periods = periods;
        ++returns.shares;
    }
    return returns;
}

const ShareReturns& BenchReturns() {
    static const ShareReturns returns = [] {
        const char* path = std::getenv("KORVEL_BENCH_RETURNS");
        return path ? CsvReturns(path) : FactorReturns(500, 520, 23);
    }();
    return returns;
}

const RiskMeasure kMeasures[] = {
    {RiskKind::Cvar, 0.05, 0.0}, {RiskKind::Downside, 0.05, 0.0}, {RiskKind::Worst, 0.05, 0.0}};

void Run(benchmark::State& state, bool single) {
    const ShareReturns& returns = BenchReturns();
    const RiskMeasure measure = kMeasures[state.range(0)];
    const char* maxWeight = std::getenv("KORVEL_BENCH_MAX_WEIGHT");
    const WeightBounds bounds =
        maxWeight ? UniformBounds(returns.shares, 0.0, std::strtod(maxWeight, nullptr)) : WeightBounds{};
    FrontierRequest request;
    if (single)
        request = {0.05, true};
    FrontierResult result;
    for (auto _ : state) {
        result = ComputeMeasureFrontier(returns, measure, bounds, request);
        benchmark::DoNotOptimize(result.points.data());
    }
    state.SetLabel(RiskMeasureName(measure));
    state.counters["points"] = static_cast<double>(result.points.size());
    state.counters["pivots"] = static_cast<double>(result.pivots);
    state.counters["done"] = result.outcome == FrontierOutcome::Done;
}

void BM_MeasureSingle(benchmark::State& state) {
    Run(state, true);
}
void BM_MeasureFrontier(benchmark::State& state) {
    Run(state, false);
}

BENCHMARK(BM_MeasureSingle)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_MeasureFrontier)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
