#include "optimizer/core/GoCommand.h"

namespace korvel {
namespace {

GoResult Ended(GoResult result, GoOutcome outcome, const char* message) {
    result.outcome = outcome;
    result.message = message;
    return result;
}

GoOutcome FromEnumeration(EnumerationOutcome outcome) {
    switch (outcome) {
    case EnumerationOutcome::NoSolution: return GoOutcome::NoSolution;
    case EnumerationOutcome::NotFinite: return GoOutcome::NotFinite;
    case EnumerationOutcome::Finished:
    case EnumerationOutcome::Stopped: break;
    }
    return GoOutcome::Done;
}

const char* MessageOf(GoOutcome outcome) {
    switch (outcome) {
    case GoOutcome::NoSolution: return kMsgNoSolution;
    case GoOutcome::NotFinite: return kMsgNotFinite;
    default: return "";
    }
}

}  // namespace

GoResult RunGo(const std::string& minReturnText, const CellSource& cells, SolutionRecord& record,
               SolutionPresenter& presenter, int64_t pivotLimit) {
    GoResult result;
    const ValidationResult validation = ValidateInput(minReturnText, cells);
    result.minReturn = validation.minReturn;
    result.validation = validation.error;
    if (!validation.ok()) {
        result.outcome = GoOutcome::Invalid;
        result.message = validation.message;
        return result;
    }

    Tableau tableau = MakeTableauFor(cells);
    BuildTableau(tableau, cells, validation.minReturn);
    // Finite returns can still overflow in a sum or a product; an infinity or
    // NaN in the tableau would make every later comparison meaningless.
    if (!tableau.AllFinite()) return Ended(result, GoOutcome::NotFinite, kMsgNotFinite);

    switch (Solve(tableau, pivotLimit, &result.solvePivots)) {
    case SolveOutcome::Unbounded: return Ended(result, GoOutcome::Unbounded, kMsgNoSolutionUnbounded);
    case SolveOutcome::PivotLimit: return Ended(result, GoOutcome::PivotLimit, kMsgPivotLimit);
    case SolveOutcome::NotFinite: return Ended(result, GoOutcome::NotFinite, kMsgNotFinite);
    case SolveOutcome::Optimal: break;
    }

    const EnumerationResult walk =
        EnumerateSolutions(tableau, cells, validation.minReturn, record, presenter);
    result.solutionsShown = walk.solutionsShown;
    result.walkPivots = walk.walkPivots;
    result.stoppedByPresenter = walk.outcome == EnumerationOutcome::Stopped;
    const GoOutcome outcome = FromEnumeration(walk.outcome);
    return Ended(result, outcome, MessageOf(outcome));
}

}  // namespace korvel
