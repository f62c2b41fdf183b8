#include "core/optimizer/FrontierWorkingSet.h"

#include "core/optimizer/FrontierPivot.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace korvel {
namespace {

using Prices = FrontierTableau::Prices;

struct ShareFigures {
    std::vector<double> means;
    std::vector<double> deviations;  // the share's own, summed over periods
};

ShareFigures FiguresOf(const ShareReturns& returns) {
    ShareFigures figures;
    for (int32_t i = 0; i < returns.shares; ++i) {
        const double mean = returns.Mean(i);
        double deviation = 0.0;
        for (int32_t p = 0; p < returns.periods; ++p)
            deviation += std::fabs(returns.At(i, p) - mean);
        figures.means.push_back(mean);
        figures.deviations.push_back(deviation);
    }
    return figures;
}

ShareReturns Subset(const ShareReturns& returns, const std::vector<int32_t>& shares) {
    ShareReturns subset;
    subset.shares = static_cast<int32_t>(shares.size());
    subset.periods = returns.periods;
    subset.values.reserve(shares.size() * static_cast<size_t>(returns.periods));
    for (int32_t i : shares) {
        const auto row = returns.values.begin() + static_cast<std::ptrdiff_t>(i) * returns.periods;
        subset.values.insert(subset.values.end(), row, row + returns.periods);
    }
    return subset;
}

class WorkingSet {
public:
    explicit WorkingSet(int32_t shares) : m_held(static_cast<size_t>(shares), 0) {}
    void Add(int32_t share) {
        if (m_held[static_cast<size_t>(share)])
            return;
        m_held[static_cast<size_t>(share)] = 1;
        m_shares.push_back(share);
    }
    bool Holds(int32_t share) const { return m_held[static_cast<size_t>(share)] != 0; }
    const std::vector<int32_t>& Shares() const { return m_shares; }

private:
    std::vector<char> m_held;
    std::vector<int32_t> m_shares;
};

// The least-deviation portfolio mixes shares of little deviation of their
// own, and a higher return takes those that earn most per unit of it; the
// best mean keeps every reachable return reachable.
WorkingSet StartSet(const ShareReturns& returns, const ShareFigures& figures, double from, int32_t size) {
    const int32_t n = returns.shares;
    size = std::min(size, n);
    WorkingSet set(n);
    std::vector<int32_t> order(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i)
        order[static_cast<size_t>(i)] = i;
    const auto deviation = [&](int32_t i) { return figures.deviations[static_cast<size_t>(i)]; };
    const auto mean = [&](int32_t i) { return figures.means[static_cast<size_t>(i)]; };
    set.Add(static_cast<int32_t>(std::max_element(figures.means.begin(), figures.means.end()) - figures.means.begin()));
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) { return deviation(a) < deviation(b); });
    for (int32_t k = 0; k < n && static_cast<int32_t>(set.Shares().size()) < (size + 1) / 2; ++k)
        set.Add(order[static_cast<size_t>(k)]);
    // Earning per unit of deviation, riskless shares first.
    const auto earning = [&](int32_t i) {
        const double excess = mean(i) - from;
        return deviation(i) > 0.0 ? excess / deviation(i)
                                  : std::copysign(std::numeric_limits<double>::infinity(), excess);
    };
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) { return earning(a) > earning(b); });
    for (int32_t k = 0; k < n && static_cast<int32_t>(set.Shares().size()) < size; ++k)
        set.Add(order[static_cast<size_t>(k)]);
    return set;
}

// The prices times a share's column: its reduced cost is that of the held
// share (zero) less the difference.
double Priced(const ShareReturns& returns, const ShareFigures& figures, const Prices& prices, int32_t share) {
    const double mean = figures.means[static_cast<size_t>(share)];
    double sum = prices.ofReturn * mean;
    for (int32_t p = 0; p < returns.periods; ++p)
        sum += prices.ofPeriods[static_cast<size_t>(p)] * (returns.At(share, p) - mean);
    return sum;
}

// The shares outside the set whose reduced cost is below zero, most negative
// first, at most `most` of them.
std::vector<int32_t> SharesThatPay(const ShareReturns& returns, const ShareFigures& figures, const Prices& prices,
                                   int32_t held, const WorkingSet& set, size_t most) {
    const double heldSum = Priced(returns, figures, prices, held);
    std::vector<std::pair<double, int32_t>> paying;
    for (int32_t i = 0; i < returns.shares; ++i) {
        if (set.Holds(i))
            continue;
        const double reduced = heldSum - Priced(returns, figures, prices, i);
        if (reduced < -frontier::kCostTolerance)
            paying.emplace_back(reduced, i);
    }
    return frontier::MostPaying(paying, most);
}

void ToRowsOfAll(std::vector<FrontierVertex>& vertices, const std::vector<int32_t>& shares) {
    for (FrontierVertex& vertex : vertices) {
        for (FrontierShare& share : vertex.shares)
            share.row = shares[static_cast<size_t>(share.row - 1)] + 1;
        std::sort(vertex.shares.begin(), vertex.shares.end(),
                  [](const FrontierShare& a, const FrontierShare& b) { return a.row < b.row; });
    }
}

}  // namespace

int32_t WorkingSetStart(const ShareReturns& returns) {
    return std::max<int32_t>(64, returns.periods + 2);
}

FrontierWalkOutcome WalkWorkingSet(const ShareReturns& returns, const FrontierWalkSpan& span,
                                   std::vector<FrontierVertex>& vertices, int64_t& pivots, int32_t startSize) {
    const ShareFigures figures = FiguresOf(returns);
    WorkingSet set = StartSet(returns, figures, span.from, startSize);
    const size_t additions = static_cast<size_t>(std::max(startSize / 2, 1));
    // Started below the return asked for, the walk stops at it, where the
    // prices are those of that return even when the set's shares all exceed it.
    FrontierTableau tableau(Subset(returns, set.Shares()), span.from - 1.0);
    std::vector<FrontierVertex> found;
    FrontierWalkOutcome outcome = tableau.Walk(found, span);
    for (;;) {
        pivots = tableau.Pivots();
        // With the best mean in the set, a return the set cannot reach no
        // portfolio reaches.
        if (outcome != FrontierWalkOutcome::Done || found.empty())
            return outcome;
        const Prices prices = tableau.RowPrices();
        const int32_t held = set.Shares()[static_cast<size_t>(prices.heldShare)];
        const std::vector<int32_t> joining = SharesThatPay(returns, figures, prices, held, set, additions);
        if (joining.empty()) {
            ToRowsOfAll(found, set.Shares());
            vertices.push_back(std::move(found.back()));
            return outcome;
        }
        tableau.AddShares(Subset(returns, joining), Subset(returns, {held}), prices.heldShare);
        for (int32_t share : joining)
            set.Add(share);
        found.clear();
        outcome = tableau.Reoptimise(found);
    }
}

}  // namespace korvel
