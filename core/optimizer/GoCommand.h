#pragma once
// The Go command without its windows: validate, build, solve, enumerate.
#include "core/optimizer/Enumeration.h"
#include "core/optimizer/SimplexEngine.h"
#include "core/optimizer/Validation.h"

#include <cstdint>
#include <string>

namespace korvel {

enum class GoOutcome {
    Done,        // every solution shown, or the presenter said Enough
    Invalid,     // validation rejected the input; message says why
    Unbounded,   // "No solution !"
    NoSolution,  // "No solution"
    PivotLimit,  // the engine stopped at its pivot bound; message says so
    NotFinite,   // the numbers overflowed, or their range defeats the doubles; message says so
    Unsound,     // a basis failed its check against the worksheet; nothing of it was shown
};

struct GoResult {
    GoOutcome outcome = GoOutcome::Done;
    std::string message;  // the exact text to show; empty for Done
    ValidationError validation = ValidationError::None;
    double minReturn = 0.0;  // as parsed by validation
    int solutionsShown = 0;  // also when a later basis ended in "No solution"
    bool stoppedByPresenter = false;
    int64_t solvePivots = 0;  // pivots of the engine
    int walkPivots = 0;       // pivots of the enumeration walk
};

inline constexpr const char* kMsgPivotLimit = "The optimizer stopped: no optimum was reached within the pivot limit.";
inline constexpr const char* kMsgNotFinite = "The numbers are too large: the optimizer's arithmetic overflowed.";

// How a message is shown: the two Min Return messages carry the caption "Error"
// and the information icon; every other message has no caption of its own (the
// application title) and an OK button only.
inline bool HasErrorCaption(const GoResult& result) {
    return result.validation == ValidationError::MinReturnNotValid
           || result.validation == ValidationError::MinReturnNotPositive;
}

// Exceptions thrown by the presenter, and std::bad_alloc for the tableau,
// pass through to the caller; the tableau is freed on every path.
// cells must hold 1 to kMaxModelPeriods periods and at least one share.
GoResult RunGo(const std::string& minReturnText, const CellSource& cells, SolutionRecord& record,
               SolutionPresenter& presenter, int64_t pivotLimit = kDefaultPivotLimit);

}  // namespace korvel
