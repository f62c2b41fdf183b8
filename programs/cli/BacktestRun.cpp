#include "programs/cli/BacktestRun.h"

#include "core/backtest/Schedule.h"
#include "core/backtest/WorkerPool.h"
#include "core/optimizer/Frontier.h"
#include "core/optimizer/Validation.h"
#include "core/text/NumberText.h"
#include "programs/cli/BacktestWindow.h"
#include "programs/cli/MeasureSetup.h"
#include "programs/cli/OutputFormat.h"
#include "programs/cli/SolveCommand.h"

namespace korvel::cli {
namespace {

using backtest::Rebalance;
using backtest::Schedule;

// Each rebalance keeps four weights per share (the strategy's and equal
// weights', at the rebalance and drifted): some 320 MB at this bound.
constexpr int64_t kMaxHeldWeights = 10'000'000;

// What each window was solved for, as the header and the part files name it.
std::string GoalText(const SolveOptions& request, const std::string& minReturn) {
    std::string goal = request.leastRisk   ? std::string("least-risk")
                       : request.bestRatio ? "best-ratio over " + text::ShortestText(request.riskFree)
                                           : "min-return " + minReturn;
    if (const std::string measure = PrintedMeasure(request); !measure.empty())
        goal += ", risk " + measure;
    if (request.minWeight || request.maxWeight || !request.boundsFile.empty())
        goal += ", bounded weights";
    return goal;
}

// Where a rebalance stands, for messages: its date, or the returns before it.
std::string RebalanceName(const backtest::Setup& setup, int32_t at) {
    return setup.dates.empty() ? "the rebalance after period " + std::to_string(at)
                               : "the rebalance of " + NameText(setup.dates[static_cast<size_t>(at - 1)]);
}

BacktestFailure Rejected(std::string message) {
    return {kExitRejected, std::move(message)};
}

// The history out of sample must leave every holding something.
BacktestFailure CheckHeld(const ShareReturns& returns, const backtest::Setup& setup) {
    ReturnCell bad;
    if (backtest::HeldReturnsSound(returns, setup.window, bad))
        return {};
    const std::string when = setup.dates.empty() ? "period " + std::to_string(bad.period)
                                                 : NameText(setup.dates[static_cast<size_t>(bad.period - 1)]);
    return Rejected("share \"" + NameText(setup.names[static_cast<size_t>(bad.row - 1)]) + "\", " + when
                    + ": a return of -100 percent or less leaves a holding nothing to drift with");
}

backtest::Setup SetupOf(const BacktestOptions& options, const InputReturns& input, const text::TextDetails& details,
                        const std::string& minReturn) {
    backtest::Setup setup;
    setup.goal = GoalText(options.solve, minReturn);
    setup.periods = input.returns.periods;
    setup.window = *options.window;
    setup.every = *options.every;
    setup.costBps = options.costBps;
    setup.names = input.names;
    if (details.dates.size() == static_cast<size_t>(setup.periods))
        setup.dates = details.dates;
    return setup;
}

}  // namespace

BacktestFailure RunRebalances(const BacktestOptions& options, const InputReturns& input,
                              const text::TextDetails& details, backtest::Part& part) {
    const std::string minReturn = options.solve.minReturn.value_or(input.minReturnText);
    part.setup = SetupOf(options, input, details, minReturn);
    const Schedule schedule{part.setup.periods, *options.window, *options.every};
    if (!options.solve.leastRisk && !options.solve.bestRatio && minReturn.empty())
        return Rejected("the input has no Min Return: give --min-return R, --least-risk or --best-ratio");
    WeightBounds bounds;
    if (std::string why; !MakeWeightBounds(options.solve, input.names, bounds, why))
        return Rejected(why);
    if (const std::string why = backtest::ScheduleError(schedule); !why.empty())
        return Rejected(why);
    const ShareReturns& returns = input.returns;
    if (std::string message; !ReturnsAreNumbers(returns, message))
        return Rejected(message);
    if (BacktestFailure held = CheckHeld(returns, part.setup); held.status)
        return held;

    part.total = backtest::RebalanceCount(schedule);
    if (static_cast<int64_t>(part.total) * returns.shares > kMaxHeldWeights)
        return Rejected(std::to_string(part.total) + " rebalances of " + std::to_string(returns.shares)
                        + " shares are more weights than a backtest keeps (" + std::to_string(kMaxHeldWeights)
                        + "): rebalance less often");
    part.index = options.part ? options.part : 1;
    part.count = options.part ? options.parts : 1;
    const backtest::Slice slice = backtest::SliceOf(part.total, part.index, part.count);
    part.first = slice.begin;
    part.rebalances.assign(static_cast<size_t>(slice.end - slice.begin), Rebalance{});
    std::vector<WindowSolve> solves(part.rebalances.size());
    const int32_t threads = options.threads ? options.threads : backtest::CoreCount();
    backtest::RunJobs(slice.end - slice.begin, threads, [&](int32_t k) {
        const int32_t r = slice.begin + k;
        const int32_t at = backtest::RebalanceAt(schedule, r), end = backtest::HoldEnd(schedule, r);
        WindowSolve& solve = solves[static_cast<size_t>(k)];
        solve = SolveWindow(options.solve, minReturn, input.names, WindowReturns(returns, at - *options.window, at),
                            bounds);
        Rebalance& rebalance = part.rebalances[static_cast<size_t>(k)];
        rebalance.at = at;
        rebalance.reached = !solve.weights.empty();
        rebalance.equal = backtest::Hold(returns, backtest::EqualWeights(returns.shares), at, end);
        rebalance.strategy =
            rebalance.reached ? backtest::Hold(returns, std::move(solve.weights), at, end) : rebalance.equal;
    });
    for (size_t k = 0; k < solves.size(); ++k) {
        const WindowSolve& solve = solves[k];
        if (part.rebalances[k].reached || solve.outcome == GoOutcome::NoSolution)
            continue;
        const int status = SolveExitStatus(solve.outcome);
        return {status ? status : kExitUnsound,
                RebalanceName(part.setup, part.rebalances[k].at) + ": " + solve.message};
    }
    return {};
}

}  // namespace korvel::cli
