// diff and set-params --dry-run: what a settings file would change on each
// printer, read from the printers and compared, with nothing written.
#include <algorithm>
#include <mutex>
#include <ostream>

#include "cli/cli.h"
#include "cli/cmd_diff.h"
#include "cli/json_writer.h"
#include "cli/param_session.h"
#include "cli/printer_reads_run.h"
#include "cli/run_json.h"
#include "cli/text_table.h"
#include "core/comm/ops/param_exchange.h"
#include "core/params/command_builder.h"
#include "core/params/group_ticks.h"
#include "core/params/param_diff.h"
#include "core/params/set_flow.h"
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

// The items each get command's reply lacked, in the order met.
std::vector<std::pair<int, std::vector<std::string>>> ShortReplies(const PrinterDiff& d) {
    std::vector<std::pair<int, std::vector<std::string>>> replies;
    for (const params::ItemDiff& item : d.items) {
        if (!item.shortReply) continue;
        auto it = std::find_if(replies.begin(), replies.end(),
                               [&](const auto& r) { return r.first == item.getCommand; });
        if (it == replies.end()) it = replies.insert(replies.end(), {item.getCommand, {}});
        it->second.push_back(item.item);
    }
    return replies;
}

// The get command as the printer receives it, without its control codes.
std::string GetCommandName(const CliEnv& env, int id) {
    std::string text = params::BuildGetCommand(env.context.strings, id).value_or("");
    std::erase_if(text, [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    return text.empty() ? "get command " + std::to_string(id)
                        : text + " (get command " + std::to_string(id) + ")";
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

void PrintText(CliEnv& env, const std::vector<PrinterDiff>& diffs) {
    for (const PrinterDiff& d : diffs) {
        const std::string where = d.printer->interfaceName + " " + d.printer->address;
        if (!d.read) {
            env.out << where << ": not read: " << FailureLine(*d.printer) << "\n";
            continue;
        }
        env.out << where << ": " << d.changed << " of " << d.items.size()
                << " items would change\n";
        TextTable table({"", "GROUP", "ITEM", "PRINTER", "FILE"});
        for (const params::ItemDiff& item : d.items) {
            // A short reply is told once per get command below, not per item.
            if (item.shortReply) continue;
            table.Add({item.changed ? "*" : "", item.group, item.item, item.printerValue,
                       item.fileValue});
        }
        table.Print(env.out, "  ");
        for (const auto& [command, names] : ShortReplies(d)) {
            env.out << "  *  the reply to " << GetCommandName(env, command) << " lacked "
                    << names.size() << (names.size() == 1 ? " item" : " items")
                    << " (a set writes the file's values): " << Joined(names) << "\n";
        }
    }
}

void PrintJson(CliEnv& env, const std::string& path, const std::string& groups,
               const std::vector<PrinterDiff>& diffs) {
    JsonWriter json = DataFields(env);
    json.Key("file").String(path);
    json.Key("groups").String(groups);
    json.Key("printers").BeginArray();
    for (const PrinterDiff& d : diffs) {
        json.BeginObject();
        WritePrinterFields(json, *d.printer);
        json.Key("read").Bool(d.read);
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
        json.Key("shortReplies").BeginArray();
        for (const auto& [command, names] : ShortReplies(d)) {
            json.BeginObject();
            json.Key("getCommand").Int(command);
            json.Key("command").String(GetCommandName(env, command));
            json.Key("items").BeginArray();
            for (const std::string& name : names) json.String(name);
            json.EndArray();
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
}

}  // namespace

int RunParamDiff(CliEnv& env, const std::string& path) {
    if (!LoadParamDocument(env)) return kExitUsage;
    params::GroupTicks ticks;
    const params::ImportResult imported = params::ImportSettings(
        path, env.document, env.context.settings, ticks, FileEnv(env), env.interaction);
    if (!imported.ok) return imported.badValue ? kExitUsage : kExitFailed;
    // What the set would refuse is refused here too, before any printer.
    const params::PreparedSet prepared = params::PrepareSet(
        env.document, ticks, env.context, CheckContext(env).multiLan, env.interaction);
    if (prepared.refusal == params::SetRefusal::NothingTicked) {
        if (env.options.json)
            PrintJson(env, path, "", {});
        else
            env.out << "no group of " << path << " is ON: nothing would change\n";
        return kExitOk;
    }
    if (!prepared) return kExitFailed;
    const std::vector<int>& groups = prepared.groups;
    PrinterModel wanted;
    {
        const std::lock_guard lock(env.document.modelMutex());
        wanted = *env.document.model();
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
        if (const auto it = reads.results.find(printer.index);
            it != reads.results.end() && it->second.model) {
            d.read = true;
            d.items = params::DiffGroups(wanted, *it->second.model, groups,
                                         params::ShownLanguageFor(env.context.isJapanese),
                                         SendContextOf(env));
            for (const params::ItemDiff& item : d.items) d.changed += item.changed ? 1 : 0;
            anyChange = anyChange || d.changed > 0;
        }
        diffs.push_back(std::move(d));
    }
    const int exitCode = reads.exitCode != kExitOk ? reads.exitCode
                         : anyChange               ? kExitWouldChange
                                                   : kExitOk;
    if (env.options.json)
        PrintJson(env, path, GroupNames(wanted, groups), diffs);
    else
        PrintText(env, diffs);
    if (exitCode == kExitWouldChange) {
        int items = 0, printers = 0;
        for (const PrinterDiff& d : diffs) {
            items += d.changed;
            printers += d.changed > 0 ? 1 : 0;
        }
        env.errors.Note(std::to_string(items) + (items == 1 ? " item" : " items") +
                        " would change on " + std::to_string(printers) + " of " +
                        std::to_string(diffs.size()) +
                        (diffs.size() == 1 ? " printer" : " printers"));
    }
    return exitCode;
}

int RunDiff(CliEnv& env, const std::vector<std::string>& args) {
    if (args.size() != 1 || (!args[0].empty() && args[0][0] == '-'))
        return UsageError(env, "diff takes one settings file (FILE.TSI)");
    return RunParamDiff(env, args[0]);
}

}  // namespace rvq::cli
