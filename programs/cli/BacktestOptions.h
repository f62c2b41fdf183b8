#pragma once
// Command line of korvel-backtest: a rolling out-of-sample backtest over a
// history, its parts for other machines, and the join of those parts.
#include "programs/cli/SolveOptions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvel::cli {

struct BacktestOptions {
    SolveOptions solve;  // each window's request as korvel-solve takes it, the input and the output form
    // Any whole numbers: a schedule they cannot make is the input's fault (exit 1).
    std::optional<int32_t> window;  // returns each portfolio is estimated on
    std::optional<int32_t> every;   // returns between rebalances
    double costBps = 0.0;
    int32_t threads = 0;  // 0: one per core
    int32_t part = 0;     // 1..parts with --part I/N; 0: the whole run
    int32_t parts = 0;
    bool merge = false;
    std::vector<std::string> partFiles;  // with merge
};

bool ParseBacktestArguments(const std::vector<std::string>& args, BacktestOptions& options, std::string& error);

extern const char* const kBacktestUsageLine;
extern const char* const kBacktestUsage;

// A refused command line: the reason and the usage lines on err; the exit status.
int ReportBacktestUsageError(const std::string& error, std::ostream& err);

}  // namespace korvel::cli
