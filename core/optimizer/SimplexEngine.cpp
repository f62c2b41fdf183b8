#include "core/optimizer/SimplexEngine.h"

#include "core/optimizer/RowLoop.h"
#include "core/worksheet/WorksheetRules.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korvel {
namespace {

constexpr double kClean = 1e-10;
constexpr double kLargestDouble = 1.7976931348623157e308;

// Columns the engine examines: shares, surplus and deviation variables; the two
// artificial columns at the end are never examined, so a leaving artificial
// never comes back.
int32_t LastExaminedColumn(const Tableau& t) {
    return t.Cols() - 3;
}

// Beyond the worksheet's 1000 shares and ten periods the pivots' rounding
// noise grows with the tableau, and a noise-sized entry taken as a pivot
// multiplies that noise into every row (a 2000 x 60 model then reports a
// negative deviation). There an entry must be above the noise to be a pivot.
// Within the worksheet's size every positive entry is one, as it always was,
// so that worksheets keep their pivots and figures to the bit.
constexpr double kLeastLargePivot = 1e-6;

double LeastPivot(const Tableau& t) {
    return t.Periods() > kMaxPeriods || t.Shares() > kMaxShares ? kLeastLargePivot : 0.0;
}

// A column with a positive reduced cost and no positive entry in row 1.
inline uint64_t OpenInRowOne(double z, double first) {
    return static_cast<uint64_t>(z > 0.0) & static_cast<uint64_t>(!(first > 0.0));
}

// Row 1 leaves few columns open, so most chunks of columns are passed over
// by this branch-free test before any list is built.
bool AnyOpenInRowOne(const double* z, const double* first, int32_t begin, int32_t end) {
    int32_t j = begin;
    uint64_t any = 0;
#if defined(__SSE2__)
    // The compiler does not vectorise the test: the same ordered comparisons
    // (a NaN is not above 0) two columns at a time.
    const __m128d zero = _mm_setzero_pd();
    __m128d open = zero;
    for (; j + 2 <= end; j += 2) {
        const __m128d positive = _mm_cmpgt_pd(_mm_loadu_pd(z + j), zero);
        open = _mm_or_pd(open, _mm_andnot_pd(_mm_cmpgt_pd(_mm_loadu_pd(first + j), zero), positive));
    }
    any = static_cast<uint64_t>(_mm_movemask_pd(open));
#endif
    for (; j < end; ++j)
        any |= OpenInRowOne(z[j], first[j]);
    return any != 0;
}

}  // namespace

bool IsOptimal(const Tableau& t) {
    const double* z = t.Row(t.ZRow());
    const int32_t last = LastExaminedColumn(t);
    for (int32_t j = 1; j <= last; ++j)
        if (z[j] > 0.0)
            return false;
    return true;
}

// Walks the constraint rows in memory order, a block of columns at a time,
// rather than down each column: the answer does not depend on the order. The
// list of columns still lacking a positive entry shrinks row by row (usually
// to nothing at the budget row), so a call costs little more than one pass
// over row Z, which also takes in row 1.
bool IsBounded(const Tableau& t) {
    constexpr int32_t kBlock = 256;
    constexpr int32_t kChunk = 32;
    const double* z = t.Row(t.ZRow());
    const double* first = t.Row(1);
    const int32_t last = LastExaminedColumn(t);
    int32_t open[kBlock];
    for (int32_t start = 1; start <= last; start += kBlock) {
        const int32_t end = std::min(start + kBlock, last + 1);
        int32_t count = 0;
        for (int32_t chunk = start; chunk < end; chunk += kChunk) {
            const int32_t chunkEnd = std::min(chunk + kChunk, end);
            if (!AnyOpenInRowOne(z, first, chunk, chunkEnd))
                continue;
            for (int32_t j = chunk; j < chunkEnd; ++j) {
                open[count] = j;
                count += static_cast<int32_t>(OpenInRowOne(z[j], first[j]));
            }
        }
        for (int32_t r = 2; r < t.ZRow() && count > 0; ++r) {
            const double* row = t.Row(r);
            int32_t kept = 0;
            for (int32_t q = 0; q < count; ++q) {
                open[kept] = open[q];
                kept += !(row[open[q]] > 0.0);
            }
            count = kept;
        }
        if (count > 0)
            return false;
    }
    return true;
}

