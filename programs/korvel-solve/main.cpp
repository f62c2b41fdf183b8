#include "core/location/ModuleLocation.h"
#include "programs/cli/SolveCommand.h"
#include "programs/cli/SolveOptions.h"
#include "programs/cli/StandardOutput.h"

#include <unistd.h>

#include <climits>
#include <iostream>

namespace {

// korvel-solve links no drawing library, so that it starts as fast as a
// solve; a picture is drawn by korvel-solve-plot, which runs the same command
// with a painter. It stands beside korvel-solve in a build tree and in the
// system folder once installed. Returns only when neither copy can be
// started; the command then says so.
std::string OwnFolder(const char* argv0) {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string folder = length > 0 ? std::string(self, static_cast<size_t>(length)) : std::string(argv0);
    const size_t slash = folder.rfind('/');
    return slash == std::string::npos ? std::string("./") : folder.substr(0, slash + 1);
}

void HandPictureToPlotProgram(char** argv) {
    const std::string own = OwnFolder(argv[0]);
    for (const std::string& folder : {own, korvel::SystemDirectory() + "/"}) {
        const std::string plotProgram = folder + "korvel-solve-plot";
        argv[0] = const_cast<char*>(plotProgram.c_str());
        execv(plotProgram.c_str(), argv);
    }
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
        HandPictureToPlotProgram(argv);
    return korvel::cli::FinishStandardOutput("korvel-solve",
                                             korvel::cli::RunSolveCommand(options, std::cout, std::cerr));
}
