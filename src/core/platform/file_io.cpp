#include "core/platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "core/platform/input_file.h"

namespace rvq {

std::optional<std::string> ReadFileBytes(const std::string& path) {
    InputFile file(path);
    if (!file.ok()) return std::nullopt;
    std::string data;
    std::uint8_t buffer[65536];
    try {
        data.reserve(static_cast<std::size_t>(file.size()));
        // Until the end, not just the size the file had: files of /proc and
        // /sys tell no size of their own.
        while (true) {
            const long long n = file.ReadAt(data.size(), buffer);
            if (n < 0) return std::nullopt;
            if (n == 0) break;
            data.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(n));
        }
    } catch (const std::exception&) {
        return std::nullopt;  // more than memory holds
    }
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
