#pragma once

#include <functional>
#include <map>
#include <string>

#include "cli/cli.h"
#include "core/comm/job/job_kind.h"
#include "core/comm/ops/printer_reads.h"

namespace rvq::cli {

// What to read from one printer of the run (by its list index, 0 for a
// single printer).
using ReadRequestFor = std::function<PrinterReadRequest(int printerIndex)>;

struct PrinterReads {
    int exitCode = kExitOk;                    // as RunPrinterJob's
    std::map<int, PrinterReadResult> results;  // the printers that were read, by index
};

// Reads every printer of the run (one, or the Multi-LAN list five at a time)
// without writing to it, as jobs of `kind`. The display lines are recorded
// in env.runs, not printed. `printers` narrows a Multi-LAN run (empty: every
// chosen entry).
PrinterReads ReadPrinters(CliEnv& env, JobKind kind, const ReadRequestFor& requestFor,
                          const std::vector<bool>& printers = {});

}  // namespace rvq::cli
