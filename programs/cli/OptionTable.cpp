#include "programs/cli/OptionTable.h"

#include "core/text/NumberText.h"

#include <algorithm>

namespace korvel::cli {

OptionSpec Switch(std::string name, std::string help, bool& flag) {
    return {std::move(name), "", "", std::move(help), [&flag](const std::string&, std::string&) {
                flag = true;
                return true;
            }};
}

OptionSpec HelpOption(bool& help) {
    OptionSpec option = Switch("--help", "show this help", help);
    option.shortName = "-h";
    return option;
}

OptionSpec Valued(std::string name, std::string value, std::string help, std::string& target) {
    return {std::move(name), "", std::move(value), std::move(help), [&target](const std::string& text, std::string&) {
                target = text;
                return true;
            }};
}

namespace {

bool ReadNumber(const std::string& option, const std::string& text, double& value, std::string& error) {
    if (text::ReadsAsWorksheetNumber(text, value))
        return true;
    error = option + " takes a number, not " + text;
    return false;
}

}  // namespace

OptionSpec NumberOption(std::string name, std::string value, std::string help, double& target) {
    return {name, "", std::move(value), std::move(help), [&target, name](const std::string& text, std::string& error) {
                return ReadNumber(name, text, target, error);
            }};
}

OptionSpec NumberOption(std::string name, std::string value, std::string help, std::optional<double>& target) {
    return {name, "", std::move(value), std::move(help), [&target, name](const std::string& text, std::string& error) {
                double number = 0.0;
                if (!ReadNumber(name, text, number, error))
                    return false;
                target = number;
                return true;
            }};
}

namespace {

const OptionSpec* FindOption(const OptionTable& table, const std::string& name) {
    const auto found = std::find_if(table.begin(), table.end(), [&](const OptionSpec& option) {
        return option.name == name || (!option.shortName.empty() && option.shortName == name);
    });
    return found == table.end() ? nullptr : &*found;
}

bool TakeOption(const std::vector<std::string>& args, size_t& i, const OptionTable& table, std::string& error) {
    const std::string& arg = args[i];
    const size_t equals = arg.starts_with("--") ? arg.find('=') : std::string::npos;
    const std::string name = arg.substr(0, equals);
    const OptionSpec* option = FindOption(table, name);
    if (option == nullptr) {
        error = "unknown option " + arg;
        return false;
    }
    if (option->value.empty()) {
        if (equals != std::string::npos) {
            error = name + " takes no value";
            return false;
        }
        return option->take("", error);
    }
    if (equals != std::string::npos)
        return option->take(arg.substr(equals + 1), error);
    if (i + 1 == args.size()) {
        error = name + " needs a " + option->value;
        return false;
    }
    return option->take(args[++i], error);
}

}  // namespace

bool ParseArguments(const std::vector<std::string>& args, const OptionTable& table, std::vector<std::string>& operands,
                    std::string& error) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-")
            operands.push_back(arg);
        else if (arg == "--")
            optionsEnded = true;
        else if (!TakeOption(args, i, table, error))
            return false;
    }
    return true;
}

std::string OptionsHelp(const OptionTable& table) {
    constexpr size_t kHelpColumn = 21;
    const std::string indent(kHelpColumn, ' ');
    std::string text;
    for (const OptionSpec& option : table) {
        std::string names = "  " + (option.shortName.empty() ? "" : option.shortName + ", ") + option.name;
        if (!option.value.empty())
            names += " " + option.value;
        text += names.size() + 2 <= kHelpColumn ? names + std::string(kHelpColumn - names.size(), ' ')
                                                : names + "\n" + indent;
        for (const char c : option.help)
            text += c == '\n' ? "\n" + indent : std::string(1, c);
        text += '\n';
    }
    return text;
}

}  // namespace korvel::cli
