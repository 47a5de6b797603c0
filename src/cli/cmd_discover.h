#pragma once

#include <string>
#include <vector>

#include "cli/cli.h"

namespace rvq::cli {

// rvqtool discover
int RunDiscover(CliEnv& env, const std::vector<std::string>& args);

}  // namespace rvq::cli
