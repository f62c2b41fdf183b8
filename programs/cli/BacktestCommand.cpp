#include "programs/cli/BacktestCommand.h"

#include "core/files/FileRead.h"
#include "programs/cli/BacktestOptions.h"
#include "programs/cli/BacktestOutput.h"
#include "programs/cli/BacktestPicture.h"
#include "programs/cli/BacktestRun.h"
#include "programs/cli/CommandRun.h"
#include "programs/cli/SolveCommand.h"

#include <ostream>

namespace korvel::cli {
namespace {

constexpr const char* kProgram = "korvel-backtest";
// A part of ten years of daily returns of 20000 shares stays far below this.
constexpr uint64_t kMaxPartBytes = uint64_t{4} << 30;

int Print(const BacktestOptions& options, const backtest::Part& whole, std::ostream& out, std::ostream& err) {
    const BacktestResult result = Evaluate(whole);
    if (options.solve.json)
        out << FormatBacktestJson(result);
    else if (options.solve.csv)
        out << FormatBacktestCsv(result);
    else
        out << FormatBacktestText(result);
    if (result.unreached && (options.solve.json || options.solve.csv))
        err << kProgram << ": " << result.unreached << " of " << whole.rebalances.size()
            << " windows reached no portfolio of the Min Return and held equal weights\n";
    if (!options.solve.plot.empty() && !DrawWealth(result, options.solve.plot, err))
        return kExitUnreadable;
    return kExitRan;
}

int Merge(const BacktestOptions& options, std::ostream& out, std::ostream& err) {
    std::vector<backtest::Part> parts(options.partFiles.size());
    for (size_t k = 0; k < parts.size(); ++k) {
        const std::string& path = options.partFiles[k];
        std::vector<uint8_t> bytes;
        std::string error;
        if (!files::ReadFileBytes(path, kMaxPartBytes, bytes, error)) {
            err << kProgram << ": " << path << ": " << error << "\n";
            return kExitUnreadable;
        }
        const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (!backtest::ReadPart(text, parts[k], error)) {
            err << kProgram << ": " << path << ": " << error << "\n";
            return kExitRejected;
        }
    }
    backtest::Part whole;
    std::string error;
    if (!backtest::JoinParts(std::move(parts), whole, error)) {
        err << kProgram << ": " << error << "\n";
        return kExitRejected;
    }
    return Print(options, whole, out, err);
}

int Backtest(const BacktestOptions& options, std::ostream& out, std::ostream& err) {
    InputReturns input;
    text::TextDetails details;
    switch (LoadReturns(kProgram, options.solve.file, options.solve.input, text::kLargeLimits, input, details, err)) {
    case InputStatus::Rejected:
        return kExitRejected;
    case InputStatus::Unreadable:
        return kExitUnreadable;
    case InputStatus::Loaded:
        break;
    }
    backtest::Part part;
    if (const BacktestFailure failure = RunRebalances(options, input, details, part); failure.status) {
        err << kProgram << ": " << options.solve.file << ": " << failure.message << "\n";
        return failure.status;
    }
    if (options.part) {
        out << backtest::PartText(part);
        return kExitRan;
    }
    return Print(options, part, out, err);
}

}  // namespace

int RunBacktestCommand(const BacktestOptions& options, std::ostream& out, std::ostream& err) {
    return RunCommand(kProgram, options.solve.help, kBacktestUsage, out, err,
                      [&] { return options.merge ? Merge(options, out, err) : Backtest(options, out, err); });
}

int RunBacktestCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    BacktestOptions options;
    std::string error;
    if (!ParseBacktestArguments(args, options, error))
        return ReportBacktestUsageError(error, err);
    return RunBacktestCommand(options, out, err);
}

}  // namespace korvel::cli
