#include "core/optimizer/MeasureCheck.h"

#include "core/optimizer/SplitDot.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvel {
namespace {

constexpr long double kWeightTolerance = 1e-9L;
constexpr long double kFigureTolerance = 1e-9L;  // absolute near 1, relative above
constexpr long double kPriceTolerance = 1e-9L;

long double Tolerance(long double figure) {
    return kFigureTolerance * std::max(1.0L, std::fabs(figure));
}

std::string BoundsFault(const WeightBounds& bounds, const MeasureClaim& claim) {
    long double sum = 0;
    for (size_t i = 0; i < claim.weights.size(); ++i) {
        const double w = claim.weights[i];
        const int32_t share = static_cast<int32_t>(i);
        if (!std::isfinite(w) || w < bounds.Lower(share) - kWeightTolerance
            || w > bounds.Upper(share) + kWeightTolerance)
            return "a weight outside its bounds";
        sum += w;
    }
    if (!(std::fabs(sum - 1.0L) <= kWeightTolerance))
        return "the weights do not sum to 1";
    return "";
}

// The reduced cost of a column with cost `cost` that is not a weight must
// not let the column lower the bound: at least zero where it may only rise,
// zero where it is free.
bool PriceHolds(long double reduced, bool free) {
    return reduced >= -kPriceTolerance && (!free || reduced <= kPriceTolerance);
}

}  // namespace

MeasureProblem::MeasureProblem(const ShareReturns& returns, const RiskMeasure& measure, const WeightBounds& bounds)
    : returns(returns), measure(measure), bounds(bounds) {
    for (int32_t i = 0; i < returns.shares; ++i)
        means.push_back(returns.Mean(i));
}

long double RiskLowerBound(const MeasureProblem& problem, const MeasurePrices& prices) {
    const ShareReturns& returns = problem.returns;
    const RiskMeasure& measure = problem.measure;
    const int32_t T = returns.periods;
    const std::vector<long double>& y = prices.rows;
    const long double budget = y[static_cast<size_t>(T)];
    const long double onReturn = y[static_cast<size_t>(T + 1)];
    const long double perPeriod = 1.0L / T;
    const long double none = -std::numeric_limits<long double>::infinity();
    long double level = 0, bound = budget + onReturn * prices.bound;
    for (int32_t p = 0; p < T; ++p) {
        const long double price = y[static_cast<size_t>(p)];
        const RiskKind kind = measure.kind;
        const long double shortfallCost = kind == RiskKind::Cvar ? perPeriod / measure.level : perPeriod;
        if (kind != RiskKind::Worst && !PriceHolds(shortfallCost - price, false))
            return none;
        if (!PriceHolds((kind == RiskKind::Mad ? perPeriod : 0.0L) + price, false))
            return none;
        level += price;
        if (kind == RiskKind::Downside)
            bound += price * measure.target;
    }
    if ((measure.kind == RiskKind::Cvar || measure.kind == RiskKind::Worst) && !PriceHolds(1.0L - level, true))
        return none;
    if (!PriceHolds(onReturn, false))
        return none;
    // A weight's column holds its returns (less its mean for mad) in the
    // period rows, 1 in the budget's and its mean in the return's. Its dot
    // product with the prices is taken in doubles: its rounding, some
    // periods x 1e-16, lies far below the tolerance, and it is the one loop
    // over every return per point.
    const long double lessMean = measure.kind == RiskKind::Mad ? level : 0.0L;
    const std::vector<double> periodPrices(y.begin(), y.begin() + T);
    for (int32_t i = 0; i < returns.shares; ++i) {
        const double mean = problem.means[static_cast<size_t>(i)];
        const double* row = &returns.values[static_cast<size_t>(i) * static_cast<size_t>(T)];
        const double product = SplitDot(periodPrices.data(), row, T);
        const long double reduced = -budget - onReturn * mean + lessMean * mean - product;
        bound += std::min(reduced * problem.bounds.Lower(i), reduced * problem.bounds.Upper(i));
    }
    return bound;
}

std::string MeasureFault(const MeasureProblem& problem, double minReturn, const MeasureClaim& claim,
                         const MeasurePrices& prices) {
    if (std::string fault = BoundsFault(problem.bounds, claim); !fault.empty())
        return fault;
    long double average = 0;
    for (size_t i = 0; i < problem.means.size(); ++i)
        average += static_cast<long double>(problem.means[i]) * claim.weights[i];
    if (!(std::fabs(average - claim.averageReturn) <= Tolerance(average)))
        return "the weights do not give the average return";
    if (!(average >= minReturn - Tolerance(minReturn)))
        return "below the return asked for";
    const long double risk = RiskOfReturns(problem.measure, PortfolioReturns(problem.returns, claim.weights));
    if (!(std::fabs(risk - claim.risk) <= Tolerance(risk)))
        return "the weights do not give the risk";
    if (!(risk - RiskLowerBound(problem, prices) <= Tolerance(risk)))
        return "its row prices do not prove it least";
    return "";
}

}  // namespace korvel
