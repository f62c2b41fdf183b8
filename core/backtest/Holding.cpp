#include "core/backtest/Holding.h"

namespace korvel::backtest {

Holding Hold(const ShareReturns& returns, std::vector<double> target, int32_t begin, int32_t end)
{
    Holding holding;
    holding.target = std::move(target);
    std::vector<double> weights = holding.target;
    for (int32_t p = begin; p < end; ++p) {
        double earned = 0.0;
        for (int32_t i = 0; i < returns.shares; ++i)
            earned += weights[static_cast<size_t>(i)] * returns.At(i, p);
        const double whole = 100.0 + earned;
        for (int32_t i = 0; i < returns.shares; ++i)
            weights[static_cast<size_t>(i)] = weights[static_cast<size_t>(i)] * (100.0 + returns.At(i, p)) / whole;
        holding.returns.push_back(earned);
    }
    holding.drifted = std::move(weights);
    return holding;
}

std::vector<double> EqualWeights(int32_t shares)
{
    return std::vector<double>(static_cast<size_t>(shares), 1.0 / static_cast<double>(shares));
}

bool HeldReturnsSound(const ShareReturns& returns, int32_t from, ReturnCell& bad)
{
    for (int32_t i = 0; i < returns.shares; ++i) {
        for (int32_t p = from; p < returns.periods; ++p) {
            if (returns.At(i, p) <= -100.0) {
                bad = {i + 1, p + 1};
                return false;
            }
        }
    }
    return true;
}

}  // namespace korvel::backtest
