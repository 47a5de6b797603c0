#pragma once

#include <string>

#include "core/platform/file_io.h"

namespace rvq {

class Strings;

// The outcome of a file builder: success, or the message to show.
struct [[nodiscard]] BuildResult {
    bool ok = true;
    int messageId = 0;
    std::string message;  // the finished text of messageId
    std::string file;     // when a file could not be saved: that file
    explicit operator bool() const { return ok; }
};

BuildResult BuildFailure(const Strings& strings, int messageId);

// `file` could not be saved: `fileMessageId`, or the message of the folder,
// link or name that refused it.
BuildResult SaveFailure(const Strings& strings, int fileMessageId, const std::string& file,
                        const WriteResult& written);

}  // namespace rvq
