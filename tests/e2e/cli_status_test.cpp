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

    // HOST,PORT is the form of the Multi-LAN lists and VQTool.INI.
    const ToolRun comma =
        RunTool({"--lan", "127.0.0.1," + std::to_string(server_.Port(0)), "status"}, dir_.path());
    EXPECT_EQ(comma.exitCode, 0) << comma.err;
    EXPECT_EQ(comma.out, run.out);

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
        {{"--com", "1", "--line", "14400,N,8,1,0", "status"},
         "--line: the baud rate is one of 2400, 4800, 9600, "
         "19200, 38400, 57600 and 115200 (not '14400')"},
        {{"--com", "1", "--line", "9600,X,8,1,0", "status"},
         "--line: the parity is N, E or O (not 'X')"},
        {{"--com", "1", "--line", "9600,N,6,1,0", "status"},
         "--line: the data bits are 7 or 8 (not '6')"},
        {{"--com", "1", "--line", "9600,N,8,3,0", "status"},
         "--line: the stop bits are 1 or 2 (not '3')"},
        {{"--com", "1", "--line", "9600,N,8,1,7", "status"},
         "--line: the flow index is 0 to 4 (not '7')"},
        {{"--lan", "127.0.0.1,70000", "status"}, "is not a TCP port"},
        {{"--codes", "1B,1B,1B", "status"},
         "--codes 1B,1B,1B: The same value is set for all of \"Code 1\", \"Code 2\" and \"Code "
         "3\". "
         "Set a different value for each."},
        {{"--codes", "7b,7B,7D", "status"}, "--codes 7b,7B,7D: The same value"},
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

// A device that cannot be opened is named as the node tried, without a
// blank where no settings go, and the tool's own settings never hold
// equal control codes.
TEST(CliStatusSettings, TheNodeTriedIsNamed) {
    TempDir dir;
    const std::string devices = dir.File("devices");
    std::filesystem::create_directories(devices);
    std::filesystem::create_symlink(dir.File("gone"), devices + "/COM3");
    const std::vector<std::string> env{"RVQ_DEVICE_DIR=" + devices};
    const ToolRun linked = RunTool({"--com", "3", "status"}, dir.path(), env);
    EXPECT_EQ(linked.exitCode, 1);
    EXPECT_EQ(linked.err, "rvqtool: cannot open COM3 at " + devices + "/COM3 (a link to " +
                              dir.File("gone") + "): No such file or directory\n");
    const ToolRun parallel = RunTool({"--lpt", "9", "status"}, dir.path(), env);
    EXPECT_EQ(parallel.exitCode, 1);
    EXPECT_EQ(parallel.err.rfind("rvqtool: cannot open LPT9 at /dev/lp8: ", 0), 0u) << parallel.err;

    // A job says the same after its own line.
    const ToolRun job = RunTool({"--com", "3", "restore-online"}, dir.path(), env);
    EXPECT_EQ(job.exitCode, 1);
    EXPECT_NE(job.out.find("Restore to Online , Fail , No printer connection is detected. (2)"),
              std::string::npos)
        << job.out;
    EXPECT_NE(job.err.find("rvqtool: cannot open COM3 at " + devices + "/COM3"), std::string::npos)
        << job.err;
}

TEST(CliStatusSettings, EqualCodesInTheSettingsAreNotUsed) {
    TempDir dir;
    SimServer server;
    server.AddPrinter({});
    std::string error;
    ASSERT_TRUE(server.Start(error)) << error;
    dir.Write("VQTool.INI",
              "[HEADER]\r\nTITLE=R-VQ Setting Tool\r\n[COMMAND]\r\nTYPE=Manual\r\nCODE1=1b\r\n"
              "CODE2=1B\r\nCODE3=0A\r\n");
    const ToolRun run =
        RunTool({"--lan", "127.0.0.1:" + std::to_string(server.Port(0)), "status"}, dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("CODE1, CODE2 and CODE3 hold the same code twice"), std::string::npos)
        << run.err;
    const auto entries = server.log().Entries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back().command.codes.code1, 0x1B);
    EXPECT_EQ(entries.back().command.codes.code2, 0x0A);
}

TEST(CliUsb, ListsAndAsksTheUsbPrinter) {
    TempDir dir;
    dir.Write("VQTool.INI", "[PRINTER]\r\nDEVICE=USB\r\n");
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
    dir.Write("VQTool.INI", "[PRINTER]\r\nDEVICE=USB\r\n");
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
