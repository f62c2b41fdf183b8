#pragma once
// Lower and upper bounds on each share's weight, and the greedy portfolios at
// their ends: with a budget of 1 and box bounds, the lowest and highest
// average returns are reached by filling the shares in order of their means.
#include "core/optimizer/ShareReturns.h"

#include <string>
#include <vector>

namespace korvel {

struct WeightBounds {
    std::vector<double> lower;  // by share; empty: every share 0
    std::vector<double> upper;  // by share; empty: every share 1
    bool Default() const { return lower.empty() && upper.empty(); }
    double Lower(int32_t share) const { return lower.empty() ? 0.0 : lower[static_cast<size_t>(share)]; }
    double Upper(int32_t share) const { return upper.empty() ? 1.0 : upper[static_cast<size_t>(share)]; }
};

// Every share with the same bounds.
WeightBounds UniformBounds(int32_t shares, double lower, double upper);

// Empty when some portfolio keeps the bounds; otherwise why none does, naming
// the first share at fault by names[share].
std::string BoundsFault(const WeightBounds& bounds, const std::vector<std::string>& names);

// The portfolio within the bounds with the highest (or lowest) average
// return: the lower bounds, then what is left of the budget to the best (or
// worst) means first. The bounds must have passed BoundsFault.
std::vector<double> ExtremePortfolio(const ShareReturns& returns, const WeightBounds& bounds, bool highest);

}  // namespace korvel
