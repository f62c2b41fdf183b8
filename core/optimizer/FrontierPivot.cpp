#include "core/optimizer/FrontierPivot.h"

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

}  // namespace korvel::frontier
