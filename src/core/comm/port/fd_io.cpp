#include "core/comm/port/fd_io.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace rvq::fdio {

Deadline After(const Clock& clock, int protocolMs) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(clock.ToRealMs(protocolMs));
}

int MsUntil(Deadline deadline) {
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) return 0;
    // Round up so that a wait never ends just before its deadline.
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(std::min<long long>(ms, 1 << 30));
}

int PollOnce(int fd, short events, int realMs) {
    const Deadline deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(realMs, 0));
    pollfd entry{fd, events, 0};
    for (;;) {
        const int result = ::poll(&entry, 1, MsUntil(deadline));
        if (result > 0) return entry.revents;
        if (result == 0) return 0;
        if (errno != EINTR) return -1;
    }
}

std::uint32_t PendingError(int fd) {
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) return 0;
    return static_cast<std::uint32_t>(error);
}

PartialWrite WriteUntil(int fd, std::span<const std::uint8_t> data, Deadline deadline) {
    PartialWrite result;
    while (result.written < data.size()) {
        const ssize_t n = ::write(fd, data.data() + result.written, data.size() - result.written);
        if (n > 0) {
            result.written += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            result.error = errno;
            return result;
        }
        const int wait = MsUntil(deadline);
        if (wait == 0) return result;
        const int events = PollOnce(fd, POLLOUT, wait);
        if (events < 0) {
            result.error = errno;
            return result;
        }
        if (events == 0) return result;
        if ((events & POLLOUT) == 0 && (events & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            // Let the next write report why the device refuses.
            const ssize_t probe =
                ::write(fd, data.data() + result.written, data.size() - result.written);
            if (probe > 0) {
                result.written += static_cast<std::size_t>(probe);
                continue;
            }
            result.error = probe < 0 ? errno : EIO;
            return result;
        }
    }
    return result;
}

IoResult ReadInSlices(int fd, std::span<std::uint8_t> buffer, const Clock& clock, int timeoutMs,
                      int sliceMs) {
    if (buffer.empty()) return IoResult::Failed(PortStatus::ReadFailed, 0);
    const Deadline end = After(clock, timeoutMs);
    int waits = 0;
    do {
        const int events = PollOnce(fd, POLLIN, clock.ToRealMs(sliceMs));
        ++waits;
        if (events < 0)
            return IoResult::Failed(PortStatus::ReadFailed, static_cast<std::uint32_t>(errno),
                                    waits);
        if (events == 0) continue;
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n > 0) return IoResult::Done(static_cast<std::size_t>(n), waits);
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            return IoResult::Failed(PortStatus::ReadFailed, static_cast<std::uint32_t>(errno),
                                    waits);
        }
        if (events & (POLLHUP | POLLERR | POLLNVAL)) {
            // Nothing to read and nothing will come: fail now instead of
            // spinning on the hang-up until the time-out.
            return IoResult::Failed(PortStatus::ReadFailed, 0, waits);
        }
    } while (MsUntil(end) > 0);
    return IoResult::Failed(PortStatus::TimedOut, 0, waits);
}

IoResult WriteInChunks(int fd, std::span<const std::uint8_t> data, const Clock& clock,
                       int timeoutMs, int chunkLimitMs) {
    const Deadline end = After(clock, timeoutMs);
    std::size_t offset = 0;
    while (offset < data.size()) {
        if (offset > 0 && MsUntil(end) == 0) return IoResult::Failed(PortStatus::TimedOut, 0);
        const auto chunk = data.subspan(offset, std::min(kChunkBytes, data.size() - offset));
        const Deadline chunkEnd = std::min(end, After(clock, chunkLimitMs));
        const PartialWrite written = WriteUntil(fd, chunk, chunkEnd);
        if (written.error != 0) {
            return IoResult::Failed(PortStatus::WriteFailed,
                                    static_cast<std::uint32_t>(written.error));
        }
        if (written.written == 0) {
            // The line took nothing: past the caller's time-out that is a
            // time-out, within it the device's own limit gave up.
            const PortStatus status =
                MsUntil(end) == 0 ? PortStatus::TimedOut : PortStatus::WriteFailed;
            return IoResult::Failed(status, 0);
        }
        offset += written.written;
        clock.SleepMs(kChunkPauseMs);
    }
    return IoResult::Done(offset);
}

}  // namespace rvq::fdio
