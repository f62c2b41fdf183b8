#include "core/optimizer/MeasureTableau.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvel {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// The data are scaled near 1 and the weights are at most 1, so absolute
// tolerances serve: far above a pivot's rounding, far below any real figure.
constexpr double kPrimal = 1e-11;
constexpr double kDual = 1e-11;
constexpr double kPivot = 1e-9;
// Harris's relaxation: among the rows that block within it, the largest pivot.
constexpr double kRelax = 1e-12;
constexpr double kSnap = 1e-15;

bool HasShortfall(RiskKind kind) {
    return kind != RiskKind::Worst;
}
bool HasLevel(RiskKind kind) {
    return kind == RiskKind::Cvar || kind == RiskKind::Worst;
}

}  // namespace

uint64_t MeasureTableau::EntriesFor(int32_t shares, int32_t periods, RiskKind kind) {
    const uint64_t perPeriod = HasShortfall(kind) ? 2 : 1;
    const uint64_t columns = static_cast<uint64_t>(shares) + perPeriod * static_cast<uint64_t>(periods) + 2;
    return columns * (static_cast<uint64_t>(periods) + 2);
}

MeasureTableau::MeasureTableau(const ShareReturns& returns, const RiskMeasure& measure, const WeightBounds& bounds,
                               const std::vector<double>& weights, double bound)
    : m_shares(returns.shares), m_periods(returns.periods), m_rows(returns.periods + 2), m_bound(bound) {
    BuildColumns(returns, measure, bounds);
    BuildStart(weights);
}

// Row p: the portfolio's return in p (less its mean for mad), plus the
// shortfall, less the surplus, plus the level, equals the target.
void MeasureTableau::BuildColumns(const ShareReturns& returns, const RiskMeasure& measure, const WeightBounds& bounds) {
    const RiskKind kind = measure.kind;
    const int32_t T = m_periods;
    const double perPeriod = 1.0 / static_cast<double>(T);
    // Weights, shortfalls or surpluses, the level, the return's surplus;
    // then, beside shortfalls, the virtual surpluses.
    const bool twins = HasShortfall(kind);
    m_shortfall = twins ? m_shares : -1;
    m_level = HasLevel(kind) ? m_shares + T : -1;
    m_returnSurplus = m_shares + T + (HasLevel(kind) ? 1 : 0);
    m_stored = m_returnSurplus + 1;
    m_surplus = twins ? m_stored : m_shares;
    m_columns = m_stored + (twins ? T : 0);
    m_table.assign(static_cast<size_t>(m_rows) * static_cast<size_t>(m_stored), 0.0);
    m_cost.assign(static_cast<size_t>(m_columns), 0.0);
    m_lower.assign(static_cast<size_t>(m_columns), 0.0);
    m_upper.assign(static_cast<size_t>(m_columns), kInfinity);
    m_rhs.assign(static_cast<size_t>(m_rows), kind == RiskKind::Downside ? measure.target : 0.0);
    m_rhs[static_cast<size_t>(T)] = 1.0;
    for (int32_t i = 0; i < m_shares; ++i) {
        const double mean = returns.Mean(i);
        m_means.push_back(mean);
        m_lower[static_cast<size_t>(i)] = bounds.Lower(i);
        m_upper[static_cast<size_t>(i)] = bounds.Upper(i);
        for (int32_t p = 0; p < T; ++p)
            At(p, i) = kind == RiskKind::Mad ? returns.At(i, p) - mean : returns.At(i, p);
        At(T, i) = 1.0;
        At(T + 1, i) = mean;
    }
    for (int32_t p = 0; p < T; ++p) {
        m_firstShare.push_back(At(p, 0));
        if (m_shortfall >= 0)
            At(p, m_shortfall + p) = 1.0;
        else
            At(p, m_surplus + p) = -1.0;
        if (m_level >= 0)
            At(p, m_level) = 1.0;
    }
    At(T + 1, m_returnSurplus) = -1.0;
    if (m_level >= 0) {
        m_lower[static_cast<size_t>(m_level)] = -kInfinity;
        m_cost[static_cast<size_t>(m_level)] = 1.0;
    }
    const double shortfallCost = kind == RiskKind::Cvar ? perPeriod / measure.level : perPeriod;
    for (int32_t p = 0; p < T; ++p) {
        if (m_shortfall >= 0)
            m_cost[static_cast<size_t>(m_shortfall + p)] = shortfallCost;
        if (kind == RiskKind::Mad)
            m_cost[static_cast<size_t>(m_surplus + p)] = perPeriod;
    }
}

