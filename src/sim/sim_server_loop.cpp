// The serving loop of SimServer: links in, answers out, restarts.
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <tuple>

#include "sim/sim_server.h"
#include "sim/tcp_listener.h"

namespace rvq::sim {

void SimServer::ServeOnce() {
    enum class Source { Wake, Listener, Link };
    std::vector<pollfd> fds;
    std::vector<std::pair<Source, int>> sources;
    int timeoutMs = 0;
    {
        std::lock_guard lock(mutex_);
        fds.push_back({wake_[0], POLLIN, 0});
        sources.emplace_back(Source::Wake, 0);
        for (int i = 0; i < static_cast<int>(stations_.size()); ++i) {
            if (stations_[i].listener < 0) continue;
            fds.push_back({stations_[i].listener, POLLIN, 0});
            sources.emplace_back(Source::Listener, i);
        }
        for (int i = 0; i < static_cast<int>(links_.size()); ++i) {
            const Link& link = *links_[i];
            const long long stall =
                stations_[link.station].printer->config().faults.stallAfterBytes;
            const bool full = stall >= 0 && link.received >= stall;
            // A full printer still notices its peer going away.
            fds.push_back({link.fd,
                           static_cast<short>((full ? POLLRDHUP : POLLIN) |
                                              (link.waitingToWrite ? POLLOUT : 0)),
                           0});
            sources.emplace_back(Source::Link, i);
        }
        timeoutMs = PollTimeoutMs();
    }
    if (poll(fds.data(), fds.size(), timeoutMs) < 0 && errno != EINTR) return;
    if (stopping_) return;

    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < fds.size(); ++i) {
        if (fds[i].revents == 0) continue;
        const auto [source, index] = sources[i];
        if (source == Source::Wake) {
            char drain[64];
            while (read(wake_[0], drain, sizeof drain) > 0) {
            }
        } else if (source == Source::Listener) {
            if (stations_[index].listener == fds[i].fd) Accept(index);
        } else {
            Link& link = *links_[index];
            if (link.dead) continue;
            if (fds[i].revents & POLLOUT) link.waitingToWrite = false;
            if (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) ReadLink(link);
            if ((fds[i].revents & POLLRDHUP) && !link.dead && link.isSocket) {
                close(link.fd);
                link.dead = true;
            }
        }
    }

    const TimePoint now = Now();
    for (int i = 0; i < static_cast<int>(stations_.size()); ++i) {
        if (stations_[i].downUntil && *stations_[i].downUntil <= now) EndOutage(i);
    }
    std::vector<int> restarts;
    for (auto& link : links_) {
        if (!link->dead) WriteLink(*link, restarts);
    }
    for (int index : restarts) BeginOutage(index);
    std::erase_if(links_, [](const std::unique_ptr<Link>& link) { return link->dead; });
    NoteConnectedPrinters();
}

void SimServer::NoteConnectedPrinters() {
    std::vector<int> connections(stations_.size(), 0);
    for (const auto& link : links_) {
        if (link->isSocket) ++connections[static_cast<std::size_t>(link->station)];
    }
    if (logConnections_) {
        connections_.resize(connections.size(), 0);
        for (std::size_t i = 0; i < connections.size(); ++i) {
            if (connections[i] != connections_[i])
                log_.AppendConnections(clock_.NowMs(), static_cast<int>(i), connections[i]);
        }
        connections_ = connections;
    }
    const int now = static_cast<int>(
        std::count_if(connections.begin(), connections.end(), [](int n) { return n > 0; }));
    mostConnected_ = std::max(mostConnected_, now);
    for (int n : connections) mostToOne_ = std::max(mostToOne_, n);
    linksChanged_.notify_all();
}

int SimServer::PollTimeoutMs() const {
    std::optional<TimePoint> next;
    auto consider = [&](TimePoint t) {
        if (!next || t < *next) next = t;
    };
    for (const Station& station : stations_) {
        if (station.downUntil) consider(*station.downUntil);
    }
    for (const auto& link : links_) {
        if (!link->out.empty() && !link->waitingToWrite) consider(link->out.front().due);
    }
    constexpr int kIdleMs = 1000;
    if (!next) return kIdleMs;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - Now()).count();
    return static_cast<int>(std::clamp<long long>(wait, 0, kIdleMs));
}

