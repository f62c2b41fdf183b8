#include "programs/cli/PlotHandOff.h"

#include <unistd.h>

#include <climits>

namespace korvel::cli {

std::string OwnFolder(const char* argv0) {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string folder = length > 0 ? std::string(self, static_cast<size_t>(length)) : std::string(argv0);
    const size_t slash = folder.rfind('/');
    return slash == std::string::npos ? std::string("./") : folder.substr(0, slash + 1);
}

void ExecPlotProgram(const std::vector<std::string>& folders, std::vector<char*> args) {
    for (const std::string& folder : folders) {
        const std::string plotProgram = folder + "korvel-solve-plot";
        args[0] = const_cast<char*>(plotProgram.c_str());
        execv(plotProgram.c_str(), args.data());
    }
}

}  // namespace korvel::cli
