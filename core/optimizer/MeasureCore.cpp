#include "core/optimizer/MeasureCore.h"

#include "core/optimizer/SplitDot.h"

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
constexpr int32_t kFreshEvery = 50;

bool HasShortfall(RiskKind kind) {
    return kind != RiskKind::Worst;
}
bool HasLevel(RiskKind kind) {
    return kind == RiskKind::Cvar || kind == RiskKind::Worst;
}

}  // namespace

uint64_t MeasureCore::EntriesFor(int32_t shares, int32_t periods, RiskKind kind) {
    const uint64_t copies = kind == RiskKind::Mad ? 2 : 1;
    const uint64_t widest = static_cast<uint64_t>(std::min(shares, periods)) + 2;
    return copies * static_cast<uint64_t>(shares) * static_cast<uint64_t>(periods) + widest * widest;
}

MeasureCore::MeasureCore(const ShareReturns& returns, const std::vector<double>& means, const RiskMeasure& measure,
                         const WeightBounds& bounds, const std::vector<double>& weights, double bound)
    : m_shares(returns.shares), m_periods(returns.periods), m_rows(returns.periods + 2), m_bound(bound),
      m_means(means) {
    BuildColumns(returns, measure, bounds);
    BuildStart(weights);
    Refresh(true);
}

// Columns: the weights, the shortfalls (or, for the worst loss, the
// surpluses), the level, the return's surplus, then the surpluses beside
// shortfalls. Row p: the return in p (less the mean for mad), plus the
// shortfall, less the surplus, plus the level, equals the target.
void MeasureCore::BuildColumns(const ShareReturns& returns, const RiskMeasure& measure, const WeightBounds& bounds) {
    const RiskKind kind = measure.kind;
    const int32_t T = m_periods;
    const bool twins = HasShortfall(kind);
    m_shortfall = twins ? m_shares : -1;
    m_level = HasLevel(kind) ? m_shares + T : -1;
    m_returnSurplus = m_shares + T + (HasLevel(kind) ? 1 : 0);
    m_surplus = twins ? m_returnSurplus + 1 : m_shares;
    m_columns = m_returnSurplus + 1 + (twins ? T : 0);
    m_cost.assign(static_cast<size_t>(m_columns), 0.0);
    m_lower.assign(static_cast<size_t>(m_columns), 0.0);
    m_upper.assign(static_cast<size_t>(m_columns), kInfinity);
    m_rhs.assign(static_cast<size_t>(m_rows), kind == RiskKind::Downside ? measure.target : 0.0);
    m_rhs[static_cast<size_t>(T)] = 1.0;
    // Mad's rows hold each return less its share's mean; the others the
    // returns themselves, read where they lie.
    if (kind == RiskKind::Mad)
        m_madData = returns.values;
    m_data = kind == RiskKind::Mad ? m_madData.data() : returns.values.data();
    const size_t n = static_cast<size_t>(m_shares);
    m_byPeriod.reset(new double[n * static_cast<size_t>(T)]);
    for (int32_t i = 0; i < m_shares; ++i) {
        const double mean = m_means[static_cast<size_t>(i)];
        m_lower[static_cast<size_t>(i)] = bounds.Lower(i);
        m_upper[static_cast<size_t>(i)] = bounds.Upper(i);
        if (kind == RiskKind::Mad)
            for (size_t k = static_cast<size_t>(i) * static_cast<size_t>(T), end = k + static_cast<size_t>(T); k < end;
                 ++k)
                m_madData[k] -= mean;
    }
    // In blocks of shares, so that the rows being read stay in the cache.
    constexpr size_t kBlock = 16;
    for (size_t first = 0; first < n; first += kBlock)
        for (int32_t p = 0; p < T; ++p)
            for (size_t i = first; i < std::min(n, first + kBlock); ++i)
                m_byPeriod[static_cast<size_t>(p) * n + i] =
                    m_data[i * static_cast<size_t>(T) + static_cast<size_t>(p)];
    BuildUnits();
    if (m_level >= 0) {
        m_lower[static_cast<size_t>(m_level)] = -kInfinity;
        m_cost[static_cast<size_t>(m_level)] = 1.0;
    }
    const double perPeriod = 1.0 / static_cast<double>(T);
    const double shortfallCost = kind == RiskKind::Cvar ? perPeriod / measure.level : perPeriod;
    for (int32_t p = 0; p < T; ++p) {
        if (m_shortfall >= 0)
            m_cost[static_cast<size_t>(m_shortfall + p)] = shortfallCost;
        if (kind == RiskKind::Mad)
            m_cost[static_cast<size_t>(m_surplus + p)] = perPeriod;
    }
}

