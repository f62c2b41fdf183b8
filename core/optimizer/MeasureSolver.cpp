#include "core/optimizer/MeasureSolver.h"

#include "core/optimizer/DataScale.h"
#include "core/optimizer/Enumeration.h"
#include "core/optimizer/MeasureCheck.h"
#include "core/optimizer/MeasureCore.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

namespace korvel {
namespace {

// A rise of the least risk below this (on data near 1) is rounding: the
// segment is flat, and its lower-return end is no frontier point.
constexpr double kFlat = 1e-12;

struct Scaled {
    ShareReturns returns;
    RiskMeasure measure;
    int32_t exponent = 0;
    double from = 0.0;
};

Scaled ScaleProblem(const ShareReturns& returns, const RiskMeasure& measure, double from) {
    double largest = measure.kind == RiskKind::Downside ? std::fabs(measure.target) : 0.0;
    for (double r : returns.values)
        largest = std::max(largest, std::fabs(r));
    if (std::isfinite(from))
        largest = std::max(largest, std::fabs(from));
    Scaled scaled{
        {returns.shares, returns.periods, {}}, measure, largest > 0.0 ? UnitScaleExponentFor(largest) : 0, 0.0};
    // A tail of at most one period is the worst loss itself, and its cost of
    // 1 / (ALPHA x periods) would swamp every other figure of the program.
    if (measure.kind == RiskKind::Cvar && measure.level * returns.periods <= 1.0)
        scaled.measure.kind = RiskKind::Worst;
    // A power of two within the doubles' range scales by one exact product,
    // the same figure ldexp gives at a tenth of its cost.
    const double factor = std::ldexp(1.0, scaled.exponent);
    const bool exact = std::abs(scaled.exponent) <= 1000;
    scaled.returns.values.reserve(returns.values.size());
    std::transform(returns.values.begin(), returns.values.end(), std::back_inserter(scaled.returns.values),
                   [&](double r) { return exact ? r * factor : std::ldexp(r, scaled.exponent); });
    scaled.measure.target = std::ldexp(measure.target, scaled.exponent);
    scaled.from = std::ldexp(from, scaled.exponent);
    return scaled;
}

double AverageReturn(const std::vector<double>& means, const std::vector<double>& weights) {
    long double total = 0;
    for (size_t i = 0; i < means.size(); ++i)
        total += static_cast<long double>(means[i]) * weights[i];
    return static_cast<double>(total);
}

FrontierResult Failed(FrontierResult result, FrontierOutcome outcome, std::string message) {
    result.outcome = outcome;
    result.message = std::move(message);
    return result;
}

class Walk {
public:
    Walk(const Scaled& scaled, const MeasureProblem& problem, MeasureCore& solver, FrontierResult& result)
        : m_scaled(scaled), m_problem(problem), m_solver(solver), m_result(result) {}

    // Checks the solver's portfolio and adds it; a point as risky as the one
    // before (a flat start) takes that one's place.
    bool Add() {
        MeasureClaim claim{m_solver.Weights(), 0.0, m_solver.Cost()};
        claim.averageReturn = AverageReturn(m_problem.means, claim.weights);
        const std::string fault =
            MeasureFault(m_problem, m_scaled.from, claim, {m_solver.RowPrices(), m_solver.Bound()});
        if (!fault.empty()) {
            Fail(claim, fault);
            return false;
        }
        if (!m_result.points.empty() && claim.risk - m_lastRisk <= kFlat)
            m_result.points.pop_back();
        m_lastRisk = claim.risk;
        m_result.points.push_back(Unscaled(claim));
        return true;
    }

private:
    FrontierPoint Unscaled(const MeasureClaim& claim) const {
        FrontierPoint point;
        point.averageReturn = std::ldexp(claim.averageReturn, -m_scaled.exponent);
        point.lineDeviation = std::ldexp(claim.risk, -m_scaled.exponent);
        for (size_t i = 0; i < claim.weights.size(); ++i)
            if (claim.weights[i] != 0.0)
                point.shares.push_back({static_cast<int32_t>(i) + 1, claim.weights[i]});
        return point;
    }
    void Fail(const MeasureClaim& claim, const std::string& fault) {
        char text[200];
        std::snprintf(
            text, sizeof text,
            "The frontier stopped: the portfolio at average return %.10g failed the check of the result (%s).",
            std::ldexp(claim.averageReturn, -m_scaled.exponent), fault.c_str());
        m_result.outcome = FrontierOutcome::CheckFailed;
        m_result.message = text;
    }

