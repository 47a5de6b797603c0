#include "core/comm/job/job_kind.h"

#include "core/app/string_ids.h"

namespace rvq {

int MergeResult(int overall, int job) {
    if (overall == sid::kStatusCancel) return overall;
    if (overall == sid::kStatusFail && job == sid::kStatusSucceed) return overall;
    return job;
}

}  // namespace rvq
