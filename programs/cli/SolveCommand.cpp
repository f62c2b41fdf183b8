#include "programs/cli/SolveCommand.h"

#include "core/optimizer/BestRatio.h"
#include "core/optimizer/Frontier.h"
#include "core/text/NumberText.h"
#include "core/worksheet/WorksheetRules.h"
#include "programs/cli/CommandRun.h"
#include "programs/cli/DataInput.h"
#include "programs/cli/FrontierCommand.h"
#include "programs/cli/MeasureSetup.h"
#include "programs/cli/SolveOptions.h"
#include "programs/cli/SolveOutput.h"

#include <algorithm>
#include <cmath>
#include <ostream>

namespace korvel::cli {
namespace {

// Answers Continue to every solution, as a user pressing "&Continue" would.
// Every record reaching it has passed the optimizer's check against the data.
class CollectingPresenter : public SolutionPresenter {
public:
    explicit CollectingPresenter(std::vector<SolutionRecord>& records) : m_records(records) {}
    PresenterAnswer Present(const SolutionRecord& record) override {
        m_records.push_back(record);
        return PresenterAnswer::Continue;
    }

private:
    std::vector<SolutionRecord>& m_records;
};

int ExitStatus(GoOutcome outcome) {
    switch (outcome) {
    case GoOutcome::Invalid:
    case GoOutcome::NotFinite:
        return kExitRejected;
    case GoOutcome::Unsound:
        return kExitUnsound;
    case GoOutcome::PivotLimit:
        return kExitPivotLimit;
    case GoOutcome::Done:
    case GoOutcome::NoSolution:
    case GoOutcome::Unbounded:
        break;
    }
    return kExitRan;
}

// What the Go command's own message leaves out: what is within reach, or
// what a Min Return looks like.
std::string GoNote(const GoResult& go, const std::string& bestShare) {
    if (go.outcome == GoOutcome::NoSolution)
        return bestShare;
    if (go.outcome == GoOutcome::Invalid && go.message == "MinReturn not valid !")
        return kMinReturnForms;
    return "";
}

// Go's engine keeps the worksheet's sizes, where it is exact and shows every
// alternative optimum as Tavo does; beyond them the frontier's solver is both.
bool GoesToGo(const SolveOptions& options, const ShareReturns& returns) {
    return !options.leastRisk && !options.UsesMeasureSolver() && returns.shares <= kMaxShares
           && returns.periods <= kMaxPeriods;
}

GoOutcome AsGoOutcome(FrontierOutcome outcome) {
    switch (outcome) {
    case FrontierOutcome::Done:
        return GoOutcome::Done;
    case FrontierOutcome::Invalid:
        return GoOutcome::Invalid;
    case FrontierOutcome::NoSolution:
        return GoOutcome::NoSolution;
    case FrontierOutcome::CheckFailed:
        return GoOutcome::Unsound;
    case FrontierOutcome::PivotLimit:
        return GoOutcome::PivotLimit;
    }
    return GoOutcome::Unsound;
}

SolutionRecord AsRecord(const FrontierPoint& point, const std::vector<std::string>& names) {
    SolutionRecord record;
    record.shares.resize(std::max(point.shares.size(), record.shares.size()));
    record.shareCount = static_cast<int32_t>(point.shares.size());
    record.averageReturn = point.averageReturn;
    record.lineDeviation = point.lineDeviation;
    record.ownAverageReturn = point.averageReturn;
    record.ownLineDeviation = point.lineDeviation;
    for (size_t k = 0; k < point.shares.size(); ++k) {
        const FrontierShare& share = point.shares[k];
        record.shares[k] = {names[static_cast<size_t>(share.row - 1)], static_cast<float>(share.weight), share.row,
                            share.weight};
    }
    return record;
}

// The Min Return as Go reads it, less its rule that the bound be positive
// (a falling market's least-deviation portfolio has a negative mean); without
// one (--least-risk) the bound is below every mean.
bool ReadBound(const SolveOptions& options, const std::string& text, double& bound) {
    bound = -INFINITY;
    return options.leastRisk || text::ReadsAsWorksheetNumber(text, bound);
}

// One least-deviation portfolio on data of any size: the frontier's point at
// the Min Return, or its lowest point.
SolveRun SolveStructured(const SolveOptions& options, const std::string& minReturn,
                         const std::vector<std::string>& names, ShareReturns&& returns, const WeightBounds& bounds) {
    SolveRun run;
    FrontierRequest request;
    request.firstOnly = true;
    if (!ReadBound(options, minReturn, request.from)) {
        run.go.outcome = GoOutcome::Invalid;
        run.go.message = kMsgMinReturnNotValid;
    } else if (!ReturnsAreNumbers(returns, run.go.message)) {
        run.go.outcome = GoOutcome::Invalid;
    } else {
        const FrontierResult frontier = SolveFrontier(options, std::move(returns), bounds, request);
        run.go.outcome = AsGoOutcome(frontier.outcome);
        run.go.message = frontier.message;
        run.go.solvePivots = frontier.pivots;
        for (const FrontierPoint& point : frontier.points)
            run.solutions.push_back(AsRecord(point, names));
    }
    run.go.solutionsShown = static_cast<int>(run.solutions.size());
    return run;
}

std::string RatioNote(const BestRatio& best, const FrontierResult& frontier, const SolveOptions& options) {
    const std::string where = best.point == 0 ? "the least-risk end of the frontier"
                                              : "breakpoint " + std::to_string(best.point + 1) + " of the frontier's "
                                                    + std::to_string(frontier.points.size());
    return "Best ratio " + text::ShortestText(best.ratio) + " (average return - " + text::ShortestText(options.riskFree)
           + ") / " + (options.measure.kind == RiskKind::Mad ? std::string("line deviation") : "risk") + ", at "
           + where;
}

// The whole frontier, then its breakpoint with the best ratio.
SolveRun SolveBestRatio(const SolveOptions& options, const std::vector<std::string>& names, ShareReturns&& returns,
                        const WeightBounds& bounds) {
    SolveRun run;
    if (!ReturnsAreNumbers(returns, run.go.message)) {
        run.go.outcome = GoOutcome::Invalid;
        return run;
    }
    const FrontierResult frontier = SolveFrontier(options, std::move(returns), bounds, {});
    run.go.outcome = AsGoOutcome(frontier.outcome);
    run.go.message = frontier.message;
    run.go.solvePivots = frontier.pivots;
    if (frontier.outcome != FrontierOutcome::Done)
        return run;
    const BestRatio best = FindBestRatio(frontier.points, options.riskFree);
    if (best.outcome == RatioOutcome::Found) {
        run.solutions.push_back(AsRecord(frontier.points[best.point], names));
        run.note = run.go.message = RatioNote(best, frontier, options);
    } else {
        run.go.outcome = GoOutcome::NoSolution;
        run.go.message = best.outcome == RatioOutcome::NoExcess
                             ? "No solution: no portfolio returns more than the risk-free rate"
                             : "No solution: a portfolio returns more than the risk-free rate at no positive risk, "
                               "so no ratio is highest";
    }
    run.go.solutionsShown = static_cast<int>(run.solutions.size());
    return run;
}

SolveRun SolveWithGo(const std::string& minReturn, const std::vector<std::string>& names, const ShareReturns& returns) {
    SolveRun run;
    SolutionRecord record;
    CollectingPresenter presenter(run.solutions);
    run.go = RunGo(minReturn, GoTable(names, returns), record, presenter);
    return run;
}

int Solve(const SolveOptions& options, std::ostream& out, std::ostream& err) {
    InputReturns input;
    text::TextDetails details;
    switch (LoadReturns("korvel-solve", options.file, options.input, text::kLargeLimits, input, details, err)) {
    case InputStatus::Rejected:
        return kExitRejected;
    case InputStatus::Unreadable:
        return kExitUnreadable;
    case InputStatus::Loaded:
        break;
    }
    WeightBounds bounds;
    std::string error;
    if (!MakeWeightBounds(options, input.names, bounds, error)) {
        err << "korvel-solve: " << error << "\n";
        return kExitRejected;
    }
    if (options.frontier)
        return RunFrontierCommand(options, input, details, bounds, out, err);
    const std::string minReturn = options.minReturn.value_or(input.minReturnText);
    // Said only when nothing reaches the Min Return, but known only before
    // the solver takes the returns over.
    const bool noted = !options.UsesMeasureSolver() && !options.bestRatio;
    const std::string bestShare = noted ? BestShareNote(input.names, input.returns) : "";
    SolveRun run = SolveTable(options, minReturn, input.names, std::move(input.returns), bounds);
    run.frame = FrameOf(input.names, details.dates);
    run.frame.riskMeasure = PrintedMeasure(options);

    const int status = ExitStatus(run.go.outcome);
    if (options.json) {
        out << FormatJson(run);
    } else if (options.csv) {
        // Standard output stays CSV only; a closing message goes with the reasons.
        PrintCsv(out, run, options.wide ? CsvForm::Wide : CsvForm::Long);
        if (!run.go.message.empty())
            err << "korvel-solve: " << run.go.message << "\n";
    } else {
        out << FormatText(run);
        if (status != kExitRan)
            err << "korvel-solve: " << run.go.message << "\n";
    }
    const std::string note = noted ? GoNote(run.go, bestShare) : "";
    if (!note.empty())
        err << "korvel-solve: " << note << "\n";
    return status;
}

}  // namespace

SolveRun SolveTable(const SolveOptions& options, const std::string& minReturn, const std::vector<std::string>& names,
                    ShareReturns&& returns, const WeightBounds& bounds) {
    if (options.bestRatio)
        return SolveBestRatio(options, names, std::move(returns), bounds);
    return GoesToGo(options, returns) ? SolveWithGo(minReturn, names, returns)
                                      : SolveStructured(options, minReturn, names, std::move(returns), bounds);
}

int SolveExitStatus(GoOutcome outcome) {
    return ExitStatus(outcome);
}

int RunSolveCommand(const SolveOptions& options, std::ostream& out, std::ostream& err) {
    return RunCommand("korvel-solve", options.help, kSolveUsage, out, err, [&] { return Solve(options, out, err); });
}

int RunSolveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SolveOptions options;
    std::string error;
    if (!ParseSolveArguments(args, options, error))
        return ReportSolveUsageError(error, err);
    return RunSolveCommand(options, out, err);
}

}  // namespace korvel::cli
