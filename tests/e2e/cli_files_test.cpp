// rvqtool and the files it reads and writes: the login password, files a
// user may not write, an edited Japanese table.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/app/machine_store.h"
#include "sim/sim_server.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace rvq::test {
namespace {

constexpr uid_t kNobody = 65534;
constexpr const char* kSetpriv = "/usr/bin/setpriv";

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class CliLogin : public ::testing::Test {
protected:
    void SetUp() override {
        ::unsetenv("RVQ_PASSWORD");  // the programs started here inherit the environment
        sim::PrinterSetup setup;
        setup.printer.restartMs = 1000;
        setup.printer.definitionsPath = std::string(RVQ_SOURCE_DIR) + "/data/VQTool_Printer.XML";
        server_.AddPrinter(setup);
        std::string error;
        ASSERT_TRUE(server_.Start(error)) << error;
        // The folder's own settings, so its store holds the login password.
        dir_.Write("VQTool.INI", "[PRINTER]\r\nDEVICE=LAN\r\n[LAN]\r\nNAME=127.0.0.1\r\nPORT=" +
                                     std::to_string(server_.Port(0)) + "\r\n");
        dir_.Write("VQTool.machine",
                   "[Setting]\r\nPassword=" + EncodeStoredPassword("Secret1") + "\r\n");
        dir_.Write("good.txt", "Secret1\n");
        dir_.Write("wrong.txt", "secret1\n");
        dir_.Write("P.BAS", "PRINT 1\n");
    }
    ToolRun Tool(std::vector<std::string> args, const std::vector<std::string>& env = {}) {
        std::vector<std::string> all{"--lan", "127.0.0.1:" + std::to_string(server_.Port(0))};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<std::string> fullEnv{"RVQ_TIME_SCALE=0.01"};
        fullEnv.insert(fullEnv.end(), env.begin(), env.end());
        return RunTool(all, dir_.path(), fullEnv);
    }
    std::size_t Received() { return server_.log().Entries().size(); }

    sim::SimServer server_{Clock(0.01)};
    TempDir dir_;
};

// With a login password stored, nothing is sent or written until it was
// given right; commands that only read local files do not ask.
TEST_F(CliLogin, CommandsThatActAskForTheStoredPassword) {
    const struct {
        const char* what;
        std::vector<std::string> args;
        std::vector<std::string> env;
        int exitCode;
        const char* message;
    } refused[] = {
        {"none given", {"reset", "--yes"}, {}, 2, "--password-file FILE or RVQ_PASSWORD"},
        {"wrong variable",
         {"reset", "--yes"},
         {"RVQ_PASSWORD=secret1"},
         2,
         "The password is not correct."},
        {"wrong file",
         {"--password-file", "wrong.txt", "factory-default", "--yes"},
         {},
         2,
         "The password is not correct."},
        {"unreadable file",
         {"--password-file", "none.txt", "reset", "--yes"},
         {},
         2,
         "none.txt: the password file"},
        {"a file is written", {"encode-basic", "P.BAS", "P.img"}, {}, 2, "RVQ_PASSWORD"},
    };
    for (const auto& c : refused) {
        const ToolRun run = Tool(c.args, c.env);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.what << ": " << run.err;
        EXPECT_TRUE(Contains(run.err, c.message)) << c.what << ": " << run.err;
    }
    EXPECT_EQ(Received(), 0u) << "nothing may reach the printer without the password";
    EXPECT_FALSE(std::filesystem::exists(dir_.File("P.img")));

    const ToolRun models = Tool({"models"});
    EXPECT_EQ(models.exitCode, 0) << models.err;

    const ToolRun byFile = Tool({"--password-file", "good.txt", "reset", "--yes"});
    EXPECT_EQ(byFile.exitCode, 0) << byFile.err;
    EXPECT_GT(Received(), 0u);
    const ToolRun byVariable = Tool({"encode-basic", "P.BAS", "P.img"}, {"RVQ_PASSWORD=Secret1"});
    EXPECT_EQ(byVariable.exitCode, 0) << byVariable.err;
    EXPECT_TRUE(std::filesystem::exists(dir_.File("P.img")));
}

TEST(CliLoginHelp, SaysHowToGiveThePassword) {
    TempDir dir;
    const ToolRun help = RunTool({"--help"}, dir.path());
    ASSERT_EQ(help.exitCode, 0);
    EXPECT_TRUE(Contains(help.out, "--password-file FILE")) << help.out;
    EXPECT_TRUE(Contains(help.out, "RVQ_PASSWORD")) << help.out;
    EXPECT_TRUE(Contains(help.out, "do neither: config usb-list models model rom-info."))
        << help.out;
}

// rvqtool run as a user who is not root (root may write any file).
class CliUnprivileged : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() == 0 && ::access(kSetpriv, X_OK) != 0)
            GTEST_SKIP() << "root without " << kSetpriv << ": the permission cases are not checked";
        ASSERT_EQ(::chmod(dir_.path().c_str(), 0755), 0);
        ASSERT_EQ(::mkdir(dir_.File("work").c_str(), 0755), 0);
        ASSERT_EQ(::mkdir(dir_.File("shut").c_str(), 0755), 0);
        dir_.Write("work/P.BAS", "PRINT 1\n");
        dir_.Write("work/locked.img", "old");
        Own(dir_.File("work"));
        Own(dir_.File("work/P.BAS"));
        Own(dir_.File("work/locked.img"));
        ASSERT_EQ(::chmod(dir_.File("work/locked.img").c_str(), 0444), 0);
        if (::geteuid() != 0) {
            ASSERT_EQ(::chmod(dir_.File("shut").c_str(), 0555), 0);
        }
    }
    void TearDown() override { ::chmod(dir_.File("shut").c_str(), 0755); }
    void Own(const std::string& path) {
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
        }
    }
    ToolRun Tool(const std::vector<std::string>& args) {
        if (::geteuid() != 0) return RunTool(args, dir_.File("work"));
        std::vector<std::string> all{"--reuid=65534", "--regid=65534", "--clear-groups",
                                     RVQ_TOOL_PATH};
        all.insert(all.end(), args.begin(), args.end());
        return RunProgram(kSetpriv, all, dir_.File("work"));
    }

    TempDir dir_;
};

