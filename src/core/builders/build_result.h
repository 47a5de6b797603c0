#pragma once

#include <string>

namespace rvq {

class Strings;

// The outcome of a file builder: success, or the message to show.
struct [[nodiscard]] BuildResult {
    bool ok = true;
    int messageId = 0;
    std::string message;  // the finished text of messageId
    explicit operator bool() const { return ok; }
};

BuildResult BuildFailure(const Strings& strings, int messageId);

}  // namespace rvq