// The first column holding the largest positive entry of row Z. The largest
// value is found with four independent running maxima (a maximum is exact, so
// their order does not matter, and a NaN never wins a comparison), then its
// first column: the same column as one running comparison, without its chain
// of dependent compares.
int32_t FindEnteringColumn(const Tableau& t) {
    const double* z = t.Row(t.ZRow());
    const int32_t last = LastExaminedColumn(t);
    double best[4] = {0.0, 0.0, 0.0, 0.0};
    int32_t j = 1;
    for (; j + 3 <= last; j += 4)
        for (int32_t q = 0; q < 4; ++q)
            best[q] = z[j + q] > best[q] ? z[j + q] : best[q];
    for (; j <= last; ++j)
        best[0] = z[j] > best[0] ? z[j] : best[0];
    double largest = 0.0;
    for (double b : best)
        largest = b > largest ? b : largest;
    if (!(largest > 0.0))
        return -1;
    for (j = 1; z[j] != largest; ++j) {
    }
    return j;
}

int32_t FindLeavingRow(const Tableau& t, int32_t col) {
    const double least = LeastPivot(t);
    double best = kLargestDouble;
    int32_t row = -1;
    for (int32_t r = 1; r < t.ZRow(); ++r) {
        const double entry = t.At(r, col);
        if (entry > least) {
            const double q = t.At(r, 0) / entry;
            if (q < best) {
                best = q;
                row = r;
            }
        }
    }
    return row;
}

namespace {

// An infinity or NaN has every exponent bit set, and only then does adding one
// to the exponent field carry into the sign bit. The carries of a whole row
// are ORed together with integer vector operations, in the same pass that
// writes the row.
constexpr uint64_t kExponent = 0x7FF0000000000000u;

constexpr uint64_t kExponentOne = uint64_t{1} << 52;

inline uint64_t NonFiniteCarry(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return (bits & kExponent) + kExponentOne;
}

KORVEL_ROW_LOOP uint64_t DivideRow(double* __restrict row, double p, int32_t k) {
    uint64_t carries = 0;
    for (int32_t j = 0; j < k; ++j) {
        row[j] = row[j] / p;
        carries |= NonFiniteCarry(row[j]);
    }
    return carries;
}

// target -= f * pivot, entry by entry (a product, then a difference, each its
// own double), then every result below 1e-10 in absolute value becomes +0.0.
// The rows are distinct, so the pointers never overlap.
KORVEL_ROW_LOOP uint64_t EliminateRow(double* __restrict target, const double* __restrict pivot, double f, int32_t k) {
    uint64_t carries = 0;
    for (int32_t j = 0; j < k; ++j) {
        const double product = f * pivot[j];
        const double value = target[j] - product;
        target[j] = std::fabs(value) < kClean ? 0.0 : value;
        carries |= NonFiniteCarry(target[j]);
    }
    return carries;
}

}  // namespace

// Every other row is updated, even one whose factor f is 0.0: the update is
// then not an identity, because the cleaning still applies. A row that was
// the pivot row of an earlier step may hold entries below 1e-10 or -0.0,
// which this step turns into +0.0; skipping the row would keep them.
bool Pivot(Tableau& t, int32_t col, int32_t row) {
    const int32_t k = t.Cols();
    double* pivotRow = t.Row(row);
    uint64_t carries = DivideRow(pivotRow, pivotRow[col], k);
    pivotRow[col] = 1.0;
    for (int32_t i = 1; i <= t.ZRow(); ++i) {
        if (i == row)
            continue;
        double* target = t.Row(i);
        carries |= EliminateRow(target, pivotRow, target[col], k);
    }
    t.basis[row] = col;
    return (carries >> 63) == 0;
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
        ++pivots;
        if (!Pivot(t, col, row)) {
            outcome = SolveOutcome::NotFinite;
            break;
        }
    }
    if (pivotsMade)
        *pivotsMade = pivots;
    return outcome;
}

}  // namespace korvel
