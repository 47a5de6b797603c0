// get-params and set-params: the printer's parameters to and from setting
// information files.
#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <tuple>

#include "cli/cli.h"
#include "cli/cmd_diff.h"
#include "cli/cmd_params.h"
#include "cli/export_interaction.h"
#include "cli/job_run.h"
#include "cli/json_writer.h"
#include "cli/param_session.h"
#include "cli/printer_reads_run.h"
#include "cli/run_json.h"
#include "cli/text_table.h"
#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "core/comm/ops/param_exchange.h"
#include "core/comm/ops/parameter_inputs.h"
#include "core/comm/port/loopback_guard.h"
#include "core/params/group_ticks.h"
#include "core/params/item_values.h"
#include "core/params/param_diff.h"
#include "core/params/set_flow.h"
#include "core/params/settings_file.h"

namespace rvq::cli {

namespace {

struct GetOptions {
    std::string out;
    std::string groups;
    bool includeSecrets = false;
};

void PrintValues(CliEnv& env, const PrinterModel& model, bool includeSecrets) {
    const bool japanese = env.context.isJapanese;
    if (env.options.json) {
        JsonWriter json = DataFields(env);
        json.Key("model").String(model.name);
        json.Key("items").BeginArray();
        for (const ParamItem& item : model.items) {
            if (item.encode && !includeSecrets) continue;
            json.BeginObject();
            json.Key("name").String(item.name);
            json.Key("value").String(
                params::EnglishLabel(item, params::ShownLanguageFor(japanese)));
            json.EndObject();
        }
        json.EndArray();
        return;
    }
    TextTable table({"ITEM", "VALUE"});
    for (const ParamItem& item : model.items) {
        if (item.encode && !includeSecrets) continue;
        table.Add({item.name, params::EnglishLabel(item, params::ShownLanguageFor(japanese))});
    }
    table.Print(env.out);
}

// A single printer is left in its setting mode by a get or a set; the
// command line has no page to leave later, so it comes back online now.
int RestoreIfLeftInSettingMode(CliEnv& env, const std::string& reconnect) {
    if (env.context.settingModeState == SettingModeState::Online) return kExitOk;
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = JobKind::RestoreOnline;
    return RunParamJob(env, inputs, reconnect);
}

// Which groups a set job writes to which printers (empty: every chosen one).
struct SetPlan {
    std::vector<int> groups;
    std::vector<bool> printers;
};

// What the printers held before the set, read as diff reads them, and the
// values the file would write.
struct BeforeSet {
    std::shared_ptr<PrinterModel> wanted;
    std::shared_ptr<PrinterReads> reads;
    params::ShownLanguage language;
    params::SendContext sendContext;
};

BeforeSet ReadBeforeSet(CliEnv& env, const std::vector<int>& groups) {
    BeforeSet before;
    before.wanted = std::make_shared<PrinterModel>();
    {
        const std::lock_guard lock(env.document.modelMutex());
        *before.wanted = *env.document.model();
    }
    PrinterReadRequest request;
    request.base = before.wanted.get();
    request.getCommands = VerifyList(*before.wanted, groups);
    before.reads = std::make_shared<PrinterReads>(
        ReadPrinters(env, JobKind::GetParameter, [&](int) { return request; }));
    before.language = params::ShownLanguageFor(env.context.isJapanese);
    before.sendContext = SendContextOf(env);
    return before;
}

// The set job of a plan. With what the printers held before, each audit
// line names the items the set changed with their values before.
int RunSetJob(CliEnv& env, const SetPlan& plan, const std::optional<BeforeSet>& before) {
    const std::shared_ptr<JobInputs> inputs = SetParameterJobInputs(plan.groups);
    JobRunHooks hooks;
    hooks.printers = plan.printers;
    if (before) {
        hooks.changes = [b = *before, groups = plan.groups](int printerIndex) {
            std::vector<ItemChange> changes;
            const auto it = b.reads->results.find(printerIndex);
            if (it == b.reads->results.end() || !it->second.model) return changes;
            for (const params::ItemDiff& d : params::DiffGroups(
                     *b.wanted, *it->second.model, groups, b.language, b.sendContext)) {
                if (d.changed) changes.push_back({d.item, d.printerValue, d.fileValue});
            }
            return changes;
        };
    }
    return RunPrinterJob(env, inputs, hooks);
}

// --changed-only: per printer the groups holding an item a set would
// change; printers with the same groups share one set job, printers
// without a change are left alone. `exitCode` becomes 1 when a printer
// could not be read.
std::vector<SetPlan> PlanChanges(CliEnv& env, const BeforeSet& before,
                                 const std::vector<int>& groups, int& exitCode) {
    const JobRunRecord readRun = env.runs.back();
    const PrinterModel& wanted = *before.wanted;
    std::vector<SetPlan> plans;
    JsonWriter json = DataFields(env);
    json.Key("changedOnly").Bool(true);
    json.Key("printers").BeginArray();
    for (const PrinterRecord& printer : readRun.printers) {
        if (!printer.selected) continue;
        const std::string where = printer.interfaceName + " " + printer.address;
        json.BeginObject();
        json.Key("index").Int(printer.index);
        json.Key("interface").String(printer.interfaceName);
        json.Key("printer").String(printer.address);
        const auto it = before.reads->results.find(printer.index);
        if (it == before.reads->results.end() || !it->second.model) {
            exitCode = kExitFailed;
            env.errors.Note(where + ": not read: " + FailureLine(printer));
            if (!env.options.json)
                env.out << where << ": not read: " << FailureLine(printer) << "\n";
            json.Key("changed").Null().Key("groups").BeginArray().EndArray().EndObject();
            continue;
        }
        std::vector<int> changedGroups;
        std::string names;
        int items = 0;
        const auto diffs = params::DiffGroups(wanted, *it->second.model, groups, before.language,
                                              before.sendContext);
        for (const ParamGroup& group : wanted.groups) {
            if (std::find(groups.begin(), groups.end(), group.checkBoxId) == groups.end()) continue;
            const auto changed = std::count_if(
                diffs.begin(), diffs.end(),
                [&](const params::ItemDiff& d) { return d.changed && d.group == group.name; });
            if (changed == 0) continue;
            items += static_cast<int>(changed);
            changedGroups.push_back(group.checkBoxId);
            names += (names.empty() ? "" : ",") + group.name;
        }
        json.Key("changed").Bool(!changedGroups.empty());
        json.Key("groups").BeginArray();
        for (const std::string& name : Split(names, ',')) {
            if (!name.empty()) json.String(name);
        }
        json.EndArray().EndObject();
        if (!env.options.json) {
            if (changedGroups.empty())
                env.out << where << ": no change\n";
            else
                env.out << where << ": " << items
                        << (items == 1 ? " item differs" : " items differ") << "; writing " << names
                        << "\n";
        }
        if (changedGroups.empty()) continue;
        auto plan = std::find_if(plans.begin(), plans.end(),
                                 [&](const SetPlan& p) { return p.groups == changedGroups; });
        if (plan == plans.end())
            plan = plans.insert(plans.end(),
                                {changedGroups, std::vector<bool>(readRun.printers.size(), false)});
        plan->printers[static_cast<std::size_t>(printer.index)] = true;
    }
    json.EndArray();
    return plans;
}

}  // namespace

int RunGetParams(CliEnv& env, const std::vector<std::string>& args) {
    GetOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--out" && hasValue)
            options.out = args[++i];
        else if (a == "--groups" && hasValue)
            options.groups = args[++i];
        else if (a == "--include-secrets")
            options.includeSecrets = true;
        else
            return UsageError(env, "get-params: unknown or incomplete argument '" + a + "'");
    }
    if (!options.groups.empty() && options.out.empty())
        return UsageError(env, "get-params: --groups goes with --out");
    if (!LoadParamDocument(env)) return kExitUsage;
    PrinterModel& model = *env.document.model();
    params::GroupTicks ticks;
    if (const std::string error = ParseGroupList(options.groups, model, ticks); !error.empty())
        return UsageError(env, error);