// As the table's start: every period row's basic unit column is the one of
// its shortfall and surplus the start leaves at or above zero, the return
// row's its surplus, and the core one share the start holds.
void MeasureCore::BuildStart(const std::vector<double>& weights) {
    const int32_t T = m_periods;
    m_value.assign(static_cast<size_t>(m_columns), 0.0);
    int32_t held = 0;
    for (int32_t i = 0; i < m_shares; ++i) {
        const size_t k = static_cast<size_t>(i);
        m_value[k] = weights[k];
        if (weights[k] > m_lower[k] && weights[k] < m_upper[k])
            held = i;
    }
    std::vector<long double> period(static_cast<size_t>(T), 0.0L);
    for (int32_t i = 0; i < m_shares; ++i) {
        const double w = weights[static_cast<size_t>(i)];
        if (w != 0.0)
            for (int32_t p = 0; p < T; ++p)
                period[static_cast<size_t>(p)] +=
                    static_cast<long double>(
                        m_data[static_cast<size_t>(i) * static_cast<size_t>(T) + static_cast<size_t>(p)])
                    * w;
    }
    if (m_level >= 0 && m_shortfall < 0) {
        long double worst = -period[0];
        for (long double r : period)
            worst = std::max(worst, -r);
        m_value[static_cast<size_t>(m_level)] = static_cast<double>(worst);
    }
    const long double level = m_level >= 0 ? m_value[static_cast<size_t>(m_level)] : 0.0;
    m_rowUnit.assign(static_cast<size_t>(m_rows), -1);
    m_isBasic.assign(static_cast<size_t>(m_columns), 0);
    for (int32_t p = 0; p < T; ++p) {
        const long double residual = m_rhs[static_cast<size_t>(p)] - period[static_cast<size_t>(p)] - level;
        const bool shortfall = m_shortfall >= 0 && residual >= 0;
        const int32_t column = shortfall ? m_shortfall + p : m_surplus + p;
        m_value[static_cast<size_t>(column)] = static_cast<double>(std::max(0.0L, shortfall ? residual : -residual));
        m_rowUnit[static_cast<size_t>(p)] = column;
    }
    long double average = 0;
    for (int32_t i = 0; i < m_shares; ++i)
        average += static_cast<long double>(m_means[static_cast<size_t>(i)]) * weights[static_cast<size_t>(i)];
    m_value[static_cast<size_t>(m_returnSurplus)] = static_cast<double>(std::max(0.0L, average - m_bound));
    m_rowUnit[static_cast<size_t>(T + 1)] = m_returnSurplus;
    m_core = {held};
    for (int32_t column : m_rowUnit)
        if (column >= 0)
            m_isBasic[static_cast<size_t>(column)] = 1;
    m_isBasic[static_cast<size_t>(held)] = 1;
}

void MeasureCore::BuildUnits() {
    m_unitRow.assign(static_cast<size_t>(m_columns), -1);
    m_unitSign.assign(static_cast<size_t>(m_columns), -1.0);
    m_unitRow[static_cast<size_t>(m_returnSurplus)] = m_periods + 1;
    for (int32_t p = 0; p < m_periods; ++p) {
        m_unitRow[static_cast<size_t>(m_surplus + p)] = p;
        if (m_shortfall >= 0) {
            m_unitRow[static_cast<size_t>(m_shortfall + p)] = p;
            m_unitSign[static_cast<size_t>(m_shortfall + p)] = 1.0;
        }
    }
}

