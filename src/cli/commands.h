#pragma once

#include <vector>

#include "cli/cli.h"

namespace rvq::cli {

// One command of rvqtool.
struct Command {
    const char* name;
    const char* summary;
    const char* usage;  // the text after "rvqtool NAME", with option lines
    int (*run)(CliEnv& env, const std::vector<std::string>& args);
    // The command talks to a printer or writes a file: a stored login
    // password is asked for first.
    bool asksLogin = true;
};

// The commands of rvqtool, in the order --help lists them.
const std::vector<Command>& Commands();

}  // namespace rvq::cli
