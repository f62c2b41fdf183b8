#pragma once
// korvel-solve --frontier: the breakpoints of a loaded worksheet, printed and drawn.
#include "core/optimizer/WeightBounds.h"
#include "core/worksheet/WorksheetTable.h"
#include "programs/cli/SolveOptions.h"

#include <iosfwd>

namespace korvel::cli {

// The exit status as RunSolveCommand gives it.
// details: what the reader saw, its dates printed with the breakpoints;
// bounds: each share's least and greatest weight.
int RunFrontierCommand(const SolveOptions& options, const WorksheetTable& table, const text::TextDetails& details,
                       const WeightBounds& bounds, std::ostream& out, std::ostream& err);

}  // namespace korvel::cli
