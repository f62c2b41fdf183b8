#pragma once
// One window of a backtest, solved exactly as korvel-solve solves the same
// returns given alone: the same request, the same engine, the same doubles.
#include "core/optimizer/GoCommand.h"
#include "core/optimizer/ShareReturns.h"
#include "core/optimizer/WeightBounds.h"
#include "programs/cli/SolveOptions.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvel::cli {

struct WindowSolve {
    GoOutcome outcome = GoOutcome::Done;
    std::string message;          // why there is no portfolio, as korvel-solve says it
    std::vector<double> weights;  // one per share; empty when no portfolio came out
};

// The returns [begin, end) of every share, as returns of their own.
ShareReturns WindowReturns(const ShareReturns& returns, int32_t begin, int32_t end);

// korvel-solve's first solution on the window of the shares named, with
// request's goal (its Min Return, --least-risk or --best-ratio) and measure,
// each share's weight within bounds, and minReturn as if typed.
WindowSolve SolveWindow(const SolveOptions& request, const std::string& minReturn,
                        const std::vector<std::string>& names, ShareReturns window, const WeightBounds& bounds = {});

}  // namespace korvel::cli
