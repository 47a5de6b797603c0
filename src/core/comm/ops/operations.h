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

}  // namespace rvq
