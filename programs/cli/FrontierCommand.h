#pragma once
// korvel-solve --frontier: the breakpoints of the returns loaded, printed and drawn.
#include "core/optimizer/WeightBounds.h"
#include "programs/cli/DataInput.h"
#include "programs/cli/SolveOptions.h"

#include <iosfwd>

namespace korvel::cli {

// The exit status as RunSolveCommand gives it.
// details: what the reader saw, its dates printed with the breakpoints;
// bounds: each share's least and greatest weight.
int RunFrontierCommand(const SolveOptions& options, const InputReturns& input, const text::TextDetails& details,
                       const WeightBounds& bounds, std::ostream& out, std::ostream& err);

}  // namespace korvel::cli
