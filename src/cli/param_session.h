#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/comm/job/job_inputs.h"
#include "core/params/group_checks.h"
#include "core/params/pending_changes.h"
#include "core/params/send_state.h"
#include "core/params/settings_transfer.h"

namespace rvq::cli {

// Loads the configured model into the program's document (the parameter
// jobs read and write its items). On failure prints one line and returns
// false (the caller exits with kExitUsage).
[[nodiscard]] bool LoadParamDocument(CliEnv& env);

// The checks' view of the run: rvqtool has no service mode.
params::GroupCheckContext CheckContext(const CliEnv& env);
params::SettingsFileEnv FileEnv(const CliEnv& env);
// What a set of this run leaves out (service items, per-printer items of a
// Multi-LAN run), for comparing with what the printers hold.
params::SendContext SendContextOf(const CliEnv& env);

// "all" or group names separated by commas, each a group of the model.
// Returns an error text for a name the model does not have, or empty.
std::string ParseGroupList(const std::string& list, const PrinterModel& model,
                           params::GroupTicks& ticks);

// Runs a parameter job, reopening after a restart with `reconnect` when given.
int RunParamJob(CliEnv& env, const std::shared_ptr<JobInputs>& inputs,
                const std::string& reconnect = {});

// After a successful set: the tool's settings take the pending changes and
// the model the settings file named, and VQTool.INI is saved, but only
// when the printer set is the one VQTool.INI describes; a printer given
// on the command line leaves the file alone and the new connection is
// printed instead.
int SaveAfterSet(CliEnv& env, params::PendingChanges& pending, bool modelChanged);

}  // namespace rvq::cli
