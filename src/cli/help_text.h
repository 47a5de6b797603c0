#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/options.h"

namespace rvq::cli {

// rvqtool --help: the commands and the global options, from their tables.
void WriteOverview(std::ostream& out);

// rvqtool COMMAND --help.
void WriteCommandHelp(std::ostream& out, const Command& command);

// Every "--option" a command's usage text names, in order, once each: the
// options the command takes besides the global ones.
std::vector<std::string> UsageOptions(const Command& command);

// The first argument that looks like an option (before any "--") and is
// neither a global option nor one the command's usage names; empty when
// there is none.
std::string UnknownCommandOption(const Command& command, const std::vector<std::string>& args);

// What the exit codes mean, one line each.
const char* ExitCodeText();

}  // namespace rvq::cli
