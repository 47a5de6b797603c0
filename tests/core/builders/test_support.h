#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/app/interaction.h"
#include "core/platform/file_io.h"

namespace rvq::test {

// A fresh folder under the system temp folder, removed with its contents.
class TempDir {
public:
    TempDir() {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "rvq-builders-XXXXXX").string();
        path_ = ::mkdtemp(tmpl.data()) ? tmpl : std::string();
    }
    ~TempDir() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string File(const std::string& relative) const { return path_ + "/" + relative; }

    // Writes a file, creating its folders.
    std::string Write(const std::string& relative, const std::string& bytes) const {
        std::string full = File(relative);
        std::filesystem::create_directories(std::filesystem::path(full).parent_path());
        if (!WriteFileAtomically(full, bytes)) return {};
        return full;
    }

private:
    std::string path_;
};

// Answers questions from a script and records every message.
class ScriptedInteraction : public Interaction {
public:
    explicit ScriptedInteraction(bool answer = true) : answer_(answer) {}
    bool Confirm(int messageId, const std::string&) override {
        messages.emplace_back('?', messageId);
        return answer_;
    }
    void Error(int messageId, const std::string&) override {
        messages.emplace_back('!', messageId);
    }
    void Info(int messageId, const std::string&) override { messages.emplace_back('i', messageId); }

    std::vector<std::pair<char, int>> messages;

private:
    bool answer_;
};

}  // namespace rvq::test
