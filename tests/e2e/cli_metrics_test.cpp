// rvqtool metrics, read back with the Prometheus project's own text parser
// (Debian's python3-prometheus-client), as the node exporter would read it.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "fleet_fixture.h"
#include "json_document.h"

namespace rvq::test {
namespace {

// Parses an exposition file and prints its families as JSON: name, type and
// every sample with its labels and value.
constexpr const char* kParser = R"(
import json, sys
from prometheus_client.parser import text_string_to_metric_families
families = []
for f in text_string_to_metric_families(open(sys.argv[1]).read()):
    families.append({"name": f.name, "type": f.type, "help": f.documentation,
                     "samples": [{"name": s.name, "labels": s.labels, "value": s.value} for s in f.samples]})
print(json.dumps(families))
)";

class Metrics : public CliFleet {
protected:
    // The families of an exposition file by name, as the parser read them.
    std::map<std::string, Json> Parse(const std::string& file) {
        const ToolRun parsed =
            RunProgram(RVQ_SYSTEM_PYTHON, {"-c", kParser, dir_.File(file)}, dir_.path());
        EXPECT_EQ(parsed.exitCode, 0) << parsed.err;
        std::map<std::string, Json> families;
        auto value = ParseJson(parsed.out);
        EXPECT_TRUE(value) << parsed.out << parsed.err;
        if (!value) return families;
        for (Json& family : *value) families[family["name"].get<std::string>()] = family;
        return families;
    }
    // The value of a family's sample for the printer at 127.0.0.N; null when it has none.
    Json Sample(Json family, int host, const std::string& counter = {}) {
        const std::string printer = "127.0.0." + std::to_string(host) + "," + std::to_string(port_);
        for (Json& s : family["samples"]) {
            if (s["labels"]["printer"] != printer) continue;
            if (!counter.empty() && s["labels"]["counter"] != counter) continue;
            return s["value"];
        }
        return nullptr;
    }
};

TEST_F(Metrics, StatusAndCountersParseWithThePrometheusParser) {
    rest_.Configure(0, [](sim::SimPrinter& p) {
        p.state().counters[0] = 1234;
        p.config().headCheckStatus = 17;  // a broken element
    });
    const std::string list = List("four.txt", {2, 3, 5, 9});
    const ToolRun run =
        Tool({"--multi-lan", list, "metrics", "--counters", "--out", "printers.prom"});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_TRUE(run.out.empty()) << "the metrics went to the file";

    auto families = Parse("printers.prom");
    for (const char* name : {"rvq_printer_up", "rvq_printer_ready", "rvq_printer_status_code",
                             "rvq_printer_maintenance_counter", "rvq_printer_head_ok"}) {
        ASSERT_TRUE(families.count(name)) << name << "\n" << ReadAll(dir_.File("printers.prom"));
        EXPECT_EQ(families[name]["type"], "gauge") << name;
        EXPECT_FALSE(families[name]["help"].get<std::string>().empty()) << name;
    }
    const struct {
        int host;
        Json up, ready, status, headOk;
    } cases[] = {
        {2, 1.0, 1.0, 0.0, 1.0},
        {3, 1.0, 1.0, 0.0, 0.0},          // its head check found a broken element
        {5, 1.0, 0.0, 6.0, nullptr},      // not ready: not taken into its setting mode
        {9, 0.0, 0.0, nullptr, nullptr},  // nothing answers there
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sample(families["rvq_printer_up"], c.host), c.up) << c.host;
        EXPECT_EQ(Sample(families["rvq_printer_ready"], c.host), c.ready) << c.host;
        EXPECT_EQ(Sample(families["rvq_printer_status_code"], c.host), c.status) << c.host;
        EXPECT_EQ(Sample(families["rvq_printer_head_ok"], c.host), c.headOk) << c.host;
    }
    EXPECT_EQ(Sample(families["rvq_printer_maintenance_counter"], 3, "HEAD DISTANCE"), 1234.0);
    EXPECT_EQ(Sample(families["rvq_printer_maintenance_counter"], 5, "HEAD DISTANCE"), nullptr);
}

TEST_F(Metrics, WithoutCountersOnlyTheStatusRequestIsSent) {
    const ToolRun run = Tool({"--multi-lan", List("two.txt", {2, 5}), "metrics"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    dir_.Write("out.prom", run.out);
    const auto families = Parse("out.prom");
    EXPECT_EQ(families.size(), 3u) << run.out;
    for (const sim::LogEntry& e : AllEntries()) EXPECT_EQ(e.command.text, "WS");

    const ToolRun unwritable =
        Tool({"--lan", Lan("127.0.0.2"), "metrics", "--out", "no/such/folder/m.prom"});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(Contains(unwritable.err, "cannot write no/such/folder/m.prom")) << unwritable.err;
}

}  // namespace
}  // namespace rvq::test
