// Commands that run one printer job kind each.
#include "cli/cmd_printer_jobs.h"
#include "cli/cli.h"
#include "cli/job_run.h"
#include "core/app/string_ids.h"

namespace rvq::cli {

int RunRestoreOnline(CliEnv& env, const std::vector<std::string>& args) {
    bool restart = false;
    for (const auto& a : args) {
        if (a == "--restart")
            restart = true;
        else
            return UsageError(env, "restore-online: unknown argument '" + a + "'");
    }
    // This process did not put the printer into its setting mode; the
    // operator says whether the printer must restart for changes to apply.
    env.context.settingModeState =
        restart ? SettingModeState::AfterChange : SettingModeState::AfterRead;
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = JobKind::RestoreOnline;
    return RunPrinterJob(env, inputs);
}

int RunReset(CliEnv& env, const std::vector<std::string>& args) {
    if (!args.empty()) return UsageError(env, "reset takes no arguments");
    if (!env.interaction.Confirm(sid::kConfirmReset, env.context.strings.Get(sid::kConfirmReset)))
        return kExitFailed;
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = JobKind::PrinterReset;
    return RunPrinterJob(env, inputs);
}

}  // namespace rvq::cli
