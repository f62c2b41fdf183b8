#pragma once
// One point of the frontier on many shares: the table holds a working set of
// the shares, and the prices at its optimum tell whether a share outside it
// would lower the deviation. Those join the set and the point is found again,
// until none would; that last pricing is the optimum's certificate over all
// the shares. A pivot then costs the set's width, not the list's.
#include "core/optimizer/FrontierTableau.h"

#include <cstdint>
#include <vector>

namespace korvel {

// Shares the first table holds when nothing else is said: a basis's worth
// (more makes every pivot dearer than the rounds it saves).
int32_t WorkingSetStart(const ShareReturns& returns);

// The least-deviation portfolio reaching span.from (finite; span.stop is
// AtFrom), in vertices with rows of returns; returns: every value at most 1 in
// absolute value. pivots: the table's, over every round.
FrontierWalkOutcome WalkWorkingSet(const ShareReturns& returns, const FrontierWalkSpan& span,
                                   std::vector<FrontierVertex>& vertices, int64_t& pivots, int32_t startSize);

}  // namespace korvel
