// get-params and set-params: the printer's parameters to and from setting
// information files.
#include <memory>
#include <mutex>
#include <ostream>
#include <tuple>

#include "cli/cli.h"
#include "cli/export_interaction.h"
#include "cli/json_writer.h"
#include "cli/job_run.h"
#include "cli/param_session.h"
#include "cli/printer_reads_run.h"
#include "cli/run_json.h"
#include "cli/text_table.h"
#include "core/params/group_ticks.h"
#include "core/params/item_values.h"
#include "core/comm/param_exchange.h"
#include "core/params/model_values.h"
#include "core/params/param_diff.h"
#include "core/params/settings_file.h"

namespace rvq::cli {

namespace {

constexpr int kMsgConfirmSet = 1302;

struct GetOptions {
    std::string out;
    std::string groups;
    bool includeSecrets = false;
};

void PrintValues(CliEnv& env, const PrinterModel& model, bool includeSecrets) {
    const bool japanese = env.context.isJapanese;
    if (env.options.json) {
        JsonWriter json(env.out);
        json.BeginObject();
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
        WriteRunsJson(json, env.runs);
        json.EndObject();
        env.out << "\n";
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
    return RunParamJob(env, JobKind::RestoreOnline, {}, reconnect);
}

// The set job. Under --audit the printers are read first, so that each
// audit line can name the items the set changed with their values before.
int RunSetJob(CliEnv& env, const std::vector<int>& groups) {
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = JobKind::SetParameter;
    for (int n : groups) inputs->numbers.push_back(static_cast<std::uint32_t>(n));
    if (!env.options.auditFile) return RunPrinterJob(env, inputs);

    auto wanted = std::make_shared<PrinterModel>();
    {
        const std::lock_guard lock(env.document.modelMutex());
        *wanted = *env.document.model();
    }
    PrinterReadRequest request;
    request.base = wanted.get();
    request.getCommands = VerifyList(*wanted, groups);
    auto before = std::make_shared<PrinterReads>(
        ReadPrinters(env, JobKind::GetParameter, [&](int) { return request; }));
    const params::ShownLanguage language = params::ShownLanguageFor(env.context.isJapanese);
    JobRunHooks hooks;
    hooks.changes = [wanted, before, groups, language](int printerIndex) {
        std::vector<ItemChange> changes;
        const auto it = before->results.find(printerIndex);
        if (it == before->results.end() || !it->second.model) return changes;
        for (const params::ItemDiff& d : params::DiffGroups(*wanted, *it->second.model, groups, language)) {
            if (d.changed) changes.push_back({d.item, d.printerValue, d.fileValue});
        }
        return changes;
    };
    return RunPrinterJob(env, inputs, hooks);
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

    const int got = RunParamJob(env, JobKind::GetParameter, model.getCommandIndexes);
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
    for (const std::string& a : args) {
        if (a == "--yes") continue;  // also taken as a global option
        if (a == "--dry-run") {
            dryRun = true;
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
    PrinterModel& model = *env.document.model();
    const bool serviceMode = env.context.serviceMode != ServiceMode::Off;
    const std::vector<int> groups = params::GatherGroups(model, ticks, serviceMode);
    if (groups.empty()) {
        env.out << "no group of " << path << " is ON: nothing to set\n";
        return kExitOk;
    }
    if (!params::ValidateGroups(model, ticks, CheckContext(env), env.context.strings,
                                env.interaction))
        return kExitFailed;
    params::PendingChanges pending;
    params::DetectConnectionChange(model, ticks, env.context.settings, env.context.strings,
                                   serviceMode, pending);
    if (!env.interaction.Confirm(kMsgConfirmSet, env.context.strings.Get(kMsgConfirmSet)))
        return kExitFailed;

    // A run that never reaches the printer acknowledges nothing.
    env.document.ClearAcknowledgedItems();
    const int set = RunSetJob(env, groups);
    const Strings& strings = env.context.strings;
    bool changeDetected = false;
    {
        const std::lock_guard lock(env.document.modelMutex());
        // The printer takes a new connection once it acknowledged it,
        // whatever failed afterwards.
        changeDetected = params::KeepAcknowledgedChange(model, ticks, env.context.settings, strings, serviceMode,
                                                        env.document.acknowledgedItems(), pending);
        if (set == kExitOk) {
            params::CommitReadValues(model);
            params::DetectControlCodeChange(model, ticks, env.context.settings, strings, pending);
        }
    }
    if (env.context.settings.interfaceName == "Multi LAN")
        env.context.settingModeState = SettingModeState::Online;
    if (changeDetected) {
        const params::ConnectionNote note =
            params::NextConnectionNote(env.context.settings, strings, pending, pending.connectionChanged);
        env.interaction.Info(note.messageId, note.text);
    }
    const int restored =
        RestoreIfLeftInSettingMode(env, pending.connectionChanged ? pending.connection : "");
    if (set == kExitOk && restored == kExitOk) return SaveAfterSet(env, pending, imported.modelChanged);
    // After a failure only the connection the printer took is stored.
    pending.codesChanged = false;
    const bool connectionKept = pending.connectionChanged;
    if (connectionKept) std::ignore = SaveAfterSet(env, pending, false);
    if (set != kExitOk) return set;
    env.err << "rvqtool: the printer was set but did not come back online"
            << (connectionKept ? "\n" : "; the tool's settings are unchanged\n");
    return restored;
}

}  // namespace rvq::cli
