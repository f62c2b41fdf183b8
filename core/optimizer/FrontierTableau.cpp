#include "core/optimizer/FrontierTableau.h"

#include "core/optimizer/FrontierPivot.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvel {
namespace {

using namespace frontier;

constexpr double kDirectionTolerance = 1e-12;
constexpr double kFeasibilityTolerance = 1e-9;

}  // namespace

FrontierTableau::FrontierTableau(const ShareReturns& returns, double startBelow)
    : m_shares(returns.shares), m_periods(returns.periods), m_rows(returns.periods + 2),
      m_cols(returns.shares + 2 * returns.periods + 3),
      m_cells(static_cast<size_t>(m_rows + 1) * static_cast<size_t>(m_cols), 0.0),
      m_basis(static_cast<size_t>(m_rows), -1), m_pivotLimit(20 * static_cast<int64_t>(m_cols + m_rows) + 1000) {
    Fill(returns, startBelow);
    StartBasis();
    FillCostRow();
}

// Budget row 0: sum of weights = 1. Return row 1: sum of mean times weight,
// less the surplus, = the bound. Period row 1+p: the portfolio's deviation
// from its average in period p, plus u_p, less w_p, = 0.
void FrontierTableau::Fill(const ShareReturns& returns, double startBelow) {
    double lowestMean = std::numeric_limits<double>::infinity();
    for (int32_t i = 0; i < m_shares; ++i) {
        const double mean = returns.Mean(i);
        lowestMean = std::min(lowestMean, mean);
        Row(0)[i] = 1.0;
        Row(1)[i] = mean;
        for (int32_t p = 0; p < m_periods; ++p)
            Row(2 + p)[i] = returns.At(i, p) - mean;
    }
    Row(0)[RhsColumn()] = 1.0;
    Row(1)[SurplusColumn()] = -1.0;
    // Below every mean the bound binds no portfolio.
    m_bound = std::min(lowestMean, startBelow);
    Row(1)[RhsColumn()] = m_bound;
    Row(1)[DirectionColumn()] = 1.0;
    for (int32_t p = 0; p < m_periods; ++p) {
        Row(2 + p)[m_shares + 1 + 2 * p] = 1.0;
        Row(2 + p)[m_shares + 2 + 2 * p] = -1.0;
        m_basis[static_cast<size_t>(2 + p)] = m_shares + 1 + 2 * p;
    }
}

// A feasible start without artificial variables: all in the share of the
// least deviation of its own, the surplus taking up the return, and in each
// period the deviation variable of the right sign.
void FrontierTableau::StartBasis() {
    int32_t start = 0;
    double least = std::numeric_limits<double>::infinity();
    for (int32_t i = 0; i < m_shares; ++i) {
        double deviation = 0.0;
        for (int32_t p = 0; p < m_periods; ++p)
            deviation += std::fabs(Row(2 + p)[i]);
        if (deviation < least) {
            least = deviation;
            start = i;
        }
    }
    Pivot(0, start);
    Pivot(1, SurplusColumn());
    for (int32_t p = 0; p < m_periods; ++p)
        if (Rhs(2 + p) < 0.0)
            Pivot(2 + p, m_shares + 2 + 2 * p);
    m_pivots = 0;
}

// Reduced cost of column j: its cost (1 for a deviation variable, else 0)
// less the sum of the rows whose basic variable is a deviation variable.
void FrontierTableau::FillCostRow() {
    double* cost = Row(CostRow());
    std::fill(cost, cost + m_cols, 0.0);
    for (int32_t j = m_shares + 1; j < RhsColumn(); ++j)
        cost[j] = 1.0;
    for (int32_t r = 0; r < m_rows; ++r) {
        if (m_basis[static_cast<size_t>(r)] <= m_shares)
            continue;
        const double* row = Row(r);
        for (int32_t j = 0; j < m_cols; ++j)
            cost[j] -= row[j];
    }
}

void FrontierTableau::Pivot(int32_t row, int32_t col) {
    EliminateColumn(m_cells.data(), m_rows + 1, m_cols, row, col);
    m_basis[static_cast<size_t>(row)] = col;
    ++m_pivots;
}

// Dantzig's rule (the most negative reduced cost), or the lowest index under Bland's.
int32_t FrontierTableau::PrimalEntering(bool bland) const {
    const double* cost = Row(CostRow());
    double best = -kCostTolerance;
    int32_t column = -1;
    for (int32_t j = 0; j < RhsColumn(); ++j) {
        if (cost[j] < best) {
            if (bland)
                return j;
            best = cost[j];
            column = j;
        }
    }
    return column;
}

// The minimum ratio; among ties the larger pivot entry, for accuracy, or the
// lowest basic index under Bland's rule.
int32_t FrontierTableau::PrimalLeaving(int32_t col, bool bland, double& ratio) const {
    int32_t leaving = -1;
    ratio = std::numeric_limits<double>::infinity();
    for (int32_t r = 0; r < m_rows; ++r) {
        const double entry = Row(r)[col];
        if (!(entry > kPivotTolerance))
            continue;
        const double q = std::max(Rhs(r), 0.0) / entry;
        const bool tie = leaving >= 0 && std::fabs(q - ratio) <= kTieTolerance;
        bool better = q < ratio && !tie;
        if (tie) {
            better = bland ? m_basis[static_cast<size_t>(r)] < m_basis[static_cast<size_t>(leaving)]
                           : entry > Row(leaving)[col];
        }
        if (better) {
            leaving = r;
            ratio = std::min(q, ratio);
        }
    }
    return leaving;
}

