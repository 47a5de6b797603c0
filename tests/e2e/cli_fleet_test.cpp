// rvqtool's fleet operations against several simulated printers on
// loopback addresses: discover --versions, diff and set-params --dry-run,
// --audit, --canary.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "fleet_fixture.h"
#include "json_document.h"
#include "rom_files.h"

namespace rvq::test {
namespace {

TEST_F(CliFleet, DiscoverVersionsReadsEachPrinterAndNamesTheOneThatCannotBeRead) {
    // No address of the range stays silent, so a long time-out costs nothing
    // and keeps a loaded machine from missing a printer.
    const std::vector<std::string> scan = {
        "discover",  "127.0.0.0/29", "--port",    std::to_string(port_),
        "--timeout", "30",           "--versions"};
    const ToolRun text = Tool(scan);
    ASSERT_EQ(text.exitCode, 0) << text.out << text.err;
    const std::string p = ":" + std::to_string(port_);
    EXPECT_TRUE(Contains(text.out, "127.0.0.2" + p +
                                       ": status 00, ready\n    BOOT: R-VQ4T1-T V1.00 :0000\n"
                                       "    MAIN: R-VQ4T1-T V1.00 :0000\n"))
        << text.out;
    EXPECT_TRUE(Contains(text.out, "127.0.0.3" + p +
                                       ": status 00, ready\n    BOOT: R-VQ4T1-T V1.00 :0000\n"
                                       "    MAIN: R-VQ4T1-T V2.10 :0000\n"))
        << text.out;
    EXPECT_TRUE(Contains(
        text.out, "127.0.0.5" + p + ": status 06, printer error (06)\n    versions not read: "))
        << text.out;

    std::vector<std::string> jsonArgs = scan;
    jsonArgs.emplace_back("--json");
    const ToolRun json = Tool(jsonArgs);
    ASSERT_EQ(json.exitCode, 0) << json.err;
    auto value = ParseJson(json.out);
    ASSERT_TRUE(value) << json.out;
    auto& printers = (*value)["printers"];
    ASSERT_EQ(printers.size(), 3u) << json.out;
    const auto& versions = printers[1]["versions"];
    ASSERT_GE(versions.size(), 2u) << json.out;
    EXPECT_EQ(versions[1]["name"].get<std::string>(), "MAIN");
    EXPECT_EQ(versions[1]["version"].get<std::string>(), "V2.10");
    EXPECT_TRUE(printers[2]["versions"].empty());
    EXPECT_TRUE(Contains(printers[2]["versionError"].get<std::string>(), "(06)")) << json.out;
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
        EXPECT_TRUE(Contains(Squeezed(run.out), "\n DISPLAY_GROUP LCDLanguage English English\n"))
            << run.out;
    }
    const std::vector<sim::LogEntry> entries = AllEntries();
    EXPECT_GT(entries.size(), before) << "the printers were read";
    EXPECT_FALSE(std::any_of(entries.begin(), entries.end(), IsSetCommand))
        << "nothing was written";

    const ToolRun same = Tool({"--multi-lan", list, "diff", "same.TSI"});
    EXPECT_EQ(same.exitCode, 0) << same.out << same.err;
    EXPECT_TRUE(Contains(same.out, ": 0 of 5 items would change")) << same.out;

    const ToolRun json = Tool({"--lan", Lan("127.0.0.3"), "diff", file, "--json"});
    EXPECT_EQ(json.exitCode, 3) << json.err;
    auto value = ParseJson(json.out);
    ASSERT_TRUE(value) << json.out;
    auto& printer = (*value)["printers"][0];
    EXPECT_EQ(printer["result"].get<std::string>(), "succeeded");
    EXPECT_EQ(printer["changed"].get<double>(), 1);
    const auto& contrast = printer["items"][1];
    EXPECT_EQ(contrast["item"].get<std::string>(), "Contrast");
    EXPECT_EQ(contrast["printer"].get<std::string>(), "4");
    EXPECT_EQ(contrast["file"].get<std::string>(), "7");
    EXPECT_TRUE(contrast["changed"].get<bool>());

