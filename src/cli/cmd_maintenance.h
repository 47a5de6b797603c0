#pragma once

#include <string>
#include <vector>

#include "cli/cli.h"

namespace rvq::cli {

// rvqtool info
int RunInfo(CliEnv& env, const std::vector<std::string>& args);

// rvqtool save-info
int RunSaveInfo(CliEnv& env, const std::vector<std::string>& args);

// rvqtool data-log
int RunDataLog(CliEnv& env, const std::vector<std::string>& args);

// rvqtool head-check
int RunHeadCheckCommand(CliEnv& env, const std::vector<std::string>& args);

// rvqtool counter-clear
int RunCounterClearCommand(CliEnv& env, const std::vector<std::string>& args);

// rvqtool param-clear
int RunParamClear(CliEnv& env, const std::vector<std::string>& args);

// rvqtool factory-default
int RunFactoryDefaultCommand(CliEnv& env, const std::vector<std::string>& args);

// rvqtool mem-alloc
int RunMemAlloc(CliEnv& env, const std::vector<std::string>& args);

// rvqtool mem-format
int RunMemFormat(CliEnv& env, const std::vector<std::string>& args);

// rvqtool test-print
int RunTestPrintCommand(CliEnv& env, const std::vector<std::string>& args);

}  // namespace rvq::cli
