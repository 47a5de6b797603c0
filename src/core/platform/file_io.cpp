#include "core/platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace rvq {

std::optional<std::string> ReadFileBytes(const std::string& path) {
    // O_NONBLOCK: opening a FIFO that has no writer would wait forever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    const bool readable = ::fstat(fd, &info) == 0 && (S_ISREG(info.st_mode) || S_ISFIFO(info.st_mode));
    // A pipe (a script's process substitution) is read to its end, which
    // its writer decides; without a writer that end is now.
    if (!readable || (S_ISFIFO(info.st_mode) && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)) {
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

WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes, unsigned mode) {
    std::string tmpl = JoinPath(DirectoryOf(path), ".rvq-XXXXXX");
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) return {false, errno};
    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(tmpl.c_str());
        return WriteResult{false, err};
    };

    struct stat existing {};
    mode_t wanted;
    if (::stat(path.c_str(), &existing) == 0) {
        wanted = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        wanted = static_cast<mode_t>(mode) & ~mask;
    }
    if (::fchmod(fd, wanted) != 0) return fail(errno);

    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        return {false, err};
    }
    if (::rename(tmpl.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        return {false, err};
    }
    return {true, 0};
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
