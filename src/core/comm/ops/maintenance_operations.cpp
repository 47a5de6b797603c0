// Printer information, counter and parameter clears, factory default.
#include "core/comm/ops/maintenance_operations.h"

#include <array>
#include <cstdint>

#include "core/app/app_context.h"
#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/ops/printer_info_read.h"
#include "core/comm/port/command_channel.h"

namespace rvq {

namespace {

constexpr int kMaintenanceGet = 1800;
constexpr int kCounterClearSet = 1801;
constexpr int kParameterClearSet = 1802;
constexpr int kFactoryDefaultSet = 1804;

constexpr std::size_t kDestinationField = 22;

// A field that reads as the number 0 ("00000000"); an empty or missing one
// does not.
bool IsZero(const std::vector<std::string>& fields, std::size_t index) {
    if (index >= fields.size()) return false;
    const std::string field = Trim(fields[index]);
    return !field.empty() && field.front() >= '0' && field.front() <= '9' &&
           ParseLeadingInt(field) == 0;
}

CommandChannel MakeChannel(PrinterJob& job) {
    return CommandChannel(job.log().strings(), job.codes(), CodePageFor(job.context().isJapanese),
                          BinaryDataTimeoutMs(job.setup().connection));
}

// The channel's failure as the log shows it: the system error or, when
// there is none, the channel's own error code.
bool ChannelFailed(PrinterJob& job, const CommandChannel& channel) {
    const ChannelErrorState& state = channel.errorState();
    const long long code = state.lastSystemError != 0 ? state.lastSystemError
                                                      : static_cast<long long>(state.errorCode);
    job.log().Fail(sid::kDetailCommunication, code);
    job.ClosePort();
    return false;
}

// Opening steps of the jobs that change the printer in its setting mode:
// ready and idle, setting mode entered with a later restart.
bool EnterForChange(PrinterJob& job, int progressAfter) {
    job.log().LogStatus(sid::kStatusStart);
    if (!job.OpenJobPort()) return false;
    job.PostProgress(5);
    if (!job.CheckReady(kReadyModeIdle)) return false;
    if (!job.ModeShift(true, true, 0)) return false;
    job.SetSettingMode(SettingModeState::Online);
    job.PostProgress(progressAfter);
    return true;
}

// A clear: the set command, the maintenance reply, its check, then the
// settings block refreshes the document and the printer restarts.
bool RunClear(PrinterJob& job, int setCommand, unsigned value,
              bool (*verified)(unsigned, const std::vector<std::string>&)) {
    if (!EnterForChange(job, 10)) return false;
    CommandChannel channel = MakeChannel(job);
    if (!channel.SendNumericSetCommand(setCommand, job.port(), {value}, false))
        return ChannelFailed(job, channel);
    if (setCommand == kParameterClearSet) job.PostProgress(30);
    if (job.CancelCheck()) return false;
    job.PostProgress(40);
    std::vector<std::string> fields;
    if (!channel.SendGetCommand(kMaintenanceGet, job.port(), fields))
        return ChannelFailed(job, channel);
    if (job.CancelCheck()) return false;
    job.PostProgress(60);
    if (!verified(value, fields)) {
        job.log().Fail(sid::kDetailProcessing);
        job.ClosePort();
        return false;
    }
    if (!ReadSettingsBlock(job, 60, 90, {}, false)) return false;
    job.PostProgress(90);
    job.SetSettingMode(SettingModeState::AfterChange);
    return FinishInSettingMode(job, true, true);
}

bool ReadInformation(PrinterJob& job, InfoSubKind subKind) {
    const std::string& path = InputsOf<PrinterInfoArgs>(job.inputs()).path;
    switch (subKind) {
        case InfoSubKind::DataLogging:
            return ReadDataLog(job, path);
        case InfoSubKind::SavePrinterInfo:
            return SaveInformationBlocks(job, path);
        case InfoSubKind::VersionOnly:
            return ReadVersionBlock(job, 5, 90, {});
        case InfoSubKind::SettingsOnly:
            return ReadSettingsBlock(job, 5, 90, {}, false);
        case InfoSubKind::Refresh:
        default:
            return ReadVersionBlock(job, 5, 45, {}) &&
                   (!job.IsUsb() || job.CancellableWait(1000)) &&
                   ReadSettingsBlock(job, 45, 90, {}, false);
    }
}

bool RunPrinterInfoSteps(PrinterJob& job) {
    const auto subKind = static_cast<InfoSubKind>(InputsOf<PrinterInfoArgs>(job.inputs()).subKind);
    job.log().LogStatus(sid::kStatusStart);
    if (!job.OpenJobPort()) return false;
    job.PostProgress(5);
    if (subKind != InfoSubKind::DataLogging && !job.CheckReady(kReadyModeIdle)) return false;
    if (!job.ModeShift(true, false, 0)) return false;
    if (job.IsUsb() && !job.CancellableWait(1000)) return false;
    job.SetSettingMode(SettingModeState::Online);
    if (!ReadInformation(job, subKind)) return false;
    job.PostProgress(95);
    if (!job.CancellableWait(1000)) return false;
    return FinishInSettingMode(job, true, true);
}

}  // namespace

bool CountersCleared(unsigned selection, const std::vector<std::string>& fields) {
    const bool all = selection == kCounterSelectionAll;
    if ((selection == kCounterSelectionFeed || all) && !IsZero(fields, 3)) return false;
    if ((selection == kCounterSelectionPrint || all) && !IsZero(fields, 8)) return false;
    if ((selection == kCounterSelectionCut || all) && !IsZero(fields, 13)) return false;
    if (all) {
        for (std::size_t field = 14; field <= 21; ++field) {
            if (!IsZero(fields, field)) return false;
        }
    }
    return true;
}

bool DestinationApplied(unsigned destination, const std::vector<std::string>& fields) {
    if (fields.size() <= kDestinationField) return false;
    return ParseLeadingInt(fields[kDestinationField]) == static_cast<int>(destination);
}

bool FinishInSettingMode(PrinterJob& job, bool ok, bool leave) {
    if (leave) {
        const bool restart = job.inputs().kind == JobKind::SetParameter ||
                             job.settingMode() == SettingModeState::AfterChange;
        if (!job.ModeShift(false, restart, 0)) {
            job.ClosePort();
            return false;
        }
    }
    job.ClosePort();
    if (!ok) return false;
    job.PostProgress(100);
    job.log().LogStatus(sid::kStatusSucceed);
    return true;
}

bool RunPrinterInfo(PrinterJob& job) {
    if (RunPrinterInfoSteps(job)) return true;
    job.ClosePort();
    job.SetSettingMode(SettingModeState::Online);
    return false;
}

bool RunCounterClear(PrinterJob& job) {
    return RunClear(job, kCounterClearSet, InputsOf<CounterClearArgs>(job.inputs()).selection,
                    CountersCleared);
}

bool RunParameterClear(PrinterJob& job) {
    return RunClear(job, kParameterClearSet,
                    InputsOf<ParameterClearArgs>(job.inputs()).destinationIndex,
                    DestinationApplied);
}

bool RunFactoryDefault(PrinterJob& job) {
    if (!EnterForChange(job, 20)) return false;
    CommandChannel channel = MakeChannel(job);
    if (!channel.SendStringSetCommand(kFactoryDefaultSet, job.port(), {}, false))
        return ChannelFailed(job, channel);
    job.PostProgress(60);
    if (!ReadVersionBlock(job, 60, 75, {})) return false;
    if (!job.CancellableWait(1000)) return false;
    if (!ReadSettingsBlock(job, 75, 90, {}, false)) return false;
    job.PostProgress(90);
    if (!job.IsLan()) {
        job.SetSettingMode(SettingModeState::AfterChange);
        return FinishInSettingMode(job, true, true);
    }
    // The printer may come back with other network settings: restart it and
    // do not wait for an answer it may send elsewhere.
    if (!job.Send(job.fixed().leaveWithRestart, 1000)) return false;
    job.SetSettingMode(SettingModeState::Online);
    if (!job.CancellableWait(3000)) return false;
    return job.Succeed();
}

}  // namespace rvq
