#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/json_writer.h"
#include "cli/run_error.h"
#include "cli/run_record.h"

namespace rvq::cli {

// One printer's keys: index, interface, printer, result, its display lines
// and its failure line (null when it succeeded). The caller opens and
// closes the object.
void WritePrinterFields(JsonWriter& json, const PrinterRecord& printer);

// The line that says why a printer did not succeed; empty when it did.
std::string FailureLine(const PrinterRecord& printer);

// "runs": every printer run of the command with each printer's result and
// display lines.
void WriteRunsJson(JsonWriter& json, const std::vector<JobRunRecord>& runs);

// The result word of an exit code: "succeeded", "failed", "usage-error",
// "would-change", "interrupted".
const char* ResultName(int exitCode);

// Everything the one --json document of a run holds.
struct CommandDocument {
    std::string command;  // empty when the command line named none
    int exitCode = 0;
    std::string fields;   // the command's own keys, written inside the object
    std::string printed;  // what it printed, one "output" entry per line
    std::vector<JobRunRecord> runs;
    std::optional<RunError> error;  // written whenever the exit code is not 0
};

// The document: command, exitCode, result, the command's own keys, output,
// runs and error (null on success). A failure without a noted error takes
// the failure line of its first failed printer.
void WriteCommandDocument(std::ostream& out, const CommandDocument& document);

}  // namespace rvq::cli
