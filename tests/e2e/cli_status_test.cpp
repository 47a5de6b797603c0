#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "json_document.h"
#include "sim/sim_server.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace rvq::test {
namespace {

using sim::EndpointConfig;
using sim::FaultPlan;
using sim::PrinterSetup;
using sim::SimServer;

// rvqtool status against printers served in-process: one that answers,
// one with an error status, one that never answers the status request,
// one that sends its replies in pieces.
class CliStatus : public ::testing::Test {
protected:
    void SetUp() override {
        PrinterSetup setup;
        server_.AddPrinter(setup);
        setup.printer.faults.errorStatus = 6;
        server_.AddPrinter(setup);
        setup.printer.faults = FaultPlan{};
        setup.printer.faults.neverAnswer = {"WS"};
        server_.AddPrinter(setup);
        setup.printer.faults = FaultPlan{};
        setup.printer.faults.splitBytes = 4;
        setup.printer.faults.splitGapMs = 30;
        server_.AddPrinter(setup);
        std::string error;
        ASSERT_TRUE(server_.Start(error)) << error;
    }

    std::string Lan(int index) { return "127.0.0.1:" + std::to_string(server_.Port(index)); }

    TempDir dir_;
    SimServer server_;
};

TEST_F(CliStatus, ReadyPrinterExitsZero) {
    const ToolRun run = RunTool({"--lan", Lan(0), "status"}, dir_.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "LAN 127.0.0.1," + std::to_string(server_.Port(0)) + ": status 00, ready\n");

    const ToolRun json = RunTool({"status", "--json", "--lan", Lan(0)}, dir_.path());
    ASSERT_EQ(json.exitCode, 0) << json.err;
    auto value = ParseJson(json.out);
    ASSERT_TRUE(value) << json.out;
    EXPECT_EQ((*value)["status"].get<double>(), 0);
    EXPECT_TRUE((*value)["ready"].get<bool>());
    EXPECT_EQ((*value)["interface"].get<std::string>(), "LAN");
}

TEST_F(CliStatus, ReplyInPiecesIsReadWhole) {
    const ToolRun run = RunTool({"--lan", Lan(3), "status"}, dir_.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("status 00, ready"), std::string::npos) << run.out;
}

TEST_F(CliStatus, ErrorStatusExitsOne) {
    const ToolRun run = RunTool({"--lan", Lan(1), "status"}, dir_.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("status 06, printer error (06)"), std::string::npos) << run.out;
}

TEST_F(CliStatus, SilentPrinterExitsOneWithinTheTimeOut) {
    const auto start = std::chrono::steady_clock::now();
    const ToolRun run = RunTool({"--lan", Lan(2), "--timeout", "1", "status"}, dir_.path(),
                                {"RVQ_TIME_SCALE=0.01"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "rvqtool: Cannot confirm the printer is in online mode.\n");
    // 1 s at scale 0.01: far below the 10 s a full wait would take.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    // The request did reach the printer.
    bool asked = false;
    for (const auto& entry : server_.log().Entries()) {
        asked = asked || (entry.printer == 2 && entry.command.text == "WS");
    }
    EXPECT_TRUE(asked);
}

TEST_F(CliStatus, ControlCodesOfTheSettingsAreUsed) {
    const ToolRun run = RunTool({"--lan", Lan(0), "--codes", "braces", "status"}, dir_.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const auto entries = server_.log().Entries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back().command.text, "WS");
    EXPECT_EQ(entries.back().command.codes.code1, '{');
}

TEST(CliStatusSettings, BadConnectionSettingsExitTwo) {
    TempDir dir;
    dir.Write("VQTool.INI", "[HEADER]\nTITLE=R-VQ Setting Tool\n[PRINTER]\nDEVICE=FOO\n");
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"--com", "1", "--line", "9600,N,8", "status"}, "--line takes"},
        {{"--lan", "127.0.0.1:70000", "status"}, "is not a TCP port"},
        {{"status"}, "'FOO' is not an interface"},
        {{"status", "extra"}, "status takes no arguments"},
    };
    for (const auto& c : cases) {
        const ToolRun run = RunTool(c.args, dir.path());
        EXPECT_EQ(run.exitCode, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    }
}

TEST(CliStatusSettings, UnreachablePortSaysWhyAndExitsOne) {
    TempDir dir;
    // A port that was just free: nothing listens there.
    SimServer probe;
    probe.AddPrinter({});
    std::string error;
    ASSERT_TRUE(probe.Start(error)) << error;
    const int port = probe.Port(0);
    probe.Stop();
    const ToolRun run =
        RunTool({"--lan", "127.0.0.1:" + std::to_string(port), "status"}, dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(
        run.err.find("cannot open LAN 127.0.0.1," + std::to_string(port) + ": Connection refused"),
        std::string::npos)
        << run.err;
}

TEST(CliUsb, ListsAndAsksTheUsbPrinter) {
    TempDir dir;
    PrinterSetup setup;
    setup.endpoint.kind = EndpointConfig::Kind::Usb;
    setup.endpoint.usbFolder = dir.File("usb");
    setup.endpoint.usbSerial = "A1";
    SimServer server;
    server.AddPrinter(setup);
    std::string error;
    ASSERT_TRUE(server.Start(error)) << error;
    const std::vector<std::string> env{"RVQ_SYSFS_ROOT=" + dir.File("usb/sys"),
                                       "RVQ_DEV_ROOT=" + dir.File("usb/dev")};

    const ToolRun list = RunTool({"usb-list"}, dir.path(), env);
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out, "\\\\?\\usb#vid_7a3c&pid_0053#A1#" + dir.File("usb/dev/usb/lp0") + "\n");

    const ToolRun other = RunTool({"usb-list", "--usb=PRODUCTID=0084", "--json"}, dir.path(), env);
    ASSERT_EQ(other.exitCode, 0) << other.err;
    auto json = ParseJson(other.out);
    ASSERT_TRUE(json) << other.out;
    EXPECT_EQ((*json)["filter"].get<std::string>(), "PRODUCTID=0084");
    EXPECT_TRUE((*json)["devices"].empty());

    const ToolRun status = RunTool({"status"}, dir.path(), env);
    EXPECT_EQ(status.exitCode, 0) << status.err;
    EXPECT_NE(status.out.find("status 00, ready"), std::string::npos) << status.out;
}

TEST(CliUsb, NoUsbPrinterExitsOne) {
    TempDir dir;
    std::filesystem::create_directories(dir.File("sys/class/usbmisc"));
    const ToolRun run =
        RunTool({"status"}, dir.path(),
                {"RVQ_SYSFS_ROOT=" + dir.File("sys"), "RVQ_DEV_ROOT=" + dir.File("dev")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(
        run.err,
        "rvqtool: No printer is connected to the USB port. Connect a printer to the USB port.\n");
}

}  // namespace
}  // namespace rvq::test
