#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace rvq::cli {

// One option a command accepts after its name.
struct OptionSpec {
    const char* name;  // with the leading dashes, e.g. "--type"
    bool takesValue;
};

// A command's own arguments: the positional ones in order and the options
// by name (flags hold an empty value).
struct CommandArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;

    bool Has(const std::string& name) const { return options.count(name) != 0; }
    std::optional<std::string> Value(const std::string& name) const;
};

// Splits `args` by the command's option table ("--name value" and
// "--name=value"; after "--" everything is positional). Returns an error
// text for an unknown option, a missing value or a value given to a flag.
[[nodiscard]] std::optional<std::string> ParseCommandArgs(const std::vector<std::string>& args,
                                                          std::span<const OptionSpec> specs,
                                                          CommandArgs& out);

// A whole decimal number with an optional sign, nothing else; nothing when
// the text is not one or does not fit an int.
std::optional<int> ParseWholeNumber(const std::string& text);

// A number option within [low, high]; `error` is set (and nothing returned)
// when the value is not a number or out of range. Nothing without error
// when the option was not given.
std::optional<int> NumberOption(const CommandArgs& args, const std::string& name, int low, int high,
                                std::string& error);

}  // namespace rvq::cli
