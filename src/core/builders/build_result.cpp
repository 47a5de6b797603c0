#include "core/builders/build_result.h"

#include "core/app/strings.h"

namespace rvq {

BuildResult BuildFailure(const Strings& strings, int messageId) {
    return BuildResult{false, messageId, strings.Get(messageId)};
}

}  // namespace rvq
