#include "programs/cli/BacktestWindow.h"

#include "programs/cli/SolveCommand.h"
#include "programs/cli/SolveOutput.h"

namespace korvel::cli {

ShareReturns WindowReturns(const ShareReturns& returns, int32_t begin, int32_t end) {
    ShareReturns window;
    window.shares = returns.shares;
    window.periods = end - begin;
    window.values.reserve(static_cast<size_t>(window.shares) * static_cast<size_t>(window.periods));
    for (int32_t share = 0; share < returns.shares; ++share) {
        const auto first = returns.values.begin() + static_cast<std::ptrdiff_t>(share) * returns.periods + begin;
        window.values.insert(window.values.end(), first, first + window.periods);
    }
    return window;
}

WindowSolve SolveWindow(const SolveOptions& request, const std::string& minReturn,
                        const std::vector<std::string>& names, ShareReturns window, const WeightBounds& bounds) {
    const size_t shares = static_cast<size_t>(window.shares);
    const SolveRun run = SolveTable(request, minReturn, names, std::move(window), bounds);
    WindowSolve solve{run.go.outcome, run.go.message, {}};
    // Go shows every alternative optimum with a rising return; the first is held.
    if (run.solutions.empty())
        return solve;
    const SolutionRecord& first = run.solutions.front();
    solve.weights.assign(shares, 0.0);
    for (int32_t k = 0; k < first.shareCount; ++k)
        solve.weights[static_cast<size_t>(first.shares[static_cast<size_t>(k)].row - 1)] =
            first.shares[static_cast<size_t>(k)].solverWeight;
    return solve;
}

}  // namespace korvel::cli
