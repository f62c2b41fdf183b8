#include "core/optimizer/FrontierPivot.h"

#include <algorithm>
#include <cstddef>

namespace korvel::frontier {

void EliminateColumn(double* cells, int32_t rows, int32_t cols, int32_t row, int32_t col) {
    double* pivotRow = cells + static_cast<size_t>(row) * static_cast<size_t>(cols);
    const double p = pivotRow[col];
    for (int32_t k = 0; k < cols; ++k)
        pivotRow[k] /= p;
    pivotRow[col] = 1.0;
    for (int32_t i = 0; i < rows; ++i) {
        if (i == row)
            continue;
        double* target = cells + static_cast<size_t>(i) * static_cast<size_t>(cols);
        const double f = target[col];
        if (f == 0.0)
            continue;
        for (int32_t k = 0; k < cols; ++k)
            target[k] -= f * pivotRow[k];
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
