#pragma once

#include "core/comm/job/job_args.h"

namespace rvq {

class PrinterJob;

// The memory allocation command and its fixed waits. As a step of a BASIC
// download it logs its own line and moves the progress from 2 to 10.
[[nodiscard]] bool AllocateMemory(PrinterJob& job, const MemoryAllocation& allocation,
                                  bool basicStep);

// Memory allocation and format.
[[nodiscard]] bool RunMemoryAllocate(PrinterJob& job);
[[nodiscard]] bool RunMemoryFormat(PrinterJob& job);

}  // namespace rvq
