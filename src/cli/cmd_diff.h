#pragma once

#include <string>
#include <vector>

#include "cli/cli.h"

namespace rvq::cli {

// rvqtool diff
int RunDiff(CliEnv& env, const std::vector<std::string>& args);

// diff FILE.TSI and set-params FILE.TSI --dry-run: reads the groups the file
// turns ON from every printer and shows what a set would change. Exit 0
// when nothing would, kExitWouldChange when something would.
int RunParamDiff(CliEnv& env, const std::string& path);

}  // namespace rvq::cli
