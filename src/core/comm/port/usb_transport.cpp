#include "core/comm/port/usb_transport.h"

#include "core/comm/port/fd_io.h"
#include "core/comm/port/usb_devices.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace rvq {

IoResult UsbTransport::Open(const std::string& target, const std::string&) {
    const std::string node = UsbNodeOf(target);
    fd_ = ::open(node.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return IoResult::Failed(PortStatus::OpenFailed, static_cast<std::uint32_t>(errno));
    return IoResult::Done(0);
}

void UsbTransport::Close() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

// One wait of the whole time-out; what arrived by then is the result.
IoResult UsbTransport::Read(std::span<std::uint8_t> buffer, int timeoutMs) {
    return fdio::ReadInSlices(fd_, buffer, clock_, timeoutMs, std::max(timeoutMs, 0));
}

// Every chunk must go through within the time-out.
IoResult UsbTransport::Write(std::span<const std::uint8_t> data, int timeoutMs) {
    std::size_t offset = 0;
    while (offset < data.size()) {
        const auto chunk = data.subspan(offset, std::min(fdio::kChunkBytes, data.size() - offset));
        const fdio::PartialWrite written =
            fdio::WriteUntil(fd_, chunk, fdio::After(clock_, timeoutMs));
        if (written.error != 0) {
            return IoResult::Failed(PortStatus::WriteFailed,
                                    static_cast<std::uint32_t>(written.error));
        }
        if (written.written < chunk.size()) return IoResult::Failed(PortStatus::TimedOut, 0);
        offset += chunk.size();
        clock_.SleepMs(fdio::kChunkPauseMs);
    }
    return IoResult::Done(offset);
}

}  // namespace rvq
