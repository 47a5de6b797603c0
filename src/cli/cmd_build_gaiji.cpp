#include <array>
#include <filesystem>
#include <ostream>

#include "cli/builder_output.h"
#include "cli/cmd_build_gaiji.h"
#include "cli/command_args.h"
#include "cli/model_source.h"
#include "cli/print_options.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/builders/gaiji_file.h"

namespace rvq::cli {

namespace {

constexpr std::array<OptionSpec, 11> kOptions{{
    {"--usb-memory", false},
    {"--type", true},
    {"--code", true},
    {"--left", true},
    {"--top", true},
    {"--spacing", true},
    {"--confirm", false},
    {"--magnification", true},
    {"--print-method", true},
    {"--label-width", true},
    {"--label-length", true},
}};
constexpr const char* kRecordOptions[] = {"--type", "--code", "--left", "--top", "--spacing"};
constexpr const char* kPrintOptions[] = {"--magnification", "--print-method", "--label-width",
                                         "--label-length"};

// Horizontal and vertical magnification in tenths, in list order.
constexpr std::array<std::pair<int, int>, 6> kMagnifications{
    {{5, 5}, {10, 10}, {20, 20}, {30, 30}, {10, 20}, {20, 10}}};

// "1x2", "0.5 x 0.5", "1.0x1.0": tenths, or -1.
int Tenths(const std::string& text) {
    const std::string t = Trim(text);
    const std::size_t dot = t.find('.');
    const auto whole = ParseWholeNumber(t.substr(0, dot));
    if (!whole || *whole < 0 || *whole > 9) return -1;
    if (dot == std::string::npos) return *whole * 10;
    const std::string fraction = t.substr(dot + 1);
    if (fraction.size() != 1 || fraction[0] < '0' || fraction[0] > '9') return -1;
    return *whole * 10 + (fraction[0] - '0');
}

std::optional<int> MagnificationItem(const std::string& text) {
    const auto parts = Split(ToUpperAscii(text), 'X');
    if (parts.size() != 2) return std::nullopt;
    const std::pair<int, int> wanted{Tenths(parts[0]), Tenths(parts[1])};
    for (std::size_t i = 0; i < kMagnifications.size(); ++i) {
        if (kMagnifications[i] == wanted) return static_cast<int>(i);
    }
    return std::nullopt;
}

std::optional<ConfirmationPrint> ConfirmationOptions(const CliEnv& env, const CommandArgs& args,
                                                     const PrinterModel& model,
                                                     std::string& error) {
    ConfirmationPrint print;
    print.modelName = model.name;
    if (auto text = args.Value("--magnification")) {
        const auto item = MagnificationItem(*text);
        if (!item) {
            error = "--magnification takes 0.5x0.5, 1x1, 2x2, 3x3, 1x2 or 2x1";
            return std::nullopt;
        }
        print.magnification = *item;
    }
    const auto method = PrintMethodOption(env, args, model, error);
    const auto size = LabelSizeOptions(args, model, error);
    if (!method || !size) return std::nullopt;
    print.method = *method;
    print.labelWidthMm = size->widthMm;
    print.labelLengthMm = size->lengthMm;
    return print;
}

// The one record of File mode: type, code, offsets and spacing from the
// options, checked as the page checks its fields.
std::optional<GaijiRecord> FileRecord(CliEnv& env, const CommandArgs& args, const std::string& path,
                                      const GaijiLimits& limits, GaijiLocation location,
                                      int& exitCode) {
    std::string error;
    GaijiRecord record;
    record.path = path;
    record.type = NumberOption(args, "--type", 1, 55, error).value_or(1);
    if (error.empty() && !IsGaijiTypeAllowed(record.type, location)) {
        error =
            Format("--type %d is not a character type for this location (1-44, 51%s)", record.type,
                   location == GaijiLocation::Usb ? ", 52-55" : "; 52-55 need --usb-memory");
    }
    const bool fixed = IsFixedSizeGaijiType(record.type);
    if (error.empty() && fixed &&
        (args.Has("--left") || args.Has("--top") || args.Has("--spacing"))) {
        error = "types 41-44 take no --left, --top or --spacing";
    }
    record.left = NumberOption(args, "--left", 0, limits.maxLeft, error).value_or(0);
    record.top = NumberOption(args, "--top", 0, limits.maxTop, error).value_or(0);
    const auto spacing = NumberOption(args, "--spacing", 0, limits.maxSpacing, error);
    if (!error.empty()) {
        exitCode = UsageError(env, error);
        return std::nullopt;
    }
    record.code = DefaultGaijiCode(record.type);
    if (auto code = args.Value("--code")) {
        const bool hex = !code->empty() && code->size() <= 4 &&
                         code->find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
        if (!hex) {
            exitCode =
                UsageError(env, "--code takes a hexadecimal character code such as 41 or 2020");
            return std::nullopt;
        }
        // Out of the type's range: the nearest valid code, as the page does.
        record.code = ReplaceGaijiCode(record.type, static_cast<int>(ParseLeadingHex(*code)));
    }
    const GaijiBitmapCheck check = CheckGaijiBitmap(path, record.type, limits, env.context.strings);
    if (!check.result) {
        exitCode = ReportBuildFailure(env, path, check.result.messageId, check.result.message);
        return std::nullopt;
    }
    record.width = check.bitmap.width;
    record.height = check.bitmap.height;
    record.spacing = spacing.value_or(fixed ? 0 : record.width);
    return record;
}

void PrintRecords(CliEnv& env, const std::vector<GaijiRecord>& records) {
    const std::string& sizeFormat = env.context.strings.Get(sid::kGaijiSizeFormat);
    for (const GaijiRecord& r : records) {
        env.out << std::filesystem::path(r.path).filename().string() << ": type "
                << Format("%02d", r.type) << ", code " << FormatGaijiCode(r.type, r.code) << ", "
                << FormatRuntime(sizeFormat, r.width, r.height) << ", left " << r.left << ", top "
                << r.top << ", spacing " << r.spacing << "\n";
    }
}

bool HasAny(const CommandArgs& args, std::span<const char* const> names) {
    for (const char* n : names) {
        if (args.Has(n)) return true;
    }
    return false;
}

}  // namespace

int RunBuildGaiji(CliEnv& env, const std::vector<std::string>& argv) {
    CommandArgs args;
    if (auto error = ParseCommandArgs(argv, kOptions, args)) return UsageError(env, *error);
    if (args.positional.size() != 2)
        return UsageError(env, "build-gaiji takes BMP_OR_DIR and OUT.GAI");
    const std::string& source = args.positional[0];
    std::error_code ec;
    const bool folderMode = std::filesystem::is_directory(source, ec);
    if (folderMode && (HasAny(args, kRecordOptions) || args.Has("--confirm"))) {
        return UsageError(env,
                          "a folder takes its values from the file names: no --type, --code, "
                          "--left, --top, --spacing or --confirm");
    }
    if (!args.Has("--confirm") && HasAny(args, kPrintOptions)) {
        return UsageError(env, "--magnification, --print-method and the label size need --confirm");
    }
    const auto model = LoadConfiguredModel(env);
    if (!model) return kExitUsage;

    GaijiFileJob job;
    job.location = args.Has("--usb-memory") ? GaijiLocation::Usb : GaijiLocation::Flash;
    job.gaijiWidth = model->gaijiWidth;
    job.codes = GaijiFileCodes(env.context.settings);
    job.outputPath = args.positional[1];
    const GaijiLimits limits = GaijiLimitsFor(job.location, job.gaijiWidth);
    if (folderMode) {
        GaijiFolderScan scan =
            ScanGaijiFolder(source, job.location, job.gaijiWidth, 0, env.context.strings);
        if (!scan.result) {
            return ReportBuildFailure(env, source, scan.result.messageId, scan.result.message);
        }
        job.records = std::move(scan.records);
    } else {
        int exitCode = kExitUsage;
        auto record = FileRecord(env, args, source, limits, job.location, exitCode);
        if (!record) return exitCode;
        job.records.push_back(std::move(*record));
    }
    if (args.Has("--confirm")) {
        std::string error;
        job.confirmation = ConfirmationOptions(env, args, *model, error);
        if (!job.confirmation) return UsageError(env, error);
    }
    PrintRecords(env, job.records);
    if (!MayReplace(env, job.outputPath)) return kExitFailed;
    const std::string printPath = ConfirmationPrintPath(job.outputPath);
    if (job.confirmation && !MayReplace(env, printPath)) return kExitFailed;
    const BuildResult result = CreateExternalCharacterFile(job, env.context.strings);
    if (!result) {
        return ReportBuildFailure(env, result.file.empty() ? source : result.file, result.messageId,
                                  result.message);
    }
    env.out << "wrote " << job.outputPath << "\n";
    if (job.confirmation) env.out << "wrote " << printPath << "\n";
    return kExitOk;
}

}  // namespace rvq::cli
