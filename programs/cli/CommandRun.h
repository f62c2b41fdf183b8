#pragma once
// How every companion runs once its arguments are read.
#include <functional>
#include <iosfwd>
#include <string>

namespace korvel::cli {

// Prints usage and returns 0 when help was asked; otherwise runs command. An
// exception escaping it (memory, a stream that failed) becomes a reason on err
// after "program: " and exit status 2, as for a file that cannot be read.
int RunCommand(const std::string& program, bool help, const std::string& usage, std::ostream& out, std::ostream& err,
               const std::function<int()>& command);

}  // namespace korvel::cli
