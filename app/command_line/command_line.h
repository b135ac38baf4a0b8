#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// One argument of a command line, as Vandrel's programs read theirs.
struct TCommandArgument {
    enum class TKind { Operand, Flag, Option };
    TKind Kind;
    std::string Name;  // "--help" for -h; empty for an operand
    std::string Value; // the operand, or the option's value
};

// Splits the arguments after the program name: options take their value as the next
// argument or after '='; "--" ends the options and "-" is an operand; "-h" is "--help".
// `flags` take no value, `options` one. Raises "unknown option '--x'" or "option '--x'
// needs a value".
std::vector<TCommandArgument> SplitCommandLine(std::span<const std::string> arguments,
                                               std::span<const std::string_view> flags,
                                               std::span<const std::string_view> options);
