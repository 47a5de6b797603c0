#include "core/comm/ops/restore_online.h"
#include "core/app/app_context.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/ops/operations.h"

namespace rvq {

// Takes the printer out of its setting mode; after a change it restarts so
// the new values take effect, and the job reconnects.
bool RunRestoreOnline(PrinterJob& job) {
    job.PostProgress(0);
    job.log().LogStatus(1500);
    // The runner cleared the state when the run started; every job of the
    // run restarts its printer or not by the state the run started with.
    const SettingModeState remembered = job.settingMode();
    job.SetSettingMode(SettingModeState::Online);
    if (!job.OpenJobPort()) return false;
    const bool restart = remembered == SettingModeState::AfterChange;
    if (restart) job.log().LogStatus(1505);
    job.PostProgress(10);
    if (!job.ModeShift(false, restart, 80)) {
        job.ClosePort();
        return false;
    }
    return job.Succeed();
}

}  // namespace rvq
