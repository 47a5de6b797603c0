#include "core/comm/port/tcp_transport.h"

#include "core/app/text.h"
#include "core/comm/port/fd_io.h"
#include "core/comm/port/host_address.h"
#include "core/comm/port/loopback_guard.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

namespace rvq {

namespace {

constexpr int kConnectSliceMs = 100;

std::uint32_t Errno() { return static_cast<std::uint32_t>(errno); }

}  // namespace

IoResult TcpTransport::FailOpen(PortStatus status, std::uint32_t error) {
    Close();
    return IoResult::Failed(status, error);
}

IoResult TcpTransport::Open(const std::string&, const std::string& settings) {
    const std::size_t comma = settings.rfind(',');
    if (comma == std::string::npos) return FailOpen(PortStatus::OpenFailed, 0);
    const std::string host = settings.substr(0, comma);
    const int port = ParseLeadingInt(std::string_view(settings).substr(comma + 1));
    // A port number that does not fit would silently reach another port.
    if (port < 1 || port > 65535) return FailOpen(PortStatus::OpenFailed, 0);
    // Refused before a socket exists, so not one packet goes out.
    if (LoopbackRefusal(host)) return FailOpen(PortStatus::OpenFailed, kLoopbackRefusedErrno);
    const std::optional<in_addr> address = ResolveIpv4(host);
    if (!address) return FailOpen(PortStatus::OpenFailed, 0);
    if (LoopbackRefusal(host, ntohl(address->s_addr)))
        return FailOpen(PortStatus::OpenFailed, kLoopbackRefusedErrno);

    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
    if (fd_ < 0) return FailOpen(PortStatus::OpenFailed, Errno());

    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<std::uint16_t>(port));
    peer.sin_addr = *address;
    if (IoResult connected = Connect(&peer, sizeof peer); !connected.ok) return connected;

    const linger lingerOn{1, 1};
    if (::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &lingerOn, sizeof lingerOn) != 0) {
        return FailOpen(PortStatus::OpenFailed, Errno());
    }
    return IoResult::Done(0);
}

// Non-blocking, so an unanswered connect ends after the limit or when the
// job is cancelled instead of hanging in the kernel's retries.
IoResult TcpTransport::Connect(const void* address, unsigned addressSize) {
    if (::connect(fd_, static_cast<const sockaddr*>(address), addressSize) == 0)
        return IoResult::Done(0);
    if (errno != EINPROGRESS && errno != EINTR) return FailOpen(PortStatus::OpenFailed, Errno());
    const fdio::Deadline end = fdio::After(clock_, kConnectLimitMs);
    int waits = 0;
    for (;;) {
        if (cancel_ != nullptr && cancel_->load()) return FailOpen(PortStatus::OpenFailed, 0);
        const int left = fdio::MsUntil(end);
        if (left == 0) return FailOpen(PortStatus::OpenFailed, ETIMEDOUT);
        const int events =
            fdio::PollOnce(fd_, POLLOUT, std::min(left, clock_.ToRealMs(kConnectSliceMs)));
        ++waits;
        if (events < 0) return FailOpen(PortStatus::OpenFailed, Errno());
        if (events == 0) continue;
        const std::uint32_t error = fdio::PendingError(fd_);
        if (error != 0) return FailOpen(PortStatus::OpenFailed, error);
        return IoResult::Done(0, waits);
    }
}

void TcpTransport::Close() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

IoResult TcpTransport::Read(std::span<std::uint8_t> buffer, int timeoutMs) {
    if (buffer.empty()) return IoResult::Failed(PortStatus::ReadFailed, 0);
    // Slices of at most 500 ms: one for up to 500 ms, three for 1200 ms.
    int left = std::max(timeoutMs, 0);
    const int slices = std::max(1, (left + kReadSliceMs - 1) / kReadSliceMs);
    for (int waits = 1; waits <= slices; ++waits) {
        const int slice = std::min(left, kReadSliceMs);
        left -= slice;
        const int events =
            fdio::PollOnce(fd_, POLLIN | POLLPRI, slice > 0 ? clock_.ToRealMs(slice) : 0);
        if (events < 0) return IoResult::Failed(PortStatus::ReadFailed, Errno(), waits);
        if (events == 0) continue;
        if (events & POLLIN) {
            const ssize_t n = ::recv(fd_, buffer.data(), buffer.size(), 0);
            if (n > 0) return IoResult::Done(static_cast<std::size_t>(n), waits);
            if (n == 0) return IoResult::Failed(PortStatus::ReadFailed, 0, waits);  // peer closed
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
            return IoResult::Failed(PortStatus::ReadFailed, Errno(), waits);
        }
        const std::uint32_t error = (events & POLLERR) ? fdio::PendingError(fd_) : 0;
        return IoResult::Failed(PortStatus::ReadFailed, error, waits);
    }
    return IoResult::Failed(PortStatus::TimedOut, 0, slices);
}

// Non-blocking sends, so a printer that stops reading cannot hold the
// caller past the time-out; MSG_NOSIGNAL keeps a closed peer from raising
// SIGPIPE.
IoResult TcpTransport::Write(std::span<const std::uint8_t> data, int timeoutMs) {
    std::size_t sent = 0;
    int waits = 0;
    fdio::Deadline end = fdio::After(clock_, timeoutMs);
    while (sent < data.size()) {
        const int left = fdio::MsUntil(end);
        const int events =
            fdio::PollOnce(fd_, POLLOUT, std::min(left, clock_.ToRealMs(kWriteSliceMs)));
        ++waits;
        if (events < 0) return IoResult::Failed(PortStatus::WriteFailed, Errno(), waits);
        if (events & POLLOUT) {
            const ssize_t n = ::send(fd_, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
            if (n > 0) {
                sent += static_cast<std::size_t>(n);
                clock_.SleepMs(kBlockPauseMs);
                end = fdio::After(clock_, timeoutMs);
                continue;
            }
            if (n == 0) return IoResult::Failed(PortStatus::WriteFailed, 0, waits);
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
                return IoResult::Failed(PortStatus::WriteFailed, Errno(), waits);
            }
        } else if (events != 0) {
            const std::uint32_t error = (events & POLLERR) ? fdio::PendingError(fd_) : 0;
            return IoResult::Failed(PortStatus::WriteFailed, error, waits);
        }
        if (fdio::MsUntil(end) == 0) return IoResult::Failed(PortStatus::TimedOut, 0, waits);
    }
    return IoResult::Done(sent, waits);
}

}  // namespace rvq
