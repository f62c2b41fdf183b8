#include "cli/SolveOptions.h"

#include <string_view>

namespace korvel::cli {

const char* const kSolveUsageLine = "Usage: korvel-solve [--json|--csv] [--min-return TEXT] [OPTION]... FILE\n";

const std::string kSolveUsageText = std::string(
    "Usage: korvel-solve [--json|--csv] [--min-return TEXT] [OPTION]... FILE\n"
    "\n"
    "Loads a Korvel worksheet document, or share returns as delimited text (a\n"
    "FILE named .csv, .tsv or .txt; up to 10000 shares and 520 periods), runs\n"
    "the Go command's checks and the optimizer, answers Continue to every\n"
    "solution, and prints every solution the Single solution dialog would show,\n"
    "in order.\n"
    "\n"
    "  --json             print one JSON object instead of text\n"
    "  --csv              print CSV: solution, average return, line deviation,\n"
    "                     row, name, weight; one line per share held\n") +
    kInputOptionsHelp +
    "  --help             show this help\n"
    "\n"
    "Exit status: 0 the command ran (solutions, \"No solution\" or \"No solution !\"),\n"
    "1 the input was rejected (its message on stderr), 2 the file cannot be read or\n"
    "the usage is wrong, 3 the optimizer stopped at its pivot limit, 4 a\n"
    "portfolio failed the check against its data (nothing is printed). Text\n"
    "that breaks a rule gives 1, with its line and field on stderr.\n";

const char* const kSolveUsage = kSolveUsageText.c_str();

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
        } else if (arg == "--csv") {
            options.csv = true;
        } else if (arg == "--min-return") {
            // The next argument is the text whatever it looks like: "-1" is a Min Return.
            if (i + 1 == args.size()) {
                error = "--min-return needs a TEXT";
                return false;
            }
            options.minReturn = args[++i];
        } else if (std::string_view(arg).starts_with("--min-return=")) {
            options.minReturn = arg.substr(std::string_view("--min-return=").size());
        } else if (const OptionMatch match = ParseInputOption(args, i, options.input, error);
                   match != OptionMatch::NotMine) {
            if (match == OptionMatch::Failed) return false;
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    if (options.help) return true;
    if (options.json && options.csv) {
        error = "--json and --csv exclude each other";
        return false;
    }
    if (files.size() != 1) {
        error = files.empty() ? "no FILE given" : "more than one FILE given";
        return false;
    }
    options.file = files[0];
    return true;
}

}  // namespace korvel::cli
