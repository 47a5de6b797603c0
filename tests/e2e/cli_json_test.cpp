// Every rvqtool command under --json prints exactly one JSON document of
// one layout, whether it succeeds, fails or is refused: command, exitCode,
// result, output, runs and error (null on success, else message and id).
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "json_document.h"
#include "sim/sim_server.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace rvq::test {
namespace {

class JsonDocuments : public ::testing::Test {
protected:
    void SetUp() override {
        sim::PrinterSetup setup;
        setup.printer.definitionsPath = RVQ_SOURCE_DIR "/data/VQTool_Printer.XML";
        setup.printer.restartMs = 500;
        server_.AddPrinter(setup);
        std::string error;
        ASSERT_TRUE(server_.Start(error)) << error;
        lan_ = "127.0.0.1:" + std::to_string(server_.Port(0));
        dir_.Write("bad.INI", "[HEADER]\r\nTITLE=Something Else\r\n");
        dir_.Write("list.txt", "[HEADER]\r\nMulti LAN Setting\r\nV001.000\r\n[LIST]\r\n127.0.0.1," +
                                   std::to_string(server_.Port(0)) + "\r\n");
        ASSERT_EQ(Tool({"--lan", lan_, "get-params", "--out", "same.TSI"}).exitCode, 0);
    }

    ToolRun Tool(const std::vector<std::string>& args) {
        return RunTool(args, dir_.path(), {"RVQ_TIME_SCALE=0.01"});
    }

    // The document's layout, the same for every command and outcome.
    static void CheckLayout(const Json& d, int exitCode, const std::string& what) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(d.is_object());
        for (const char* key : {"command", "exitCode", "result", "output", "runs", "error"})
            ASSERT_TRUE(d.contains(key)) << key;
        EXPECT_TRUE(d["command"].is_string() || d["command"].is_null());
        EXPECT_EQ(d["exitCode"], exitCode);
        EXPECT_TRUE(d["output"].is_array());
        EXPECT_TRUE(d["runs"].is_array());
        if (exitCode == 0) {
            EXPECT_EQ(d["result"], "succeeded");
            EXPECT_TRUE(d["error"].is_null());
        } else {
            EXPECT_NE(d["result"], "succeeded");
            ASSERT_TRUE(d["error"].is_object());
            EXPECT_FALSE(d["error"]["message"].get<std::string>().empty());
            EXPECT_TRUE(d["error"]["id"].is_number_integer() || d["error"]["id"].is_null());
        }
        for (const Json& run : d["runs"]) {
            for (const Json& printer : run["printers"]) {
                for (const char* key :
                     {"index", "interface", "printer", "result", "lines", "failure"})
                    ASSERT_TRUE(printer.contains(key)) << key;
                EXPECT_EQ(printer["failure"].is_null(), printer["result"] == "succeeded")
                    << printer.dump();
            }
        }
    }

    sim::SimServer server_{Clock(0.01)};
    TempDir dir_;
    std::string lan_;
};

