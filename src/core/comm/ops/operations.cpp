#include "core/comm/ops/operations.h"

#include "core/app/app_context.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/ops/maintenance_operations.h"

namespace rvq {

namespace {

class OperationExecutor : public JobExecutor {
public:
    OperationExecutor(AppContext& context, Document& document)
        : context_(context), document_(document) {}

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
        case JobKind::RestoreOnline:
            return RunRestoreOnline(job);
        case JobKind::GetParameter:
            return RunGetParameter(job);
        case JobKind::SetParameter:
            return RunSetParameter(job);
        case JobKind::FirmwareDownload:
            return RunFirmwareDownload(job);
        case JobKind::BasicDownload:
            return RunBasicDownload(job);
        case JobKind::SendFile:
            return RunSendFile(job);
        case JobKind::PrinterReset: {
            const bool ok = RunPrinterReset(job);
            // Whatever the outcome, the printer no longer holds a setting mode.
            job.SetSettingMode(SettingModeState::Online);
            return ok;
        }
        case JobKind::PrinterInfo:
            return RunPrinterInfo(job);
        case JobKind::MemoryAllocate:
            return RunMemoryAllocate(job);
        case JobKind::CounterClear:
            return RunCounterClear(job);
        case JobKind::ParameterClear:
            return RunParameterClear(job);
        case JobKind::FactoryDefault:
            return RunFactoryDefault(job);
        case JobKind::TestPrint:
            return RunTestPrint(job);
        case JobKind::MemoryFormat:
        case JobKind::HeadCheck: {
            const bool ok =
                kind == JobKind::MemoryFormat ? RunMemoryFormat(job) : RunHeadCheck(job);
            job.SetSettingMode(SettingModeState::Online);
            return ok;
        }
        default:
            // An operation this build does not offer: say so in the log
            // rather than pretend.
            job.log().LogStatus(1500);
            job.log().Fail(sid::kDetailProcessing);
            return false;
    }
}

std::shared_ptr<JobExecutor> MakeOperationExecutor(AppContext& context, Document& document) {
    return std::make_shared<OperationExecutor>(context, document);
}

}  // namespace rvq
