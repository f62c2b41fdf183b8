#pragma once
// What the frontier's two dense tables share: their tolerances and the
// Gauss-Jordan step of a pivot, and the choice of what joins a growing table.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace korvel::frontier {

// The data are scaled to at most 1 in absolute value, so the tolerances are
// absolute. An entry below kPivotTolerance is rounding noise of a zero and is
// never pivoted on; a reduced cost within kCostTolerance of zero counts as
// optimal.
inline constexpr double kPivotTolerance = 1e-9;
inline constexpr double kCostTolerance = 1e-11;
// Steps shorter than this give the same portfolio again.
inline constexpr double kStepTolerance = 1e-13;
inline constexpr double kTieTolerance = 1e-12;
// Deviations closer than this to the least are the least.
inline constexpr double kFlatTolerance = 1e-12;
// After this many pivots in a row that do not move, ties are broken by the
// lowest index (Bland's rule), which cannot cycle.
inline constexpr int kDegenerateRunBeforeBland = 50;

// target[k] -= factor * source[k] for k below count; the two must not overlap.
void SubtractMultiple(double* target, const double* source, double factor, int32_t count);

// Divides the pivot row by its entry in col and takes it from every other of
// the rows (row-major, cols wide) so that col becomes a unit column.
void EliminateColumn(double* cells, int32_t rows, int32_t cols, int32_t row, int32_t col);

// Of the candidates (how much less pays more, and an index), the indices of
// at most `most`, the best first: what joins a table that grows.
std::vector<int32_t> MostPaying(std::vector<std::pair<double, int32_t>>& candidates, size_t most);

}  // namespace korvel::frontier
