#pragma once
// What a series of holdings earned out of sample, after the cost of trading
// into each one, and the figures practitioners compare methods by.
#include "core/backtest/Holding.h"

#include <vector>

namespace korvel::backtest {

struct Performance {
    std::vector<double> returns;  // each held period's return in percent, after cost
    std::vector<double> wealth;   // after each period, from 1
    double averageReturn = 0.0;   // percent per period
    double meanAbsoluteDeviation = 0.0;
    double worstPeriod = 0.0;  // the lowest return
    double maxDrawdown = 0.0;  // the deepest fall of wealth from an earlier peak, percent of the peak
    double turnover = 0.0;     // per rebalance: the weights bought and sold, percent of wealth
};

// The turnover of a rebalance is the sum of the weights' changes from what is
// held (nothing, in cash, before the first); costBps of every unit traded
// comes off wealth before the first held period's return.
Performance Evaluate(const std::vector<Rebalance>& rebalances, Holding Rebalance::*which, double costBps);

}  // namespace korvel::backtest
