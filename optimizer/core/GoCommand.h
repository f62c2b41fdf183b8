#pragma once
// The Go command without its windows: validate, build, solve, enumerate.
#include "optimizer/core/Enumeration.h"
#include "optimizer/core/SimplexEngine.h"
#include "optimizer/core/Validation.h"

#include <string>

namespace korvel {

enum class GoOutcome {
    Done,        // every solution shown, or the presenter said Enough
    Invalid,     // validation rejected the input; message says why
    Unbounded,   // "No solution !"
    NoSolution,  // "No solution"
    PivotLimit,  // the engine stopped at its pivot bound; message says so
};

struct GoResult {
    GoOutcome outcome = GoOutcome::Done;
    std::string message;            // the exact text to show; empty for Done
    ValidationError validation = ValidationError::None;
    double minReturn = 0.0;         // as parsed by validation
    int solutionsShown = 0;
};

inline constexpr const char* kMsgPivotLimit =
    "The optimizer stopped: no optimum was reached within the pivot limit.";

// Exceptions thrown by the presenter, and std::bad_alloc for the tableau,
// pass through to the caller; the tableau is freed on every path.
GoResult RunGo(const std::string& minReturnText, const CellSource& cells, SolutionRecord& record,
               SolutionPresenter& presenter, int64_t pivotLimit = kDefaultPivotLimit);

}  // namespace korvel
