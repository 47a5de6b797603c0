#pragma once

#include <cstdint>

#include "cli/cli.h"

namespace rvq::cli {

// "rvqtool: cannot open COM3 at /dev/ttyS2: No such file or directory" on
// the error stream and, where it helps, one more line on how to get at
// the device.
void ReportOpenFailure(CliEnv& env, const Connection& connection, std::uint32_t error);

}  // namespace rvq::cli
