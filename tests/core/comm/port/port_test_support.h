#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// Small fixtures for the port tests: a temp folder, an environment
// override, a raw pseudo-terminal, a loopback listener and bounded waits.
namespace rvq::porttest {

using Bytes = std::vector<std::uint8_t>;
using SteadyClock = std::chrono::steady_clock;

inline Bytes ToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

inline constexpr auto kWaitLimit = std::chrono::seconds(10);

// Spins (yielding) until `done` holds or the limit passes.
inline bool WaitFor(const std::function<bool()>& done) {
    const auto end = SteadyClock::now() + kWaitLimit;
    while (!done()) {
        if (SteadyClock::now() > end) return false;
        std::this_thread::yield();
    }
    return true;
}

// Reads exactly `count` bytes from `fd`, or what came before the limit.
inline Bytes ReadExactly(int fd, std::size_t count) {
    Bytes out;
    const auto end = SteadyClock::now() + kWaitLimit;
    while (out.size() < count && SteadyClock::now() < end) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, 100) <= 0) continue;
        std::uint8_t buffer[4096];
        const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, count - out.size()));
        if (n <= 0) break;
        out.insert(out.end(), buffer, buffer + n);
    }
    return out;
}

inline bool WriteAll(int fd, const Bytes& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "rvq-port-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// A pseudo-terminal in raw mode; the test plays the printer on the master
// side and keeps a slave descriptor to look at the slave's input queue.
class Pty {
public:
    Pty() {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) return;
        slaveName_ = name;
        for (int fd : {master_, slave_}) {
            termios tio{};
            ::tcgetattr(fd, &tio);
            ::cfmakeraw(&tio);
            ::tcsetattr(fd, TCSANOW, &tio);
        }
    }
    ~Pty() {
        if (master_ >= 0) ::close(master_);
        if (slave_ >= 0) ::close(slave_);
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    int master() const { return master_; }
    const std::string& slaveName() const { return slaveName_; }

    // Bytes written by the printer that the port has not read yet.
    int Unread() const {
        int count = 0;
        return ::ioctl(slave_, FIONREAD, &count) == 0 ? count : -1;
    }
    bool WaitUntilRead() const {
        return WaitFor([this] { return Unread() == 0; });
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slaveName_;
};

// A listening TCP socket on 127.0.0.1 with an ephemeral port.
class LoopbackListener {
public:
    explicit LoopbackListener(int backlog = 4, int receiveBuffer = 0) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (receiveBuffer > 0)
            ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
            ::listen(fd_, backlog) == 0 &&
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
            port_ = ntohs(address.sin_port);
        }
    }
    ~LoopbackListener() { Stop(); }
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    int port() const { return port_; }
    std::string Settings(const std::string& host = "127.0.0.1") const {
        return host + "," + std::to_string(port_);
    }

    // The next connection (the caller closes it), -1 when none came.
    int Accept() const {
        pollfd entry{fd_, POLLIN, 0};
        if (::poll(&entry, 1, static_cast<int>(std::chrono::milliseconds(kWaitLimit).count())) <= 0)
            return -1;
        return ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    }

    void Stop() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
    int port_ = 0;
};

// Closes a descriptor at the end of a scope.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { Reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    void Reset() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

// A reply frame as the printers send it.
inline Bytes Frame(std::string_view payload) {
    return ToBytes("\x01\x02" + std::string(payload) + "\x03\x04\r\n");
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

}  // namespace rvq::porttest
