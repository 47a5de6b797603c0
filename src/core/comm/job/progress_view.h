#pragma once

#include "core/comm/job/job_runner.h"

#include "core/app/string_ids.h"

namespace rvq {

// What the progress dialog shows for a run, decided without a window.

enum class StatusPicture { Running, Succeeded, Failed, Cancelled };

// While running: Running. After the run: Succeeded when it succeeded,
// Failed when the overall result is Fail or Succeed, Cancelled otherwise.
StatusPicture PictureFor(bool finished, RunState state, int overallResult);

struct ProgressButtons {
    int closeLabelId = 794;  // "&Cancel..." or "&Close"
    bool logging = false;
    bool retry = false;
    bool errorList = false;
};

// The buttons while a run goes on (`finished` false) and after it.
// `cancelRequested` says the operator confirmed a cancel of this run.
ProgressButtons ButtonsFor(bool finished, bool failed, bool cancelRequested, bool multiLan);

// The percentage label: the sum of the printers' percentages over the
// number of printers in the run.
int OverallPercent(int total, int range);

}  // namespace rvq
