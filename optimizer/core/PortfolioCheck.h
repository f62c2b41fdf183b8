#pragma once
// An independent look at a reported portfolio: its weights applied to the
// worksheet's own returns must give a feasible portfolio with the average
// return and line deviation the record states.
#include "optimizer/core/SolutionRecord.h"
#include "worksheet/core/CellSource.h"

#include <string>

namespace korvel {

// False with the reason when a weight is negative, the weights do not sum to 1,
// the average return falls short of minReturn or differs from the record's, or
// the line deviation differs from the record's. The tolerances allow for the
// weights' single precision and the pivots' noise, in proportion to the returns.
bool CheckPortfolio(const CellSource& cells, double minReturn, const SolutionRecord& record, std::string& fault);

}  // namespace korvel
