#include "sim_wire.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace rvq::sim::test {
namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

int ConnectTcp(int port) { return ConnectTcp("127.0.0.1", port); }

int ConnectTcp(const std::string& host, int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    // Tests talk to loopback addresses only.
    if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1 ||
        (ntohl(address.sin_addr.s_addr) >> 24) != 127) {
        errno = EINVAL;
        return -1;
    }
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        const int saved = errno;
        close(fd);
        errno = saved;
        return -1;
    }
    return fd;
}

int OpenRawTerminal(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return -1;
    termios settings{};
    if (tcgetattr(fd, &settings) == 0) {
        cfmakeraw(&settings);
        tcsetattr(fd, TCSANOW, &settings);
    }
    return fd;
}

bool SendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool HasFrame(std::string_view bytes) {
    const std::size_t start = bytes.find("\x01\x02");
    return start != std::string_view::npos &&
           bytes.find("\x03\x04\r\n", start + 2) != std::string_view::npos;
}

std::string ReadOnce(int fd, milliseconds timeout) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(timeout.count())) <= 0) return {};
    char buffer[4096];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

std::string ReadUntilFrame(int fd, milliseconds timeout, std::string received) {
    const auto deadline = Clock::now() + timeout;
    while (!HasFrame(received)) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, RemainingMs(deadline)) <= 0) break;
        char buffer[4096];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        received.append(buffer, static_cast<std::size_t>(n));
    }
    return received;
}

bool WaitForClose(int fd, milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, RemainingMs(deadline)) <= 0) return false;
        char buffer[256];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) return true;
    }
}

bool Eventually(const std::function<bool()>& condition, milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!condition()) {
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(milliseconds(5));
    }
    return true;
}

}  // namespace rvq::sim::test
