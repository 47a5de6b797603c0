// Where rvqtool and rvq-printer-sim find their files when started from a
// folder that holds nothing of theirs, as an installed program is.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "json_document.h"
#include "sim_process.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace rvq::test {
namespace {

namespace fs = std::filesystem;

const std::string kSample = std::string(RVQ_SOURCE_DIR) + "/data/VQTool.INI";
const std::string kDefinitions = std::string(RVQ_SOURCE_DIR) + "/data/VQTool_Printer.XML";

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The "from" of one entry of config --json's "files".
std::string FileFrom(const Json& config, const std::string& name, std::string* path = nullptr) {
    for (const Json& file : config.value("files", Json::array())) {
        if (file.value("name", "") != name) continue;
        if (path != nullptr) *path = file.value("path", "");
        return file.value("from", "");
    }
    return "(absent)";
}

TEST(CliLocations, AFreshUserGetsTheSampleSettingsAndTheShippedData) {
    TempDir home, work;
    const std::vector<std::string> env{"HOME=" + home.path(),
                                       "XDG_CONFIG_HOME=" + home.File("config")};
    const ToolRun run = RunTool({"config", "--json"}, work.path(), env);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto config = ParseJson(run.out);
    ASSERT_TRUE(config) << run.out;
    const std::string ini = home.File("config/rvq-setting-tool/VQTool.INI");
    EXPECT_EQ((*config)["iniPath"], ini);
    EXPECT_EQ((*config)["iniFrom"], "per-user folder");
    EXPECT_EQ(ReadAll(ini), ReadAll(kSample));
    EXPECT_EQ((*config)["machineStore"], "/etc/rvq-setting-tool/VQTool.machine");
    // Run from the build tree, the data comes from the build's copy, never
    // from the sources.
    std::string definitions;
    EXPECT_EQ(FileFrom(*config, "definitions", &definitions), "build tree");
    EXPECT_FALSE(definitions.starts_with(RVQ_SOURCE_DIR "/data/")) << definitions;
    EXPECT_EQ(ReadAll(definitions), ReadAll(kDefinitions));
    EXPECT_EQ(FileFrom(*config, "char200Path"), "build tree");
    std::string devices;
    FileFrom(*config, "deviceLinks", &devices);
    EXPECT_EQ(devices, home.File("config/rvq-setting-tool/devices"));

    const ToolRun models = RunTool({"models"}, work.path(), env);
    EXPECT_EQ(models.exitCode, 0) << models.err;
    EXPECT_TRUE(Contains(models.out, "R-VQ6T2-G\n")) << models.out;
    EXPECT_TRUE(fs::is_empty(work.path()));  // nothing is written where it was started
}

TEST(CliLocations, AFolderOfItsOwnComesFirst) {
    TempDir home, site, work;
    const std::vector<std::string> env{"XDG_CONFIG_HOME=" + home.path()};
    site.Write("VQTool.INI", "[PRINTER]\r\nPRINTER=SECOND\r\n");
    site.Write("VQTool_Printer.XML",
               ReadAll(std::string(RVQ_FIXTURES_DIR) + "/definitions/three_printers.xml"));
    const struct {
        std::vector<std::string> args;
        std::string cwd;
    } cases[] = {
        {{"--settings", site.path(), "config", "--json"}, work.path()},
        {{"--settings", site.File("VQTool.INI"), "config", "--json"}, work.path()},
        {{"config", "--json"}, site.path()},
    };
    for (const auto& c : cases) {
        const ToolRun run = RunTool(c.args, c.cwd, env);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const auto config = ParseJson(run.out);
        ASSERT_TRUE(config) << run.out;
        EXPECT_EQ((*config)["iniPath"], site.File("VQTool.INI"));
        EXPECT_EQ((*config)["machineStore"], site.File("VQTool.machine"));
        EXPECT_EQ(FileFrom(*config, "definitions"), "settings folder");
        EXPECT_EQ(FileFrom(*config, "japaneseTable"), "build tree");
    }
    const ToolRun models = RunTool({"models"}, site.path(), env);
    EXPECT_EQ(models.out, "BASE\nSECOND\nTHIRD\n") << models.err;
    EXPECT_FALSE(fs::exists(home.File("rvq-setting-tool")));
}

// A program copied out of the build tree finds nothing of the sources: its
// data comes from share/rvq-setting-tool beside its own folder (as
// `cmake --install --prefix` lays it out) or, without it, is missing and
// named with the folders looked in.
TEST(CliLocations, AMovedProgramReadsTheDataBesideItAndNeverTheSources) {
    TempDir prefix, home, work;
    fs::create_directories(prefix.File("bin"));
    fs::copy_file(RVQ_TOOL_PATH, prefix.File("bin/rvqtool"));
    const std::string program = prefix.File("bin/rvqtool");
    const std::vector<std::string> env{"XDG_CONFIG_HOME=" + home.path()};

    const ToolRun missing = RunProgram(program, {"models"}, work.path(), env);
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err, "rvqtool: VQTool_Printer.XML: not found (looked in " +
                               home.File("rvq-setting-tool") + ")\n");
    EXPECT_EQ(missing.out, "");

