#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/comm/job/clock.h"
#include "sim/command_log.h"
#include "sim/pty.h"
#include "sim/sha256.h"
#include "sim/sim_printer.h"
#include "sim/usb_device.h"

namespace rvq::sim {

// True for a dotted IPv4 address in 127.0.0.0/8: the only addresses a
// simulated printer ever listens on after a set moved it.
bool IsLoopbackIpv4(const std::string& address);

// Where a printer is reached.
struct EndpointConfig {
    enum class Kind { Lan, Pty, Usb };
    Kind kind = Kind::Lan;
    std::string host = "127.0.0.1";  // Lan: numeric address
    int port = 0;                    // Lan: 0 picks a free port
    std::string usbFolder;           // Usb: where the sys/ and dev/ trees go
    int usbProductId = 83;           // Usb: as the tool's settings write it (decimal)
    std::string usbSerial;           // Usb: no serial file when empty
};

struct PrinterSetup {
    PrinterConfig printer;
    EndpointConfig endpoint;
};

// Serves any number of simulated printers from one thread: LAN printers
// on their own TCP ports, serial printers on pseudo-terminals, USB printers
// as a node in a fake sysfs tree. Used by the rvq-printer-sim program and,
// in-process, by the end-to-end tests.
class SimServer {
public:
    explicit SimServer(Clock clock = Clock());
    ~SimServer();
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    // Adds a printer (before Start); returns its index.
    int AddPrinter(PrinterSetup setup);

    // Opens every endpoint and starts serving. False, with a reason, when an
    // endpoint cannot be opened (nothing is served then).
    [[nodiscard]] bool Start(std::string& error);

    // Stops serving, closes every link and unplugs the USB printers.
    void Stop();

    int PrinterCount() const;

    // The line announcing a printer: "listening 127.0.0.1:PORT",
    // "pty /dev/pts/N" or "usb <node>".
    std::string Announcement(int index) const;
    int Port(int index) const;
    std::string PtyPath(int index) const;
    std::string UsbNode(int index) const;

    void SetFaults(int index, FaultPlan faults);
    // Runs `change` on a printer under the server's lock (extra handlers,
    // configuration, parameter fields).
    void Configure(int index, const std::function<void(SimPrinter&)>& change);
    // Runs `look` on a printer under the server's lock (its fields and state).
    void Inspect(int index, const std::function<void(const SimPrinter&)>& look) const;
    // Every byte a printer took in since it was added: the count and the
    // SHA-256, so a test can check a file arrived unchanged.
    std::pair<long long, std::string> ReceivedStream(int index) const;
    PrinterMode Mode(int index) const;
    // True while the printer is restarting (or its link is down).
    bool Down(int index) const;

    // Waits at most `timeout` until no LAN connection to the printer is open.
    bool WaitUntilDisconnected(int index, std::chrono::milliseconds timeout) const;
    // The most printers that had a LAN connection open at the same time
    // since Start (or the last reset).
    int MostConnectedPrinters() const;
    // The most LAN connections one printer had open at the same time.
    int MostConnectionsToOnePrinter() const;
    void ResetMostConnectedPrinters();
    // Logs every change of a printer's number of open LAN connections
    // (before Start).
    void LogConnections(bool on) { logConnections_ = on; }

    CommandLog& log() { return log_; }
    const Clock& clock() const { return clock_; }

private:
    using TimePoint = std::chrono::steady_clock::time_point;

    struct Pending {
        TimePoint due;
        std::string bytes;
        std::size_t offset = 0;
        bool restartAfter = false;
    };
    struct Link {
        Link(int fd_, int station_, bool isSocket_, CommandDecoder decoder_)
            : fd(fd_), station(station_), isSocket(isSocket_), decoder(std::move(decoder_)) {}
        int fd = -1;
        int station = 0;
        bool isSocket = false;
        CommandDecoder decoder;
        long long received = 0;
        std::deque<Pending> out;
        bool waitingToWrite = false;
        bool dead = false;
    };
    struct Station {
        std::unique_ptr<SimPrinter> printer;
        EndpointConfig endpoint;
        int listener = -1;
        RawPty pty;
        UsbDevice usb;
        std::optional<TimePoint> downUntil;
        std::optional<TimePoint> busyUntil;  // writing flash: commands are not taken
        std::string heldReply;               // given once a USB printer is back
        long long receivedBytes = 0;
        Sha256 receivedDigest;
    };

    bool OpenEndpoint(int index, std::string& error);
    void AddLink(int fd, int index, bool isSocket);
    void Run();
    void ServeOnce();
    void Accept(int index);
    void ReadLink(Link& link);
    void Answer(Link& link, const ReceivedCommand& command);
    void WriteLink(Link& link, std::vector<int>& restarts);
    void BeginOutage(int index);
    void EndOutage(int index);
    void FollowLanParameters(int index);
    void CloseLinksOf(int index);
    void NoteConnectedPrinters();
    int PollTimeoutMs() const;
    TimePoint Now() const { return std::chrono::steady_clock::now(); }
    std::chrono::milliseconds Real(int protocolMs) const;

    Clock clock_;
    CommandLog log_;
    mutable std::mutex mutex_;
    std::vector<Station> stations_;  // guarded by mutex_
    std::vector<std::unique_ptr<Link>>
        links_;                     // guarded by mutex_; only the loop thread opens and closes fds
    int mostConnected_ = 0;         // guarded by mutex_
    int mostToOne_ = 0;             // guarded by mutex_
    std::vector<int> connections_;  // guarded by mutex_; open LAN connections by printer
    bool logConnections_ = false;
    mutable std::condition_variable linksChanged_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    int wake_[2] = {-1, -1};
    bool started_ = false;
};

}  // namespace rvq::sim
