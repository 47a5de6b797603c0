// Send File: a file goes to the printer unchanged, nothing is asked of it.
#include "core/comm/download_steps.h"
#include "core/comm/job_reporter.h"
#include "core/comm/operations.h"
#include "core/comm/printer_job.h"

namespace rvq {

bool RunSendFile(PrinterJob& job) {
    job.log().LogStatus(1500);
    if (!job.OpenJobPort()) return false;
    const JobInputs& in = job.inputs();
    const std::uint32_t size = in.numbers.empty() ? 0 : in.numbers[0];
    if (in.blocks.empty() || !in.blocks[0] || in.blocks[0]->size() < size) {
        job.log().LogFailure(1502, 1528, 0);
        job.ClosePort();
        return false;
    }
    DownloadSteps steps(job);
    if (!steps.ChunkWrite(std::span<const std::uint8_t>(*in.blocks[0]).first(size), 0, 100)) {
        job.ClosePort();
        return false;
    }
    return job.Succeed();
}

}  // namespace rvq
