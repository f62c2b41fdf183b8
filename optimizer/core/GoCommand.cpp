#include "optimizer/core/GoCommand.h"

#include <cmath>

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
    case EnumerationOutcome::Unsound: return GoOutcome::Unsound;
    case EnumerationOutcome::Finished:
    case EnumerationOutcome::Stopped: break;
    }
    return GoOutcome::Done;
}

const char* MessageOf(GoOutcome outcome) {
    switch (outcome) {
    case GoOutcome::NoSolution: return kMsgNoSolution;
    case GoOutcome::NotFinite: return kMsgNotFinite;
    case GoOutcome::Unsound: return kMsgUnsound;
    default: return "";
    }
}

// No weights average more than the highest mean: the model has no portfolio
// at all, whatever the arithmetic of a solve would make of it (a Min Return
// far above returns of another magnitude overflows the pivots).
bool MinReturnAboveEveryMean(const Tableau& t) {
    const double minReturn = t.At(2, 0);
    for (int32_t i = 1; i <= t.Shares(); ++i)
        if (!(t.At(2, i) < minReturn)) return false;
    return true;
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

    const TableauScale scale =
        TableauScale::For(std::fmax(validation.largestReturn, validation.minReturn));
    Tableau tableau = MakeTableauFor(cells);
    BuildTableau(tableau, cells, validation.minReturn, scale.exponent);
    // Finite returns can still overflow in a sum or a product; an infinity or
    // NaN in the tableau would make every later comparison meaningless.
    if (!tableau.AllFinite()) return Ended(result, GoOutcome::NotFinite, kMsgNotFinite);
    if (MinReturnAboveEveryMean(tableau)) return Ended(result, GoOutcome::NoSolution, kMsgNoSolution);

    switch (Solve(tableau, pivotLimit, &result.solvePivots)) {
    case SolveOutcome::Unbounded: return Ended(result, GoOutcome::Unbounded, kMsgNoSolutionUnbounded);
    case SolveOutcome::PivotLimit: return Ended(result, GoOutcome::PivotLimit, kMsgPivotLimit);
    case SolveOutcome::NotFinite: return Ended(result, GoOutcome::NotFinite, kMsgNotFinite);
    case SolveOutcome::Optimal: break;
    }

    const EnumerationResult walk =
        EnumerateSolutions(tableau, cells, validation.minReturn, record, presenter, scale);
    result.solutionsShown = walk.solutionsShown;
    result.walkPivots = walk.walkPivots;
    result.stoppedByPresenter = walk.outcome == EnumerationOutcome::Stopped;
    const GoOutcome outcome = FromEnumeration(walk.outcome);
    return Ended(result, outcome, MessageOf(outcome));
}

}  // namespace korvel
