#pragma once
// What the risk measures add to korvel-solve's runs: the weight bounds from
// the options and the bounds file, and the solver a run goes to.
#include "core/optimizer/Frontier.h"
#include "core/optimizer/WeightBounds.h"
#include "core/worksheet/WorksheetTable.h"
#include "programs/cli/SolveOptions.h"

#include <string>
#include <vector>

namespace korvel::cli {

// The bounds the options ask for; false with a message (the file's name and
// line, or the share at fault) when they cannot be read or no portfolio keeps them.
bool MakeWeightBounds(const SolveOptions& options, const std::vector<std::string>& names, WeightBounds& bounds,
                      std::string& error);

// The frontier (or its first point) by the options' measure and bounds: the
// mean absolute deviation without bounds on its own solver, all else on the
// risk measures' one.
FrontierResult SolveFrontier(const SolveOptions& options, const ShareReturns& returns, const WeightBounds& bounds,
                             const FrontierRequest& request);
// The same on returns it may scale in place.
FrontierResult SolveFrontier(const SolveOptions& options, ShareReturns&& returns, const WeightBounds& bounds,
                             const FrontierRequest& request);

// The name outputs carry for the options' measure: empty for mad.
std::string PrintedMeasure(const SolveOptions& options);

}  // namespace korvel::cli
