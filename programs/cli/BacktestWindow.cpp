#include "programs/cli/BacktestWindow.h"

#include "programs/cli/SolveCommand.h"
#include "programs/cli/SolveOutput.h"

namespace korvel::cli {

WorksheetTable WindowTable(const WorksheetTable& table, int32_t begin, int32_t end) {
    WorksheetTable window(table.Rows(), end - begin + 2);
    for (int32_t row = 1; row < table.Rows(); ++row) {
        window.SetTextMatrix(row, 1, table.TextMatrix(row, 1));
        for (int32_t p = begin; p < end; ++p)
            window.SetTextMatrix(row, p - begin + 2, table.TextMatrix(row, p + 2));
    }
    return window;
}

WindowSolve SolveWindow(const SolveOptions& request, const std::string& minReturn, const WorksheetTable& window,
                        const WeightBounds& bounds) {
    const SolveRun run = SolveTable(request, minReturn, window, bounds);
    WindowSolve solve{run.go.outcome, run.go.message, {}};
    // Go shows every alternative optimum with a rising return; the first is held.
    if (run.solutions.empty())
        return solve;
    const SolutionRecord& first = run.solutions.front();
    solve.weights.assign(static_cast<size_t>(window.Rows() - 1), 0.0);
    for (int32_t k = 0; k < first.shareCount; ++k)
        solve.weights[static_cast<size_t>(first.shares[static_cast<size_t>(k)].row - 1)] =
            first.shares[static_cast<size_t>(k)].solverWeight;
    return solve;
}

}  // namespace korvel::cli
