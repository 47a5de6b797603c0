#pragma once

#include <string>

namespace rvq {

// How core operations ask the user something or tell them something. The
// desktop program answers with message boxes, rvqtool with prompts or
// --yes, tests with scripted answers. `text` is the finished message
// (string-table text with any values already filled in); `messageId` says
// which message it is.
class Interaction {
public:
    virtual ~Interaction() = default;
    // A Yes/No question with No preselected; true means Yes.
    virtual bool Confirm(int messageId, const std::string& text) = 0;
    virtual void Error(int messageId, const std::string& text) = 0;
    virtual void Info(int messageId, const std::string& text) = 0;
};

}  // namespace rvq
