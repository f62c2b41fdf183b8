#pragma once
// An independent optimum of the mean-absolute-deviation model for small
// worksheets, without any simplex: min sum_p |sum_i d_ip x_i| over x >= 0,
// sum x = 1, sum mu_i x_i >= Min Return. The optimum of this convex
// piecewise-linear problem lies where the budget and N - 1 more of the
// hyperplanes "weight i = 0", "average return = Min Return" and "deviation of
// period p = 0" meet, so every such meeting point is tried. Long double
// throughout, and no cleaning of small values.
#include "core/optimizer/ShareReturns.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <vector>

namespace korvel::testing {

struct MadOptimum {
    long double lineDeviation = 0;
    std::vector<long double> weights;
};

namespace mad_detail {

using Row = std::vector<long double>;

// Gaussian elimination with partial pivoting, in place (a and b are spent; x
// gets the solution); false when (nearly) singular. In place because the
// reference calls it for every vertex, and sanitized builds pay per allocation.
inline bool SolveSquare(std::vector<Row>& a, Row& b, Row& x) {
    const size_t n = b.size();
    for (size_t c = 0; c < n; ++c) {
        size_t pivot = c;
        for (size_t r = c + 1; r < n; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c]))
                pivot = r;
        long double largest = 0;
        for (size_t k = 0; k < n; ++k)
            largest = std::fmax(largest, std::fabs(a[pivot][k]));
        if (largest == 0 || std::fabs(a[pivot][c]) <= 1e-14L * largest)
            return false;
        std::swap(a[c], a[pivot]);
        std::swap(b[c], b[pivot]);
        for (size_t r = 0; r < n; ++r) {
            if (r == c)
                continue;
            const long double f = a[r][c] / a[c][c];
            for (size_t k = c; k < n; ++k)
                a[r][k] -= f * a[c][k];
            b[r] -= f * b[c];
        }
    }
    x.resize(n);
    for (size_t i = 0; i < n; ++i)
        x[i] = b[i] / a[i][i];
    return true;
}

// Calls visit(x) at every point where the budget (weights summing to 1) and
// n - 1 of the hyperplanes planes[k] . x = targets[k] meet.
template <typename Visit>
void ForEachMeeting(size_t n, const std::vector<Row>& planes, const Row& targets, Visit visit) {
    if (n - 1 > planes.size())
        return;
    std::vector<size_t> pick(n - 1);
    for (size_t k = 0; k < pick.size(); ++k)
        pick[k] = k;
    const size_t count = planes.size();
    std::vector<Row> a(n, Row(n));
    Row b(n), x;
    for (;;) {
        std::fill(a[0].begin(), a[0].end(), 1.0L);
        b[0] = 1;
        for (size_t k = 0; k < pick.size(); ++k) {
            std::copy(planes[pick[k]].begin(), planes[pick[k]].end(), a[k + 1].begin());
            b[k + 1] = targets[pick[k]];
        }
        if (SolveSquare(a, b, x))
            visit(x);
        // Next combination of n - 1 planes out of count.
        size_t k = pick.size();
        while (k > 0 && pick[k - 1] == count - pick.size() + k - 1)
            --k;
        if (k == 0)
            break;
        ++pick[k - 1];
        for (size_t j = k; j < pick.size(); ++j)
            pick[j] = pick[j - 1] + 1;
    }
}

}  // namespace mad_detail

// returns[i][p]: share i, period p, as the optimizer parses them. nullopt when
// no portfolio reaches minReturn; without a finite minReturn, the least
// deviation of all.
inline std::optional<MadOptimum> BestMadPortfolio(const std::vector<std::vector<double>>& returns,
                                                  double minReturn = -std::numeric_limits<double>::infinity()) {
    using mad_detail::Row;
    const size_t n = returns.size();
    const size_t m = returns[0].size();
    const bool bounded = std::isfinite(minReturn);
    long double scale = bounded ? std::fabs(static_cast<long double>(minReturn)) : 0.0L;
    Row mean(n, 0);
    for (size_t i = 0; i < n; ++i) {
        for (size_t p = 0; p < m; ++p) {
            mean[i] += returns[i][p];
            scale = std::fmax(scale, std::fabs(static_cast<long double>(returns[i][p])));
        }
        mean[i] /= static_cast<long double>(m);
    }
    // Candidate hyperplanes (a, b) with a . x = b.
    std::vector<Row> planes;
    Row targets;
    for (size_t i = 0; i < n; ++i) {
        Row a(n, 0);
        a[i] = 1;
        planes.push_back(a);
        targets.push_back(0);
    }
    if (bounded) {
        planes.push_back(mean);
        targets.push_back(minReturn);
    }
    std::vector<Row> deviations(m, Row(n, 0));
    for (size_t p = 0; p < m; ++p) {
        for (size_t i = 0; i < n; ++i)
            deviations[p][i] = returns[i][p] - mean[i];
        planes.push_back(deviations[p]);
        targets.push_back(0);
    }
    const auto deviationOf = [&](const Row& x) {
        long double sum = 0;
        for (size_t p = 0; p < m; ++p) {
            long double d = 0;
            for (size_t i = 0; i < n; ++i)
                d += deviations[p][i] * x[i];
            sum += std::fabs(d);
        }
        return sum / static_cast<long double>(m);
    };

    std::optional<MadOptimum> best;
    mad_detail::ForEachMeeting(n, planes, targets, [&](const Row& x) {
        long double average = 0;
        bool feasible = true;
        for (size_t i = 0; i < n; ++i) {
            feasible = feasible && x[i] >= -1e-12L;
            average += mean[i] * x[i];
        }
        feasible = feasible && (!bounded || average >= minReturn - 1e-12L * scale);
        if (feasible) {
            const long double deviation = deviationOf(x);
            if (!best || deviation < best->lineDeviation)
                best = MadOptimum{deviation, x};
        }
    });
    return best;
}

inline std::optional<MadOptimum> BestMadPortfolio(const ShareReturns& r,
                                                  double minReturn = -std::numeric_limits<double>::infinity()) {
    std::vector<std::vector<double>> returns(static_cast<size_t>(r.shares));
    for (int32_t i = 0; i < r.shares; ++i)
        for (int32_t p = 0; p < r.periods; ++p)
            returns[static_cast<size_t>(i)].push_back(r.At(i, p));
    return BestMadPortfolio(returns, minReturn);
}

}  // namespace korvel::testing
