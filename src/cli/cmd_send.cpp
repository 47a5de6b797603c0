// rvqtool send: a file goes to the printer unchanged.
#include "cli/cmd_send.h"
#include "cli/cli.h"
#include "cli/input_files.h"
#include "cli/job_run.h"
#include "core/comm/ops/download_inputs.h"

namespace rvq::cli {

int RunSend(CliEnv& env, const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError(env, "send takes one FILE");
    if (!CheckInputFile(env, args[0])) return kExitFailed;
    // The job reads the file as it sends it: no size is too large.
    return RunPrinterJob(env, SendFileJobInputs(args[0]));
}

}  // namespace rvq::cli