FrontierWalkOutcome FrontierTableau::MinimiseDeviation() {
    int degenerateRun = 0;
    for (;;) {
        const bool bland = degenerateRun > kDegenerateRunBeforeBland;
        const int32_t col = PrimalEntering(bland);
        if (col < 0)
            return FrontierWalkOutcome::Done;
        double ratio = 0.0;
        const int32_t row = PrimalLeaving(col, bland, ratio);
        // The budget row bounds every column, so an unbounded column means
        // the arithmetic has gone astray.
        if (row < 0)
            return FrontierWalkOutcome::Lost;
        if (m_pivots >= m_pivotLimit)
            return FrontierWalkOutcome::PivotLimit;
        degenerateRun = ratio <= kStepTolerance ? degenerateRun + 1 : 0;
        Pivot(row, col);
        if (!Feasible())
            return FrontierWalkOutcome::Lost;
    }
}

// The row whose basic variable reaches zero first as the bound rises.
int32_t FrontierTableau::BoundLeaving(double& step) const {
    int32_t leaving = -1;
    step = std::numeric_limits<double>::infinity();
    for (int32_t r = 0; r < m_rows; ++r) {
        const double direction = Row(r)[DirectionColumn()];
        if (!(direction < -kDirectionTolerance))
            continue;
        const double q = std::max(Rhs(r), 0.0) / -direction;
        if (q < step) {
            step = q;
            leaving = r;
        }
    }
    return leaving;
}

// The dual ratio test: the column that keeps every reduced cost optimal when
// it replaces the row's basic variable; among ties the larger entry. None
// means no portfolio reaches a higher bound.
int32_t FrontierTableau::DualEntering(int32_t row) const {
    const double* entries = Row(row);
    const double* cost = Row(CostRow());
    int32_t entering = -1;
    double best = std::numeric_limits<double>::infinity();
    for (int32_t j = 0; j < RhsColumn(); ++j) {
        const double entry = entries[j];
        if (!(entry < -kPivotTolerance))
            continue;
        const double q = std::max(cost[j], 0.0) / -entry;
        const bool tie = entering >= 0 && std::fabs(q - best) <= kTieTolerance;
        if ((q < best && !tie) || (tie && entry < entries[entering])) {
            best = std::min(q, best);
            entering = j;
        }
    }
    return entering;
}

// Rounding may leave a basic value a hair below zero; more than that means
// the basis is no longer a portfolio.
bool FrontierTableau::Feasible() {
    for (int32_t r = 0; r < m_rows; ++r) {
        double& value = Row(r)[RhsColumn()];
        if (value < -kFeasibilityTolerance || !std::isfinite(value))
            return false;
        if (value < 0.0)
            value = 0.0;
    }
    return true;
}

bool FrontierTableau::RaiseBound(std::vector<FrontierVertex>& vertices, const FrontierWalkSpan& span, int32_t& row) {
    double step = 0.0;
    row = BoundLeaving(step);
    if (row < 0)
        return false;
    const bool below = m_bound < span.from;
    if (below && m_bound + step >= span.from) {
        step = span.from - m_bound;
        row = -1;
    }
    for (int32_t r = 0; r < m_rows; ++r)
        Row(r)[RhsColumn()] += step * Row(r)[DirectionColumn()];
    if (row >= 0)
        Row(row)[RhsColumn()] = 0.0;
    m_bound = row < 0 ? span.from : m_bound + step;
    if (!Feasible())
        return false;
    const bool start = below ? row < 0 : vertices.empty();
    if (start || (m_bound >= span.from && step > kStepTolerance))
        vertices.push_back(Vertex());
    return true;
}

// The flat start ends where the deviation first rises above the least.
bool FrontierTableau::Finished(const std::vector<FrontierVertex>& vertices, const FrontierWalkSpan& span) const {
    switch (span.stop) {
    case FrontierWalkSpan::Stop::AtTop:
        return false;
    case FrontierWalkSpan::Stop::AtFrom:
        return !vertices.empty();
    case FrontierWalkSpan::Stop::AfterFlatStart:
        return vertices.size() > 1 && vertices.back().lineDeviation - vertices.front().lineDeviation > kFlatTolerance;
    }
    return false;
}

