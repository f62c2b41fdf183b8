#include "cli/SolveCommand.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return korvel::cli::RunSolveCommand(args, std::cout, std::cerr);
}
