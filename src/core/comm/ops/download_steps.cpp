#include "core/comm/ops/download_steps.h"

#include <algorithm>
#include <vector>

#include "core/app/string_ids.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/ops/firmware_rules.h"
#include "core/comm/port/reply_frames.h"

namespace rvq {

namespace {
constexpr int kPollIntervalMs = 200;
constexpr std::size_t kStatusFrameLength = 13;
}  // namespace

bool DownloadSteps::Write(std::span<const std::uint8_t> bytes, int timeoutMs) {
    if (job_.port().Write(bytes, timeoutMs)) return true;
    job_.log().Fail(sid::kDetailCommunication, job_.port().lastError());
    return false;
}

bool DownloadSteps::ChunkWrite(std::span<const std::uint8_t> data, int base, int span) {
    return ChunkWrite(
        data.size(),
        [data](std::uint64_t offset, std::span<std::uint8_t> chunk) {
            const auto from = data.subspan(static_cast<std::size_t>(offset), chunk.size());
            std::copy(from.begin(), from.end(), chunk.begin());
            return true;
        },
        base, span);
}

bool DownloadSteps::ChunkWrite(std::uint64_t size, const ChunkReader& read, int base, int span) {
    ResetLastStatus();
    const int timeout = job_.transport().chunkWriteTimeoutMs;
    std::vector<std::uint8_t> chunk(
        static_cast<std::size_t>(std::min<std::uint64_t>(kDownloadChunk, size)));
    for (std::uint64_t sent = 0; sent < size;) {
        if (job_.CancelCheck()) return false;
        const auto length =
            static_cast<std::size_t>(std::min<std::uint64_t>(kDownloadChunk, size - sent));
        const std::span<std::uint8_t> piece(chunk.data(), length);
        if (!read(sent, piece)) {
            job_.log().Fail(sid::kDetailProcessing);
            return false;
        }
        if (!Write(piece, timeout)) return false;
        sent += length;
        if (sent < size) {
            job_.PostProgress(base +
                              static_cast<int>(static_cast<std::uint64_t>(span) * sent / size));
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
        pending_.erase(0,
                       pending_.size() - (kStatusFrameLength - 1));  // keep what may start a frame
    }
    return code;
}

void DownloadSteps::LogStatusFailure() {
    if (lastStatus_ == status::kNoFrame) {
        job_.log().Fail(sid::kDetailTimeout);
    } else {
        job_.log().Fail(sid::kDetailPrinterError, lastStatus_);
    }
}

bool DownloadSteps::WaitForStatus(int expected, int timeoutMs) {
    if (!job_.transport().answersStatus) return job_.CancellableWait(1);
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
    if (!job_.transport().answersStatus) return job_.CancellableWait(timeoutMs);
    const std::int64_t deadline = job_.clock().NowMs() + timeoutMs;
    while (true) {
        const int code = PollStatus();
        if (code == status::kDownloadComplete) return true;
        if (code != status::kNoFrame) {
            // A serial printer may answer anything while it writes its
            // flash (a pacing status, a mode word, line noise read as a
            // code); it gets the whole time, and the reconnect and the
            // version check that follow tell whether it took the image.
            if (job_.IsSerial()) return job_.CancellableWait(timeoutMs);
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
