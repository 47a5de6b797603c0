#pragma once

namespace rvq {

class PrinterJob;

// Sends the job's files to the printer as they are.
[[nodiscard]] bool RunSendFile(PrinterJob& job);

}  // namespace rvq
