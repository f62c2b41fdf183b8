#include "core/optimizer/GoCommand.h"

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
    case EnumerationOutcome::NoSolution:
        return GoOutcome::NoSolution;
    case EnumerationOutcome::NotFinite:
        return GoOutcome::NotFinite;
    case EnumerationOutcome::Unsound:
        return GoOutcome::Unsound;
    case EnumerationOutcome::Finished:
    case EnumerationOutcome::Stopped:
        break;
    }
    return GoOutcome::Done;
}

const char* MessageOf(GoOutcome outcome) {
    switch (outcome) {
    case GoOutcome::NoSolution:
        return kMsgNoSolution;
    case GoOutcome::NotFinite:
        return kMsgNotFinite;
    case GoOutcome::Unsound:
        return kMsgUnsound;
    default:
        return "";
    }
}

// No weights average more than the highest mean: the model has no portfolio
// at all, whatever the arithmetic of a solve would make of it (a Min Return
// far above returns of another magnitude overflows the pivots).
bool MinReturnAboveEveryMean(const Tableau& t) {
    const double minReturn = t.At(2, 0);
    for (int32_t i = 1; i <= t.Shares(); ++i)
        if (!(t.At(2, i) < minReturn))
            return false;
    return true;
}

// The big M's failures: a portfolio that failed its check, an unbounded
// problem (the model has none: every cost is at least 0) and an overflow.
bool MayMendOnUnitScale(GoOutcome outcome) {
    return outcome == GoOutcome::Unsound || outcome == GoOutcome::Unbounded || outcome == GoOutcome::NotFinite;
}

GoResult SolveAndEnumerate(GoResult result, const CellSource& cells, const ShareReturns& returns, double minReturn,
                           SolutionRecord& record, SolutionPresenter& presenter, int64_t pivotLimit,
                           const TableauScale& scale) {
    Tableau tableau = MakeTableauFor(cells);
    BuildTableau(tableau, returns, minReturn, scale.exponent);
    // Finite returns can still overflow in a sum or a product; an infinity or
    // NaN in the tableau would make every later comparison meaningless.
    if (!tableau.AllFinite())
        return Ended(result, GoOutcome::NotFinite, kMsgNotFinite);
    const bool unreachable = MinReturnAboveEveryMean(tableau);

    switch (Solve(tableau, pivotLimit, &result.solvePivots)) {
    case SolveOutcome::Unbounded:
        if (unreachable)
            return Ended(result, GoOutcome::NoSolution, kMsgNoSolution);
        return Ended(result, GoOutcome::Unbounded, kMsgNoSolutionUnbounded);
    case SolveOutcome::PivotLimit:
        return Ended(result, GoOutcome::PivotLimit, kMsgPivotLimit);
    case SolveOutcome::NotFinite:
        if (unreachable)
            return Ended(result, GoOutcome::NoSolution, kMsgNoSolution);
        return Ended(result, GoOutcome::NotFinite, kMsgNotFinite);
    case SolveOutcome::Optimal:
        break;
    }

    const EnumerationResult walk = EnumerateSolutions(tableau, cells, returns, minReturn, record, presenter, scale);
    result.solutionsShown = walk.solutionsShown;
    result.walkPivots = walk.walkPivots;
    result.stoppedByPresenter = walk.outcome == EnumerationOutcome::Stopped;
    const GoOutcome outcome = FromEnumeration(walk.outcome);
    return Ended(result, outcome, MessageOf(outcome));
}

// A failure that exact arithmetic could not give, on data of too wide a range:
// the data are refused for their range rather than answered wrongly.
GoResult Refused(GoResult result, const ValidationResult& validation) {
    if (result.solutionsShown > 0 || !MayMendOnUnitScale(result.outcome)
        || !RangeTooWide(validation.returns, validation.minReturn))
        return result;
    return Ended(result, GoOutcome::NotFinite, kMsgRangeTooWide);
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

    const double largest = std::fmax(validation.largestReturn, validation.minReturn);
    const TableauScale scale = TableauScale::For(largest);
    GoResult solved = SolveAndEnumerate(result, cells, validation.returns, validation.minReturn, record, presenter,
                                        pivotLimit, scale);
    // The big M can fall short of large deviations even inside the range that
    // is solved as typed. Before anything has been shown, one more solve on
    // returns of unit size, where it outweighs them by far, mends that.
    const TableauScale unit = TableauScale::Unit(largest);
    if (solved.solutionsShown == 0 && unit.exponent != scale.exponent && MayMendOnUnitScale(solved.outcome))
        solved = SolveAndEnumerate(result, cells, validation.returns, validation.minReturn, record, presenter,
                                   pivotLimit, unit);
    return Refused(solved, validation);
}

}  // namespace korvel
