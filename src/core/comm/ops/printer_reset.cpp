#include "core/comm/ops/printer_reset.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/ops/operations.h"

namespace rvq {

// Restarts the printer: the reset command and the leave-with-restart
// command in one write, then waits until the printer is back.
bool RunPrinterReset(PrinterJob& job) {
    job.log().LogStatus(1500);
    if (!job.OpenJobPort()) return false;
    if (!job.Send(job.fixed().reset + job.fixed().leaveWithRestart, 1000)) return false;
    job.PostProgress(33);
    if (!job.CancellableWait(2000)) return false;
    job.PostProgress(66);

    // A printer that is already back needs no reconnect; the job still
    // closes, reports 100 and logs its success.
    if (!job.CheckReady(kReadyModeAny, true)) {
        job.ClosePort();
        if (!job.CancellableWait(3000)) return false;
        const int attempts = job.transport().reopenAttempts;
        bool open = false;
        for (int attempt = 0; attempt < attempts && !open; ++attempt) {
            open = job.Reopen(job.setup().connection.settings);
            if (!open && !job.CancellableWait(1000)) return false;
        }
        if (!open) {
            job.log().Fail(sid::kDetailNoConnection, job.port().lastError());
            return false;
        }
        if (!job.WaitReady(10000, true)) return false;
    }
    return job.Succeed();
}

}  // namespace rvq
