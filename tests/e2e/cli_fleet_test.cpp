// rvqtool's fleet operations against several simulated printers on
// loopback addresses: discover --versions, diff and set-params --dry-run,
// --audit, --canary.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <filesystem>

#include "json_reader.h"
#include "rom_files.h"
#include "sim/param_commands.h"
#include "sim/sim_server.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace rvq::test {
namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string WithValue(std::string file, const std::string& key, const std::string& value) {
    const std::size_t at = file.find("\r\n" + key + "=");
    if (at == std::string::npos) return file;
    const std::size_t start = at + 3 + key.size();
    file.replace(start, file.find("\r\n", start) - start, value);
    return file;
}

// The text with every run of spaces made one space, so that table
// columns compare without their padding.
std::string Squeezed(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != ' ' || out.empty() || out.back() != ' ') out.push_back(c);
    }
    return out;
}

// `text` has the shape of `pattern`, where '#' stands for any digit.
bool Shaped(const std::string& text, const std::string& pattern) {
    if (text.size() != pattern.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool ok = pattern[i] == '#' ? std::isdigit(static_cast<unsigned char>(text[i])) != 0
                                          : text[i] == pattern[i];
        if (!ok) return false;
    }
    return true;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

// A command the printer would take as a parameter write.
bool IsSetCommand(const sim::LogEntry& entry) {
    const std::string& text = entry.command.text;
    return !sim::FindSetCommands(text.substr(0, text.find(';'))).empty();
}

// Printers on one port at 127.0.0.2 (MAIN V1.00), .3 (MAIN V2.10) and .5
// (reporting error status 06).
class CliFleet : public ::testing::Test {
protected:
    void SetUp() override {
        sim::PrinterSetup setup;
        setup.printer.restartMs = 500;
        setup.printer.definitionsPath = RVQ_SOURCE_DIR "/data/VQTool_Printer.XML";
        setup.endpoint.host = "127.0.0.2";
        first_.AddPrinter(setup);
        std::string error;
        ASSERT_TRUE(first_.Start(error)) << error;
        port_ = first_.Port(0);

        setup.endpoint.port = port_;
        setup.endpoint.host = "127.0.0.3";
        setup.printer.mainVersion = "V2.10";
        rest_.AddPrinter(setup);
        setup.endpoint.host = "127.0.0.5";
        setup.printer.faults.errorStatus = 6;
        rest_.AddPrinter(setup);
        ASSERT_TRUE(rest_.Start(error)) << error;
    }

    ToolRun Tool(const std::vector<std::string>& args) {
        return RunTool(args, dir_.path(), {"RVQ_TIME_SCALE=0.01"});
    }
    std::string Lan(const std::string& host) { return host + ":" + std::to_string(port_); }
    // A Multi-LAN list file of the printers at these last address bytes.
    std::string List(const std::string& name, const std::vector<int>& hosts) {
        std::string text = "[HEADER]\r\nMulti LAN Setting\r\nV001.000\r\n[LIST]\r\n";
        for (int h : hosts) text += "127.0.0." + std::to_string(h) + "," + std::to_string(port_) + "\r\n";
        dir_.Write(name, text);
        return name;
    }
    // The settings of .2 with the display group ON and Contrast set to 7.
    std::string ContrastFile() {
        const ToolRun got = Tool({"--lan", Lan("127.0.0.2"), "get-params", "--out", "got.TSI"});
        EXPECT_EQ(got.exitCode, 0) << got.out << got.err;
        const std::string file = ReadAll(dir_.File("got.TSI"));
        dir_.Write("same.TSI", WithValue(file, "DISPLAY_GROUP", "ON"));
        dir_.Write("contrast.TSI", WithValue(WithValue(file, "DISPLAY_GROUP", "ON"), "Contrast", "7"));
        return "contrast.TSI";
    }
    bool NothingWritten() {
        const std::vector<sim::LogEntry> entries = AllEntries();
        return !std::any_of(entries.begin(), entries.end(), IsSetCommand);
    }
    std::vector<sim::LogEntry> AllEntries() {
        std::vector<sim::LogEntry> all = first_.log().Entries();
        for (const auto& e : rest_.log().Entries()) all.push_back(e);
        return all;
    }

    TempDir dir_;
    sim::SimServer first_{Clock(0.01)};
    sim::SimServer rest_{Clock(0.01)};
    int port_ = 0;
};

TEST_F(CliFleet, DiscoverVersionsReadsEachPrinterAndNamesTheOneThatCannotBeRead) {
    // No address of the range stays silent, so a long time-out costs nothing
    // and keeps a loaded machine from missing a printer.
    const std::vector<std::string> scan = {"discover", "127.0.0.0/29", "--port", std::to_string(port_),
                                           "--timeout", "30", "--versions"};
    const ToolRun text = Tool(scan);
    ASSERT_EQ(text.exitCode, 0) << text.out << text.err;
    const std::string p = ":" + std::to_string(port_);
    EXPECT_TRUE(Contains(text.out, "127.0.0.2" + p + ": status 00, ready\n    BOOT: R-VQ4T1-T V1.00 :0000\n"
                                   "    MAIN: R-VQ4T1-T V1.00 :0000\n"))
        << text.out;
    EXPECT_TRUE(Contains(text.out, "127.0.0.3" + p + ": status 00, ready\n    BOOT: R-VQ4T1-T V1.00 :0000\n"
                                   "    MAIN: R-VQ4T1-T V2.10 :0000\n"))
        << text.out;
    EXPECT_TRUE(Contains(text.out, "127.0.0.5" + p + ": status 06, printer error (06)\n    versions not read: "))
        << text.out;

    std::vector<std::string> jsonArgs = scan;
    jsonArgs.push_back("--json");
    const ToolRun json = Tool(jsonArgs);
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const auto value = ParseJson(json.out);
    ASSERT_TRUE(value) << json.out;
    const auto& printers = (*value)["printers"];
    ASSERT_EQ(printers.items.size(), 3u) << json.out;
    const auto& versions = printers[1]["versions"];
    ASSERT_GE(versions.items.size(), 2u) << json.out;
    EXPECT_EQ(versions[1]["name"].text, "MAIN");
    EXPECT_EQ(versions[1]["version"].text, "V2.10");
    EXPECT_TRUE(printers[2]["versions"].items.empty());
    EXPECT_TRUE(Contains(printers[2]["versionError"].text, "(06)")) << json.out;
    EXPECT_TRUE(NothingWritten());
}

TEST_F(CliFleet, DiffAndDryRunShowWhatWouldChangeAndWriteNothing) {
    const std::string file = ContrastFile();
    const std::string list = List("two.txt", {2, 3});
    const std::size_t before = AllEntries().size();

    for (const char* command : {"diff", "set-params"}) {
        std::vector<std::string> args = {"--multi-lan", list, command, file};
        if (std::string(command) == "set-params") args.insert(args.end(), {"--dry-run", "--yes"});
        const ToolRun run = Tool(args);
        EXPECT_EQ(run.exitCode, 3) << command << "\n" << run.out << run.err;
        for (const char* host : {"127.0.0.2", "127.0.0.3"}) {
            EXPECT_TRUE(Contains(run.out, std::string("LAN ") + host + "," + std::to_string(port_) +
                                              ": 1 of 5 items would change"))
                << run.out;
        }
        EXPECT_TRUE(Contains(Squeezed(run.out), "\n * DISPLAY_GROUP Contrast 4 7\n")) << run.out;
        EXPECT_TRUE(Contains(Squeezed(run.out), "\n DISPLAY_GROUP LCDLanguage English English\n")) << run.out;
    }
    const std::vector<sim::LogEntry> entries = AllEntries();
    EXPECT_GT(entries.size(), before) << "the printers were read";
    EXPECT_FALSE(std::any_of(entries.begin(), entries.end(), IsSetCommand)) << "nothing was written";

    const ToolRun same = Tool({"--multi-lan", list, "diff", "same.TSI"});
    EXPECT_EQ(same.exitCode, 0) << same.out << same.err;
    EXPECT_TRUE(Contains(same.out, ": 0 of 5 items would change")) << same.out;

    const ToolRun json = Tool({"--lan", Lan("127.0.0.3"), "diff", file, "--json"});
    EXPECT_EQ(json.exitCode, 3) << json.err;
    const auto value = ParseJson(json.out);
    ASSERT_TRUE(value) << json.out;
    const auto& printer = (*value)["printers"][0];
    EXPECT_EQ(printer["result"].text, "succeeded");
    EXPECT_EQ(printer["changed"].number, 1);
    const auto& contrast = printer["items"][1];
    EXPECT_EQ(contrast["item"].text, "Contrast");
    EXPECT_EQ(contrast["printer"].text, "4");
    EXPECT_EQ(contrast["file"].text, "7");
    EXPECT_TRUE(contrast["changed"].boolean);

    const ToolRun withBroken = Tool({"--multi-lan", List("three.txt", {2, 5}), "diff", file});
    EXPECT_EQ(withBroken.exitCode, 1) << withBroken.out;
    EXPECT_TRUE(Contains(withBroken.out, "LAN 127.0.0.5," + std::to_string(port_) + ": not read: ")) << withBroken.out;
}

TEST_F(CliFleet, DiffShowsSecretsAsSecret) {
    const ToolRun got = Tool({"--lan", Lan("127.0.0.2"), "get-params", "--out", "pw.TSI", "--groups",
                              "PASSWORD_GROUP", "--include-secrets"});
    ASSERT_EQ(got.exitCode, 0) << got.out << got.err;
    const ToolRun diff = Tool({"--lan", Lan("127.0.0.2"), "diff", "pw.TSI"});
    EXPECT_EQ(diff.exitCode, 0) << diff.out << diff.err;
    EXPECT_TRUE(Contains(Squeezed(diff.out), " PASSWORD_GROUP NewPassword (secret) (secret)\n")) << diff.out;
    EXPECT_FALSE(Contains(diff.out, "5813")) << "the default password in clear";
}

TEST_F(CliFleet, AuditRecordsEveryPrinterJobAndTheItemsASetChanged) {
    const std::string file = ContrastFile();
    const std::string list = List("two.txt", {2, 3});
    const ToolRun set = Tool({"--multi-lan", list, "--audit", "audit.log", "set-params", file, "--yes"});
    ASSERT_EQ(set.exitCode, 0) << set.out << set.err;
    const ToolRun failed = Tool({"--lan", Lan("127.0.0.5"), "--audit", "audit.log", "diff", file});
    EXPECT_NE(failed.exitCode, 0);
    const ToolRun status = Tool({"--lan", Lan("127.0.0.5"), "--audit", "audit.log", "status"});
    EXPECT_EQ(status.exitCode, 1);

    const std::vector<std::string> lines = Lines(ReadAll(dir_.File("audit.log")));
    // Before the set its values are read: a read and a set line for each printer, then the failures.
    ASSERT_EQ(lines.size(), 6u) << ReadAll(dir_.File("audit.log"));
    std::vector<std::string> jobs;
    for (const std::string& line : lines) {
        const auto value = ParseJson(line);
        ASSERT_TRUE(value) << line;
        EXPECT_TRUE(Shaped((*value)["time"].text, "####-##-##T##:##:##Z")) << line;
        EXPECT_FALSE((*value)["user"].text.empty()) << line;
        EXPECT_FALSE((*value)["host"].text.empty()) << line;
        EXPECT_EQ((*value)["interface"].text, "LAN");
        jobs.push_back((*value)["job"].text + " " + (*value)["printer"].text + " " + (*value)["result"].text);
        if ((*value)["job"].text == "set-parameter") {
            const auto& changes = (*value)["changes"];
            ASSERT_EQ(changes.items.size(), 1u) << line;
            EXPECT_EQ(changes[0]["item"].text, "Contrast");
            EXPECT_EQ(changes[0]["before"].text, "4");
            EXPECT_EQ(changes[0]["after"].text, "7");
        }
    }
    const std::string p = "," + std::to_string(port_);
    std::sort(jobs.begin(), jobs.begin() + 2);
    std::sort(jobs.begin() + 2, jobs.begin() + 4);
    EXPECT_EQ(jobs, (std::vector<std::string>{
                        "get-parameter 127.0.0.2" + p + " succeeded", "get-parameter 127.0.0.3" + p + " succeeded",
                        "set-parameter 127.0.0.2" + p + " succeeded", "set-parameter 127.0.0.3" + p + " succeeded",
                        "get-parameter 127.0.0.5" + p + " failed", "status 127.0.0.5" + p + " failed"}));
    EXPECT_TRUE(Contains(lines.back(), R"x("detail":"status 06, printer error (06)")x")) << lines.back();
}

TEST_F(CliFleet, ConcurrentRunsAppendWholeAuditLines) {
    const std::string list = List("three.txt", {2, 3, 5});
    std::vector<std::thread> runs;
    for (int i = 0; i < 4; ++i) {
        runs.emplace_back([&] { Tool({"--multi-lan", list, "--audit", "audit.log", "restore-online"}); });
    }
    for (auto& t : runs) t.join();
    const std::vector<std::string> lines = Lines(ReadAll(dir_.File("audit.log")));
    EXPECT_EQ(lines.size(), 12u);
    for (const std::string& line : lines) EXPECT_TRUE(ParseJson(line)) << line;
}

TEST_F(CliFleet, CanaryStopsBeforeTheRestWhenACanaryFails) {
    const std::string file = ContrastFile();
    const std::size_t before = first_.log().Entries().size();
    const ToolRun stopped =
        Tool({"--multi-lan", List("bad-first.txt", {5, 2, 3}), "--canary", "1", "set-params", file, "--yes"});
    EXPECT_EQ(stopped.exitCode, 1) << stopped.out << stopped.err;
    EXPECT_TRUE(Contains(stopped.out, "0 succeeded, 1 failed, 2 not run\n")) << stopped.out;
    EXPECT_TRUE(Contains(stopped.err, "the other printers are not run")) << stopped.err;
    EXPECT_EQ(first_.log().Entries().size(), before) << ".2 was not touched";

    const ToolRun passed =
        Tool({"--multi-lan", List("good-first.txt", {2, 3, 5}), "--canary", "2", "set-params", file, "--yes"});
    EXPECT_EQ(passed.exitCode, 1) << passed.out;
    EXPECT_TRUE(Contains(passed.out, "2 succeeded, 1 failed\n")) << passed.out;

    const ToolRun usage = Tool({"--lan", Lan("127.0.0.2"), "--canary", "1", "restore-online"});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_TRUE(Contains(usage.err, "--canary goes with a Multi-LAN list")) << usage.err;
}

// The folders directly inside `dir`, by name.
std::vector<std::string> Folders(const std::string& dir) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(CliFleet, BackupSavesEachPrinterInAFolderOfItsOwnThatRestoresToNoChange) {
    const ToolRun run = Tool({"--multi-lan", List("three.txt", {2, 3, 5}), "backup", "bk"});
    EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    const std::string p = std::to_string(port_);
    EXPECT_TRUE(Contains(run.out, "LAN 127.0.0.5," + p + ": not backed up: ")) << run.out;
    EXPECT_TRUE(Contains(run.out, "(06)\n")) << run.out;
    const std::vector<std::string> folders = Folders(dir_.File("bk"));
    ASSERT_EQ(folders.size(), 2u) << "nothing of .5, no partial folder left";
    EXPECT_TRUE(Shaped(folders[0], "127.0.0.2_" + p + "-########T######Z")) << folders[0];
    EXPECT_TRUE(Contains(run.out, "LAN 127.0.0.2," + p + ": backed up to bk/" + folders[0] + "\n")) << run.out;
    EXPECT_TRUE(NothingWritten());

    const std::string three = "bk/" + folders[1];
    const std::string params = ReadAll(dir_.File(three + "/params.TSI"));
    EXPECT_TRUE(Contains(params, "\r\nPASSWORD_GROUP=ON\r\n")) << "every group ON";
    EXPECT_FALSE(Contains(params, "NewPassword=")) << "no secrets unless asked";
    ASSERT_EQ(Tool({"--lan", Lan("127.0.0.3"), "save-info", "saved.txt"}).exitCode, 0);
    EXPECT_EQ(ReadAll(dir_.File(three + "/info.txt")), ReadAll(dir_.File("saved.txt")));
    EXPECT_TRUE(Contains(ReadAll(dir_.File(three + "/info.txt")), "R-VQ4T1-T V2.10"));

    const ToolRun restore = Tool({"--lan", Lan("127.0.0.3"), "diff", three + "/params.TSI"});
    EXPECT_EQ(restore.exitCode, 0) << restore.out << restore.err;

    const ToolRun secrets = Tool({"--lan", Lan("127.0.0.2"), "backup", "sk", "--include-secrets"});
    ASSERT_EQ(secrets.exitCode, 0) << secrets.out << secrets.err;
    const std::string secret = dir_.File("sk/" + Folders(dir_.File("sk"))[0] + "/params.TSI");
    EXPECT_TRUE(Contains(ReadAll(secret), "NewPassword="));
    EXPECT_EQ(static_cast<unsigned>(std::filesystem::status(secret).permissions()), 0600u)
        << "scrambled passwords are their owner's alone";
}

TEST_F(CliFleet, FirmwareWithBackupFirstProgramsNothingWhenABackupFails) {
    dir_.Write("main.bin", RomFile(8, "MAIN", "V3.00"));
    auto programmed = [](sim::SimServer& server) {
        const auto entries = server.log().Entries();
        return std::count_if(entries.begin(), entries.end(),
                             [](const sim::LogEntry& e) { return e.command.text == "LP;" && e.command.data; });
    };
    const ToolRun refused =
        Tool({"--multi-lan", List("with-broken.txt", {2, 5}), "firmware", "main.bin", "--backup-first", "bk", "--yes"});
    EXPECT_EQ(refused.exitCode, 1) << refused.out << refused.err;
    EXPECT_TRUE(Contains(refused.err, "the backup failed; no firmware was sent")) << refused.err;
    EXPECT_EQ(programmed(first_), 0);

    const ToolRun run =
        Tool({"--multi-lan", List("two.txt", {2, 3}), "firmware", "main.bin", "--backup-first", "bk", "--yes"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(programmed(first_), 1);
    EXPECT_EQ(programmed(rest_), 1);
    EXPECT_EQ(Folders(dir_.File("bk")).size(), 3u) << "the first run's backup of .2 and both of this one";
}

TEST_F(CliFleet, JsonGivesOneDocumentWithEachRunsPrinterStatesAndLines) {
    const std::string file = ContrastFile();
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::vector<std::string> jobs;     // the runs in order
        std::vector<std::string> results;  // the printers of the last run
    } cases[] = {
        {{"--lan", Lan("127.0.0.2"), "set-params", file, "--yes"}, 0,
         {"set-parameter", "restore-online"}, {"succeeded"}},
        {{"--multi-lan", List("bad-first.txt", {5, 2, 3}), "--canary", "1", "set-params", file, "--yes"}, 1,
         {"set-parameter"}, {"failed", "not run", "not run"}},
        {{"--lan", Lan("127.0.0.3"), "save-info", "info.txt"}, 0, {"printer-information"}, {"succeeded"}},
        {{"--lan", Lan("127.0.0.5"), "reset", "--yes"}, 1, {"printer-reset"}, {"failed"}},
        {{"--lan", Lan("127.0.0.2"), "get-params"}, 0, {"get-parameter", "restore-online"}, {"succeeded"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back("--json");
        const ToolRun run = Tool(args);
        const std::string what = args[2] + " " + args[3];
        EXPECT_EQ(run.exitCode, c.exitCode) << what << "\n" << run.out << run.err;
        const auto value = ParseJson(run.out);
        ASSERT_TRUE(value) << what << "\n" << run.out;
        const auto& runs = (*value)["runs"];
        ASSERT_EQ(runs.items.size(), c.jobs.size()) << what << "\n" << run.out;
        for (std::size_t i = 0; i < c.jobs.size(); ++i) EXPECT_EQ(runs[i]["job"].text, c.jobs[i]) << what;
        const auto& printers = runs.items.back()["printers"];
        ASSERT_EQ(printers.items.size(), c.results.size()) << what << "\n" << run.out;
        for (std::size_t i = 0; i < c.results.size(); ++i) {
            EXPECT_EQ(printers[i]["result"].text, c.results[i]) << what << " printer " << i;
            EXPECT_EQ(printers[i]["lines"].items.empty(), c.results[i] == "not run") << what << " printer " << i;
        }
    }
}

}  // namespace
}  // namespace rvq::test