    const int got = RunParamJob(env, GetParameterJobInputs(model.getCommandIndexes));
    const int restored = RestoreIfLeftInSettingMode(env, {});
    if (got != kExitOk) return got;
    if (restored != kExitOk) return restored;

    const std::lock_guard lock(env.document.modelMutex());
    if (options.out.empty()) {
        PrintValues(env, model, options.includeSecrets);
        return kExitOk;
    }
    ExportInteraction interaction(env.interaction, options.includeSecrets);
    if (!params::ExportSettings(options.out, model, ticks, env.context.settings, FileEnv(env),
                                interaction))
        return kExitFailed;
    env.out << "wrote " << options.out << "\n";
    return kExitOk;
}

int RunSetParams(CliEnv& env, const std::vector<std::string>& args) {
    std::string path;
    bool dryRun = false;
    bool changedOnly = false;
    for (const std::string& a : args) {
        if (a == "--yes") continue;  // also taken as a global option
        if (a == "--dry-run" || a == "--changed-only") {
            (a == "--dry-run" ? dryRun : changedOnly) = true;
            continue;
        }
        if (!a.empty() && a[0] == '-')
            return UsageError(env, "set-params: unknown argument '" + a + "'");
        if (!path.empty()) return UsageError(env, "set-params takes one settings file");
        path = a;
    }
    if (path.empty()) return UsageError(env, "set-params needs a settings file (FILE.TSI)");
    if (dryRun) return RunParamDiff(env, path);
    if (!LoadParamDocument(env)) return kExitUsage;

    params::GroupTicks ticks;
    const params::ImportResult imported = params::ImportSettings(
        path, env.document, env.context.settings, ticks, FileEnv(env), env.interaction);
    if (!imported.ok) return imported.badValue ? kExitUsage : kExitFailed;
    const params::PreparedSet prepared = params::PrepareSet(
        env.document, ticks, env.context, CheckContext(env).multiLan, env.interaction);
    if (prepared.refusal == params::SetRefusal::NothingTicked) {
        env.out << "no group of " << path << " is ON: nothing to set\n";
        return kExitOk;
    }
    if (!prepared || !env.interaction.Confirm(prepared.confirmId, prepared.confirmText))
        return kExitFailed;

    // The printers are read first to skip those without a change, and for
    // the audit lines' values before the set.
    const std::vector<int>& groups = prepared.groups;
    std::optional<BeforeSet> before;
    if (changedOnly || env.options.auditFile) before = ReadBeforeSet(env, groups);
    int set = kExitOk;
    std::vector<SetPlan> plans{{groups, {}}};
    if (changedOnly) plans = PlanChanges(env, *before, groups, set);
    for (const SetPlan& plan : plans) {
        if (const int result = RunSetJob(env, plan, before); result != kExitOk) set = result;
    }
    if (plans.empty()) return set;  // no printer needs a change: none was touched

    params::PendingChanges pending;
    params::FinishSet(env.document, env.context, ticks, prepared, set == kExitOk, pending,
                      env.interaction);
    // The printer still leaves its setting mode; the reconnect to an address
    // the loopback guard refuses fails, and this says why.
    if (pending.connectionChanged && IsLan(env.context.settings.interfaceName.kind()) &&
        LanTargetRefused({NameOf(InterfaceKind::Lan), pending.connection}))
        Fail(env, kExitFailed,
             "the printer's new address " + pending.connection + " is refused: " +
                 LoopbackRefusal(pending.connection.substr(0, pending.connection.rfind(',')))
                     .value_or(""));
    const int restored =
        RestoreIfLeftInSettingMode(env, pending.connectionChanged ? pending.connection : "");
    if (set == kExitOk && restored == kExitOk)
        return SaveAfterSet(env, pending, imported.modelChanged);
    // After a failure only the connection the printer took is stored.
    pending.codesChanged = false;
    const bool connectionKept = pending.connectionChanged;
    if (connectionKept) std::ignore = SaveAfterSet(env, pending, false);
    if (set != kExitOk) return set;
    return Fail(env, restored,
                std::string("the printer was set but did not come back online") +
                    (connectionKept ? "" : "; the tool's settings are unchanged"));
}

}  // namespace rvq::cli
