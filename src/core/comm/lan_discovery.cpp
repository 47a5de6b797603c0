#include "core/comm/lan_discovery.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

#include "core/app/text.h"
#include "core/comm/fd_io.h"
#include "core/comm/loopback_guard.h"
#include "core/comm/reply_frames.h"

namespace rvq {

namespace {

constexpr std::size_t kReplyLimit = 100;

// Closes the socket on every way out of a probe.
struct SocketGuard {
    int fd;
    ~SocketGuard() {
        if (fd >= 0) ::close(fd);
    }
};

bool ParseAddress(const std::string& text, std::uint32_t& address) {
    const std::vector<std::string> parts = Split(text, '.');
    if (parts.size() != 4) return false;
    address = 0;
    for (const std::string& part : parts) {
        if (part.empty() || part.size() > 3 ||
            !std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        const int value = std::stoi(part);
        if (value > 255) return false;
        address = (address << 8) | static_cast<std::uint32_t>(value);
    }
    return true;
}

std::string AddressText(std::uint32_t a) {
    return Format("%u.%u.%u.%u", a >> 24, (a >> 16) & 255u, (a >> 8) & 255u, a & 255u);
}

bool Connect(int fd, const sockaddr_in& peer, fdio::Deadline end) {
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) return true;
    if (errno != EINPROGRESS) return false;
    const int left = fdio::MsUntil(end);
    if (left == 0 || fdio::PollOnce(fd, POLLOUT, left) <= 0) return false;
    return fdio::PendingError(fd) == 0;
}

}  // namespace

std::optional<Ipv4Range> ParseIpv4Range(const std::string& text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos) return std::nullopt;
    std::uint32_t address = 0;
    if (!ParseAddress(text.substr(0, slash), address)) return std::nullopt;
    const std::string bits = text.substr(slash + 1);
    if (bits.empty() || bits.size() > 2 ||
        !std::all_of(bits.begin(), bits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const int prefix = std::stoi(bits);
    if (prefix > 32) return std::nullopt;
    const std::uint32_t mask = prefix == 0 ? 0u : ~std::uint32_t{0} << (32 - prefix);
    return Ipv4Range{address & mask, prefix};
}

bool RangeIsLoopback(const Ipv4Range& range) {
    return range.prefix >= 8 && IsLoopbackAddress(range.network);
}

std::vector<std::string> RangeHosts(const Ipv4Range& range) {
    const std::uint64_t count = std::uint64_t{1} << (32 - range.prefix);
    std::uint64_t first = range.network;
    std::uint64_t last = first + count - 1;
    if (range.prefix < 31) {
        ++first;
        --last;
    }
    std::vector<std::string> hosts;
    hosts.reserve(static_cast<std::size_t>(last - first + 1));
    for (std::uint64_t a = first; a <= last; ++a)
        hosts.push_back(AddressText(static_cast<std::uint32_t>(a)));
    return hosts;
}

ProbeResult ProbeStatus(const std::string& host, int port, const std::string& request,
                        int timeoutMs, const Clock& clock) {
    ProbeResult result{host};
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<std::uint16_t>(port));
    if (inet_pton(AF_INET, host.c_str(), &peer.sin_addr) != 1) return result;
    if (LoopbackRefusal(host, ntohl(peer.sin_addr.s_addr))) {
        result.refused = true;
        return result;
    }
    SocketGuard socket{::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)};
    if (socket.fd < 0) return result;
    const fdio::Deadline end = fdio::After(clock, timeoutMs);
    if (!Connect(socket.fd, peer, end)) return result;
    const auto* data = reinterpret_cast<const std::uint8_t*>(request.data());
    const fdio::PartialWrite sent = fdio::WriteUntil(socket.fd, {data, request.size()}, end);
    if (sent.written != request.size()) return result;

    std::string reply;
    char buffer[kReplyLimit];
    while (reply.size() < kReplyLimit && ParseStatusFrame(reply) == status::kNoFrame) {
        const int left = fdio::MsUntil(end);
        if (left == 0 || fdio::PollOnce(socket.fd, POLLIN, left) <= 0) break;
        const ssize_t got = ::recv(socket.fd, buffer, kReplyLimit - reply.size(), 0);
        if (got <= 0) break;
        reply.append(buffer, static_cast<std::size_t>(got));
    }
    result.status = ParseStatusFrame(reply);
    result.answered = result.status != status::kNoFrame;
    return result;
}

std::vector<ProbeResult> ProbeHosts(const std::vector<std::string>& hosts, int port,
                                    const std::string& request, int timeoutMs, const Clock& clock,
                                    int concurrency, const std::atomic<bool>* cancel) {
    std::vector<ProbeResult> results(hosts.size());
    for (std::size_t i = 0; i < hosts.size(); ++i) results[i].host = hosts[i];
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < hosts.size(); i = next++) {
            if (cancel != nullptr && cancel->load()) return;
            results[i] = ProbeStatus(hosts[i], port, request, timeoutMs, clock);
        }
    };
    const std::size_t workers =
        std::min<std::size_t>(hosts.size(), static_cast<std::size_t>(std::max(concurrency, 1)));
    {
        // Joined here, before the results are handed back.
        std::vector<std::jthread> threads;
        threads.reserve(workers);
        for (std::size_t i = 0; i < workers; ++i) threads.emplace_back(work);
    }
    return results;
}

}  // namespace rvq
