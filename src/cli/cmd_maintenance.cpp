// The maintenance and memory jobs: printer information, data logging,
// head check, counter and parameter clears, factory default, memory
// allocation and format, test print.
#include <algorithm>
#include <array>
#include <ostream>

#include "cli/cli.h"
#include "cli/command_args.h"
#include "cli/job_run.h"
#include "cli/json_writer.h"
#include "cli/model_source.h"
#include "cli/test_print_args.h"
#include "core/app/maintenance_lists.h"
#include "core/app/text.h"
#include "core/builders/test_print.h"
#include "core/app/maintenance_page.h"
#include "core/comm/maintenance_inputs.h"
#include "core/comm/maintenance_operations.h"

namespace rvq::cli {

namespace {

constexpr int kConfirmHeadCheck = 420;
constexpr int kConfirmCounterClear = 421;
constexpr int kConfirmParameterClear = 422;
constexpr int kConfirmFactoryDefault = 424;
constexpr int kConfirmAllocate = 425;
constexpr int kConfirmFormat = 426;

bool MultiLan(const CliEnv& env) { return env.context.settings.interfaceName == "Multi LAN"; }

// The maintenance page offers these for one printer only.
bool RefuseMultiLan(CliEnv& env, const char* command) {
    if (!MultiLan(env)) return false;
    env.err << "rvqtool: " << command << " works with one printer, not a Multi-LAN list\n";
    return true;
}

bool Confirmed(CliEnv& env, int messageId) {
    return env.interaction.Confirm(messageId, env.context.strings.Get(messageId));
}

void PrintRows(std::ostream& out, const char* title, const std::vector<InfoRow>& rows) {
    std::size_t width = 4;
    for (const InfoRow& row : rows) width = std::max(width, row.item.size());
    out << title << "\n";
    for (const InfoRow& row : rows) {
        out << "  " << row.item << std::string(width - row.item.size() + 2, ' ') << row.value
            << "\n";
    }
}

void JsonRows(JsonWriter& json, const char* key, const std::vector<InfoRow>& rows) {
    json.Key(key).BeginArray();
    for (const InfoRow& row : rows)
        json.BeginObject().Key("item").String(row.item).Key("value").String(row.value).EndObject();
    json.EndArray();
}

}  // namespace

int RunInfo(CliEnv& env, const std::vector<std::string>& argv) {
    static constexpr std::array<OptionSpec, 1> kOptions{{{"--section", true}}};
    CommandArgs args;
    if (auto error = ParseCommandArgs(argv, kOptions, args)) return UsageError(env, *error);
    if (!args.positional.empty()) return UsageError(env, "info takes no positional arguments");
    std::size_t choice = 0;
    if (auto section = args.Value("--section")) {
        const auto found = ParameterListChoice(*section);
        if (!found)
            return UsageError(
                env,
                "--section takes ALL, ADJUST, PARAMETER SETTINGS, PANEL, STORAGE AREA, "
                "USB, RS-232C, CENTRO, LAN/WLAN, RFID or RTC");
        choice = *found;
    }
    if (RefuseMultiLan(env, "info")) return kExitUsage;
    // With --json the job's lines go to the error stream, so the output
    // stays one JSON document.
    CliEnv jobEnv{env.context, env.options,     env.options.json ? env.err : env.out,
                  env.err,     env.interaction, env.definitionsPath,
                  env.document};
    const int exit = RunPrinterJob(
        jobEnv, PrinterInfoJobInputs(static_cast<unsigned>(InfoSubKind::Refresh)));
    if (exit != kExitOk) return exit;
    const std::vector<InfoRow> counters = CounterRows(env.document);
    const std::vector<InfoRow> firmware = FirmwareRows(env.document);
    const std::vector<InfoRow> parameters = ParameterRows(env.document, choice);
    if (env.options.json) {
        JsonWriter json(env.out);
        json.BeginObject();
        JsonRows(json, "counters", counters);
        JsonRows(json, "firmware", firmware);
        json.Key("section").String(kParameterListChoices[choice]);
        JsonRows(json, "parameters", parameters);
        json.EndObject();
        env.out << "\n";
        return kExitOk;
    }
    PrintRows(env.out, "Maintenance Counter Info:", counters);
    PrintRows(env.out, "Firmware Info:", firmware);
    PrintRows(env.out, "Parameter Info:", parameters);
    return kExitOk;
}

int RunSaveInfo(CliEnv& env, const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError(env, "save-info takes one FILE.TXT");
    if (RefuseMultiLan(env, "save-info")) return kExitUsage;
    return RunPrinterJob(
        env, PrinterInfoJobInputs(static_cast<unsigned>(InfoSubKind::SavePrinterInfo), args[0]));
}

int RunDataLog(CliEnv& env, const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError(env, "data-log takes one FILE.LOG");
    if (RefuseMultiLan(env, "data-log")) return kExitUsage;
    return RunPrinterJob(
        env, PrinterInfoJobInputs(static_cast<unsigned>(InfoSubKind::DataLogging), args[0]));
}

int RunHeadCheckCommand(CliEnv& env, const std::vector<std::string>& args) {
    if (!args.empty()) return UsageError(env, "head-check takes no arguments");
    if (!Confirmed(env, kConfirmHeadCheck)) return kExitFailed;
    return RunPrinterJob(env, PlainJobInputs(JobKind::HeadCheck));
}

int RunCounterClearCommand(CliEnv& env, const std::vector<std::string>& args) {
    static constexpr std::array<std::pair<const char*, unsigned>, 4> kSelections{{
        {"all", kCounterSelectionAll},
        {"feed", kCounterSelectionFeed},
        {"print", kCounterSelectionPrint},
        {"cut", kCounterSelectionCut},
    }};
    const auto* found =
        args.size() == 1
            ? std::find_if(kSelections.begin(), kSelections.end(),
                           [&](const auto& s) { return EqualsNoCase(args[0], s.first); })
            : kSelections.end();
    if (found == kSelections.end())
        return UsageError(env, "counter-clear takes all, feed, print or cut");
    if (RefuseMultiLan(env, "counter-clear")) return kExitUsage;
    if (!Confirmed(env, kConfirmCounterClear)) return kExitFailed;
    return RunPrinterJob(env, CounterClearJobInputs(found->second));
}

int RunParamClear(CliEnv& env, const std::vector<std::string>& args) {
    if (args.size() != 1)
        return UsageError(env, "param-clear takes one destination code (JA, QM, QQ, QP, CN)");
    const auto index = DestinationClearIndex(env.context.strings, args[0]);
    if (!index)
        return UsageError(
            env, "param-clear: unknown destination '" + args[0] + "' (JA, QM, QQ, QP, CN)");
    const auto model = LoadConfiguredModel(env);
    if (!model) return kExitUsage;
    if (std::find(model->destinations.begin(), model->destinations.end(), args[0]) ==
        model->destinations.end())
        return UsageError(env, "param-clear: " + model->name + " has no destination " + args[0]);
    if (RefuseMultiLan(env, "param-clear")) return kExitUsage;
    if (!Confirmed(env, kConfirmParameterClear)) return kExitFailed;
    return RunPrinterJob(env, ParameterClearJobInputs(*index));
}

int RunFactoryDefaultCommand(CliEnv& env, const std::vector<std::string>& args) {
    if (!args.empty()) return UsageError(env, "factory-default takes no arguments");
    if (RefuseMultiLan(env, "factory-default")) return kExitUsage;
    if (!Confirmed(env, kConfirmFactoryDefault)) return kExitFailed;
    return RunPrinterJob(env, PlainJobInputs(JobKind::FactoryDefault));
}

int RunMemAlloc(CliEnv& env, const std::vector<std::string>& args) {
    if (args.size() != 3)
        return UsageError(env, "mem-alloc takes TTF BITMAP BASIC|nochange (blocks)");
    const auto model = LoadConfiguredModel(env);
    if (!model) return kExitUsage;
    const int most = std::min(model->maxBlock, 99);
    const auto block = [&](const std::string& text) -> std::optional<int> {
        const auto value = ParseWholeNumber(text);
        if (!value || *value < 0 || *value > most) return std::nullopt;
        return value;
    };
    const bool keepBasic = EqualsNoCase(args[2], "nochange");
    const auto font = block(args[0]);
    const auto bitmap = block(args[1]);
    const auto basic = keepBasic ? std::optional<int>(0) : block(args[2]);
    if (!font || !bitmap || !basic)
        return UsageError(env,
                          "mem-alloc: each area takes 0 to " + std::to_string(most) + " blocks");
    if (!keepBasic && *font + *bitmap + *basic > model->maxBlock)
        return UsageError(env, "mem-alloc: the areas take more than the " +
                                   std::to_string(model->maxBlock) + " blocks the printer has");
    if (!Confirmed(env, kConfirmAllocate)) return kExitFailed;
    return RunPrinterJob(
        env, MemoryAllocateJobInputs(static_cast<unsigned>(*font), static_cast<unsigned>(*bitmap),
                                     keepBasic ? std::nullopt
                                               : std::optional<unsigned>(*basic)));
}

int RunMemFormat(CliEnv& env, const std::vector<std::string>& args) {
    static constexpr std::array<const char*, 2> kLocations{"flash", "usb"};
    static constexpr std::array<const char*, 3> kAreas{"pcsave+bitmap", "pcsave", "bitmap"};
    const auto position = [](const auto& names, const std::string& text) -> int {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (EqualsNoCase(text, names[i])) return static_cast<int>(i);
        }
        return -1;
    };
    const int location = args.size() == 2 ? position(kLocations, args[0]) : -1;
    const int area = args.size() == 2 ? position(kAreas, args[1]) : -1;
    if (location < 0 || area < 0)
        return UsageError(env, "mem-format takes flash|usb pcsave+bitmap|pcsave|bitmap");
    if (!Confirmed(env, kConfirmFormat)) return kExitFailed;
    return RunPrinterJob(env, MemoryFormatJobInputs(static_cast<unsigned>(location),
                                                    static_cast<unsigned>(area)));
}

int RunTestPrintCommand(CliEnv& env, const std::vector<std::string>& argv) {
    CommandArgs args;
    if (auto error = ParseCommandArgs(argv, TestPrintOptionSpecs(), args))
        return UsageError(env, *error);
    if (!args.positional.empty()) return UsageError(env, "test-print takes options only");
    int exitCode = kExitFailed;
    const auto built = BuildTestPrintFromArgs(env, args, exitCode);
    if (!built) return exitCode;
    return RunPrinterJob(env, TestPrintJobInputs(built->build.data));
}

}  // namespace rvq::cli
