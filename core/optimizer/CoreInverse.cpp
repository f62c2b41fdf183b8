#include "core/optimizer/CoreInverse.h"

#include "core/optimizer/DenseLu.h"

#include <algorithm>
#include <cmath>

namespace korvel {
namespace {

// A pivot this small against the entries it divides would carry their
// rounding into every entry of the inverse.
constexpr double kSmallPivot = 1e-11;

double LargestMagnitude(const std::vector<double>& values) {
    double largest = 0.0;
    for (double v : values)
        largest = std::max(largest, std::fabs(v));
    return largest;
}

bool Trusted(double pivot, double scale) {
    return std::isfinite(pivot) && std::fabs(pivot) > kSmallPivot * std::max(1.0, scale);
}

}  // namespace

bool CoreInverse::Reset(const std::vector<double>& matrix, int32_t size) {
    DenseLu factors;
    if (!factors.Factor(matrix, size))
        return false;
    m_size = size;
    m_inverse.assign(static_cast<size_t>(size) * static_cast<size_t>(size), 0.0);
    std::vector<double> unit(static_cast<size_t>(size));
    for (int32_t r = 0; r < size; ++r) {
        std::fill(unit.begin(), unit.end(), 0.0);
        unit[static_cast<size_t>(r)] = 1.0;
        factors.Solve(unit);
        for (int32_t c = 0; c < size; ++c)
            At(c, r) = unit[static_cast<size_t>(c)];
    }
    return std::all_of(m_inverse.begin(), m_inverse.end(), [](double v) { return std::isfinite(v); });
}

std::vector<double> CoreInverse::Times(const std::vector<double>& b) const {
    std::vector<double> x(static_cast<size_t>(m_size), 0.0);
    for (int32_t c = 0; c < m_size; ++c) {
        const double* row = &m_inverse[Index(c, 0)];
        double sum = 0.0;
        for (int32_t r = 0; r < m_size; ++r)
            sum += row[r] * b[static_cast<size_t>(r)];
        x[static_cast<size_t>(c)] = sum;
    }
    return x;
}

std::vector<double> CoreInverse::RowTimes(const std::vector<double>& v) const {
    std::vector<double> y(static_cast<size_t>(m_size), 0.0);
    for (int32_t c = 0; c < m_size; ++c) {
        const double factor = v[static_cast<size_t>(c)];
        const double* row = &m_inverse[Index(c, 0)];
        if (factor != 0.0)
            for (int32_t r = 0; r < m_size; ++r)
                y[static_cast<size_t>(r)] += factor * row[r];
    }
    return y;
}

void CoreInverse::Solve(std::vector<double>& b) const {
    b = Times(b);
}

void CoreInverse::SolveTransposed(std::vector<double>& c) const {
    c = RowTimes(c);
}

// The new inverse is the old one times an elementary matrix: the pivot's
// row divided by it, and taken from the others in proportion.
bool CoreInverse::ReplaceColumn(int32_t column, const std::vector<double>& d) {
    const double pivot = d[static_cast<size_t>(column)];
    if (!Trusted(pivot, LargestMagnitude(d)))
        return false;
    double* pivotRow = &At(column, 0);
    for (int32_t r = 0; r < m_size; ++r)
        pivotRow[r] /= pivot;
    for (int32_t c = 0; c < m_size; ++c) {
        const double factor = d[static_cast<size_t>(c)];
        if (c == column || factor == 0.0)
            continue;
        double* row = &At(c, 0);
        for (int32_t r = 0; r < m_size; ++r)
            row[r] -= factor * pivotRow[r];
    }
    return true;
}

// Sherman and Morrison: the row's change is a rank-one change of the matrix.
bool CoreInverse::ReplaceRow(int32_t row, const std::vector<double>& v) {
    std::vector<double> z = RowTimes(v);
    const double pivot = z[static_cast<size_t>(row)];
    if (!Trusted(pivot, LargestMagnitude(z)))
        return false;
    z[static_cast<size_t>(row)] -= 1.0;
    std::vector<double> u(static_cast<size_t>(m_size));
    for (int32_t c = 0; c < m_size; ++c)
        u[static_cast<size_t>(c)] = At(c, row) / pivot;
    for (int32_t c = 0; c < m_size; ++c) {
        const double factor = u[static_cast<size_t>(c)];
        double* entries = &At(c, 0);
        if (factor != 0.0)
            for (int32_t r = 0; r < m_size; ++r)
                entries[r] -= factor * z[static_cast<size_t>(r)];
    }
    return true;
}

// The bordered matrix's inverse, through the corner's Schur complement.
bool CoreInverse::Grow(const std::vector<double>& d, const std::vector<double>& v, double corner) {
    const std::vector<double> w = RowTimes(v);
    double schur = corner;
    for (int32_t c = 0; c < m_size; ++c)
        schur -= v[static_cast<size_t>(c)] * d[static_cast<size_t>(c)];
    if (!Trusted(schur, std::max(LargestMagnitude(d), LargestMagnitude(w))))
        return false;
    const int32_t size = m_size;
    Resize(size + 1);
    for (int32_t c = 0; c < size; ++c) {
        const double factor = d[static_cast<size_t>(c)] / schur;
        double* row = &At(c, 0);
        for (int32_t r = 0; r < size; ++r)
            row[r] += factor * w[static_cast<size_t>(r)];
        row[size] = -factor;
    }
    for (int32_t r = 0; r < size; ++r)
        At(size, r) = -w[static_cast<size_t>(r)] / schur;
    At(size, size) = 1.0 / schur;
    return true;
}

// The inverse without the column's row and the row's column, less the rank
// one part they held; then the last row and column move into their places.
bool CoreInverse::Shrink(int32_t row, int32_t column) {
    const double pivot = At(column, row);
    double scale = 0.0;
    for (int32_t c = 0; c < m_size; ++c)
        scale = std::max(scale, std::fabs(At(c, row)));
    if (!Trusted(pivot, scale))
        return false;
    std::vector<double> pivotRow(&At(column, 0), &At(column, 0) + m_size);
    for (int32_t c = 0; c < m_size; ++c) {
        const double factor = At(c, row) / pivot;
        double* entries = &At(c, 0);
        if (c != column && factor != 0.0)
            for (int32_t r = 0; r < m_size; ++r)
                entries[r] -= factor * pivotRow[static_cast<size_t>(r)];
    }
    const int32_t last = m_size - 1;
    for (int32_t r = 0; r < m_size; ++r)
        At(column, r) = At(last, r);
    for (int32_t c = 0; c < m_size; ++c)
        At(c, row) = At(c, last);
    Resize(last);
    return true;
}

void CoreInverse::Resize(int32_t size) {
    std::vector<double> resized(static_cast<size_t>(size) * static_cast<size_t>(size), 0.0);
    const int32_t kept = std::min(size, m_size);
    for (int32_t c = 0; c < kept; ++c)
        for (int32_t r = 0; r < kept; ++r)
            resized[static_cast<size_t>(c) * static_cast<size_t>(size) + static_cast<size_t>(r)] = At(c, r);
    m_inverse.swap(resized);
    m_size = size;
}

}  // namespace korvel
