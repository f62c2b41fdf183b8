// The dual's basis: the basic slacks and the core, the basic prices on the
// rows of the shares whose slack is not basic. With the core factored, every
// figure of the basis comes from the returns themselves, so no drift builds
// up in a table: the prices afresh at every pivot, the values on a schedule.
#include "core/optimizer/DeviationDual.h"

#include "core/optimizer/FrontierPivot.h"
#include "core/optimizer/RowLoop.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace korvel {
namespace {

// The fewest exchanges between two fresh takes of the core's inverse.
constexpr int32_t kRefactorEvery = 100;

}  // namespace

// Each period priced against the sign of its deviation in a rough guess of
// the optimum: every share weighted by the inverse square of its own
// deviation, as independent shares would be in the least-variance mix. The
// closer the guess, the fewer periods the pivots have to turn.
std::vector<double> DeviationDual::ChooseStartPrices() {
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
    for (int32_t p = 0; p < m_periods; ++p)
        m_values[static_cast<size_t>(p)] = guess[static_cast<size_t>(p)] > 0.0 ? -1.0 : 1.0;
    return guess;
}

// At the optimum each period's price is minus the sign of the portfolio's
// deviation there, so only the periods it nearly hedges are likely to turn.
void DeviationDual::ChoosePricedPeriods(const std::vector<double>& guess, int32_t count) {
    m_allPriced = count <= 0 || count >= m_periods;
    m_isPriced.assign(static_cast<size_t>(m_periods), 1);
    m_priced.clear();
    if (m_allPriced)
        return;
    m_priced.resize(static_cast<size_t>(m_periods));
    std::iota(m_priced.begin(), m_priced.end(), 0);
    std::stable_sort(m_priced.begin(), m_priced.end(), [&guess](int32_t a, int32_t b) {
        return std::fabs(guess[static_cast<size_t>(a)]) < std::fabs(guess[static_cast<size_t>(b)]);
    });
    m_priced.resize(static_cast<size_t>(count));
    std::sort(m_priced.begin(), m_priced.end());
    std::fill(m_isPriced.begin(), m_isPriced.end(), 0);
    for (int32_t p : m_priced)
        m_isPriced[static_cast<size_t>(p)] = 1;
}

// A period's price has no cost, so its reduced cost is minus the weights'
// deviation in that period: a price at 1 pays to fall when that is below
// zero, one at -1 to rise when above. The costs must be fresh.
bool DeviationDual::PriceMorePeriods() {
    if (m_allPriced)
        return false;
    std::vector<std::pair<double, int32_t>> paying;
    for (int32_t p = 0; p < m_periods; ++p) {
        const double gain = m_costs[static_cast<size_t>(p)] * -m_values[static_cast<size_t>(p)];
        if (!m_isPriced[static_cast<size_t>(p)] && gain > frontier::kCostTolerance)
            paying.emplace_back(-gain, p);
    }
    const size_t most = std::max(static_cast<size_t>(m_shares) + 2, m_priced.size() / 2);
    const std::vector<int32_t> joining = frontier::MostPaying(paying, most);
    for (int32_t p : joining)
        m_isPriced[static_cast<size_t>(p)] = 1;
    m_priced.insert(m_priced.end(), joining.begin(), joining.end());
    std::sort(m_priced.begin(), m_priced.end());
    m_allPriced = m_priced.size() == static_cast<size_t>(m_periods);
    return !joining.empty();
}

// Every slack basic, then the budget's price takes the row that binds first,
// and every other slack stays feasible.
void DeviationDual::Start(int32_t pricedPeriods) {
    m_cols = m_periods + 2 + m_shares;
    m_costs.assign(static_cast<size_t>(m_cols), 0.0);
    m_slopes.assign(static_cast<size_t>(m_cols), 0.0);
    m_values.assign(static_cast<size_t>(m_cols), 0.0);
    m_coreSlot.assign(static_cast<size_t>(m_cols), -1);
    m_coreRowOf.assign(static_cast<size_t>(m_shares), -1);
    m_pivotLimit = 20 * static_cast<int64_t>(m_cols + m_shares) + 1000;
    ChoosePricedPeriods(ChooseStartPrices(), pricedPeriods);
    Refactor();
    RecomputeBasicValues();
    int32_t binding = 0;
    for (int32_t i = 1; i < m_shares; ++i)
        if (m_values[static_cast<size_t>(SlackColumn(i))] < m_values[static_cast<size_t>(SlackColumn(binding))])
            binding = i;
    Exchange(BudgetColumn(), SlackColumn(binding), {});
    m_values[static_cast<size_t>(SlackColumn(binding))] = 0.0;
    RecomputeBasicValues();
    RecomputeCosts();
}

