// Memory allocation and memory format: commands the printer does not
// answer, followed by the fixed time it needs to rewrite its flash.
#include <cstdio>

#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/ops/maintenance_operations.h"
#include "core/comm/ops/memory_operations.h"

namespace rvq {

namespace {

constexpr int kAllocateWaits = 20;
constexpr int kAllocateWaitMs = 1300;
constexpr int kFormatWaits = 15;
constexpr int kFormatWaitMs = 2300;

// Opening steps shared by both jobs: ready and idle, outside the setting mode.
bool OpenIdle(PrinterJob& job) {
    job.log().LogStatus(sid::kStatusStart);
    if (!job.OpenJobPort()) return false;
    job.PostProgress(5);
    if (!job.CheckReady(kReadyModeIdle)) return false;
    job.PostProgress(10);
    return true;
}

// Closing steps: the printer must be ready again after its waits.
bool CloseReady(PrinterJob& job) {
    job.PostProgress(80);
    if (!job.CheckReady(kReadyModeAny)) return false;
    job.PostProgress(90);
    return job.Succeed();
}

}  // namespace

bool AllocateMemory(PrinterJob& job, const MemoryAllocation& allocation, bool basicStep) {
    if (basicStep) job.log().LogStatus(sid::kStatusMemoryAllocation);
    // Two digits per area: larger counts would make a command of another
    // length that the printer reads differently.
    if (allocation.fontBlocks > 99 || allocation.externalBlocks > 99 ||
        (!allocation.keepBasic && allocation.basicBlocks > 99)) {
        job.log().Fail(sid::kDetailProcessing);
        return false;
    }
    const std::string basic =
        allocation.keepBasic ? std::string("AA") : Format("%02u", allocation.basicBlocks);
    const std::string command =
        FrameBracedCommand(Format("{XF;%02u,%02u,%s|}", allocation.fontBlocks,
                                  allocation.externalBlocks, basic.c_str()),
                           job.codes());
    if (!job.Send(command, 1000)) return false;
    // As a BASIC step the bar may already stand past these percentages; it
    // never moves backwards.
    auto post = [&job, basicStep](int percent) {
        job.PostProgress(basicStep ? std::max(job.progress(), percent) : percent);
    };
    post(basicStep ? 2 : 20);
    for (int count = 1; count <= kAllocateWaits; ++count) {
        if (!job.CancellableWait(kAllocateWaitMs)) return false;
        post(basicStep ? 2 + static_cast<int>(0.4 * count) : 20 + 3 * (count - 1));
    }
    return true;
}

bool RunMemoryAllocate(PrinterJob& job) {
    if (!OpenIdle(job)) return false;
    if (!AllocateMemory(job, InputsOf<MemoryAllocateArgs>(job.inputs()).allocation, false))
        return false;
    return CloseReady(job);
}

bool RunMemoryFormat(PrinterJob& job) {
    if (!OpenIdle(job)) return false;
    const MemoryFormatArgs& args = InputsOf<MemoryFormatArgs>(job.inputs());
    const unsigned memory = args.location;
    const unsigned format = args.area;
    // One drive letter and one digit: anything else is not a memory the
    // printer has.
    if (memory > 25 || format > 9) {
        job.log().Fail(sid::kDetailProcessing);
        return false;
    }
    const std::string command = FrameCommand(
        Format("\x1bJ1;%c,%u\n", static_cast<char>('A' + memory), format), job.codes());
    if (!job.Send(command, 1000)) return false;
    job.PostProgress(20);
    for (int count = 1; count <= kFormatWaits; ++count) {
        if (!job.CancellableWait(kFormatWaitMs)) return false;
        job.PostProgress(20 + 4 * (count - 1));
    }
    return CloseReady(job);
}

}  // namespace rvq
