#include "cli/printer_reads_run.h"

#include <mutex>

#include "cli/job_run.h"
#include "core/comm/job/printer_job.h"

namespace rvq::cli {

PrinterReads ReadPrinters(CliEnv& env, JobKind kind, const ReadRequestFor& requestFor,
                          const std::vector<bool>& printers) {
    PrinterReads reads;
    std::mutex mutex;  // guards reads.results while the jobs run
    JobRunHooks hooks;
    hooks.quiet = true;
    hooks.printers = printers;
    hooks.step = [&](PrinterJob& job) {
        const int index = job.setup().printerIndex;
        PrinterReadResult result;
        if (!RunPrinterRead(job, requestFor(index), result)) return false;
        std::lock_guard lock(mutex);
        reads.results[index] = std::move(result);
        return true;
    };
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = kind;
    reads.exitCode = RunPrinterJob(env, inputs, hooks);
    return reads;
}

}  // namespace rvq::cli
