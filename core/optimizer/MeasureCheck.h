#pragma once
// The check every portfolio of a risk measure passes before it is shown:
// within its bounds, a budget of 1, the return and the risk it claims
// recomputed in long double from the returns, and optimal by its row prices.
#include "core/optimizer/RiskMeasure.h"
#include "core/optimizer/WeightBounds.h"

#include <string>
#include <vector>

namespace korvel {

struct MeasureClaim {
    std::vector<double> weights;  // by share
    double averageReturn = 0.0;
    double risk = 0.0;
};

// Row prices of the measure's program (periods, budget, return) at a return
// bound; they bound the least risk from below whatever found them.
struct MeasurePrices {
    std::vector<long double> rows;
    double bound = 0.0;
};

// What the check reads: the returns, their means (read once for every point
// of a frontier), the measure and the bounds.
struct MeasureProblem {
    MeasureProblem(const ShareReturns& returns, const RiskMeasure& measure, const WeightBounds& bounds);
    const ShareReturns& returns;
    RiskMeasure measure;
    const WeightBounds& bounds;
    std::vector<double> means;  // ShareReturns::Mean of each share
};

// Empty when the claim holds; otherwise what failed. The returns, the
// measure's target, minReturn and the bound are in the units the figures
// are, near 1 (tolerances are absolute there).
std::string MeasureFault(const MeasureProblem& problem, double minReturn, const MeasureClaim& claim,
                         const MeasurePrices& prices);

// The least risk no portfolio with average return at least prices.bound can
// go below, by the prices; -infinity when they prove nothing.
long double RiskLowerBound(const MeasureProblem& problem, const MeasurePrices& prices);

}  // namespace korvel
