#include "core/optimizer/FrontierPivot.h"

#include "core/optimizer/RowLoop.h"

#include <algorithm>
#include <cstddef>

namespace korvel::frontier {

// Four entries a step, so that the compiler pairs them into vector
// instructions (which round as the scalar ones do).
KORVEL_ROW_LOOP void SubtractMultiple(double* __restrict target, const double* __restrict source, double factor,
                                      int32_t count) {
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

KORVEL_ROW_LOOP void Divide(double* __restrict values, double divisor, int32_t count) {
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

// The spans of the pivot row that hold non-zero entries: a basic column is
// zero there (but for the leaving one), and a slack's identity leaves long
// runs of them, which the other rows need not step over. Gaps shorter than a
// few entries stay inside a span, where subtracting zero changes nothing.
std::vector<std::pair<int32_t, int32_t>> NonZeroSpans(const double* row, int32_t cols) {
    constexpr int32_t kShortestGap = 16;
    std::vector<std::pair<int32_t, int32_t>> spans;
    int32_t k = 0;
    while (k < cols) {
        while (k < cols && row[k] == 0.0)
            ++k;
        if (k == cols)
            break;
        int32_t end = k;
        int32_t zeros = 0;
        for (int32_t j = k; j < cols && zeros < kShortestGap; ++j) {
            zeros = row[j] == 0.0 ? zeros + 1 : 0;
            if (zeros == 0)
                end = j + 1;
        }
        spans.emplace_back(k, end);
        k = end;
    }
    return spans;
}

}  // namespace

void EliminateColumn(double* cells, int32_t rows, int32_t cols, int32_t row, int32_t col) {
    double* pivotRow = cells + static_cast<size_t>(row) * static_cast<size_t>(cols);
    Divide(pivotRow, pivotRow[col], cols);
    pivotRow[col] = 1.0;
    const std::vector<std::pair<int32_t, int32_t>> spans = NonZeroSpans(pivotRow, cols);
    for (int32_t i = 0; i < rows; ++i) {
        if (i == row)
            continue;
        double* target = cells + static_cast<size_t>(i) * static_cast<size_t>(cols);
        const double f = target[col];
        if (f == 0.0)
            continue;
        for (const auto& [begin, end] : spans)
            SubtractMultiple(target + begin, pivotRow + begin, f, end - begin);
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