double MeasureCore::Entry(int32_t row, int32_t column) const {
    const int32_t T = m_periods;
    if (column < m_shares) {
        if (row < T)
            return m_data[static_cast<size_t>(column) * static_cast<size_t>(T) + static_cast<size_t>(row)];
        return row == T ? 1.0 : m_means[static_cast<size_t>(column)];
    }
    if (column == m_level)
        return row < T ? 1.0 : 0.0;
    return UnitRow(column) == row ? UnitSign(column) : 0.0;
}

void MeasureCore::AddColumn(int32_t column, double factor, std::vector<double>& rows) const {
    const int32_t T = m_periods;
    if (column < m_shares) {
        const double* data = m_data + static_cast<size_t>(column) * static_cast<size_t>(T);
        for (int32_t p = 0; p < T; ++p)
            rows[static_cast<size_t>(p)] += factor * data[p];
        rows[static_cast<size_t>(T)] += factor;
        rows[static_cast<size_t>(T + 1)] += factor * m_means[static_cast<size_t>(column)];
    } else if (column == m_level) {
        for (int32_t p = 0; p < T; ++p)
            rows[static_cast<size_t>(p)] += factor;
    } else {
        rows[static_cast<size_t>(UnitRow(column))] += factor * UnitSign(column);
    }
}

double MeasureCore::ColumnDot(int32_t column, const std::vector<double>& rows) const {
    const int32_t T = m_periods;
    if (column < m_shares)
        return SplitDot(m_data + static_cast<size_t>(column) * static_cast<size_t>(T), rows.data(), T)
               + rows[static_cast<size_t>(T)] + m_means[static_cast<size_t>(column)] * rows[static_cast<size_t>(T + 1)];
    if (column == m_level) {
        double sum = 0.0;
        for (int32_t p = 0; p < T; ++p)
            sum += rows[static_cast<size_t>(p)];
        return sum;
    }
    return UnitSign(column) * rows[static_cast<size_t>(UnitRow(column))];
}

void MeasureCore::Refresh(bool full) {
    m_coreRows.clear();
    m_basic = m_core;
    for (int32_t row = 0; row < m_rows; ++row) {
        const int32_t unit = m_rowUnit[static_cast<size_t>(row)];
        if (unit < 0)
            m_coreRows.push_back(row);
        else
            m_basic.push_back(unit);
    }
    const int32_t size = static_cast<int32_t>(m_core.size());
    std::vector<double> matrix(static_cast<size_t>(size) * static_cast<size_t>(size));
    for (int32_t r = 0; r < size; ++r)
        for (int32_t c = 0; c < size; ++c)
            matrix[static_cast<size_t>(r) * static_cast<size_t>(size) + static_cast<size_t>(c)] =
                Entry(m_coreRows[static_cast<size_t>(r)], m_core[static_cast<size_t>(c)]);
    m_factors.Factor(std::move(matrix), size);
    m_sinceFresh = full ? 0 : m_sinceFresh + 1;
    if (!full)
        return;
    const std::vector<double> prices = Prices();
    m_reduced.assign(static_cast<size_t>(m_columns), 0.0);
    for (int32_t j = 0; j < m_columns; ++j)
        if (!m_isBasic[static_cast<size_t>(j)])
            m_reduced[static_cast<size_t>(j)] = m_cost[static_cast<size_t>(j)] - ColumnDot(j, prices);
}

std::vector<double> MeasureCore::Prices() const {
    std::vector<double> basicCost(m_basic.size());
    for (size_t s = 0; s < m_basic.size(); ++s)
        basicCost[s] = m_cost[static_cast<size_t>(m_basic[s])];
    return Btran(basicCost);
}