// Share i's row: its deviations priced by period, plus the budget's price,
// plus its mean times the bound's price, plus its slack, is zero.
std::vector<double> DeviationDual::ColumnEntries(int32_t col) const {
    std::vector<double> entries(static_cast<size_t>(m_shares), 0.0);
    if (col < m_periods) {
        for (int32_t i = 0; i < m_shares; ++i)
            entries[static_cast<size_t>(i)] = Deviation(i, col);
    } else if (col == BudgetColumn()) {
        std::fill(entries.begin(), entries.end(), 1.0);
    } else if (col == BoundColumn()) {
        entries = m_means;
    } else {
        entries[static_cast<size_t>(col - SlackColumn(0))] = 1.0;
    }
    return entries;
}

// The basic slacks form a unit block, so the core's rates come from the core
// alone, and each slack's rate is its entry less the core's part of it.
void DeviationDual::Ftran(int32_t col, std::vector<double>& coreRates, std::vector<double>& slackRates) const {
    slackRates = ColumnEntries(col);
    coreRates.resize(m_coreRows.size());
    for (size_t r = 0; r < m_coreRows.size(); ++r)
        coreRates[r] = slackRates[static_cast<size_t>(m_coreRows[r])];
    m_inverse.Solve(coreRates);
    const size_t shares = slackRates.size();
    double* rates = slackRates.data();
    for (size_t c = 0; c < m_coreCols.size(); ++c) {
        const double rate = coreRates[c];
        const double* entries = m_coreEntries[c].data();
        if (rate != 0.0)
            for (size_t i = 0; i < shares; ++i)
                rates[i] -= rate * entries[i];
    }
}

// The core's inverse follows each exchange; it is taken afresh from the
// returns when a pivot is too small to trust, and after as many exchanges as
// the core has rows (at least kRefactorEvery), which keeps the work of that
// at a few exchanges' worth each.
bool DeviationDual::Exchange(int32_t entering, int32_t leaving, const std::vector<double>& coreRates) {
    const auto removeAt = [](auto& list, size_t at) {
        std::swap(list[at], list.back());
        list.pop_back();
    };
    const auto rowOf = [this](int32_t slack) -> int32_t& {
        return m_coreRowOf[static_cast<size_t>(slack - SlackColumn(0))];
    };
    const auto entriesOn = [this](int32_t share) {
        std::vector<double> v(m_coreCols.size());
        for (size_t c = 0; c < v.size(); ++c)
            v[c] = m_coreEntries[c][static_cast<size_t>(share)];
        return v;
    };
    bool updated = false;
    if (!IsSlack(entering)) {
        std::vector<double> entries = ColumnEntries(entering);
        if (IsSlack(leaving)) {
            const int32_t share = leaving - SlackColumn(0);
            updated = m_inverse.Grow(coreRates, entriesOn(share), entries[static_cast<size_t>(share)]);
            rowOf(leaving) = static_cast<int32_t>(m_coreRows.size());
            m_coreRows.push_back(share);
            m_coreSlot[static_cast<size_t>(entering)] = static_cast<int32_t>(m_coreCols.size());
            m_coreCols.push_back(entering);
            m_coreEntries.push_back(std::move(entries));
        } else {
            const int32_t slot = m_coreSlot[static_cast<size_t>(leaving)];
            updated = m_inverse.ReplaceColumn(slot, coreRates);
            m_coreSlot[static_cast<size_t>(leaving)] = -1;
            m_coreSlot[static_cast<size_t>(entering)] = slot;
            m_coreCols[static_cast<size_t>(slot)] = entering;
            m_coreEntries[static_cast<size_t>(slot)] = std::move(entries);
        }
    } else {
        const int32_t row = rowOf(entering);
        if (IsSlack(leaving)) {
            const int32_t share = leaving - SlackColumn(0);
            updated = m_inverse.ReplaceRow(row, entriesOn(share));
            m_coreRows[static_cast<size_t>(row)] = share;
            rowOf(leaving) = row;
        } else {
            const size_t slot = static_cast<size_t>(m_coreSlot[static_cast<size_t>(leaving)]);
            updated = m_inverse.Shrink(row, static_cast<int32_t>(slot));
            removeAt(m_coreRows, static_cast<size_t>(row));
            if (static_cast<size_t>(row) < m_coreRows.size())
                m_coreRowOf[static_cast<size_t>(m_coreRows[static_cast<size_t>(row)])] = row;
            removeAt(m_coreCols, slot);
            removeAt(m_coreEntries, slot);
            if (slot < m_coreCols.size())
                m_coreSlot[static_cast<size_t>(m_coreCols[slot])] = static_cast<int32_t>(slot);
            m_coreSlot[static_cast<size_t>(leaving)] = -1;
        }
        rowOf(entering) = -1;
    }
    const int32_t every = std::max(kRefactorEvery, static_cast<int32_t>(m_coreRows.size()));
    if (updated && ++m_sinceRefactor < every)
        return true;
    return Refactor();
}

