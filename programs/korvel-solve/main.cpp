#include "core/location/ModuleLocation.h"
#include "programs/cli/PlotHandOff.h"
#include "programs/cli/SolveCommand.h"
#include "programs/cli/SolveOptions.h"
#include "programs/cli/StandardOutput.h"

#include <iostream>

namespace {

void HandPictureToPlotProgram(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc + 1);
    korvel::cli::ExecPlotProgram({korvel::cli::OwnFolder(argv[0]), korvel::SystemDirectory() + "/"}, args);
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    korvel::cli::SolveOptions options;
    std::string error;
    if (!korvel::cli::ParseSolveArguments(args, options, error))
        return korvel::cli::ReportSolveUsageError(error, std::cerr);
    if (!options.help && !options.plot.empty())
        HandPictureToPlotProgram(argc, argv);
    return korvel::cli::FinishStandardOutput("korvel-solve",
                                             korvel::cli::RunSolveCommand(options, std::cout, std::cerr));
}
