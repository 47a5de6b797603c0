// rvqtool basic: the BASIC download page's steps, then the job.
#include <array>
#include <memory>
#include <ostream>

#include "cli/builder_output.h"
#include "cli/cli.h"
#include "cli/cmd_basic_download.h"
#include "cli/command_args.h"
#include "cli/input_files.h"
#include "cli/job_run.h"
#include "cli/model_source.h"
#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "core/builders/basic_encoder.h"
#include "core/builders/basic_error_message.h"
#include "core/comm/ops/basic_download.h"
#include "core/comm/ops/download_inputs.h"
#include "core/platform/file_io.h"

namespace rvq::cli {

namespace {

constexpr std::array<OptionSpec, 9> kOptions{{{"--alloc", true},
                                              {"--main", true},
                                              {"--main-start", true},
                                              {"--system", true},
                                              {"--system-start", true},
                                              {"--data", true},
                                              {"--data-start", true},
                                              {"--basic-mode", true},
                                              {"--test-file", true}}};

// "TTF,BITMAP,BASIC" or "TTF,BITMAP,nochange", each within the model's blocks.
std::optional<std::string> ParseAllocation(const std::string& text, int maxBlock,
                                           BasicJobParts& parts) {
    const std::vector<std::string> fields = Split(text, ',');
    if (fields.size() != 3)
        return std::string("--alloc takes TTF,BITMAP,BASIC or TTF,BITMAP,nochange");
    const bool keep = fields[2] == "nochange";
    std::array<int, 3> blocks{};
    for (std::size_t i = 0; i < (keep ? 2u : 3u); ++i) {
        const auto n = ParseWholeNumber(fields[i]);
        if (!n || *n < 0 || *n > maxBlock) {
            return "--alloc: '" + fields[i] + "' is not a block count from 0 to " +
                   std::to_string(maxBlock);
        }
        blocks[i] = *n;
    }
    // The three areas share the flash; more than it holds leaves a negative PC save area.
    if (blocks[0] + blocks[1] + blocks[2] > maxBlock) {
        return "--alloc: the areas take more than the model's " + std::to_string(maxBlock) +
               " blocks";
    }
    parts.allocate = true;
    parts.allocation = {static_cast<std::uint32_t>(blocks[0]),
                        static_cast<std::uint32_t>(blocks[1]),
                        static_cast<std::uint32_t>(blocks[2]), keep};
    return std::nullopt;
}

// One of the three BASIC files: encoded at once, with its starting block.
struct BasicFileStep {
    const char* option;
    const char* startOption;
    int mode;  // 1 main program, 0 system mode program, -1 data file
    int defaultStart;
};

int EncodeStep(CliEnv& env, const CommandArgs& args, const BasicFileStep& step, int maxBlock,
               BasicEncoder& encoder) {
    const auto path = args.Value(step.option);
    if (!path) {
        if (args.Has(step.startOption)) {
            return UsageError(env, std::string(step.startOption) + " goes with " + step.option);
        }
        return kExitOk;
    }
    std::string error;
    const int start =
        NumberOption(args, step.startOption, 0, maxBlock - 1, error).value_or(step.defaultStart);
    if (!error.empty()) return UsageError(env, error);
    const bool encoded = step.mode < 0 ? encoder.EncodeBasicDataFile(*path)
                                       : encoder.EncodeBasicProgram(*path, step.mode);
    if (!encoded) {
        // The same message as encode-basic and the BASIC page give.
        const EncoderMessage message =
            EncoderErrorMessage(env.context.strings, encoder.ErrorText());
        return ReportBuildFailure(env, *path, message.messageId, message.text);
    }
    if (!encoder.SetBlockLoadCommand(start)) {
        return UsageError(env, std::string(step.startOption) + ": block " + std::to_string(start) +
                                   " cannot be sent");
    }
    return kExitOk;
}

int ReadTestFile(CliEnv& env, const std::string& path, BasicJobParts& parts) {
    if (!CheckInputFile(env, path, sid::kMsgReadFailed)) return kExitFailed;
    const auto bytes = ReadFileBytes(path);
    if (!bytes) {
        FileNamingInteraction(env.interaction, path)
            .Error(sid::kMsgReadFailed, env.context.strings.Get(sid::kMsgReadFailed));
        return kExitFailed;
    }
    if (bytes->empty()) return UsageError(env, "--test-file: the file is empty");
    parts.testFile = std::make_shared<const ByteBuffer>(bytes->begin(), bytes->end());
    parts.testFilePath = path;
    return kExitOk;
}

}  // namespace

int RunBasic(CliEnv& env, const std::vector<std::string>& argv) {
    CommandArgs args;
    if (auto error = ParseCommandArgs(argv, kOptions, args)) return UsageError(env, *error);
    if (!args.positional.empty()) return UsageError(env, "basic takes options only");
    const auto model = LoadConfiguredModel(env);
    if (!model) return kExitUsage;
    const int maxBlock = model->maxBlock;

    BasicJobParts parts;
    if (const auto alloc = args.Value("--alloc")) {
        if (auto error = ParseAllocation(*alloc, maxBlock, parts)) return UsageError(env, *error);
    }
    const Strings& strings = env.context.strings;
    const ControlCodes& codes = env.context.settings.controlCodes;
    const bool japanese = env.context.isJapanese;
    BasicEncoder mainProgram(strings, codes, japanese);
    BasicEncoder systemProgram(strings, codes, japanese);
    BasicEncoder dataFile(strings, codes, japanese);
    const BasicFileStep steps[] = {{"--main", "--main-start", 1, model->mainStartBlock},
                                   {"--system", "--system-start", 0, model->systemStartBlock},
                                   {"--data", "--data-start", -1, model->dataStartBlock}};
    BasicEncoder* encoders[] = {&mainProgram, &systemProgram, &dataFile};
    for (std::size_t i = 0; i < 3; ++i) {
        if (const int code = EncodeStep(env, args, steps[i], maxBlock, *encoders[i]);
            code != kExitOk)
            return code;
    }
    parts.mainProgram = &mainProgram;
    parts.systemProgram = &systemProgram;
    parts.dataFile = &dataFile;
    if (const auto mode = args.Value("--basic-mode")) {
        if (*mode != "on" && *mode != "off") return UsageError(env, "--basic-mode takes on or off");
        parts.basicMode = *mode == "on" ? kBasicModeOn : kBasicModeOff;
    }
    if (const auto test = args.Value("--test-file")) {
        if (const int code = ReadTestFile(env, *test, parts); code != kExitOk) return code;
    }
    const bool anyStep = parts.allocate || parts.basicMode != 0 || parts.testFile ||
                         mainProgram.HasBuffer() || systemProgram.HasBuffer() ||
                         dataFile.HasBuffer();
    if (!anyStep)
        return UsageError(env, "basic: nothing to send (give --alloc, --main, --system or --data)");
    if (!env.interaction.Confirm(sid::kConfirmBasicDownload,
                                 strings.Get(sid::kConfirmBasicDownload)))
        return kExitFailed;
    return RunPrinterJob(env, BasicJobInputs(parts));
}

}  // namespace rvq::cli
