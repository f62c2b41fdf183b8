#include "core/optimizer/BasisCertificate.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <utility>

namespace korvel {
namespace {

using Vector = std::vector<long double>;

// Gaussian elimination with partial pivoting on rows of a (n x n), in place.
// Empty when a pivot is zero: the basis is singular at this precision.
std::optional<Vector> SolveSquare(std::vector<Vector> a, Vector b) {
    const size_t n = b.size();
    for (size_t c = 0; c < n; ++c) {
        size_t pivot = c;
        for (size_t r = c + 1; r < n; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c]))
                pivot = r;
        if (a[pivot][c] == 0.0L)
            return std::nullopt;
        std::swap(a[c], a[pivot]);
        std::swap(b[c], b[pivot]);
        for (size_t r = c + 1; r < n; ++r) {
            const long double f = a[r][c] / a[c][c];
            if (f == 0.0L)
                continue;
            for (size_t k = c; k < n; ++k)
                a[r][k] -= f * a[c][k];
            b[r] -= f * b[c];
        }
    }
    Vector x(n);
    for (size_t i = n; i-- > 0;) {
        long double sum = b[i];
        for (size_t k = i + 1; k < n; ++k)
            sum -= a[i][k] * x[k];
        x[i] = sum / a[i][i];
    }
    return x;
}

std::vector<Vector> Transposed(const std::vector<Vector>& a) {
    std::vector<Vector> t(a[0].size(), Vector(a.size()));
    for (size_t r = 0; r < a.size(); ++r)
        for (size_t c = 0; c < a[r].size(); ++c)
            t[c][r] = a[r][c];
    return t;
}

// A weight or surplus this far below zero is the long double's rounding of
// zero, not an infeasible portfolio.
constexpr long double kRounding = 1e-15L;

}  // namespace

BasisCertificate::BasisCertificate(const ShareReturns& returns, double minReturn)
    : m_returns(returns), m_minReturn(minReturn) {}

template <typename Real>
Real BasisCertificate::Mean(int32_t share) const {
    Real sum = 0;
    for (int32_t p = 0; p < m_returns.periods; ++p)
        sum += m_returns.At(share, p);
    return sum / static_cast<Real>(m_returns.periods);
}

Vector BasisCertificate::Column(const Tableau& t, int32_t col) const {
    const int32_t n = t.Shares();
    const int32_t m = t.Periods();
    Vector column(static_cast<size_t>(m) + 2, 0.0L);
    if (col >= 1 && col <= n) {
        const long double mean = Mean<long double>(col - 1);
        column[0] = 1.0L;
        column[1] = mean;
        for (int32_t p = 0; p < m; ++p)
            column[static_cast<size_t>(p) + 2] = m_returns.At(col - 1, p) - mean;
    } else if (col == n + 1) {
        column[1] = -1.0L;
    } else if (col < t.Cols() - 2) {
        const int32_t p = (col - n) / 2;  // u_p at n + 2p, w_p at n + 2p + 1
        column[static_cast<size_t>(p) + 1] = (col - n) % 2 == 0 ? 1.0L : -1.0L;
    } else {
        column[col == t.Cols() - 2 ? 1 : 0] = 1.0L;
    }
    return column;
}

std::vector<Vector> BasisCertificate::BasisColumns(const Tableau& t) const {
    std::vector<Vector> columns;
    for (int32_t r = 1; r < t.ZRow(); ++r)
        columns.push_back(Column(t, t.basis[r]));
    return columns;
}

std::optional<Vector> BasisCertificate::BasicWeights(const Tableau& t) const {
    const int32_t n = t.Shares();
    Vector rhs(static_cast<size_t>(t.Periods()) + 2, 0.0L);
    rhs[0] = 1.0L;
    rhs[1] = m_minReturn;
    const auto x = SolveSquare(Transposed(BasisColumns(t)), rhs);
    if (!x)
        return std::nullopt;
    Vector weights(static_cast<size_t>(n), 0.0L);
    for (int32_t r = 1; r < t.ZRow(); ++r) {
        const int32_t b = t.basis[r];
        const long double value = (*x)[static_cast<size_t>(r - 1)];
        if (b >= 1 && b <= n) {
            if (value < -kRounding)
                return std::nullopt;
            weights[static_cast<size_t>(b - 1)] = std::max(value, 0.0L);
        } else if (b == n + 1 && value < -kRounding * (1.0L + std::fabs(m_minReturn))) {
            return std::nullopt;
        } else if (b >= t.Cols() - 2 && std::fabs(value) > kRounding * (1.0L + std::fabs(m_minReturn))) {
            return std::nullopt;
        }
    }
    return weights;
}

