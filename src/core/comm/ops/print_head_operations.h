#pragma once

namespace rvq {

class PrinterJob;

// The print head check and the test print.
[[nodiscard]] bool RunHeadCheck(PrinterJob& job);
[[nodiscard]] bool RunTestPrint(PrinterJob& job);

}  // namespace rvq
