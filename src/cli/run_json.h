#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/json_writer.h"
#include "cli/run_record.h"

namespace rvq::cli {

// One printer's keys: index, interface, printer, result and its display
// lines (the caller opens and closes the object).
void WritePrinterFields(JsonWriter& json, const PrinterRecord& printer);

// "runs": every printer run of the command with each printer's result and
// display lines.
void WriteRunsJson(JsonWriter& json, const std::vector<JobRunRecord>& runs);

// The --json document of a command that has no JSON of its own: its exit
// code, what it printed (line by line) and its printer runs.
void WriteCommandDocument(std::ostream& out, const std::string& command, int exitCode,
                          const std::string& printed, const std::vector<JobRunRecord>& runs);

}  // namespace rvq::cli
