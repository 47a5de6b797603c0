#pragma once

#include <memory>

#include "core/comm/job/job_runner.h"

namespace rvq {

struct AppContext;
class Document;
class PrinterJob;

// Runs the operation of a job's kind. Kinds without an operation yet fail
// with a clear log line.
[[nodiscard]] bool RunOperation(PrinterJob& job, JobKind kind);

// The executor the front ends hand to a JobRunner: one PrinterJob per
// printer, running the operation of the run's kind. `context` and
// `document` live as long as the program.
std::shared_ptr<JobExecutor> MakeOperationExecutor(AppContext& context, Document& document);

// The operations, one per kind.
[[nodiscard]] bool RunRestoreOnline(PrinterJob& job);
[[nodiscard]] bool RunPrinterReset(PrinterJob& job);
[[nodiscard]] bool RunGetParameter(PrinterJob& job);
[[nodiscard]] bool RunSetParameter(PrinterJob& job);
[[nodiscard]] bool RunFirmwareDownload(PrinterJob& job);
[[nodiscard]] bool RunBasicDownload(PrinterJob& job);
[[nodiscard]] bool RunSendFile(PrinterJob& job);

class CommandChannel;
// After a set switched the printer to its automatic control codes: unless
// the tool already frames with ESC LF NUL or { | }, the job (and its
// channel) frame with ESC LF NUL from now on, and for a single printer the
// tool's settings change to "AUTO" with those codes and are saved. True
// when the job's codes changed.
bool SwitchToStandardCodes(PrinterJob& job, CommandChannel& channel);

}  // namespace rvq