void SimServer::Accept(int index) {
    for (;;) {
        const int fd =
            accept4(stations_[index].listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) return;
        // Split replies must leave as separate segments.
        const int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        AddLink(fd, index, true);
    }
}

void SimServer::ReadLink(Link& link) {
    char buffer[8192];
    std::size_t room = sizeof buffer;
    const long long stall = stations_[link.station].printer->config().faults.stallAfterBytes;
    if (stall >= 0)
        room = static_cast<std::size_t>(
            std::clamp<long long>(stall - link.received, 0, static_cast<long long>(room)));
    if (room == 0) return;
    const ssize_t n = link.isSocket ? recv(link.fd, buffer, room, 0) : read(link.fd, buffer, room);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (n <= 0) {
        // A pty keeps its held slave open, so only sockets end here.
        if (link.isSocket) {
            close(link.fd);
            link.dead = true;
        }
        return;
    }
    Station& station = stations_[link.station];
    if (station.downUntil) return;  // a restarting printer hears nothing

    std::string_view bytes(buffer, static_cast<std::size_t>(n));
    const long long dropAfter = station.printer->config().faults.dropAfterBytes;
    bool drop = false;
    if (dropAfter >= 0 && link.received + static_cast<long long>(bytes.size()) >= dropAfter) {
        bytes = bytes.substr(0, static_cast<std::size_t>(std::max(0LL, dropAfter - link.received)));
        drop = true;
    }
    link.received += static_cast<long long>(bytes.size());
    station.receivedBytes += static_cast<long long>(bytes.size());
    station.receivedDigest.Update(bytes);
    for (const ReceivedCommand& command : link.decoder.Feed(bytes)) Answer(link, command);
    if (!drop) return;
    if (link.isSocket && !station.printer->config().faults.dropRestarts) {
        close(link.fd);
        link.dead = true;
    } else {
        BeginOutage(link.station);
    }
}

void SimServer::Answer(Link& link, const ReceivedCommand& command) {
    Station& station = stations_[link.station];
    const bool event = command.kind == ReceivedCommand::Kind::DataStart ||
                       command.kind == ReceivedCommand::Kind::DataProgress;
    if (!event) log_.Append(LogEntry{clock_.NowMs(), link.station, command});
    if (station.printer->config().faults.silent) return;
    // A printer writing its flash takes nothing in.
    if (station.busyUntil && *station.busyUntil > Now()) return;
    station.busyUntil.reset();
    Response response = station.printer->Handle(command);
    const FaultPlan& faults = station.printer->config().faults;
    if (response.busyMs > 0) station.busyUntil = Now() + Real(response.busyMs);

    TimePoint due = Now() + Real(faults.lateMs + response.delayMs);
    if (!link.out.empty()) due = std::max(due, link.out.back().due);
    if (!response.reply.empty() && faults.garbage.size() > 0)
        response.reply.insert(0, faults.garbage);
    if (response.restart && response.replyAfterRestartOnUsb &&
        station.endpoint.kind == EndpointConfig::Kind::Usb) {
        station.heldReply = std::move(response.reply);
        response.reply.clear();
    }
    const std::string& reply = response.reply;
    const std::size_t piece = faults.splitBytes > 0 ? faults.splitBytes : reply.size();
    for (std::size_t at = 0; at < reply.size(); at += piece) {
        link.out.push_back(Pending{due, reply.substr(at, piece), 0, false});
        due += Real(faults.splitGapMs);
    }
    if (response.restart) {
        if (!link.out.empty()) due = link.out.back().due;
        link.out.push_back(Pending{due, {}, 0, true});
    }
}

