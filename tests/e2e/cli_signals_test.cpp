// How rvqtool ends when systemd, timeout or an operator stops it: a signal
// cancels the run like Ctrl-C (the job logs Cancel, the audit line is
// written, the printer leaves its setting mode) and the exit code is
// 128 + the signal; a second signal ends it at once.
#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "fleet_fixture.h"
#include "json_document.h"

namespace rvq::test {
namespace {

using namespace std::chrono_literals;

bool Received(const std::vector<sim::LogEntry>& entries, const std::string& text,
              std::size_t from = 0) {
    for (std::size_t i = from; i < entries.size(); ++i) {
        if (entries[i].command.text == text) return true;
    }
    return false;
}

class StopSignals : public ::testing::Test {
protected:
    // One printer that never answers the first get command ("ZA"), so a
    // get-params is sure to be waiting when the signal comes. The wait for a
    // reply is no cancel point: the cancel takes effect when it ends.
    void StartPrinter(const std::vector<std::string>& neverAnswer) {
        sim::PrinterSetup setup;
        setup.printer.definitionsPath = RVQ_SOURCE_DIR "/data/VQTool_Printer.XML";
        setup.printer.restartMs = 500;
        setup.printer.faults.neverAnswer = neverAnswer;
        server_.AddPrinter(setup);
        std::string error;
        ASSERT_TRUE(server_.Start(error)) << error;
    }
    std::vector<std::string> GetParams() {
        return {"--lan", "127.0.0.1:" + std::to_string(server_.Port(0)), "--audit", "audit.log",
                "get-params"};
    }
    bool WaitForCommand(const std::string& text, std::chrono::milliseconds limit) {
        return server_.log().WaitFor([&](const auto& entries) { return Received(entries, text); },
                                     limit);
    }

    TempDir dir_;
    sim::SimServer server_{Clock(0.1)};
};

TEST_F(StopSignals, ASignalCancelsTheRunLikeCtrlCAndEndsWith128PlusItsNumber) {
    StartPrinter({"ZA"});
    const struct {
        int signal;
        int exitCode;
        const char* name;
    } cases[] = {{SIGTERM, 143, "SIGTERM"}, {SIGHUP, 129, "SIGHUP"}, {SIGINT, 130, "SIGINT"}};
    for (const auto& c : cases) {
        const std::size_t before = server_.log().Entries().size();
        ProgramProcess tool(RVQ_TOOL_PATH, GetParams(), dir_.path(), {"RVQ_TIME_SCALE=0.1"});
        ASSERT_TRUE(server_.log().WaitFor(
            [&](const auto& entries) { return Received(entries, "ZA", before); }, 10s))
            << c.name;
        tool.Signal(c.signal);
        const ToolRun run = tool.Wait(30s);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << "\n" << run.out << run.err;
        EXPECT_TRUE(Contains(run.out, "Get Parameter , Cancel\n")) << c.name << "\n" << run.out;
        EXPECT_TRUE(Contains(run.err, std::string(c.name) + ": cancelling")) << run.err;
        // The printer is taken out of its setting mode by the Restore to Online that follows.
        EXPECT_TRUE(Received(server_.log().Entries(), "ZSR", before)) << c.name;
        EXPECT_EQ(server_.Mode(0), sim::PrinterMode::Vpcl) << c.name;
    }
    const std::vector<std::string> audit = Lines(ReadAll(dir_.File("audit.log")));
    ASSERT_FALSE(audit.empty());
    int cancelled = 0;
    for (const std::string& line : audit) {
        auto entry = ParseJson(line);
        ASSERT_TRUE(entry) << line;
        if ((*entry)["job"] == "get-parameter" && (*entry)["result"] == "cancelled") ++cancelled;
    }
    EXPECT_EQ(cancelled, 3) << ReadAll(dir_.File("audit.log"));
}

TEST_F(StopSignals, TheJsonDocumentSaysTheRunWasStopped) {
    StartPrinter({"ZA"});
    std::vector<std::string> args = GetParams();
    args.emplace_back("--json");
    ProgramProcess tool(RVQ_TOOL_PATH, args, dir_.path(), {"RVQ_TIME_SCALE=0.1"});
    ASSERT_TRUE(WaitForCommand("ZA", 10s));
    tool.Signal(SIGTERM);
    const ToolRun run = tool.Wait(30s);
    EXPECT_EQ(run.exitCode, 143) << run.err;
    auto document = ParseJson(run.out);
    ASSERT_TRUE(document) << run.out;
    EXPECT_EQ((*document)["exitCode"], 143);
    EXPECT_EQ((*document)["result"], "interrupted");
    EXPECT_EQ((*document)["error"]["message"], "stopped by SIGTERM");
    EXPECT_EQ((*document)["runs"][0]["printers"][0]["result"], "cancelled");
}

TEST_F(StopSignals, ASecondSignalEndsTheRunAtOnce) {
    // The printer also ignores leaving its setting mode, so the Restore to
    // Online after the first signal would wait seconds for its answer.
    StartPrinter({"ZA", "ZSR"});
    // At the protocol's own speed: the get's reply wait (10 s) ends, then
    // the Restore to Online waits 7 s for an answer to its leave command.
    ProgramProcess tool(RVQ_TOOL_PATH, GetParams(), dir_.path(), {"RVQ_TIME_SCALE=1"});
    ASSERT_TRUE(WaitForCommand("ZA", 10s));
    tool.Signal(SIGHUP);
    ASSERT_TRUE(WaitForCommand("ZSR", 30s)) << "the cancel path tries to leave the setting mode";
    const auto second = std::chrono::steady_clock::now();
    tool.Signal(SIGTERM);
    const ToolRun run = tool.Wait(30s);
    EXPECT_EQ(run.exitCode, 143) << run.out << run.err;
    EXPECT_LT(std::chrono::steady_clock::now() - second, 3s) << "the mode wait alone is 7 s";
}

}  // namespace
}  // namespace rvq::test
