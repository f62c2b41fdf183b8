#pragma once
// The options of a command as one table: the parser and the usage text are
// both made from it, so an option cannot be read without being documented.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korvel::cli {

struct OptionSpec {
    std::string name;       // "--min-return"
    std::string shortName;  // "-h", or empty
    std::string value;      // what follows it in the usage ("TEXT"); empty for a switch
    std::string help;       // one line per '\n', indented under the first
    // Takes the value ("" for a switch); false with a reason in error.
    std::function<bool(const std::string& value, std::string& error)> take;
};

using OptionTable = std::vector<OptionSpec>;

OptionSpec Switch(std::string name, std::string help, bool& flag);
// A switch that sets target to one of its values: --by-row, --by-column, ...
template <typename T>
OptionSpec Choice(std::string name, std::string help, T& target, T value) {
    return {std::move(name), "", "", std::move(help), [&target, value](const std::string&, std::string&) {
                target = value;
                return true;
            }};
}
// --help, also -h.
OptionSpec HelpOption(bool& help);
OptionSpec Valued(std::string name, std::string value, std::string help, std::string& target);
// A finite number, read as a worksheet cell is.
OptionSpec NumberOption(std::string name, std::string value, std::string help, double& target);
OptionSpec NumberOption(std::string name, std::string value, std::string help, std::optional<double>& target);

// Options may stand anywhere among the operands; "--" ends them and "-" is an
// operand. A value is the next argument whatever it looks like, so that
// "--min-return -1" works, or follows "=".
bool ParseArguments(const std::vector<std::string>& args, const OptionTable& table, std::vector<std::string>& operands,
                    std::string& error);

// The table as a usage text lists it: names, then the help at column 21.
std::string OptionsHelp(const OptionTable& table);

}  // namespace korvel::cli
