// rvqtool's maintenance and memory commands against in-process simulated
// printers.
#include <gtest/gtest.h>

#include <algorithm>

#include "json_document.h"
#include "sim/sha256.h"
#include "sim/sim_server.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace rvq::test {
namespace {

class CliMaintenance : public ::testing::Test {
protected:
    void Start(int count, int headCheckStatus = 0) {
        for (int i = 0; i < count; ++i) {
            sim::PrinterSetup setup;
            setup.printer.restartMs = 1000;
            setup.printer.headCheckStatus = i == 1 ? headCheckStatus : 0;
            setup.printer.definitionsPath =
                std::string(RVQ_SOURCE_DIR) + "/data/VQTool_Printer.XML";
            server_.AddPrinter(setup);
        }
        std::string error;
        ASSERT_TRUE(server_.Start(error)) << error;
        std::string list = "[HEADER]\r\nMulti LAN Setting\r\nV001.000\r\n[LIST]\r\n";
        for (int i = 0; i < count; ++i)
            list += "127.0.0.1," + std::to_string(server_.Port(i)) + "\r\n";
        dir_.Write("list.txt", list);
    }
    std::string Lan(int index) const { return "127.0.0.1:" + std::to_string(server_.Port(index)); }
    ToolRun Tool(const std::vector<std::string>& args) {
        return RunTool(args, dir_.path(), {"RVQ_TIME_SCALE=0.01"});
    }
    std::vector<std::string> Commands(int printer) {
        std::vector<std::string> texts;
        for (const auto& e : server_.log().Entries()) {
            if (e.printer == printer && e.command.kind == sim::ReceivedCommand::Kind::Command)
                texts.push_back(e.command.text);
        }
        return texts;
    }
    bool Sent(int printer, const std::string& text) {
        const auto all = Commands(printer);
        return std::find(all.begin(), all.end(), text) != all.end();
    }

    sim::SimServer server_{Clock(0.01)};
    TempDir dir_;
};

TEST_F(CliMaintenance, InfoPrintsThePageListsAsJson) {
    Start(1);
    const ToolRun run = Tool({"--lan", Lan(0), "info", "--section", "RTC", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto json = ParseJson(run.out);
    ASSERT_TRUE(json) << run.out;
    Json& counters = (*json)["counters"];
    ASSERT_FALSE(counters.empty());
    EXPECT_EQ(counters[0]["item"].get<std::string>(), "MODEL");
    Json& firmware = (*json)["firmware"];
    const bool hasMain = std::any_of(firmware.begin(), firmware.end(), [](const Json& row) {
        return row["item"].get<std::string>() == "MAIN";
    });
    EXPECT_TRUE(hasMain);
    Json& parameters = (*json)["parameters"];
    ASSERT_EQ(parameters.size(), 2u);
    EXPECT_EQ(parameters[0]["item"].get<std::string>(), "DESTINATION");
    EXPECT_EQ(parameters[0]["value"].get<std::string>(), "[QM]");
    EXPECT_EQ(parameters[1]["item"].get<std::string>(), "RTC");
    // The job's lines stay off the JSON output.
    EXPECT_NE(run.err.find("Get Printer Info , Succeed"), std::string::npos);

    EXPECT_EQ(Tool({"--lan", Lan(0), "info", "--section", "COUNTER"}).exitCode, 2);
}

TEST_F(CliMaintenance, SaveInfoAndDataLogWriteTheirFiles) {
    Start(1);
    ASSERT_EQ(Tool({"--lan", Lan(0), "save-info", "info.txt"}).exitCode, 0);
    const std::string info = ReadAll(dir_.File("info.txt"));
    EXPECT_EQ(info.rfind("VERSION          \r\n\r\n", 0), 0u);
    EXPECT_NE(info.find("PRINTER INFO     \r\n\r\n<< COUNTER >>"), std::string::npos);

    const ToolRun log = Tool({"--lan", Lan(0), "data-log", "printer.log"});
    ASSERT_EQ(log.exitCode, 0) << log.out;
    EXPECT_NE(log.out.find("Data Logging , Succeed"), std::string::npos);
    EXPECT_EQ(ReadAll(dir_.File("printer.log")).size(), 33u + 8192u);
}

TEST_F(CliMaintenance, ChangesAskFirstAndSendTheChosenValues) {
    Start(1);
    const struct {
        std::vector<std::string> args;
        const char* sent;
    } cases[] = {
        {{"counter-clear", "cut"}, "ZS00;3"},
        {{"counter-clear", "all"}, "ZS00;2"},
        {{"param-clear", "QM"}, "ZS01;1"},
        {{"factory-default"}, "ZS03"},
        {{"mem-alloc", "3", "14", "nochange"}, "XF;03,14,AA"},
        {{"mem-alloc", "0", "14", "0"}, "XF;00,14,00"},
        {{"mem-format", "usb", "pcsave"}, "J1;B,1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sent);
        std::vector<std::string> args{"--lan", Lan(0)};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto before = Commands(0).size();
        EXPECT_EQ(Tool(args).exitCode, 1);  // no terminal, no --yes: the answer is No
        EXPECT_EQ(Commands(0).size(), before);
        args.emplace_back("--yes");
        const ToolRun run = Tool(args);
        EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
        EXPECT_TRUE(Sent(0, c.sent));
    }
    EXPECT_EQ(Tool({"--lan", Lan(0), "counter-clear", "others", "--yes"}).exitCode, 2);
    EXPECT_EQ(Tool({"--lan", Lan(0), "param-clear", "XX", "--yes"}).exitCode, 2);
    EXPECT_EQ(Tool({"--lan", Lan(0), "mem-alloc", "20", "14", "0", "--yes"}).exitCode, 2);
}

TEST_F(CliMaintenance, HeadCheckOverMultiLanFailsForTheBrokenHead) {
    Start(2, 17);
    const ToolRun run = Tool({"--multi-lan", "list.txt", "head-check", "--yes"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("Head Check , Succeed , The print head has a broken element."),
              std::string::npos);
    EXPECT_NE(run.out.find("1 succeeded, 1 failed"), std::string::npos) << run.out;
    EXPECT_TRUE(Sent(0, "HD001,A"));
    EXPECT_TRUE(Sent(1, "HD001,A"));
}

TEST_F(CliMaintenance, TestPrintSendsTheBytesTestPrintDataWrites) {
    Start(1);
    const std::vector<std::string> options{"--model", "R-VQ4T1-T", "--pattern", "slash3",
                                           "--count", "3",         "--tone",    "-5"};
    std::vector<std::string> build = options;
    build.insert(build.begin(), {"test-print-data", "expected.prn"});
    ASSERT_EQ(Tool(build).exitCode, 0);
    std::vector<std::string> print = options;
    print.insert(print.begin(), {"--lan", Lan(0), "test-print"});
    const ToolRun run = Tool(print);
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("Test Print , Succeed"), std::string::npos);

    ASSERT_TRUE(server_.log().WaitFor(
        [](const auto& entries) {
            return !entries.empty() && entries.back().command.text.rfind("XS;I,0003,", 0) == 0;
        },
        std::chrono::seconds(10)));
    const std::string all =
        std::string("\x1bWS\n", 4) + std::string(1, '\0') + ReadAll(dir_.File("expected.prn"));
    const auto [count, digest] = server_.ReceivedStream(0);
    EXPECT_EQ(count, static_cast<long long>(all.size()));
    EXPECT_EQ(digest, sim::Sha256Hex(all));
}

}  // namespace
}  // namespace rvq::test