FrontierWalkOutcome FrontierTableau::Walk(std::vector<FrontierVertex>& vertices, const FrontierWalkSpan& span) {
    const FrontierWalkOutcome least = MinimiseDeviation();
    if (least != FrontierWalkOutcome::Done)
        return least;
    for (;;) {
        int32_t row = -1;
        if (!RaiseBound(vertices, span, row))
            return FrontierWalkOutcome::Lost;
        if (Finished(vertices, span))
            return FrontierWalkOutcome::Done;
        if (row < 0)
            continue;
        const int32_t col = DualEntering(row);
        if (col < 0) {
            RecordTop(vertices, span);
            return FrontierWalkOutcome::Done;
        }
        if (m_pivots >= m_pivotLimit)
            return FrontierWalkOutcome::PivotLimit;
        Pivot(row, col);
    }
}

// The top of the frontier is the best mean, which the sum of the bound's
// steps may miss by a rounding; a start that close to it is the top.
void FrontierTableau::RecordTop(std::vector<FrontierVertex>& vertices, const FrontierWalkSpan& span) const {
    if (vertices.empty() && span.from - m_bound <= kStepTolerance)
        vertices.push_back(Vertex());
}

// A column's reduced cost is its cost less the prices times its entries: u_p
// (cost 1, entry 1 in period p's row) gives that row's price, and the surplus
// (cost 0, entry -1 in the return row) the return row's.
FrontierTableau::Prices FrontierTableau::RowPrices() const {
    const double* cost = Row(CostRow());
    Prices prices;
    prices.ofReturn = cost[SurplusColumn()];
    prices.ofPeriods.resize(static_cast<size_t>(m_periods));
    for (int32_t p = 0; p < m_periods; ++p)
        prices.ofPeriods[static_cast<size_t>(p)] = 1.0 - cost[m_shares + 1 + 2 * p];
    for (int32_t b : m_basis)
        if (b < m_shares)
            prices.heldShare = b;
    return prices;
}

// Widens every row, the shares' columns first as before.
void FrontierTableau::Widen(int32_t added) {
    const int32_t cols = m_cols + added;
    std::vector<double> cells(static_cast<size_t>(m_rows + 1) * static_cast<size_t>(cols), 0.0);
    for (int32_t r = 0; r <= m_rows; ++r) {
        const double* from = Row(r);
        double* to = cells.data() + static_cast<size_t>(r) * static_cast<size_t>(cols);
        std::copy(from, from + m_shares, to);
        std::copy(from + m_shares, from + m_cols, to + m_shares + added);
    }
    for (int32_t& b : m_basis)
        if (b >= m_shares)
            b += added;
    m_cells.swap(cells);
    m_cols = cols;
    m_shares += added;
    m_pivotLimit = 20 * static_cast<int64_t>(m_cols + m_rows) + 1000 + m_pivots;
}

// A new share's column differs from the held share's by its mean and its
// deviations, and B^-1 times those is a combination of the surplus's and the
// u_p's columns; its reduced cost is the held share's (zero) less the prices
// times the difference.
void FrontierTableau::AddShares(const ShareReturns& joining, const ShareReturns& held, int32_t heldColumn) {
    const int32_t first = m_shares;
    Widen(joining.shares);
    const double heldMean = held.Mean(0);
    std::vector<double> change(static_cast<size_t>(m_periods));
    for (int32_t j = 0; j < joining.shares; ++j) {
        const double mean = joining.Mean(j);
        const double meanChange = mean - heldMean;
        for (int32_t p = 0; p < m_periods; ++p)
            change[static_cast<size_t>(p)] = (joining.At(j, p) - mean) - (held.At(0, p) - heldMean);
        for (int32_t r = 0; r < m_rows; ++r) {
            const double* row = Row(r);
            double value = row[heldColumn] - meanChange * row[SurplusColumn()];
            for (int32_t p = 0; p < m_periods; ++p)
                value += change[static_cast<size_t>(p)] * row[m_shares + 1 + 2 * p];
            Row(r)[first + j] = value;
        }
        const double* cost = Row(CostRow());
        double value = cost[heldColumn] - meanChange * cost[SurplusColumn()];
        for (int32_t p = 0; p < m_periods; ++p)
            value -= change[static_cast<size_t>(p)] * (1.0 - cost[m_shares + 1 + 2 * p]);
        Row(CostRow())[first + j] = value;
    }
}

FrontierWalkOutcome FrontierTableau::Reoptimise(std::vector<FrontierVertex>& vertices) {
    const FrontierWalkOutcome outcome = MinimiseDeviation();
    if (outcome == FrontierWalkOutcome::Done)
        vertices.push_back(Vertex());
    return outcome;
}

FrontierVertex FrontierTableau::Vertex() const {
    FrontierVertex vertex;
    vertex.averageReturn = m_bound;
    double deviation = 0.0;
    for (int32_t r = 0; r < m_rows; ++r) {
        const int32_t b = m_basis[static_cast<size_t>(r)];
        if (b < m_shares)
            vertex.shares.push_back({b + 1, Rhs(r)});
        else if (b == SurplusColumn())
            vertex.averageReturn += Rhs(r);
        else
            deviation += Rhs(r);
    }
    vertex.lineDeviation = deviation / static_cast<double>(m_periods);
    std::sort(vertex.shares.begin(), vertex.shares.end(),
              [](const FrontierShare& a, const FrontierShare& b) { return a.row < b.row; });
    return vertex;
}

}  // namespace korvel
