#include "sim/sim_server.h"

#include <arpa/inet.h>
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
#include <utility>

#include "sim/tcp_listener.h"

namespace rvq::sim {
namespace {

std::string HostForDisplay(const std::string& host) {
    return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

}  // namespace

bool IsLoopbackIpv4(const std::string& address) {
    in_addr parsed{};
    return inet_pton(AF_INET, address.c_str(), &parsed) == 1 &&
           (ntohl(parsed.s_addr) >> 24) == 127u;
}

SimServer::SimServer(Clock clock) : clock_(clock) {}

SimServer::~SimServer() { Stop(); }

int SimServer::AddPrinter(PrinterSetup setup) {
    std::lock_guard lock(mutex_);
    Station station;
    station.printer = std::make_unique<SimPrinter>(std::move(setup.printer));
    station.endpoint = std::move(setup.endpoint);
    switch (station.endpoint.kind) {
        case EndpointConfig::Kind::Lan:
            station.printer->SetLink(LinkKind::Lan);
            break;
        case EndpointConfig::Kind::Pty:
            station.printer->SetLink(LinkKind::Serial);
            break;
        case EndpointConfig::Kind::Usb:
            station.printer->SetLink(LinkKind::Usb);
            break;
    }
    if (station.endpoint.kind == EndpointConfig::Kind::Usb) {
        int sameFolder = 0;
        for (const Station& other : stations_) {
            if (other.endpoint.kind == EndpointConfig::Kind::Usb &&
                other.endpoint.usbFolder == station.endpoint.usbFolder)
                ++sameFolder;
        }
        station.usb = UsbDevice{station.endpoint.usbFolder, sameFolder,
                                station.endpoint.usbProductId, station.endpoint.usbSerial};
    }
    stations_.push_back(std::move(station));
    return static_cast<int>(stations_.size()) - 1;
}

bool SimServer::Start(std::string& error) {
    std::lock_guard lock(mutex_);
    if (started_) return true;
    for (const Station& station : stations_) {
        if (!station.printer->loadError().empty()) {
            error = station.printer->loadError();
            return false;
        }
    }
    if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = "cannot create the wake pipe";
        return false;
    }
    for (int i = 0; i < static_cast<int>(stations_.size()); ++i) {
        if (!OpenEndpoint(i, error)) {
            for (int j = 0; j <= i; ++j) CloseLinksOf(j);
            links_.clear();
            close(wake_[0]);
            close(wake_[1]);
            wake_[0] = wake_[1] = -1;
            return false;
        }
    }
    started_ = true;
    stopping_ = false;
    thread_ = std::thread([this] { Run(); });
    return true;
}

bool SimServer::OpenEndpoint(int index, std::string& error) {
    Station& station = stations_[index];
    switch (station.endpoint.kind) {
        case EndpointConfig::Kind::Lan:
            station.listener = ListenTcp(station.endpoint.host, station.endpoint.port, error);
            if (station.listener < 0) return false;
            // The printer reports where it really is, not the model's default.
            if (IsLoopbackIpv4(station.endpoint.host))
                station.printer->SetLanParameters(station.endpoint.host, station.endpoint.port);
            return true;
        case EndpointConfig::Kind::Pty:
        case EndpointConfig::Kind::Usb:
            if (!OpenRawPty(station.pty, error)) return false;
            if (station.endpoint.kind == EndpointConfig::Kind::Usb &&
                !PlugUsbDevice(station.usb, station.pty.slavePath, error)) {
                CloseRawPty(station.pty);
                return false;
            }
            AddLink(station.pty.master, index, false);
            return true;
    }
    return false;
}

void SimServer::AddLink(int fd, int index, bool isSocket) {
    links_.push_back(
        std::make_unique<Link>(fd, index, isSocket, stations_[index].printer->MakeDecoder()));
}

void SimServer::Stop() {
    {
        std::lock_guard lock(mutex_);
        if (!started_) return;
        started_ = false;
    }
    stopping_ = true;
    const char byte = 0;
    std::ignore = write(wake_[1], &byte, 1);
    if (thread_.joinable()) thread_.join();
    std::lock_guard lock(mutex_);
    for (int i = 0; i < static_cast<int>(stations_.size()); ++i) CloseLinksOf(i);
    links_.clear();
    close(wake_[0]);
    close(wake_[1]);
    wake_[0] = wake_[1] = -1;
}

// Closes every link and endpoint of a printer (the fds, not the printer).
void SimServer::CloseLinksOf(int index) {
    Station& station = stations_[index];
    for (auto& link : links_) {
        if (link->station != index || link->dead) continue;
        if (link->isSocket) close(link->fd);
        link->dead = true;
    }
    if (station.listener >= 0) close(station.listener);
    station.listener = -1;
    if (station.pty.master >= 0) CloseRawPty(station.pty);
    if (station.endpoint.kind == EndpointConfig::Kind::Usb) UnplugUsbDevice(station.usb);
}

int SimServer::PrinterCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(stations_.size());
}

