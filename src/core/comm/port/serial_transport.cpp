#include "core/comm/port/serial_transport.h"

#include "core/comm/port/device_names.h"
#include "core/comm/port/fd_io.h"
#include "core/comm/port/serial_settings.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <tuple>

namespace rvq {

namespace {
constexpr int kReadSliceMs = 100;    // one device read waits at most this long
constexpr int kChunkLimitMs = 1000;  // the line's own limit for one chunk
constexpr int kSettleMs = 300;       // before the queues are flushed
}  // namespace

IoResult SerialTransport::Open(const std::string& target, const std::string& settings) {
    const int number = PortNumberOf(target);
    if (number < 1 || number > 256) return IoResult::Failed(PortStatus::BadParameter, 0);

    const std::string node = DeviceNodeFor(InterfaceKind::Com, number);
    fd_ = ::open(node.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return IoResult::Failed(PortStatus::OpenFailed, static_cast<std::uint32_t>(errno));
    // The line is ours alone while open.
    std::ignore = ::ioctl(fd_, TIOCEXCL);

    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) {
        const auto error = static_cast<std::uint32_t>(errno);
        Close();
        return IoResult::Failed(PortStatus::OpenFailed, error);
    }
    if (!ApplySerialLine(ParseSerialLine(settings), tio)) {
        Close();
        return IoResult::Failed(PortStatus::OpenFailed, 0);
    }
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) {
        const auto error = static_cast<std::uint32_t>(errno);
        Close();
        return IoResult::Failed(PortStatus::OpenFailed, error);
    }
    // DTR and RTS stay asserted: no flow drives them as a handshake on
    // this side, except RTS under CRTSCTS, which the driver then keeps.
    // A pseudo-terminal has no modem lines; that is not an error.
    int lines = TIOCM_DTR | TIOCM_RTS;
    std::ignore = ::ioctl(fd_, TIOCMBIS, &lines);
    clock_.SleepMs(kSettleMs);
    std::ignore = ::tcflush(fd_, TCIOFLUSH);
    return IoResult::Done(0);
}

void SerialTransport::Close() {
    if (fd_ < 0) return;
    std::ignore = ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

IoResult SerialTransport::Read(std::span<std::uint8_t> buffer, int timeoutMs) {
    return fdio::ReadInSlices(fd_, buffer, clock_, timeoutMs, kReadSliceMs);
}

IoResult SerialTransport::Write(std::span<const std::uint8_t> data, int timeoutMs) {
    return fdio::WriteInChunks(fd_, data, clock_, timeoutMs, kChunkLimitMs);
}

}  // namespace rvq
