#pragma once

namespace rvq {

class PrinterJob;

// Brings a printer left in the setting mode back online, reconnecting with
// the job's reconnect settings.
[[nodiscard]] bool RunRestoreOnline(PrinterJob& job);

}  // namespace rvq
