#pragma once

#include <memory>

#include "cli/cli.h"
#include "core/comm/job_inputs.h"

namespace rvq::cli {

// Runs a job kind through the job runner against the configured printer or
// the Multi-LAN list: the interface pre-check, the display lines as they
// come, a progress bar on a terminal, Ctrl-C to cancel (twice to quit at
// once), the job log file. Exit code 0 when every printer succeeded.
int RunPrinterJob(CliEnv& env, std::shared_ptr<JobInputs> inputs);

}  // namespace rvq::cli
