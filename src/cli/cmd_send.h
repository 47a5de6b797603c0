#pragma once

#include <string>
#include <vector>

#include "cli/cli.h"

namespace rvq::cli {

// rvqtool send
int RunSend(CliEnv& env, const std::vector<std::string>& args);

}  // namespace rvq::cli
