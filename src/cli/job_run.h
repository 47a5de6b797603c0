#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/comm/job/job_inputs.h"

namespace rvq {
class PrinterJob;
}

namespace rvq::cli {

// One item a job changed on a printer, as the audit log records it.
struct ItemChange {
    std::string item;
    std::string before;
    std::string after;
};

// What one printer's job needs to do instead of the operation of the run's
// kind; called on the job's worker thread. Returns whether it succeeded.
using JobStep = std::function<bool(PrinterJob& job)>;

struct JobRunHooks {
    JobStep step;        // empty: the kind's own operation
    bool quiet = false;  // record the display lines and the summary, print neither
    // The items the job of a printer (by list index) changed; asked for
    // the audit line after the run, only for printers that succeeded.
    std::function<std::vector<ItemChange>(int printerIndex)> changes;
    // Multi LAN: only these entries of the list take part (empty: every
    // one --pick chose).
    std::vector<bool> printers;
};

// The entries of the Multi-LAN list --pick chooses (empty: all of the
// `count`); `error` says why a --pick value is no entry.
std::vector<bool> PickedPrinters(const CliEnv& env, std::size_t count, std::string& error);

// With RVQ_LOOPBACK_ONLY=1: the refusal of the first chosen printer of the
// run (the configured one, or an entry of the Multi-LAN list; `selected`
// empty for all) that is not on a loopback address; nothing when every one
// may be reached.
std::optional<std::string> RefusedTarget(const CliEnv& env, const std::vector<bool>& selected = {});

// Runs a job kind through the job runner against the configured printer or
// the Multi-LAN list: the interface pre-check, the display lines as they
// come (on the error stream under --json) and recorded, a progress bar on a terminal,
// Ctrl-C to cancel (twice to quit at once), the job log file, the audit
// lines, the canary stage. The run is appended to env.runs. Exit code 0
// when every printer succeeded.
int RunPrinterJob(CliEnv& env, const std::shared_ptr<JobInputs>& inputs,
                  const JobRunHooks& hooks = {});

}  // namespace rvq::cli
