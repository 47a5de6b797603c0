// The maintenance and memory jobs: printer information, data logging,
// head check, counter and parameter clears, factory default, memory
// allocation and format, test print.
#include <algorithm>
#include <array>
#include <map>
#include <ostream>

#include "cli/cli.h"
#include "cli/cmd_maintenance.h"
#include "cli/command_args.h"
#include "cli/job_run.h"
#include "cli/json_writer.h"
#include "cli/model_source.h"
#include "cli/printer_reads_run.h"
#include "cli/run_json.h"
#include "cli/test_print_args.h"
#include "core/app/maintenance_lists.h"
#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "core/builders/test_print.h"
#include "core/comm/ops/maintenance_inputs.h"
#include "core/comm/ops/maintenance_operations.h"
#include "core/comm/ops/printer_reads.h"
#include "core/pages/maintenance_page.h"

namespace rvq::cli {

namespace {

bool MultiLan(const CliEnv& env) { return IsMultiLan(env.context.settings.interfaceName.kind()); }

// The maintenance page offers these for one printer only.
bool RefuseMultiLan(CliEnv& env, const char* command) {
    if (!MultiLan(env)) return false;
    UsageError(env, std::string(command) + " works with one printer, not a Multi-LAN list");
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
    for (const InfoRow& row : rows) {
        json.BeginObject().Key("item").String(row.item).Key("value").String(row.value);
        // Counters and sizes also as numbers, with the printer's unit.
        if (const auto number = ParseInfoNumber(row.value)) {
            json.Key("number").Number(number->number);
            json.Key("unit").String(number->unit);
        }
        json.EndObject();
    }
    json.EndArray();
}

// The three lists of the maintenance page for one printer.
struct InfoLists {
    std::vector<InfoRow> counters;
    std::vector<InfoRow> firmware;
    std::vector<InfoRow> parameters;
};

InfoLists ListsOf(const Document& document, std::size_t choice) {
    return {CounterRows(document), FirmwareRows(document), ParameterRows(document, choice)};
}

void PrintLists(std::ostream& out, const InfoLists& lists) {
    PrintRows(out, "Maintenance Counter Info:", lists.counters);
    PrintRows(out, "Firmware Info:", lists.firmware);
    PrintRows(out, "Parameter Info:", lists.parameters);
}

void JsonLists(JsonWriter& json, const InfoLists& lists) {
    JsonRows(json, "counters", lists.counters);
    JsonRows(json, "firmware", lists.firmware);
    JsonRows(json, "parameters", lists.parameters);
}

// One printer: the information job fills the program's document.
int InfoOfOne(CliEnv& env, std::size_t choice) {
    const int exit =
        RunPrinterJob(env, PrinterInfoJobInputs(static_cast<unsigned>(InfoSubKind::Refresh)));
    const InfoLists lists = exit == kExitOk ? ListsOf(env.document, choice) : InfoLists{};
    if (env.options.json) {
        JsonWriter json = DataFields(env);
        json.Key("section").String(kParameterListChoices[choice]);
        JsonLists(json, lists);
        json.Key("printers").BeginArray();
        for (const PrinterRecord& printer :
             env.runs.empty() ? std::vector<PrinterRecord>{} : env.runs.back().printers) {
            json.BeginObject();
            WritePrinterFields(json, printer);
            JsonLists(json, lists);
            json.EndObject();
        }
        json.EndArray();
    } else if (exit == kExitOk) {
        PrintLists(env.out, lists);
    }
    return exit;
}

// A Multi-LAN list: every chosen printer is read into a document of its
// own, five (or --parallel) at a time.
int InfoOfList(CliEnv& env, std::size_t choice) {
    PrinterReadRequest request;
    request.versions = true;
    request.settingsBlock = true;
    const PrinterReads reads =
        ReadPrinters(env, JobKind::PrinterInfo, [&](int) { return request; });
    const JobRunRecord& record = env.runs.back();
    std::map<int, InfoLists> lists;
    for (const auto& [index, result] : reads.results) {
        Document document;
        document.ParseVersionInfo(result.versionText);
        document.ParsePrinterInfo(result.settingsText);
        lists[index] = ListsOf(document, choice);
    }
    if (env.options.json) {
        JsonWriter json = DataFields(env);
        json.Key("section").String(kParameterListChoices[choice]);
        json.Key("printers").BeginArray();
        for (const PrinterRecord& printer : record.printers) {
            if (!printer.selected) continue;
            json.BeginObject();
            WritePrinterFields(json, printer);
            const auto it = lists.find(printer.index);
            JsonLists(json, it != lists.end() ? it->second : InfoLists{});
            json.EndObject();
        }
        json.EndArray();
        return reads.exitCode;
    }
    for (const PrinterRecord& printer : record.printers) {
        if (!printer.selected) continue;
        const std::string where = printer.interfaceName + " " + printer.address;
        const auto it = lists.find(printer.index);
        if (it == lists.end()) {
            env.out << where << ": not read: " << FailureLine(printer) << "\n";
            continue;
        }
        env.out << where << ":\n";
        PrintLists(env.out, it->second);
    }
    return reads.exitCode;
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
    return MultiLan(env) ? InfoOfList(env, choice) : InfoOfOne(env, choice);
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
    if (!Confirmed(env, sid::kConfirmHeadCheck)) return kExitFailed;
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
    if (!Confirmed(env, sid::kConfirmCounterClear)) return kExitFailed;
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
    if (!Confirmed(env, sid::kConfirmParameterClear)) return kExitFailed;
    return RunPrinterJob(env, ParameterClearJobInputs(*index));
}

int RunFactoryDefaultCommand(CliEnv& env, const std::vector<std::string>& args) {
    if (!args.empty()) return UsageError(env, "factory-default takes no arguments");
    if (RefuseMultiLan(env, "factory-default")) return kExitUsage;
    if (!Confirmed(env, sid::kConfirmFactoryDefault)) return kExitFailed;
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
    if (!Confirmed(env, sid::kConfirmAllocate)) return kExitFailed;
    return RunPrinterJob(
        env, MemoryAllocateJobInputs(static_cast<unsigned>(*font), static_cast<unsigned>(*bitmap),
                                     keepBasic ? std::nullopt : std::optional<unsigned>(*basic)));
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
    if (!Confirmed(env, sid::kConfirmFormat)) return kExitFailed;
    return RunPrinterJob(
        env, MemoryFormatJobInputs(static_cast<unsigned>(location), static_cast<unsigned>(area)));
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
