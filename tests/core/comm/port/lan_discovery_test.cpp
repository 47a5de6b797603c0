#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <vector>

#include "core/app/tool_settings.h"
#include "core/comm/port/framing.h"
#include "core/comm/port/lan_discovery.h"
#include "sim/sim_server.h"

namespace rvq {
namespace {

TEST(Ipv4RangeParse, AcceptsRangesAndClearsHostBits) {
    const struct {
        const char* text;
        std::uint32_t network;
        int prefix;
    } cases[] = {
        {"192.168.1.77/24", 0xC0A80100u, 24},
        {"10.0.0.1/32", 0x0A000001u, 32},
        {"172.16.255.255/16", 0xAC100000u, 16},
        {"0.0.0.0/0", 0u, 0},
    };
    for (const auto& c : cases) {
        const auto range = ParseIpv4Range(c.text);
        ASSERT_TRUE(range) << c.text;
        EXPECT_EQ(range->network, c.network) << c.text;
        EXPECT_EQ(range->prefix, c.prefix) << c.text;
    }
}

TEST(Ipv4RangeParse, RejectsWhatIsNotARange) {
    for (const char* text :
         {"192.168.1.0", "192.168.1.0/33", "192.168.1/24", "192.168.1.256/24", "192.168.1.0/",
          "192.168.1.0/-1", "a.b.c.d/24", "1.2.3.4/2x", " 1.2.3.4/24", "1.2.3.4.5/24", ""}) {
        EXPECT_FALSE(ParseIpv4Range(text)) << text;
    }
}

TEST(RangeHosts, LeavesOutNetworkAndBroadcastExceptInTheSmallestRanges) {
    EXPECT_EQ(RangeHosts(*ParseIpv4Range("127.0.0.0/29")),
              (std::vector<std::string>{"127.0.0.1", "127.0.0.2", "127.0.0.3", "127.0.0.4",
                                        "127.0.0.5", "127.0.0.6"}));
    EXPECT_EQ(RangeHosts(*ParseIpv4Range("10.1.2.4/31")),
              (std::vector<std::string>{"10.1.2.4", "10.1.2.5"}));
    EXPECT_EQ(RangeHosts(*ParseIpv4Range("10.1.2.9/32")), (std::vector<std::string>{"10.1.2.9"}));

    const std::vector<std::string> wide = RangeHosts(*ParseIpv4Range("10.7.0.0/16"));
    ASSERT_EQ(wide.size(), 65534u);
    EXPECT_EQ(wide.front(), "10.7.0.1");
    EXPECT_EQ(wide[255], "10.7.1.0");
    EXPECT_EQ(wide.back(), "10.7.255.254");
}

TEST(ProbeStatus, NothingListeningIsNoAnswer) {
    // Port 1 on a loopback address: the connect is refused at once.
    const ProbeResult r = ProbeStatus("127.0.0.9", 1, "\x1bWS\n", 1000, Clock(0.01));
    EXPECT_EQ(r.host, "127.0.0.9");
    EXPECT_FALSE(r.answered());
}

TEST(ProbeHosts, KeepsTheOrderOfTheHostsWhateverAnswersFirst) {
    sim::SimServer server;
    sim::PrinterSetup setup;
    setup.printer.faults.errorStatus = 2;
    server.AddPrinter(setup);
    std::string error;
    ASSERT_TRUE(server.Start(error)) << error;
    const std::vector<std::string> hosts = {"127.0.0.9", "127.0.0.1", "127.0.0.10"};
    const std::vector<ProbeResult> results =
        ProbeHosts(hosts, server.Port(0), BuildFixedCommands(ControlCodes{}).statusRequest, 1000,
                   Clock(0.01), 2);
    ASSERT_EQ(results.size(), 3u);
    for (std::size_t i = 0; i < hosts.size(); ++i) EXPECT_EQ(results[i].host, hosts[i]);
    EXPECT_FALSE(results[0].answered());
    EXPECT_TRUE(results[1].answered());
    EXPECT_EQ(results[1].status, 2);
    EXPECT_FALSE(results[2].answered());
}

std::uint32_t Address(const char* dotted) {
    in_addr parsed{};
    EXPECT_EQ(inet_pton(AF_INET, dotted, &parsed), 1) << dotted;
    return ntohl(parsed.s_addr);
}

// A listener whose accept queue is full: the kernel drops every further
// connection attempt, so the address stays silent like a host that is
// switched off.
class FullListener {
public:
    FullListener(const char* host, int port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(Address(host));
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        const int on = 1;
        setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        ok_ = bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
              listen(listener_, 0) == 0;
        // With a backlog of 0 one waiting connection fills the queue.
        filling_ = socket(AF_INET, SOCK_STREAM, 0);
        ok_ = ok_ && connect(filling_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~FullListener() {
        close(filling_);
        close(listener_);
    }
    bool ok() const { return ok_; }

private:
    int listener_ = -1;
    int filling_ = -1;
    bool ok_ = false;
};

ProbePlan LoopbackPlan(int port, int inFlight) {
    ProbePlan plan;
    plan.port = port;
    plan.request = BuildFixedCommands(ControlCodes{}).statusRequest;
    plan.timeoutMs = 1000;
    plan.inFlight = inFlight;
    plan.clock = Clock(0.1);  // 100 ms a silent address
    return plan;
}

TEST(ProbeRange, ReportsEveryAddressInOrderWithHowItEnded) {
    // 127.6.0.1 to .8 on one port, as many kinds of host as a sweep meets.
    sim::SimServer server;
    sim::PrinterSetup setup;
    setup.endpoint.host = "127.6.0.1";
    server.AddPrinter(setup);
    std::string error;
    ASSERT_TRUE(server.Start(error)) << error;
    const int port = server.Port(0);

    sim::SimServer rest;
    auto add = [&](const char* host, auto change) {
        sim::PrinterSetup s;
        s.endpoint.host = host;
        s.endpoint.port = port;
        change(s.printer);
        rest.AddPrinter(s);
    };
    add("127.6.0.3", [](sim::PrinterConfig& p) { p.faults.silent = true; });
    add("127.6.0.4", [](sim::PrinterConfig& p) { p.faults.errorStatus = 6; });
    add("127.6.0.5", [](sim::PrinterConfig& p) { p.faults.dropAfterBytes = 0; });
    add("127.6.0.7", [](sim::PrinterConfig& p) {
        p.faults.garbage = "\x02junk";
        p.faults.neverAnswer = {"WS"};
    });
    ASSERT_TRUE(rest.Start(error)) << error;
    const FullListener switchedOff("127.6.0.8", port);
    ASSERT_TRUE(switchedOff.ok());

    std::vector<ProbeResult> results;
    const std::uint64_t reported = ProbeRange(Address("127.6.0.1"), 9, LoopbackPlan(port, 3),
                                              [&](const ProbeResult& r) { results.push_back(r); });
    const struct {
        const char* host;
        ProbeOutcome outcome;
        int status;
    } expected[] = {
        {"127.6.0.1", ProbeOutcome::Answered, 0},  {"127.6.0.2", ProbeOutcome::Refused, -1},
        {"127.6.0.3", ProbeOutcome::NoStatus, -1}, {"127.6.0.4", ProbeOutcome::Answered, 6},
        {"127.6.0.5", ProbeOutcome::NoStatus, -1}, {"127.6.0.6", ProbeOutcome::Refused, -1},
        {"127.6.0.7", ProbeOutcome::NoStatus, -1}, {"127.6.0.8", ProbeOutcome::Silent, -1},
        {"127.6.0.9", ProbeOutcome::Refused, -1},
    };
    EXPECT_EQ(reported, std::size(expected));
    ASSERT_EQ(results.size(), std::size(expected));
    for (std::size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(results[i].host, expected[i].host);
        EXPECT_EQ(results[i].outcome, expected[i].outcome) << expected[i].host;
        EXPECT_EQ(results[i].status, expected[i].status) << expected[i].host;
    }
}

// A port nothing listens on at the moment, for a server whose printers
// share one port on several addresses.
int FreePort(const char* host) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(Address(host));
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    socklen_t length = sizeof address;
    const bool ok = bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    close(fd);
    return ok ? ntohs(address.sin_port) : 0;
}

TEST(ProbeRange, KeepsNoMoreThanTheInFlightNumberOfConnectionsOpen) {
    // Hosts that take the connection and never answer hold it for the
    // whole time-out; the simulator counts how many it holds at once.
    const int port = FreePort("127.7.0.1");
    ASSERT_NE(port, 0);
    sim::SimServer server;
    sim::PrinterSetup setup;
    setup.printer.faults.silent = true;
    setup.endpoint.port = port;
    for (int i = 1; i <= 24; ++i) {
        setup.endpoint.host = "127.7.0." + std::to_string(i);
        server.AddPrinter(setup);
    }
    std::string error;
    ASSERT_TRUE(server.Start(error)) << error;

    std::vector<std::string> hosts;
    ProbeRange(Address("127.7.0.1"), 24, LoopbackPlan(port, 4), [&](const ProbeResult& r) {
        EXPECT_EQ(r.outcome, ProbeOutcome::NoStatus) << r.host;
        hosts.push_back(r.host);
    });
    std::vector<std::string> expected = RangeHosts(*ParseIpv4Range("127.7.0.0/27"));
    expected.resize(24);
    EXPECT_EQ(hosts, expected);
    EXPECT_LE(server.MostConnectedPrinters(), 4);
    EXPECT_GE(server.MostConnectedPrinters(), 2);  // and they did run side by side
}

TEST(ProbeRange, ReportsNothingMoreOnceCancelled) {
    // Nothing listens on port 1: every address is refused at once.
    std::atomic<bool> cancel{false};
    ProbePlan plan = LoopbackPlan(1, 8);
    plan.cancel = &cancel;
    std::vector<std::string> hosts;
    const std::uint64_t reported =
        ProbeRange(Address("127.8.0.1"), 5000, plan, [&](const ProbeResult& r) {
            hosts.push_back(r.host);
            if (hosts.size() == 3) cancel = true;
        });
    EXPECT_EQ(reported, 3u);
    EXPECT_EQ(hosts, (std::vector<std::string>{"127.8.0.1", "127.8.0.2", "127.8.0.3"}));
}

}  // namespace
}  // namespace rvq
