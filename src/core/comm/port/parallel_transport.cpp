#include "core/comm/port/parallel_transport.h"

#include "core/comm/port/device_names.h"
#include "core/comm/port/fd_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace rvq {

namespace {
// The device's own limit for one chunk; a busy printer gets this long.
constexpr int kChunkLimitMs = 30000;
}  // namespace

IoResult ParallelTransport::Open(const std::string& target, const std::string&) {
    const int number = PortNumberOf(target);
    if (number < 1 || number > 9) return IoResult::Failed(PortStatus::BadParameter, 0);
    const std::string node = DeviceNodeFor(InterfaceKind::Lpt, number);
    fd_ = ::open(node.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return IoResult::Failed(PortStatus::OpenFailed, static_cast<std::uint32_t>(errno));
    return IoResult::Done(0);
}

void ParallelTransport::Close() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

IoResult ParallelTransport::Read(std::span<std::uint8_t> buffer, int) {
    // Opened for writing only, so the read fails with the system's reason.
    const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
    return IoResult::Failed(PortStatus::ReadFailed, n < 0 ? static_cast<std::uint32_t>(errno) : 0);
}

IoResult ParallelTransport::Write(std::span<const std::uint8_t> data, int timeoutMs) {
    return fdio::WriteInChunks(fd_, data, clock_, timeoutMs, kChunkLimitMs);
}

}  // namespace rvq
