#pragma once

#include <string>
#include <vector>

#include "core/comm/job/job_args.h"

namespace rvq {

class PrinterJob;

// Counter selections of the counter clear.
inline constexpr unsigned kCounterSelectionPrint = 0;
inline constexpr unsigned kCounterSelectionFeed = 1;
inline constexpr unsigned kCounterSelectionAll = 2;
inline constexpr unsigned kCounterSelectionCut = 3;

// Whether the maintenance reply (fields as the channel splits them, field 0
// the header) shows the counters of `selection` cleared. A counter field
// the reply lacks counts as not cleared.
bool CountersCleared(unsigned selection, const std::vector<std::string>& fields);
// Whether the reply's destination field holds `destination`.
bool DestinationApplied(unsigned destination, const std::vector<std::string>& fields);

// Ends a job that entered the setting mode: leaves it (with a restart
// after a change or for a set job), closes the port and, when `ok`, logs
// the success. False when `ok` was false or leaving failed.
[[nodiscard]] bool FinishInSettingMode(PrinterJob& job, bool ok, bool leave);

// The operations, one per kind.
[[nodiscard]] bool RunPrinterInfo(PrinterJob& job);     // 7
[[nodiscard]] bool RunCounterClear(PrinterJob& job);    // 10
[[nodiscard]] bool RunParameterClear(PrinterJob& job);  // 11
[[nodiscard]] bool RunFactoryDefault(PrinterJob& job);  // 12

}  // namespace rvq
