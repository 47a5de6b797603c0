#include "core/platform/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace rvq {

InputFile::InputFile(const std::string& path) {
    // O_NONBLOCK: opening a FIFO without a writer would wait forever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error_ = errno;
        return;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        error_ = errno;
        ::close(fd);
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        notRegular_ = true;
        ::close(fd);
        return;
    }
    fd_ = fd;
    size_ = static_cast<std::uint64_t>(info.st_size);
}

InputFile::~InputFile() {
    if (fd_ >= 0) ::close(fd_);
}

std::string InputFile::Problem() const {
    if (notRegular_) return "not a regular file";
    return error_ != 0 ? std::strerror(error_) : std::string();
}

long long InputFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> buffer) {
    if (fd_ < 0) return -1;
    while (true) {
        const ssize_t n = ::pread(fd_, buffer.data(), buffer.size(), static_cast<off_t>(offset));
        if (n >= 0) return n;
        if (errno == EINTR) continue;
        error_ = errno;
        return -1;
    }
}

}  // namespace rvq
