#include "core/optimizer/DeviationDual.h"

#include "core/optimizer/FrontierPivot.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

namespace korvel {
namespace {

using namespace frontier;

// The weights' deviation may exceed the dual's floor by the rounding of
// their sums; a real miss of the optimum is far larger.
constexpr double kDualityGap = 1e-9;
// Below this a weight is the rounding of a zero price.
constexpr double kZeroWeight = 1e-14;
// The pivots between two fresh takes of the costs, which pass over the held
// shares' returns, and of the values, which pass over every return.
constexpr int32_t kRefreshEvery = 100;
constexpr int32_t kValuesEvery = 4;  // fresh takes of the costs
constexpr double kInfinity = std::numeric_limits<double>::infinity();

}  // namespace

DeviationDual::DeviationDual(const ShareReturns& returns, double bound, int32_t pricedPeriods,
                             const FrontierChecker* checker)
    : m_returns(returns), m_checker(checker), m_shares(returns.shares), m_periods(returns.periods), m_cols(0),
      m_bound(bound), m_bounded(std::isfinite(bound)), m_means(static_cast<size_t>(returns.shares)) {
    if (!m_checker)
        m_checker = &m_ownChecker.emplace(returns);
    for (int32_t i = 0; i < m_shares; ++i)
        m_means[static_cast<size_t>(i)] = returns.Mean(i);
    Start(pricedPeriods);
}

// Dantzig's rule over the columns that can move in the direction that pays,
// or the lowest such index under Bland's. The tests of a column are combined
// without branches: which columns pass is data, and a mispredicted branch per
// column costs more than the tests. A basic column's cost is zero, so it
// never pays. The periods' prices, boxed in [-1, 1], come first, without
// asking each column for its bounds.
int32_t DeviationDual::Entering(bool bland) const {
    int32_t entering = -1;
    double best = kCostTolerance;
    const auto pays = [&](int32_t j, double lower, double upper) {
        const double cost = m_costs[static_cast<size_t>(j)];
        const double value = m_values[static_cast<size_t>(j)];
        const bool rises = (cost > best) & (value < upper);
        const bool falls = (-cost > best) & (value > lower);
        if (!(rises | falls))
            return false;
        best = std::fabs(cost);
        entering = j;
        return bland;
    };
    if (m_allPriced) {
        for (int32_t j = 0; j < m_periods; ++j)
            if (pays(j, -1.0, 1.0))
                return j;
    } else {
        for (int32_t j : m_priced)
            if (pays(j, -1.0, 1.0))
                return j;
    }
    for (int32_t j = m_periods; j < m_cols; ++j)
        if (pays(j, Lower(j), Upper(j)))
            return j;
    return entering;
}

// Over the core's columns, then the basic slacks, with the rates Ftran left.
double DeviationDual::Ratio(double direction, bool bland, int32_t col, int32_t& leaving) const {
    leaving = -1;
    double step = Upper(col) - Lower(col);
    double bestEntry = 0.0;
    const auto consider = [&](int32_t b, double rate) {
        const double entry = direction * rate;
        const double value = m_values[static_cast<size_t>(b)];
        double q = kInfinity;
        if (entry > kPivotTolerance && std::isfinite(Lower(b)))
            q = std::max(value - Lower(b), 0.0) / entry;
        else if (entry < -kPivotTolerance && std::isfinite(Upper(b)))
            q = std::max(Upper(b) - value, 0.0) / -entry;
        if (!std::isfinite(q))
            return;
        const bool tie = leaving >= 0 && std::fabs(q - step) <= kTieTolerance;
        bool better = q < step && !tie;
        if (tie)
            better = bland ? b < leaving : std::fabs(entry) > bestEntry;
        if (better) {
            leaving = b;
            step = std::min(q, step);
            bestEntry = std::fabs(entry);
        }
    };
    for (size_t c = 0; c < m_coreCols.size(); ++c)
        consider(m_coreCols[c], m_coreRates[c]);
    for (int32_t i = 0; i < m_shares; ++i)
        if (m_coreRowOf[static_cast<size_t>(i)] < 0)
            consider(SlackColumn(i), m_slackRates[static_cast<size_t>(i)]);
    return step;
}

// Moves col in the direction that pays (or, with a zero cost, that its
// slope will pay) as far as the bounds allow; Step::Unbounded when nothing
// stops it.
DeviationDual::Step DeviationDual::Move(int32_t col, double direction, bool bland) {
    Ftran(col, m_coreRates, m_slackRates);
    int32_t leaving = -1;
    const double step = Ratio(direction, bland, col, leaving);
    if (!std::isfinite(step))
        return Step::Unbounded;
    const double move = step * direction;
    for (size_t c = 0; c < m_coreCols.size(); ++c)
        m_values[static_cast<size_t>(m_coreCols[c])] -= move * m_coreRates[c];
    for (int32_t i = 0; i < m_shares; ++i)
        if (m_coreRowOf[static_cast<size_t>(i)] < 0)
            m_values[static_cast<size_t>(SlackColumn(i))] -= move * m_slackRates[static_cast<size_t>(i)];
    m_values[static_cast<size_t>(col)] += move;
    ++m_pivots;  // a flip between the column's bounds counts as a pivot
    if (leaving < 0) {
        m_values[static_cast<size_t>(col)] = direction > 0.0 ? Upper(col) : Lower(col);
        RefreshOnSchedule();
        return step <= kStepTolerance ? Step::Degenerate : Step::Moved;
    }
    const double rate = IsSlack(leaving) ? m_slackRates[static_cast<size_t>(leaving - SlackColumn(0))]
                                         : m_coreRates[static_cast<size_t>(m_coreSlot[static_cast<size_t>(leaving)])];
    m_values[static_cast<size_t>(leaving)] = direction * rate > 0.0 ? Lower(leaving) : Upper(leaving);
    UpdateCosts(col, leaving, rate);
    if (!Exchange(col, leaving, m_coreRates))
        return Step::Lost;
    for (int32_t basic : m_coreCols)
        m_costs[static_cast<size_t>(basic)] = m_slopes[static_cast<size_t>(basic)] = 0.0;
    RefreshOnSchedule();
    return step <= kStepTolerance ? Step::Degenerate : Step::Moved;
}

// The figures drift with every pivot; taking them afresh passes over every
// return.
void DeviationDual::RefreshOnSchedule() {
    if (++m_sinceFresh % kRefreshEvery != 0)
        return;
    RecomputeCosts();
    if (m_sinceFresh >= kRefreshEvery * kValuesEvery) {
        RecomputeBasicValues();
        m_sinceFresh = 0;
    }
}

DualOutcome DeviationDual::Solve() {
    return Optimise(true);
}

DualOutcome DeviationDual::Optimise(bool freshAtEnd) {
    int degenerateRun = 0;
    for (;;) {
        const bool bland = degenerateRun > kDegenerateRunBeforeBland;
        const int32_t col = Entering(bland);
        if (col < 0) {
            if (freshAtEnd && m_sinceFresh != 0) {
                m_sinceFresh = kRefreshEvery * kValuesEvery - 1;
                RefreshOnSchedule();
                continue;
            }
            if (PriceMorePeriods())
                continue;
            return DualOutcome::Done;
        }
        if (m_pivots >= m_pivotLimit)
            return DualOutcome::PivotLimit;
        const double direction = m_costs[static_cast<size_t>(col)] > 0.0 ? 1.0 : -1.0;
        const Step step = Move(col, direction, bland);
        // The prices rise without end only along the bound's price, when no
        // portfolio reaches the bound.
        if (step == Step::Unbounded)
            return m_bounded ? DualOutcome::NoSolution : DualOutcome::Lost;
        if (step == Step::Lost)
            return DualOutcome::Lost;
        degenerateRun = step == Step::Degenerate ? degenerateRun + 1 : 0;
    }
}

// The least rise of the bound that makes a column pay, and that column. Two
// passes: the columns that can move, listed without branches (which ones can
// is data, and a mispredicted branch per column costs more than the tests);
// then their rises in order, the first least kept as before. A rise is a
// division, dearer than the rest: a product bounds it first (generously, for
// its roundings), and only a column that may beat the least so far is divided.
int32_t DeviationDual::NextBreak(double& rise) const {
    constexpr double kGenerous = 1.0 + 4.0 * DBL_EPSILON;
    static constexpr double kFlip[2] = {1.0, -1.0};
    const auto moves = [&](int32_t j, double lower, double upper) {
        const double slope = m_slopes[static_cast<size_t>(j)];
        const double value = m_values[static_cast<size_t>(j)];
        const bool up = slope > 0.0;
        const bool open = (up & (value < upper)) | (!up & (value > lower));
        return static_cast<int32_t>((std::fabs(slope) > kCostTolerance) & open);
    };
    m_moving.resize(static_cast<size_t>(m_cols));
    int32_t* moving = m_moving.data();
    int32_t count = 0;
    for (int32_t j = 0; j < m_periods; ++j) {
        moving[count] = j;
        count += moves(j, -1.0, 1.0);
    }
    for (int32_t j = m_periods; j < m_cols; ++j) {
        moving[count] = j;
        count += moves(j, Lower(j), Upper(j));
    }
    int32_t entering = -1;
    double least = kInfinity;
    for (int32_t k = 0; k < count; ++k) {
        const int32_t j = moving[k];
        const double slope = m_slopes[static_cast<size_t>(j)];
        const double cost = m_costs[static_cast<size_t>(j)];
        const double lead = cost * kFlip[slope > 0.0];  // the rise times |slope|
        if (!(lead <= least * std::fabs(slope) * kGenerous + DBL_MIN))
            continue;
        const double q = std::max(-cost / slope, 0.0);
        if (q < least) {
            least = q;
            entering = j;
        }
    }
    rise = least;
    return entering;
}

DualOutcome DeviationDual::Walk(std::vector<FrontierVertex>& vertices, bool flatStartOnly) {
    DualOutcome outcome = Optimise(false);
    if (outcome == DualOutcome::Done && !m_bounded) {
        // From the least deviation, the bound starts at its portfolio's return.
        m_bounded = true;
        m_bound = Vertex().averageReturn;
        RecomputeCosts();
        outcome = Optimise(false);
    }
    if (outcome != DualOutcome::Done)
        return outcome;
    if (!Record(vertices))
        return DualOutcome::Lost;
    for (;;) {
        double rise = 0.0;
        const int32_t col = NextBreak(rise);
        if (col < 0)
            return DualOutcome::Lost;
        m_bound += rise;
        for (int32_t j = 0; j < m_cols; ++j)
            m_costs[static_cast<size_t>(j)] += rise * m_slopes[static_cast<size_t>(j)];
        if (rise > kStepTolerance && !Record(vertices))
            return DualOutcome::Lost;
        if (flatStartOnly && vertices.back().lineDeviation - vertices.front().lineDeviation > kFlatTolerance)
            return DualOutcome::Done;
        if (m_pivots >= m_pivotLimit)
            return DualOutcome::PivotLimit;
        // Past the best mean no portfolio reaches the bound: the top.
        const Step step = Move(col, m_slopes[static_cast<size_t>(col)] > 0.0 ? 1.0 : -1.0, false);
        if (step == Step::Unbounded)
            return DualOutcome::Done;
        if (step == Step::Lost)
            return DualOutcome::Lost;
        outcome = Optimise(false);
        if (outcome == DualOutcome::NoSolution)
            return DualOutcome::Done;
        if (outcome != DualOutcome::Done)
            return outcome;
    }
}

double DeviationDual::DualDeviation() const {
    double value = m_values[static_cast<size_t>(BudgetColumn())];
    if (m_bounded)
        value += m_bound * m_values[static_cast<size_t>(BoundColumn())];
    return value / static_cast<double>(m_periods);
}

// A share's weight is its row's price: minus its slack's reduced cost.
FrontierVertex DeviationDual::Vertex() const {
    FrontierVertex vertex;
    long double average = 0.0L;
    for (int32_t i = 0; i < m_shares; ++i) {
        const double weight = -m_costs[static_cast<size_t>(SlackColumn(i))];
        if (weight > kZeroWeight) {
            vertex.shares.push_back({i + 1, weight});
            average += static_cast<long double>(weight) * m_means[static_cast<size_t>(i)];
        }
    }
    vertex.averageReturn = static_cast<double>(average);
    vertex.lineDeviation = DualDeviation();
    return vertex;
}

// Weak duality makes the dual's value a floor under every portfolio's
// deviation; weights that reach it are optimal, and their own deviation is
// the figure kept (the dual's is a difference of larger numbers).
bool DeviationDual::Record(std::vector<FrontierVertex>& vertices) const {
    FrontierVertex vertex = Vertex();
    PortfolioFigures figures = m_checker->Figures(vertex.shares);
    const double given = FrontierChecker::RawLineDeviation(figures);
    if (!(std::fabs(given - vertex.lineDeviation) <= kDualityGap * std::max(1.0, vertex.lineDeviation)))
        return false;
    vertex.lineDeviation = given;
    vertex.figures = figures;
    vertices.push_back(std::move(vertex));
    return true;
}

}  // namespace korvel
