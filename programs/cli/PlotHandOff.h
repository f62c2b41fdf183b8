#pragma once
// The companions link no drawing library, so that they start as fast as a
// solve: a picture is drawn by korvel-solve-plot, which runs the same command
// with a painter. It stands beside them in a build tree and in the system
// folder once installed.
#include <string>
#include <vector>

namespace korvel::cli {

// The folder of the running program, with its closing slash.
std::string OwnFolder(const char* argv0);

// Replaces this process with korvel-solve-plot from the first of folders
// that holds one, given args (args[0] is set to its path; the list ends with
// a null pointer). Returns only when no copy can be started.
void ExecPlotProgram(const std::vector<std::string>& folders, std::vector<char*> args);

}  // namespace korvel::cli
