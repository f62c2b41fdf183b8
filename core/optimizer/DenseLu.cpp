#include "core/optimizer/DenseLu.h"

#include <cmath>
#include <numeric>
#include <utility>

namespace korvel {

bool DenseLu::Factor(std::vector<double> matrix, int32_t size) {
    m_size = size;
    m_lu = std::move(matrix);
    m_permutation.resize(static_cast<size_t>(size));
    std::iota(m_permutation.begin(), m_permutation.end(), 0);
    bool regular = true;
    for (int32_t k = 0; k < size; ++k) {
        int32_t pivot = k;
        for (int32_t r = k + 1; r < size; ++r)
            if (std::fabs(At(r, k)) > std::fabs(At(pivot, k)))
                pivot = r;
        if (pivot != k) {
            std::swap_ranges(&At(k, 0), &At(k, 0) + size, &At(pivot, 0));
            std::swap(m_permutation[static_cast<size_t>(k)], m_permutation[static_cast<size_t>(pivot)]);
        }
        const double diagonal = At(k, k);
        if (diagonal == 0.0) {
            regular = false;
            continue;
        }
        const double* top = &At(k, 0);
        for (int32_t r = k + 1; r < size; ++r) {
            double* row = &At(r, 0);
            const double f = row[k] / diagonal;
            row[k] = f;
            if (f != 0.0)
                for (int32_t c = k + 1; c < size; ++c)
                    row[c] -= f * top[c];
        }
    }
    return regular;
}

void DenseLu::Solve(std::vector<double>& b) const {
    std::vector<double> x(static_cast<size_t>(m_size));
    for (int32_t i = 0; i < m_size; ++i) {
        double sum = b[static_cast<size_t>(m_permutation[static_cast<size_t>(i)])];
        const double* row = Row(i);
        for (int32_t c = 0; c < i; ++c)
            sum -= row[c] * x[static_cast<size_t>(c)];
        x[static_cast<size_t>(i)] = sum;
    }
    for (int32_t i = m_size - 1; i >= 0; --i) {
        const double* row = Row(i);
        double sum = x[static_cast<size_t>(i)];
        for (int32_t c = i + 1; c < m_size; ++c)
            sum -= row[c] * x[static_cast<size_t>(c)];
        x[static_cast<size_t>(i)] = sum / row[i];
    }
    b = std::move(x);
}

// U' L' P y = c: forward through U', back through L', then undo P.
void DenseLu::SolveTransposed(std::vector<double>& c) const {
    std::vector<double> v(c.begin(), c.begin() + m_size);
    for (int32_t i = 0; i < m_size; ++i) {
        v[static_cast<size_t>(i)] /= At(i, i);
        const double vi = v[static_cast<size_t>(i)];
        const double* row = Row(i);
        if (vi != 0.0)
            for (int32_t c = i + 1; c < m_size; ++c)
                v[static_cast<size_t>(c)] -= row[c] * vi;
    }
    for (int32_t i = m_size - 1; i >= 0; --i) {
        const double vi = v[static_cast<size_t>(i)];
        const double* row = Row(i);
        if (vi != 0.0)
            for (int32_t c = 0; c < i; ++c)
                v[static_cast<size_t>(c)] -= row[c] * vi;
    }
    for (int32_t i = 0; i < m_size; ++i)
        c[static_cast<size_t>(m_permutation[static_cast<size_t>(i)])] = v[static_cast<size_t>(i)];
}

}  // namespace korvel
