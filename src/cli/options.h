#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace rvq::cli {

struct ParsedCommandLine {
    GlobalOptions options;
    std::string command;
    std::vector<std::string> args;  // the command's own arguments and options
    std::string error;              // set when the line cannot be understood
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& argv);

// Applies the global options over the loaded settings. Returns an error
// text for a value that cannot be used, or nothing.
std::optional<std::string> ApplyGlobalOptions(const GlobalOptions& options, AppContext& context);

}  // namespace rvq::cli
