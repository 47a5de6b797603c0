#include "core/comm/download_steps.h"

#include <algorithm>

#include "core/comm/firmware_rules.h"
#include "core/comm/job_reporter.h"
#include "core/comm/printer_job.h"
#include "core/comm/reply_frames.h"

namespace rvq {

namespace {
constexpr int kStatusFail = 1502;
constexpr int kDetailPrinterError = 1525;
constexpr int kDetailTimeout = 1529;
constexpr int kDetailCommunication = 1530;
constexpr int kPollIntervalMs = 200;
constexpr std::size_t kStatusFrameLength = 13;
bool IsBusyWritingStatus(int code) {
    return code == status::kReady || code == status::kReadyAlt || code == status::kDownloadAccepted ||
           code == status::kNextBlock;
}

}  // namespace

bool DownloadSteps::Write(std::span<const std::uint8_t> bytes, int timeoutMs) {
    if (job_.port().Write(bytes, timeoutMs)) return true;
    job_.log().LogFailure(kStatusFail, kDetailCommunication, job_.port().lastError());
    return false;
}

bool DownloadSteps::ChunkWrite(std::span<const std::uint8_t> data, int base, int span) {
    ResetLastStatus();
    const std::size_t size = data.size();
    const int timeout = ChunkWriteTimeoutMs(job_.IsSerial());
    for (std::size_t sent = 0; sent < size;) {
        if (job_.CancelCheck()) return false;
        const std::size_t length = std::min(kDownloadChunk, size - sent);
        if (!Write(data.subspan(sent, length), timeout)) return false;
        sent += length;
        if (sent < size) {
            job_.PostProgress(base + static_cast<int>(static_cast<long long>(span) * static_cast<long long>(sent) /
                                                      static_cast<long long>(size)));
        }
    }
    job_.PostProgress(base + span);
    return true;
}

int DownloadSteps::PollStatus() {
    unsigned char buffer[39];
    std::size_t count = 0;
    if (job_.port().Read(buffer, sizeof buffer, 10, count)) {
        pending_.append(reinterpret_cast<const char*>(buffer), std::min(count, sizeof buffer));
    }
    if (pending_.size() < kStatusFrameLength) return status::kNoFrame;
    const int code = ParseStatusFrame(pending_);
    if (code != status::kNoFrame) {
        pending_.clear();
    } else if (pending_.size() > 64) {
        pending_.erase(0, pending_.size() - (kStatusFrameLength - 1));  // keep what may start a frame
    }
    return code;
}

void DownloadSteps::LogStatusFailure() {
    if (lastStatus_ == status::kNoFrame) {
        job_.log().LogFailure(kStatusFail, kDetailTimeout, 0);
    } else {
        job_.log().LogFailure(kStatusFail, kDetailPrinterError, lastStatus_);
    }
}

bool DownloadSteps::WaitForStatus(int expected, int timeoutMs) {
    if (job_.IsParallel()) return job_.CancellableWait(1);
    const std::int64_t deadline = job_.clock().NowMs() + timeoutMs;
    while (true) {
        const int code = PollStatus();
        if (code == expected) return true;
        if (code != status::kNoFrame) {
            lastStatus_ = code;
            break;
        }
        if (job_.clock().NowMs() >= deadline) break;
        if (!job_.CancellableWait(kPollIntervalMs)) return false;
    }
    // Some USB printers never report this status; the download goes on.
    if (job_.IsUsb()) return true;
    LogStatusFailure();
    return false;
}

bool DownloadSteps::WaitDownloadComplete(int timeoutMs) {
    if (job_.IsParallel()) return job_.CancellableWait(timeoutMs);
    const std::int64_t deadline = job_.clock().NowMs() + timeoutMs;
    while (true) {
        const int code = PollStatus();
        if (code == status::kDownloadComplete) return true;
        if (code != status::kNoFrame) {
            // A serial printer may still show a pacing or ready status while
            // it writes; give it the whole time instead. An error it reports
            // is an error on every link.
            if (job_.IsSerial() && IsBusyWritingStatus(code)) return job_.CancellableWait(timeoutMs);
            lastStatus_ = code;
            break;
        }
        if (job_.clock().NowMs() >= deadline) break;
        if (!job_.CancellableWait(kPollIntervalMs)) return false;
    }
    LogStatusFailure();
    return false;
}

}  // namespace rvq
