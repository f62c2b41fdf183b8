#pragma once
// korvel-solve: the Go command on a worksheet document, without windows.
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

// Runs korvel-solve with the arguments that follow the program name; returns
// the exit status. Results go to out, reasons for failure to err.
int RunSolveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The same on arguments already parsed.
struct SolveOptions;
int RunSolveCommand(const SolveOptions& options, std::ostream& out, std::ostream& err);

}  // namespace korvel::cli
