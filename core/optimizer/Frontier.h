#pragma once
// The mean-absolute-deviation efficient frontier, every breakpoint exact: the
// model's optimal deviation is piecewise linear and convex in the return bound,
// so one parametric simplex run over that bound finds each corner once.
#include "core/optimizer/ShareReturns.h"
#include "core/text/CellSource.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace korvel {

struct FrontierShare {
    int32_t row = 0;      // worksheet row 1..N
    double weight = 0.0;  // above zero
};

struct FrontierPoint {
    double averageReturn = 0.0;
    double lineDeviation = 0.0;         // mean absolute deviation per period
    std::vector<FrontierShare> shares;  // in worksheet row order
};

enum class FrontierOutcome {
    Done,
    Invalid,      // a return cell is not a number; message as the Go command gives it
    NoSolution,   // no portfolio reaches the return asked for; message is Go's
    CheckFailed,  // a breakpoint failed the check of the result; message says which
    PivotLimit,   // the pivots did not end; message says so
};

struct FrontierResult {
    FrontierOutcome outcome = FrontierOutcome::Done;
    std::string message;                // empty for Done
    std::vector<FrontierPoint> points;  // rising return; on failure the points that passed
    int64_t pivots = 0;                 // to the least-deviation portfolio and along the frontier
};

inline constexpr const char* kMsgFrontierPivotLimit = "The frontier stopped: its pivots did not come to an end.";

// The part of the frontier wanted: from a return up, its first point being
// the least-deviation portfolio that reaches the return; all of it, or only
// that first point (which spares the pivots above it).
struct FrontierRequest {
    double from = -std::numeric_limits<double>::infinity();
    bool firstOnly = false;
};

// From the least-deviation portfolio (the one with the highest return among
// ties), or the request's return, up to the highest attainable average return.
// Consecutive points share one basis, so the weights between them move
// linearly and so does the deviation. shares and periods must be at least 1.
FrontierResult ComputeFrontier(const ShareReturns& returns, const FrontierRequest& request = {});
// The same on returns it scales in place, so that a long history is held once.
FrontierResult ComputeFrontier(ShareReturns&& returns, const FrontierRequest& request = {});

// The same on a worksheet; return cells are checked as the Go command checks
// them (no Min Return is needed).
FrontierResult ComputeFrontier(const CellSource& cells);

// The worksheet's returns, or false with the Go command's message for the
// first cell that is not a number.
bool ReadShareReturns(const CellSource& cells, ShareReturns& returns, std::string& message);

}  // namespace korvel
