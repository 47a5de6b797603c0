#include "core/comm/job/progress_view.h"

#include "core/app/string_ids.h"
#include "core/comm/job/job_kind.h"

namespace rvq {

StatusPicture PictureFor(bool finished, RunState state, int overallResult) {
    if (!finished) return StatusPicture::Running;
    if (state == RunState::Succeeded) return StatusPicture::Succeeded;
    if (overallResult == sid::kStatusFail || overallResult == sid::kStatusSucceed)
        return StatusPicture::Failed;
    return StatusPicture::Cancelled;
}

ProgressButtons ButtonsFor(bool finished, bool failed, bool cancelRequested, bool multiLan) {
    ProgressButtons buttons;
    if (!finished) return buttons;
    buttons.closeLabelId = cancelRequested ? sid::kLabelCancel : sid::kLabelClose;
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
