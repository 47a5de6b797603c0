#include "core/comm/job/progress_view.h"

#include "core/comm/job/job_kind.h"

namespace rvq {

StatusPicture PictureFor(bool finished, RunState state, int overallResult) {
    if (!finished) return StatusPicture::Running;
    if (state == RunState::Succeeded) return StatusPicture::Succeeded;
    if (overallResult == kResultFail || overallResult == kResultSucceed)
        return StatusPicture::Failed;
    return StatusPicture::Cancelled;
}

ProgressButtons ButtonsFor(bool finished, bool failed, bool cancelRequested, bool multiLan) {
    ProgressButtons buttons;
    if (!finished) return buttons;
    buttons.closeLabelId = cancelRequested ? kLabelCancel : kLabelClose;
    buttons.logging = true;
    buttons.retry = failed || cancelRequested;
    buttons.errorList = multiLan && buttons.retry;
    return buttons;
}

int OverallPercent(int total, int range) {
    const int printers = range / 100;
    return printers > 0 ? total / printers : 0;
}

}  // namespace rvq
