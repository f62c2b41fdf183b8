#include "core/backtest/Performance.h"

#include <algorithm>
#include <cmath>

namespace korvel::backtest {
namespace {

double Turnover(const std::vector<double>& target, const std::vector<double>* held)
{
    double traded = 0.0;
    for (size_t i = 0; i < target.size(); ++i)
        traded += std::fabs(target[i] - (held ? (*held)[i] : 0.0));
    return traded;
}

void AddFigures(Performance& p)
{
    const double count = static_cast<double>(p.returns.size());
    double sum = 0.0, deviation = 0.0, peak = 1.0;
    p.worstPeriod = p.returns.empty() ? 0.0 : p.returns.front();
    for (double r : p.returns) {
        sum += r;
        p.worstPeriod = std::min(p.worstPeriod, r);
    }
    p.averageReturn = sum / count;
    for (double r : p.returns)
        deviation += std::fabs(r - p.averageReturn);
    p.meanAbsoluteDeviation = deviation / count;
    for (double w : p.wealth) {
        peak = std::max(peak, w);
        p.maxDrawdown = std::max(p.maxDrawdown, (1.0 - w / peak) * 100.0);
    }
}

}  // namespace

Performance Evaluate(const std::vector<Rebalance>& rebalances, Holding Rebalance::*which, double costBps)
{
    Performance p;
    const std::vector<double>* held = nullptr;
    double wealth = 1.0, traded = 0.0;
    for (const Rebalance& rebalance : rebalances) {
        const Holding& holding = rebalance.*which;
        const double turnover = Turnover(holding.target, held);
        traded += turnover;
        double kept = 1.0 - turnover * costBps / 10000.0;
        for (double gross : holding.returns) {
            const double net = kept * (100.0 + gross) - 100.0;
            wealth *= 1.0 + net / 100.0;
            p.returns.push_back(net);
            p.wealth.push_back(wealth);
            kept = 1.0;
        }
        held = &holding.drifted;
    }
    p.turnover = rebalances.empty() ? 0.0 : traded / static_cast<double>(rebalances.size()) * 100.0;
    if (!p.returns.empty())
        AddFigures(p);
    return p;
}

}  // namespace korvel::backtest
