#pragma once
// The rebalances of a backtest (all, or one part's slice), each window solved
// on a fixed pool of threads; the same rebalances for any number of threads.
#include "core/backtest/PartFile.h"
#include "core/worksheet/TextImport.h"
#include "programs/cli/BacktestOptions.h"
#include "programs/cli/DataInput.h"

#include <string>

namespace korvel::cli {

struct BacktestFailure {
    int status = 0;  // 0: none
    std::string message;
};

// The slice [first, first + part.rebalances.size()) of the options' part (or
// all of them) into part, with its setup; a failure of the earliest window
// that failed otherwise.
BacktestFailure RunRebalances(const BacktestOptions& options, const InputReturns& input,
                              const text::TextDetails& details, backtest::Part& part);

}  // namespace korvel::cli
