#include "core/comm/ops/printer_reads.h"

#include <mutex>
#include <tuple>

#include "core/app/app_context.h"
#include "core/app/string_ids.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/ops/param_exchange.h"
#include "core/comm/ops/printer_info_read.h"
#include "core/comm/port/command_channel.h"
#include "core/platform/code_page.h"

namespace rvq {

namespace {

bool ReadModel(PrinterJob& job, const PrinterReadRequest& request, PrinterReadResult& result) {
    PrinterModel model = *request.base;
    std::mutex modelMutex;  // the copy is this job's own
    AppContext& context = job.context();
    CommandChannel channel(context.strings, job.codes(), CodePageFor(context.isJapanese),
                           BinaryDataTimeoutMs(job.setup().connection));
    ParamSession session{job.port(),
                         channel,
                         job.log(),
                         context.strings,
                         model,
                         modelMutex,
                         params::SendContext{context.serviceMode, job.multiLan()},
                         params::ShownLanguageFor(context.isJapanese),
                         {},
                         {}};
    if (!ReadParameters(session, request.getCommands, ReadScope::WholeModel)) return false;
    result.model = std::move(model);
    return true;
}

bool ReadInSettingMode(PrinterJob& job, const PrinterReadRequest& request,
                       PrinterReadResult& result) {
    if (request.base != nullptr && !ReadModel(job, request, result)) return false;
    if (request.versions) {
        std::optional<std::string> text = ReadVersionText(job, 90, 93);
        if (!text) return false;
        result.versionText = std::move(*text);
    }
    if (request.settingsBlock) {
        if (job.IsUsb() && !job.CancellableWait(1000)) return false;
        std::optional<std::string> text = ReadSettingsText(job, 93, 95);
        if (!text) return false;
        result.settingsText = std::move(*text);
    }
    if (!request.infoPath.empty()) {
        if (!ReadVersionBlock(job, 93, 95, request.infoPath)) return false;
        if (job.IsUsb() && !job.CancellableWait(1000)) return false;
        if (!ReadSettingsBlock(job, 95, 97, request.infoPath, true)) return false;
    }
    return true;
}

}  // namespace

bool RunPrinterRead(PrinterJob& job, const PrinterReadRequest& request, PrinterReadResult& result) {
    job.log().LogStatus(sid::kStatusStart);
    if (!job.OpenJobPort()) return false;
    job.PostProgress(5);
    if (!job.CheckReady(kReadyModeIdle) || !job.ModeShift(true, false, 0)) {
        job.ClosePort();
        return false;
    }
    if (!ReadInSettingMode(job, request, result)) {
        // Leave the setting mode whatever was read, when the link still stands.
        if (job.port().isOpen()) std::ignore = job.ModeShift(false, false, 0);
        job.ClosePort();
        return false;
    }
    if (!job.ModeShift(false, false, 0)) {
        job.ClosePort();
        return false;
    }
    return job.Succeed();
}

}  // namespace rvq