// Every period row gets the one of its shortfall and surplus that the start
// leaves at or above zero; the budget row a share the start holds; the return
// row its surplus. Rows whose basic column enters with -1 are negated.
void MeasureTableau::BuildStart(const std::vector<double>& weights) {
    const int32_t T = m_periods;
    m_value.assign(static_cast<size_t>(m_columns), 0.0);
    m_rowOf.assign(static_cast<size_t>(m_columns), -1);
    m_basic.assign(static_cast<size_t>(m_rows), -1);
    // The share between its bounds, if there is one, must be basic.
    int32_t held = 0;
    for (int32_t i = 0; i < m_shares; ++i) {
        const size_t k = static_cast<size_t>(i);
        m_value[k] = weights[k];
        if (weights[k] > m_lower[k] && weights[k] < m_upper[k])
            held = i;
    }
    std::vector<long double> period(static_cast<size_t>(T), 0.0L);
    for (int32_t p = 0; p < T; ++p)
        for (int32_t i = 0; i < m_shares; ++i)
            period[static_cast<size_t>(p)] += static_cast<long double>(At(p, i)) * weights[static_cast<size_t>(i)];
    if (m_level >= 0 && m_shortfall < 0) {
        long double worst = -period[0];
        for (long double r : period)
            worst = std::max(worst, -r);
        m_value[static_cast<size_t>(m_level)] = static_cast<double>(worst);
    }
    const long double level = m_level >= 0 ? m_value[static_cast<size_t>(m_level)] : 0.0;
    for (int32_t p = 0; p < T; ++p) {
        const long double residual = m_rhs[static_cast<size_t>(p)] - period[static_cast<size_t>(p)] - level;
        const bool shortfall = m_shortfall >= 0 && residual >= 0;
        const int32_t column = shortfall ? m_shortfall + p : m_surplus + p;
        m_value[static_cast<size_t>(column)] = static_cast<double>(std::max(0.0L, shortfall ? residual : -residual));
        m_basic[static_cast<size_t>(p)] = column;
        if (!shortfall)
            for (int32_t c = 0; c < m_stored; ++c)
                At(p, c) = -At(p, c);
    }
    long double average = 0;
    for (int32_t i = 0; i < m_shares; ++i)
        average += static_cast<long double>(m_means[static_cast<size_t>(i)]) * weights[static_cast<size_t>(i)];
    m_value[static_cast<size_t>(m_returnSurplus)] = static_cast<double>(std::max(0.0L, average - m_bound));
    m_basic[static_cast<size_t>(T)] = held;
    m_basic[static_cast<size_t>(T + 1)] = m_returnSurplus;
    for (int32_t row = 0; row < m_rows; ++row) {
        if (row == T)
            continue;
        const double f = At(row, held);
        if (f != 0.0)
            for (int32_t c = 0; c < m_stored; ++c)
                At(row, c) -= f * At(T, c);
        At(row, held) = 0.0;
    }
    for (int32_t c = 0; c < m_stored; ++c)
        At(T + 1, c) = -At(T + 1, c);
    for (int32_t row = 0; row < m_rows; ++row)
        m_rowOf[static_cast<size_t>(m_basic[static_cast<size_t>(row)])] = row;
    m_reduced.assign(m_cost.begin(), m_cost.begin() + m_stored);
    for (int32_t row = 0; row < m_rows; ++row) {
        const double c = m_cost[static_cast<size_t>(m_basic[static_cast<size_t>(row)])];
        if (c != 0.0)
            for (int32_t j = 0; j < m_stored; ++j)
                m_reduced[static_cast<size_t>(j)] -= c * At(row, j);
    }
    for (int32_t row = 0; row < m_rows; ++row)
        if (!Virtual(m_basic[static_cast<size_t>(row)]))
            m_reduced[static_cast<size_t>(m_basic[static_cast<size_t>(row)])] = 0.0;
}

