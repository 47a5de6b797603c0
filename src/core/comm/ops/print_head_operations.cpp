// Head check and test print: a command or print data for the printer's
// print mechanism, outside the setting mode.
#include <algorithm>
#include <span>

#include "core/app/string_ids.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/ops/maintenance_operations.h"
#include "core/comm/ops/print_head_operations.h"
#include "core/comm/port/reply_frames.h"

namespace rvq {

namespace {

constexpr int kHeadBroken = 17;
constexpr std::size_t kPrintChunk = 1024;

bool OpenIdle(PrinterJob& job) {
    job.log().LogStatus(sid::kStatusStart);
    if (!job.OpenJobPort()) return false;
    job.PostProgress(5);
    if (!job.CheckReady(kReadyModeIdle)) return false;
    return true;
}

}  // namespace

bool RunHeadCheck(PrinterJob& job) {
    if (!OpenIdle(job)) return false;
    if (!job.Send(FrameCommand("\x1bHD001,A\n", job.codes()), 1000)) return false;
    job.PostProgress(45);
    if (job.CancelCheck()) return false;
    std::string reply;
    bool timedOut = false;
    if (!job.ReadReply(reply, 100, 20000, timedOut)) {
        if (job.log().finalized()) return false;  // cancelled while waiting
        job.log().Fail(timedOut ? sid::kDetailTimeout : sid::kDetailCommunication,
                       timedOut ? 0 : job.port().lastError());
        return false;
    }
    job.PostProgress(90);
    const int code = ParseStatusFrame(reply);
    if (code == status::kReady) {
        job.PostProgress(95);
        return job.Succeed();
    }
    if (code == kHeadBroken) {
        // The check itself worked; the head is what failed.
        job.log().LogFailure(sid::kStatusSucceed, sid::kDetailBrokenElement, 0);
        return false;
    }
    job.log().Fail(sid::kDetailPrinterError, code);
    return false;
}

bool RunTestPrint(PrinterJob& job) {
    if (!OpenIdle(job)) return false;
    const auto& blocks = InputsOf<TestPrintArgs>(job.inputs()).blocks;
    std::size_t total = 0;
    for (const auto& block : blocks) total += block ? block->size() : 0;
    std::size_t sent = 0;
    for (const auto& block : blocks) {
        if (!block) continue;
        for (std::size_t at = 0; at < block->size(); at += kPrintChunk) {
            if (job.CancelCheck()) return false;
            const std::size_t length = std::min(kPrintChunk, block->size() - at);
            if (!job.port().Write(std::span<const std::uint8_t>(block->data() + at, length),
                                  30000)) {
                job.log().Fail(sid::kDetailCommunication, job.port().lastError());
                return false;
            }
            sent += length;
            job.PostProgress(static_cast<int>(100 * sent / total));
        }
    }
    return job.Succeed();
}

}  // namespace rvq
