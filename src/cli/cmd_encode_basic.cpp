#include <array>
#include <filesystem>
#include <ostream>

#include "cli/builder_output.h"
#include "cli/cmd_encode_basic.h"
#include "cli/command_args.h"
#include "core/builders/basic_file_encode.h"

namespace rvq::cli {

namespace {
constexpr std::array<OptionSpec, 2> kOptions{{{"--system", false}, {"--data", false}}};
constexpr std::uintmax_t kBlockBytes = 128 * 1024;
}  // namespace

int RunEncodeBasic(CliEnv& env, const std::vector<std::string>& argv) {
    CommandArgs args;
    if (auto error = ParseCommandArgs(argv, kOptions, args)) return UsageError(env, *error);
    if (args.positional.size() != 2) return UsageError(env, "encode-basic takes SRC.BAS and OUT");
    if (args.Has("--system") && args.Has("--data")) {
        return UsageError(env, "choose one of --system and --data");
    }
    const BasicOutputKind kind = args.Has("--system") ? BasicOutputKind::SystemProgram
                                 : args.Has("--data") ? BasicOutputKind::DataFile
                                                      : BasicOutputKind::MainProgram;
    const std::string& source = args.positional[0];
    const std::string& output = args.positional[1];
    if (!MayReplace(env, output)) return kExitFailed;
    const EncodeFileResult result =
        EncodeBasicFile(env.context.strings, source, output, kind, env.context.isJapanese);
    if (!result) {
        return ReportBuildFailure(env, result.file.empty() ? source : result.file, result.messageId,
                                  result.text);
    }
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(output, ec);
    env.out << "wrote " << output << " (" << size << " bytes, " << size / kBlockBytes
            << " blocks of 128 KB)\n";
    return kExitOk;
}

}  // namespace rvq::cli
