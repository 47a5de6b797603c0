// The command-line conventions rvqtool and rvq-printer-sim share: --version,
// --help, "--", unknown options named as such, one wording and exit 2 for
// every mistake on the command line.
#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"
#include "tool_process.h"

namespace rvq::test {
namespace {

struct Program {
    const char* name;
    const char* path;
};
const Program kPrograms[] = {{"rvqtool", RVQ_TOOL_PATH}, {"rvq-printer-sim", RVQ_SIM_PATH}};

TEST(ProgramConventions, VersionHelpAndUnknownOptions) {
    TempDir dir;
    for (const Program& p : kPrograms) {
        SCOPED_TRACE(p.name);
        const std::string name = p.name;
        const ToolRun version = RunProgram(p.path, {"--version"}, dir.path());
        EXPECT_EQ(version.exitCode, 0);
        EXPECT_TRUE(version.out.starts_with(name + " (R-VQ Setting Tool) ")) << version.out;

        const ToolRun help = RunProgram(p.path, {"--help"}, dir.path());
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_TRUE(help.out.starts_with("usage: " + name + " ")) << help.out;

        for (const auto& args : {std::vector<std::string>{"--lna", "x"}, {"--bogus"}}) {
            const ToolRun bad = RunProgram(p.path, args, dir.path());
            EXPECT_EQ(bad.exitCode, 2);
            EXPECT_EQ(bad.err,
                      name + ": unknown option '" + args[0] + "' (see " + name + " --help)\n");
            EXPECT_EQ(bad.out, "");
        }
    }
}

TEST(ProgramConventions, RvqtoolCommandLineMistakes) {
    TempDir dir;
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"--lna", "x", "status"}, "rvqtool: unknown option '--lna' (see rvqtool --help)\n"},
        {{"status", "--frob"}, "rvqtool: unknown option '--frob' (see rvqtool status --help)\n"},
        {{"encode-basic", "--systm", "a.bas", "b"},
         "rvqtool: unknown option '--systm' (see rvqtool encode-basic --help)\n"},
        {{"frobnicate"}, "rvqtool: unknown command 'frobnicate' (see rvqtool --help)\n"},
        {{}, "rvqtool: no command given (see rvqtool --help)\n"},
        {{"models", "--model"}, "rvqtool: --model needs a value (see rvqtool --help)\n"},
        {{"--json=1", "models"}, "rvqtool: --json takes no value (see rvqtool --help)\n"},
        {{"--lan", "127.0.0.1:99999", "status"},
         "rvqtool: --lan: '99999' is not a TCP port (1 to 65535) (see rvqtool --help)\n"},
    };
    for (const auto& c : cases) {
        const ToolRun run = RunTool(c.args, dir.path());
        EXPECT_EQ(run.exitCode, 2) << c.err;
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "");
    }
}

TEST(ProgramConventions, DoubleDashEndsTheOptions) {
    TempDir dir;
    dir.Write("VQTool.INI", "");
    // The command itself may follow "--".
    const ToolRun models = RunTool({"--", "models"}, dir.path());
    EXPECT_EQ(models.exitCode, 0) << models.err;
    EXPECT_TRUE(models.out.starts_with("R-VQ4T1-T\n")) << models.out;

    // An operand that looks like an option is taken as a file name.
    dir.Write("--odd.bas", "10 PRINT \"A\"\r\n");
    const ToolRun encoded = RunTool({"encode-basic", "--", "--odd.bas", "odd.img"}, dir.path());
    EXPECT_EQ(encoded.exitCode, 0) << encoded.err;
    EXPECT_FALSE(ReadAll(dir.File("odd.img")).empty());
    const ToolRun refused = RunTool({"encode-basic", "--odd.bas", "odd.img"}, dir.path());
    EXPECT_EQ(refused.exitCode, 2);

    const ToolRun sim =
        RunProgram(RVQ_SIM_PATH, {"--lan", "127.0.0.1:0", "--", "extra"}, dir.path());
    EXPECT_EQ(sim.exitCode, 2);
    EXPECT_EQ(sim.err,
              "rvq-printer-sim: unexpected argument 'extra' (see rvq-printer-sim --help)\n");
}

}  // namespace
}  // namespace rvq::test
