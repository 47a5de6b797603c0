#include "core/comm/port/open_file_limit.h"

#include <sys/resource.h>

#include <algorithm>

namespace rvq {

long RaiseOpenFileLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return kDescriptorsKept + 1;
    if (limit.rlim_cur < limit.rlim_max) {
        rlimit raised = limit;
        raised.rlim_cur = limit.rlim_max;
        if (setrlimit(RLIMIT_NOFILE, &raised) == 0) limit = raised;
    }
    // RLIM_INFINITY and other huge values fit any sweep.
    constexpr rlim_t kEnough = 1 << 22;
    return static_cast<long>(std::min<rlim_t>(limit.rlim_cur, kEnough));
}

int ProbesWithinLimit(long limit, int wanted) {
    return static_cast<int>(std::clamp<long>(limit - kDescriptorsKept, 1, std::max(wanted, 1)));
}

}  // namespace rvq
