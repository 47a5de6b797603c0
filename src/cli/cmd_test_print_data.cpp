#include <algorithm>
#include <array>
#include <filesystem>
#include <ostream>

#include "cli/builder_output.h"
#include "cli/cmd_test_print_data.h"
#include "cli/command_args.h"
#include "cli/model_source.h"
#include "cli/test_print_args.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/builders/test_print.h"
#include "core/platform/file_io.h"

namespace rvq::cli {

int RunTestPrintData(CliEnv& env, const std::vector<std::string>& argv) {
    CommandArgs args;
    if (auto error = ParseCommandArgs(argv, TestPrintOptionSpecs(), args))
        return UsageError(env, *error);
    if (args.positional.size() != 1) return UsageError(env, "test-print-data takes one OUT file");
    int exitCode = kExitFailed;
    const auto built = BuildTestPrintFromArgs(env, args, exitCode);
    if (!built) return exitCode;
    const TestPrintBuild& build = built->build;
    const std::string& output = args.positional[0];
    if (!MayReplace(env, output)) return kExitFailed;
    const std::string bytes = build.data.setup + build.data.pattern + build.data.issue;
    if (const WriteResult written = WriteFileAtomically(output, bytes); !written)
        return ReportSaveFailure(env, output, written);
    env.out << Format("wrote %s (%zu bytes: setup %zu, pattern %zu, issue %zu) for %s\n",
                      output.c_str(), bytes.size(), build.data.setup.size(),
                      build.data.pattern.size(), build.data.issue.size(), built->modelName.c_str());
    return kExitOk;
}

}  // namespace rvq::cli
