// Get Parameter and Set Parameter: the job steps around the parameter
// exchanges (port, ready check, setting mode) and what a set changes in
// the tool besides the printer.
#include <tuple>
#include <vector>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/string_ids.h"
#include "core/app/tool_settings_file.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/ops/operations.h"
#include "core/comm/ops/param_exchange.h"
#include "core/comm/ops/parameter_operations.h"
#include "core/comm/port/command_channel.h"

namespace rvq {

namespace {

// A single printer already left in setting mode by this tool needs no
// second enter.
bool SkipsEnter(PrinterJob& job) {
    return !job.multiLan() && job.settingMode() != SettingModeState::Online;
}

// The program's model, or a logged failure when the job has no document.
PrinterModel* JobModel(PrinterJob& job) {
    Document* document = job.document();
    PrinterModel* model = document != nullptr ? document->model() : nullptr;
    if (model == nullptr) job.log().Fail(sid::kDetailProcessing);
    return model;
}

CommandChannel MakeChannel(PrinterJob& job) {
    return CommandChannel(job.context().strings, job.codes(), CodePageFor(job.context().isJapanese),
                          BinaryDataTimeoutMs(job.setup().connection));
}

ParamSession MakeSession(PrinterJob& job, CommandChannel& channel, PrinterModel& model) {
    AppContext& context = job.context();
    return ParamSession{job.port(),
                        channel,
                        job.log(),
                        context.strings,
                        model,
                        job.document()->modelMutex(),
                        params::SendContext{context.serviceMode, job.multiLan()},
                        params::ShownLanguageFor(context.isJapanese),
                        {},
                        {}};
}

// Opens the port and, unless skipped, puts an idle printer into its
// setting mode. Closes the port on failure.
bool EnterSettingMode(PrinterJob& job, bool skipEnter, bool restartOnLeave) {
    if (!job.OpenJobPort()) return false;
    job.PostProgress(5);
    if (skipEnter) return true;
    if (job.CheckReady(kReadyModeIdle) && job.ModeShift(true, restartOnLeave, 0)) return true;
    job.ClosePort();
    return false;
}

bool Finish(PrinterJob& job) {
    job.ClosePort();
    job.PostProgress(100);
    job.log().LogStatus(sid::kStatusSucceed);
    return true;
}

bool Abort(PrinterJob& job) {
    job.ClosePort();
    return false;
}

}  // namespace

bool SwitchToStandardCodes(PrinterJob& job, CommandChannel& channel) {
    static constexpr ControlCodes kStandard{0x1B, 0x0A, 0x00};
    static constexpr ControlCodes kBraces{'{', '|', '}'};
    if (job.codes() == kStandard || job.codes() == kBraces) return false;
    job.SetControlCodes(kStandard);
    channel.SetControlCodes(kStandard);
    if (job.multiLan()) return true;
    // One printer: the tool follows the printer to the automatic codes. Only
    // this job runs, and nothing else touches the settings meanwhile.
    ToolSettings& settings = job.context().settings;
    settings.controlCodeType = "AUTO";
    settings.controlCodes = kStandard;
    // The settings are saved again when the program ends; a failed write
    // here leaves the change in memory.
    std::ignore = SaveToolSettings(settings, job.context().strings);
    return true;
}

bool RunGetParameter(PrinterJob& job) {
    job.log().LogStatus(sid::kStatusStart);
    PrinterModel* model = JobModel(job);
    if (model == nullptr) return false;
    if (!EnterSettingMode(job, SkipsEnter(job), false)) return false;
    CommandChannel channel = MakeChannel(job);
    ParamSession session = MakeSession(job, channel, *model);
    const std::vector<int>& commandIds = InputsOf<GetParameterArgs>(job.inputs()).commandIds;
    const ReadScope scope = job.multiLan() ? ReadScope::OwnItems : ReadScope::WholeModel;
    if (!ReadParameters(session, commandIds, scope)) return Abort(job);
    if (job.multiLan()) {
        const bool restart = job.settingMode() == SettingModeState::AfterChange;
        if (!job.ModeShift(false, restart, 0)) return Abort(job);
    }
    return Finish(job);
}

bool RunSetParameter(PrinterJob& job) {
    job.log().LogStatus(sid::kStatusStart);
    PrinterModel* model = JobModel(job);
    if (model == nullptr) return false;
    // One printer's record of what it confirmed; a Multi-LAN run changes no connection.
    Document& document = *job.document();
    if (!job.multiLan()) document.ClearAcknowledgedItems();
    if (!EnterSettingMode(job, SkipsEnter(job), true)) return false;
    job.SetSettingMode(SettingModeState::AfterChange);
    job.PostProgress(5);
    CommandChannel channel = MakeChannel(job);
    ParamSession session = MakeSession(job, channel, *model);
    session.onAutomaticCodes = [&job, &channel] {
        std::ignore = SwitchToStandardCodes(job, channel);
    };
    session.onAcknowledged = [&document, &job](const SetCommand& command) {
        if (!job.multiLan()) document.AddAcknowledgedItems(command.paramNames);
    };
    const std::vector<int>& groupIds = InputsOf<SetParameterArgs>(job.inputs()).groupIds;
    if (!WriteParameters(session, groupIds)) return Abort(job);
    job.PostProgress(95);
    if (job.multiLan()) {
        job.log().LogStatus(sid::kStatusUpdating);
        if (!job.ModeShift(false, true, 0)) return Abort(job);
    }
    return Finish(job);
}

}  // namespace rvq
