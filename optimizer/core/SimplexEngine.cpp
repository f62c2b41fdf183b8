#include "optimizer/core/SimplexEngine.h"

#include <cmath>

namespace korvel {
namespace {

constexpr double kClean = 1e-10;
constexpr double kLargestDouble = 1.7976931348623157e308;

// Columns the engine examines: shares, surplus and deviation variables; the two
// artificial columns at the end are never examined, so a leaving artificial
// never comes back.
int32_t LastExaminedColumn(const Tableau& t) { return t.Cols() - 3; }

bool HasPositiveEntry(const Tableau& t, int32_t col) {
    for (int32_t r = 1; r < t.ZRow(); ++r)
        if (t.At(r, col) > 0.0) return true;
    return false;
}

}  // namespace

bool IsOptimal(const Tableau& t) {
    const double* z = t.Row(t.ZRow());
    const int32_t last = LastExaminedColumn(t);
    for (int32_t j = 1; j <= last; ++j)
        if (z[j] > 0.0) return false;
    return true;
}

bool IsBounded(const Tableau& t) {
    const double* z = t.Row(t.ZRow());
    const int32_t last = LastExaminedColumn(t);
    for (int32_t j = 1; j <= last; ++j)
        if (z[j] > 0.0 && !HasPositiveEntry(t, j)) return false;
    return true;
}

int32_t FindEnteringColumn(const Tableau& t) {
    const double* z = t.Row(t.ZRow());
    const int32_t last = LastExaminedColumn(t);
    double best = 0.0;
    int32_t column = -1;
    for (int32_t j = 1; j <= last; ++j) {
        if (z[j] > best) {
            best = z[j];
            column = j;
        }
    }
    return column;
}

int32_t FindLeavingRow(const Tableau& t, int32_t col) {
    double best = kLargestDouble;
    int32_t row = -1;
    for (int32_t r = 1; r < t.ZRow(); ++r) {
        const double entry = t.At(r, col);
        if (entry > 0.0) {
            const double q = t.At(r, 0) / entry;
            if (q < best) {
                best = q;
                row = r;
            }
        }
    }
    return row;
}

void Pivot(Tableau& t, int32_t col, int32_t row) {
    const int32_t k = t.Cols();
    double* pivotRow = t.Row(row);
    const double p = pivotRow[col];
    for (int32_t j = 0; j < k; ++j) pivotRow[j] = pivotRow[j] / p;
    pivotRow[col] = 1.0;

    for (int32_t i = 1; i <= t.ZRow(); ++i) {
        if (i == row) continue;
        double* target = t.Row(i);
        const double f = target[col];
        for (int32_t j = 0; j < k; ++j) {
            const double product = f * pivotRow[j];
            const double value = target[j] - product;
            target[j] = std::fabs(value) < kClean ? 0.0 : value;
        }
    }
    t.basis[row] = col;
}

SolveOutcome Solve(Tableau& t, int64_t pivotLimit, int64_t* pivotsMade) {
    int64_t pivots = 0;
    SolveOutcome outcome = SolveOutcome::Optimal;
    while (!IsOptimal(t)) {
        if (!IsBounded(t)) {
            outcome = SolveOutcome::Unbounded;
            break;
        }
        if (pivots >= pivotLimit) {
            outcome = SolveOutcome::PivotLimit;
            break;
        }
        const int32_t col = FindEnteringColumn(t);
        const int32_t row = FindLeavingRow(t, col);
        // Only a ratio that overflows to infinity leaves no row here: no finite
        // step exists, which is what an unbounded column means.
        if (row < 0) {
            outcome = SolveOutcome::Unbounded;
            break;
        }
        Pivot(t, col, row);
        ++pivots;
    }
    if (pivotsMade) *pivotsMade = pivots;
    return outcome;
}

}  // namespace korvel