bool DeviationDual::Refactor() {
    const size_t size = m_coreRows.size();
    std::vector<double> matrix(size * size);
    for (size_t r = 0; r < size; ++r)
        for (size_t c = 0; c < size; ++c)
            matrix[r * size + c] = m_coreEntries[c][static_cast<size_t>(m_coreRows[r])];
    m_sinceRefactor = 0;
    return m_inverse.Reset(matrix, static_cast<int32_t>(size));
}

namespace {

// A share's returns in a sum of deviations, and its factor there.
struct WeightedShare {
    int32_t share;
    const double* returns;
    double mean;
    double factor;
};

// costs[p] -= costRatio x the period's entry of the pivot row, the sum of the
// shares' weighted deviations, and slopes likewise; a block of periods at a
// time, so that the block's sums stay in the nearest cache while every share
// adds to them.
KORVEL_ROW_LOOP void MovePeriodCosts(const std::vector<WeightedShare>& shares, int32_t periods, double costRatio,
                                     double slopeRatio, double* costs, double* slopes) {
    constexpr int32_t kBlock = 512;
    double sums[kBlock];
    for (int32_t begin = 0; begin < periods; begin += kBlock) {
        const int32_t width = std::min(kBlock, periods - begin);
        std::fill(sums, sums + width, 0.0);
        for (const WeightedShare& share : shares) {
            const double* returns = share.returns + begin;
            for (int32_t p = 0; p < width; ++p)
                sums[p] += share.factor * (returns[p] - share.mean);
        }
        for (int32_t p = 0; p < width; ++p) {
            costs[begin + p] -= costRatio * sums[p];
            slopes[begin + p] -= slopeRatio * sums[p];
        }
    }
}

// The same over the listed periods alone.
KORVEL_ROW_LOOP void MoveListedCosts(const std::vector<WeightedShare>& shares, const std::vector<int32_t>& periods,
                                     double costRatio, double slopeRatio, double* costs, double* slopes) {
    constexpr size_t kBlock = 512;
    double sums[kBlock];
    for (size_t begin = 0; begin < periods.size(); begin += kBlock) {
        const size_t width = std::min(kBlock, periods.size() - begin);
        const int32_t* listed = periods.data() + begin;
        std::fill(sums, sums + width, 0.0);
        for (const WeightedShare& share : shares)
            for (size_t k = 0; k < width; ++k)
                sums[k] += share.factor * (share.returns[listed[k]] - share.mean);
        for (size_t k = 0; k < width; ++k) {
            costs[listed[k]] -= costRatio * sums[k];
            slopes[listed[k]] -= slopeRatio * sums[k];
        }
    }
}

}  // namespace

// The leaving variable's row of the basis inverse is zero outside the core's
// rows and, for a slack, its own share's row; so is its row of the table
// outside the periods, the budget, the bound and those rows' slacks.
void DeviationDual::UpdateCosts(int32_t entering, int32_t leaving, double pivot) {
    const size_t size = m_coreRows.size();
    std::vector<double> inverse(size, 0.0);
    const int32_t own = IsSlack(leaving) ? leaving - SlackColumn(0) : -1;
    if (own >= 0)
        for (size_t c = 0; c < size; ++c)
            inverse[c] = -m_coreEntries[c][static_cast<size_t>(own)];
    else
        inverse[static_cast<size_t>(m_coreSlot[static_cast<size_t>(leaving)])] = 1.0;
    m_inverse.SolveTransposed(inverse);
    std::vector<WeightedShare> shares;
    shares.reserve(size + 1);
    const auto add = [&](int32_t share, double factor) {
        if (factor != 0.0)
            shares.push_back({share, &m_returns.values[static_cast<size_t>(share) * static_cast<size_t>(m_periods)],
                              m_means[static_cast<size_t>(share)], factor});
    };
    for (size_t r = 0; r < size; ++r)
        add(m_coreRows[r], inverse[r]);
    if (own >= 0)
        add(own, 1.0);
    const double costRatio = m_costs[static_cast<size_t>(entering)] / pivot;
    const double slopeRatio = m_slopes[static_cast<size_t>(entering)] / pivot;
    if (m_allPriced)
        MovePeriodCosts(shares, m_periods, costRatio, slopeRatio, m_costs.data(), m_slopes.data());
    else
        MoveListedCosts(shares, m_priced, costRatio, slopeRatio, m_costs.data(), m_slopes.data());
    double budget = 0.0, bound = 0.0;
    for (const WeightedShare& share : shares) {
        budget += share.factor;
        bound += share.factor * share.mean;
        const size_t slack = static_cast<size_t>(SlackColumn(share.share));
        m_costs[slack] -= costRatio * share.factor;
        m_slopes[slack] -= slopeRatio * share.factor;
    }
    for (const auto& [col, entry] : {std::pair{BudgetColumn(), budget}, std::pair{BoundColumn(), bound}}) {
        m_costs[static_cast<size_t>(col)] -= costRatio * entry;
        m_slopes[static_cast<size_t>(col)] -= slopeRatio * entry;
    }
}

