#include "core/comm/operations.h"

#include "core/app/app_context.h"
#include "core/comm/job_reporter.h"
#include "core/comm/printer_job.h"

namespace rvq {

namespace {

class OperationExecutor : public JobExecutor {
public:
    OperationExecutor(AppContext& context, Document& document) : context_(context), document_(document) {}

    bool Run(const JobSetup& setup, JobReporter& reporter) override {
        if (!setup.inputs) return false;
        PrinterJob job(setup, reporter, context_);
        job.AttachDocument(&document_);
        const bool ok = RunOperation(job, setup.inputs->kind);
        job.ClosePort();
        return ok;
    }

private:
    AppContext& context_;
    Document& document_;
};

}  // namespace

bool RunOperation(PrinterJob& job, JobKind kind) {
    switch (kind) {
        case JobKind::RestoreOnline: return RunRestoreOnline(job);
        case JobKind::GetParameter: return RunGetParameter(job);
        case JobKind::SetParameter: return RunSetParameter(job);
        case JobKind::FirmwareDownload: return RunFirmwareDownload(job);
        case JobKind::BasicDownload: return RunBasicDownload(job);
        case JobKind::SendFile: return RunSendFile(job);
        case JobKind::PrinterReset: {
            const bool ok = RunPrinterReset(job);
            // Whatever the outcome, the printer no longer holds a setting mode.
            job.context().settingModeState = SettingModeState::Online;
            return ok;
        }
        default:
            // An operation this build does not offer: say so in the log
            // rather than pretend.
            job.log().LogStatus(1500);
            job.log().LogFailure(1502, 1528, 0);
            return false;
    }
}

std::shared_ptr<JobExecutor> MakeOperationExecutor(AppContext& context, Document& document) {
    return std::make_shared<OperationExecutor>(context, document);
}

}  // namespace rvq
