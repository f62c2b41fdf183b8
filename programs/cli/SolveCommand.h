#pragma once
// korvel-solve: the Go command on a worksheet document, without windows.
#include "core/optimizer/GoCommand.h"
#include "core/optimizer/ShareReturns.h"
#include "core/optimizer/WeightBounds.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace korvel::cli {

enum SolveExit : int {
    kExitRan = 0,
    kExitRejected = 1,
    kExitUnreadable = 2,
    kExitPivotLimit = 3,
    kExitUnsound = 4,  // a portfolio failed the check against its data
};

// Solves the returns of the shares named as korvel-solve does, by the engine
// their size and the options' measure, bounds and goal call for, with
// minReturn as if typed (options.leastRisk or bestRatio: none). The returns
// are the solver's to scale in place, so that they are held once.
struct SolveOptions;
struct SolveRun;
SolveRun SolveTable(const SolveOptions& options, const std::string& minReturn, const std::vector<std::string>& names,
                    ShareReturns&& returns, const WeightBounds& bounds);
// The exit status of a solve that ended so.
int SolveExitStatus(GoOutcome outcome);

// Runs korvel-solve with the arguments that follow the program name; returns
// the exit status. Results go to out, reasons for failure to err.
int RunSolveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The same on arguments already parsed.
int RunSolveCommand(const SolveOptions& options, std::ostream& out, std::ostream& err);

}  // namespace korvel::cli