// A virtual column enters as its twin does, then its row is negated and
// the reduced costs take its cost in place of the twin's.
void MeasureTableau::Pivot(int32_t row, int32_t entering) {
    const int32_t column = Virtual(entering) ? Twin(entering) : entering;
    double* pivotRow = &m_table[Index(row, 0)];
    const double inverse = 1.0 / pivotRow[column];
    std::vector<int32_t> nonzero;
    for (int32_t c = 0; c < m_stored; ++c) {
        if (pivotRow[c] != 0.0) {
            pivotRow[c] *= inverse;
            nonzero.push_back(c);
        }
    }
    pivotRow[column] = 1.0;
    const bool sparse = nonzero.size() * 3 < static_cast<size_t>(m_stored);
    const auto eliminate = [&](double* target) {
        const double f = target[column];
        if (f == 0.0)
            return;
        if (sparse) {
            for (int32_t c : nonzero)
                target[c] -= f * pivotRow[c];
        } else {
            for (int32_t c = 0; c < m_stored; ++c)
                target[c] -= f * pivotRow[c];
        }
        target[column] = 0.0;
    };
    for (int32_t r = 0; r < m_rows; ++r)
        if (r != row)
            eliminate(&m_table[Index(r, 0)]);
    eliminate(m_reduced.data());
    if (Virtual(entering)) {
        const double shift = m_cost[static_cast<size_t>(column)] + m_cost[static_cast<size_t>(entering)];
        for (int32_t c : nonzero) {
            m_reduced[static_cast<size_t>(c)] += shift * pivotRow[c];
            pivotRow[c] = -pivotRow[c];
        }
    }
    const int32_t leaving = m_basic[static_cast<size_t>(row)];
    m_rowOf[static_cast<size_t>(leaving)] = -1;
    m_rowOf[static_cast<size_t>(entering)] = row;
    m_basic[static_cast<size_t>(row)] = entering;
}

int32_t MeasureTableau::EnteringColumn(int& direction) const {
    int32_t best = -1;
    double bestScore = kDual;
    for (int32_t j = 0; j < m_columns; ++j) {
        const size_t k = static_cast<size_t>(j);
        if (m_rowOf[k] >= 0)
            continue;
        const double d = Reduced(j);
        if (d < -bestScore && m_value[k] < m_upper[k] - kPrimal) {
            best = j;
            bestScore = -d;
            direction = 1;
        } else if (d > bestScore && m_value[k] > m_lower[k] + kPrimal) {
            best = j;
            bestScore = d;
            direction = -1;
        }
    }
    return best;
}

