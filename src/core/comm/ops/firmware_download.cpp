// Firmware Download: programs ROM images into the printer's flash section
// by section, reconnecting after each restart.
#include "core/comm/ops/firmware_download.h"
#include "core/comm/ops/firmware_verify.h"

#include <algorithm>
#include <span>

#include "core/app/string_ids.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/ops/download_steps.h"
#include "core/comm/ops/firmware_rules.h"
#include "core/comm/ops/operations.h"
#include "core/comm/port/reply_frames.h"

namespace rvq {

namespace {

constexpr std::size_t kLoadCommandSize = 13;
constexpr std::size_t kProgramPrefixOffset = 20;
constexpr std::size_t kProgramPrefixSize = 4;
constexpr std::size_t kImageOffset = 24;

// Status queries are replaced by timed waits in download mode and on a
// parallel port, which cannot answer.
bool ReadsStatus(PrinterJob& job) {
    return !InputsOf<FirmwareDownloadArgs>(job.inputs()).skipStatusQuery &&
           job.transport().answersStatus;
}

DownloadLink LinkOf(PrinterJob& job) {
    if (job.multiLan()) return DownloadLink::MultiLan;
    if (job.IsSerial()) return DownloadLink::Serial;
    if (job.IsUsb()) return DownloadLink::Usb;
    if (job.IsParallel()) return DownloadLink::Parallel;
    return DownloadLink::Lan;
}

// Every block must hold what its recorded size says, so that nothing is
// read past its end; a list that does not fit together is refused before
// anything goes to the printer.
bool InputsFit(const FirmwareDownloadArgs& in) {
    if (in.images.empty() || in.imageSizes.size() != in.images.size() ||
        in.sectionNames.size() != in.images.size()) {
        return false;
    }
    for (std::size_t i = 0; i < in.images.size(); ++i) {
        const std::uint32_t size = in.imageSizes[i];
        if (!in.images[i] || size < kProgramPrefixSize) return false;
        if (in.images[i]->size() < kImageOffset + (size - kProgramPrefixSize)) return false;
    }
    for (int index : in.sectionIndices) {
        if (index >= static_cast<int>(in.images.size())) return false;
    }
    return true;
}

int Share(int total, std::size_t count) { return total / static_cast<int>(count); }

}  // namespace

std::optional<char> QueryBankType(PrinterJob& job) {
    const FirmwareDownloadArgs& in = InputsOf<FirmwareDownloadArgs>(job.inputs());
    if (!job.IsLan() || in.skipStatusQuery) return BankTypeFromSections(in.sectionIndices);
    if (!job.Send(job.fixed().typeRequest, 1000)) return std::nullopt;
    if (job.CancelCheck()) return std::nullopt;
    std::string reply;
    bool timedOut = false;
    if (!job.ReadReply(reply, 100, job.multiLan() ? 30000 : 10000, timedOut)) {
        if (timedOut) {
            job.log().Fail(sid::kDetailNotOnline);
        } else {
            job.log().Fail(sid::kDetailCommunication, job.port().lastError());
        }
        return std::nullopt;
    }
    const std::string type = ParseTypeFrame(reply);
    if (type.empty()) {
        job.log().Fail(sid::kDetailNotIdle);
        return std::nullopt;
    }
    return type.front();
}

bool SendFirmwareBlock(DownloadSteps& steps, std::size_t index, int base, int count) {
    PrinterJob& job = steps.job();
    const FirmwareDownloadArgs& in = InputsOf<FirmwareDownloadArgs>(job.inputs());
    const ByteBuffer& block = *in.images[index];
    const std::uint32_t size = in.imageSizes[index];
    const std::size_t imageLength = size - kProgramPrefixSize;
    const int share = Share(5, static_cast<std::size_t>(count));
    const std::span<const std::uint8_t> bytes(block);

    steps.ResetLastStatus();
    if (!steps.Write(bytes.subspan(0, kLoadCommandSize), 1000)) return false;
    job.log().LogStatus(1504);
    job.PostProgress(base + share);
    if (!job.CancellableWait(2000)) return false;
    if (!steps.Write(bytes.subspan(kProgramPrefixOffset, kProgramPrefixSize), 1000)) return false;

    if (ReadsStatus(job)) {
        if (!steps.WaitForStatus(status::kDownloadAccepted, job.multiLan() ? 60000 : 10000))
            return false;
    } else if (!job.CancellableWait(2000)) {
        return false;
    }
    job.log().LogFormatted(1506, in.sectionNames[index]);
    const int imageBase = base + 2 * share;
    job.PostProgress(imageBase);

    const std::span<const std::uint8_t> image = bytes.subspan(kImageOffset, imageLength);
    const int writeTimeout = job.transport().chunkWriteTimeoutMs;
    for (std::size_t sent = 0; sent < imageLength;) {
        if (job.CancelCheck()) return false;
        const std::size_t length = std::min(kDownloadChunk, imageLength - sent);
        if (!steps.Write(image.subspan(sent, length), writeTimeout)) return false;
        sent += length;
        if (sent < imageLength) {
            job.PostProgress(imageBase +
                             static_cast<int>(70LL * static_cast<long long>(sent) /
                                              static_cast<long long>(imageLength) / count));
            // A serial printer takes the image block by block.
            if (job.IsSerial() && !steps.WaitForStatus(status::kNextBlock, 30000)) return false;
        }
    }
    job.PostProgress(imageBase + 70 / count);
    job.log().LogStatus(1505);

    const DownloadLink link = LinkOf(job);
    if (ReadsStatus(job)) {
        if (!steps.WaitDownloadComplete(WrittenStatusTimeoutMs(size, link, job.timeoutMs())))
            return false;
    } else if (!job.CancellableWait(PlainWrittenWaitMs(size, job.timeoutMs()))) {
        return false;
    }
    job.PostProgress(base + 3 * share + 70 / count);
    if (!job.CancellableWait(5000)) return false;
    // The printer restarts once the image is in its flash.
    if (ReadsStatus(job)) return job.ReconnectAfterRestart(job.timeoutMs());
    return true;
}

bool RunFirmwareDownload(PrinterJob& job) {
    job.log().LogStatus(1500);
    if (!job.OpenJobPort()) return false;
    job.PostProgress(5);
    const FirmwareDownloadArgs& in = InputsOf<FirmwareDownloadArgs>(job.inputs());
    if (!InputsFit(in)) {
        job.log().Fail(sid::kDetailProcessing);
        job.ClosePort();
        return false;
    }
    // A printer held in download mode answers no status request, so the
    // ready check is one of the queries the mode skips.
    if (!in.skipStatusQuery && !job.CheckReady(kReadyModeIdle)) {
        job.ClosePort();
        return false;
    }

    const std::optional<char> bankType = QueryBankType(job);
    if (!bankType) {
        job.log().Fail(sid::kDetailProcessing);
        job.ClosePort();
        return false;
    }
    job.PostProgress(5);
    DownloadSteps steps(job);
    const int count = static_cast<int>(in.images.size());
    for (int i = 0; i < count; ++i) {
        if (SendsFirmwareBlock(*bankType, i, in.sectionIndices) &&
            !SendFirmwareBlock(steps, static_cast<std::size_t>(i), job.progress(), count)) {
            job.ClosePort();
            return false;
        }
        job.PostProgress(5 + 85 * (i + 1) / count);
    }
    if (ReadsStatus(job) && !VerifyVersions(job, *bankType)) {
        job.ClosePort();
        return false;
    }
    return job.Succeed();
}

}  // namespace rvq
