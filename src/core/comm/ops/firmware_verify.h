#pragma once

namespace rvq {

class PrinterJob;

// Compares the versions the printer reports after the download with those
// of the images sent for bank `bankType`.
[[nodiscard]] bool VerifyVersions(PrinterJob& job, char bankType);

}  // namespace rvq