// Harris's two passes: the furthest step no row passes by more than kRelax,
// then among the rows blocking within it the one with the largest pivot.
int32_t MeasureTableau::LeavingRow(int32_t column, int direction, double& step) const {
    const auto ratio = [&](int32_t row, double relax) {
        const double a = direction * Entry(row, column);
        const size_t b = static_cast<size_t>(m_basic[static_cast<size_t>(row)]);
        if (a > kPivot && std::isfinite(m_lower[b]))
            return (m_value[b] - m_lower[b] + relax) / a;
        if (a < -kPivot && std::isfinite(m_upper[b]))
            return (m_upper[b] - m_value[b] + relax) / -a;
        return kInfinity;
    };
    double limit = kInfinity;
    for (int32_t row = 0; row < m_rows; ++row)
        limit = std::min(limit, ratio(row, kRelax));
    int32_t leaving = -1;
    double largest = 0.0;
    for (int32_t row = 0; row < m_rows && std::isfinite(limit); ++row) {
        const double a = std::fabs(Entry(row, column));
        if (ratio(row, 0.0) <= limit && a > largest) {
            leaving = row;
            largest = a;
        }
    }
    step = leaving >= 0 ? std::max(0.0, ratio(leaving, 0.0)) : kInfinity;
    const size_t k = static_cast<size_t>(column);
    const double range = direction > 0 ? m_upper[k] - m_value[k] : m_value[k] - m_lower[k];
    if (range <= step) {
        step = range;
        return -1;
    }
    return leaving;
}

TableauStep MeasureTableau::PrimalStep() {
    int direction = 0;
    const int32_t column = EnteringColumn(direction);
    if (column < 0)
        return TableauStep::Optimal;
    double step = 0.0;
    const int32_t row = LeavingRow(column, direction, step);
    if (!std::isfinite(step))
        return TableauStep::Unbounded;
    m_value[static_cast<size_t>(column)] += direction * step;
    for (int32_t r = 0; r < m_rows; ++r)
        m_value[static_cast<size_t>(m_basic[static_cast<size_t>(r)])] -= direction * step * Entry(r, column);
    if (row < 0) {
        const size_t k = static_cast<size_t>(column);
        m_value[k] = direction > 0 ? m_upper[k] : m_lower[k];
        return TableauStep::Pivoted;
    }
    const size_t leaving = static_cast<size_t>(m_basic[static_cast<size_t>(row)]);
    m_value[leaving] = direction * Entry(row, column) > 0 ? m_lower[leaving] : m_upper[leaving];
    Pivot(row, column);
    return TableauStep::Pivoted;
}

// The least |reduced cost / pivot| among the columns that move the leaving
// variable back inside its bound, so that every reduced cost keeps its sign.
int32_t MeasureTableau::DualEntering(int32_t row, bool leavesAtLower) const {
    const auto ratio = [&](int32_t j, double relax) {
        const size_t k = static_cast<size_t>(j);
        if (m_rowOf[k] >= 0)
            return kInfinity;
        const double a = leavesAtLower ? Entry(row, j) : -Entry(row, j);
        const double d = Reduced(j);
        if (a < -kPivot && m_value[k] < m_upper[k] - kPrimal)
            return (std::max(0.0, d) + relax) / -a;
        if (a > kPivot && m_value[k] > m_lower[k] + kPrimal)
            return (std::max(0.0, -d) + relax) / a;
        return kInfinity;
    };
    double limit = kInfinity;
    for (int32_t j = 0; j < m_columns; ++j)
        limit = std::min(limit, ratio(j, kRelax));
    int32_t entering = -1;
    if (!std::isfinite(limit))
        return entering;
    double largest = 0.0;
    for (int32_t j = 0; j < m_columns; ++j) {
        const double a = std::fabs(Entry(row, j));
        if (ratio(j, 0.0) <= limit && a > largest) {
            entering = j;
            largest = a;
        }
    }
    return entering;
}

