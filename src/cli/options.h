#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/app/program_info.h"

namespace rvq::cli {

// The options of rvqtool that are not a command's own.
using GlobalOptionSpec = ProgramOption;
std::span<const GlobalOptionSpec> GlobalOptionSpecs();

struct ParsedCommandLine {
    GlobalOptions options;
    std::string command;
    std::vector<std::string> args;  // the command's own arguments and options
    std::string error;              // set when the line cannot be understood
    bool version = false;
};

// Global options may stand before or after the command; anything else
// after the command is the command's. "--" ends the options: what follows
// is the command (when none came yet) and its operands.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& argv);

// Whether the command line asks for --json, read on its own so that a line
// the parser refuses still gets its JSON document.
bool JsonRequested(const std::vector<std::string>& argv);

// Applies the global options over the loaded settings. Returns an error
// text for a value that cannot be used, or nothing.
std::optional<std::string> ApplyGlobalOptions(const GlobalOptions& options, AppContext& context);

}  // namespace rvq::cli
