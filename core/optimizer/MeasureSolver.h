#pragma once
// The frontier of any risk measure under any weight bounds, every breakpoint
// exact: the least risk is piecewise linear and convex in the return bound,
// so a parametric walk on that bound from the least-risk portfolio (or the
// request's return) finds each corner once. Each point passes MeasureFault
// before it is returned.
#include "core/optimizer/Frontier.h"
#include "core/optimizer/RiskMeasure.h"
#include "core/optimizer/WeightBounds.h"

#include <cstdint>

namespace korvel {

// Programs beyond this many entries (MeasureCore::EntriesFor) are refused.
inline constexpr uint64_t kMaxMeasureEntries = uint64_t{1} << 26;

// As ComputeFrontier, for the measure and the bounds (which must have passed
// BoundsFault); each point's lineDeviation holds the measure's risk.
FrontierResult ComputeMeasureFrontier(const ShareReturns& returns, const RiskMeasure& measure,
                                      const WeightBounds& bounds, const FrontierRequest& request = {});

}  // namespace korvel
