#pragma once
// The last thing a companion program does: make sure its standard output
// really took what was printed.
#include <string>

namespace korvel::cli {

// Flushes std::cout and the C stream under it. When any write failed (a full
// disk, /dev/full, a closed pipe), says so on standard error and returns
// kExitUnreadable (2, as for any file that cannot be written); otherwise returns status unchanged.
int FinishStandardOutput(const std::string& program, int status);

}  // namespace korvel::cli
