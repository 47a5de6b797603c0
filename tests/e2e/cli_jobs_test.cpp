// rvqtool running printer jobs through the runner, against in-process
// simulated printers.
#include <gtest/gtest.h>

#include <algorithm>

#include "sim/sim_server.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace rvq::test {
namespace {

class CliJobs : public ::testing::Test {
protected:
    void Start(int count) {
        for (int i = 0; i < count; ++i) {
            sim::PrinterSetup setup;
            setup.printer.restartMs = 1000;
            server_.AddPrinter(setup);
        }
        std::string error;
        ASSERT_TRUE(server_.Start(error)) << error;
        std::string list = "[HEADER]\r\nMulti LAN Setting\r\nV001.000\r\n[LIST]\r\n";
        for (int i = 0; i < count; ++i)
            list += "127.0.0.1," + std::to_string(server_.Port(i)) + "\r\n";
        dir_.Write("list.txt", list);
    }
    ToolRun Tool(const std::vector<std::string>& args) {
        return RunTool(args, dir_.path(), {"RVQ_TIME_SCALE=0.01"});
    }
    static int Count(const std::string& text, const std::string& what) {
        int n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos;
             at = text.find(what, at + 1))
            ++n;
        return n;
    }

    sim::SimServer server_{Clock(0.01)};
    TempDir dir_;
};

TEST_F(CliJobs, MultiLanRestoreOnlineShowsEveryPrinterAndWritesTheLog) {
    Start(5);
    const ToolRun run = Tool({"--multi-lan", "list.txt", "--log", "run.csv", "restore-online"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Count(run.out, "[127.0.0.1]Restore to Online , Succeed"), 5);
    EXPECT_NE(run.out.find("5 succeeded, 0 failed"), std::string::npos);
    const std::string log = ReadAll(dir_.File("run.csv"));
    EXPECT_EQ(log.rfind("Date,Time,Interface,Processing,Process,Detailed status\r\n", 0), 0u);
    EXPECT_EQ(Count(log, ",[127.0.0.1],Restore to Online,Succeed\r\n"), 5);
}

TEST_F(CliJobs, OneSilentPrinterFailsTheRunAndPickChoosesPrinters) {
    Start(3);
    sim::FaultPlan silent;
    silent.neverAnswer = {"ZSR", "WS"};
    server_.SetFaults(2, silent);
    const ToolRun run = Tool({"--multi-lan", "list.txt", "restore-online"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("Restore to Online , Fail , Mode shift error"), std::string::npos);
    EXPECT_NE(run.out.find("2 succeeded, 1 failed"), std::string::npos);

    const ToolRun picked = Tool({"--multi-lan", "list.txt", "--pick", "1,2", "restore-online"});
    EXPECT_EQ(picked.exitCode, 0) << picked.out;
    EXPECT_EQ(Tool({"--multi-lan", "list.txt", "--pick", "4", "restore-online"}).exitCode, 2);
}

TEST_F(CliJobs, ResetAsksFirstAndAnEmptyListIsRefused) {
    Start(1);
    const std::string lan = "127.0.0.1:" + std::to_string(server_.Port(0));
    const ToolRun refused =
        Tool({"--lan", lan, "reset"});  // no terminal, no --yes: the answer is No
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(server_.log().Entries().empty());
    const ToolRun reset = Tool({"--lan", lan, "reset", "--yes"});
    EXPECT_EQ(reset.exitCode, 0) << reset.out << reset.err;
    EXPECT_NE(reset.out.find("Printer Reset , Succeed"), std::string::npos);

    dir_.Write("empty.txt", "[HEADER]\r\nMulti LAN Setting\r\nV001.000\r\n[LIST]\r\n");
    const ToolRun noList = Tool({"--multi-lan", "empty.txt", "restore-online"});
    EXPECT_EQ(noList.exitCode, 1);
    EXPECT_NE(noList.err.find("No printer has been registered to the Printer list for Multi LAN."),
              std::string::npos);
}

}  // namespace
}  // namespace rvq::test
