#pragma once

#include <string>
#include <vector>

#include "cli/cli.h"

namespace rvq::cli {

// rvqtool models
int RunModels(CliEnv& env, const std::vector<std::string>& args);

}  // namespace rvq::cli