// Only the budget's and the bound's prices carry a cost (1 and the bound);
// the slopes are the reduced costs' change per unit of the bound. The rows'
// prices are zero outside the core, so a period's reduced cost is a sum over
// the core's shares alone. The basic columns' are zero exactly, which keeps
// them out of every choice of an entering column.
void DeviationDual::RecomputeCosts() {
    const size_t size = m_coreRows.size();
    std::vector<double> prices(size, 0.0), rates(size, 0.0);
    for (size_t c = 0; c < size; ++c) {
        prices[c] = m_coreCols[c] == BudgetColumn() ? 1.0 : 0.0;
        rates[c] = m_coreCols[c] == BoundColumn() ? 1.0 : 0.0;
    }
    m_inverse.SolveTransposed(prices);
    m_inverse.SolveTransposed(rates);
    std::fill(m_costs.begin(), m_costs.end(), 0.0);
    std::fill(m_slopes.begin(), m_slopes.end(), 0.0);
    double* costs = m_costs.data();
    double* slopes = m_slopes.data();
    costs[BudgetColumn()] = 1.0;
    slopes[BoundColumn()] = 1.0;
    for (size_t r = 0; r < size; ++r) {
        const int32_t share = m_coreRows[r];
        const double price = prices[r], rate = rates[r], mean = m_means[static_cast<size_t>(share)];
        const double* row = &m_returns.values[static_cast<size_t>(share) * static_cast<size_t>(m_periods)];
        for (int32_t p = 0; p < m_periods; ++p) {
            const double deviation = row[p] - mean;
            costs[p] -= price * deviation;
            slopes[p] -= rate * deviation;
        }
        costs[BudgetColumn()] -= price;
        slopes[BudgetColumn()] -= rate;
        costs[BoundColumn()] -= price * mean;
        slopes[BoundColumn()] -= rate * mean;
        costs[SlackColumn(share)] = -price;
        slopes[SlackColumn(share)] = -rate;
    }
    for (int32_t j = 0; j < m_cols; ++j) {
        if (m_coreSlot[static_cast<size_t>(j)] >= 0)
            costs[j] = slopes[j] = 0.0;
        else if (m_bounded)
            costs[j] += m_bound * slopes[j];
    }
}

// The rows are zero on the right, so the basic values balance the columns
// that are not basic, at their values (a slack that is not is at zero).
void DeviationDual::RecomputeBasicValues() {
    std::vector<double> held(m_values.begin(), m_values.begin() + m_periods);
    for (int32_t col : m_coreCols)
        if (col < m_periods)
            held[static_cast<size_t>(col)] = 0.0;
    const bool budgetHeld = m_coreSlot[static_cast<size_t>(BudgetColumn())] < 0;
    const bool boundHeld = m_coreSlot[static_cast<size_t>(BoundColumn())] < 0;
    std::vector<double> rhs(static_cast<size_t>(m_shares));
    for (int32_t i = 0; i < m_shares; ++i) {
        const double* row = &m_returns.values[static_cast<size_t>(i) * static_cast<size_t>(m_periods)];
        const double mean = m_means[static_cast<size_t>(i)];
        double sum = 0.0;
        for (int32_t p = 0; p < m_periods; ++p)
            sum += (row[p] - mean) * held[static_cast<size_t>(p)];
        if (budgetHeld)
            sum += m_values[static_cast<size_t>(BudgetColumn())];
        if (boundHeld)
            sum += mean * m_values[static_cast<size_t>(BoundColumn())];
        rhs[static_cast<size_t>(i)] = -sum;
    }
    std::vector<double> core(m_coreRows.size());
    for (size_t r = 0; r < m_coreRows.size(); ++r)
        core[r] = rhs[static_cast<size_t>(m_coreRows[r])];
    m_inverse.Solve(core);
    for (size_t c = 0; c < m_coreCols.size(); ++c) {
        m_values[static_cast<size_t>(m_coreCols[c])] = core[c];
        for (int32_t i = 0; i < m_shares; ++i)
            rhs[static_cast<size_t>(i)] -= core[c] * m_coreEntries[c][static_cast<size_t>(i)];
    }
    for (int32_t i = 0; i < m_shares; ++i)
        if (m_coreRowOf[static_cast<size_t>(i)] < 0)
            m_values[static_cast<size_t>(SlackColumn(i))] = rhs[static_cast<size_t>(i)];
}

}  // namespace korvel
