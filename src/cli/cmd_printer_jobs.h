#pragma once

#include <string>
#include <vector>

#include "cli/cli.h"

namespace rvq::cli {

// rvqtool restore-online
int RunRestoreOnline(CliEnv& env, const std::vector<std::string>& args);

// rvqtool reset
int RunReset(CliEnv& env, const std::vector<std::string>& args);

}  // namespace rvq::cli
