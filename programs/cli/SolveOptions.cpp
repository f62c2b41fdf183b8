#include "programs/cli/SolveOptions.h"

#include "programs/cli/SolveCommand.h"

#include <cctype>
#include <ostream>
#include <string_view>

namespace korvel::cli {

// The risk measure, the best ratio and the weight bounds: korvel-solve's and
// korvel-backtest's alike.
void AppendMeasureOptions(OptionTable& table, SolveOptions& options) {
    OptionTable measures = {
        {"--risk", "", "MEASURE",
         "the risk to least: mad (the mean absolute deviation, the\n"
         "default), cvar[:ALPHA] (mean of the worst ALPHA of the periods'\n"
         "losses, 0.05 by default), downside[:TARGET] (mean shortfall\n"
         "below TARGET, 0 by default) or worst (the largest loss)",
         [&options](const std::string& value, std::string& error) {
             return ParseRiskMeasure(value, options.measure, error);
         }},
        Switch("--best-ratio",
               "print the portfolio with the highest (average return - RATE)\n"
               "per unit of risk, a breakpoint of the frontier",
               options.bestRatio),
        NumberOption("--risk-free", "RATE", "with --best-ratio, the return without risk (0 by default)",
                     options.riskFree),
        NumberOption("--min-weight", "X", "hold at least X (0 to 1) of every share", options.minWeight),
        NumberOption("--max-weight", "X", "hold at most X (0 to 1) of any share", options.maxWeight),
        Valued("--bounds", "FILE",
               "weight bounds from CSV lines \"name,min,max\"; an empty field\n"
               "or a share not listed keeps --min-weight/--max-weight",
               options.boundsFile),
    };
    table.insert(table.end(), measures.begin(), measures.end());
}

namespace {

// The table writes into the options it is made for; the usage text is made
// from a table of its own.
OptionTable SolveOptionTable(SolveOptions& options) {
    OptionTable table = {
        Switch("--json", "print one JSON object instead of text", options.json),
        Switch("--csv",
               "print CSV: solution, average return, line deviation,\n"
               "first and last date (when the text has dates),\n"
               "row, name, weight; one line per share held",
               options.csv),
        Switch("--wide", "with --csv, one line per solution and a weight column\nper share, in the file's order",
               options.wide),
        MinReturnOption(options.minReturn),
        Switch("--least-risk", "print the least-deviation portfolio, whatever its return", options.leastRisk),
        Switch("--frontier",
               "print every breakpoint of the efficient frontier instead:\n"
               "from the least-deviation portfolio (or --min-return)\n"
               "to the best share",
               options.frontier),
        Valued("--plot", "PICTURE", "with --frontier, also draw it into PICTURE (.png or .svg)", options.plot),
    };
    AppendMeasureOptions(table, options);
    AppendInputOptions(table, options.input);
    table.push_back(HelpOption(options.help));
    return table;
}

std::string SolveUsageText() {
    SolveOptions unused;
    return std::string(kSolveUsageLine)
           + "\n"
             "Loads a Korvel worksheet document, or share returns as delimited text (a\n"
             "FILE named .csv, .tsv or .txt; up to 20000 shares, 20000 periods and\n"
             "50000000 returns in all), runs the Go command's checks and the optimizer,\n"
             "answers Continue to every solution, and prints every solution the Single\n"
             "solution dialog would show, in order. Returns and the Min Return are in\n"
             "percent per period, also when they are made from --prices.\n"
             "\n"
           + OptionsHelp(SolveOptionTable(unused))
           + "\n"
             "Exit status: 0 the command ran (solutions, \"No solution\" or \"No solution !\"),\n"
             "1 the input was rejected (its message on stderr), 2 the file cannot be read or\n"
             "the usage is wrong, 3 the optimizer stopped at its pivot limit, 4 a\n"
             "portfolio failed the check against its data (nothing wrong is printed). Text\n"
             "that breaks a rule gives 1, with its line and field on stderr.\n";
}

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
    if (options.bestRatio && (options.frontier || options.leastRisk || options.minReturn)) {
        error = "--best-ratio takes neither --frontier, --least-risk nor --min-return";
        return false;
    }
    if (!options.bestRatio && options.riskFree != 0.0) {
        error = "--risk-free needs --best-ratio";
        return false;
    }
    if (options.leastRisk && (options.frontier || options.minReturn)) {
        error = "--least-risk takes neither --frontier nor --min-return";
        return false;
    }
    if (options.wide && !options.csv) {
        error = "--wide needs --csv";
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

const char* const kSolveUsageLine =
    "Usage: korvel-solve [--json|--csv [--wide]] [--min-return TEXT] [OPTION]... FILE\n"
    "       korvel-solve --least-risk [--json|--csv [--wide]] [OPTION]... FILE\n"
    "       korvel-solve --best-ratio [--risk-free RATE] [--json|--csv [--wide]] [OPTION]... FILE\n"
    "       korvel-solve --frontier [--json|--csv [--wide]] [--min-return TEXT] [--plot PICTURE]\n"
    "                           [OPTION]... FILE\n";

const std::string kSolveUsageText = SolveUsageText();
const char* const kSolveUsage = kSolveUsageText.c_str();

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
    if (!ParseArguments(args, SolveOptionTable(options), files, error))
        return false;
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

int ReportSolveUsageError(const std::string& error, std::ostream& err) {
    err << "korvel-solve: " << error << "\n" << kSolveUsageLine;
    return kExitUnreadable;
}

}  // namespace korvel::cli
