#include "app/command_line/command_line.h"

#include <algorithm>

#include "graph/core/error.h"

namespace {

bool Among(std::span<const std::string_view> names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::vector<TCommandArgument> SplitCommandLine(std::span<const std::string> arguments,
                                               std::span<const std::string_view> flags,
                                               std::span<const std::string_view> options)
{
    std::vector<TCommandArgument> split;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument == "-" || !argument.starts_with('-')) {
            split.push_back({TCommandArgument::TKind::Operand, {}, argument});
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h" || Among(flags, argument)) {
            split.push_back({TCommandArgument::TKind::Flag, argument == "-h" ? "--help" : argument, {}});
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        if (!Among(options, name))
            throw TVandrelError("unknown option '" + name + "'");
        if (equals == std::string::npos && i + 1 == arguments.size())
            throw TVandrelError("option '" + name + "' needs a value");
        split.push_back({TCommandArgument::TKind::Option, name,
                         equals != std::string::npos ? argument.substr(equals + 1) : arguments[++i]});
    }
    return split;
}
