#include "core/location/ModuleLocation.h"
#include "programs/cli/BacktestCommand.h"
#include "programs/cli/BacktestOptions.h"
#include "programs/cli/StandardOutput.h"

#include <unistd.h>

#include <climits>
#include <iostream>

namespace {

// Like korvel-solve, korvel-backtest links no drawing library: the wealth
// picture is drawn by korvel-solve-plot, which runs the same command with a
// painter when its first argument is kBacktestMarker. It stands beside
// korvel-backtest in a build tree and in the system folder once installed.
constexpr const char* kBacktestMarker = "--korvel-backtest";

std::string OwnFolder(const char* argv0)
{
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string folder = length > 0 ? std::string(self, static_cast<size_t>(length)) : std::string(argv0);
    const size_t slash = folder.rfind('/');
    return slash == std::string::npos ? std::string("./") : folder.substr(0, slash + 1);
}

void HandPictureToPlotProgram(int argc, char** argv)
{
    std::vector<char*> args{nullptr, const_cast<char*>(kBacktestMarker)};
    args.insert(args.end(), argv + 1, argv + argc);
    args.push_back(nullptr);
    for (const std::string& folder : {OwnFolder(argv[0]), korvel::SystemDirectory() + "/"}) {
        const std::string plotProgram = folder + "korvel-solve-plot";
        args[0] = const_cast<char*>(plotProgram.c_str());
        execv(plotProgram.c_str(), args.data());
    }
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
