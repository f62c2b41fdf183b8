// Which periods' prices the dual's table holds. At the optimum each period's
// price is minus the sign of the portfolio's deviation there, so only the
// periods it nearly hedges can turn; the rest wait at their start's price in
// one column until the weights show that one of them pays.
#include "core/optimizer/DeviationDual.h"
#include "core/optimizer/FrontierPivot.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace korvel {

// Each period priced against the sign of its deviation in a rough guess of
// the optimum: every share weighted by the inverse square of its own
// deviation, as independent shares would be in the least-variance mix. The
// closer the guess, the fewer periods the pivots have to turn, and the table
// takes the periods the guess comes nearest to hedging.
void DeviationDual::ChooseTablePeriods(int32_t tablePeriods) {
    std::vector<double> guess(static_cast<size_t>(m_periods), 0.0);
    for (int32_t i = 0; i < m_shares; ++i) {
        double deviation = 0.0;
        for (int32_t p = 0; p < m_periods; ++p)
            deviation += std::fabs(Deviation(i, p));
        // A share that never deviates adds nothing to any period.
        if (deviation == 0.0)
            continue;
        const double weight = 1.0 / (deviation * deviation);
        for (int32_t p = 0; p < m_periods; ++p)
            guess[static_cast<size_t>(p)] += weight * Deviation(i, p);
    }
    m_startPrices.resize(static_cast<size_t>(m_periods));
    for (int32_t p = 0; p < m_periods; ++p)
        m_startPrices[static_cast<size_t>(p)] = guess[static_cast<size_t>(p)] > 0.0 ? -1.0 : 1.0;
    m_tablePeriods.resize(static_cast<size_t>(m_periods));
    std::iota(m_tablePeriods.begin(), m_tablePeriods.end(), 0);
    if (tablePeriods > 0 && tablePeriods < m_periods) {
        std::stable_sort(m_tablePeriods.begin(), m_tablePeriods.end(), [&guess](int32_t a, int32_t b) {
            return std::fabs(guess[static_cast<size_t>(a)]) < std::fabs(guess[static_cast<size_t>(b)]);
        });
        m_tablePeriods.resize(static_cast<size_t>(tablePeriods));
        std::sort(m_tablePeriods.begin(), m_tablePeriods.end());
    }
    m_inTable.assign(static_cast<size_t>(m_periods), 0);
    for (int32_t p : m_tablePeriods)
        m_inTable[static_cast<size_t>(p)] = 1;
}

// A period's price has no cost, and the rows' prices are the weights, so its
// reduced cost is minus the portfolio's deviation in that period; a price at
// 1 pays to fall when that is below zero, one at -1 to rise when above.
std::vector<int32_t> DeviationDual::PeriodsThatPay(size_t most) const {
    std::vector<std::pair<double, int32_t>> held;
    for (int32_t i = 0; i < m_shares; ++i) {
        const double weight = -m_costs[static_cast<size_t>(SlackColumn(i))];
        if (weight != 0.0)
            held.emplace_back(weight, i);
    }
    std::vector<std::pair<double, int32_t>> paying;
    for (int32_t p = 0; p < m_periods; ++p) {
        if (m_inTable[static_cast<size_t>(p)])
            continue;
        double deviation = 0.0;
        for (const auto& [weight, share] : held)
            deviation += weight * Deviation(share, p);
        const double gain = deviation * m_startPrices[static_cast<size_t>(p)];
        if (gain > frontier::kCostTolerance)
            paying.emplace_back(-gain, p);
    }
    return frontier::MostPaying(paying, most);
}

// Room for added columns after the table's periods, every other column moved
// along.
void DeviationDual::Widen(int32_t added) {
    const int32_t cols = m_cols + added;
    const auto widened = [&](const double* from, double* to) {
        std::copy(from, from + m_width, to);
        std::copy(from + m_width, from + m_cols, to + m_width + added);
    };
    std::vector<double> cells(static_cast<size_t>(m_shares) * static_cast<size_t>(cols), 0.0);
    for (int32_t r = 0; r < m_shares; ++r)
        widened(Row(r), cells.data() + static_cast<size_t>(r) * static_cast<size_t>(cols));
    m_cells.swap(cells);
    for (std::vector<double>* column : {&m_costs, &m_slopes, &m_values}) {
        std::vector<double> moved(static_cast<size_t>(cols), 0.0);
        widened(column->data(), moved.data());
        column->swap(moved);
    }
    for (int32_t& b : m_basis)
        if (b >= m_width)
            b += added;
    m_rowOf.assign(static_cast<size_t>(cols), -1);
    for (int32_t r = 0; r < m_shares; ++r)
        m_rowOf[static_cast<size_t>(m_basis[static_cast<size_t>(r)])] = r;
    m_cols = cols;
    m_pivotLimit = m_pivots + 20 * static_cast<int64_t>(m_cols + m_shares) + 1000;
}

// The slacks' columns hold the inverse of the basis (they began as the
// identity), so a period's column is they times its deviations; it leaves
// the fixed column, which held it at its start's price.
void DeviationDual::AddPeriods(const std::vector<int32_t>& periods) {
    const int32_t first = m_width;
    const int32_t added = static_cast<int32_t>(periods.size());
    Widen(added);
    std::vector<double> deviations(static_cast<size_t>(m_shares));
    for (int32_t k = 0; k < added; ++k) {
        const int32_t p = periods[static_cast<size_t>(k)];
        for (int32_t i = 0; i < m_shares; ++i)
            deviations[static_cast<size_t>(i)] = Deviation(i, p);
        const double price = m_startPrices[static_cast<size_t>(p)];
        for (int32_t r = 0; r < m_shares; ++r) {
            double* row = Row(r);
            const double* inverse = row + SlackColumn(0) + added;
            double entry = 0.0;
            for (int32_t i = 0; i < m_shares; ++i)
                entry += inverse[i] * deviations[static_cast<size_t>(i)];
            row[first + k] = entry;
            row[FixedColumn()] -= price * entry;
        }
        m_values[static_cast<size_t>(first + k)] = price;
        m_tablePeriods.push_back(p);
        m_inTable[static_cast<size_t>(p)] = 1;
    }
    m_width += added;
    RecomputeCosts();
    RecomputeBasicValues();
}

DualOutcome DeviationDual::SolveAll() {
    const size_t most = static_cast<size_t>(std::max(m_shares + 2, m_width / 2));
    for (;;) {
        const DualOutcome outcome = Solve();
        if (outcome != DualOutcome::Done)
            return outcome;
        const std::vector<int32_t> joining = PeriodsThatPay(most);
        if (joining.empty())
            return outcome;
        AddPeriods(joining);
    }
}

}  // namespace korvel
