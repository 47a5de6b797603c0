// What a fleet administrator scripts: status and info over a list, sets
// that leave unchanged printers alone, backups of values a set would
// refuse, a restart asked for every printer of a list, metrics.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fleet_fixture.h"
#include "json_document.h"

namespace rvq::test {
namespace {

// The command texts one simulated printer received from `from` on.
std::vector<std::string> Commands(sim::SimServer& server, int printer, std::size_t from = 0) {
    std::vector<std::string> texts;
    const auto entries = server.log().Entries();
    for (std::size_t i = from; i < entries.size(); ++i) {
        if (entries[i].printer == printer) texts.push_back(entries[i].command.text);
    }
    return texts;
}

bool Has(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The keys of the set commands among `texts` ("ZK00" of "ZK00;1").
std::vector<std::string> SetKeys(const std::vector<std::string>& texts) {
    std::vector<std::string> keys;
    for (const std::string& text : texts) {
        if (sim::FindSetCommands(text.substr(0, text.find(';'))).empty()) continue;
        keys.push_back(text.substr(0, text.find(';')));
    }
    return keys;
}

class FleetAdmin : public CliFleet {};

TEST_F(FleetAdmin, StatusOverAListAsksEveryChosenPrinterAndIsReadyOnlyWhenAllAre) {
    // 127.0.0.9 has no printer at all.
    const std::string list = List("four.txt", {2, 3, 5, 9});
    const std::string p = "," + std::to_string(port_);
    const ToolRun all = Tool({"--multi-lan", list, "status"});
    EXPECT_EQ(all.exitCode, 1) << all.out << all.err;
    EXPECT_EQ(all.out, "LAN 127.0.0.2" + p +
                           ": status 00, ready\n"
                           "LAN 127.0.0.3" +
                           p +
                           ": status 00, ready\n"
                           "LAN 127.0.0.5" +
                           p +
                           ": status 06, printer error (06)\n"
                           "LAN 127.0.0.9" +
                           p + ": cannot open: Connection refused\n");
    EXPECT_TRUE(Contains(all.err, "2 of 4 printers ready")) << all.err;

    const ToolRun picked = Tool({"--multi-lan", list, "--pick", "1,2", "status"});
    EXPECT_EQ(picked.exitCode, 0) << picked.out << picked.err;
    EXPECT_EQ(Lines(picked.out).size(), 2u) << picked.out;

    const ToolRun json = Tool({"--multi-lan", list, "--pick", "3,1", "status", "--json"});
    EXPECT_EQ(json.exitCode, 1);
    auto document = ParseJson(json.out);
    ASSERT_TRUE(document) << json.out;
    auto& printers = (*document)["printers"];
    ASSERT_EQ(printers.size(), 2u) << json.out;
    EXPECT_EQ(printers[0]["printer"], "127.0.0.2" + p) << "list order, whatever the pick's order";
    EXPECT_EQ(printers[0]["status"], 0);
    EXPECT_EQ(printers[0]["ready"], true);
    EXPECT_EQ(printers[1]["status"], 6);
    EXPECT_EQ(printers[1]["ready"], false);
    EXPECT_EQ(printers[1]["text"], "printer error (06)");
    EXPECT_TRUE(Contains((*document)["error"]["message"].get<std::string>(), "127.0.0.5"))
        << json.out;

    // The status request is all a printer gets: nothing interrupts printing.
    for (const sim::LogEntry& e : AllEntries()) EXPECT_EQ(e.command.text, "WS");
}

TEST_F(FleetAdmin, InfoOverAListReadsEveryPrinterAndGivesCountersAsNumbers) {
    const std::string list = List("two.txt", {2, 3});
    rest_.Configure(0, [](sim::SimPrinter& p) { p.state().counters[0] = 1234; });
    const ToolRun text = Tool({"--multi-lan", list, "info", "--section", "RTC"});
    ASSERT_EQ(text.exitCode, 0) << text.out << text.err;
    const std::string p = "," + std::to_string(port_);
    EXPECT_TRUE(Contains(text.out, "LAN 127.0.0.2" + p + ":\nMaintenance Counter Info:\n"))
        << text.out;
    EXPECT_TRUE(Contains(text.out, "LAN 127.0.0.3" + p + ":\nMaintenance Counter Info:\n"))
        << text.out;

    const ToolRun json = Tool({"--multi-lan", List("three.txt", {2, 3, 5}), "info", "--json"});
    EXPECT_EQ(json.exitCode, 1) << "the printer reporting an error cannot be read";
    auto document = ParseJson(json.out);
    ASSERT_TRUE(document) << json.out;
    auto& printers = (*document)["printers"];
    ASSERT_EQ(printers.size(), 3u) << json.out;
    auto row = [](Json rows, const std::string& item) {
        for (Json& r : rows) {
            if (r["item"] == item) return r;
        }
        return Json();
    };
    EXPECT_EQ(row(printers[0]["firmware"], "MAIN")["value"], "R-VQ4T1-T V1.00 :0000");
    EXPECT_EQ(row(printers[1]["firmware"], "MAIN")["value"], "R-VQ4T1-T V2.10 :0000");
    const Json head = row(printers[1]["counters"], "HEAD DISTANCE");
    EXPECT_EQ(head["value"], "1234") << json.out;
    EXPECT_EQ(head["number"], 1234) << "a number, not text";
    EXPECT_EQ(head["unit"], "");
    EXPECT_EQ(printers[2]["result"], "failed");
    EXPECT_TRUE(printers[2]["counters"].empty());
    EXPECT_TRUE(Contains(printers[2]["failure"].get<std::string>(), "(06)")) << json.out;
    EXPECT_TRUE(NothingWritten());
}

TEST_F(FleetAdmin, ChangedOnlyLeavesUnchangedPrintersAloneAndWritesOnlyChangedGroups) {
    const std::string contrast = ContrastFile();
    // The file turns IMAGE_GROUP on too, unchanged on both printers.
    dir_.Write("two-groups.TSI", WithValue(ReadAll(dir_.File(contrast)), "IMAGE_GROUP", "ON"));
    // .3 gets Contrast 7 first; what it is sent is what a change of the display group sends.
    std::size_t mark = rest_.log().Entries().size();
    ASSERT_EQ(Tool({"--lan", Lan("127.0.0.3"), "set-params", contrast, "--yes"}).exitCode, 0);
    const std::vector<std::string> displayKeys = SetKeys(Commands(rest_, 0, mark));
    ASSERT_FALSE(displayKeys.empty());

    const std::size_t firstMark = first_.log().Entries().size();
    mark = rest_.log().Entries().size();
    const ToolRun run = Tool({"--multi-lan", List("two.txt", {2, 3}), "set-params",
                              "two-groups.TSI", "--changed-only", "--yes", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    auto document = ParseJson(run.out);
    ASSERT_TRUE(document) << run.out;
    auto& printers = (*document)["printers"];
    ASSERT_EQ(printers.size(), 2u) << run.out;
    EXPECT_EQ(printers[0]["changed"], true);
    EXPECT_EQ(printers[0]["groups"], Json::array({"DISPLAY_GROUP"}));
    EXPECT_EQ(printers[1]["changed"], false);

    const std::vector<std::string> two = Commands(first_, 0, firstMark);
    EXPECT_EQ(SetKeys(two), displayKeys) << "only the display group is written to .2";
    EXPECT_TRUE(Has(two, "ZSE")) << ".2 restarts so the change takes effect";
    const std::vector<std::string> three = Commands(rest_, 0, mark);
    EXPECT_TRUE(SetKeys(three).empty()) << ".3 is not set";
    EXPECT_FALSE(Has(three, "ZSE")) << ".3 is not restarted";

    const ToolRun again = Tool(
        {"--lan", Lan("127.0.0.2"), "set-params", "two-groups.TSI", "--changed-only", "--yes"});
    EXPECT_EQ(again.exitCode, 0) << again.out << again.err;
    EXPECT_TRUE(Contains(again.out, "LAN 127.0.0.2," + std::to_string(port_) + ": no change\n"))
        << again.out;
    EXPECT_FALSE(Contains(again.out, "Restore to Online")) << again.out;
}

TEST_F(FleetAdmin, BackupSavesValuesASetWouldRefuseAndWarnsOnce) {
    // An odd number of hexadecimal digits: the LAN page's check refuses a set of it.
    first_.Configure(0, [](sim::SimPrinter& p) {
        const ParamItem* id = FindItem(*p.store().model(), "DHCPClientID");
        *p.store().Field(id->getCmdIndex, id->offset) = "ABC";
    });
    const ToolRun run = Tool({"--lan", Lan("127.0.0.2"), "backup", "bk"});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_TRUE(Contains(run.out, ": backed up to bk/")) << run.out;
    const std::vector<std::string> warnings = [&] {
        std::vector<std::string> found;
        for (const std::string& line : Lines(run.err)) {
            if (Contains(line, "warning")) found.push_back(line);
        }
        return found;
    }();
    ASSERT_EQ(warnings.size(), 1u) << run.err;
    EXPECT_TRUE(Contains(warnings[0], "\"DHCP Client ID\"")) << warnings[0];

    const std::string folder =
        "bk/" + std::filesystem::directory_iterator(dir_.File("bk"))->path().filename().string();
    const std::string params = folder + "/params.TSI";
    EXPECT_TRUE(Contains(ReadAll(dir_.File(params)), "\r\nDHCPClientID=\"ABC\"\r\n"))
        << "saved as the printer holds it";

    const std::size_t before = first_.log().Entries().size();
    const ToolRun restore = Tool({"--lan", Lan("127.0.0.2"), "set-params", params, "--yes"});
    EXPECT_EQ(restore.exitCode, 1) << restore.out;
    EXPECT_TRUE(Contains(restore.err, "\"DHCP Client ID\" on the LAN tab page is incorrect"))
        << restore.err;
    EXPECT_EQ(first_.log().Entries().size(), before) << "refused before the printer is touched";
}

TEST_F(FleetAdmin, RestoreOnlineWithRestartRestartsEveryPrinterOfTheList) {
    const ToolRun run =
        Tool({"--multi-lan", List("two.txt", {2, 3}), "restore-online", "--restart"});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    for (sim::SimServer* server : {&first_, &rest_}) {
        const std::vector<std::string> commands = Commands(*server, 0);
        ASSERT_FALSE(commands.empty());
        EXPECT_EQ(commands.front(), "ZSE") << "leave with restart, on each printer";
        EXPECT_FALSE(Has(commands, "ZSR"));
    }
}

TEST_F(FleetAdmin, ParallelBoundsThePrintersInProgressAndNeverRunsOnePrinterTwiceAtOnce) {
    for (const char* wrong : {"0", "65", "x"}) {
        const ToolRun run =
            Tool({"--multi-lan", List("two.txt", {2, 3}), "--parallel", wrong, "status"});
        EXPECT_EQ(run.exitCode, 2) << wrong << "\n" << run.err;
        EXPECT_TRUE(Contains(run.err, "--parallel")) << run.err;
    }

    // Three printers, two of them listed twice.
    sim::SimServer three{Clock(0.01)};
    sim::PrinterSetup setup;
    setup.printer.definitionsPath = RVQ_SOURCE_DIR "/data/VQTool_Printer.XML";
    for (int i = 0; i < 3; ++i) three.AddPrinter(setup);
    std::string error;
    ASSERT_TRUE(three.Start(error)) << error;
    std::string list = "[HEADER]\r\nMulti LAN Setting\r\nV001.000\r\n[LIST]\r\n";
    for (int printer : {0, 1, 2, 0, 1})
        list += "127.0.0.1," + std::to_string(three.Port(printer)) + "\r\n";
    dir_.Write("repeats.txt", list);

    const ToolRun one = Tool({"--multi-lan", "repeats.txt", "--parallel", "1", "restore-online"});
    ASSERT_EQ(one.exitCode, 0) << one.out << one.err;
    EXPECT_EQ(three.MostConnectedPrinters(), 1) << "one printer at a time";

    three.ResetMostConnectedPrinters();
    const ToolRun wide = Tool({"--multi-lan", "repeats.txt", "--parallel", "64", "restore-online"});
    ASSERT_EQ(wide.exitCode, 0) << wide.out << wide.err;
    EXPECT_TRUE(Contains(wide.err + wide.out, "5 succeeded, 0 failed")) << wide.out << wide.err;
    EXPECT_EQ(three.MostConnectionsToOnePrinter(), 1)
        << "a printer listed twice is served one entry after the other";
}

TEST_F(FleetAdmin, DiffSaysInOneLineWhichReplyLackedWhichItems) {
    // A printer whose definitions lack the last item of a reply answers short.
    std::string definitions = ReadAll(RVQ_SOURCE_DIR "/data/VQTool_Printer.XML");
    const std::size_t at = definitions.find("<Item name=\"RFID_RetryPosition\"");
    ASSERT_NE(at, std::string::npos);
    definitions.erase(at, definitions.find("</Item>", at) + 7 - at);
    dir_.Write("short.XML", definitions);
    sim::SimServer shortReplies{Clock(0.01)};
    sim::PrinterSetup setup;
    setup.printer.definitionsPath = dir_.File("short.XML");
    ASSERT_GE(shortReplies.AddPrinter(setup), 0);
    std::string error;
    ASSERT_TRUE(shortReplies.Start(error)) << error;
    const std::string lan = "127.0.0.1:" + std::to_string(shortReplies.Port(0));

    ASSERT_EQ(Tool({"--lan", lan, "get-params", "--out", "all.TSI", "--groups", "all"}).exitCode,
              0);
    const ToolRun diff = Tool({"--lan", lan, "diff", "all.TSI"});
    EXPECT_EQ(diff.exitCode, 3) << "a set would write the item the printer did not report";
    EXPECT_TRUE(
        Contains(diff.out,
                 "*  the reply to ZWR110 (get command 3200) lacked 1 item (a set writes the file's "
                 "values): RFID_RetryPosition\n"))
        << diff.out;
    EXPECT_EQ(Squeezed(diff.out).find(" RFID_RetryPosition "), std::string::npos)
        << "one line, not a row per item";
}

}  // namespace
}  // namespace rvq::test
