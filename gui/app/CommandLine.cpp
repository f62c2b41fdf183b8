#include "gui/app/CommandLine.h"

namespace korvel {

CommandLineRequest ParseCommandLine(const std::vector<std::string>& args)
{
    if (args.size() == 1 && !args.front().empty() && args.front().front() != '-')
        return {CommandLineRequest::FileOpen, args.front()};
    return {};
}

}  // namespace korvel