    const std::string share = prefix.File("share/rvq-setting-tool");
    fs::create_directories(share);
    fs::copy_file(kDefinitions, share + "/VQTool_Printer.XML");
    fs::copy_file(kSample, share + "/VQTool.INI");
    const ToolRun models = RunProgram(program, {"models"}, work.path(), env);
    EXPECT_EQ(models.exitCode, 0) << models.err;
    EXPECT_TRUE(models.out.starts_with("R-VQ4T1-T\n")) << models.out;
    const ToolRun run = RunProgram(program, {"config", "--json"}, work.path(), env);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto config = ParseJson(run.out);
    ASSERT_TRUE(config) << run.out;
    std::string definitions;
    EXPECT_EQ(FileFrom(*config, "definitions", &definitions), "installed");
    EXPECT_EQ(definitions, share + "/VQTool_Printer.XML");
    // The per-user settings were made from the sample beside the program.
    EXPECT_EQ(ReadAll(home.File("rvq-setting-tool/VQTool.INI")), ReadAll(kSample));
    // The Japanese table is in no folder it looks in.
    EXPECT_EQ(FileFrom(*config, "japaneseTable"), "not found");
}

// A simulated printer of every model, started as the README starts it
// (no --definitions) or given the file, answers every item its model has:
// a file just taken from it differs in nothing.
TEST(CliLocations, EveryModelOfTheSimulatorAnswersEveryItem) {
    TempDir home, simFolder;
    const std::vector<std::string> env{"XDG_CONFIG_HOME=" + home.path(), "RVQ_TIME_SCALE=0.01"};
    const ToolRun models = RunTool({"models"}, simFolder.path(), env);
    ASSERT_EQ(models.exitCode, 0) << models.err;
    std::vector<std::string> names;
    for (std::size_t at = 0, end; (end = models.out.find('\n', at)) != std::string::npos;
         at = end + 1)
        names.push_back(models.out.substr(at, end - at));
    ASSERT_FALSE(names.empty());
    const struct {
        const char* way;
        std::vector<std::string> args;
        const char* said;  // what the simulator says of the file it found
    } ways[] = {
        {"found", {}, "VQTool_Printer.XML (build tree)"},
        {"given", {"--definitions", kDefinitions}, ""},
    };
    for (const auto& way : ways) {
        for (const std::string& model : names) {
            SCOPED_TRACE(model + ", definitions " + way.way);
            const std::string said = home.File("sim-" + model + "-" + way.way + ".err");
            std::vector<std::string> args{"--model",     model,          "--lan",
                                          "127.0.0.1:0", "--restart-ms", "300"};
            args.insert(args.end(), way.args.begin(), way.args.end());
            SimProcess sim(args, env, simFolder.path(), said);
            const int port = sim.WaitForPort(std::chrono::seconds(10));
            ASSERT_GT(port, 0) << ReadAll(said);
            if (*way.said != '\0') {
                EXPECT_TRUE(Contains(ReadAll(said), "rvq-printer-sim: printer definitions "))
                    << ReadAll(said);
                EXPECT_TRUE(Contains(ReadAll(said), way.said)) << ReadAll(said);
            }

            TempDir work;
            work.Write("VQTool.INI", "[PRINTER]\r\nPRINTER=" + model +
                                         "\r\nDEVICE=LAN\r\n[LAN]\r\nNAME=127.0.0.1\r\nPORT=" +
                                         std::to_string(port) + "\r\n");
            const ToolRun got =
                RunTool({"get-params", "--groups", "all", "--out", "a.tsi"}, work.path(), env);
            ASSERT_EQ(got.exitCode, 0) << got.out << got.err;
            const ToolRun diff = RunTool({"diff", "a.tsi"}, work.path(), env);
            EXPECT_EQ(diff.exitCode, 0) << diff.out << diff.err;
            EXPECT_TRUE(Contains(diff.out, ": 0 of ")) << diff.out;
            for (std::size_t at = 0, end; (end = diff.out.find('\n', at)) != std::string::npos;
                 at = end + 1) {
                const std::string line = diff.out.substr(at, end - at);
                EXPECT_FALSE(line.starts_with("  *")) << line;
            }
        }
    }
}

// The parameter commands take a definition file under any name, as model
// and models always did.
TEST(CliLocations, DefinitionsUnderAnyName) {
    TempDir home, work;
    const std::vector<std::string> env{"XDG_CONFIG_HOME=" + home.path(), "RVQ_TIME_SCALE=0.01"};
    const std::string renamed = work.Write("fleet-printers.xml", ReadAll(kDefinitions));
    SimProcess sim({"--definitions", kDefinitions, "--lan", "127.0.0.1:0", "--restart-ms", "300"},
                   env);
    const int port = sim.WaitForPort(std::chrono::seconds(10));
    ASSERT_GT(port, 0);
    work.Write("VQTool.INI", "[PRINTER]\r\nDEVICE=LAN\r\n[LAN]\r\nNAME=127.0.0.1\r\nPORT=" +
                                 std::to_string(port) + "\r\n");
    const ToolRun got =
        RunTool({"--definitions", renamed, "get-params", "--groups", "all", "--out", "a.tsi"},
                work.path(), env);
    EXPECT_EQ(got.exitCode, 0) << got.err;
    const ToolRun diff = RunTool({"--definitions", renamed, "diff", "a.tsi"}, work.path(), env);
    EXPECT_EQ(diff.exitCode, 0) << diff.out << diff.err;
}

}  // namespace
}  // namespace rvq::test
