#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/comm/job/clock.h"

namespace rvq {

// An IPv4 range written as "a.b.c.d/n".
struct Ipv4Range {
    std::uint32_t network = 0;  // host order, host bits cleared
    int prefix = 32;
};

// The widest range a scan takes: a /16 is 65536 addresses.
inline constexpr int kWidestScanPrefix = 16;

// Parses "a.b.c.d/n" (n from 0 to 32); nothing for anything else.
std::optional<Ipv4Range> ParseIpv4Range(const std::string& text);

// The addresses worth asking, in order: without the network and broadcast
// addresses, except in a /31 or /32 where every address is a host.
std::vector<std::string> RangeHosts(const Ipv4Range& range);

// True when every address of the range is in 127.0.0.0/8.
bool RangeIsLoopback(const Ipv4Range& range);

// How the probe of one address ended.
enum class ProbeOutcome {
    Answered,  // a whole status frame arrived
    NoStatus,  // connected, but no status frame came before the time-out or the close
    Refused,   // the connection was refused: nothing listens there
    Silent,    // no connection within the time-out
    Failed,    // any other error (no route, no socket)
    Blocked,   // not asked: RVQ_LOOPBACK_ONLY and not a loopback address
};

struct ProbeResult {
    std::string host;
    ProbeOutcome outcome = ProbeOutcome::Failed;
    int status = -1;  // the status code when a frame arrived

    bool answered() const { return outcome == ProbeOutcome::Answered; }
};

// The first host address of a range and how many there are, as RangeHosts
// lists them.
std::uint32_t RangeFirstHost(const Ipv4Range& range);
std::uint64_t RangeHostCount(const Ipv4Range& range);

// What every probe of a sweep shares.
struct ProbePlan {
    int port = 8000;
    std::string request;   // sent once connected
    int timeoutMs = 1000;  // each probe, protocol milliseconds through `clock`
    int inFlight = 1024;   // connections open at once, at most
    Clock clock;
    const std::atomic<bool>* cancel = nullptr;  // once set, nothing more is asked
};

// Probes `count` addresses, the i-th being first + i (host order), from one
// thread with non-blocking connects, at most plan.inFlight at once. Hands
// every result to `report` in address order, as soon as the addresses
// before it are done; what is kept meanwhile grows with plan.inFlight, not
// with `count`. Returns how many were reported: `count`, or fewer after a
// cancel (the probes still open then are dropped unreported).
std::uint64_t ProbeRange(std::uint32_t first, std::uint64_t count, const ProbePlan& plan,
                         const std::function<void(const ProbeResult&)>& report);

// Connects to host:port, sends `request` and reads one status frame, all
// within `timeoutMs` (protocol milliseconds through `clock`). With
// RVQ_LOOPBACK_ONLY=1 an address outside 127.0.0.0/8 is refused before a
// socket exists.
ProbeResult ProbeStatus(const std::string& host, int port, const std::string& request,
                        int timeoutMs, const Clock& clock);

// Probes a list of dotted addresses, at most `concurrency` at once; the
// results keep the order of `hosts`. Once `cancel` is set no further host
// is asked.
std::vector<ProbeResult> ProbeHosts(const std::vector<std::string>& hosts, int port,
                                    const std::string& request, int timeoutMs, const Clock& clock,
                                    int concurrency, const std::atomic<bool>* cancel = nullptr);

}  // namespace rvq
