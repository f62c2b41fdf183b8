#include "cli/SolveOptions.h"

#include <string_view>

namespace korvel::cli {

const char* const kSolveUsageLine = "Usage: korvel-solve [--json] [--min-return TEXT] FILE\n";

const char* const kSolveUsage =
    "Usage: korvel-solve [--json] [--min-return TEXT] FILE\n"
    "\n"
    "Loads a Korvel worksheet document, runs the Go command's checks and the\n"
    "optimizer, answers Continue to every solution, and prints every solution\n"
    "the Single solution dialog would show, in order.\n"
    "\n"
    "  --json             print one JSON object instead of text\n"
    "  --min-return TEXT  use TEXT as the Min Return instead of the document's\n"
    "  --help             show this help\n"
    "\n"
    "Exit status: 0 the command ran (solutions, \"No solution\" or \"No solution !\"),\n"
    "1 the input was rejected or the result failed its check (the message on stderr),\n"
    "2 the file cannot be read or the usage is wrong, 3 the optimizer stopped at its\n"
    "pivot limit.\n";

bool ParseSolveArguments(const std::vector<std::string>& args, SolveOptions& options, std::string& error) {
    options = SolveOptions{};
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--min-return") {
            // The next argument is the text whatever it looks like: "-1" is a Min Return.
            if (i + 1 == args.size()) {
                error = "--min-return needs a TEXT";
                return false;
            }
            options.minReturn = args[++i];
        } else if (std::string_view(arg).starts_with("--min-return=")) {
            options.minReturn = arg.substr(std::string_view("--min-return=").size());
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    if (options.help) return true;
    if (files.size() != 1) {
        error = files.empty() ? "no FILE given" : "more than one FILE given";
        return false;
    }
    options.file = files[0];
    return true;
}

}  // namespace korvel::cli
