#include "cli/run_json.h"

#include <ostream>

namespace rvq::cli {

void WritePrinterFields(JsonWriter& json, const PrinterRecord& printer) {
    json.Key("index").Int(printer.index);
    json.Key("interface").String(printer.interfaceName);
    json.Key("printer").String(printer.address);
    json.Key("result").String(OutcomeName(printer.outcome));
    json.Key("lines").BeginArray();
    for (const std::string& line : printer.lines) json.String(line);
    json.EndArray();
}

void WriteRunsJson(JsonWriter& json, const std::vector<JobRunRecord>& runs) {
    json.Key("runs").BeginArray();
    for (const JobRunRecord& run : runs) {
        json.BeginObject();
        json.Key("job").String(JobKindName(run.kind));
        json.Key("exitCode").Int(run.exitCode);
        json.Key("printers").BeginArray();
        for (const PrinterRecord& printer : run.printers) {
            if (!printer.selected) continue;
            json.BeginObject();
            WritePrinterFields(json, printer);
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
}

void WriteCommandDocument(std::ostream& out, const std::string& command, int exitCode,
                          const std::string& printed, const std::vector<JobRunRecord>& runs) {
    JsonWriter json(out);
    json.BeginObject();
    json.Key("command").String(command);
    json.Key("exitCode").Int(exitCode);
    json.Key("result").String(exitCode == 0 ? "succeeded" : "failed");
    json.Key("output").BeginArray();
    std::size_t start = 0;
    while (start < printed.size()) {
        const std::size_t end = printed.find('\n', start);
        json.String(printed.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    json.EndArray();
    WriteRunsJson(json, runs);
    json.EndObject();
    out << "\n";
}

}  // namespace rvq::cli