    const ToolRun withBroken = Tool({"--multi-lan", List("three.txt", {2, 5}), "diff", file});
    EXPECT_EQ(withBroken.exitCode, 1) << withBroken.out;
    EXPECT_TRUE(Contains(withBroken.out, "LAN 127.0.0.5," + std::to_string(port_) + ": not read: "))
        << withBroken.out;
}

TEST_F(CliFleet, DiffShowsSecretsAsSecret) {
    const ToolRun got = Tool({"--lan", Lan("127.0.0.2"), "get-params", "--out", "pw.TSI",
                              "--groups", "PASSWORD_GROUP", "--include-secrets"});
    ASSERT_EQ(got.exitCode, 0) << got.out << got.err;
    const ToolRun diff = Tool({"--lan", Lan("127.0.0.2"), "diff", "pw.TSI"});
    EXPECT_EQ(diff.exitCode, 0) << diff.out << diff.err;
    EXPECT_TRUE(Contains(Squeezed(diff.out), " PASSWORD_GROUP NewPassword (secret) (secret)\n"))
        << diff.out;
    EXPECT_FALSE(Contains(diff.out, "5813")) << "the default password in clear";
}

TEST_F(CliFleet, AuditRecordsEveryPrinterJobAndTheItemsASetChanged) {
    const std::string file = ContrastFile();
    const std::string list = List("two.txt", {2, 3});
    const ToolRun set =
        Tool({"--multi-lan", list, "--audit", "audit.log", "set-params", file, "--yes"});
    ASSERT_EQ(set.exitCode, 0) << set.out << set.err;
    const ToolRun failed = Tool({"--lan", Lan("127.0.0.5"), "--audit", "audit.log", "diff", file});
    EXPECT_NE(failed.exitCode, 0);
    const ToolRun status = Tool({"--lan", Lan("127.0.0.5"), "--audit", "audit.log", "status"});
    EXPECT_EQ(status.exitCode, 1);

    const std::vector<std::string> lines = Lines(ReadAll(dir_.File("audit.log")));
    // Before the set its values are read: a read and a set line for each printer, then the
    // failures.
    ASSERT_EQ(lines.size(), 6u) << ReadAll(dir_.File("audit.log"));
    std::vector<std::string> jobs;
    for (const std::string& line : lines) {
        auto value = ParseJson(line);
        ASSERT_TRUE(value) << line;
        EXPECT_TRUE(Shaped((*value)["time"].get<std::string>(), "####-##-##T##:##:##Z")) << line;
        EXPECT_FALSE((*value)["user"].get<std::string>().empty()) << line;
        EXPECT_FALSE((*value)["host"].get<std::string>().empty()) << line;
        EXPECT_EQ((*value)["interface"].get<std::string>(), "LAN");
        jobs.push_back((*value)["job"].get<std::string>() + " " +
                       (*value)["printer"].get<std::string>() + " " +
                       (*value)["result"].get<std::string>());
        if ((*value)["job"].get<std::string>() == "set-parameter") {
            auto& changes = (*value)["changes"];
            ASSERT_EQ(changes.size(), 1u) << line;
            EXPECT_EQ(changes[0]["item"].get<std::string>(), "Contrast");
            EXPECT_EQ(changes[0]["before"].get<std::string>(), "4");
            EXPECT_EQ(changes[0]["after"].get<std::string>(), "7");
        }
    }
    const std::string p = "," + std::to_string(port_);
    std::sort(jobs.begin(), jobs.begin() + 2);
    std::sort(jobs.begin() + 2, jobs.begin() + 4);
    EXPECT_EQ(jobs, (std::vector<std::string>{"get-parameter 127.0.0.2" + p + " succeeded",
                                              "get-parameter 127.0.0.3" + p + " succeeded",
                                              "set-parameter 127.0.0.2" + p + " succeeded",
                                              "set-parameter 127.0.0.3" + p + " succeeded",
                                              "get-parameter 127.0.0.5" + p + " failed",
                                              "status 127.0.0.5" + p + " failed"}));
    EXPECT_TRUE(Contains(lines.back(), R"x("detail":"status 06, printer error (06)")x"))
        << lines.back();
}

TEST_F(CliFleet, ConcurrentRunsAppendWholeAuditLines) {
    const std::string list = List("three.txt", {2, 3, 5});
    std::vector<std::thread> runs;
    for (int i = 0; i < 4; ++i) {
        runs.emplace_back([&] {
            Tool({"--multi-lan", list, "--audit", "audit.log", "restore-online"});
        });
    }
    for (auto& t : runs) t.join();
    const std::vector<std::string> lines = Lines(ReadAll(dir_.File("audit.log")));
    EXPECT_EQ(lines.size(), 12u);
    for (const std::string& line : lines) EXPECT_TRUE(ParseJson(line)) << line;
}

TEST_F(CliFleet, CanaryStopsBeforeTheRestWhenACanaryFails) {
    const std::string file = ContrastFile();
    const std::size_t before = first_.log().Entries().size();
    const ToolRun stopped = Tool({"--multi-lan", List("bad-first.txt", {5, 2, 3}), "--canary", "1",
                                  "set-params", file, "--yes"});
    EXPECT_EQ(stopped.exitCode, 1) << stopped.out << stopped.err;
    EXPECT_TRUE(Contains(stopped.out, "0 succeeded, 1 failed, 2 not run\n")) << stopped.out;
    EXPECT_TRUE(Contains(stopped.err, "the other printers are not run")) << stopped.err;
    EXPECT_EQ(first_.log().Entries().size(), before) << ".2 was not touched";

    const ToolRun passed = Tool({"--multi-lan", List("good-first.txt", {2, 3, 5}), "--canary", "2",
                                 "set-params", file, "--yes"});
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
    EXPECT_TRUE(Contains(run.out, "LAN 127.0.0.2," + p + ": backed up to bk/" + folders[0] + "\n"))
        << run.out;
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
        return std::count_if(entries.begin(), entries.end(), [](const sim::LogEntry& e) {
            return e.command.text == "LP;" && e.command.data;
        });
    };
    const ToolRun refused = Tool({"--multi-lan", List("with-broken.txt", {2, 5}), "firmware",
                                  "main.bin", "--backup-first", "bk", "--yes"});
    EXPECT_EQ(refused.exitCode, 1) << refused.out << refused.err;
    EXPECT_TRUE(Contains(refused.err, "the backup failed; no firmware was sent")) << refused.err;
    EXPECT_EQ(programmed(first_), 0);

