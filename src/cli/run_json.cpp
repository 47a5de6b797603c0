#include "cli/run_json.h"

#include <ostream>

namespace rvq::cli {

std::string FailureLine(const PrinterRecord& printer) {
    if (printer.outcome == PrinterOutcome::Succeeded) return {};
    if (!printer.lines.empty()) return printer.lines.back();
    return OutcomeName(printer.outcome);
}

void WritePrinterFields(JsonWriter& json, const PrinterRecord& printer) {
    json.Key("index").Int(printer.index);
    json.Key("interface").String(printer.interfaceName);
    json.Key("printer").String(printer.address);
    json.Key("result").String(OutcomeName(printer.outcome));
    json.Key("lines").BeginArray();
    for (const std::string& line : printer.lines) json.String(line);
    json.EndArray();
    json.Key("failure");
    if (printer.outcome == PrinterOutcome::Succeeded)
        json.Null();
    else
        json.String(FailureLine(printer));
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

const char* ResultName(int exitCode) {
    switch (exitCode) {
        case 0:
            return "succeeded";
        case 2:
            return "usage-error";
        case 3:
            return "would-change";
        default:
            return exitCode >= 128 ? "interrupted" : "failed";
    }
}

namespace {

// The failure of the first printer that did not succeed, for a failed
// command that noted no error of its own.
std::optional<RunError> ErrorFromRuns(const std::vector<JobRunRecord>& runs) {
    for (const JobRunRecord& run : runs) {
        for (const PrinterRecord& printer : run.printers) {
            if (!printer.selected || printer.outcome == PrinterOutcome::Succeeded) continue;
            return RunError{FailureLine(printer), printer.detailId != 0
                                                      ? std::optional<int>(printer.detailId)
                                                      : std::nullopt};
        }
    }
    return std::nullopt;
}

void WriteError(JsonWriter& json, const CommandDocument& d) {
    json.Key("error");
    if (d.exitCode == 0) {
        json.Null();
        return;
    }
    RunError error = d.error.value_or(ErrorFromRuns(d.runs).value_or(
        RunError{"the command ended with exit code " + std::to_string(d.exitCode), std::nullopt}));
    json.BeginObject();
    json.Key("message").String(error.message);
    json.Key("id");
    if (error.id && *error.id != 0)
        json.Int(*error.id);
    else
        json.Null();
    json.EndObject();
}

}  // namespace

void WriteCommandDocument(std::ostream& out, const CommandDocument& d) {
    JsonWriter json(out);
    json.BeginObject();
    json.Key("command");
    if (d.command.empty())
        json.Null();
    else
        json.String(d.command);
    json.Key("exitCode").Int(d.exitCode);
    json.Key("result").String(ResultName(d.exitCode));
    out << d.fields;
    json.Key("output").BeginArray();
    std::size_t start = 0;
    while (start < d.printed.size()) {
        const std::size_t end = d.printed.find('\n', start);
        json.String(
            d.printed.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    json.EndArray();
    WriteRunsJson(json, d.runs);
    WriteError(json, d);
    json.EndObject();
    out << "\n";
}

}  // namespace rvq::cli
