#include "core/comm/port/loopback_guard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/app/tool_settings.h"

namespace rvq {
namespace {

// Only the decision is tested here; that a refused address is never
// connected to is tried by the command-line test in a network namespace.
TEST(LoopbackGuard, RefusesEveryHostOutside127WhenOnAndNothingWhenOff) {
    const struct {
        const char* host;
        bool refused;
    } cases[] = {
        {"127.0.0.1", false},      {"127.255.255.254", false},
        {"127.1", false},          {"localhost", false},
        {"128.0.0.1", true},       {"126.255.255.255", true},
        {"192.168.10.20", true},   {"0.0.0.0", true},
        {"printer.example", true}, {"", true},
    };
    const char* before = std::getenv("RVQ_LOOPBACK_ONLY");
    const std::string saved = before != nullptr ? before : "";
    ::setenv("RVQ_LOOPBACK_ONLY", "1", 1);
    for (const auto& c : cases) {
        EXPECT_EQ(LoopbackRefusal(c.host).has_value(), c.refused) << c.host;
        EXPECT_EQ(LanTargetRefused({"LAN", std::string(c.host) + ",8000"}), c.refused) << c.host;
    }
    EXPECT_FALSE(LanTargetRefused({"COM1", "9600,N,8,1,0"})) << "only LAN targets have an address";
    EXPECT_NE(LoopbackRefusal("192.168.10.20")->find("RVQ_LOOPBACK_ONLY=1"), std::string::npos);

    for (const char* off : {"0", ""}) {
        ::setenv("RVQ_LOOPBACK_ONLY", off, 1);
        for (const auto& c : cases) EXPECT_FALSE(LoopbackRefusal(c.host)) << c.host;
    }
    ::unsetenv("RVQ_LOOPBACK_ONLY");
    EXPECT_FALSE(LoopbackRefusal("192.168.10.20"));
    if (before != nullptr) ::setenv("RVQ_LOOPBACK_ONLY", saved.c_str(), 1);
}

}  // namespace
}  // namespace rvq