    const ToolRun run = Tool({"--multi-lan", List("two.txt", {2, 3}), "firmware", "main.bin",
                              "--backup-first", "bk", "--yes"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(programmed(first_), 1);
    EXPECT_EQ(programmed(rest_), 1);
    EXPECT_EQ(Folders(dir_.File("bk")).size(), 3u)
        << "the first run's backup of .2 and both of this one";
}

TEST_F(CliFleet, JsonGivesOneDocumentWithEachRunsPrinterStatesAndLines) {
    const std::string file = ContrastFile();
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::vector<std::string> jobs;     // the runs in order
        std::vector<std::string> results;  // the printers of the last run
    } cases[] = {
        {{"--lan", Lan("127.0.0.2"), "set-params", file, "--yes"},
         0,
         {"set-parameter", "restore-online"},
         {"succeeded"}},
        {{"--multi-lan", List("bad-first.txt", {5, 2, 3}), "--canary", "1", "set-params", file,
          "--yes"},
         1,
         {"set-parameter"},
         {"failed", "not run", "not run"}},
        {{"--lan", Lan("127.0.0.3"), "save-info", "info.txt"},
         0,
         {"printer-information"},
         {"succeeded"}},
        {{"--lan", Lan("127.0.0.5"), "reset", "--yes"}, 1, {"printer-reset"}, {"failed"}},
        {{"--lan", Lan("127.0.0.2"), "get-params"},
         0,
         {"get-parameter", "restore-online"},
         {"succeeded"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.emplace_back("--json");
        const ToolRun run = Tool(args);
        const std::string what = args[2] + " " + args[3];
        EXPECT_EQ(run.exitCode, c.exitCode) << what << "\n" << run.out << run.err;
        auto value = ParseJson(run.out);
        ASSERT_TRUE(value) << what << "\n" << run.out;
        auto& runs = (*value)["runs"];
        ASSERT_EQ(runs.size(), c.jobs.size()) << what << "\n" << run.out;
        for (std::size_t i = 0; i < c.jobs.size(); ++i)
            EXPECT_EQ(runs[i]["job"].get<std::string>(), c.jobs[i]) << what;
        const auto& printers = runs.back()["printers"];
        ASSERT_EQ(printers.size(), c.results.size()) << what << "\n" << run.out;
        for (std::size_t i = 0; i < c.results.size(); ++i) {
            EXPECT_EQ(printers[i]["result"].get<std::string>(), c.results[i])
                << what << " printer " << i;
            EXPECT_EQ(printers[i]["lines"].empty(), c.results[i] == "not run")
                << what << " printer " << i;
        }
    }
}

}  // namespace
}  // namespace rvq::test
