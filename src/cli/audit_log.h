#pragma once

#include <string>
#include <vector>

#include "cli/job_run.h"
#include "cli/run_record.h"

namespace rvq::cli {

// One printer job as the audit log records it.
struct AuditEntry {
    std::string time;  // ISO 8601 UTC, e.g. 2026-12-10T05:06:43Z
    std::string user;
    std::string host;  // the machine rvqtool ran on
    std::string interfaceName;
    std::string address;
    std::string job;  // JobKindName
    PrinterOutcome outcome = PrinterOutcome::NotRun;
    std::string detail;  // the job's last display line
    std::vector<ItemChange> changes;
};

// The entry as one JSON object on one line, ending with a newline; every
// control character of a value is escaped, so no value can break the line.
std::string AuditLine(const AuditEntry& entry);

// The time, user and host name of this moment and process.
AuditEntry AuditEntryNow();

// Appends the lines in one write on a file opened with O_APPEND, so
// concurrent runs writing the same file never interleave within a line.
// False when the file may not be written, cannot be opened or the write
// fails (a full disk leaves no half line behind it unreported).
[[nodiscard]] bool AppendAuditLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace rvq::cli