// rho has entries on the core rows and at most one more row, so the pass
// runs over those rows of the returns alone.
std::vector<double> MeasureCore::PivotRow(const std::vector<double>& rho) const {
    const int32_t T = m_periods;
    const size_t n = static_cast<size_t>(m_shares);
    std::vector<double> row(static_cast<size_t>(m_columns), 0.0);
    double levelEntry = 0.0;
    for (int32_t p = 0; p < T; ++p) {
        const double f = rho[static_cast<size_t>(p)];
        if (f == 0.0)
            continue;
        levelEntry += f;
        const double* data = &m_byPeriod[static_cast<size_t>(p) * n];
        for (size_t j = 0; j < n; ++j)
            row[j] += f * data[j];
    }
    const double budget = rho[static_cast<size_t>(T)];
    const double average = rho[static_cast<size_t>(T + 1)];
    for (size_t j = 0; j < n; ++j)
        row[j] += budget + average * m_means[j];
    for (int32_t j = m_shares; j < m_columns; ++j)
        row[static_cast<size_t>(j)] = j == m_level ? levelEntry : UnitSign(j) * rho[static_cast<size_t>(UnitRow(j))];
    return row;
}

// The core's rates solve the core rows alone; each basic unit's rate is then
// what the core's columns leave of the column's entry in the unit's row.
std::vector<double> MeasureCore::Ftran(int32_t column) const {
    std::vector<double> entries(static_cast<size_t>(m_rows), 0.0);
    AddColumn(column, 1.0, entries);
    const size_t size = m_core.size();
    std::vector<double> core(size);
    for (size_t r = 0; r < size; ++r)
        core[r] = entries[static_cast<size_t>(m_coreRows[r])];
    m_factors.Solve(core);
    for (size_t c = 0; c < size; ++c)
        if (core[c] != 0.0)
            AddColumn(m_core[c], -core[c], entries);
    std::vector<double> rates(m_basic.size());
    std::copy(core.begin(), core.end(), rates.begin());
    for (size_t s = size; s < m_basic.size(); ++s) {
        const int32_t unit = m_basic[s];
        rates[s] = UnitSign(unit) * entries[static_cast<size_t>(UnitRow(unit))];
    }
    return rates;
}

std::vector<double> MeasureCore::Btran(const std::vector<double>& basicValues) const {
    std::vector<double> rows(static_cast<size_t>(m_rows), 0.0);
    const size_t size = m_core.size();
    for (size_t s = size; s < m_basic.size(); ++s) {
        const int32_t unit = m_basic[s];
        rows[static_cast<size_t>(UnitRow(unit))] = UnitSign(unit) * basicValues[s];
    }
    std::vector<int32_t> nonzero;
    for (int32_t r = 0; r < m_rows && nonzero.size() <= size; ++r)
        if (rows[static_cast<size_t>(r)] != 0.0)
            nonzero.push_back(r);
    // A pivot row's right side has one entry: the core's columns are read there alone.
    const bool sparse = nonzero.size() <= size;
    std::vector<double> core(size);
    for (size_t c = 0; c < size; ++c) {
        double product = 0.0;
        if (sparse)
            for (int32_t r : nonzero)
                product += Entry(r, m_core[c]) * rows[static_cast<size_t>(r)];
        else
            product = ColumnDot(m_core[c], rows);
        core[c] = basicValues[c] - product;
    }
    m_factors.SolveTransposed(core);
    for (size_t r = 0; r < size; ++r)
        rows[static_cast<size_t>(m_coreRows[r])] = core[r];
    return rows;
}

