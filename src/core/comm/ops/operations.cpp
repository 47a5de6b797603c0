#include "core/comm/ops/operations.h"

#include "core/app/app_context.h"
#include "core/comm/job/job_kind_table.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/printer_job.h"

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
    const JobKindRow* row = FindJobKind(kind);
    if (row == nullptr || row->run == nullptr) {
        // An operation this build does not offer: say so in the log
        // rather than pretend.
        job.log().LogStatus(1500);
        job.log().Fail(sid::kDetailProcessing);
        return false;
    }
    const bool ok = row->run(job);
    // Whatever the outcome, the printer no longer holds a setting mode.
    if (row->onlineAfter) job.SetSettingMode(SettingModeState::Online);
    return ok;
}

std::shared_ptr<JobExecutor> MakeOperationExecutor(AppContext& context, Document& document) {
    return std::make_shared<OperationExecutor>(context, document);
}

}  // namespace rvq
