#pragma once

#include <string>
#include <vector>

#include "cli/cli.h"

namespace rvq::cli {

//
int RunGetParams(CliEnv& env, const std::vector<std::string>& args);

// rvqtool set-params
int RunSetParams(CliEnv& env, const std::vector<std::string>& args);

}  // namespace rvq::cli