// The reduced costs move along the pivot row: exact in theory, and taken
// afresh from the prices every kFreshEvery exchanges against drift.
void MeasureCore::Exchange(int32_t slot, int32_t entering, const std::vector<double>& pivotRow) {
    const int32_t leaving = m_basic[static_cast<size_t>(slot)];
    const double theta = m_reduced[static_cast<size_t>(entering)] / pivotRow[static_cast<size_t>(entering)];
    for (int32_t j = 0; j < m_columns; ++j)
        if (!m_isBasic[static_cast<size_t>(j)])
            m_reduced[static_cast<size_t>(j)] -= theta * pivotRow[static_cast<size_t>(j)];
    m_reduced[static_cast<size_t>(entering)] = 0.0;
    m_reduced[static_cast<size_t>(leaving)] = -theta;
    m_isBasic[static_cast<size_t>(leaving)] = 0;
    m_isBasic[static_cast<size_t>(entering)] = 1;
    const int32_t leavingRow = UnitRow(leaving);
    if (leavingRow >= 0)
        m_rowUnit[static_cast<size_t>(leavingRow)] = -1;
    else
        m_core.erase(std::find(m_core.begin(), m_core.end(), leaving));
    const int32_t enteringRow = UnitRow(entering);
    if (enteringRow >= 0)
        m_rowUnit[static_cast<size_t>(enteringRow)] = entering;
    else
        m_core.push_back(entering);
    Refresh(m_sinceFresh + 1 >= kFreshEvery);
}

std::vector<double> MeasureCore::RowOfSlot(int32_t slot) const {
    std::vector<double> unit(m_basic.size(), 0.0);
    unit[static_cast<size_t>(slot)] = 1.0;
    std::vector<double> row = PivotRow(Btran(unit));
    row[static_cast<size_t>(m_basic[static_cast<size_t>(slot)])] = 1.0;
    return row;
}

