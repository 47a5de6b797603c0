#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rvq {

// Reads a whole file as bytes; nothing when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::string& path);

// Why a file could not be written.
enum class WriteFailure {
    None,
    FileNotWritable,    // the file exists and this user may not write it
    FolderNotWritable,  // no new file can be made in its folder (or the folder is missing)
    LinkLoop,           // the name is a symbolic link that never reaches a file
    NotAFile,           // the name is a folder or a device that is not written through
    Io,                 // writing failed (disk full, input/output error)
};

struct WriteResult {
    bool ok = false;
    int systemError = 0;  // errno of the step that failed
    WriteFailure failure = WriteFailure::None;
    std::string folder;  // the folder the file lives in, after following links
    explicit operator bool() const { return ok; }
};

// Who may read a file the tool writes.
enum class FileAccess {
    Shared,   // a new file is 0644 (before the umask); a replaced file keeps its mode
    Private,  // it holds secrets: 0600, and a replaced file loses any group and other bits
};

// Writes `bytes` to a temporary file in the target's folder, flushes it and
// renames it over the target, so a failed write never leaves a half file in
// place of a good one. Every file the tool writes goes through here:
// - a file this user may not write (the rule of opening it for writing,
//   so root may replace a read-only file) is refused and left as it is;
// - a symbolic link is written through: the file it finally names is
//   replaced (or made, when the link dangles) and the link stays; a loop
//   of links is refused;
// - a replaced file keeps its mode and, where this user may give it, its
//   owner and group;
// - a character device or a pipe (/dev/stdout) is written to directly.
[[nodiscard]] WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes,
                                              FileAccess access = FileAccess::Shared);

// Whether WriteFileAtomically may replace or make the file now: the file a
// link leads to may be written, and its folder takes new files.
bool MayWriteFile(const std::string& path);

// Appends `bytes` to a log file in one write, under the same rules of links
// and permissions; a new file gets mode 0640 (before the umask).
[[nodiscard]] WriteResult AppendToFile(const std::string& path, std::string_view bytes);

std::string DirectoryOf(const std::string& path);
std::string JoinPath(const std::string& folder, const std::string& name);
std::string CurrentDirectory();

}  // namespace rvq
