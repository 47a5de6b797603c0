// BASIC Download: memory allocation, the three encoded BASIC buffers, the
// BASIC mode switch and a test file, each step only when it was chosen.
#include "core/comm/ops/basic_download.h"
#include "core/comm/ops/memory_operations.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <variant>

#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/ops/download_steps.h"
#include "core/comm/ops/maintenance_operations.h"
#include "core/comm/ops/operations.h"
#include "core/comm/port/framing.h"

namespace rvq {

namespace {

constexpr std::array<int, basic_step::kCount> kStepSpan{8, 28, 28, 28, 1, 1};
constexpr int kProgramSpan = 28;

// Statuses a printer may show right after taking a BASIC buffer.
bool AcceptsBasicStatus(int code) {
    return code == -1 || code == 0 || code == 27 || code == 52 || code == 53 || code == 56;
}

const BasicDownloadArgs& ArgsOf(const PrinterJob& job) {
    return InputsOf<BasicDownloadArgs>(job.inputs());
}

// The encoded buffer of a program step.
const BasicProgramInput& ProgramOf(const BasicDownloadArgs& in, std::size_t step) {
    if (step == basic_step::kSystemProgram) return in.systemProgram;
    if (step == basic_step::kDataFile) return in.dataFile;
    return in.mainProgram;
}

// Whether the run chose `step`.
bool StepTaken(const BasicDownloadArgs& in, std::size_t step) {
    switch (step) {
        case basic_step::kAllocate:
            return in.allocate;
        case basic_step::kMainProgram:
        case basic_step::kSystemProgram:
        case basic_step::kDataFile:
            return ProgramOf(in, step).length != 0;
        case basic_step::kBasicMode:
            return in.basicMode != 0;
        default:
            return in.testFileSize != 0;
    }
}

// The job's steps must carry what their lengths say, so that nothing is
// read past a buffer.
bool InputsFit(const JobInputs& inputs) {
    if (!std::holds_alternative<BasicDownloadArgs>(inputs.args)) return false;
    const BasicDownloadArgs& in = InputsOf<BasicDownloadArgs>(inputs);
    for (std::size_t step :
         {basic_step::kMainProgram, basic_step::kSystemProgram, basic_step::kDataFile}) {
        const BasicProgramInput& program = ProgramOf(in, step);
        if (program.length == 0) continue;
        if (!program.buffer || program.buffer->size() < kBasicProgramOffset + program.length)
            return false;
    }
    if (in.testFileSize != 0 && (!in.testFile || in.testFile->size() < in.testFileSize)) {
        return false;
    }
    const std::uint32_t mode = in.basicMode;
    return mode == 0 || mode == kBasicModeOn || mode == kBasicModeOff;
}

bool SendTestFile(DownloadSteps& steps, int base) {
    PrinterJob& job = steps.job();
    job.log().LogStatus(1512);
    const BasicDownloadArgs& in = ArgsOf(job);
    return steps.ChunkWrite(std::span<const std::uint8_t>(*in.testFile).first(in.testFileSize),
                            base, 1);
}

bool RunBasicStep(DownloadSteps& steps, std::size_t step, int base) {
    PrinterJob& job = steps.job();
    const BasicDownloadArgs& in = ArgsOf(job);
    switch (step) {
        case basic_step::kAllocate:
            return AllocateMemory(job, in.allocation, true);
        case basic_step::kMainProgram:
        case basic_step::kSystemProgram:
        case basic_step::kDataFile: {
            const BasicProgramInput& program = ProgramOf(in, step);
            return SendBasicProgram(steps, *program.buffer, program.length,
                                    static_cast<int>(step - basic_step::kMainProgram), base);
        }
        case basic_step::kBasicMode:
            return SwitchBasicMode(steps, in.basicMode == kBasicModeOff);
        default:
            return SendTestFile(steps, base);
    }
}

}  // namespace

bool SendBasicProgram(DownloadSteps& steps, std::span<const std::uint8_t> buffer,
                      std::uint32_t length, int kind, int base) {
    PrinterJob& job = steps.job();
    job.log().LogStatus(1504);
    if (!steps.Write(buffer.first(kBlockLoadCommandSize), 1000)) return false;
    if (!job.CancellableWait(3000)) return false;
    job.PostProgress(base + 3);
    job.log().LogStatus(1508 + kind);
    if (!steps.ChunkWrite(buffer.subspan(kBasicProgramOffset, length), base + 3,
                          kProgramSpan - 6 /* P + 3 to P + 25 */))
        return false;
    if (!job.CancellableWait(job.IsSerial() ? 10000 : 5000)) return false;
    const int code = steps.PollStatus();
    if (!AcceptsBasicStatus(code)) {
        job.log().Fail(sid::kDetailPrinterError, code);
        return false;
    }
    return job.ReconnectAfterRestart(job.timeoutMs());
}

bool SwitchBasicMode(DownloadSteps& steps, bool off) {
    PrinterJob& job = steps.job();
    job.log().LogStatus(1511);
    if (!job.Send(off ? job.fixed().basicModeB : job.fixed().basicModeA, 1000)) return false;
    if (!job.CancellableWait(5000)) return false;
    // The switch itself is done; a printer slow to come back is logged
    // but the remaining steps still run.
    std::ignore = job.ReconnectAfterRestart(job.timeoutMs());
    return true;
}

bool RunBasicDownload(PrinterJob& job) {
    job.log().LogStatus(1500);
    if (!job.OpenJobPort()) return false;
    job.PostProgress(5);
    if (!InputsFit(job.inputs())) {
        job.log().Fail(sid::kDetailProcessing);
        job.ClosePort();
        return false;
    }
    if (!job.CheckReady(kReadyModeIdle)) {
        job.ClosePort();
        return false;
    }
    job.PostProgress(5);
    DownloadSteps steps(job);
    int progress = 5;
    for (std::size_t step = 0; step < basic_step::kCount; ++step) {
        if (StepTaken(ArgsOf(job), step) && !RunBasicStep(steps, step, progress)) {
            job.ClosePort();
            return false;
        }
        progress += kStepSpan[step];
        job.PostProgress(progress);
    }
    return job.Succeed();
}

}  // namespace rvq