int32_t MeasureCore::EnteringColumn(int& direction) const {
    int32_t best = -1;
    double bestScore = kDual;
    for (int32_t j = 0; j < m_columns; ++j) {
        const size_t k = static_cast<size_t>(j);
        if (m_isBasic[k])
            continue;
        const double d = m_reduced[k];
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

// Harris's two passes, as the table's.
int32_t MeasureCore::LeavingSlot(const std::vector<double>& rates, int32_t column, int direction, double& step) const {
    const auto ratio = [&](size_t slot, double relax) {
        const double a = direction * rates[slot];
        const size_t b = static_cast<size_t>(m_basic[slot]);
        if (a > kPivot && std::isfinite(m_lower[b]))
            return (m_value[b] - m_lower[b] + relax) / a;
        if (a < -kPivot && std::isfinite(m_upper[b]))
            return (m_upper[b] - m_value[b] + relax) / -a;
        return kInfinity;
    };
    double limit = kInfinity;
    for (size_t s = 0; s < rates.size(); ++s)
        limit = std::min(limit, ratio(s, kRelax));
    int32_t leaving = -1;
    double largest = 0.0;
    for (size_t s = 0; s < rates.size() && std::isfinite(limit); ++s) {
        const double a = std::fabs(rates[s]);
        if (ratio(s, 0.0) <= limit && a > largest) {
            leaving = static_cast<int32_t>(s);
            largest = a;
        }
    }
    step = leaving >= 0 ? std::max(0.0, ratio(static_cast<size_t>(leaving), 0.0)) : kInfinity;
    const size_t k = static_cast<size_t>(column);
    const double range = direction > 0 ? m_upper[k] - m_value[k] : m_value[k] - m_lower[k];
    if (range <= step) {
        step = range;
        return -1;
    }
    return leaving;
}

MeasureStep MeasureCore::PrimalStep() {
    int direction = 0;
    int32_t column = EnteringColumn(direction);
    if (column < 0 && m_sinceFresh > 0) {
        Refresh(true);
        column = EnteringColumn(direction);
    }
    if (column < 0)
        return MeasureStep::Optimal;
    const std::vector<double> rates = Ftran(column);
    double step = 0.0;
    const int32_t slot = LeavingSlot(rates, column, direction, step);
    if (!std::isfinite(step))
        return MeasureStep::Unbounded;
    m_value[static_cast<size_t>(column)] += direction * step;
    for (size_t s = 0; s < rates.size(); ++s)
        m_value[static_cast<size_t>(m_basic[s])] -= direction * step * rates[s];
    if (slot < 0) {
        const size_t k = static_cast<size_t>(column);
        m_value[k] = direction > 0 ? m_upper[k] : m_lower[k];
        return MeasureStep::Pivoted;
    }
    const size_t leaving = static_cast<size_t>(m_basic[static_cast<size_t>(slot)]);
    m_value[leaving] = direction * rates[static_cast<size_t>(slot)] > 0 ? m_lower[leaving] : m_upper[leaving];
    Exchange(slot, column, RowOfSlot(slot));
    return MeasureStep::Pivoted;
}

int32_t MeasureCore::DualEntering(const std::vector<double>& pivotRow, bool leavesAtLower) const {
    const auto ratio = [&](int32_t j, double relax) {
        const size_t k = static_cast<size_t>(j);
        if (m_isBasic[k])
            return kInfinity;
        const double a = leavesAtLower ? pivotRow[k] : -pivotRow[k];
        const double d = m_reduced[k];
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
        const double a = std::fabs(pivotRow[static_cast<size_t>(j)]);
        if (ratio(j, 0.0) <= limit && a > largest) {
            entering = j;
            largest = a;
        }
    }
    return entering;
}

bool MeasureCore::RaiseBound(double limit, bool& moved) {
    const std::vector<double> rates = Ftran(m_returnSurplus);
    double step = std::max(0.0, limit - m_bound);
    int32_t blocking = -1;
    double largest = 0.0;
    for (size_t s = 0; s < rates.size(); ++s) {
        const double rate = -rates[s];
        const size_t b = static_cast<size_t>(m_basic[s]);
        double room = kInfinity;
        if (rate < -kPivot && std::isfinite(m_lower[b]))
            room = std::max(0.0, m_value[b] - m_lower[b]) / -rate;
        else if (rate > kPivot && std::isfinite(m_upper[b]))
            room = std::max(0.0, m_upper[b] - m_value[b]) / rate;
        if (room < step || (room == step && blocking >= 0 && std::fabs(rate) > largest)) {
            step = room;
            blocking = static_cast<int32_t>(s);
            largest = std::fabs(rate);
        }
    }
    moved = step > 0.0;
    m_bound += step;
    for (size_t s = 0; s < rates.size(); ++s)
        m_value[static_cast<size_t>(m_basic[s])] -= step * rates[s];
    if (blocking < 0)
        return false;
    const size_t leaving = static_cast<size_t>(m_basic[static_cast<size_t>(blocking)]);
    const bool atLower = -rates[static_cast<size_t>(blocking)] < 0;
    m_value[leaving] = atLower ? m_lower[leaving] : m_upper[leaving];
    const std::vector<double> pivotRow = RowOfSlot(blocking);
    const int32_t entering = DualEntering(pivotRow, atLower);
    if (entering < 0)
        return false;
    Exchange(blocking, entering, pivotRow);
    return true;
}

double MeasureCore::BoundSlope() const {
    return m_isBasic[static_cast<size_t>(m_returnSurplus)] ? 0.0 : m_reduced[static_cast<size_t>(m_returnSurplus)];
}

double MeasureCore::Cost() const {
    long double total = 0;
    for (int32_t j = 0; j < m_columns; ++j)
        total += static_cast<long double>(m_cost[static_cast<size_t>(j)]) * m_value[static_cast<size_t>(j)];
    return static_cast<double>(total);
}

std::vector<double> MeasureCore::Weights() const {
    std::vector<double> weights(m_value.begin(), m_value.begin() + m_shares);
    for (int32_t i = 0; i < m_shares; ++i) {
        const size_t k = static_cast<size_t>(i);
        weights[k] = std::clamp(weights[k], m_lower[k], m_upper[k]);
        if (weights[k] - m_lower[k] <= kSnap)
            weights[k] = m_lower[k];
        else if (m_upper[k] - weights[k] <= kSnap)
            weights[k] = m_upper[k];
    }
    return weights;
}

std::vector<long double> MeasureCore::RowPrices() const {
    const std::vector<double> prices = Prices();
    return std::vector<long double>(prices.begin(), prices.end());
}

}  // namespace korvel
