#pragma once

#include <string>
#include <vector>

#include "cli/cli.h"

namespace rvq::cli {

// rvqtool backup
int RunBackup(CliEnv& env, const std::vector<std::string>& args);

// Backs up every printer of the run (one, or the Multi-LAN list) into
// `folder`: per printer a folder named after its address and the run's
// UTC time, holding params.TSI (every group ON; passwords and keys only
// with `includeSecrets`) and info.txt (the version and settings blocks, as
// save-info writes them). A printer's folder appears complete or not at
// all. Exit 0 when every printer was backed up.
int BackupPrinters(CliEnv& env, const std::string& folder, bool includeSecrets);

}  // namespace rvq::cli