// Weak duality: for any y2 >= 0 and |z_p| <= 1, and y1 no larger than every
// share's -mean * y2 - sum_p deviation_p * z_p, y1 + MinReturn * y2 is at most
// the deviation sum of every portfolio that reaches the Min Return. Each
// share's term is lowered by a bound on its own rounding in Real (the mean's
// included), so that the computed y1 stays on the safe side; a share of
// another magnitude widens only its own.
template <typename Real>
long double BasisCertificate::BoundFromDuals(long double dualReturn, const Vector& dualPeriods) const {
    const int32_t m = m_returns.periods;
    const Real y2 = static_cast<Real>(std::max(dualReturn, 0.0L));
    std::vector<Real> z(static_cast<size_t>(m));
    for (int32_t p = 0; p < m; ++p)
        z[static_cast<size_t>(p)] = static_cast<Real>(std::clamp(dualPeriods[static_cast<size_t>(p)], -1.0L, 1.0L));
    const Real rounding = 8 * static_cast<Real>(m + 2) * std::numeric_limits<Real>::epsilon();
    Real y1 = std::numeric_limits<Real>::infinity();
    for (int32_t i = 0; i < m_returns.shares; ++i) {
        const Real mean = Mean<Real>(i);
        Real term = -mean * y2;
        Real size = std::fabs(term);
        for (int32_t p = 0; p < m; ++p) {
            const Real r = m_returns.At(i, p);
            term -= (r - mean) * z[static_cast<size_t>(p)];
            size += (std::fabs(r) + std::fabs(mean)) * std::fabs(z[static_cast<size_t>(p)]);
        }
        y1 = std::min(y1, term - rounding * size);
    }
    const long double bound = static_cast<long double>(y1) + static_cast<long double>(m_minReturn) * y2;
    const long double slack = static_cast<long double>(rounding) * std::fabs(m_minReturn * y2);
    return std::isfinite(bound) ? std::max(bound - slack, 0.0L) : 0.0L;
}

// The exact duals first, in doubles, which is enough for any worksheet whose
// optimum is not far below its returns' size; then (unless quick) in long
// double; then the tableau's own duals, which serve where the basis holds an
// artificial.
long double BasisCertificate::DeviationSumBound(const Tableau& t, long double enough, bool quick) const {
    const int32_t n = t.Shares();
    const int32_t m = t.Periods();
    long double best = 0.0L;
    Vector costs;
    for (int32_t r = 1; r < t.ZRow(); ++r) {
        const int32_t b = t.basis[r];
        costs.push_back(b > n + 1 && b < t.Cols() - 2 ? 1.0L : 0.0L);
    }
    if (const auto y = SolveSquare(BasisColumns(t), costs)) {
        const Vector z(y->begin() + 2, y->end());
        best = BoundFromDuals<double>((*y)[1], z);
        if (best >= enough || quick)
            return best;
        best = std::max(best, BoundFromDuals<long double>((*y)[1], z));
        if (best >= enough)
            return best;
    }
    // Row Z holds c_B B^-1 A - c: the surplus column gives -y2 and the column
    // of u_p gives z_p - 1.
    const double* zRow = t.Row(t.ZRow());
    Vector z(static_cast<size_t>(m));
    for (int32_t p = 1; p <= m; ++p)
        z[static_cast<size_t>(p - 1)] = static_cast<long double>(zRow[n + 2 * p]) + 1.0L;
    return std::max(best, BoundFromDuals<long double>(-static_cast<long double>(zRow[n + 1]), z));
}

}  // namespace korvel
