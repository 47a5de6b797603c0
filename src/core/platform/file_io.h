#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rvq {

// Reads a whole file (or a pipe, to its end) as bytes; nothing when it
// cannot be opened or read, is a device or a folder, or does not fit in
// memory. Opening a FIFO that has no writer is not waited on.
std::optional<std::string> ReadFileBytes(const std::string& path);

struct WriteResult {
    bool ok = false;
    int systemError = 0;  // errno of the step that failed
    explicit operator bool() const { return ok; }
};

// Writes `bytes` to a temporary file in the target's folder, flushes it and
// renames it over `path`, so a failed write never leaves a half file in
// place of a good one. A new file gets `mode` (before the umask); an
// existing file keeps its permission bits.
[[nodiscard]] WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes,
                                              unsigned mode = 0644);

std::string DirectoryOf(const std::string& path);
std::string JoinPath(const std::string& folder, const std::string& name);
std::string CurrentDirectory();

}  // namespace rvq