TEST_F(JsonDocuments, EveryCommandPrintsOneDocumentOfOneLayoutAlsoWhenItFails) {
    const std::string port = lan_.substr(lan_.find(':') + 1);
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::optional<int> errorId = std::nullopt;  // when the error is a numbered message
    } cases[] = {
        // Succeeding, with data of their own or not.
        {{"config"}, 0},
        {{"models"}, 0},
        {{"model", "R-VQ4T1-T"}, 0},
        {{"usb-list"}, 0},
        {{"test-print-data", "t.prn"}, 0},
        {{"--lan", lan_, "status"}, 0},
        {{"--lan", lan_, "get-params"}, 0},
        {{"--lan", lan_, "set-params", "same.TSI", "--yes"}, 0},
        {{"--lan", lan_, "diff", "same.TSI"}, 0},
        {{"--lan", lan_, "info"}, 0},
        {{"--lan", lan_, "save-info", "i.txt"}, 0},
        {{"--lan", lan_, "data-log", "d.log"}, 0},
        {{"--lan", lan_, "head-check", "--yes"}, 0},
        {{"--lan", lan_, "restore-online"}, 0},
        {{"--lan", lan_, "backup", "bk"}, 0},
        {{"--lan", lan_, "metrics"}, 0},
        {{"discover", "127.0.0.1/32", "--port", port}, 0},
        // Failing at the printer or on a file.
        {{"--lan", "127.0.0.1:1", "status"}, 1},
        {{"--lan", "127.0.0.1:1", "get-params"}, 1},
        {{"--lan", lan_, "head-check"}, 1, 420},  // not confirmed: no terminal, no --yes
        {{"--lan", lan_, "reset"}, 1, 423},
        {{"--lan", lan_, "set-params", "missing.TSI", "--yes"}, 1, 898},
        {{"--lan", lan_, "send", "missing.bin"}, 1},
        {{"--lan", lan_, "firmware", "missing.bin", "--yes"}, 1},

        {{"discover", "127.0.0.1/32", "--port", "1"}, 1},
        // Refused as usage errors, in the command or before it: bad input too.
        {{"rom-info", "missing.bin"}, 2},
        {{"encode-basic", "missing.bas", "out.img"}, 2, 1006},
        {{"build-gaiji", "missing.bmp", "o.gai"}, 2, 891},
        {{"build-html-rom", "no-folder", "o.bin"}, 2, 1400},
        {{"--lan", lan_, "counter-clear", "bogus"}, 2},
        {{"--lan", lan_, "mem-alloc", "1"}, 2},
        {{"--lan", lan_, "mem-format", "x", "y"}, 2},
        {{"--lan", lan_, "param-clear", "XX"}, 2},
        {{"--lan", lan_, "diff"}, 2},
        {{"--lan", lan_, "basic"}, 2},
        {{"--lan", lan_, "test-print", "--count", "x"}, 2},
        {{"--multi-lan", "list.txt", "factory-default", "--yes"}, 2},
        {{"discover", "1.2.3"}, 2},
        {{}, 2},
        {{"nosuch"}, 2},
        {{"--timeout", "abc", "status"}, 2},
        {{"--lan", "127.0.0.1:0", "status"}, 2},
        {{"--settings", "bad.INI", "status"}, 2, 152},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.emplace_back("--json");
        std::string what;
        for (const std::string& a : args) what += a + " ";
        const ToolRun run = Tool(args);
        EXPECT_EQ(run.exitCode, c.exitCode) << what << "\n" << run.out << run.err;
        auto document = ParseJson(run.out);
        ASSERT_TRUE(document) << what << "\nnot one JSON document:\n" << run.out;
        CheckLayout(*document, run.exitCode, what);
        if (c.errorId) {
            EXPECT_EQ((*document)["error"]["id"], *c.errorId) << what << "\n" << run.out;
        }
    }
}

TEST_F(JsonDocuments, AFailedPrinterCarriesItsFailureLineAndTheReasonLeadsTheDocument) {
    const ToolRun run = Tool({"--lan", "127.0.0.1:1", "get-params", "--json"});
    EXPECT_EQ(run.exitCode, 1);
    auto document = ParseJson(run.out);
    ASSERT_TRUE(document) << run.out;
    Json& printer = (*document)["runs"][0]["printers"][0];
    EXPECT_EQ(printer["result"], "failed");
    EXPECT_EQ(printer["failure"], printer["lines"].back());
    EXPECT_NE(printer["failure"].get<std::string>().find("Get Parameter , Fail"), std::string::npos)
        << run.out;
    EXPECT_EQ((*document)["error"]["message"], printer["failure"]) << run.out;
    EXPECT_TRUE((*document)["error"]["id"].is_number_integer())
        << "the failure's detail message: " << run.out;

    // A status failure names its message: 1523, the printer is not online.
    server_.SetFaults(0, [] {
        sim::FaultPlan silent;
        silent.neverAnswer = {"WS"};
        return silent;
    }());
    const ToolRun silent = Tool({"--lan", lan_, "--timeout", "1", "status", "--json"});
    EXPECT_EQ(silent.exitCode, 1);
    auto status = ParseJson(silent.out);
    ASSERT_TRUE(status) << silent.out;
    EXPECT_EQ((*status)["error"]["id"], 1523) << silent.out;
    EXPECT_EQ((*status)["error"]["message"], "Cannot confirm the printer is in online mode.");
    EXPECT_EQ((*status)["ready"], false);
}

}  // namespace
}  // namespace rvq::test
