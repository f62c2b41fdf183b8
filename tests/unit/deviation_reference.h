#pragma once
// An independent optimum of the deviation model for small worksheets, by
// enumerating vertices: min sum_p |sum_i d_ip x_i| over x >= 0, sum x = 1,
// sum mu_i x_i >= bound. The optimum of this convex piecewise-linear problem
// lies where N independent planes meet, chosen from the budget, x_i = 0, the
// return bound and d_p . x = 0; every such meeting point is tried.
#include "core/optimizer/Frontier.h"

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace korvel::testing {

struct ReferenceOptimum {
    double deviation = 0.0;  // mean absolute deviation per period
    std::vector<double> weights;
};

namespace detail {

using Plane = std::vector<long double>;  // N coefficients, then the right-hand side

inline std::optional<std::vector<long double>> SolveSquare(std::vector<Plane> a) {
    const size_t n = a.size();
    for (size_t c = 0; c < n; ++c) {
        size_t best = c;
        for (size_t r = c + 1; r < n; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[best][c]))
                best = r;
        if (std::fabs(a[best][c]) < 1e-12L)
            return std::nullopt;
        std::swap(a[c], a[best]);
        for (size_t r = 0; r < n; ++r) {
            if (r == c)
                continue;
            const long double f = a[r][c] / a[c][c];
            for (size_t k = c; k <= n; ++k)
                a[r][k] -= f * a[c][k];
        }
    }
    std::vector<long double> x(n);
    for (size_t i = 0; i < n; ++i)
        x[i] = a[i][n] / a[i][i];
    return x;
}

}  // namespace detail

// Empty when no portfolio reaches the bound. Small N only (subsets of N-1 planes).
inline std::optional<ReferenceOptimum> ReferenceMinimum(const ShareReturns& r,
                                                        double bound = -std::numeric_limits<double>::infinity()) {
    const int n = r.shares;
    const int m = r.periods;
    std::vector<long double> mean(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        long double sum = 0;
        for (int p = 0; p < m; ++p)
            sum += r.At(i, p);
        mean[static_cast<size_t>(i)] = sum / m;
    }
    auto deviation = [&](int i, int p) { return r.At(i, p) - mean[static_cast<size_t>(i)]; };

    std::vector<detail::Plane> planes;
    for (int i = 0; i < n; ++i) {
        detail::Plane plane(static_cast<size_t>(n + 1), 0);
        plane[static_cast<size_t>(i)] = 1;
        planes.push_back(plane);
    }
    if (std::isfinite(bound)) {
        detail::Plane plane(mean.begin(), mean.end());
        plane.push_back(bound);
        planes.push_back(plane);
    }
    for (int p = 0; p < m; ++p) {
        detail::Plane plane;
        for (int i = 0; i < n; ++i)
            plane.push_back(deviation(i, p));
        plane.push_back(0);
        planes.push_back(plane);
    }
    detail::Plane budget(static_cast<size_t>(n), 1);
    budget.push_back(1);

    std::optional<ReferenceOptimum> best;
    std::vector<int> pick;
    const int total = static_cast<int>(planes.size());
    auto tryPick = [&]() {
        std::vector<detail::Plane> system{budget};
        for (int k : pick)
            system.push_back(planes[static_cast<size_t>(k)]);
        const auto x = detail::SolveSquare(system);
        if (!x)
            return;
        long double ret = 0;
        for (int i = 0; i < n; ++i) {
            if ((*x)[static_cast<size_t>(i)] < -1e-12L)
                return;
            ret += mean[static_cast<size_t>(i)] * (*x)[static_cast<size_t>(i)];
        }
        if (std::isfinite(bound) && ret < bound - 1e-12L * (1 + std::fabs(bound)))
            return;
        long double absolute = 0;
        for (int p = 0; p < m; ++p) {
            long double d = 0;
            for (int i = 0; i < n; ++i)
                d += deviation(i, p) * (*x)[static_cast<size_t>(i)];
            absolute += std::fabs(d);
        }
        const double value = static_cast<double>(absolute / m);
        if (!best || value < best->deviation) {
            best = ReferenceOptimum{value, {}};
            for (long double w : *x)
                best->weights.push_back(static_cast<double>(w));
        }
    };
    // Every subset of n-1 planes, in lexicographic order.
    const int want = n - 1;
    pick.assign(static_cast<size_t>(want), 0);
    for (int k = 0; k < want; ++k)
        pick[static_cast<size_t>(k)] = k;
    if (want > total)
        return best;
    for (;;) {
        tryPick();
        int k = want - 1;
        while (k >= 0 && pick[static_cast<size_t>(k)] == total - want + k)
            --k;
        if (k < 0)
            break;
        ++pick[static_cast<size_t>(k)];
        for (int q = k + 1; q < want; ++q)
            pick[static_cast<size_t>(q)] = pick[static_cast<size_t>(q - 1)] + 1;
    }
    return best;
}

}  // namespace korvel::testing
