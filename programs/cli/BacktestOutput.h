#pragma once
// What korvel-backtest prints: the figures of the strategy and of equal
// weights out of sample, as text for people, CSV (one line per period) or
// JSON; one run and the join of its parts print the same bytes.
#include "core/backtest/PartFile.h"
#include "core/backtest/Performance.h"

#include <string>

namespace korvel::cli {

struct BacktestResult {
    const backtest::Setup& setup;
    const std::vector<backtest::Rebalance>& rebalances;
    backtest::Performance strategy;
    backtest::Performance equal;
    int32_t unreached = 0;  // windows where no portfolio reached the Min Return
};

BacktestResult Evaluate(const backtest::Part& whole);

std::string FormatBacktestText(const BacktestResult& result);
std::string FormatBacktestCsv(const BacktestResult& result);
std::string FormatBacktestJson(const BacktestResult& result);

// Each period out of sample as the outputs name it: its date, or its number.
std::string PeriodLabel(const backtest::Setup& setup, int32_t period);

}  // namespace korvel::cli
