#include "core/builders/build_result.h"

#include "core/app/save_failure.h"
#include "core/app/strings.h"

namespace rvq {

BuildResult BuildFailure(const Strings& strings, int messageId) {
    return BuildResult{false, messageId, strings.Get(messageId), {}};
}

BuildResult SaveFailure(const Strings& strings, int fileMessageId, const std::string& file,
                        const WriteResult& written) {
    SaveFailureMessage message = SaveFailureMessageFor(written, fileMessageId, strings);
    return BuildResult{false, message.id, std::move(message.text), file};
}

}  // namespace rvq
