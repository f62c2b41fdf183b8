#include "core/optimizer/FrontierPivot.h"

#include <algorithm>
#include <cstddef>

namespace korvel::frontier {

// Four entries a step, so that the compiler pairs them into vector
// instructions (which round as the scalar ones do).
void SubtractMultiple(double* __restrict target, const double* __restrict source, double factor, int32_t count) {
    int32_t k = 0;
    for (; k + 4 <= count; k += 4) {
        target[k] -= factor * source[k];
        target[k + 1] -= factor * source[k + 1];
        target[k + 2] -= factor * source[k + 2];
        target[k + 3] -= factor * source[k + 3];
    }
    for (; k < count; ++k)
        target[k] -= factor * source[k];
}

namespace {

void Divide(double* __restrict values, double divisor, int32_t count) {
    int32_t k = 0;
    for (; k + 4 <= count; k += 4) {
        values[k] /= divisor;
        values[k + 1] /= divisor;
        values[k + 2] /= divisor;
        values[k + 3] /= divisor;
    }
    for (; k < count; ++k)
        values[k] /= divisor;
}

}  // namespace

void EliminateColumn(double* cells, int32_t rows, int32_t cols, int32_t row, int32_t col) {
    double* pivotRow = cells + static_cast<size_t>(row) * static_cast<size_t>(cols);
    Divide(pivotRow, pivotRow[col], cols);
    pivotRow[col] = 1.0;
    for (int32_t i = 0; i < rows; ++i) {
        if (i == row)
            continue;
        double* target = cells + static_cast<size_t>(i) * static_cast<size_t>(cols);
        const double f = target[col];
        if (f == 0.0)
            continue;
        SubtractMultiple(target, pivotRow, f, cols);
        target[col] = 0.0;
    }
}

std::vector<int32_t> MostPaying(std::vector<std::pair<double, int32_t>>& candidates, size_t most) {
    most = std::min(most, candidates.size());
    std::partial_sort(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(most), candidates.end());
    std::vector<int32_t> indices;
    for (size_t k = 0; k < most; ++k)
        indices.push_back(candidates[k].second);
    return indices;
}

}  // namespace korvel::frontier
