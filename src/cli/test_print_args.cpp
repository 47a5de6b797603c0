#include "cli/test_print_args.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "cli/builder_output.h"
#include "cli/model_source.h"
#include "cli/print_options.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/platform/file_io.h"

namespace rvq::cli {

namespace {

constexpr std::array<OptionSpec, 11> kOptions{{
    {"--pattern", true},
    {"--pattern-file", true},
    {"--count", true},
    {"--speed", true},
    {"--sensor", true},
    {"--issue-mode", true},
    {"--print-method", true},
    {"--label-length", true},
    {"--label-width", true},
    {"--gap", true},
    {"--tone", true},
}};

constexpr std::array<std::pair<const char*, TestPattern>, 4> kPatterns{{
    {"slash1", TestPattern::SlantLines1},
    {"slash3", TestPattern::SlantLines3},
    {"chars", TestPattern::Characters},
    {"barcodes", TestPattern::Barcodes},
}};
constexpr const char* kSensors[] = {"none", "reflective", "transmissive", "preprinted",
                                    "reflective-manual"};
constexpr const char* kIssueModes[] = {"batch", "cut", "peel-off"};

// A choice given by its short name or its list text, in any case.
std::optional<int> Choice(const CliEnv& env, const std::string& text,
                          std::span<const char* const> names, int firstTextId) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (EqualsNoCase(text, names[i]) ||
            EqualsNoCase(text, env.context.strings.Get(firstTextId + static_cast<int>(i)))) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

std::string SpeedList(const std::vector<int>& speeds) {
    std::string out;
    for (int s : speeds) out += (out.empty() ? "" : ", ") + std::to_string(s);
    return out;
}

std::optional<std::string> ApplyChoices(const CliEnv& env, const CommandArgs& args,
                                        const PrinterModel& model, TestPrintOptions& o) {
    if (auto text = args.Value("--pattern")) {
        const auto* found = std::find_if(kPatterns.begin(), kPatterns.end(),
                                         [&](const auto& p) { return *text == p.first; });
        if (found == kPatterns.end()) return "--pattern takes slash1, slash3, chars or barcodes";
        o.pattern = found->second;
    }
    if (auto text = args.Value("--sensor")) {
        const auto sensor = Choice(env, *text, kSensors, sid::kFirstSensor);
        if (!sensor)
            return "--sensor takes none, reflective, transmissive, preprinted or reflective-manual";
        o.sensor = *sensor;
    }
    if (auto text = args.Value("--issue-mode")) {
        const auto mode = Choice(env, *text, kIssueModes, sid::kFirstIssueMode);
        if (!mode) return "--issue-mode takes batch, cut or peel-off";
        o.issueMode = static_cast<IssueMode>(*mode);
    }
    std::string error;
    if (auto method = PrintMethodOption(env, args, model, error)) o.method = *method;
    if (!error.empty()) return error;
    if (auto text = args.Value("--speed")) {
        const std::vector<int> speeds = TestPrintSpeeds(model.name);
        const auto speed = ParseWholeNumber(*text);
        if (!speed || std::find(speeds.begin(), speeds.end(), *speed) == speeds.end()) {
            return "--speed for " + model.name + " takes " + SpeedList(speeds) + " (inch/sec)";
        }
        o.speed = *speed;
    }
    return std::nullopt;
}

std::optional<std::string> ApplyNumbers(const CommandArgs& args, const PrinterModel& model,
                                        TestPrintOptions& o) {
    std::string error;
    o.issueCount = NumberOption(args, "--count", 1, 9999, error).value_or(o.issueCount);
    o.labelGapMm = NumberOption(args, "--gap", 0, 20, error).value_or(o.labelGapMm);
    o.tone = NumberOption(args, "--tone", -20, 10, error).value_or(o.tone);
    const auto size = LabelSizeOptions(args, model, error);
    if (!error.empty()) return error;
    o.labelWidthMm = size->widthMm;
    o.labelLengthMm = size->lengthMm;
    return std::nullopt;
}

// The six pattern file settings with their default names.
std::array<std::pair<std::string*, const char*>, 6> PatternPaths(ToolSettings& t) {
    return {{{&t.char200Path, "CHAR_200.DAT"},
             {&t.char300Path, "CHAR_300.DAT"},
             {&t.char600Path, "CHAR_600.DAT"},
             {&t.barcode200Path, "BARCODE_200.DAT"},
             {&t.barcode300Path, "BARCODE_300.DAT"},
             {&t.barcode600Path, "BARCODE_600.DAT"}}};
}

}  // namespace

std::span<const OptionSpec> TestPrintOptionSpecs() { return kOptions; }

std::optional<std::string> ApplyTestPrintArgs(const CliEnv& env, const CommandArgs& args,
                                              const PrinterModel& model, TestPrintOptions& options,
                                              ToolSettings& settings) {
    if (auto error = ApplyChoices(env, args, model, options)) return error;
    if (auto error = ApplyNumbers(args, model, options)) return error;
    if (auto file = args.Value("--pattern-file")) {
        if (options.pattern != TestPattern::Characters &&
            options.pattern != TestPattern::Barcodes) {
            return "--pattern-file goes with --pattern chars or barcodes";
        }
        for (const auto& entry : PatternPaths(settings)) *entry.first = *file;
    }
    return std::nullopt;
}

std::optional<TestPrintFromArgs> BuildTestPrintFromArgs(CliEnv& env, const CommandArgs& args,
                                                        int& exitCode) {
    const auto model = LoadConfiguredModel(env);
    if (!model) {
        exitCode = kExitUsage;
        return std::nullopt;
    }
    TestPrintOptions options = DefaultTestPrintOptions(*model);
    ToolSettings settings = env.context.settings;
    if (auto error = ApplyTestPrintArgs(env, args, *model, options, settings)) {
        exitCode = UsageError(env, *error);
        return std::nullopt;
    }
    TestPrintBuild build = BuildTestPrintData(options, *model, settings, env.context.strings);
    if (!build.result) {
        const std::string patternFile =
            PatternFilePath(options.pattern, model->resolution, settings);
        exitCode =
            ReportBuildFailure(env, patternFile, build.result.messageId, build.result.message);
        return std::nullopt;
    }
    return TestPrintFromArgs{std::move(build), model->name};
}

}  // namespace rvq::cli
