#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app/tool_settings.h"
#include "core/comm/framing.h"
#include "core/comm/lan_discovery.h"
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
    for (const char* text : {"192.168.1.0", "192.168.1.0/33", "192.168.1/24", "192.168.1.256/24",
                             "192.168.1.0/", "192.168.1.0/-1", "a.b.c.d/24", "1.2.3.4/2x",
                             " 1.2.3.4/24", "1.2.3.4.5/24", ""}) {
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
    EXPECT_FALSE(r.answered);
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
    EXPECT_FALSE(results[0].answered);
    EXPECT_TRUE(results[1].answered);
    EXPECT_EQ(results[1].status, 2);
    EXPECT_FALSE(results[2].answered);
}

}  // namespace
}  // namespace rvq
