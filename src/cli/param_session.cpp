#include "cli/param_session.h"

#include <ostream>

#include "cli/builder_output.h"
#include "cli/job_run.h"
#include "cli/model_source.h"
#include "core/app/connection.h"
#include "core/app/text.h"
#include "core/app/tool_settings_file.h"

namespace rvq::cli {

bool LoadParamDocument(CliEnv& env) {
    const ToolSettings& settings = env.context.settings;
    if (env.document.OnNewDocument(env.definitionsPath, settings.printerModel,
                                   settings.destination))
        return true;
    // Says what is wrong: the file missing, the model missing or the schema broken.
    if (LoadConfiguredModel(env) != nullptr)
        UsageError(env, env.definitionsPath + ": no printer model '" + settings.printerModel +
                            "' can be loaded");
    return false;
}

params::GroupCheckContext CheckContext(const CliEnv& env) {
    return {env.context.serviceMode != ServiceMode::Off,
            IsMultiLan(env.context.settings.interfaceName.kind())};
}

params::SendContext SendContextOf(const CliEnv& env) {
    return {env.context.serviceMode, IsMultiLan(env.context.settings.interfaceName.kind())};
}

params::SettingsFileEnv FileEnv(const CliEnv& env) {
    return {env.context.strings, env.context.isJapanese, CheckContext(env)};
}

std::string ParseGroupList(const std::string& list, const PrinterModel& model,
                           params::GroupTicks& ticks) {
    if (list.empty()) return {};
    for (const std::string& raw : Split(list, ',')) {
        const std::string name = Trim(raw);
        if (name == "all") {
            for (const ParamGroup& group : model.groups) ticks.Set(group.name, true);
            continue;
        }
        bool known = false;
        for (const ParamGroup& group : model.groups) known = known || group.name == name;
        if (!known)
            return "--groups: '" + name + "' is not a group of " + model.name +
                   " (see rvqtool model " + model.name + ")";
        ticks.Set(name, true);
    }
    return {};
}

int RunParamJob(CliEnv& env, const std::shared_ptr<JobInputs>& inputs,
                const std::string& reconnect) {
    inputs->reconnectSettings = reconnect;
    return RunPrinterJob(env, inputs);
}

int SaveAfterSet(CliEnv& env, params::PendingChanges& pending, bool modelChanged) {
    if (!pending.connectionChanged && !pending.codesChanged && !modelChanged) return kExitOk;
    const ToolSettings& used = env.context.settings;
    ToolSettings stored = LoadToolSettings(used.locations, env.context.strings);
    const Strings& strings = env.context.strings;
    const bool samePrinter =
        stored.loaded && stored.interfaceName == used.interfaceName &&
        BuildConnection(stored, strings).settings == BuildConnection(used, strings).settings;
    if (!samePrinter) {
        if (pending.connectionChanged)
            env.out << "new connection settings of the printer: " << pending.connection << "\n";
        if (pending.codesChanged)
            env.out << "new control codes of the printer: " << pending.codeMode << "\n";
        env.out << "VQTool.INI is left unchanged: it does not describe the printer that was set\n";
        return kExitOk;
    }
    params::ApplyPendingChanges(stored, pending);
    if (modelChanged) {
        stored.printerModel = used.printerModel;
        stored.destination = used.destination;
    }
    if (!stored.settingsWritable) {
        return Fail(
            env, kExitFailed,
            stored.iniPath +
                " cannot be written by this user; the printer's new settings are not stored");
    }
    if (const WriteResult saved = SaveToolSettings(stored, strings); !saved)
        return ReportSaveFailure(env, stored.iniPath, saved);
    env.out << "VQTool.INI updated with the printer's new settings\n";
    return kExitOk;
}

}  // namespace rvq::cli
