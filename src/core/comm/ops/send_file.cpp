// Send File: a file goes to the printer unchanged, nothing is asked of it.
#include "core/comm/ops/send_file.h"
#include "core/app/string_ids.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/ops/download_steps.h"
#include "core/comm/ops/operations.h"
#include "core/platform/input_file.h"

namespace rvq {

namespace {

// A file named instead of handed over is read while it is sent, so its
// size is not bound by memory.
bool SendNamedFile(PrinterJob& job, DownloadSteps& steps, const std::string& path) {
    InputFile file(path);
    if (!file.ok()) {
        job.log().Fail(sid::kDetailProcessing);
        return false;
    }
    return steps.ChunkWrite(
        file.size(),
        [&file](std::uint64_t offset, std::span<std::uint8_t> chunk) {
            for (std::size_t done = 0; done < chunk.size();) {
                const long long n = file.ReadAt(offset + done, chunk.subspan(done));
                if (n <= 0) return false;  // an error, or the file shrank
                done += static_cast<std::size_t>(n);
            }
            return true;
        },
        0, 100);
}

}  // namespace

bool RunSendFile(PrinterJob& job) {
    job.log().LogStatus(1500);
    if (!job.OpenJobPort()) return false;
    const SendFileArgs& in = InputsOf<SendFileArgs>(job.inputs());
    DownloadSteps steps(job);
    bool sent = false;
    if (in.readWhileSending) {
        sent = SendNamedFile(job, steps, in.path);
    } else {
        if (!in.bytes || in.bytes->size() < in.size) {
            job.log().Fail(sid::kDetailProcessing);
            job.ClosePort();
            return false;
        }
        sent = steps.ChunkWrite(std::span<const std::uint8_t>(*in.bytes).first(in.size), 0, 100);
    }
    if (!sent) {
        job.ClosePort();
        return false;
    }
    return job.Succeed();
}

}  // namespace rvq
