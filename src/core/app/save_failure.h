#pragma once

#include <string>

#include "core/platform/file_io.h"

#include "core/app/string_ids.h"

namespace rvq {

class Strings;

// The message shown when a file could not be saved.
struct SaveFailureMessage {
    int id = 0;
    std::string text;
};

// `fileMessageId` is the caller's own "...Check if the file is writable."
// (1011, 1016 or 1403): it stands for a file that may not be written and
// for a write that failed. A folder that refused the new file is named in
// its own message, and so are a loop of links and a name that is no file.
SaveFailureMessage SaveFailureMessageFor(const WriteResult& result, int fileMessageId,
                                         const Strings& strings);

}  // namespace rvq
