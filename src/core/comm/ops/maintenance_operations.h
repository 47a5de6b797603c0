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

// The memory allocation command and its fixed waits. As a step of a BASIC
// download it logs its own line and moves the progress from 2 to 10.
[[nodiscard]] bool AllocateMemory(PrinterJob& job, const MemoryAllocation& allocation,
                                  bool basicStep);

// The operations, one per kind.
[[nodiscard]] bool RunPrinterInfo(PrinterJob& job);     // 7
[[nodiscard]] bool RunMemoryAllocate(PrinterJob& job);  // 8
[[nodiscard]] bool RunMemoryFormat(PrinterJob& job);    // 9
[[nodiscard]] bool RunCounterClear(PrinterJob& job);    // 10
[[nodiscard]] bool RunParameterClear(PrinterJob& job);  // 11
[[nodiscard]] bool RunFactoryDefault(PrinterJob& job);  // 12
[[nodiscard]] bool RunHeadCheck(PrinterJob& job);       // 14
[[nodiscard]] bool RunTestPrint(PrinterJob& job);       // 15

}  // namespace rvq