bool MeasureTableau::RaiseBound(double limit, bool& moved) {
    const int32_t surplus = m_returnSurplus;
    double step = std::max(0.0, limit - m_bound);
    int32_t blocking = -1;
    double largest = 0.0;
    for (int32_t row = 0; row < m_rows; ++row) {
        const double rate = -At(row, surplus);
        const size_t b = static_cast<size_t>(m_basic[static_cast<size_t>(row)]);
        double room = kInfinity;
        if (rate < -kPivot && std::isfinite(m_lower[b]))
            room = std::max(0.0, m_value[b] - m_lower[b]) / -rate;
        else if (rate > kPivot && std::isfinite(m_upper[b]))
            room = std::max(0.0, m_upper[b] - m_value[b]) / rate;
        if (room < step || (room == step && blocking >= 0 && std::fabs(rate) > largest)) {
            step = room;
            blocking = row;
            largest = std::fabs(rate);
        }
    }
    moved = step > 0.0;
    m_bound += step;
    for (int32_t row = 0; row < m_rows; ++row)
        m_value[static_cast<size_t>(m_basic[static_cast<size_t>(row)])] -= step * At(row, surplus);
    if (blocking < 0)
        return false;
    const size_t leaving = static_cast<size_t>(m_basic[static_cast<size_t>(blocking)]);
    const bool atLower = -At(blocking, surplus) < 0;
    m_value[leaving] = atLower ? m_lower[leaving] : m_upper[leaving];
    const int32_t entering = DualEntering(blocking, atLower);
    if (entering < 0)
        return false;
    Pivot(blocking, entering);
    return true;
}

double MeasureTableau::Reduced(int32_t column) const {
    if (!Virtual(column))
        return m_reduced[static_cast<size_t>(column)];
    if (m_rowOf[static_cast<size_t>(column)] >= 0)
        return 0.0;
    const size_t twin = static_cast<size_t>(Twin(column));
    return m_cost[static_cast<size_t>(column)] + m_cost[twin] - m_reduced[twin];
}

double MeasureTableau::BoundSlope() const {
    return m_rowOf[static_cast<size_t>(m_returnSurplus)] >= 0 ? 0.0 : m_reduced[static_cast<size_t>(m_returnSurplus)];
}

double MeasureTableau::Cost() const {
    long double total = 0;
    for (int32_t j = 0; j < m_columns; ++j)
        total += static_cast<long double>(m_cost[static_cast<size_t>(j)]) * m_value[static_cast<size_t>(j)];
    return static_cast<double>(total);
}

std::vector<double> MeasureTableau::Weights() const {
    std::vector<double> weights(m_value.begin(), m_value.begin() + m_shares);
    for (int32_t i = 0; i < m_shares; ++i) {
        const size_t k = static_cast<size_t>(i);
        // A basic weight at its bound keeps a pivot's rounding, some 1e-17:
        // that is no holding.
        weights[k] = std::clamp(weights[k], m_lower[k], m_upper[k]);
        if (weights[k] - m_lower[k] <= kSnap)
            weights[k] = m_lower[k];
        else if (m_upper[k] - weights[k] <= kSnap)
            weights[k] = m_upper[k];
    }
    return weights;
}

// A row's price is read off its own unit column: that column's reduced cost
// is its cost less the price (negated where the column enters with -1). The
// budget row has none, so its price is what the first share's reduced cost
// leaves over.
std::vector<long double> MeasureTableau::RowPrices() const {
    const int32_t T = m_periods;
    std::vector<long double> prices(static_cast<size_t>(m_rows), 0.0L);
    for (int32_t p = 0; p < T; ++p) {
        const size_t unit = static_cast<size_t>(m_shortfall >= 0 ? m_shortfall + p : m_surplus + p);
        const long double price = static_cast<long double>(m_cost[unit]) - m_reduced[unit];
        prices[static_cast<size_t>(p)] = m_shortfall >= 0 ? price : -price;
    }
    const size_t surplus = static_cast<size_t>(m_returnSurplus);
    prices[static_cast<size_t>(T + 1)] = -(static_cast<long double>(m_cost[surplus]) - m_reduced[surplus]);
    long double budget = static_cast<long double>(m_cost[0]) - m_reduced[0];
    for (int32_t p = 0; p < T; ++p)
        budget -= prices[static_cast<size_t>(p)] * m_firstShare[static_cast<size_t>(p)];
    budget -= prices[static_cast<size_t>(T + 1)] * m_means[0];
    prices[static_cast<size_t>(T)] = budget;
    return prices;
}

}  // namespace korvel
