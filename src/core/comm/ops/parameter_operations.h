#pragma once

namespace rvq {

class CommandChannel;
class PrinterJob;

// Reads the job's parameter groups from the printer.
[[nodiscard]] bool RunGetParameter(PrinterJob& job);
// Writes the job's parameter changes and reads them back.
[[nodiscard]] bool RunSetParameter(PrinterJob& job);

// After a set switched the printer to its automatic control codes: unless
// the tool already frames with ESC LF NUL or { | }, the job (and its
// channel) frame with ESC LF NUL from now on, and for a single printer the
// tool's settings change to "AUTO" with those codes and are saved. True
// when the job's codes changed.
bool SwitchToStandardCodes(PrinterJob& job, CommandChannel& channel);

}  // namespace rvq
