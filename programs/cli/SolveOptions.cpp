#include "programs/cli/SolveOptions.h"

#include <cctype>
#include <string_view>

namespace korvel::cli {

const char* const kSolveUsageLine = "Usage: korvel-solve [--json|--csv] [--min-return TEXT] [OPTION]... FILE\n"
                                    "       korvel-solve --frontier [--json|--csv] [--plot PICTURE] [OPTION]... FILE\n";

const std::string kSolveUsageText =
    std::string("Usage: korvel-solve [--json|--csv] [--min-return TEXT] [OPTION]... FILE\n"
                "       korvel-solve --frontier [--json|--csv] [--plot PICTURE] [OPTION]... FILE\n"
                "\n"
                "Loads a Korvel worksheet document, or share returns as delimited text (a\n"
                "FILE named .csv, .tsv or .txt; up to 10000 shares and 520 periods), runs\n"
                "the Go command's checks and the optimizer, answers Continue to every\n"
                "solution, and prints every solution the Single solution dialog would show,\n"
                "in order.\n"
                "\n"
                "  --json             print one JSON object instead of text\n"
                "  --csv              print CSV: solution, average return, line deviation,\n"
                "                     row, name, weight; one line per share held\n"
                "  --least-risk       print the least-deviation portfolio, whatever its return\n"
                "  --frontier         print every breakpoint of the efficient frontier instead:\n"
                "                     from the least-deviation portfolio (or --min-return)\n"
                "                     to the best share\n"
                "  --plot PICTURE     with --frontier, also draw it into PICTURE (.png or .svg)\n")
    + kInputOptionsHelp
    + "  --help             show this help\n"
      "\n"
      "Exit status: 0 the command ran (solutions, \"No solution\" or \"No solution !\"),\n"
      "1 the input was rejected (its message on stderr), 2 the file cannot be read or\n"
      "the usage is wrong, 3 the optimizer stopped at its pivot limit, 4 a\n"
      "portfolio failed the check against its data (nothing wrong is printed). Text\n"
      "that breaks a rule gives 1, with its line and field on stderr.\n";

const char* const kSolveUsage = kSolveUsageText.c_str();

namespace {

bool EndsWithFolded(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size())
        return false;
    text.remove_prefix(text.size() - suffix.size());
    for (size_t i = 0; i < suffix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != suffix[i])
            return false;
    return true;
}

bool CheckModeOptions(const SolveOptions& options, std::string& error) {
    if (!options.frontier && !options.plot.empty()) {
        error = "--plot needs --frontier";
        return false;
    }
    if (options.leastRisk && (options.frontier || options.minReturn)) {
        error = "--least-risk takes neither --frontier nor --min-return";
        return false;
    }
    if (options.json && options.csv) {
        error = "--json and --csv exclude each other";
        return false;
    }
    if (!options.plot.empty() && PictureKindOf(options.plot) == PictureKind::None) {
        error = "--plot PICTURE must end in .png or .svg";
        return false;
    }
    return true;
}

}  // namespace

PictureKind PictureKindOf(std::string_view path) {
    if (EndsWithFolded(path, ".png"))
        return PictureKind::Png;
    if (EndsWithFolded(path, ".svg"))
        return PictureKind::Svg;
    return PictureKind::None;
}

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
        } else if (arg == "--frontier") {
            options.frontier = true;
        } else if (arg == "--least-risk") {
            options.leastRisk = true;
        } else if (arg == "--csv") {
            options.csv = true;
        } else if (arg == "--plot") {
            if (i + 1 == args.size()) {
                error = "--plot needs a PICTURE";
                return false;
            }
            options.plot = args[++i];
        } else if (std::string_view(arg).starts_with("--plot=")) {
            options.plot = arg.substr(std::string_view("--plot=").size());
        } else if (const OptionMatch match = ParseInputOption(args, i, options.input, error);
                   match != OptionMatch::NotMine) {
            if (match == OptionMatch::Failed)
                return false;
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    if (options.help)
        return true;
    if (!CheckModeOptions(options, error))
        return false;
    if (files.size() != 1) {
        error = files.empty() ? "no FILE given" : "more than one FILE given";
        return false;
    }
    options.file = files[0];
    return true;
}

}  // namespace korvel::cli
