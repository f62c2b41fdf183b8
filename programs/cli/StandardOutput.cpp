#include "programs/cli/StandardOutput.h"

#include "programs/cli/SolveCommand.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace korvel::cli {

int FinishStandardOutput(const std::string& program, int status) {
    errno = 0;
    const bool streamFailed = !std::cout.flush();
    const bool fileFailed = std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    if (!streamFailed && !fileFailed)
        return status;
    const char* reason = errno != 0 ? std::strerror(errno) : "write error";
    std::cerr << program << ": standard output: " << reason << "\n";
    return kExitUnreadable;
}

}  // namespace korvel::cli
