#pragma once
// Command line of korvel-solve: [--json|--csv] [--min-return TEXT] [text options] FILE, or --help.
#include "cli/DataInput.h"

#include <optional>
#include <string>
#include <vector>

namespace korvel::cli {

struct SolveOptions {
    bool help = false;
    bool json = false;
    bool csv = false;
    InputOptions input;  // how FILE is read; its minReturn is not used (see minReturn)
    std::optional<std::string> minReturn;  // replaces the document's text, as if typed
    std::string file;
};

// False with a reason when the arguments (program name excluded) are not a valid call.
bool ParseSolveArguments(const std::vector<std::string>& args, SolveOptions& options, std::string& error);

extern const char* const kSolveUsageLine;  // the first line of kSolveUsage
extern const char* const kSolveUsage;

}  // namespace korvel::cli