TEST_F(CliUnprivileged, RefusesAReadOnlyFileAndNamesAFolderThatTakesNoFile) {
    const ToolRun locked = Tool({"encode-basic", "P.BAS", "locked.img", "--yes"});
    EXPECT_EQ(locked.exitCode, 1) << locked.err;
    EXPECT_TRUE(Contains(
        locked.err,
        "locked.img: Saving data in the specified file failed. Check if the file is writable."))
        << locked.err;
    EXPECT_EQ(ReadAll(dir_.File("work/locked.img")), "old");

    const ToolRun shut = Tool({"encode-basic", "P.BAS", dir_.File("shut/P.img")});
    EXPECT_EQ(shut.exitCode, 1) << shut.err;
    EXPECT_TRUE(
        Contains(shut.err, "Check if the folder " + dir_.File("shut") + " exists and is writable."))
        << shut.err;

    const ToolRun written = Tool({"encode-basic", "P.BAS", "P.img"});
    EXPECT_EQ(written.exitCode, 0) << written.err;
}

// A login password store this user cannot read (one set by root, say)
// refuses what would need the login instead of skipping it.
TEST_F(CliUnprivileged, AStoreThatCannotBeReadRefusesInsteadOfSkippingTheLogin) {
    dir_.Write("work/VQTool.INI",
               "[PRINTER]\r\nDEVICE=LAN\r\n[LAN]\r\nNAME=127.0.0.1\r\nPORT=1\r\n");
    dir_.Write("work/VQTool.machine",
               "[Setting]\r\nPassword=" + EncodeStoredPassword("Secret1") + "\r\n");
    Own(dir_.File("work/VQTool.INI"));
    ASSERT_EQ(::chmod(dir_.File("work/VQTool.machine").c_str(), ::geteuid() == 0 ? 0600 : 0000), 0);

    const ToolRun refused = Tool({"encode-basic", "P.BAS", "P.img"});
    EXPECT_EQ(refused.exitCode, 2) << refused.err;
    EXPECT_TRUE(Contains(refused.err, "VQTool.machine: the login password store cannot be read"))
        << refused.err;
    EXPECT_FALSE(std::filesystem::exists(dir_.File("work/P.img")));

    const ToolRun config = Tool({"config"});
    EXPECT_EQ(config.exitCode, 0) << config.err;
    EXPECT_TRUE(Contains(config.out, "login password    cannot be read")) << config.out;
}

// A Japanese table with one conversion too many in the BASIC error message
// used to crash encode-basic; the English text is used instead.
TEST(CliJapaneseTable, AnEntryWithOtherConversionsIsLeftOut) {
    TempDir dir;
    dir.Write("VQTool.INI", "[LANGUAGE]\r\nLANGUAGE=JPN\r\n");
    std::filesystem::create_directory(dir.File("lang"));
    dir.Write("lang/VQTool_Jpn.strings",
              "1409\tBASICプログラムにエラーがあります。(\"%s\") %s\\r\\n確認してください。\n");
    dir.Write("P.BAS", "PRINT\nGOTO 100\n");
    const ToolRun run = RunTool({"encode-basic", "P.BAS", "P.img"}, dir.path());
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_TRUE(Contains(run.err, "string 1409 is left out")) << run.err;
    EXPECT_TRUE(
        Contains(run.err, "The BASIC program has an error. (\"2 : Label or Line number Error\")"))
        << run.err;
}

}  // namespace
}  // namespace rvq::test
