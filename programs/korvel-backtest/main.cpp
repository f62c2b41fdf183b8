#include "core/location/ModuleLocation.h"
#include "programs/cli/BacktestCommand.h"
#include "programs/cli/BacktestOptions.h"
#include "programs/cli/PlotHandOff.h"
#include "programs/cli/StandardOutput.h"

#include <iostream>

namespace {

// The wealth picture is drawn by korvel-solve-plot, which runs this command
// when its first argument is kBacktestMarker.
constexpr const char* kBacktestMarker = "--korvel-backtest";

void HandPictureToPlotProgram(int argc, char** argv)
{
    std::vector<char*> args{argv[0], const_cast<char*>(kBacktestMarker)};
    args.insert(args.end(), argv + 1, argv + argc + 1);
    korvel::cli::ExecPlotProgram({korvel::cli::OwnFolder(argv[0]), korvel::SystemDirectory() + "/"}, args);
}

}  // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    korvel::cli::BacktestOptions options;
    std::string error;
    if (!korvel::cli::ParseBacktestArguments(args, options, error))
        return korvel::cli::ReportBacktestUsageError(error, std::cerr);
    if (!options.solve.help && !options.solve.plot.empty())
        HandPictureToPlotProgram(argc, argv);
    return korvel::cli::FinishStandardOutput("korvel-backtest",
                                             korvel::cli::RunBacktestCommand(options, std::cout, std::cerr));
}