std::string SimServer::Announcement(int index) const {
    std::lock_guard lock(mutex_);
    const Station& station = stations_.at(index);
    switch (station.endpoint.kind) {
        case EndpointConfig::Kind::Lan:
            return "listening " + HostForDisplay(station.endpoint.host) + ":" +
                   std::to_string(station.endpoint.port);
        case EndpointConfig::Kind::Pty:
            return "pty " + station.pty.slavePath;
        case EndpointConfig::Kind::Usb:
            return "usb " + station.usb.NodePath();
    }
    return {};
}

int SimServer::Port(int index) const {
    std::lock_guard lock(mutex_);
    return stations_.at(index).endpoint.port;
}

std::string SimServer::PtyPath(int index) const {
    std::lock_guard lock(mutex_);
    return stations_.at(index).pty.slavePath;
}

std::string SimServer::UsbNode(int index) const {
    std::lock_guard lock(mutex_);
    return stations_.at(index).usb.NodePath();
}

void SimServer::SetFaults(int index, FaultPlan faults) {
    std::lock_guard lock(mutex_);
    stations_.at(index).printer->config().faults = std::move(faults);
}

void SimServer::Configure(int index, const std::function<void(SimPrinter&)>& change) {
    std::lock_guard lock(mutex_);
    change(*stations_.at(index).printer);
}

void SimServer::Inspect(int index, const std::function<void(const SimPrinter&)>& look) const {
    std::lock_guard lock(mutex_);
    look(*stations_.at(index).printer);
}

std::pair<long long, std::string> SimServer::ReceivedStream(int index) const {
    std::lock_guard lock(mutex_);
    const Station& station = stations_.at(index);
    Sha256 digest = station.receivedDigest;
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (std::uint8_t byte : digest.Finish()) {
        hex += kHex[byte >> 4];
        hex += kHex[byte & 15];
    }
    return {station.receivedBytes, hex};
}

PrinterMode SimServer::Mode(int index) const {
    std::lock_guard lock(mutex_);
    return stations_.at(index).printer->mode();
}

bool SimServer::Down(int index) const {
    std::lock_guard lock(mutex_);
    return stations_.at(index).downUntil.has_value();
}

bool SimServer::WaitUntilDisconnected(int index, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return linksChanged_.wait_for(lock, timeout, [&] {
        return std::none_of(links_.begin(), links_.end(), [index](const auto& link) {
            return link->station == index && link->isSocket && !link->dead;
        });
    });
}

int SimServer::MostConnectedPrinters() const {
    std::lock_guard lock(mutex_);
    return mostConnected_;
}

int SimServer::MostConnectionsToOnePrinter() const {
    std::lock_guard lock(mutex_);
    return mostToOne_;
}

void SimServer::ResetMostConnectedPrinters() {
    std::lock_guard lock(mutex_);
    mostConnected_ = 0;
    mostToOne_ = 0;
}

std::chrono::milliseconds SimServer::Real(int protocolMs) const {
    return std::chrono::milliseconds(clock_.ToRealMs(protocolMs));
}

void SimServer::Run() {
    while (!stopping_) ServeOnce();
}

}  // namespace rvq::sim
