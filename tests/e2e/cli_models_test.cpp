#include <gtest/gtest.h>

#include <string>

#include "json_document.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace rvq::test {
namespace {

const std::string kDefinitions = std::string(RVQ_SOURCE_DIR) + "/data/VQTool_Printer.XML";
const std::string kFixtures = std::string(RVQ_FIXTURES_DIR) + "/definitions/";

TEST(CliModels, ListsTheShippedModelsFromAnEmptyFolder) {
    TempDir dir;
    // No definition file in the folder: the shipped one is used.
    const ToolRun run = RunTool({"models"}, dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "R-VQ4T1-T\nR-VQ4T1-G\nR-VQ4T2-G\nR-VQ4T2-T\nR-VQ4T2-H\nR-VQ4D2-G\nR-VQ4D2-T\nR-"
              "VQ6T2-T\nR-VQ6T2-G\n");

    const ToolRun json = RunTool({"models", "--json", "--definitions", kDefinitions}, dir.path());
    ASSERT_EQ(json.exitCode, 0) << json.err;
    auto value = ParseJson(json.out);
    ASSERT_TRUE(value) << json.out;
    EXPECT_EQ((*value)["models"].size(), 9u);
    EXPECT_EQ((*value)["models"][7].get<std::string>(), "R-VQ6T2-T");
}

TEST(CliModels, AFileInTheFolderComesFirst) {
    TempDir dir;
    // The folder that holds VQTool.INI is the program folder.
    dir.Write("VQTool.INI", "");
    dir.Write("VQTool_Printer.XML", ReadAll(kFixtures + "three_printers.xml"));
    const ToolRun run = RunTool({"models"}, dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "BASE\nSECOND\nTHIRD\n");
}

TEST(CliModel, JsonDescribesTheModel) {
    TempDir dir;
    const ToolRun run = RunTool({"model", "R-VQ4T1-T", "--json"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto json = ParseJson(run.out);
    ASSERT_TRUE(json) << run.out.substr(0, 400);
    Json& m = (*json)["model"];
    for (const char* key :
         {"name", "maxWidth", "maxLength", "resolution", "gaijiWidth", "memory", "destinations",
          "getCommandIndexes", "changeItems", "groups", "items"}) {
        EXPECT_TRUE(m.contains(key)) << key;
    }
    EXPECT_EQ(m["name"].get<std::string>(), "R-VQ4T1-T");
    EXPECT_EQ(m["maxWidth"].get<double>(), 1040);
    EXPECT_EQ(m["resolution"].get<double>(), 300);
    EXPECT_EQ(m["memory"]["blockSize"].get<double>(), 128);
    EXPECT_EQ(m["destinations"][0].get<std::string>(), "QM");

    Json& group = m["groups"][0];
    EXPECT_EQ(group["name"].get<std::string>(), "IMAGE_GROUP");
    EXPECT_EQ(group["setCommands"][0]["commandId"].get<double>(), 5);
    EXPECT_EQ(group["setCommands"][0]["params"][0]["name"].get<std::string>(), "CharacterCode");

    Json& item = m["items"][0];
    EXPECT_EQ(item["name"].get<std::string>(), "CharacterCode");
    EXPECT_EQ(item["kind"].get<double>(), 5);
    EXPECT_EQ(item["kindName"].get<std::string>(), "ComboBox");
    EXPECT_EQ(item["ctrlId"].get<double>(), 4401);
    EXPECT_EQ(item["labels"].size(), 3u);
}

TEST(CliModel, InheritedModelShowsItsOwnAttributes) {
    TempDir dir;
    const ToolRun run = RunTool({"model", "R-VQ6T2-T"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("width 1524, length 10000"), std::string::npos) << run.out;
    // Groups and items come from the first model.
    EXPECT_NE(run.out.find("IMAGE_GROUP"), std::string::npos);
    EXPECT_NE(run.out.find("CharacterCode"), std::string::npos);
}

TEST(CliModel, MissingModelOrFileExitsTwoNamingBoth) {
    TempDir dir;
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"model", "R-VQ9Z9-Z", "--definitions", kDefinitions},
         "rvqtool: " + kDefinitions +
             " has no model 'R-VQ9Z9-Z' (models: R-VQ4T1-T, R-VQ4T1-G, "
             "R-VQ4T2-G, R-VQ4T2-T, R-VQ4T2-H, R-VQ4D2-G, R-VQ4D2-T, R-VQ6T2-T, R-VQ6T2-G)\n"},
        {{"model", "R-VQ4T1-T", "--definitions", dir.File("none.xml")},
         "rvqtool: cannot read the printer definitions " + dir.File("none.xml") +
             ": No such file or directory\n"},
        {{"models", "--definitions", kFixtures + "doctype.xml"},
         "rvqtool: " + kFixtures +
             "doctype.xml holds no printer model (it is not a printer "
             "definition file)\n"},
        {{"model"}, "rvqtool: model takes one model name (see rvqtool models)\n"},
    };
    for (const auto& c : cases) {
        const ToolRun run = RunTool(c.args, dir.path());
        EXPECT_EQ(run.exitCode, 2) << c.message;
        EXPECT_EQ(run.err, c.message);
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
}

TEST(CliHelp, EveryCommandHasItsHelp) {
    TempDir dir;
    const ToolRun overview = RunTool({"--help"}, dir.path());
    ASSERT_EQ(overview.exitCode, 0);
    for (const char* command : {"status", "usb-list", "models", "model", "encode-basic", "rom-info",
                                "build-html-rom", "build-gaiji", "test-print-data"}) {
        EXPECT_NE(overview.out.find(std::string("  ") + command + " "), std::string::npos)
            << command;
        const ToolRun help = RunTool({command, "--help"}, dir.path());
        EXPECT_EQ(help.exitCode, 0) << command;
        EXPECT_EQ(help.out.rfind(std::string("usage: rvqtool ") + command + " ", 0), 0u)
            << help.out;
    }
}

}  // namespace
}  // namespace rvq::test
