#pragma once

namespace rvq {

class PrinterJob;

// Restarts the printer and waits until it is back.
[[nodiscard]] bool RunPrinterReset(PrinterJob& job);

}  // namespace rvq
