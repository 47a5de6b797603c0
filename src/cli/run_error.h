#pragma once

#include <mutex>
#include <optional>
#include <string>

namespace rvq::cli {

// Why a command did not succeed: the message shown and, when the message
// is one of the program's numbered messages, its number.
struct RunError {
    std::string message;
    std::optional<int> id;
};

// The first error a command reported, kept for its --json document. Safe
// to use from job threads.
class ErrorNote {
public:
    void Note(const std::string& message, std::optional<int> id = std::nullopt) {
        std::lock_guard lock(mutex_);
        if (!first_) first_ = RunError{message, id};
    }
    // A reason that stands only when nothing else was noted: a question
    // answered No ends some commands and is harmless in others.
    void NoteIfNothingElse(const std::string& message, std::optional<int> id = std::nullopt) {
        std::lock_guard lock(mutex_);
        if (!fallback_) fallback_ = RunError{message, id};
    }
    std::optional<RunError> First() const {
        std::lock_guard lock(mutex_);
        return first_ ? first_ : fallback_;
    }

private:
    mutable std::mutex mutex_;
    std::optional<RunError> first_;     // guarded by mutex_
    std::optional<RunError> fallback_;  // guarded by mutex_
};

}  // namespace rvq::cli
