#pragma once
#include "core/optimizer/Tableau.h"

#include <cstdint>

namespace korvel {

enum class SolveOutcome {
    Optimal,
    Unbounded,
    PivotLimit,
    NotFinite,  // a pivot overflowed: the tableau holds an infinity or NaN
};

// Far above any real run (a 1000-share, ten-period worksheet needs a few dozen
// pivots); reaching it means the pivots are cycling. Each pivot made before it
// follows the rules, so the bound only ends a run that would never end.
inline constexpr int64_t kDefaultPivotLimit = 200000;

bool IsOptimal(const Tableau& t);
bool IsBounded(const Tableau& t);
int32_t FindEnteringColumn(const Tableau& t);           // -1 when none
int32_t FindLeavingRow(const Tableau& t, int32_t col);  // -1 when none
// Pivots on (row, col) and records col as the row's basic column. True when
// every entry it wrote is finite; the tableau's rows 1..Z then all are, since
// a pivot rewrites each of them.
bool Pivot(Tableau& t, int32_t col, int32_t row);

// Pivots to an optimum (big-M primal simplex, Dantzig's rule, lowest index on ties).
// PivotLimit when pivotLimit pivots were made and the tableau is still neither
// optimal nor found unbounded; NotFinite as soon as a pivot overflows, since
// no comparison means anything after that. Expects a finite tableau. pivotsMade, when given, counts the pivots this call made.
SolveOutcome Solve(Tableau& t, int64_t pivotLimit = kDefaultPivotLimit, int64_t* pivotsMade = nullptr);

}  // namespace korvel
