#pragma once

#include <string>
#include <vector>

#include "core/comm/job/job_kind.h"

namespace rvq::cli {

// How one printer of a run ended.
enum class PrinterOutcome { NotRun, Succeeded, Failed, Cancelled };

const char* OutcomeName(PrinterOutcome outcome);  // "succeeded", "not run", ...

// One printer's part of a run.
struct PrinterRecord {
    int index = 0;              // in the Multi-LAN list; 0 for a single printer
    std::string interfaceName;  // "LAN", "COM1", "USB" ...
    std::string address;        // the connection settings ("host,port" on a LAN)
    PrinterOutcome outcome = PrinterOutcome::NotRun;
    std::vector<std::string> lines;  // its display lines, in order
    bool selected = true;            // false when --pick left it out
    int detailId = 0;                // the detail message of its last line, 0 when none
};

// One run of a job kind, kept for the --json document.
struct JobRunRecord {
    JobKind kind = JobKind::None;
    int exitCode = 0;
    std::vector<PrinterRecord> printers;
};

// A stable name of a job kind for machine-readable output ("set-parameter").
const char* JobKindName(JobKind kind);

}  // namespace rvq::cli
