#pragma once
#include "optimizer/core/Tableau.h"

#include <cstdint>

namespace korvel {

enum class SolveOutcome { Optimal, Unbounded, PivotLimit };

// Far above any real run; reaching it means the pivots are cycling.
inline constexpr int64_t kDefaultPivotLimit = 200000;

bool IsOptimal(const Tableau& t);
bool IsBounded(const Tableau& t);
int32_t FindEnteringColumn(const Tableau& t);          // -1 when none
int32_t FindLeavingRow(const Tableau& t, int32_t col); // -1 when none
void Pivot(Tableau& t, int32_t col, int32_t row);

// Pivots to an optimum (big-M primal simplex, Dantzig's rule, lowest index on ties).
// pivotsMade, when given, counts the pivots this call made.
SolveOutcome Solve(Tableau& t, int64_t pivotLimit = kDefaultPivotLimit, int64_t* pivotsMade = nullptr);

}  // namespace korvel
