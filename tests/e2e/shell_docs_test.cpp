// The shell completion and the manual pages made from the programs' tables.
#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"
#include "tool_process.h"

namespace rvq::test {
namespace {

// What bash completes for a command line whose last word is being typed.
std::string Complete(const std::string& line, const std::string& cwd) {
    const std::string script = "source '" RVQ_DOCS_DIR
                               "/rvqtool.bash'\n"
                               "read -ra COMP_WORDS <<<\"$1\"\n"
                               "[[ $1 == *' ' ]] && COMP_WORDS+=('')\n"
                               "COMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n"
                               "_rvqtool\n"
                               "echo \"${COMPREPLY[*]}\"\n";
    const ToolRun run = RunProgram("/bin/bash", {"-c", script, "bash", line}, cwd,
                                   {std::string("PATH=") + RVQ_TOOL_DIR + ":/usr/bin:/bin"});
    return run.exitCode == 0 ? run.out : "(failed: " + run.err + ")";
}

TEST(ShellCompletion, CompletesCommandsOptionsAndValues) {
    TempDir dir;
    dir.Write("VQTool.INI", "");
    dir.Write("fleet.tsi", "");
    const struct {
        std::string line;
        std::string words;
    } cases[] = {
        {"rvqtool sta", "status"},
        {"rvqtool --lan 10.0.0.5 get-p", "get-params"},  // the option's value is not the command
        {"rvqtool get-params --o", "--out"},             // a command's own option
        {"rvqtool status --ti", "--timeout"},            // a global one after the command
        {"rvqtool --defin", "--definitions"},
        {"rvqtool counter-clear ", "all feed print cut"},  // the choices of its operand
        {"rvqtool build-html-rom web out.bin --type ", "html wmon"},
        {"rvqtool --codes b", "braces"},
        {"rvqtool --model R-VQ6", "R-VQ6T2-T R-VQ6T2-G"},  // from rvqtool models
        {"rvqtool diff fle", "fleet.tsi"},
    };
    for (const auto& c : cases) EXPECT_EQ(Complete(c.line, dir.path()), c.words + "\n") << c.line;
}

TEST(ManualPages, RenderWithoutWarnings) {
    TempDir dir;
    for (const char* page : {"rvqtool.1", "rvq-printer-sim.1", "rvq-setting-tool.1"}) {
        const ToolRun run = RunProgram(
            "/usr/bin/groff",
            {"-man", "-Tutf8", "-ww", "-z", std::string(RVQ_DOCS_DIR) + "/" + page}, dir.path());
        EXPECT_EQ(run.exitCode, 0) << page << run.err;
        EXPECT_EQ(run.err, "") << page;
    }
}

}  // namespace
}  // namespace rvq::test
