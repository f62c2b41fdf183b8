#include "programs/cli/BacktestOptions.h"

#include "core/text/NumberText.h"
#include "programs/cli/SolveCommand.h"

#include <algorithm>
#include <charconv>
#include <ostream>

namespace korvel::cli {
namespace {

// Above this a rebalance could cost more than the whole portfolio.
constexpr double kMaxCostBps = 5000.0;
constexpr int32_t kMaxThreads = 1024;
constexpr int32_t kMaxParts = 100000;

bool ReadWhole(std::string_view text, int32_t& n) {
    const char* end = text.data() + text.size();
    const auto [stop, fault] = std::from_chars(text.data(), end, n);
    return fault == std::errc() && stop == end && !text.empty();
}

OptionSpec CountOption(std::string name, std::string help, int32_t& target, int32_t least, int32_t most) {
    return {name, "", "N", std::move(help), [name, &target, least, most](const std::string& value, std::string& error) {
                if (ReadWhole(value, target) && target >= least && target <= most)
                    return true;
                error = name + " takes a whole number from " + std::to_string(least) + " to " + std::to_string(most)
                        + ", not " + value;
                return false;
            }};
}

OptionSpec CostOption(double& cost) {
    return {"--cost", "", "BPS", "charge BPS basis points of every unit of wealth traded\nat a rebalance (default 0)",
            [&cost](const std::string& value, std::string& error) {
                if (text::ReadsAsWorksheetNumber(value, cost) && cost >= 0.0 && cost <= kMaxCostBps)
                    return true;
                error = "--cost takes basis points from 0 to 5000, not " + value;
                return false;
            }};
}

OptionSpec PartOption(BacktestOptions& options) {
    return {"--part", "", "I/N",
            "compute only the I-th of N equal slices of the rebalances\nand print it as a part file",
            [&options](const std::string& value, std::string& error) {
                const size_t slash = value.find('/');
                const std::string_view text(value);
                if (slash != std::string::npos && ReadWhole(text.substr(0, slash), options.part)
                    && ReadWhole(text.substr(slash + 1), options.parts) && options.parts >= 1
                    && options.parts <= kMaxParts && options.part >= 1 && options.part <= options.parts)
                    return true;
                error = "--part takes I/N with 1 <= I <= N <= " + std::to_string(kMaxParts) + ", not " + value;
                return false;
            }};
}

OptionSpec ScheduleOption(std::string name, std::string help, std::optional<int32_t>& target) {
    return {name, "", "N", std::move(help), [name, &target](const std::string& value, std::string& error) {
                int32_t n = 0;
                if (!ReadWhole(value, n)) {
                    error = name + " takes a whole number, not " + value;
                    return false;
                }
                target = n;
                return true;
            }};
}

bool LooksWhole(const std::string& value) {
    const size_t digits = value.starts_with('-') ? 1 : 0;
    return value.size() > digits && value.find_first_not_of("0123456789", digits) == std::string::npos;
}

// The price export's --every PERIOD stays: a whole number is the rebalances'
// spacing, a word the calendar period, and both may be given.
void ShareEvery(OptionTable& table, std::optional<int32_t>& every) {
    const auto found =
        std::find_if(table.begin(), table.end(), [](const OptionSpec& o) { return o.name == "--every"; });
    if (found == table.end())
        return;
    found->value = "K|PERIOD";
    found->help = "a whole number K: rebalance every K returns;\n" + found->help;
    auto calendar = found->take;
    found->take = [calendar, &every](const std::string& value, std::string& error) {
        if (!LooksWhole(value))
            return calendar(value, error);
        int32_t n = 0;
        if (!ReadWhole(value, n)) {
            error = "--every takes a whole number of returns, not " + value;
            return false;
        }
        every = n;
        return true;
    };
}

OptionTable BacktestOptionTable(BacktestOptions& options) {
    SolveOptions& solve = options.solve;
    OptionTable table = {
        ScheduleOption("--window", "estimate each portfolio on the N returns before its rebalance", options.window),
        MinReturnOption(solve.minReturn),
        Switch("--least-risk", "hold the least-risk portfolio, whatever its return", solve.leastRisk),
        CostOption(options.costBps),
        CountOption("--threads", "solve on N threads (default: one per core)", options.threads, 1, kMaxThreads),
        Switch("--json", "print one JSON object instead of text", solve.json),
        Switch("--csv", "print CSV: one line per period out of sample", solve.csv),
        Valued("--plot", "PICTURE", "also draw both wealth curves into PICTURE (.png or .svg)", solve.plot),
        PartOption(options),
        Switch("--merge", "join the part files given instead of FILE into the output\nof one run", options.merge),
    };
    AppendMeasureOptions(table, solve);
    AppendInputOptions(table, solve.input);
    ShareEvery(table, options.every);
    table.push_back(HelpOption(solve.help));
    return table;
}

std::string BacktestUsageText() {
    BacktestOptions unused;
    return std::string(kBacktestUsageLine)
           + "\n"
             "Re-optimises over a rolling window: after the first N returns, then every K\n"
             "returns, it solves the window of the N returns just before as korvel-solve\n"
             "solves them and holds that portfolio for the next K returns, its weights\n"
             "drifting with them; equal weights are rebalanced on the same dates. A window\n"
             "where no portfolio reaches the Min Return holds equal weights, and is counted.\n"
             "Prints, for both, the returns out of sample, the wealth, the average return,\n"
             "the mean absolute deviation, the worst period, the maximum drawdown and the\n"
             "average turnover, in percent. Input as korvel-solve reads it.\n"
             "\n"
           + OptionsHelp(BacktestOptionTable(unused))
           + "\n"
             "Exit status: 0 the backtest ran, 1 the input or the schedule was rejected (its\n"
             "message on stderr), 2 a file cannot be read or written or the usage is wrong,\n"
             "3 the optimizer stopped at its pivot limit, 4 a portfolio failed the check\n"
             "against its data.\n";
}

bool CheckBacktestModes(const BacktestOptions& options, const std::vector<std::string>& files, std::string& error) {
    const SolveOptions& solve = options.solve;
    if (solve.json && solve.csv)
        error = "--json and --csv exclude each other";
    else if (!solve.plot.empty() && PictureKindOf(solve.plot) == PictureKind::None)
        error = "--plot PICTURE must end in .png or .svg";
    else if (options.merge && files.empty())
        error = "--merge needs the part files";
    else if (options.merge && options.part)
        error = "--merge and --part exclude each other";
    else if (options.merge)
        return true;
    else if (options.part && (solve.json || solve.csv || !solve.plot.empty()))
        error = "--part prints a part file: --json, --csv and --plot go with --merge";
    else if (!options.window || !options.every)
        error = "--window N and --every K are needed";
    else if (solve.leastRisk && solve.minReturn)
        error = "--least-risk takes no --min-return";
    else if (solve.bestRatio && (solve.leastRisk || solve.minReturn))
        error = "--best-ratio takes neither --least-risk nor --min-return";
    else if (!solve.bestRatio && solve.riskFree != 0.0)
        error = "--risk-free needs --best-ratio";
    else if (files.size() != 1)
        error = files.empty() ? "no FILE given" : "more than one FILE given";
    return error.empty();
}

}  // namespace

const char* const kBacktestUsageLine =
    "Usage: korvel-backtest --window N --every K [--min-return TEXT|--least-risk|--best-ratio]\n"
    "                       [--cost BPS] [--json|--csv] [--plot PICTURE] [OPTION]... FILE\n"
    "       korvel-backtest --part I/N --window N --every K ... FILE > PART\n"
    "       korvel-backtest --merge [--json|--csv] [--plot PICTURE] PART...\n";

const std::string kBacktestUsageText = BacktestUsageText();
const char* const kBacktestUsage = kBacktestUsageText.c_str();

bool ParseBacktestArguments(const std::vector<std::string>& args, BacktestOptions& options, std::string& error) {
    options = BacktestOptions{};
    std::vector<std::string> files;
    if (!ParseArguments(args, BacktestOptionTable(options), files, error))
        return false;
    if (options.solve.help)
        return true;
    if (!CheckBacktestModes(options, files, error))
        return false;
    if (options.merge)
        options.partFiles = files;
    else
        options.solve.file = files[0];
    return true;
}

int ReportBacktestUsageError(const std::string& error, std::ostream& err) {
    err << "korvel-backtest: " << error << "\n" << kBacktestUsageLine;
    return kExitUnreadable;
}

}  // namespace korvel::cli
