#pragma once

#include <cstddef>
#include <optional>

namespace rvq {

class DownloadSteps;
class PrinterJob;

// The steps of a firmware download, each logging its own failure.

// The printer's bank type: asked over the LAN (unless the download mode
// skips status queries), otherwise decided from the images in the list.
// Nothing when it cannot be told.
std::optional<char> QueryBankType(PrinterJob& job);

// Loads, programs and waits for one image of the job's list (position
// `index` of `count`), with the progress starting at `base`.
[[nodiscard]] bool SendFirmwareBlock(DownloadSteps& steps, std::size_t index, int base, int count);

// Sends the job's firmware images one by one and checks the versions the
// printer then reports.
[[nodiscard]] bool RunFirmwareDownload(PrinterJob& job);

}  // namespace rvq
