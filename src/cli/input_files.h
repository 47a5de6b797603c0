#pragma once

#include <string>

#include "cli/cli.h"
#include "core/app/interaction.h"

namespace rvq::cli {

// True when `path` is a regular file this user can open. Otherwise shows
// message `messageId` (1014 unless given) on one line, led by the file's
// name and followed by the reason, and returns false.
[[nodiscard]] bool CheckInputFile(CliEnv& env, const std::string& path, int messageId = 1014);

// Puts the file's name in front of every error a core step shows about it,
// so a message box text names the file on the command line.
class FileNamingInteraction : public Interaction {
public:
    FileNamingInteraction(Interaction& inner, std::string path)
        : inner_(inner), path_(std::move(path)) {}
    bool Confirm(int messageId, const std::string& text) override {
        return inner_.Confirm(messageId, text);
    }
    void Error(int messageId, const std::string& text) override;
    void Info(int messageId, const std::string& text) override { inner_.Info(messageId, text); }

private:
    Interaction& inner_;
    std::string path_;
};

}  // namespace rvq::cli
