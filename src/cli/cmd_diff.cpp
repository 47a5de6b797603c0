// diff and set-params --dry-run: what a settings file would change on each
// printer, read from the printers and compared, with nothing written.
#include <mutex>
#include <ostream>

#include "cli/cli.h"
#include "cli/json_writer.h"
#include "cli/param_session.h"
#include "cli/printer_reads_run.h"
#include "cli/run_json.h"
#include "cli/text_table.h"
#include "core/comm/param_exchange.h"
#include "core/params/group_ticks.h"
#include "core/params/param_diff.h"
#include "core/params/settings_file.h"

namespace rvq::cli {

namespace {

struct PrinterDiff {
    const PrinterRecord* printer = nullptr;
    bool read = false;
    std::vector<params::ItemDiff> items;
    int changed = 0;
};

std::string GroupNames(const PrinterModel& model, const std::vector<int>& groups) {
    std::string names;
    for (int id : groups) {
        for (const ParamGroup& group : model.groups) {
            if (group.checkBoxId != id) continue;
            names += (names.empty() ? "" : ",") + group.name;
        }
    }
    return names;
}

void PrintText(CliEnv& env, const std::vector<PrinterDiff>& diffs) {
    for (const PrinterDiff& d : diffs) {
        const std::string where = d.printer->interfaceName + " " + d.printer->address;
        if (!d.read) {
            env.out << where << ": not read: "
                    << (d.printer->lines.empty() ? OutcomeName(d.printer->outcome) : d.printer->lines.back())
                    << "\n";
            continue;
        }
        env.out << where << ": " << d.changed << " of " << d.items.size() << " items would change\n";
        TextTable table({"", "GROUP", "ITEM", "PRINTER", "FILE"});
        for (const params::ItemDiff& item : d.items)
            table.Add({item.changed ? "*" : "", item.group, item.item, item.printerValue, item.fileValue});
        table.Print(env.out, "  ");
    }
}

void PrintJson(CliEnv& env, const std::string& path, const std::string& groups,
               const std::vector<PrinterDiff>& diffs, int exitCode) {
    JsonWriter json(env.out);
    json.BeginObject();
    json.Key("file").String(path);
    json.Key("groups").String(groups);
    json.Key("exitCode").Int(exitCode);
    json.Key("printers").BeginArray();
    for (const PrinterDiff& d : diffs) {
        json.BeginObject();
        WritePrinterFields(json, *d.printer);
        json.Key("changed").Int(d.changed);
        json.Key("items").BeginArray();
        for (const params::ItemDiff& item : d.items) {
            json.BeginObject();
            json.Key("group").String(item.group);
            json.Key("item").String(item.item);
            json.Key("printer").String(item.printerValue);
            json.Key("file").String(item.fileValue);
            json.Key("changed").Bool(item.changed);
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    env.out << "\n";
}

}  // namespace

int RunParamDiff(CliEnv& env, const std::string& path) {
    if (!LoadParamDocument(env)) return kExitUsage;
    params::GroupTicks ticks;
    const params::ImportResult imported = params::ImportSettings(
        path, env.document, env.context.settings, ticks, FileEnv(env), env.interaction);
    if (!imported.ok) return imported.badValue ? kExitUsage : kExitFailed;
    PrinterModel& model = *env.document.model();
    const bool serviceMode = env.context.serviceMode != ServiceMode::Off;
    const std::vector<int> groups = params::GatherGroups(model, ticks, serviceMode);
    if (groups.empty()) {
        if (env.options.json)
            PrintJson(env, path, "", {}, kExitOk);
        else
            env.out << "no group of " << path << " is ON: nothing would change\n";
        return kExitOk;
    }
    // What the set would refuse is refused here too, before any printer.
    if (!params::ValidateGroups(model, ticks, CheckContext(env), env.context.strings, env.interaction))
        return kExitFailed;
    PrinterModel wanted;
    {
        const std::lock_guard lock(env.document.modelMutex());
        wanted = model;
    }
    PrinterReadRequest request;
    request.base = &wanted;
    request.getCommands = VerifyList(wanted, groups);
    const PrinterReads reads =
        ReadPrinters(env, JobKind::GetParameter, [&](int) { return request; });
    const JobRunRecord& record = env.runs.back();

    std::vector<PrinterDiff> diffs;
    bool anyChange = false;
    for (const PrinterRecord& printer : record.printers) {
        if (!printer.selected) continue;
        PrinterDiff d;
        d.printer = &printer;
        if (const auto it = reads.results.find(printer.index); it != reads.results.end() && it->second.model) {
            d.read = true;
            d.items = params::DiffGroups(wanted, *it->second.model, groups,
                                         params::ShownLanguageFor(env.context.isJapanese));
            for (const params::ItemDiff& item : d.items) d.changed += item.changed ? 1 : 0;
            anyChange = anyChange || d.changed > 0;
        }
        diffs.push_back(std::move(d));
    }
    const int exitCode = reads.exitCode != kExitOk ? reads.exitCode : anyChange ? kExitWouldChange : kExitOk;
    if (env.options.json)
        PrintJson(env, path, GroupNames(wanted, groups), diffs, exitCode);
    else
        PrintText(env, diffs);
    return exitCode;
}

int RunDiff(CliEnv& env, const std::vector<std::string>& args) {
    if (args.size() != 1 || (!args[0].empty() && args[0][0] == '-'))
        return UsageError(env, "diff takes one settings file (FILE.TSI)");
    return RunParamDiff(env, args[0]);
}

}  // namespace rvq::cli
