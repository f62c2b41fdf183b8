#pragma once
// The frontier portfolio with the highest excess return per unit of risk.
// Between two breakpoints return and risk move linearly, so the ratio is
// monotone there and its highest lies on a breakpoint (the first of which is
// the least-risk end): the breakpoints are all that need comparing.
#include "core/optimizer/Frontier.h"

#include <cstddef>

namespace korvel {

enum class RatioOutcome {
    Found,
    NoExcess,  // no portfolio returns more than the rate
    NoRisk,    // a portfolio returns more than the rate at no positive risk: no highest ratio
};

struct BestRatio {
    RatioOutcome outcome = RatioOutcome::NoExcess;
    size_t point = 0;  // the breakpoint, with Found
    double ratio = 0.0;
};

// points: a whole frontier, rising return, each point's lineDeviation its risk.
BestRatio FindBestRatio(const std::vector<FrontierPoint>& points, double riskFree);

}  // namespace korvel
