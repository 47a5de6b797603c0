#include "core/platform/file_io.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace rvq {

namespace {

// As many links as the kernel follows before it gives ELOOP.
constexpr int kMaxLinks = 40;

// The file a name finally stands for: the name itself, or the end of its
// chain of symbolic links (which may not exist yet).
struct Target {
    std::string path;
    bool exists = false;
    struct stat st {};
    WriteResult failure;  // ok when the target was found
};

WriteResult Failed(WriteFailure failure, int error, std::string folder) {
    return {false, error, failure, std::move(folder)};
}

Target ResolveTarget(const std::string& path) {
    Target target;
    target.path = path;
    for (int hops = 0;; ++hops) {
        if (::lstat(target.path.c_str(), &target.st) != 0) {
            const int error = errno;
            if (error == ENOENT) {
                target.failure.ok = true;
                return target;
            }
            const WriteFailure failure = error == ELOOP ? WriteFailure::LinkLoop
                                         : error == EACCES || error == ENOTDIR
                                             ? WriteFailure::FolderNotWritable
                                             : WriteFailure::Io;
            target.failure = Failed(failure, error, DirectoryOf(target.path));
            return target;
        }
        if (!S_ISLNK(target.st.st_mode)) {
            target.exists = true;
            target.failure.ok = true;
            return target;
        }
        if (hops == kMaxLinks) {
            target.failure = Failed(WriteFailure::LinkLoop, ELOOP, DirectoryOf(path));
            return target;
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(target.path.c_str(), link.data(), link.size());
        if (n < 0 || static_cast<std::size_t>(n) >= link.size()) {
            target.failure =
                Failed(WriteFailure::Io, n < 0 ? errno : ENAMETOOLONG, DirectoryOf(target.path));
            return target;
        }
        link.resize(static_cast<std::size_t>(n));
        target.path =
            !link.empty() && link.front() == '/' ? link : JoinPath(DirectoryOf(target.path), link);
    }
}

bool WriteAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Makes a new file beside the target, ".rvq-" and six random characters.
// The kernel applies the umask to `mode`; reading the umask instead
// (umask() sets it to read it) would race with jobs writing files at once.
int OpenTemporary(const std::string& folder, mode_t mode, std::string& path) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char random[6] = {};
        if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
            if (errno == EINTR) continue;
            return -1;
        }
        std::string name = ".rvq-";
        for (unsigned char r : random) name += kLetters[r % (sizeof kLetters - 1)];
        path = JoinPath(folder, name);
        const int fd =
            ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// An existing file may be written when opening it for writing would be
// allowed: the effective user's access, so root may write a 0444 file and
// a read-only file system refuses everyone.
WriteResult CheckExisting(const Target& target) {
    const std::string folder = DirectoryOf(target.path);
    if (S_ISDIR(target.st.st_mode)) return Failed(WriteFailure::NotAFile, EISDIR, folder);
    if (::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0)
        return Failed(WriteFailure::FileNotWritable, errno, folder);
    return {true, 0, WriteFailure::None, folder};
}

// A pipe or a terminal has no good old content to protect: it is written
// as it stands. Other special files are not written at all.
WriteResult WriteStream(const Target& target, std::string_view bytes) {
    const std::string folder = DirectoryOf(target.path);
    if (!S_ISFIFO(target.st.st_mode) && !S_ISCHR(target.st.st_mode))
        return Failed(WriteFailure::NotAFile, EINVAL, folder);
    const int fd = ::open(target.path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Failed(WriteFailure::FileNotWritable, errno, folder);
    const bool written = WriteAll(fd, bytes);
    const int writeError = written ? 0 : errno;
    if (::close(fd) != 0 || !written)
        return Failed(WriteFailure::Io, written ? errno : writeError, folder);
    return {true, 0, WriteFailure::None, folder};
}

mode_t NewFileMode(FileAccess access) { return access == FileAccess::Private ? 0600 : 0644; }

// Gives the temporary file that replaces a file the old one's owner and
// mode where this user may.
bool KeepOwnerAndMode(int fd, const Target& target, FileAccess access) {
    mode_t mode = target.st.st_mode & 07777;
    // Root keeps both; another user keeps the group when a member of it.
    bool userKept = ::fchown(fd, target.st.st_uid, target.st.st_gid) == 0;
    const bool groupKept = userKept || ::fchown(fd, static_cast<uid_t>(-1), target.st.st_gid) == 0;
    userKept = userKept || target.st.st_uid == ::geteuid();
    // Set-id bits belong to the old owner and group; they do not pass on.
    if (!userKept) mode &= ~static_cast<mode_t>(S_ISUID);
    if (!groupKept) mode &= ~static_cast<mode_t>(S_ISGID);
    if (access == FileAccess::Private) mode &= ~static_cast<mode_t>(077 | S_ISUID | S_ISGID);
    return ::fchmod(fd, mode) == 0;
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path) {
    // O_NONBLOCK: opening a FIFO that has no writer would wait forever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    const bool readable =
        ::fstat(fd, &info) == 0 && (S_ISREG(info.st_mode) || S_ISFIFO(info.st_mode));
    // A pipe (a script's process substitution) is read to its end, which
    // its writer decides; without a writer that end is now.
    if (!readable ||
        (S_ISFIFO(info.st_mode) && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)) {
        ::close(fd);
        return std::nullopt;
    }
    std::optional<std::string> data;
    try {
        data.emplace();
        if (S_ISREG(info.st_mode)) data->reserve(static_cast<std::size_t>(info.st_size));
        // Until the end, not just the size the file had: files of /proc and
        // /sys tell no size of their own.
        char buffer[65536];
        while (true) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                data.reset();
                break;
            }
            if (n == 0) break;
            data->append(buffer, static_cast<std::size_t>(n));
        }
    } catch (const std::exception&) {
        data.reset();  // more than memory holds
    }
    ::close(fd);
    return data;
}

WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes,
                                FileAccess access) {
    if (path.empty()) return Failed(WriteFailure::NotAFile, ENOENT, ".");
    const Target target = ResolveTarget(path);
    if (!target.failure) return target.failure;
    const std::string folder = DirectoryOf(target.path);
    if (target.exists) {
        if (!S_ISREG(target.st.st_mode) && !S_ISDIR(target.st.st_mode))
            return WriteStream(target, bytes);
        if (WriteResult allowed = CheckExisting(target); !allowed) return allowed;
    }

    std::string tmpl;
    const int fd = OpenTemporary(folder, NewFileMode(access), tmpl);
    if (fd < 0) {
        const int error = errno;
        const bool folderRefused = error == EACCES || error == EPERM || error == EROFS ||
                                   error == ENOENT || error == ENOTDIR;
        return Failed(folderRefused ? WriteFailure::FolderNotWritable : WriteFailure::Io, error,
                      folder);
    }
    auto fail = [&](WriteFailure failure, int error) {
        ::close(fd);
        ::unlink(tmpl.c_str());
        return Failed(failure, error, folder);
    };
    if (target.exists && !KeepOwnerAndMode(fd, target, access))
        return fail(WriteFailure::Io, errno);
    if (!WriteAll(fd, bytes)) return fail(WriteFailure::Io, errno);
    if (::fsync(fd) != 0) return fail(WriteFailure::Io, errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(tmpl.c_str());
        return Failed(WriteFailure::Io, error, folder);
    }
    if (::rename(tmpl.c_str(), target.path.c_str()) != 0) {
        const int error = errno;
        ::unlink(tmpl.c_str());
        // A sticky folder keeps another user's file from being replaced.
        const bool refused = error == EACCES || error == EPERM;
        return Failed(refused ? WriteFailure::FileNotWritable : WriteFailure::Io, error, folder);
    }
    SyncFolder(folder);
    return {true, 0, WriteFailure::None, folder};
}

bool MayWriteFile(const std::string& path) {
    if (path.empty()) return false;
    const Target target = ResolveTarget(path);
    if (!target.failure) return false;
    if (target.exists && !S_ISREG(target.st.st_mode)) return false;
    if (target.exists && !CheckExisting(target)) return false;
    return ::faccessat(AT_FDCWD, DirectoryOf(target.path).c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

WriteResult AppendToFile(const std::string& path, std::string_view bytes) {
    if (path.empty()) return Failed(WriteFailure::NotAFile, ENOENT, ".");
    const Target target = ResolveTarget(path);
    if (!target.failure) return target.failure;
    const std::string folder = DirectoryOf(target.path);
    if (target.exists) {
        if (WriteResult allowed = CheckExisting(target); !allowed) return allowed;
    }
    const int fd =
        ::open(target.path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOCTTY | O_CLOEXEC, 0640);
    if (fd < 0) {
        const int error = errno;
        const WriteFailure failure =
            target.exists ? WriteFailure::FileNotWritable : WriteFailure::FolderNotWritable;
        return Failed(error == EACCES || error == EPERM || error == EROFS || error == ENOENT
                          ? failure
                          : WriteFailure::Io,
                      error, folder);
    }
    // One write: lines appended by another process never come between the
    // parts of ours, and a short write (a full disk) is reported, not finished.
    ssize_t written;
    do {
        written = ::write(fd, bytes.data(), bytes.size());
    } while (written < 0 && errno == EINTR);
    const int error = written < 0 ? errno : ENOSPC;
    const bool whole = written == static_cast<ssize_t>(bytes.size());
    if (::close(fd) != 0 || !whole) return Failed(WriteFailure::Io, whole ? errno : error, folder);
    return {true, 0, WriteFailure::None, folder};
}

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::string CurrentDirectory() {
    char buffer[PATH_MAX];
    if (::getcwd(buffer, sizeof buffer) == nullptr) return ".";
    return buffer;
}

}  // namespace rvq
