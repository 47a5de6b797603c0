// rvqtool send: a file goes to the printer unchanged.
#include "cli/cli.h"
#include "cli/job_run.h"
#include "core/comm/download_inputs.h"
#include "core/platform/file_io.h"

namespace rvq::cli {

int RunSend(CliEnv& env, const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError(env, "send takes one FILE");
    constexpr int kReadFailed = 1014;
    const auto bytes = ReadFileBytes(args[0]);
    if (!bytes) {
        env.interaction.Error(kReadFailed, env.context.strings.Get(kReadFailed));
        return kExitFailed;
    }
    auto buffer = std::make_shared<const ByteBuffer>(bytes->begin(), bytes->end());
    return RunPrinterJob(env, SendFileJobInputs(std::move(buffer), args[0]));
}

}  // namespace rvq::cli
