#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/comm/clock.h"

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

struct ProbeResult {
    std::string host;
    bool answered = false;  // a whole status frame arrived
    int status = -1;        // the status code when it did
    bool refused = false;   // not asked: RVQ_LOOPBACK_ONLY and not a loopback address
};

// Connects to host:port, sends `request` and reads one status frame, all
// within `timeoutMs` (protocol milliseconds through `clock`). With
// RVQ_LOOPBACK_ONLY=1 an address outside 127.0.0.0/8 is refused before a
// socket exists.
ProbeResult ProbeStatus(const std::string& host, int port, const std::string& request,
                        int timeoutMs, const Clock& clock);

// Probes every host with at most `concurrency` connections at once; the
// results keep the order of `hosts`. Once `cancel` is set no further host
// is asked.
std::vector<ProbeResult> ProbeHosts(const std::vector<std::string>& hosts, int port,
                                    const std::string& request, int timeoutMs, const Clock& clock,
                                    int concurrency, const std::atomic<bool>* cancel = nullptr);

}  // namespace rvq
