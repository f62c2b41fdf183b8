#include "programs/cli/ConvertCommand.h"
#include "programs/cli/StandardOutput.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return korvel::cli::FinishStandardOutput("korvel-convert",
                                             korvel::cli::RunConvertCommand(args, std::cout, std::cerr));
}