    const Scaled& m_scaled;
    const MeasureProblem& m_problem;
    MeasureCore& m_solver;
    FrontierResult& m_result;
    double m_lastRisk = 0.0;
};

bool Unbounded(const WeightBounds& bounds, int32_t shares) {
    for (int32_t i = 0; i < shares; ++i)
        if (bounds.Lower(i) != 0.0 || bounds.Upper(i) != 1.0)
            return false;
    return true;
}

// Where the simplex starts: without bounds the share of least risk of its
// own that reaches the bound, which lies far nearer the optimum than the best
// share does; with bounds the portfolio of the highest return.
std::vector<double> StartPortfolio(const MeasureProblem& problem, double bound, std::vector<double> highest) {
    const ShareReturns& returns = problem.returns;
    if (!Unbounded(problem.bounds, returns.shares))
        return highest;
    std::vector<double> alone(static_cast<size_t>(returns.shares), 0.0);
    int32_t best = -1;
    long double least = 0;
    for (int32_t i = 0; i < returns.shares; ++i) {
        if (problem.means[static_cast<size_t>(i)] < bound)
            continue;
        alone[static_cast<size_t>(i)] = 1.0;
        const long double risk = RiskOfReturns(problem.measure, PortfolioReturns(returns, alone));
        alone[static_cast<size_t>(i)] = 0.0;
        if (best < 0 || risk < least) {
            best = i;
            least = risk;
        }
    }
    if (best < 0)
        return highest;
    alone[static_cast<size_t>(best)] = 1.0;
    return alone;
}

std::string TooLarge(const ShareReturns& returns) {
    return "The program of " + std::to_string(returns.shares) + " shares and " + std::to_string(returns.periods)
           + " periods is too large for the risk measures' solver; fewer shares or periods (--last, --shares) fit.";
}

// The simplex to the request's return, then the walk up the frontier.
FrontierResult Solve(const Scaled& scaled, const MeasureProblem& problem, const WeightBounds& bounds,
                     const FrontierRequest& request, const std::vector<double>& highest, double bound,
                     FrontierResult result) {
    const double top = AverageReturn(problem.means, highest);
    MeasureCore solver(scaled.returns, problem.means, scaled.measure, bounds, StartPortfolio(problem, bound, highest),
                       bound);
    const ShareReturns& returns = scaled.returns;
    const int64_t limit = 50 * (int64_t{returns.shares} + 3 * int64_t{returns.periods}) + 1000;
    for (MeasureStep step = MeasureStep::Pivoted; step != MeasureStep::Optimal; ++result.pivots) {
        step = solver.PrimalStep();
        if (step == MeasureStep::Unbounded || result.pivots > limit)
            return Failed(std::move(result), FrontierOutcome::PivotLimit, kMsgFrontierPivotLimit);
    }
    Walk walk(scaled, problem, solver, result);
    if (!walk.Add())
        return result;
    bool rising = true;
    while (rising && !(request.firstOnly && solver.BoundSlope() > kFlat)) {
        if (++result.pivots > 2 * limit)
            return Failed(std::move(result), FrontierOutcome::PivotLimit, kMsgFrontierPivotLimit);
        bool moved = false;
        rising = solver.RaiseBound(top, moved);
        if (moved && !walk.Add())
            return result;
    }
    return result;
}

}  // namespace

FrontierResult ComputeMeasureFrontier(const ShareReturns& returns, const RiskMeasure& measure,
                                      const WeightBounds& bounds, const FrontierRequest& request) {
    FrontierResult result;
    if (MeasureCore::EntriesFor(returns.shares, returns.periods, measure.kind) > kMaxMeasureEntries)
        return Failed(std::move(result), FrontierOutcome::Invalid, TooLarge(returns));
    const Scaled scaled = ScaleProblem(returns, measure, request.from);
    const MeasureProblem problem(scaled.returns, scaled.measure, bounds);
    const std::vector<double> highest = ExtremePortfolio(scaled.returns, bounds, true);
    const double top = AverageReturn(problem.means, highest);
    // The highest return, rounded in another order, may miss the greedy sum's last bit.
    if (scaled.from > top + kFlat)
        return Failed(std::move(result), FrontierOutcome::NoSolution, kMsgNoSolution);
    const double bottom = AverageReturn(problem.means, ExtremePortfolio(scaled.returns, bounds, false));
    const double bound = std::clamp(scaled.from, bottom, std::max(bottom, top));
    return Solve(scaled, problem, bounds, request, highest, bound, std::move(result));
}

}  // namespace korvel