void SimServer::WriteLink(Link& link, std::vector<int>& restarts) {
    const TimePoint now = Now();
    while (!link.out.empty() && link.out.front().due <= now && !link.waitingToWrite) {
        Pending& head = link.out.front();
        while (head.offset < head.bytes.size()) {
            const char* data = head.bytes.data() + head.offset;
            const std::size_t size = head.bytes.size() - head.offset;
            const ssize_t n = link.isSocket ? send(link.fd, data, size, MSG_NOSIGNAL)
                                            : write(link.fd, data, size);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno == EAGAIN) {
                link.waitingToWrite = true;
                return;
            }
            if (n <= 0) {
                if (link.isSocket) {
                    close(link.fd);
                    link.dead = true;
                }
                link.out.clear();
                return;
            }
            head.offset += static_cast<std::size_t>(n);
        }
        if (head.restartAfter) restarts.push_back(link.station);
        link.out.pop_front();
    }
}

// The printer restarts or its link drops: LAN connections close and the
// port refuses new ones, a USB device is unplugged, a serial line goes
// deaf; after the restart time everything comes back.
void SimServer::BeginOutage(int index) {
    Station& station = stations_[index];
    if (station.downUntil) return;
    station.downUntil = Now() + Real(station.printer->config().restartMs);
    if (station.endpoint.kind == EndpointConfig::Kind::Pty) {
        for (auto& link : links_) {
            if (link->station != index) continue;
            link->out.clear();
            link->decoder.Reset();
        }
        return;
    }
    CloseLinksOf(index);
}

void SimServer::EndOutage(int index) {
    Station& station = stations_[index];
    station.printer->Restarted();
    std::string error;
    if (station.endpoint.kind == EndpointConfig::Kind::Lan) {
        FollowLanParameters(index);
        if (station.listener < 0)
            station.listener = ListenTcp(station.endpoint.host, station.endpoint.port, error);
    } else if (station.endpoint.kind == EndpointConfig::Kind::Usb) {
        std::ignore = OpenEndpoint(index, error);
    }
    if (!error.empty()) {
        // Try again shortly; the printer stays down meanwhile.
        std::fprintf(stderr, "printer %d: %s\n", index, error.c_str());
        station.downUntil = Now() + std::chrono::milliseconds(100);
        return;
    }
    station.downUntil.reset();
    if (!station.heldReply.empty()) {
        for (auto& link : links_) {
            if (link->station == index && !link->dead)
                link->out.push_back(Pending{Now(), station.heldReply, 0, false});
        }
        station.heldReply.clear();
    }
}

// A LAN printer whose address or port a set changed comes back from its
// restart there, as a real one does; but only on a loopback address, so a
// simulated printer never answers for another machine. Whatever happens,
// its parameters then report where it listens.
void SimServer::FollowLanParameters(int index) {
    Station& station = stations_[index];
    const auto wanted = station.printer->LanParameters();
    EndpointConfig& endpoint = station.endpoint;
    if (!wanted || !IsLoopbackIpv4(endpoint.host)) return;
    const auto& [address, port] = *wanted;
    if (address == endpoint.host && port == endpoint.port) return;
    if (!IsLoopbackIpv4(address) || port < 1 || port > 65535) {
        std::fprintf(
            stderr,
            "printer %d: not moving to %s:%d: a simulated printer listens on 127.0.0.0/8 only; "
            "staying at %s:%d\n",
            index, address.c_str(), port, endpoint.host.c_str(), endpoint.port);
    } else {
        std::string error;
        int bound = port;
        const int listener = ListenTcp(address, bound, error);
        if (listener < 0) {
            std::fprintf(stderr, "printer %d: not moving: %s; staying at %s:%d\n", index,
                         error.c_str(), endpoint.host.c_str(), endpoint.port);
        } else {
            if (station.listener >= 0) close(station.listener);
            station.listener = listener;
            endpoint.host = address;
            endpoint.port = bound;
            std::fprintf(stdout, "printer %d moved: listening %s:%d\n", index, address.c_str(),
                         bound);
            std::fflush(stdout);
        }
    }
    station.printer->SetLanParameters(endpoint.host, endpoint.port);
}

}  // namespace rvq::sim
