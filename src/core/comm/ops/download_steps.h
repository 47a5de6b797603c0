#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace rvq {

class PrinterJob;

// The steps the download operations share. One object per job; it keeps
// the last status the printer reported during a download (-1 for none)
// and what a status poll read of a frame that is not complete yet.
class DownloadSteps {
public:
    explicit DownloadSteps(PrinterJob& job) : job_(job) {}

    PrinterJob& job() { return job_; }
    int lastStatus() const { return lastStatus_; }
    void ResetLastStatus() { lastStatus_ = -1; }

    // Writes bytes; "Communication error" with the system error on failure.
    [[nodiscard]] bool Write(std::span<const std::uint8_t> bytes, int timeoutMs);

    // Writes `data` in 64 KB chunks with a cancel check before each, moving
    // the progress from `base` over `span` percent.
    [[nodiscard]] bool ChunkWrite(std::span<const std::uint8_t> data, int base, int span);

    // The same for `size` bytes that `read` fills chunk by chunk (from a
    // file too large to hold). `read` returns false when it cannot give
    // the whole chunk; that is logged as a processing error.
    using ChunkReader = std::function<bool(std::uint64_t offset, std::span<std::uint8_t> chunk)>;
    [[nodiscard]] bool ChunkWrite(std::uint64_t size, const ChunkReader& read, int base, int span);

    // One short read for a status frame the printer sent; -1 when no whole
    // frame is there yet (a piece is kept for the next poll).
    int PollStatus();

    // Waits for `expected` in 200 ms polls. Another status or none in time
    // fails ("Timeout error" or the printer's error), except on USB where a
    // missing status is not an error. A parallel port is not asked.
    [[nodiscard]] bool WaitForStatus(int expected, int timeoutMs);

    // Waits for the printer to report the image written (56).
    [[nodiscard]] bool WaitDownloadComplete(int timeoutMs);

private:
    void LogStatusFailure();

    PrinterJob& job_;
    int lastStatus_ = -1;
    std::string pending_;
};

}  // namespace rvq
