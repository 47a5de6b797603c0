#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "sim/command_decoder.h"

namespace rvq::sim {

// One thing a printer received.
struct LogEntry {
    std::int64_t timeMs = 0;  // protocol milliseconds since the simulator started
    int printer = 0;
    ReceivedCommand command;
};

// The entry as one JSON line (without the newline). Command text is given
// byte for byte as code points U+0000 to U+00FF; binary data by its length
// and SHA-256.
std::string LogLine(const LogEntry& entry);

// Every command the printers received, kept in memory for tests and
// optionally appended to a file as JSON lines. Thread-safe.
class CommandLog {
public:
    CommandLog() = default;
    ~CommandLog();
    CommandLog(const CommandLog&) = delete;
    CommandLog& operator=(const CommandLog&) = delete;

    // Appends to `path` from now on; false when it cannot be opened.
    [[nodiscard]] bool OpenFile(const std::string& path);

    void Append(LogEntry entry);
    // Writes to the file (only) that `printer` has `open` LAN connections
    // now: {"t":MS,"printer":N,"connections":OPEN}.
    void AppendConnections(std::int64_t timeMs, int printer, int open);
    std::vector<LogEntry> Entries() const;

    // Waits until `done` holds for the entries, at most `timeout`.
    bool WaitFor(const std::function<bool(const std::vector<LogEntry>&)>& done,
                 std::chrono::milliseconds timeout) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<LogEntry> entries_;  // guarded by mutex_
    std::FILE* file_ = nullptr;      // guarded by mutex_
};

}  // namespace rvq::sim
