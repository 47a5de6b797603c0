// RVQ_LOOPBACK_ONLY=1: no connection or scan of rvqtool reaches past
// 127.0.0.0/8. Every refusal is tried inside a network namespace of its own
// (unshare -n), where no packet could leave even if the guard failed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fleet_fixture.h"
#include "json_document.h"

namespace rvq::test {
namespace {

constexpr const char* kUnshare = "/usr/bin/unshare";

// rvqtool in a network namespace with nothing but a loopback interface
// (down): `guard` sets RVQ_LOOPBACK_ONLY. Exit code -2 when no namespace
// can be made here.
ToolRun IsolatedTool(const TempDir& dir, const std::vector<std::string>& args, bool guard) {
    std::vector<std::string> all{"-n", RVQ_TOOL_PATH};
    all.insert(all.end(), args.begin(), args.end());
    ToolRun run = RunProgram(kUnshare, all, dir.path(),
                             {guard ? "RVQ_LOOPBACK_ONLY=1" : "RVQ_LOOPBACK_ONLY=0"});
    if (Contains(run.err, "unshare failed") || Contains(run.err, "cannot start")) run.exitCode = -2;
    return run;
}

TEST(LoopbackGuard, EveryConnectionAndScanToAnotherAddressIsRefusedBeforeASocketExists) {
    TempDir dir;
    if (IsolatedTool(dir, {"models"}, true).exitCode == -2)
        GTEST_SKIP() << "no network namespace can be made here";
    dir.Write("list.txt",
              "[HEADER]\r\nMulti LAN "
              "Setting\r\nV001.000\r\n[LIST]\r\n127.0.0.1,8000\r\n192.0.2.7,8000\r\n");
    const struct {
        std::vector<std::string> args;
        const char* refused;  // the address the message names
    } cases[] = {
        {{"--lan", "192.0.2.1", "status"}, "192.0.2.1"},
        {{"--lan", "192.0.2.1:9100", "get-params"}, "192.0.2.1"},
        {{"--lan", "printer.example", "status"}, "printer.example"},  // no name is looked up either
        {{"--multi-lan", "list.txt", "status"}, "192.0.2.7"},
        {{"--multi-lan", "list.txt", "restore-online"}, "192.0.2.7"},
        {{"--multi-lan", "list.txt", "metrics"}, "192.0.2.7"},
        {{"discover", "192.0.2.0/30"}, "192.0.2.0/30"},
    };
    for (const auto& c : cases) {
        const ToolRun run = IsolatedTool(dir, c.args, true);
        EXPECT_EQ(run.exitCode, 2) << c.args.back() << "\n" << run.out << run.err;
        EXPECT_TRUE(Contains(run.err, c.refused)) << run.err;
        EXPECT_TRUE(Contains(run.err, "RVQ_LOOPBACK_ONLY=1")) << run.err;
    }
    // Without the guard the same status is tried, and fails only because
    // the namespace has no route: the refusal above came before the attempt.
    const ToolRun tried = IsolatedTool(dir, {"--lan", "192.0.2.1", "status"}, false);
    EXPECT_EQ(tried.exitCode, 1) << tried.err;
    EXPECT_TRUE(Contains(tried.err, "Network is unreachable")) << tried.err;

    const ToolRun json = IsolatedTool(dir, {"--lan", "192.0.2.1", "status", "--json"}, true);
    auto document = ParseJson(json.out);
    ASSERT_TRUE(document) << json.out;
    EXPECT_TRUE(
        Contains((*document)["error"]["message"].get<std::string>(), "not a loopback address"))
        << json.out;
}

}  // namespace
}  // namespace rvq::test
