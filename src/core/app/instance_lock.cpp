#include "core/app/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <tuple>
#include <utility>

namespace rvq {

namespace {

// The lock file lives in a folder every user can write, so its name may be
// a link or a special file planted by someone else: it is never followed,
// never written and only a regular file is accepted. flock needs no write
// access, so a file another user created opens read-only whatever its mode
// (and an O_CREAT open of another user's file in a sticky folder would be
// refused under protected_regular).
int OpenLockFile(const std::string& path) {
    constexpr int kFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    for (int attempt = 0; attempt < 2; ++attempt) {
        int fd = ::open(path.c_str(), kFlags);
        if (fd >= 0 || errno != ENOENT) return fd;
        fd = ::open(path.c_str(), kFlags | O_CREAT | O_EXCL, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) return -1;  // created by someone else meanwhile: open theirs
    }
    return -1;
}

}  // namespace

std::optional<InstanceLock> InstanceLock::TryAcquire(const std::string& path) {
    const int fd = OpenLockFile(path);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    // Another user's instance must be able to open the same file, whatever
    // our umask; failure only matters to that other user.
    if (st.st_uid == ::geteuid() && (st.st_mode & 0777) != 0666) std::ignore = ::fchmod(fd, 0666);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    return InstanceLock(fd);
}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

InstanceLock& InstanceLock::operator=(InstanceLock&& other) noexcept {
    if (this != &other) {
        Release();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

InstanceLock::~InstanceLock() { Release(); }

void InstanceLock::Release() {
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
    }
}

}  // namespace rvq
