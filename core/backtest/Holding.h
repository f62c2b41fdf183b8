#pragma once
// A portfolio held between two rebalances: its weights drift with the returns
// of the shares, and so the next rebalance trades from the drifted weights.
#include "core/optimizer/ShareReturns.h"

#include <cstdint>
#include <vector>

namespace korvel::backtest {

struct Holding {
    std::vector<double> target;   // at the rebalance, one weight per share
    std::vector<double> returns;  // each held period's return in percent, before cost
    std::vector<double> drifted;  // at the end of the hold
};

// Holds target through the returns [begin, end): each period earns the
// weighted sum of the shares' returns, and each weight then grows with its
// share, relative to the whole.
Holding Hold(const ShareReturns& returns, std::vector<double> target, int32_t begin, int32_t end);

std::vector<double> EqualWeights(int32_t shares);

// A return of -100 percent or less leaves a holding with nothing (or less)
// to drift. False with the first such cell among the periods from `from` on.
bool HeldReturnsSound(const ShareReturns& returns, int32_t from, ReturnCell& bad);

// One rebalance of the strategy and of equal weights on the same date.
struct Rebalance {
    int32_t at = 0;       // the returns before it
    bool reached = true;  // false: no portfolio reached the Min Return; equal weights held
    Holding strategy;
    Holding equal;
};

}  // namespace korvel::backtest
