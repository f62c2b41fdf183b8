#pragma once
// korvel-solve --frontier: the breakpoints of a loaded worksheet, printed and drawn.
#include "core/worksheet/WorksheetTable.h"
#include "programs/cli/SolveOptions.h"

#include <iosfwd>

namespace korvel::cli {

// The exit status as RunSolveCommand gives it.
// details: what the reader saw, its dates printed with the breakpoints.
int RunFrontierCommand(const SolveOptions& options, const WorksheetTable& table, const text::TextDetails& details,
                       std::ostream& out, std::ostream& err);

}  // namespace korvel::cli
