#pragma once

#include <string>

#include "core/app/interaction.h"

#include "core/app/string_ids.h"

namespace rvq::cli {

// Answers the export's password question from --include-secrets, so that
// --yes alone never puts passwords into a file.
class ExportInteraction : public Interaction {
public:
    ExportInteraction(Interaction& inner, bool includeSecrets)
        : inner_(inner), includeSecrets_(includeSecrets) {}
    bool Confirm(int messageId, const std::string& text) override {
        return messageId == sid::kMsgIncludePasswords ? includeSecrets_
                                                      : inner_.Confirm(messageId, text);
    }
    void Error(int messageId, const std::string& text) override { inner_.Error(messageId, text); }
    void Info(int messageId, const std::string& text) override { inner_.Info(messageId, text); }

private:
    Interaction& inner_;
    bool includeSecrets_;
};

}  // namespace rvq::cli
