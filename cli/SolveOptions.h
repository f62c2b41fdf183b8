#pragma once
// Command line of korvel-solve: [--json] [--min-return TEXT] FILE, or --help.
#include <optional>
#include <string>
#include <vector>

namespace korvel::cli {

struct SolveOptions {
    bool help = false;
    bool json = false;
    std::optional<std::string> minReturn;  // replaces the document's text, as if typed
    std::string file;
};

// False with a reason when the arguments (program name excluded) are not a valid call.
bool ParseSolveArguments(const std::vector<std::string>& args, SolveOptions& options, std::string& error);

extern const char* const kSolveUsageLine;  // the first line of kSolveUsage
extern const char* const kSolveUsage;

}  // namespace korvel::cli
