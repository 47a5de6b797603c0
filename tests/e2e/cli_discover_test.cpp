#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "core/app/strings.h"
#include "core/comm/port/multi_lan_list.h"
#include "json_document.h"
#include "sim/sim_server.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace rvq::test {
namespace {

using sim::FaultPlan;
using sim::PrinterSetup;
using sim::SimServer;

// Printers on one port at several loopback addresses of 127.0.0.0/29:
// .2 and .3 ready, .5 with an error status, .6 silent; .1 and .4 hold nothing.
class CliDiscover : public ::testing::Test {
protected:
    void SetUp() override {
        PrinterSetup setup;
        setup.endpoint.host = "127.0.0.2";
        first_.AddPrinter(setup);
        std::string error;
        ASSERT_TRUE(first_.Start(error)) << error;
        port_ = first_.Port(0);

        setup.endpoint.port = port_;
        setup.endpoint.host = "127.0.0.3";
        rest_.AddPrinter(setup);
        setup.endpoint.host = "127.0.0.5";
        setup.printer.faults.errorStatus = 6;
        rest_.AddPrinter(setup);
        setup.endpoint.host = "127.0.0.6";
        setup.printer.faults = FaultPlan{};
        setup.printer.faults.neverAnswer = {"WS"};
        rest_.AddPrinter(setup);
        ASSERT_TRUE(rest_.Start(error)) << error;
    }

    ToolRun Discover(std::vector<std::string> extra) {
        std::vector<std::string> args = {
            "discover", "127.0.0.0/29", "--port", std::to_string(port_), "--timeout", "1"};
        args.insert(args.end(), extra.begin(), extra.end());
        // 100 ms of real time a host: enough for an answer on a loaded
        // machine or under a sanitizer, and the one silent printer still
        // costs little.
        return RunTool(args, dir_.path(), {"RVQ_TIME_SCALE=0.1"});
    }

    TempDir dir_;
    SimServer first_;
    SimServer rest_;
    int port_ = 0;
};

TEST_F(CliDiscover, ListsTheAnsweringPrintersAndWritesTheirList) {
    const auto start = std::chrono::steady_clock::now();
    const ToolRun run = Discover({"--out", "found.txt"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string p = ":" + std::to_string(port_);
    EXPECT_EQ(run.out, "127.0.0.2" + p + ": status 00, ready\n" + "127.0.0.3" + p +
                           ": status 00, ready\n" + "127.0.0.5" + p +
                           ": status 06, printer error (06)\n");
    EXPECT_EQ(run.err, "3 of 6 addresses answered\n");
    // The silent printer costs one time-out (1 s at scale 0.01), not more.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

    const Strings strings;
    const MultiLanImport list = ImportMultiLanList(dir_.path() + "/found.txt", strings);
    ASSERT_TRUE(list.ok);
    EXPECT_EQ(list.printers,
              (std::vector<LanPrinter>{
                  {"127.0.0.2", port_}, {"127.0.0.3", port_}, {"127.0.0.5", port_}}));
}

TEST_F(CliDiscover, JsonNamesEachPrinter) {
    const ToolRun run = Discover({"--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto value = ParseJson(run.out);
    ASSERT_TRUE(value) << run.out;
    EXPECT_EQ((*value)["scanned"].get<double>(), 6);
    auto& printers = (*value)["printers"];
    ASSERT_EQ(printers.size(), 3u) << run.out;
    EXPECT_EQ(printers[2]["host"].get<std::string>(), "127.0.0.5");
    EXPECT_EQ(printers[2]["status"].get<double>(), 6);
    EXPECT_FALSE(printers[2]["ready"].get<bool>());
    EXPECT_TRUE(printers[0]["ready"].get<bool>());
}

TEST_F(CliDiscover, AsksFewerAtOnceUnderALowOpenFileLimitAndSaysSo) {
    // ulimit -n lowers the hard limit too, so the tool cannot raise it: 65
    // descriptors leave room for one probe at a time.
    rest_.ResetMostConnectedPrinters();
    const ToolRun run =
        RunProgram("/bin/sh",
                   {"-c", "ulimit -n 65 && exec \"$0\" \"$@\"", RVQ_TOOL_PATH, "discover",
                    "127.0.0.0/29", "--port", std::to_string(port_), "--timeout", "1", "--json"},
                   dir_.path(), {"RVQ_TIME_SCALE=0.1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "rvqtool: 1 probe at a time, not 1024: the open-file limit is 65\n");
    EXPECT_EQ(rest_.MostConnectedPrinters(), 1);
    auto value = ParseJson(run.out);
    ASSERT_TRUE(value) << run.out;
    // .1 and .4 refuse, .6 takes the connection and never answers.
    EXPECT_EQ((*value)["scanned"].get<double>(), 6);
    EXPECT_EQ((*value)["printers"].size(), 3u);
    EXPECT_EQ((*value)["refused"].get<double>(), 2);
    EXPECT_EQ((*value)["noStatus"].get<double>(), 1);
    EXPECT_EQ((*value)["silent"].get<double>(), 0);
}

TEST(CliDiscoverRange, RefusesBadAndTooWideRangesAndFindsNothingInAnEmptyOne) {
    TempDir dir;
    const struct {
        const char* range;
        int exitCode;
    } cases[] = {{"10.0.0.0/15", 2}, {"10.0.0.0", 2}, {"10.0.0.300/24", 2}};
    for (const auto& c : cases) {
        const ToolRun run = RunTool({"discover", c.range}, dir.path());
        EXPECT_EQ(run.exitCode, c.exitCode) << c.range << "\n" << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    // Nothing listens on port 1 of these loopback addresses.
    const ToolRun none = RunTool({"discover", "127.0.9.0/30", "--port", "1", "--out", "none.txt"},
                                 dir.path(), {"RVQ_TIME_SCALE=0.01"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err,
              "0 of 2 addresses answered\nrvqtool: no printer answered in 127.0.9.0/30\n");
}

}  // namespace
}  // namespace rvq::test
