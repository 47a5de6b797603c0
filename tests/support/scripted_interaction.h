#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "core/app/interaction.h"

namespace rvq::test {

// Answers questions from a script and records every message in order.
// A question without a scripted answer is answered No, the safe answer.
class ScriptedInteraction : public Interaction {
public:
    enum class Kind { Confirm, Error, Info };
    struct Shown {
        Kind kind;
        int messageId;
        std::string text;
    };

    void Answer(bool yes) {
        std::lock_guard lock(mutex_);
        answers_.push_back(yes);
    }

    bool Confirm(int messageId, const std::string& text) override {
        std::lock_guard lock(mutex_);
        shown_.push_back({Kind::Confirm, messageId, text});
        if (answers_.empty()) return false;
        const bool yes = answers_.front();
        answers_.pop_front();
        return yes;
    }
    void Error(int messageId, const std::string& text) override {
        Record(Kind::Error, messageId, text);
    }
    void Info(int messageId, const std::string& text) override {
        Record(Kind::Info, messageId, text);
    }

    std::vector<Shown> shown() const {
        std::lock_guard lock(mutex_);
        return shown_;
    }
    // The ids of every message shown so far, in order.
    std::vector<int> ids() const {
        std::lock_guard lock(mutex_);
        std::vector<int> ids;
        for (const Shown& s : shown_) ids.push_back(s.messageId);
        return ids;
    }

private:
    void Record(Kind kind, int messageId, const std::string& text) {
        std::lock_guard lock(mutex_);
        shown_.push_back({kind, messageId, text});
    }

    mutable std::mutex mutex_;
    std::deque<bool> answers_;
    std::vector<Shown> shown_;
};

}  // namespace rvq::test
