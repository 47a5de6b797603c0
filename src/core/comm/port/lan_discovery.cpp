#include "core/comm/port/lan_discovery.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <algorithm>

#include "core/app/text.h"
#include "core/comm/port/loopback_guard.h"
#include "core/comm/port/probe_sweep.h"

namespace rvq {

namespace {

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

std::uint32_t RangeFirstHost(const Ipv4Range& range) {
    return range.prefix < 31 ? range.network + 1 : range.network;
}

std::uint64_t RangeHostCount(const Ipv4Range& range) {
    const std::uint64_t count = std::uint64_t{1} << (32 - range.prefix);
    return range.prefix < 31 ? count - 2 : count;
}

std::vector<std::string> RangeHosts(const Ipv4Range& range) {
    const std::uint64_t count = RangeHostCount(range);
    const std::uint32_t first = RangeFirstHost(range);
    std::vector<std::string> hosts;
    hosts.reserve(static_cast<std::size_t>(count));
    for (std::uint64_t i = 0; i < count; ++i)
        hosts.push_back(AddressText(static_cast<std::uint32_t>(first + i)));
    return hosts;
}

std::uint64_t ProbeRange(std::uint32_t first, std::uint64_t count, const ProbePlan& plan,
                         const std::function<void(const ProbeResult&)>& report) {
    return SweepAddresses(
        count,
        [first](std::uint64_t i) { return std::optional(static_cast<std::uint32_t>(first + i)); },
        plan,
        [&](std::uint64_t i, ProbeOutcome outcome, int status) {
            report(
                ProbeResult{AddressText(static_cast<std::uint32_t>(first + i)), outcome, status});
        });
}

std::vector<ProbeResult> ProbeHosts(const std::vector<std::string>& hosts, int port,
                                    const std::string& request, int timeoutMs, const Clock& clock,
                                    int concurrency, const std::atomic<bool>* cancel) {
    std::vector<ProbeResult> results(hosts.size());
    for (std::size_t i = 0; i < hosts.size(); ++i) results[i].host = hosts[i];
    const ProbePlan plan{port, request, timeoutMs, concurrency, clock, cancel};
    auto address = [&](std::uint64_t i) -> std::optional<std::uint32_t> {
        in_addr parsed{};
        if (inet_pton(AF_INET, hosts[static_cast<std::size_t>(i)].c_str(), &parsed) != 1)
            return std::nullopt;
        return ntohl(parsed.s_addr);
    };
    SweepAddresses(hosts.size(), address, plan,
                   [&](std::uint64_t i, ProbeOutcome outcome, int status) {
                       results[static_cast<std::size_t>(i)].outcome = outcome;
                       results[static_cast<std::size_t>(i)].status = status;
                   });
    return results;
}

ProbeResult ProbeStatus(const std::string& host, int port, const std::string& request,
                        int timeoutMs, const Clock& clock) {
    return ProbeHosts({host}, port, request, timeoutMs, clock, 1).front();
}

}  // namespace rvq
