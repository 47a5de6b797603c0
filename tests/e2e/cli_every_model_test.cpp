// A settings file just taken from a printer shows no drift against it, for
// every model of the definition file: each simulated printer (started with
// that file) answers every item of its model.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "fleet_fixture.h"
#include "json_document.h"
#include "sim_process.h"

namespace rvq::test {
namespace {

using namespace std::chrono_literals;

std::string Ini(const std::string& model, int port) {
    return "[HEADER]\r\nTITLE=R-VQ Setting Tool\r\nVERSION=V001.000\r\n[PRINTER]\r\nPRINTER=" +
           model + "\r\nDESTINATION=QM\r\nDEVICE=LAN\r\n[LAN]\r\nNAME=127.0.0.1\r\nPORT=" +
           std::to_string(port) + "\r\n";
}

TEST(EveryModel, GetEveryGroupThenDiffFindsNothingToChange) {
    TempDir dir;
    const std::string definitions = RVQ_SOURCE_DIR "/data/VQTool_Printer.XML";
    const std::vector<std::string> env = {"RVQ_TIME_SCALE=0.01"};
    const ToolRun listed =
        RunTool({"models", "--definitions", definitions, "--json"}, dir.path(), env);
    auto models = ParseJson(listed.out);
    ASSERT_TRUE(models) << listed.out << listed.err;
    ASSERT_FALSE((*models)["models"].empty());
    for (const Json& name : (*models)["models"]) {
        const std::string model = name.get<std::string>();
        SimProcess sim({"--model", model, "--definitions", definitions, "--lan", "127.0.0.1:0"},
                       env);
        const int port = sim.WaitForPort(10s);
        ASSERT_GT(port, 0) << model;
        dir.Write("VQTool.INI", Ini(model, port));
        const std::vector<std::string> common = {"--definitions", definitions};
        std::vector<std::string> get = common;
        get.insert(get.end(), {"get-params", "--out", "all.TSI", "--groups", "all"});
        const ToolRun got = RunTool(get, dir.path(), env);
        ASSERT_EQ(got.exitCode, 0) << model << "\n" << got.out << got.err;
        std::vector<std::string> diff = common;
        diff.insert(diff.end(), {"diff", "all.TSI"});
        const ToolRun compared = RunTool(diff, dir.path(), env);
        EXPECT_EQ(compared.exitCode, 0) << model << "\n" << compared.out << compared.err;
        for (const std::string& line : Lines(compared.out))
            EXPECT_FALSE(line.rfind("  *", 0) == 0) << model << ": " << line;
    }
}

}  // namespace
}  // namespace rvq::test
