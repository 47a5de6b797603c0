#pragma once

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace rvq {

// What an option's value is, for the help and the shell completion.
enum class OptionValue {
    None,      // a flag
    Optional,  // --usb or --usb=FILTER
    File,
    Model,
    Text,
};

// One option of a program as --help, the manual page and the completion
// show it; each program keeps a table of them.
struct ProgramOption {
    const char* name;       // "--model"
    const char* shortName;  // "-y", or empty
    const char* valueName;  // "NAME", or empty for a flag
    OptionValue value;
    const char* help;
};

// One option read off a command line.
struct OptionRead {
    const ProgramOption* option = nullptr;  // null: the word is none of the table's options
    std::optional<std::string> value;       // "--name value" or "--name=value"
    std::string error;                      // a value missing, or given to a flag
};

// Reads the option at args[at] by the table; `at` moves past a value taken
// from the next word.
OptionRead ReadOption(std::span<const ProgramOption> options, const std::vector<std::string>& args,
                      std::size_t& at);

// "--model NAME", "--usb[=FILTER]", "-y, --yes".
std::string OptionLabel(const ProgramOption& option);

// The options as --help lists them: label, then the help wrapped beside it.
void WriteOptionList(std::ostream& out, std::span<const ProgramOption> options);

// The version of all three programs, from the project.
const char* ProgramVersion();

// The first line of every program's --version: "rvqtool (R-VQ Setting Tool) 0.1.0".
std::string VersionLine(const std::string& program);

// The exit code of a mistake on the command line, in every program.
inline constexpr int kUsageExitCode = 2;

// The one wording of a mistake on a command line, in every program, one
// line on standard error: "PROGRAM: MESSAGE (see PROGRAM [TOPIC] --help)".
std::string UsageErrorText(const std::string& program, const std::string& message,
                           const std::string& helpTopic = {});

}  // namespace rvq
